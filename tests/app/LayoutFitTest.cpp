#include "app/MainWindow.h"
#include "app/ProjectFiles.h"
#include "base/Language.h"
#include "evaluation/PageStyle.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "evaluation/Scoring.h"
#include "evaluation/Team.h"
#include "project/ProjectReader.h"
#include "tests/app/AppSandbox.h"
#include "windows/ResultWindows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

// Every text of every language has the room the layout gives it: in the
// main window, the result windows and on the result pages.

namespace {

// The text as the control shows it: no accelerator mark, no shortcut after
// a tab, markup reduced to its words.
QString shownText(QString text)
{
    text = text.section(u'\t', 0, 0);
    static const QRegularExpression accelerator(u"&(.)"_s);
    text.replace(accelerator, u"\\1"_s);
    if (Qt::mightBeRichText(text)) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    }
    return text;
}

QString describe(const QWidget& control, const QString& text)
{
    return QString::fromLatin1(control.metaObject()->className()) + u" \""_s + text + u"\""_s;
}

void checkLabel(const QLabel& label, QStringList& problems)
{
    const QString text = shownText(label.text());
    if (text.isEmpty())
        return;
    const int margin = label.margin();
    const QRect room = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    const QFontMetrics metrics(label.font());
    const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = metrics.boundingRect(room, flags, text);
    if (needed.width() > room.width() || needed.height() > room.height())
        problems << describe(label, text)
                        + u" needs %1 x %2 in %3 x %4"_s.arg(needed.width())
                              .arg(needed.height())
                              .arg(room.width())
                              .arg(room.height());
}

// The width the style leaves a button's caption.
int captionRoom(const QAbstractButton& button)
{
    const QStyle& style = *button.style();
    if (qobject_cast<const QToolButton*>(&button))
        return button.width() - 2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
    if (qobject_cast<const QPushButton*>(&button)) {
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        const int iconWidth = button.icon().isNull() ? 0 : button.iconSize().width() + 4;
        return style.subElementRect(QStyle::SE_PushButtonContents, &option, &button).width() - iconWidth;
    }
    // Check boxes and radio buttons: the indicator and its gap come first.
    return button.width() - (button.sizeHint().width() - QFontMetrics(button.font()).horizontalAdvance(button.text()));
}

void checkButton(const QAbstractButton& button, QStringList& problems)
{
    const QString text = shownText(button.text());
    if (text.isEmpty())
        return;
    const int needed = QFontMetrics(button.font()).horizontalAdvance(text);
    if (needed > captionRoom(button))
        problems << describe(button, text) + u" needs %1 in %2"_s.arg(needed).arg(captionRoom(button));
}

void checkTabs(const QTabBar& bar, QStringList& problems)
{
    const int padding = bar.style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, &bar);
    for (int tab = 0; tab < bar.count(); ++tab) {
        const QString text = shownText(bar.tabText(tab));
        const int needed = QFontMetrics(bar.font()).horizontalAdvance(text) + padding;
        const QRect place = bar.tabRect(tab);
        if (needed > place.width() || place.right() >= bar.width())
            problems << describe(bar, text) + u" needs %1 in %2"_s.arg(needed).arg(place.width());
    }
}

void checkPlaceholder(const QLineEdit& field, QStringList& problems)
{
    if (!field.text().isEmpty() || field.placeholderText().isEmpty())
        return;
    // QLineEdit keeps two pixels each side inside its frame.
    const int frame = field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const int room = field.contentsRect().width() - 2 * frame - 4;
    const int needed = QFontMetrics(field.font()).horizontalAdvance(field.placeholderText());
    if (needed > room)
        problems << describe(field, field.placeholderText()) + u" needs %1 in %2"_s.arg(needed).arg(room);
}

// The overflow buttons of menu bars, toolbars and tab bars show only when
// their captions do not fit.
bool isOverflowButton(const QWidget& widget)
{
    return widget.objectName().endsWith(u"_ext_button"_s) || qobject_cast<const QTabBar*>(widget.parentWidget());
}

void checkMenus(const QMenuBar& bar, QStringList& problems)
{
    const int screenWidth = bar.screen()->availableGeometry().width();
    for (const QAction* title : bar.actions()) {
        if (title->menu() && title->menu()->sizeHint().width() > screenWidth)
            problems << u"menu \""_s + shownText(title->text()) + u"\" is wider than the screen"_s;
    }
}

// Every text of `window` and the controls in it that does not fit.
QStringList cutTexts(const QWidget& window)
{
    QStringList problems;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        if (isOverflowButton(*widget) && qobject_cast<const QToolButton*>(widget))
            problems << u"overflow button shows in "_s
                            + QString::fromLatin1(widget->parent()->metaObject()->className());
        else if (const auto* label = qobject_cast<const QLabel*>(widget))
            checkLabel(*label, problems);
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            checkButton(*button, problems);
        else if (const auto* tabs = qobject_cast<const QTabBar*>(widget))
            checkTabs(*tabs, problems);
        else if (const auto* field = qobject_cast<const QLineEdit*>(widget))
            checkPlaceholder(*field, problems);
        else if (const auto* bar = qobject_cast<const QMenuBar*>(widget))
            checkMenus(*bar, problems);
    }
    return problems;
}

// The texts a page drew that were cut, ran off the page or into each other.
// A name from the project (`names`) may be cut by design.
QStringList pageProblems(const std::vector<DrawnText>& texts, const QStringList& names)
{
    const auto isName = [&names](const QString& text) {
        return std::any_of(names.begin(), names.end(), [&text](const QString& name) { return text.contains(name); });
    };
    QStringList problems;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const DrawnText& text = texts[i];
        if (text.cut && !isName(text.text))
            problems << u"cut: "_s + text.text;
        if (text.place.right() >= kPageWidth)
            problems << u"past the page's edge: "_s + text.text;
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            // Boxes around letters that are not boxes may share a corner
            // (a descender's beside the next label's) without any ink touching.
            const QRect shared = texts[j].place.intersected(text.place);
            if (shared.width() > 2 || shared.height() > 2)
                problems << u"overlap: \""_s + text.text + u"\" and \""_s + texts[j].text + u"\""_s;
        }
    }
    return problems;
}

QStringList namesIn(const Project& project)
{
    QStringList names;
    for (const auto& option : project.options())
        names << option.Name.trimmed();
    for (const auto& criterion : project.criteria())
        names << criterion.Name.trimmed();
    return names;
}

// The demo project in the language of the run, with as many options as the
// matrix takes, so that every kind of cell is on view.
Project fullDemo()
{
    ReadResult read = readProjectBytes(demoProjectBytesInChosenLanguage());
    Project project = std::move(read.project());
    while (project.optionCount() < 26)
        project.addOption(u"Option %1"_s.arg(project.optionCount() + 1));
    return project;
}

void expectWhole(const QStringList& problems, const QString& where)
{
    EXPECT_TRUE(problems.isEmpty()) << where.toStdString() << ":\n  " << problems.join(u"\n  "_s).toStdString();
}

class LayoutFit : public AppSandbox, public ::testing::WithParamInterface<QString> {
protected:
    void SetUp() override
    {
        AppSandbox::SetUp();
        ASSERT_TRUE(chooseLanguage(GetParam()));
        // Each project replaces the one before it without a word.
        m_dialogs.answers.assign(4, Dialogs::Answer::Yes);
    }
    void TearDown() override { chooseLanguage(u"en"_s); }

    // Runs `command` and checks the window it opens, then closes it.
    void checkWindowOf(Application& application, Command command)
    {
        const QWidgetList before = QApplication::topLevelWidgets();
        application.mainWindow().trigger(command);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (before.contains(window) || !window->isVisible())
                continue;
            expectWhole(cutTexts(*window), window->windowTitle());
            window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void checkPage(const QString& page, const std::function<void()>& build, const QStringList& names)
    {
        PageTextRecorder recorder;
        build();
        EXPECT_FALSE(recorder.texts().empty()) << page.toStdString();
        expectWhole(pageProblems(recorder.texts(), names), page);
    }
};

} // namespace

TEST_P(LayoutFit, MainWindowShowsEveryTextWhole)
{
    auto application = startApplication();
    MainWindow& window = application->mainWindow();
    window.show();
    application->projectFiles().openDemo();
    expectWhole(cutTexts(window), u"demo"_s);
    ASSERT_TRUE(application->projectFiles().openUnsaved(fullDemo(), u"Demo"_s));
    expectWhole(cutTexts(window), u"26 options"_s);
}

TEST_P(LayoutFit, ResultWindowsShowEveryTextWhole)
{
    auto application = startApplication();
    application->mainWindow().show();
    application->projectFiles().openDemo();
    for (Command command : {Command::Results, Command::Profile, Command::Robustness, Command::Report})
        checkWindowOf(*application, command);
    const std::vector<TeamMember> members{{u"anna.pnx"_s, application->project()},
                                          {u"ben.pnx"_s, application->project()}};
    ChartWindow* team = openTeamWindow(application->windowContext(), analyseTeam(members), {});
    expectWhole(cutTexts(*team), u"team"_s);
    team->close();
}

TEST_P(LayoutFit, ResultPagesDrawEveryTextWhole)
{
    // Started for its chart library, so that the pages carry their charts and legends.
    auto application = startApplication();
    const ChartLibrary* charts = application->charts();
    const QString folder = application->folders().temporary;
    for (Project project : {readProjectBytes(demoProjectBytesInChosenLanguage()).project(), fullDemo()}) {
        ComputeScores(project);
        const QStringList names = namesIn(project) << u"Demo"_s << u"anna"_s << u"ben"_s;
        const QString where = u" of %1 options"_s.arg(project.optionCount());
        checkPage(
            u"overview"_s + where, [&] { buildOverviewPage(project, u"Demo"_s, charts, folder); }, names);
        for (int option = 0; option < std::min(project.optionCount(), 3); ++option) {
            checkPage(
                u"detail"_s + where, [&] { buildDetailPage(project, option, u"Demo"_s, charts, folder); }, names);
        }
        checkPage(
            u"profile"_s + where, [&] { buildProfilePage(project, u"Demo"_s); }, names);
        const Robustness robustness = analyseRobustness(project);
        checkPage(
            u"robustness"_s + where, [&] { buildRobustnessPage(project, robustness, u"Demo"_s); }, names);
        const std::vector<TeamMember> members{{u"anna.pnx"_s, project}, {u"ben.pnx"_s, project}};
        const TeamResult team = analyseTeam(members);
        checkPage(
            u"team"_s + where, [&] { buildTeamPage(team, u"Demo"_s); }, names);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, LayoutFit, ::testing::ValuesIn(availableLanguages()),
                         [](const ::testing::TestParamInfo<QString>& language) {
                             return language.param.toStdString();
                         });
