#include "windows/ReportWindow.h"

#include "evaluation/Scoring.h"
#include "tests/TestSupport.h"
#include "tests/windows/WindowFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextTable>
#include <QWindow>
#include <QtEndian>

#include <optional>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class ReportWindowTest : public WindowFixture {
protected:
    void TearDown() override
    {
        if (m_window)
            m_window->close();
        waitUntil([this] { return m_window.isNull(); });
    }

    ReportWindow* open(int desktopHeight = 1080)
    {
        m_window = openReportWindow(context(desktopHeight));
        return m_window;
    }

    // The report as the window must have built it: from the scored project.
    Report expectedReport()
    {
        Project scored = m_project;
        ComputeScores(scored);
        return buildReport(scored);
    }

    // Saves through the save button, answering the dialog with `name` in the
    // sandbox and the format at `pattern`.
    void save(const QString& name, int pattern)
    {
        m_dialogs.files.push_back({file(name), pattern});
        m_window->saveButton()->click();
    }

    QPointer<ReportWindow> m_window;
};

// How the text of a table cell sits in it.
struct CellLook {
    Qt::Alignment horizontal;
    QTextCharFormat::VerticalAlignment vertical;
};

// The look of the first cell whose text starts with `start`.
std::optional<CellLook> cellLook(const QTextDocument& document, const QString& start)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextCursor cursor(block);
        const QTextTable* table = cursor.currentTable();
        if (!table || !block.text().startsWith(start))
            continue;
        return CellLook{block.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                        table->cellAt(cursor).format().verticalAlignment()};
    }
    return std::nullopt;
}

// The right-most edge, in the PDF's device pixels, of the rectangles its
// pages fill (every cell of a report table is one), and the width of the
// printable area.
struct FilledWidth {
    double rightEdge = 0;
    double printableWidth = 0;
};

FilledWidth filledWidth(const QByteArray& pdf)
{
    static const QRegularExpression clip(uR"(0 0 m\n([\d.]+) 0 l\n)"_s);
    static const QRegularExpression fill(
        uR"((-?[\d.]+) 0 0 -?[\d.]+ (-?[\d.]+) -?[\d.]+ cm\n(-?[\d.]+) -?[\d.]+ ([\d.]+) [\d.]+ re)"_s);
    FilledWidth width;
    qsizetype at = 0;
    while ((at = pdf.indexOf("stream\n", at)) >= 0) {
        const qsizetype start = at + 7;
        const qsizetype end = pdf.indexOf("endstream", start);
        if (end < 0)
            break;
        at = end;
        // qUncompress wants the expected size in front; it grows as needed.
        QByteArray framed(4, '\0');
        qToBigEndian<quint32>(1u << 16, framed.data());
        framed += pdf.mid(start, end - start);
        const QString page = QString::fromLatin1(qUncompress(framed));
        if (const QRegularExpressionMatch m = clip.match(page); m.hasMatch())
            width.printableWidth = std::max(width.printableWidth, m.captured(1).toDouble());
        auto matches = fill.globalMatch(page);
        while (matches.hasNext()) {
            const QRegularExpressionMatch m = matches.next();
            const double scale = m.captured(1).toDouble();
            const double right = m.captured(3).toDouble() + m.captured(4).toDouble();
            width.rightEdge = std::max(width.rightEdge, m.captured(2).toDouble() + scale * right);
        }
    }
    return width;
}

} // namespace

TEST_F(ReportWindowTest, OpensAsAModalWindowOfTheDesktopsSize)
{
    for (const auto& [desktopHeight, size] : {std::pair{600, QSize(760, 540)}, std::pair{601, QSize(760, 630)}}) {
        SCOPED_TRACE(desktopHeight);
        ReportWindow* window = open(desktopHeight);
        EXPECT_EQ(window->size(), size);
        EXPECT_EQ(window->windowTitle(), u"Report - Ponderix"_s);
        EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(window->frameGeometry().center(), m_mainWindow.frameGeometry().center());
        EXPECT_EQ(window->panel()->count(), 1);
        EXPECT_EQ(window->panel()->tabText(0), text(TextKey::TXT00277));
        EXPECT_EQ(window->view()->contextMenuPolicy(), Qt::NoContextMenu);
        EXPECT_EQ(window->printButton()->text(), text(TextKey::TXT00309));
        EXPECT_EQ(window->copyButton()->text(), text(TextKey::TXT00308));
        EXPECT_EQ(window->saveButton()->text(), text(TextKey::TXT00339));
        EXPECT_EQ(window->closeButton()->text(), text(TextKey::TXT00307));
        EXPECT_FALSE(m_mainWindow.isEnabled());
        EXPECT_TRUE(window->isEnabled()); // blocking the main window must not block the report
        window->close();
        ASSERT_TRUE(waitUntil([this] { return m_window.isNull(); }));
    }
}

TEST_F(ReportWindowTest, EveryWayOfClosingEnablesTheMainWindow)
{
    open()->closeButton()->click();
    EXPECT_TRUE(m_mainWindow.isEnabled());
    EXPECT_TRUE(waitUntil([this] { return m_window.isNull(); })) << "the window must delete itself";

    // The close box arrives from the window system, not through close().
    open()->windowHandle()->close();
    EXPECT_TRUE(m_mainWindow.isEnabled());
    EXPECT_TRUE(waitUntil([this] { return m_window.isNull(); }));
}

TEST_F(ReportWindowTest, EscapeClosesTheWindowFromTheReportAndTheButtons)
{
    for (const bool onButton : {false, true}) {
        SCOPED_TRACE(onButton ? "button" : "report");
        ReportWindow* window = open();
        QWidget* focused = onButton ? static_cast<QWidget*>(window->copyButton()) : window->view();
        focused->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focused, Qt::Key_Escape);
        EXPECT_TRUE(m_mainWindow.isEnabled());
        EXPECT_TRUE(waitUntil([this] { return m_window.isNull(); }));
        EXPECT_TRUE(m_dialogs.messages.isEmpty()) << "Escape pressed the copy button";
    }
}

TEST_F(ReportWindowTest, ScreenReadersMeetADialogByItsTitle)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(open());
    EXPECT_EQ(face->role(), QAccessible::Dialog);
    EXPECT_EQ(face->text(QAccessible::Name), text(TextKey::TXT00269) + u" - "_s + text(TextKey::Program_Name));
}

TEST_F(ReportWindowTest, ResizingKeepsButtonsAtTheBottomAndCloseAtTheRight)
{
    ReportWindow* window = open();
    for (const QSize size : {QSize(760, 630), QSize(1200, 900), QSize(500, 300)}) {
        SCOPED_TRACE(size.width());
        window->resize(size);
        const int w = size.width();
        const int h = size.height();
        EXPECT_EQ(window->panel()->geometry(), QRect(10, 10, w - 20, h - 50));
        EXPECT_EQ(window->view()->geometry(), QRect(0, 0, w - 28, h - 78));
        EXPECT_EQ(window->printButton()->geometry(), QRect(10, h - 35, 90, 25));
        EXPECT_EQ(window->copyButton()->geometry(), QRect(110, h - 35, 90, 25));
        EXPECT_EQ(window->saveButton()->geometry(), QRect(210, h - 35, 90, 25));
        EXPECT_EQ(window->closeButton()->geometry(), QRect(w - 132, h - 35, 120, 25));
    }
}

TEST_F(ReportWindowTest, ShowsTheScoredProjectWithCellsAlignedAsInABrowser)
{
    m_project.setOptionName(1, u"R&D <new> Büro"_s);
    for (int option = 0; option < m_project.optionCount(); ++option)
        m_project.setScore(option, 99); // stale: the report must score afresh
    const QTextDocument& document = *open()->view()->document();

    EXPECT_TRUE(document.toPlainText().contains(u"R&D <new> Büro"_s)) << "names show as typed";
    EXPECT_TRUE(document.toPlainText().contains(scoreText(scoreOf(m_project, 0))));

    const std::pair<QString, CellLook> cells[] = {
        {u"Option A"_s, {Qt::AlignHCenter, QTextCharFormat::AlignMiddle}}, // header row
        {u"Car SUV T7"_s, {Qt::AlignHCenter, QTextCharFormat::AlignTop}},  // name row
        {u"Rating +4"_s, {Qt::AlignHCenter, QTextCharFormat::AlignTop}},   // a rating
        {u"Name"_s, {Qt::AlignLeft, QTextCharFormat::AlignTop}},           // the label column stays left
        {u"1. Price"_s, {Qt::AlignLeft, QTextCharFormat::AlignTop}},
    };
    for (const auto& [start, expected] : cells) {
        SCOPED_TRACE(start.toStdString());
        const std::optional<CellLook> look = cellLook(document, start);
        ASSERT_TRUE(look);
        EXPECT_EQ(look->horizontal, expected.horizontal);
        EXPECT_EQ(look->vertical, expected.vertical);
    }
}

TEST_F(ReportWindowTest, CopyPutsTheTextTwinOnTheClipboardAndSaysSo)
{
    open()->copyButton()->click();
    EXPECT_EQ(QApplication::clipboard()->text(), expectedReport().text);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00013));
    EXPECT_EQ(m_dialogs.lastText(), text(TextKey::TXT00105) + u"\r\n"_s + text(TextKey::TXT00106));
    EXPECT_EQ(m_dialogs.messages.last().icon, Dialogs::Icon::Information);
}

TEST_F(ReportWindowTest, PrintPreviewShowsTheReport)
{
    open()->printButton()->click();
    ASSERT_EQ(m_dialogs.previewedDocuments.size(), 1);
    EXPECT_TRUE(m_dialogs.previewedDocuments.first().contains(u"Car SUV D14"_s));
}

TEST_F(ReportWindowTest, SavesTheBytesAsBuiltOrAPdfOrAnOpenDocument)
{
    open();
    save(u"report"_s, 0);
    ASSERT_EQ(m_dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(m_dialogs.fileDialogs.first().title, text(TextKey::TXT00339));
    EXPECT_EQ(m_dialogs.fileDialogs.first().text, m_folders.documents + u"Report - Ponderix.html"_s);
    EXPECT_EQ(m_dialogs.fileDialogPatterns.first().count(u'|'), 5) << "three formats";
    EXPECT_TRUE(sameBytes(readBytes(file(u"report.html"_s)), expectedReport().document));

    save(u"kept.HTM"_s, 0);
    EXPECT_TRUE(QFileInfo::exists(file(u"kept.HTM"_s)));
    save(u"report.html"_s, 1); // the format decides the extension
    EXPECT_TRUE(readBytes(file(u"report.html.pdf"_s)).startsWith("%PDF-"));
    save(u"report"_s, 2);
    EXPECT_TRUE(readBytes(file(u"report.odt"_s)).startsWith("PK")); // a zip package
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

TEST_F(ReportWindowTest, APdfPrintsTheTextAtTheSizeTheScreenShows)
{
    // Forty criteria make a table of some 1,600 screen pixels: two A4 pages
    // or more at the size the view shows. Taken as the PDF's own pixels,
    // the same table would fit a corner of the first page in print too
    // small to read.
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(m_project.addCriterion(u"Extra %1"_s.arg(i)), AddRefusal::None);
    open();
    save(u"long"_s, 1);
    const QString pdf = QString::fromLatin1(readBytes(file(u"long.pdf"_s)));
    ASSERT_TRUE(pdf.startsWith(u"%PDF-"_s));
    static const QRegularExpression page(uR"(/Type\s*/Page(?!s))"_s);
    EXPECT_GE(pdf.count(page), 2);
}

TEST_F(ReportWindowTest, APdfOfAReportWiderThanThePaperKeepsEveryColumn)
{
    // Twenty-six options make a table of 4,050 pixels, wider than any page.
    while (m_project.optionCount() < 26)
        ASSERT_EQ(m_project.addOption(u"More"_s), AddRefusal::None);
    open();
    save(u"wide"_s, 1);
    const FilledWidth width = filledWidth(readBytes(file(u"wide.pdf"_s)));
    ASSERT_GT(width.printableWidth, 0);
    ASSERT_GT(width.rightEdge, 0);
    EXPECT_LE(width.rightEdge, width.printableWidth + 1) << "the last columns fall off the page";
}

TEST_F(ReportWindowTest, SavingOverAFileAsksAndAFailedWriteIsReported)
{
    open();
    ASSERT_TRUE(writeBytes(file(u"old.html"_s), "old"));
    m_dialogs.answers.push_back(Dialogs::Answer::No);
    save(u"old.html"_s, 0);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00090));
    EXPECT_EQ(m_dialogs.messages.last().defaultAnswer, Dialogs::Answer::No);
    EXPECT_EQ(readBytes(file(u"old.html"_s)), "old");

    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    save(u"old.html"_s, 0);
    EXPECT_EQ(readBytes(file(u"old.html"_s)), expectedReport().document);

    // A file where a folder should be: nothing can be created below it.
    m_dialogs.messages.clear();
    save(u"old.html/report.pdf"_s, 1);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00001));
    EXPECT_TRUE(m_dialogs.lastText().startsWith(file(u"old.html/report.pdf"_s) + u"\r\n\r\n"_s));
    EXPECT_GT(m_dialogs.lastText().size(), file(u"old.html/report.pdf"_s).size() + 4) << "the reason is given";
}

TEST_F(ReportWindowTest, ALongReportAppearsWithItsFirstScreenThenShowsTheWhole)
{
    // Forty-four table rows: more than a window shows at first.
    while (m_project.criterionCount() < 40)
        ASSERT_EQ(m_project.addCriterion(u"Extra"_s), AddRefusal::None);
    ReportWindow* window = open();
    ASSERT_FALSE(window->showsWholeReport());
    const QString first = window->view()->document()->toPlainText();
    EXPECT_TRUE(first.contains(u"\n36. "_s));
    EXPECT_FALSE(first.contains(u"\n37. "_s));
    const QImage firstScreen = window->view()->viewport()->grab().toImage();

    // Once painted, the whole report follows, and the screen stays as it was.
    ASSERT_TRUE(waitUntil([window] { return window->showsWholeReport(); }));
    QTextDocument whole;
    whole.setHtml(QString::fromUtf8(expectedReport().document));
    EXPECT_EQ(window->view()->document()->toPlainText(), whole.toPlainText());
    EXPECT_TRUE(window->view()->document()->toPlainText().contains(u"\n40. "_s));
    EXPECT_EQ(window->view()->viewport()->grab().toImage(), firstScreen);
}

TEST_F(ReportWindowTest, PrintingOrSavingBeforeTheWholeReportIsShownTakesTheWhole)
{
    while (m_project.criterionCount() < 40)
        ASSERT_EQ(m_project.addCriterion(u"Extra"_s), AddRefusal::None);
    open()->printButton()->click();
    ASSERT_EQ(m_dialogs.previewedDocuments.size(), 1);
    EXPECT_TRUE(m_dialogs.previewedDocuments.first().contains(u"\n40. "_s));
    m_window->close();
    ASSERT_TRUE(waitUntil([this] { return m_window.isNull(); }));

    open();
    save(u"long"_s, 2);
    ASSERT_TRUE(readBytes(file(u"long.odt"_s)).startsWith("PK"));
    EXPECT_TRUE(m_window->showsWholeReport());
}
