#include "windows/ReportWindow.h"

#include "base/AtomicFile.h"
#include "base/SystemReason.h"
#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "platform/Dialogs.h"
#include "platform/DocumentPrinting.h"
#include "platform/Folders.h"
#include "platform/WaitCursor.h"
#include "project/DisplayTexts.h"
#include "project/Project.h"
#include "windows/ModalWindow.h"
#include "windows/WindowContext.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPageSize>
#include <QPdfWriter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocumentWriter>

#include <algorithm>
#include <array>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Window geometry, in pixels of the window's inner area (W x H).
constexpr int kPanelPosition = 10;    // panel's x and y
constexpr int kPanelWidthInset = 20;  // panel width = W - this
constexpr int kPanelHeightInset = 50; // panel height = H - this
constexpr int kViewWidthInset = 8;    // view width = panel width - this
constexpr int kViewHeightInset = 28;  // view height = panel height - this
constexpr int kButtonRise = 35;       // every button's top = H - this
constexpr int kPrintButtonX = 10;
constexpr int kCopyButtonX = 110;
constexpr int kSaveButtonX = 210;
constexpr int kCloseButtonFromRight = 132; // close button's x = W - this
constexpr QSize kButtonSize(90, 25);
constexpr QSize kCloseButtonSize(120, 25);

// A browser lets a table row's alignment reach its cells; Qt's rich text
// keeps it on the row, so without these rules every cell would sit left.
// The header line is also set apart: where a browser shares the room of a
// 150 % line above and below the text, Qt puts all of it underneath, which
// leaves the captions hanging at the top of the blue band. A normal line
// with that room as padding centres them as a browser does. The report's
// own rules still win wherever they speak about a cell itself: the row
// labels stay left.
const auto kViewStyleSheet = u"tr.tableheader td { text-align: center; vertical-align: middle; line-height: 100%;"
                             u" padding-top: 5px; padding-bottom: 4px; }\n"
                             u"tr.tablerow td { text-align: center; vertical-align: top; }\n"_s;

// Rows of a long report shown before the rest (the header row counts): more
// than the tallest view holds at its lowest rows (two lines each), so that
// the first screen, with both scroll bars showing, is already the final one.
constexpr int kFirstScreenRows = 40;

// Browsers honour the body's marginwidth and marginheight of 0 over its
// topmargin and leftmargin: the table starts at the view's edge.
constexpr qreal kDocumentMargin = 0;

// The report as the view shows it, owned by the view.
QTextDocument* newReportDocument(const QString& html, QObject* view)
{
    auto* document = new QTextDocument(view);
    document->setDefaultStyleSheet(kViewStyleSheet);
    document->setDocumentMargin(kDocumentMargin);
    document->setHtml(html);
    return document;
}

enum class SaveFormat { Html, Pdf, Odf };

// The kinds of file the report view saves, as a browser names them.
struct SaveOption {
    SaveFormat format;
    TextKey description;
    std::array<QStringView, 2> extensions; // the first is appended when none fits
};

constexpr std::array kSaveOptions{
    SaveOption{SaveFormat::Html, TextKey::TXT00877, {u"html", u"htm"}},
    SaveOption{SaveFormat::Pdf, TextKey::TXT00904, {u"pdf", u""}},
    SaveOption{SaveFormat::Odf, TextKey::TXT00878, {u"odt", u""}},
};

QString savePatterns()
{
    QStringList parts;
    for (const SaveOption& option : kSaveOptions) {
        QStringList globs;
        for (QStringView extension : option.extensions) {
            if (!extension.isEmpty())
                globs << u"*."_s + extension;
        }
        parts << uiText(option.description) + u" ("_s + globs.join(u' ') + u')' << globs.join(u';');
    }
    return parts.join(u'|');
}

// The name as chosen, or with the format's extension added when its own
// extension is not one of the format's, compared in lower case.
QString withExtensionFor(const QString& chosenPath, const SaveOption& option)
{
    const QString suffix = QFileInfo(chosenPath).suffix().toLower();
    for (QStringView extension : option.extensions) {
        if (!extension.isEmpty() && suffix == extension)
            return chosenPath;
    }
    return chosenPath + u'.' + option.extensions.front();
}

constexpr qreal kPrintMarginMillimetres = 20.0;

// Printing lays the document out on the page with margins of 2 cm at the
// screen's 96 pixels per inch; a table wider than a portrait page would
// lose its right-hand columns, so such a report goes on a landscape page.
QPageLayout::Orientation orientationFor(const QTextDocument& document, const QPageSize& pageSize)
{
    constexpr qreal kPixelsPerMillimetre = 96.0 / 25.4;
    constexpr qreal kPrintMarginsMillimetres = 2 * kPrintMarginMillimetres;
    const qreal portraitWidth =
        (pageSize.size(QPageSize::Millimeter).width() - kPrintMarginsMillimetres) * kPixelsPerMillimetre;
    return document.idealWidth() > portraitWidth ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// PDF and OpenDocument are rendered in memory first: both writers close the
// device they are given when done, which a file that is only committed as a
// whole must not see, and the file then appears complete or not at all.
WriteResult writeReport(const QString& path, SaveFormat format, const Report& report, const QTextDocument& document,
                        const QString& title)
{
    if (format == SaveFormat::Html) {
        // The bytes as built, so the file opens in any browser as the report.
        return writeFileAtomically(path, report.document);
    }
    QBuffer rendered;
    rendered.open(QIODevice::WriteOnly);
    if (format == SaveFormat::Pdf) {
        QPdfWriter writer(&rendered);
        const QPageSize pageSize(QPageSize::A4);
        writer.setPageSize(pageSize);
        writer.setPageOrientation(orientationFor(document, pageSize));
        writer.setPageMargins(QMarginsF(kPrintMarginMillimetres, kPrintMarginMillimetres, kPrintMarginMillimetres,
                                        kPrintMarginMillimetres),
                              QPageLayout::Millimeter);
        writer.setTitle(title);
        printDocument(document, writer);
    } else {
        QTextDocumentWriter writer(&rendered, "odf");
        if (!writer.write(&document))
            return {false, translatedSystemReason(rendered.errorString())};
    }
    return writeFileAtomically(path, rendered.data());
}

} // namespace

ReportWindow* openReportWindow(const WindowContext& context)
{
    Report report;
    QByteArray shownDocument;
    {
        const WaitCursor wait;
        const Project project = scoredCopy(context.project());
        report = buildReport(project);
        // Saved and copied as built, every character kept; the view lays out
        // the same report with the texts cut, or a name of megabytes would
        // keep it busy for seconds.
        shownDocument =
            hasTextsCutForDisplay(project) ? buildReport(withDisplayTexts(project)).document : report.document;
    }
    auto* window = new ReportWindow(context, std::move(report), std::move(shownDocument));
    showModalOver(*window, context.mainWindow);
    window->view()->setFocus();
    return window;
}

ReportWindow::ReportWindow(const WindowContext& context, Report report, QByteArray shownDocument)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_dialogs(context.dialogs), m_documentsFolder(context.folders.documents), m_report(std::move(report)),
      m_shownDocument(std::move(shownDocument))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Modal to the whole program: the project cannot change under the report,
    // and message boxes asked for from here are owned by this window.
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(uiText(TextKey::TXT00269) + u" - "_s + uiText(TextKey::Program_Name));
    announceAsDialog(*this);

    m_panel = new QTabWidget(this);
    auto* page = new QWidget(m_panel);
    m_panel->addTab(page, uiText(TextKey::TXT00277));
    m_view = new QTextBrowser(page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    // Nothing in the report is a link; a click must never replace it.
    m_view->setOpenLinks(false);

    m_printButton = new QPushButton(uiText(TextKey::TXT00309), this);
    m_copyButton = new QPushButton(uiText(TextKey::TXT00308), this);
    m_saveButton = new QPushButton(uiText(TextKey::TXT00339), this);
    m_closeButton = new QPushButton(uiText(TextKey::TXT00307), this);
    connect(m_printButton, &QPushButton::clicked, this, &ReportWindow::previewPrint);
    connect(m_copyButton, &QPushButton::clicked, this, &ReportWindow::copyText);
    connect(m_saveButton, &QPushButton::clicked, this, &ReportWindow::saveAs);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);

    resize(resultWindowSize(context.desktopHeight));
    layOut(size());

    // Parsing a table and laying it out (three passes over every cell) would
    // keep the window of a report of thousands of ratings from appearing for
    // a good second; its first rows cost a tenth of that and show the same
    // first screen. The whole document replaces them once they are painted.
    const QByteArray firstScreen = reportHead(m_shownDocument, kFirstScreenRows);
    m_wholeReportPending = firstScreen.size() < m_shownDocument.size();
    m_view->setDocument(newReportDocument(QString::fromUtf8(firstScreen), m_view));
    if (m_wholeReportPending)
        m_view->viewport()->installEventFilter(this);
}

bool ReportWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched == m_view->viewport() && m_wholeReportPending) {
        m_view->viewport()->removeEventFilter(this);
        // After the paint has reached the screen, not inside it.
        QMetaObject::invokeMethod(this, &ReportWindow::showWholeReport, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void ReportWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ReportWindow::showWholeReport()
{
    if (!m_wholeReportPending)
        return;
    m_wholeReportPending = false;
    m_view->viewport()->removeEventFilter(this);
    const WaitCursor wait;
    // Wherever the user has scrolled to in the meantime stays in view.
    const int across = m_view->horizontalScrollBar()->value();
    const int down = m_view->verticalScrollBar()->value();
    // Read into a document of its own and handed over whole: put into the
    // view's document instead, the table would be laid out again and again.
    QTextDocument* const firstScreen = m_view->document();
    m_view->setDocument(newReportDocument(QString::fromUtf8(m_shownDocument), m_view));
    delete firstScreen;
    m_view->horizontalScrollBar()->setValue(across);
    m_view->verticalScrollBar()->setValue(down);
}

void ReportWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut(size());
}

void ReportWindow::layOut(QSize inner)
{
    const int width = inner.width();
    const int height = inner.height();
    const QSize panelSize(width - kPanelWidthInset, height - kPanelHeightInset);
    m_panel->setGeometry(QRect(QPoint(kPanelPosition, kPanelPosition), panelSize));
    m_view->setGeometry(0, 0, panelSize.width() - kViewWidthInset, panelSize.height() - kViewHeightInset);
    const int buttonTop = height - kButtonRise;
    m_printButton->setGeometry(QRect(QPoint(kPrintButtonX, buttonTop), kButtonSize));
    m_copyButton->setGeometry(QRect(QPoint(kCopyButtonX, buttonTop), kButtonSize));
    m_saveButton->setGeometry(QRect(QPoint(kSaveButtonX, buttonTop), kButtonSize));
    m_closeButton->setGeometry(QRect(QPoint(width - kCloseButtonFromRight, buttonTop), kCloseButtonSize));
}

void ReportWindow::previewPrint()
{
    showWholeReport();
    m_dialogs.printPreview(*m_view->document());
}

void ReportWindow::copyText()
{
    QGuiApplication::clipboard()->setText(m_report.text);
    // Confirmed either way: the clipboard does not say whether it took the text.
    m_dialogs.message(uiText(TextKey::TXT00013), uiText(TextKey::TXT00105) + u"\r\n"_s + uiText(TextKey::TXT00106),
                      Dialogs::Icon::Information);
}

void ReportWindow::saveAs()
{
    const Dialogs::FileChoice choice =
        m_dialogs.saveFile(uiText(TextKey::TXT00339), m_documentsFolder + windowTitle() + u".html"_s, savePatterns(),
                           0);
    if (choice.path.isEmpty())
        return;
    showWholeReport();
    const SaveOption& option = kSaveOptions.at(
        static_cast<std::size_t>(std::clamp(choice.patternIndex, 0, static_cast<int>(kSaveOptions.size()) - 1)));
    const QString path = withExtensionFor(choice.path, option);
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isDir()) {
        const auto answer = m_dialogs.message(uiText(TextKey::TXT00090), uiText(TextKey::TXT00091), Dialogs::Icon::None,
                                              Dialogs::Buttons::YesNo, Dialogs::Answer::No);
        if (answer != Dialogs::Answer::Yes)
            return;
    }
    WriteResult written;
    {
        const WaitCursor wait;
        written = writeReport(path, option.format, m_report, *m_view->document(), windowTitle());
    }
    if (!written)
        m_dialogs.message(uiText(TextKey::TXT00001), path + u"\r\n\r\n"_s + written.error, Dialogs::Icon::None);
}

} // namespace ponderix
