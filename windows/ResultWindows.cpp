#include "windows/ResultWindows.h"

#include "base/Language.h"
#include "base/TextTable.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"
#include "evaluation/Team.h"
#include "evaluation/TeamTexts.h"
#include "export/ImageExport.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "platform/WaitCursor.h"
#include "project/DisplayTexts.h"
#include "project/OptionLetter.h"
#include "project/Project.h"
#include "windows/ModalWindow.h"
#include "windows/PagePrinting.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Layout of the window, from its inner size W x H.
constexpr QPoint kSelectorPosition(10, 10);
constexpr int kSelectorMarginWidth = 20;  // selector width = W - 20
constexpr int kSelectorMarginHeight = 50; // selector height = H - 50
constexpr int kButtonRowFromBottom = 35;  // buttons at y = H - 35
constexpr int kButtonHeight = 25;
constexpr int kNarrowButtonWidth = 90;
constexpr int kPrintX = 10;
constexpr int kCopyX = 110;
constexpr int kSaveX = 210;
constexpr int kCloseFromRight = 132; // close button at x = W - 132
constexpr int kCloseWidth = 120;

// An empty pane scrolls over the size of an overview page.
constexpr QSize kEmptyPaneArea(700, 530);
constexpr int kScrollStep = 10;

QString windowTitle(TextKey key)
{
    return uiText(key) + u" - "_s + uiText(TextKey::Program_Name);
}

// What the robustness page shows, as one text a screen reader can read
// out: the picture itself is only pixels.
QString robustnessSummary(const Project& project, const Robustness& robustness)
{
    QStringList lines;
    if (!robustness.maximum) {
        lines << uiText(TextKey::TXT00257) + u" "_s + uiText(TextKey::TXT00432)
              << uiText(TextKey::TXT00259) + u" "_s + uiText(verdictWordKey(robustness.verdict)) + punctuation(u':')
                     + u" "_s + uiText(verdictReasonKey(robustness.verdict))
              << uiText(TextKey::TXT00404) + u" "_s + uiText(TextKey::TXT00405);
    }
    for (const FindingRow& row : findingRows(project, robustness))
        lines << row.label + u" "_s + row.value;
    if (robustness.closest)
        lines << listedChanges(project, *robustness.closest);
    lines << uiText(TextKey::TXT00422) + punctuation(u':');
    for (const ImportanceWhatIf& whatIf : robustness.importance) {
        QStringList best;
        for (std::size_t at = 0; at < whatIf.best.size(); ++at) {
            QStringList letters;
            for (int option : whatIf.best[at])
                letters << optionLetter(option);
            best << QString::number(static_cast<int>(at) + kImportanceMin) + u" "_s
                        + (letters.isEmpty() ? uiText(TextKey::TXT00432) : letters.join(u','));
        }
        lines << QString::number(whatIf.criterion + 1) + u" "_s
                     + quoted(project.criteria()[static_cast<std::size_t>(whatIf.criterion)].Name) + u" ("_s
                     + QString::number(whatIf.current) + u")"_s + punctuation(u':') + u" "_s
                     + best.join(punctuation(u';') + u" "_s);
    }
    QStringList chances;
    for (std::size_t option = 0; option < robustness.chance.size(); ++option) {
        chances << optionsText(project, {static_cast<int>(option)}) + u" "_s
                       + percentText(robustness.chance[option] * 100.0, 1, false);
    }
    lines << uiText(TextKey::TXT00425) + u" ("_s + uiText(TextKey::TXT00426) + u" \u00B1"_s
                 + QString::number(robustness.spread) + u")"_s + punctuation(u':') + u" "_s + chances.join(u", "_s);
    lines << uiText(TextKey::TXT00427) + punctuation(u':');
    if (robustness.challengers.empty())
        lines << uiText(TextKey::TXT00432);
    for (const Challenger& challenger : robustness.challengers) {
        lines << challengerText(project, challenger);
        if (challenger.lift)
            lines << listedChanges(project, *challenger.lift);
    }
    return lines.join(u"\n"_s);
}

// What the top of the overview and profile pages says, and every option's
// score beside it: the pictures' key facts for a screen reader.
QString resultsSummary(const Project& project)
{
    const BestOptions best = bestOptions(project);
    if (!best.maximum)
        return uiText(TextKey::TXT00257) + u" "_s + uiText(TextKey::TXT00432);
    QStringList scores;
    for (const Option& option : project.options())
        scores << optionsText(project, {option.Index}) + u" "_s + scoreText(option.score);
    return uiText(TextKey::TXT00257) + u" "_s + bestOptionsText(project, best) + u" ("_s + scoreText(*best.maximum)
           + u")\n"_s + uiText(TextKey::TXT00259) + u" "_s + uiText(verdictBand(*best.maximum)) + u"\n"_s
           + uiText(TextKey::TXT00567) + u" "_s + scores.join(u", "_s);
}

// The facts at the top of an option's detail page.
QString detailSummary(const Project& project, int optionIndex)
{
    const int score = project.options()[static_cast<std::size_t>(optionIndex)].score;
    return uiText(TextKey::TXT00264) + u" "_s + optionsText(project, {optionIndex}) + u"\n"_s
           + uiText(TextKey::TXT00265) + u" "_s + scoreText(score) + u"\n"_s + uiText(TextKey::TXT00266) + u" "_s
           + uiText(verdictBand(score));
}

// The team's choice, agreement and scores, for screen readers.
QString teamSummary(const TeamResult& team)
{
    QString text;
    if (team.maximum) {
        text += uiText(TextKey::TXT00257) + u" "_s + optionsText(withDisplayTexts(team.combined), team.best) + u" ("_s
                + scoreText(*team.maximum) + u")\n"_s;
    }
    text += uiText(TextKey::TXT00815) + u" "_s + uiText(teamVerdictWordKey(team.verdict)) + u" ("_s
            + agreementText(team) + u")\n"_s;
    QStringList scores;
    for (std::size_t option = 0; option < team.options.size(); ++option)
        scores << optionLetter(static_cast<int>(option)) + u" "_s + scoreText(team.options[option].score);
    return text + uiText(TextKey::TXT00812) + punctuation(u':') + u" "_s + scores.join(u", "_s);
}

// The picture is only pixels: its name and description say what it shows.
// The summaries are made from the project with its texts cut for display,
// as the pages draw them: a screen reader gets what the page shows, and a
// name of megabytes is not copied into every sentence that names it.
void describePicture(QLabel* picture, const QString& name, const QString& summary)
{
    picture->setAccessibleName(name);
    picture->setAccessibleDescription(summary);
}

} // namespace

ChartWindow::ChartWindow(const WindowContext& context, const QString& title, const QString& firstCaption,
                         const QImage& firstPage, PagePainter paintFirstPage, std::shared_ptr<const Project> options)
    : QWidget(context.mainWindow,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_context(context), m_options(std::move(options)), m_firstPage(firstPage),
      m_paintFirstPage(std::move(paintFirstPage))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Modal for the dialogs it opens too: they belong to this window, not to
    // the disabled main window.
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(title);
    announceAsDialog(*this);
    const QSize size = resultWindowSize(context.desktopHeight);
    setFixedSize(size);

    m_selector = new QTabWidget(this);
    m_selector->setGeometry(kSelectorPosition.x(), kSelectorPosition.y(), size.width() - kSelectorMarginWidth,
                            size.height() - kSelectorMarginHeight);
    addPane(firstCaption);
    const int optionTabs = m_options ? m_options->optionCount() : 0;
    for (int option = 0; option < optionTabs; ++option)
        addPane(optionLetter(option));
    showPage(0, m_firstPage, m_paintFirstPage);
    connect(m_selector, &QTabWidget::currentChanged, this, &ChartWindow::showTab);

    const int buttonY = size.height() - kButtonRowFromBottom;
    const struct {
        TextKey caption;
        QRect geometry;
        void (ChartWindow::*action)();
    } buttons[] = {
        {TextKey::TXT00309, {kPrintX, buttonY, kNarrowButtonWidth, kButtonHeight}, &ChartWindow::printPage},
        {TextKey::TXT00308, {kCopyX, buttonY, kNarrowButtonWidth, kButtonHeight}, &ChartWindow::copyPage},
        {TextKey::TXT00339, {kSaveX, buttonY, kNarrowButtonWidth, kButtonHeight}, &ChartWindow::savePage},
        {TextKey::TXT00307, {size.width() - kCloseFromRight, buttonY, kCloseWidth, kButtonHeight}, nullptr},
    };
    for (const auto& entry : buttons) {
        auto* button = new QPushButton(uiText(entry.caption), this);
        button->setGeometry(entry.geometry);
        if (entry.action)
            connect(button, &QPushButton::clicked, this, entry.action);
        else
            connect(button, &QPushButton::clicked, this, &QWidget::close);
        m_buttons.push_back(button);
    }
}

ChartWindow::~ChartWindow()
{
    // The selector outlives this object's own part of the destruction; a tab
    // change it reports while going must not reach a half-destroyed window.
    disconnect(m_selector, nullptr, this, nullptr);
}

void ChartWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChartWindow::addPane(const QString& caption)
{
    auto* pane = new QScrollArea;
    pane->setFrameShape(QFrame::NoFrame);
    QPalette white = pane->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    pane->setPalette(white);
    pane->horizontalScrollBar()->setSingleStep(kScrollStep);
    pane->verticalScrollBar()->setSingleStep(kScrollStep);

    // The picture takes the keyboard focus, so the arrow and page keys
    // scroll the pane it sits in.
    auto* picture = new QLabel;
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setFocusPolicy(Qt::ClickFocus);
    pane->setWidget(picture);
    picture->resize(kEmptyPaneArea);

    m_selector->addTab(pane, caption);
    m_panes.push_back(pane);
    m_pictures.push_back(picture);
}

void ChartWindow::showPage(int tab, const QImage& page, const PagePainter& paint)
{
    if (page.isNull())
        return;
    const qreal scale = devicePixelRatioF();
    QImage shown;
    if (scale != 1.0 && paint) {
        WaitCursor wait;
        shown = pagePicture(page.height(), scale, paint);
    }
    // Without memory for the sharp picture the 1x page still shows, scaled.
    if (shown.isNull())
        shown = page;
    m_shownScale = shown.devicePixelRatio();
    QLabel* label = picture(tab);
    label->setPixmap(QPixmap::fromImage(shown));
    // Sized in logical pixels: the pane scrolls over the same page at any
    // ratio.
    label->resize(page.size());
}

PagePainter ChartWindow::detailPainter(int option) const
{
    return [this, option](QPainter& painter) {
        paintDetailPage(painter, *m_options, option, m_context.banner(), m_context.charts, m_context.folders.temporary);
    };
}

void ChartWindow::followScreen()
{
    if (devicePixelRatioF() == m_shownScale)
        return;
    const int tab = m_selector->currentIndex();
    if (tab > 0)
        showPage(tab, m_detailPage, detailPainter(tab - 1));
    else
        showPage(0, m_firstPage, m_paintFirstPage);
}

void ChartWindow::open()
{
    showModalOver(*this, m_context.mainWindow);
    if (QWindow* window = windowHandle())
        connect(window, &QWindow::screenChanged, this, &ChartWindow::followScreen);
    // The ratio is known for sure once the window is on its screen.
    followScreen();
    m_pictures.front()->setFocus();
}

void ChartWindow::openBeside()
{
    setWindowModality(Qt::NonModal);
    if (m_context.mainWindow) {
        QRect frame(QPoint(), size());
        frame.moveCenter(m_context.mainWindow->window()->frameGeometry().center());
        move(frame.topLeft());
    }
    show();
    if (QWindow* window = windowHandle())
        connect(window, &QWindow::screenChanged, this, &ChartWindow::followScreen);
    followScreen();
    m_pictures.front()->setFocus();
}

void ChartWindow::replaceFirstPage(const QImage& page, PagePainter paint)
{
    m_firstPage = page;
    m_paintFirstPage = std::move(paint);
    showPage(0, m_firstPage, m_paintFirstPage);
}

const QImage& ChartWindow::currentPage() const
{
    return m_selector->currentIndex() > 0 ? m_detailPage : m_firstPage;
}

QScrollArea* ChartWindow::pane(int tab) const
{
    return m_panes.at(static_cast<std::size_t>(tab));
}

QLabel* ChartWindow::picture(int tab) const
{
    return m_pictures.at(static_cast<std::size_t>(tab));
}

QPushButton* ChartWindow::button(Button which) const
{
    return m_buttons.at(static_cast<std::size_t>(which));
}

void ChartWindow::showTab(int index)
{
    if (index == m_shownTab)
        return;
    m_shownTab = index;
    if (index < 1)
        return;
    // Built anew on every visit: there is one detail page, and it must
    // always belong to the tab on view.
    QImage page =
        buildDetailPage(*m_options, index - 1, m_context.banner(), m_context.charts, m_context.folders.temporary);
    if (!page.isNull())
        m_detailPage = std::move(page);
    if (m_detailPage.isNull())
        return;
    showPage(index, m_detailPage, detailPainter(index - 1));
    describePicture(picture(index), uiText(TextKey::TXT00263), detailSummary(withDisplayTexts(*m_options), index - 1));
    picture(index)->setFocus();
}

QPushButton* ChartWindow::addActionButton(const QString& caption, const std::function<void()>& action)
{
    auto* button = new QPushButton(caption, this);
    const int width = std::max(kNarrowButtonWidth, button->sizeHint().width());
    button->setGeometry(kSaveX + kNarrowButtonWidth + (kCopyX - kPrintX - kNarrowButtonWidth), m_buttons.front()->y(),
                        width, kButtonHeight);
    connect(button, &QPushButton::clicked, this, action);
    m_buttons.push_back(button);
    return button;
}

void ChartWindow::printPage()
{
    const int tab = m_selector->currentIndex();
    printPageImage(currentPage(), tab > 0 ? detailPainter(tab - 1) : m_paintFirstPage, m_context.dialogs,
                   uiText(TextKey::Program_Name));
}

void ChartWindow::copyPage()
{
    QGuiApplication::clipboard()->setImage(currentPage());
    m_context.dialogs.message(uiText(TextKey::TXT00013), uiText(TextKey::TXT00107), Dialogs::Icon::Information);
}

void ChartWindow::savePage()
{
    exportImage(currentPage(), m_context.settings, m_context.folders.pictures, m_context.dialogs);
}

ChartWindow* openResultsWindow(const WindowContext& context)
{
    std::shared_ptr<const Project> scored;
    QImage overview;
    {
        WaitCursor wait;
        scored = std::make_shared<const Project>(scoredCopy(context.project()));
        overview = buildOverviewPage(*scored, context.banner(), context.charts, context.folders.temporary);
    }
    const QString caption = uiText(TextKey::TXT00274);
    const PagePainter paintOverview = [context, scored](QPainter& painter) {
        paintOverviewPage(painter, *scored, context.banner(), context.charts, context.folders.temporary);
    };
    auto* window = new ChartWindow(context, windowTitle(TextKey::TXT00274), caption, overview, paintOverview, scored);
    describePicture(window->picture(0), caption, resultsSummary(withDisplayTexts(*scored)));
    window->open();
    return window;
}

ChartWindow* openProfileWindow(const WindowContext& context)
{
    std::shared_ptr<const Project> scored;
    QImage profile;
    {
        WaitCursor wait;
        scored = std::make_shared<const Project>(scoredCopy(context.project()));
        profile = buildProfilePage(*scored, context.banner());
    }
    const PagePainter paintProfile = [context, scored](QPainter& painter) {
        paintProfilePage(painter, *scored, context.banner());
    };
    auto* window =
        new ChartWindow(context, windowTitle(TextKey::TXT00275), uiText(TextKey::TXT00276), profile, paintProfile);
    describePicture(window->picture(0), uiText(TextKey::TXT00276), resultsSummary(withDisplayTexts(*scored)));
    window->open();
    return window;
}

ChartWindow* openRobustnessWindow(const WindowContext& context)
{
    auto* window =
        new ChartWindow(context, windowTitle(TextKey::TXT00440), uiText(TextKey::TXT00441), QImage(), PagePainter());
    // Analysed once per showing, on a scored copy that the page keeps:
    // drawing the page again at the screen's density only lays out the same
    // answers, whatever the document did meanwhile.
    const auto analyse = [context, window] {
        WaitCursor wait;
        auto scored = std::make_shared<const Project>(scoredCopy(context.project()));
        const Robustness robustness = analyseRobustness(*scored);
        window->replaceFirstPage(buildRobustnessPage(*scored, robustness, context.banner()),
                                 [context, scored, robustness](QPainter& painter) {
                                     paintRobustnessPage(painter, *scored, robustness, context.banner());
                                 });
        describePicture(window->picture(0), uiText(TextKey::TXT00441),
                        robustnessSummary(withDisplayTexts(*scored), robustness));
    };
    analyse();
    // A slider drag or a paste sends many changes at once: they wait for the
    // event loop and are analysed together.
    auto* pending = new QTimer(window);
    pending->setSingleShot(true);
    pending->setInterval(0);
    QObject::connect(pending, &QTimer::timeout, window, analyse);
    const auto follow = [pending] { pending->start(); };
    QObject::connect(&context.document, &Document::changed, pending, follow);
    QObject::connect(&context.document, &Document::projectReplaced, pending, follow);
    QObject::connect(&context.document, &Document::bannerChanged, pending, follow);
    window->openBeside();
    return window;
}

ChartWindow* openTeamWindow(const WindowContext& context, const TeamResult& team,
                            const std::function<void(const Project& combined)>& openCombined)
{
    const QString banner = team.members.front().name;
    QImage page;
    {
        WaitCursor wait;
        page = buildTeamPage(team, banner);
    }
    const PagePainter paintTeam = [team, banner](QPainter& painter) { paintTeamPage(painter, team, banner); };
    auto* window = new ChartWindow(context, windowTitle(TextKey::TXT00802), uiText(TextKey::TXT00802), page, paintTeam);
    describePicture(window->picture(0), uiText(TextKey::TXT00802), teamSummary(team));
    window->addActionButton(uiText(TextKey::TXT00803), [window, team, openCombined] {
        // The combined project replaces the open one only after the
        // unsaved-changes question, which the main window asks once this
        // window is gone.
        window->close();
        openCombined(team.combined);
    });
    window->open();
    return window;
}

} // namespace ponderix
