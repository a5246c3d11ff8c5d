#pragma once

#include "windows/PagePrinting.h"
#include "windows/WindowContext.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace ponderix {

class Project;
struct TeamResult;

// The frame the results, profile and robustness windows share: a tab selector over white
// scrolling panes, each showing a page image, and four buttons that print,
// copy or save the page on view, or close the window. From open() until it
// closes the main window is disabled, so the project and its scores cannot
// change under what the window shows.
class ChartWindow final : public QWidget {
    Q_OBJECT

public:
    enum class Button { Print, Copy, SaveAsImage, Close };

    // `firstPage` (at 1x) is shown on the first tab; `paintFirstPage` paints
    // it again for a high-density screen or a printer. Each option of
    // `options` (scored; none when null) gets a tab after it, captioned with
    // its letter, showing that option's detail page whenever it is
    // selected. Every tab shows its page at the window's device pixel
    // ratio; the buttons copy, save and print from the 1x page.
    ChartWindow(const WindowContext& context, const QString& title, const QString& firstCaption,
                const QImage& firstPage, PagePainter paintFirstPage, std::shared_ptr<const Project> options = nullptr);
    ~ChartWindow() override;

    // Shows the window centred on the main window and disables the main
    // window until this one closes. The window deletes itself when closed.
    void open();
    // Shows the window centred on the main window, which stays enabled: the
    // window stays open beside it while the project is edited. Its own
    // dialogs (print, save) are still modal.
    void openBeside();

    // Puts `page` on the first tab in place of the page shown there, and
    // `paint` in place of its painter: for a window that follows the edits.
    void replaceFirstPage(const QImage& page, PagePainter paint);

    // The page the buttons act on (at 1x): the detail page while an option
    // tab is selected, else the first tab's page.
    const QImage& currentPage() const;
    // The ratio the picture on view was drawn at.
    qreal shownScale() const { return m_shownScale; }

    QTabWidget* selector() const { return m_selector; }
    QScrollArea* pane(int tab) const;
    QLabel* picture(int tab) const;
    QPushButton* button(Button which) const;

    // One more button, after the save button, doing `action`.
    QPushButton* addActionButton(const QString& caption, const std::function<void()>& action);

    void printPage();
    void copyPage();
    void savePage();

protected:
    // Escape closes the window, as it closes any dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addPane(const QString& caption);
    void showTab(int index);
    // Puts the page on the tab's picture, drawn at the window's ratio.
    void showPage(int tab, const QImage& page, const PagePainter& paint);
    PagePainter detailPainter(int option) const;
    // After a move to a screen of another ratio, draws the page on view anew.
    void followScreen();

    WindowContext m_context;
    std::shared_ptr<const Project> m_options;
    QImage m_firstPage;
    PagePainter m_paintFirstPage;
    QImage m_detailPage;
    qreal m_shownScale = 1.0;
    int m_shownTab = 0;
    QTabWidget* m_selector = nullptr;
    std::vector<QScrollArea*> m_panes;
    std::vector<QLabel*> m_pictures;
    std::vector<QPushButton*> m_buttons;
};

// The results window: scores every option, then shows the overview page and
// one tab per option. Returns the open window, which belongs to the main
// window and deletes itself when closed.
ChartWindow* openResultsWindow(const WindowContext& context);

// The profile window: scores every option, then shows the profile page.
ChartWindow* openProfileWindow(const WindowContext& context);

// The robustness window: scores every option, analyses how solid the best
// choice is and shows the robustness page, whose findings in words also
// serve as the picture's accessible description. The window stays open
// beside the main window and analyses the document again after its edits,
// once per burst of changes.
ChartWindow* openRobustnessWindow(const WindowContext& context);

// The team window: the team page of `team` (from analyseTeam) and a button
// that hands the team's combined project to `openCombined`.
ChartWindow* openTeamWindow(const WindowContext& context, const TeamResult& team,
                            const std::function<void(const Project& combined)>& openCombined);

} // namespace ponderix
