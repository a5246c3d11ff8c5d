#include "windows/ResultWindows.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"
#include "tests/windows/WindowFixture.h"
#include "windows/ModalWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

enum class Which { Results, Profile, Robustness };

ChartWindow* openWindow(Which which, const WindowContext& context)
{
    switch (which) {
    case Which::Results:
        return openResultsWindow(context);
    case Which::Profile:
        return openProfileWindow(context);
    case Which::Robustness:
        break;
    }
    return openRobustnessWindow(context);
}

QImage shown(const QLabel* picture)
{
    return picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage rgb32(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

class ResultWindowsTest : public WindowFixture {
protected:
    void clickTab(ChartWindow* window, int index)
    {
        QTabBar* bar = window->selector()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    }

    QImage detailPage(int option) const
    {
        return rgb32(buildDetailPage(scoredCopy(m_project), option, u"Cars"_s, nullptr, m_folders.temporary));
    }
};

} // namespace

// ---- the frame ---------------------------------------------------------------

TEST_F(ResultWindowsTest, SizeTitleAndLayoutFollowTheDesktopHeight)
{
    const struct {
        Which which;
        int desktopHeight;
        QSize size;
        QString title;
    } cases[] = {
        {Which::Results, 600, {760, 540}, u"Results - Ponderix"_s},
        {Which::Results, 601, {760, 630}, u"Results - Ponderix"_s},
        {Which::Profile, 600, {760, 540}, u"Profile - Ponderix"_s},
        {Which::Profile, 601, {760, 630}, u"Profile - Ponderix"_s},
        {Which::Robustness, 600, {760, 540}, u"Robustness - Ponderix"_s},
        {Which::Robustness, 601, {760, 630}, u"Robustness - Ponderix"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktopHeight);
        ChartWindow* window = openWindow(c.which, context(c.desktopHeight));
        const int w = c.size.width();
        const int h = c.size.height();
        EXPECT_EQ(window->size(), c.size);
        EXPECT_EQ(window->minimumSize(), c.size); // not resizable
        EXPECT_EQ(window->maximumSize(), c.size);
        EXPECT_EQ(window->windowTitle(), c.title);
        EXPECT_EQ(window->parentWidget(), &m_mainWindow);
        EXPECT_EQ(window->selector()->geometry(), QRect(10, 10, w - 20, h - 50));

        const struct {
            ChartWindow::Button button;
            TextKey caption;
            QRect geometry;
        } buttons[] = {
            {ChartWindow::Button::Print, TextKey::TXT00309, {10, h - 35, 90, 25}},
            {ChartWindow::Button::Copy, TextKey::TXT00308, {110, h - 35, 90, 25}},
            {ChartWindow::Button::SaveAsImage, TextKey::TXT00339, {210, h - 35, 90, 25}},
            {ChartWindow::Button::Close, TextKey::TXT00307, {w - 132, h - 35, 120, 25}},
        };
        for (const auto& b : buttons) {
            EXPECT_EQ(window->button(b.button)->text(), text(b.caption));
            EXPECT_EQ(window->button(b.button)->geometry(), b.geometry);
        }
        // Centred on the main window (the frames may differ by a border).
        const QPoint offset = window->frameGeometry().center() - m_mainWindow.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 40) << offset.x() << ", " << offset.y();
        window->close();
    }
}

TEST_F(ResultWindowsTest, TheResultsWindowHasTheOverviewAndOneTabPerOption)
{
    // Stale scores must not reach the page: the window scores its copy.
    for (int option = 0; option < m_project.optionCount(); ++option)
        m_project.setScore(option, 77);
    ChartWindow* window = openResultsWindow(context());

    QTabWidget* selector = window->selector();
    ASSERT_EQ(selector->count(), 4);
    EXPECT_EQ(selector->tabText(0), text(TextKey::TXT00274));
    EXPECT_EQ(selector->tabText(1), u"A"_s);
    EXPECT_EQ(selector->tabText(2), u"B"_s);
    EXPECT_EQ(selector->tabText(3), u"C"_s);
    EXPECT_EQ(selector->currentIndex(), 0);

    const QImage overview = rgb32(buildOverviewPage(scoredCopy(m_project), u"Cars"_s, nullptr, m_folders.temporary));
    EXPECT_EQ(shown(window->picture(0)), overview);
    EXPECT_EQ(rgb32(window->currentPage()), overview);
    for (int tab = 0; tab < selector->count(); ++tab) {
        SCOPED_TRACE(tab);
        QScrollArea* pane = window->pane(tab);
        EXPECT_EQ(pane->widget(), window->picture(tab));
        EXPECT_EQ(window->picture(tab)->size(), QSize(700, 530));
        EXPECT_EQ(pane->verticalScrollBar()->singleStep(), 10);
        EXPECT_EQ(pane->horizontalScrollBar()->singleStep(), 10);
        EXPECT_EQ(pane->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(pane->palette().color(QPalette::Window), QColor(Qt::white));
    }
    // Option tabs stay empty until they are visited.
    EXPECT_TRUE(window->picture(1)->pixmap().isNull());
    EXPECT_EQ(window->focusWidget(), window->picture(0));
}

TEST_F(ResultWindowsTest, TheProfileWindowShowsItsPageOnOneTab)
{
    ChartWindow* window = openProfileWindow(context());
    ASSERT_EQ(window->selector()->count(), 1);
    EXPECT_EQ(window->selector()->tabText(0), text(TextKey::TXT00276));
    const QImage profile = rgb32(buildProfilePage(m_project, u"Cars"_s));
    EXPECT_EQ(profile.size(), QSize(700, profilePageHeight(3, 3)));
    EXPECT_EQ(shown(window->picture(0)), profile);
    EXPECT_EQ(window->picture(0)->size(), profile.size());
    EXPECT_EQ(rgb32(window->currentPage()), profile);
    EXPECT_EQ(window->focusWidget(), window->picture(0));
}

TEST_F(ResultWindowsTest, TheRobustnessWindowShowsItsPageOnOneTab)
{
    // Stale scores must not reach the page: the window scores its copy.
    m_project.setScore(0, 77);
    ChartWindow* window = openRobustnessWindow(context());

    ASSERT_EQ(window->selector()->count(), 1);
    EXPECT_EQ(window->selector()->tabText(0), u"Robustness"_s);
    const Project scored = scoredCopy(m_project);
    const QImage page = rgb32(buildRobustnessPage(scored, analyseRobustness(scored), u"Cars"_s));
    EXPECT_EQ(page.width(), 700);
    EXPECT_EQ(shown(window->picture(0)), page);
    EXPECT_EQ(window->picture(0)->size(), page.size());
    EXPECT_EQ(rgb32(window->currentPage()), page);
    EXPECT_EQ(window->focusWidget(), window->picture(0));
    EXPECT_EQ(window->picture(0)->accessibleName(), u"Robustness"_s);
    const QString description = window->picture(0)->accessibleDescription();
    EXPECT_TRUE(description.startsWith(u"Best choice: Option A \"Car SUV T7\" (+65%)\n"_s))
        << description.toStdString();

    // The buttons act on it as on the other pages.
    QTest::mouseClick(window->button(ChartWindow::Button::Copy), Qt::LeftButton);
    EXPECT_EQ(rgb32(QGuiApplication::clipboard()->image()), page);
    EXPECT_EQ(m_dialogs.lastText(), text(TextKey::TXT00107));
}

TEST_F(ResultWindowsTest, TheRobustnessPagesDescriptionSaysTheVerdictAndTheClosestChange)
{
    // Tent +1, Cabin 0 under one criterion of importance 3 (+12% and 0%):
    // importance scales both alike, so the only changes that move the
    // best choice are one rating step either way, which tie the two.
    m_project.clear();
    m_project.appendOption(u"Tent"_s);
    m_project.appendOption(u"Cabin"_s);
    m_project.appendCriterion(u"View"_s, 3);
    m_project.appendRating(0, 0, QString(), 6);
    m_project.appendRating(1, 0, QString(), 5);
    ChartWindow* window = openRobustnessWindow(context());
    // Chances with every rating one step off either way: Tent (0..2) at
    // least Cabin (-1..1) in 8 of 9 cases, Cabin at least Tent in 3 of 9.
    const SingleChange tentDown{SingleChange::Kind::Rating, 0, 0, 1, 0, {0, 1}};
    const SingleChange cabinUp{SingleChange::Kind::Rating, 0, 1, 0, 1, {0, 1}};
    const QString ties = changeText(m_project, tentDown, true) + u"\n"_s + changeText(m_project, cabinUp, true);
    EXPECT_EQ(window->picture(0)->accessibleDescription(),
              u"Best choice: Option A \"Tent\" (+12%)\nRunner-up: Option B \"Cabin\" (0%)\nLead: 12 points\n"
              u"Verdict: Fragile: a change of one step alters the best choice\n"
              u"Closest change: 1 step (2 changes of 1 step each)\n"_s
                  + ties
                  + u"\nBest choice by importance:\n1 \"View\" (3): 1 A; 2 A; 3 A; 4 A; 5 A\n"
                    u"Chance of being best (ratings uncertain by \u00B11): Option A \"Tent\" 88.9%, "
                    u"Option B \"Cabin\" 33.3%\nChallengers:\n"
                    u"Option B \"Cabin\": needs 1 step (2 changes of 1 step each)\n"_s
                  + ties);
    window->close();

    // With one option nothing can take its place.
    m_project.deleteOption(1);
    window = openRobustnessWindow(context());
    EXPECT_TRUE(window->picture(0)->accessibleDescription().contains(
        u"Verdict: Robust: no change of one or two steps alters the best choice\nClosest change: No single change "
        u"alters the best choice\n"_s));
    window->close();

    // Nothing to judge without options; the window still opens.
    m_project.deleteOption(0);
    window = openRobustnessWindow(context());
    EXPECT_TRUE(window->picture(0)->accessibleDescription().startsWith(
        u"Best choice: none\nVerdict: Undecided: no single option has the top score\nClosest change: No "
        u"single change alters the best choice\n"_s));
    EXPECT_EQ(shown(window->picture(0)).width(), 700);
}

TEST_F(ResultWindowsTest, ScreenReadersHearTheResultPagesKeyFacts)
{
    // The demo by hand: offsets A +4 +5 +3, B +1 +3 -2, C -3 -3 +2 under
    // importances 5, 4, 3 give 49, 11 and -21 out of 75: +65%, +15%, -28%.
    const QString facts = u"Best choice: Option A \"Car SUV T7\" (+65%)\nVerdict: Very good\nScores: Option A "
                          u"\"Car SUV T7\" +65%, Option B \"Car SUV D14\" +15%, Option C \"Car SUV V8\" -28%"_s;
    ChartWindow* window = openResultsWindow(context());
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(window->picture(0));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->text(QAccessible::Name), u"Results"_s);
    EXPECT_EQ(picture->text(QAccessible::Description), facts);

    clickTab(window, 2);
    QAccessibleInterface* detail = QAccessible::queryAccessibleInterface(window->picture(2));
    EXPECT_EQ(detail->text(QAccessible::Name), u"Option details"_s);
    EXPECT_EQ(detail->text(QAccessible::Description),
              u"Option: Option B \"Car SUV D14\"\nScore: +15%\nVerdict: Neutral"_s);
    window->close();

    window = openProfileWindow(context());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window->picture(0))->text(QAccessible::Name), u"Profile"_s);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window->picture(0))->text(QAccessible::Description), facts);
}

// ---- option tabs -------------------------------------------------------------

TEST_F(ResultWindowsTest, SelectingAnOptionTabBuildsThatOptionsDetailPage)
{
    // Enough criteria to make the page taller than the empty pane.
    for (int i = 0; i < 40; ++i)
        m_project.addCriterion(QStringLiteral("Extra %1").arg(i));
    ChartWindow* window = openResultsWindow(context());
    const QSize detailSize(700, detailPageHeight(m_project.criterionCount()));
    ASSERT_GT(detailSize.height(), 530);

    clickTab(window, 2);
    EXPECT_EQ(window->selector()->currentIndex(), 2);
    EXPECT_EQ(shown(window->picture(2)), detailPage(1));
    EXPECT_EQ(window->picture(2)->size(), detailSize);
    EXPECT_EQ(rgb32(window->currentPage()), detailPage(1));
    EXPECT_EQ(window->focusWidget(), window->picture(2));
    EXPECT_TRUE(window->picture(1)->pixmap().isNull());
    EXPECT_TRUE(window->picture(3)->pixmap().isNull());

    clickTab(window, 1);
    EXPECT_EQ(shown(window->picture(1)), detailPage(0));
    EXPECT_EQ(rgb32(window->currentPage()), detailPage(0));

    clickTab(window, 0);
    EXPECT_EQ(rgb32(window->currentPage()), rgb32(window->picture(0)->pixmap().toImage()));
}

TEST_F(ResultWindowsTest, EveryPageShowsTheProjectAsScoredWhenTheWindowOpened)
{
    ChartWindow* window = openResultsWindow(context());
    // The window scores its own copy: the document changes, the pages do not.
    m_document.setName(EntryKind::Option, 0, u"Renamed"_s);
    m_document.setValue(0, 0, 0, true);
    clickTab(window, 2);
    clickTab(window, 1);
    EXPECT_EQ(shown(window->picture(1)), detailPage(0));
    EXPECT_EQ(m_document.project().options()[0].score, 0);
}

// ---- modality ----------------------------------------------------------------

class ModalityTest : public ResultWindowsTest, public ::testing::WithParamInterface<Which> { };

TEST_P(ModalityTest, TheMainWindowIsDisabledUntilTheCloseButtonCloses)
{
    QPointer<ChartWindow> window = openWindow(GetParam(), context());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(m_mainWindow.isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->button(ChartWindow::Button::Print)->isEnabled());
    // Dialogs asked while it is open belong to it, not to the disabled main window.
    EXPECT_EQ(QApplication::activeModalWidget(), window.data());

    QTest::mouseClick(window->button(ChartWindow::Button::Close), Qt::LeftButton);
    EXPECT_TRUE(m_mainWindow.isEnabled());
    EXPECT_TRUE(waitUntil([&] { return window.isNull(); }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_P(ModalityTest, TheCloseBoxEnablesTheMainWindowToo)
{
    QPointer<ChartWindow> window = openWindow(GetParam(), context());
    ASSERT_FALSE(m_mainWindow.isEnabled());
    // The way the window system's close request comes in.
    window->windowHandle()->close();
    EXPECT_TRUE(m_mainWindow.isEnabled());
    EXPECT_TRUE(waitUntil([&] { return window.isNull(); }));
}

TEST_P(ModalityTest, EscapeClosesTheWindowFromTheTabsAndTheButtons)
{
    // Pressed where the focus can be: on the tabs, or on a button.
    for (const bool onButton : {false, true}) {
        SCOPED_TRACE(onButton ? "button" : "tabs");
        QPointer<ChartWindow> window = openWindow(GetParam(), context());
        QWidget* focused =
            onButton ? static_cast<QWidget*>(window->button(ChartWindow::Button::Copy)) : window->selector()->tabBar();
        focused->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focused, Qt::Key_Escape);
        EXPECT_TRUE(m_mainWindow.isEnabled());
        EXPECT_TRUE(waitUntil([&] { return window.isNull(); }));
        EXPECT_TRUE(m_dialogs.messages.isEmpty()) << "Escape pressed the copy button";
    }
}

// The names of the accessible nodes under `node` that say they have the focus.
QStringList focusedNodes(QAccessibleInterface* node)
{
    QStringList found;
    for (int child = 0; child < node->childCount(); ++child) {
        QAccessibleInterface* face = node->child(child);
        if (!face)
            continue;
        if (face->state().focused)
            found << face->text(QAccessible::Name) + u" ("_s + QString::number(face->role()) + u")"_s;
        found << focusedNodes(face);
    }
    return found;
}

TEST_P(ModalityTest, ScreenReadersMeetADialogByItsTitleWithOneFocusedControl)
{
    QPointer<ChartWindow> window = openWindow(GetParam(), context());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.data()));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.data());
    EXPECT_EQ(face->role(), QAccessible::Dialog);
    EXPECT_EQ(face->text(QAccessible::Name), window->windowTitle());
    EXPECT_FALSE(window->windowTitle().isEmpty());

    // Wherever the keyboard takes the focus: the tabs, the page, a button.
    for (QWidget* focused :
         {static_cast<QWidget*>(window->selector()->tabBar()), static_cast<QWidget*>(window->picture(0)),
          static_cast<QWidget*>(window->button(ChartWindow::Button::Close))}) {
        focused->setFocus(Qt::TabFocusReason);
        const QStringList nodes = focusedNodes(face);
        ASSERT_EQ(nodes.size(), 1) << nodes.join(u"; "_s).toStdString();
        // On the tab bar, the tab the user is on; elsewhere the control itself.
        const QString expected = focused == window->selector()->tabBar()
                                     ? window->selector()->tabText(0)
                                     : QAccessible::queryAccessibleInterface(focused)->text(QAccessible::Name);
        EXPECT_TRUE(nodes.first().startsWith(expected + u" ("_s)) << nodes.first().toStdString();
    }
    window->close();
}

INSTANTIATE_TEST_SUITE_P(ChartWindows, ModalityTest, ::testing::Values(Which::Results, Which::Profile),
                         [](const auto& test) { return test.param == Which::Results ? "Results" : "Profile"; });

TEST_F(ResultWindowsTest, TheRobustnessWindowStaysBesideTheMainWindowAndFollowsEveryEdit)
{
    QPointer<ChartWindow> window = openRobustnessWindow(context());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(m_mainWindow.isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const auto analysedNow = [this] {
        const Project scored = scoredCopy(m_document.project());
        return rgb32(buildRobustnessPage(scored, analyseRobustness(scored), m_document.banner()));
    };
    const QImage first = analysedNow();
    ASSERT_EQ(shown(window->picture(0)), first);

    // A burst of edits, as a slider drag makes them: Option A's price
    // rating from +4 down to -5 leaves it -25 + 20 + 9 = 4 of 75 (+5%),
    // below Option B's 11 (+15%). Analysed once the program is idle again,
    // not one by one.
    for (int value = 8; value >= 0; --value)
        m_document.setValue(0, 0, value, true);
    EXPECT_EQ(shown(window->picture(0)), first);
    QApplication::processEvents();
    const QImage edited = analysedNow();
    ASSERT_NE(edited, first);
    EXPECT_EQ(shown(window->picture(0)), edited);
    EXPECT_EQ(rgb32(window->currentPage()), edited);
    EXPECT_TRUE(
        window->picture(0)->accessibleDescription().startsWith(u"Best choice: Option B \"Car SUV D14\" (+15%)\n"_s))
        << window->picture(0)->accessibleDescription().toStdString();

    m_document.setBanner(u"Trips"_s);
    QApplication::processEvents();
    EXPECT_EQ(shown(window->picture(0)), analysedNow());

    QTest::mouseClick(window->button(ChartWindow::Button::Close), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return window.isNull(); }));
    EXPECT_TRUE(m_mainWindow.isEnabled());
    m_document.setImportance(0, 5); // nothing left to follow
    QApplication::processEvents();
}

// ---- copy --------------------------------------------------------------------

TEST_F(ResultWindowsTest, CopyPutsThePageOnViewOnTheClipboardAndSaysSo)
{
    ChartWindow* window = openResultsWindow(context());
    QTest::mouseClick(window->button(ChartWindow::Button::Copy), Qt::LeftButton);
    EXPECT_EQ(rgb32(QGuiApplication::clipboard()->image()), shown(window->picture(0)));
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.messages[0].title, text(TextKey::TXT00013));
    EXPECT_EQ(m_dialogs.messages[0].text, text(TextKey::TXT00107));
    EXPECT_EQ(m_dialogs.messages[0].icon, Dialogs::Icon::Information);

    clickTab(window, 3);
    QTest::mouseClick(window->button(ChartWindow::Button::Copy), Qt::LeftButton);
    const QImage copied = rgb32(QGuiApplication::clipboard()->image());
    EXPECT_EQ(copied.size(), QSize(700, detailPageHeight(3)));
    EXPECT_EQ(copied, detailPage(2));
    EXPECT_EQ(m_dialogs.messages.size(), 2);
}

// ---- save as image -----------------------------------------------------------

TEST_F(ResultWindowsTest, SaveAsImageWritesThePageOnViewAndRemembersTheChoice)
{
    ChartWindow* window = openResultsWindow(context());
    clickTab(window, 1);
    m_dialogs.files.push_back({m_folders.documents + u"detail"_s, 2});
    QTest::mouseClick(window->button(ChartWindow::Button::SaveAsImage), Qt::LeftButton);

    ASSERT_EQ(m_dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(m_dialogs.fileDialogs[0].title, text(TextKey::TXT00108));
    EXPECT_EQ(m_dialogs.fileDialogs[0].text, m_folders.pictures);
    const QImage written(m_folders.documents + u"detail.png"_s);
    EXPECT_EQ(rgb32(written), detailPage(0));
    EXPECT_EQ(m_settings.ImageType, u"png"_s);
    EXPECT_EQ(m_settings.ImagePath, m_folders.documents);
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    EXPECT_EQ(shown(window->picture(1)), detailPage(0)); // the page on view is left as it was
}

TEST(ResultWindowSize, SmallDesktopsGetShorterWindows)
{
    EXPECT_EQ(resultWindowSize(480), QSize(760, 540));
    EXPECT_EQ(resultWindowSize(601), QSize(760, 630));
}
