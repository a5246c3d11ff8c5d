#pragma once

#include "export/ReportBuilder.h"

#include <QWidget>

class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace ponderix {

class Dialogs;
struct WindowContext;

// The report table in a view, with print preview, copy, save and close.
// It is a window of its own rather than a child of the main window: a child
// would be disabled together with the main window it is meant to block.
class ReportWindow final : public QWidget {
    Q_OBJECT

public:
    // `shownDocument` is what the view shows: the report's document, or the
    // same report built with its texts cut for display.
    ReportWindow(const WindowContext& context, Report report, QByteArray shownDocument);

    QTabWidget* panel() const { return m_panel; }
    QTextBrowser* view() const { return m_view; }
    QPushButton* printButton() const { return m_printButton; }
    QPushButton* copyButton() const { return m_copyButton; }
    QPushButton* saveButton() const { return m_saveButton; }
    QPushButton* closeButton() const { return m_closeButton; }

    // A long report first shows the rows that fill the view, so that the
    // window appears at once; the whole report follows as soon as that much
    // has been painted, or at the latest when it is printed or saved.
    bool showsWholeReport() const { return !m_wholeReportPending; }
    void showWholeReport();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape closes the window, as it closes any dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layOut(QSize inner);
    void previewPrint();
    void copyText();
    void saveAs();

    Dialogs& m_dialogs;
    QString m_documentsFolder;
    Report m_report;
    QByteArray m_shownDocument;
    QTabWidget* m_panel = nullptr;
    QTextBrowser* m_view = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_copyButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    bool m_wholeReportPending = false;
};

// The report command: scores the project, builds the report and opens its
// window, centred on the main window, which takes no input until the report
// closes. Returns the open window; it deletes itself when closed.
ReportWindow* openReportWindow(const WindowContext& context);

} // namespace ponderix
