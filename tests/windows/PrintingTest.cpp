#include "evaluation/ResultPages.h"
#include "export/PrintFit.h"
#include "tests/TestSupport.h"
#include "tests/evaluation/PageTestSupport.h"
#include "tests/windows/WindowFixture.h"
#include "windows/PagePrinting.h"
#include "windows/ResultWindows.h"

#include <QImageReader>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <memory>
#include <vector>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

// ---- print jobs --------------------------------------------------------------

namespace {

// Each compressed stream of a PDF file, inflated.
std::vector<QByteArray> inflatedStreams(const QByteArray& pdf)
{
    std::vector<QByteArray> streams;
    qsizetype at = 0;
    while ((at = pdf.indexOf("stream\n", at)) >= 0) {
        const qsizetype start = at + 7;
        const qsizetype end = pdf.indexOf("endstream", start);
        const qsizetype dictionary = pdf.lastIndexOf("obj", at);
        const bool deflated = pdf.mid(dictionary, at - dictionary).contains("/FlateDecode");
        if (end < 0)
            break;
        at = end + 9;
        if (!deflated)
            continue;
        // qUncompress wants the expected size in front; it grows as needed.
        QByteArray framed(4, '\0');
        qToBigEndian<quint32>(1u << 16, framed.data());
        framed += pdf.mid(start, end - start);
        streams.push_back(qUncompress(framed));
    }
    return streams;
}

qsizetype pageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(uR"(/Type\s*/Page(?!s))"_s);
    qsizetype count = 0;
    auto matches = page.globalMatch(QString::fromLatin1(pdf));
    while (matches.hasNext()) {
        matches.next();
        ++count;
    }
    return count;
}

// The pixel size of each image the PDF holds, as its dictionary states it.
std::vector<QSize> embeddedImageSizes(const QByteArray& pdf)
{
    static const QRegularExpression image(uR"(<<([^<>]*/Subtype\s*/Image[^<>]*)>>)"_s);
    static const QRegularExpression width(uR"(/Width\s+(\d+))"_s);
    static const QRegularExpression height(uR"(/Height\s+(\d+))"_s);
    std::vector<QSize> sizes;
    auto matches = image.globalMatch(QString::fromLatin1(pdf));
    while (matches.hasNext()) {
        const QString dictionary = matches.next().captured(1);
        sizes.emplace_back(width.match(dictionary).captured(1).toInt(), height.match(dictionary).captured(1).toInt());
    }
    return sizes;
}

// Whether the page's text went to the printer as text (glyphs of an embedded
// font shown with Tj or TJ), not as pixels.
bool printsText(const QByteArray& pdf)
{
    static const QRegularExpression shown(uR"(\]\s*TJ|\)\s*Tj|>\s*Tj)"_s);
    for (const QByteArray& stream : inflatedStreams(pdf)) {
        if (shown.match(QString::fromLatin1(stream)).hasMatch())
            return true;
    }
    return false;
}

// The printer the scripted dialogs hand out, at `dotsPerInch` (0: Qt's own).
std::unique_ptr<QPrinter> scriptedPrinter(int dotsPerInch)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    if (dotsPerInch > 0)
        printer->setResolution(dotsPerInch);
    return printer;
}

// Where a page of `page` pixels lands on the sheet seen at `paperDotsPerInch`:
// the printable area's top-left corner, at the size the fit gives on the
// printer.
QRectF pageOnSheet(QSize page, int printerDotsPerInch, int paperDotsPerInch)
{
    const std::unique_ptr<QPrinter> printer = scriptedPrinter(printerDotsPerInch);
    const QSize fitted = fittedPrinterPixels(page, {printer->widthMM(), printer->heightMM(), printer->width()});
    const qreal toPaper = static_cast<qreal>(paperDotsPerInch) / printer->resolution();
    return {QPointF(printer->pageLayout().paintRectPixels(paperDotsPerInch).topLeft()), QSizeF(fitted) * toPaper};
}

// The printed sheet as Ghostscript sees it at `dotsPerInch`; null without
// Ghostscript.
QImage sheetOf(const QString& pdfPath, int dotsPerInch)
{
    const QString ghostscript = QStandardPaths::findExecutable(u"gs"_s);
    if (ghostscript.isEmpty())
        return {};
    const QString raster = pdfPath + u".png"_s;
    QProcess gs;
    gs.start(ghostscript,
             {u"-q"_s, u"-dSAFER"_s, u"-dBATCH"_s, u"-dNOPAUSE"_s, u"-sDEVICE=png16m"_s, u"-dTextAlphaBits=4"_s,
              u"-dGraphicsAlphaBits=4"_s, u"-r%1"_s.arg(dotsPerInch), u"-sOutputFile="_s + raster, pdfPath});
    EXPECT_TRUE(gs.waitForFinished(120000));
    EXPECT_EQ(gs.exitCode(), 0) << gs.readAllStandardError().toStdString();
    // A sheet at 600 dpi is about 140 MB as a picture: more than Qt's
    // readers take by default.
    const int allocationLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    const QImage sheet = QImage(raster).convertToFormat(QImage::Format_RGB32);
    QImageReader::setAllocationLimit(allocationLimit);
    return sheet;
}

// The printed page, looked at from as far as its 1x pixels, against the 1x
// page; and nothing printed around it.
void expectSheetShowsPage(const QString& pdfPath, const QImage& page, int printerDotsPerInch)
{
    constexpr int kPaperDotsPerInch = 150;
    const QImage sheet = sheetOf(pdfPath, kPaperDotsPerInch);
    if (sheet.isNull())
        GTEST_SKIP() << "no Ghostscript to look at the printed page";
    const QRect place = pageOnSheet(page.size(), printerDotsPerInch, kPaperDotsPerInch).toRect();
    const QImage seen = sheet.copy(place).scaled(page.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    long long total = 0;
    long long far = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const int distance = channelDistance(seen.pixel(x, y), page.pixel(x, y));
            total += distance;
            far += distance > 96 ? 1 : 0;
        }
    }
    const double pixels = static_cast<double>(page.width()) * page.height();
    ::testing::Test::RecordProperty("mean", std::to_string(static_cast<double>(total) / pixels));
    ::testing::Test::RecordProperty("far", std::to_string(static_cast<double>(far) / pixels));
    // Resampled twice, text and thin lines blur: the right page measures
    // below 1.5 and 0.1 %; shifted by two of its pixels, 4 and 1.5 %.
    EXPECT_LT(static_cast<double>(total) / pixels, 2.5) << pdfPath.toStdString();
    EXPECT_LT(static_cast<double>(far) / pixels, 0.005) << pdfPath.toStdString();
    // The page's own white ends where the page ends: nothing printed past it.
    const QRect right(place.right() + 3, 0, sheet.width() - place.right() - 3, sheet.height());
    const QRect below(0, place.bottom() + 3, sheet.width(), sheet.height() - place.bottom() - 3);
    EXPECT_TRUE(allWhite(sheet, right)) << pdfPath.toStdString();
    EXPECT_TRUE(allWhite(sheet, below)) << pdfPath.toStdString();
}

// With the chart component, so the pages carry their charts.
class PrintingTest : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_NE(m_loadedCharts.library(), nullptr) << m_loadedCharts.error().toStdString();
        m_charts = m_loadedCharts.library();
        m_folders.temporary = m_loadedCharts.folder();
    }

    LoadedCharts m_loadedCharts;
};

} // namespace

TEST_F(PrintingTest, TheResultsWindowPrintsThePageOnViewOnOnePage)
{
    ChartWindow* window = openResultsWindow(context());
    const QString overviewPdf = file(u"overview.pdf"_s);
    const QString detailPdf = file(u"detail.pdf"_s);
    m_dialogs.printerFiles = {QString(), overviewPdf, detailPdf};

    // Cancelled: nothing printed, nothing said.
    QTest::mouseClick(window->button(ChartWindow::Button::Print), Qt::LeftButton);
    EXPECT_TRUE(QDir(m_sandbox.path()).entryList({u"*.pdf"_s}).isEmpty());
    EXPECT_TRUE(m_dialogs.messages.isEmpty());

    QTest::mouseClick(window->button(ChartWindow::Button::Print), Qt::LeftButton);
    const QImage overview = window->currentPage();
    QTabBar* bar = window->selector()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    QTest::mouseClick(window->button(ChartWindow::Button::Print), Qt::LeftButton);
    const QImage detail = window->currentPage();
    EXPECT_EQ(m_dialogs.printJobs, (QStringList{u"Ponderix"_s, u"Ponderix"_s, u"Ponderix"_s}));
    window->close();

    ASSERT_EQ(detail.size(), QSize(700, detailPageHeight(3)));
    for (const QString& pdf : {overviewPdf, detailPdf})
        EXPECT_EQ(pageCount(readBytes(pdf)), 1) << pdf.toStdString();
    expectSheetShowsPage(overviewPdf, overview, 0);
    expectSheetShowsPage(detailPdf, detail, 0);
}

// ---- sharp on paper ----------------------------------------------------------

namespace {

// Along the rows of `area`, the mean length of a run of pixels that are
// neither `ink` nor `ground`: how many pixels an edge between them takes.
double meanEdgeWidth(const QImage& image, QRect area, QRgb ink, QRgb ground)
{
    int runs = 0;
    int mixed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        bool inRun = false;
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool between = channelDistance(pixel, ink) > 32 && channelDistance(pixel, ground) > 32;
            if (between) {
                ++mixed;
                runs += inRun ? 0 : 1;
            }
            inRun = between;
        }
    }
    return runs == 0 ? 0.0 : static_cast<double>(mixed) / runs;
}

// `area` of a page of `pixels` (in its 1x pixels) where the page lies on the
// sheet.
QRect onSheet(QRectF page, QSize pixels, QRect area)
{
    const qreal sx = page.width() / pixels.width();
    const qreal sy = page.height() / pixels.height();
    return QRectF(page.left() + area.left() * sx, page.top() + area.top() * sy, area.width() * sx, area.height() * sy)
        .toRect();
}

} // namespace

TEST_F(PrintingTest, APrintedPageIsDrawnAtThePrintersResolution)
{
    constexpr int kDotsPerInch = 600;
    ChartWindow* window = openResultsWindow(context());
    const QString pdfPath = file(u"sharp.pdf"_s);
    m_dialogs.printerFiles = {pdfPath};
    m_dialogs.printerResolution = kDotsPerInch;
    QTest::mouseClick(window->button(ChartWindow::Button::Print), Qt::LeftButton);
    window->close();

    // The text goes to the printer as text, and the chart as a picture with
    // a pixel for every printer pixel, not 680 stretched.
    const QByteArray pdf = readBytes(pdfPath);
    EXPECT_TRUE(printsText(pdf));
    const QRectF page = pageOnSheet({700, 530}, kDotsPerInch, kDotsPerInch);
    const QSizeF scale(page.width() / 700.0, page.height() / 530.0);
    ASSERT_GT(scale.width(), 6.0);
    // The fit rounds the height to whole millimetres, so the page is a
    // little taller or shorter than its proportions: within a few pixels.
    const std::vector<QSize> images = embeddedImageSizes(pdf);
    const bool chartAtPrinterPixels = std::ranges::any_of(images, [scale](QSize size) {
        return std::abs(size.width() - 680 * scale.width()) <= 6 && std::abs(size.height() - 340 * scale.height()) <= 6;
    });
    EXPECT_TRUE(chartAtPrinterPixels);

    const QImage paper = sheetOf(pdfPath, kDotsPerInch);
    if (paper.isNull())
        GTEST_SKIP() << "no Ghostscript to look at the printed page";
    const QRgb header = qRgb(98, 116, 205);
    const QRgb white = qRgb(255, 255, 255);
    // The title bar, 690 x 30 from (5, 10), has edges that are steps...
    const QRect titleBar = onSheet(page, {700, 530}, QRect(5, 10, 690, 30));
    const int middle = titleBar.center().y();
    EXPECT_EQ(paper.pixel(titleBar.left() - 2, middle), white);
    EXPECT_EQ(paper.pixel(titleBar.left() + 1, middle), header);
    EXPECT_EQ(paper.pixel(titleBar.right() - 1, middle), header);
    EXPECT_EQ(paper.pixel(titleBar.right() + 2, middle), white);
    // ... and so are the title's letters: a printer pixel or two, where the
    // 1x page stretched about 6.8 times made every edge a band of six or
    // seven.
    const QRect title = titleBar.adjusted(2, 2, -titleBar.width() / 2, -2);
    const double titleEdge = meanEdgeWidth(paper, title, white, header);
    EXPECT_GT(titleEdge, 0.0);
    EXPECT_LT(titleEdge, 2.0);
    // The chart's labels, down its value axis, too.
    const QRect labels = onSheet(page, {700, 530}, QRect(15 + 4, 190 + 36, 24, 300));
    const double labelEdge = meanEdgeWidth(paper, labels, qRgb(0x33, 0x33, 0x33), white);
    EXPECT_GT(labelEdge, 0.0);
    EXPECT_LT(labelEdge, 2.5);
}

TEST_F(PrintingTest, AFinePrinterGetsItsOwnResolutionForTextAndCappedPictures)
{
    // 70 criteria make the tallest detail page, 700 x 1000. At 1200 dpi its
    // text and lines, the chart's too, still go to the printer as outlines;
    // only the chart's background is a picture, drawn at the largest ratio a
    // page picture takes.
    m_project = scoredProject(3, std::vector<int>(70, 3), [](int option, int) { return 4 + option; });
    ChartWindow* window = openResultsWindow(context());
    const QString pdfPath = file(u"tall.pdf"_s);
    m_dialogs.printerFiles = {pdfPath};
    m_dialogs.printerResolution = 1200;
    QTabBar* bar = window->selector()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    const QImage detail = window->currentPage();
    ASSERT_EQ(detail.size(), QSize(700, 1000));
    QTest::mouseClick(window->button(ChartWindow::Button::Print), Qt::LeftButton);
    window->close();

    const QByteArray pdf = readBytes(pdfPath);
    EXPECT_EQ(pageCount(pdf), 1);
    EXPECT_TRUE(printsText(pdf));
    // The background of the whole 340-pixel chart; the page's clip leaves
    // off its first row and column.
    const int largest = static_cast<int>(340 * kLargestPageScale);
    const std::vector<QSize> images = embeddedImageSizes(pdf);
    ASSERT_FALSE(images.empty());
    for (const QSize size : images)
        EXPECT_LE(size.width(), largest) << size.width() << " x " << size.height();
    EXPECT_TRUE(std::ranges::any_of(images, [largest](QSize size) { return size == QSize(largest, largest); }));
    expectSheetShowsPage(pdfPath, detail, 1200);
}

TEST_F(PrintingTest, WithoutAPainterThePageImageIsStretched)
{
    const QString pdfPath = file(u"stretched.pdf"_s);
    m_dialogs.printerFiles = {pdfPath};
    const Project project = scoredProject(2, {3, 3}, [](int option, int) { return 3 + option; });
    const QImage page = buildProfilePage(project, u"Plain"_s);
    printPageImage(page, {}, m_dialogs, u"Ponderix"_s);
    const QByteArray pdf = readBytes(pdfPath);
    EXPECT_EQ(pageCount(pdf), 1);
    EXPECT_FALSE(printsText(pdf));
    EXPECT_EQ(embeddedImageSizes(pdf), (std::vector<QSize>{page.size()}));
    expectSheetShowsPage(pdfPath, page, 0);
}
