#include "evaluation/ResultPages.h"
#include "export/PrintFit.h"
#include "tests/TestSupport.h"
#include "tests/evaluation/PageTestSupport.h"
#include "tests/windows/WindowFixture.h"
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

#include <vector>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

// ---- the fit arithmetic ------------------------------------------------------

TEST(PrintFit, RoundsHalvesToTheEvenNeighbour)
{
    const struct {
        float value;
        int rounded;
    } cases[] = {{0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {3.5f, 4}, {-2.5f, -2}, {-3.5f, -4},
                 {2.49f, 2}, {2.51f, 3}, {142.857f, 143}, {-0.2f, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfToEven(c.value), c.rounded) << c.value;
}

TEST(PrintFit, FillsTheWidthOrTheHeightInTheImagesProportions)
{
    const struct {
        const char* name;
        QSize image;
        int widthMm;
        int heightMm;
        QSize fitted;
    } cases[] = {
        // Wider than the page: the full printable width.
        {"landscape image, upright paper", {700, 500}, 200, 287, {200, 143}},
        // 1.4 is not greater than 287 / 200: the full height instead.
        {"landscape image, landscape paper", {700, 500}, 287, 200, {280, 200}},
        {"tall image, upright paper", {500, 1000}, 200, 287, {144, 287}},
        {"equal ratios take the height", {700, 1000}, 70, 100, {70, 100}},
        // Only one side below 300: full size.
        {"299 x 400", {299, 400}, 200, 287, {200, 268}},
        {"300 x 299", {300, 299}, 200, 287, {200, 199}},
        // Both sides below 300: half; both below 100: a quarter.
        {"250 x 250", {250, 250}, 200, 287, {100, 100}},
        {"299 x 299", {299, 299}, 200, 287, {100, 100}},
        {"100 x 99", {100, 99}, 200, 287, {100, 99}},
        {"99 x 99", {99, 99}, 200, 287, {50, 50}},
        // Halves of a millimetre go to the even neighbour.
        {"half of 201", {250, 250}, 201, 287, {100, 100}},
        {"half of 203", {250, 250}, 203, 287, {102, 102}},
        {"quarter of 206", {80, 80}, 206, 300, {52, 52}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fittedMillimetres(c.image, c.widthMm, c.heightMm), c.fitted) << c.name;
}

TEST(PrintFit, PrinterPixelsUseTheHorizontalResolutionBothWays)
{
    // 10 pixels per millimetre.
    EXPECT_EQ(fittedPrinterPixels({700, 500}, {200, 287, 2000}), QSize(2000, 1430));
    // 4724 / 200 = 23.62 per millimetre: 143 mm are 3377.66 pixels.
    EXPECT_EQ(fittedPrinterPixels({700, 500}, {200, 287, 4724}), QSize(4724, 3378));
    // 9.5 per millimetre: 143 mm are 1358.5 pixels, rounded to the even 1358.
    EXPECT_EQ(fittedPrinterPixels({700, 500}, {200, 287, 1900}), QSize(1900, 1358));
}

TEST(PrintFit, NothingFitsAnEmptyImageOrArea)
{
    EXPECT_TRUE(fittedMillimetres({0, 500}, 200, 287).isEmpty());
    EXPECT_TRUE(fittedMillimetres({700, 500}, 0, 287).isEmpty());
    EXPECT_TRUE(fittedMillimetres({700, 500}, 200, 0).isEmpty());
    EXPECT_TRUE(fittedPrinterPixels({700, 500}, {0, 287, 4724}).isEmpty());
    // A quarter of half a millimetre rounds to nothing.
    EXPECT_TRUE(fittedMillimetres({99, 99}, 2, 100).isEmpty());
    EXPECT_TRUE(fittedPrinterPixels({99, 99}, {2, 100, 95}).isEmpty());
}

// ---- print jobs --------------------------------------------------------------

namespace {

struct DrawnImage {
    QSizeF size;   // printer pixels
    QPointF origin; // printer pixels from the printable area's top-left corner
};

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

// The images the pages draw: each is an image-space square scaled into the
// device rectangle by the transformation in front of it.
std::vector<DrawnImage> drawnImages(const QByteArray& pdf)
{
    static const QRegularExpression placement(
        uR"((-?[\d.]+) 0 0 (-?[\d.]+) (-?[\d.]+) (-?[\d.]+) cm\s+(\d+) 0 0 -(\d+) 0 \d+ cm\s*/Im\d+\s+Do)"_s);
    std::vector<DrawnImage> images;
    for (const QByteArray& stream : inflatedStreams(pdf)) {
        auto matches = placement.globalMatch(QString::fromLatin1(stream));
        while (matches.hasNext()) {
            const QRegularExpressionMatch m = matches.next();
            images.push_back({{m.captured(1).toDouble() * m.captured(5).toDouble(),
                               m.captured(2).toDouble() * m.captured(6).toDouble()},
                              {m.captured(3).toDouble(), m.captured(4).toDouble()}});
        }
    }
    return images;
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

// Where the scripted printer puts a page image: the same kind of printer.
QSize expectedPrintSize(QSize image)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    return fittedPrinterPixels(image, {printer.widthMM(), printer.heightMM(), printer.width()});
}

void expectOnePageWithImage(const QString& pdfPath, QSize image)
{
    const QByteArray pdf = readBytes(pdfPath);
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(pageCount(pdf), 1);
    const std::vector<DrawnImage> drawn = drawnImages(pdf);
    ASSERT_EQ(drawn.size(), 1u);
    const QSize expected = expectedPrintSize(image);
    EXPECT_NEAR(drawn[0].size.width(), expected.width(), 1.0);
    EXPECT_NEAR(drawn[0].size.height(), expected.height(), 1.0);
    EXPECT_EQ(drawn[0].origin, QPointF(0, 0));
}

class PrintingTest : public WindowFixture {};

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
    expectOnePageWithImage(overviewPdf, {700, 530});

    QTabBar* bar = window->selector()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    QTest::mouseClick(window->button(ChartWindow::Button::Print), Qt::LeftButton);
    expectOnePageWithImage(detailPdf, {700, detailPageHeight(3)});
    // A taller page on the same width: the two prints really differ.
    EXPECT_NE(expectedPrintSize({700, 530}), expectedPrintSize({700, detailPageHeight(3)}));
    EXPECT_EQ(m_dialogs.printJobs, (QStringList{u"Ponderix"_s, u"Ponderix"_s, u"Ponderix"_s}));
    window->close();
}

// ---- sharp on paper ----------------------------------------------------------

namespace {

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

// The title bar on the paper: the first rows in the header colour, as many
// as its 30 page pixels take. (The verdict further down is in that colour
// too.)
QRect titleBarOnPaper(const QImage& paper, QRgb header, double scale)
{
    QRect found;
    int lastRow = paper.height() - 1;
    for (int y = 0; y <= lastRow; ++y) {
        for (int x = 0; x < paper.width(); ++x) {
            if (channelDistance(paper.pixel(x, y), header) > 8)
                continue;
            if (found.isNull())
                lastRow = std::min(lastRow, y + static_cast<int>(30 * scale) - 2);
            found |= QRect(x, y, 1, 1);
        }
    }
    return found;
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

    // The size on paper is the one the fit gives for the 1x page.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(kDotsPerInch);
    const QSize fitted = fittedPrinterPixels({700, 530}, {printer.widthMM(), printer.heightMM(), printer.width()});
    const QByteArray pdf = readBytes(pdfPath);
    const std::vector<DrawnImage> drawn = drawnImages(pdf);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_NEAR(drawn[0].size.width(), fitted.width(), 1.0);
    EXPECT_NEAR(drawn[0].size.height(), fitted.height(), 1.0);
    EXPECT_EQ(drawn[0].origin, QPointF(0, 0));

    // ... and the picture in it has a pixel for every printer pixel, not 700
    // (the height is rounded to whole millimetres on the way, so the page's
    // own proportions leave it a few pixels off).
    const std::vector<QSize> images = embeddedImageSizes(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_NEAR(images[0].width(), fitted.width(), 1);
    EXPECT_NEAR(images[0].height(), fitted.height(), fitted.height() * 0.005);

    // On the printed page itself a letter's edge is a step of a printer
    // pixel or two; the 1x page stretched about 6.5 times made every edge a
    // band of six or seven.
    const QString ghostscript = QStandardPaths::findExecutable(u"gs"_s);
    if (ghostscript.isEmpty())
        GTEST_SKIP() << "no Ghostscript to look at the printed page";
    const QString raster = file(u"sharp.png"_s);
    QProcess gs;
    gs.start(ghostscript, {u"-q"_s, u"-dSAFER"_s, u"-dBATCH"_s, u"-dNOPAUSE"_s, u"-sDEVICE=png16m"_s,
                           u"-r%1"_s.arg(kDotsPerInch), u"-sOutputFile="_s + raster, pdfPath});
    ASSERT_TRUE(gs.waitForFinished(60000));
    ASSERT_EQ(gs.exitCode(), 0) << gs.readAllStandardError().toStdString();
    // A sheet at 600 dpi is about 140 MB as a picture: more than the chart
    // reader or Qt's readers take by default.
    const int allocationLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    const QImage paper = QImage(raster).convertToFormat(QImage::Format_RGB32);
    QImageReader::setAllocationLimit(allocationLimit);
    ASSERT_FALSE(paper.isNull());
    const QRgb header = qRgb(98, 116, 205);
    const QRect titleBar = titleBarOnPaper(paper, header, fitted.width() / 700.0);
    // 690 of the page's 700 pixels.
    EXPECT_NEAR(titleBar.width(), fitted.width() * 690.0 / 700.0, 3.0);
    // The edges of the bar itself are steps...
    const int middle = titleBar.center().y();
    EXPECT_EQ(paper.pixel(titleBar.left() - 1, middle), qRgb(255, 255, 255));
    EXPECT_EQ(paper.pixel(titleBar.left(), middle), header);
    // ... and so are the title's letters.
    const double edge =
        meanEdgeWidth(paper, titleBar.adjusted(0, 2, -titleBar.width() / 2, -2), qRgb(255, 255, 255), header);
    EXPECT_GT(edge, 0.0);
    EXPECT_LT(edge, 2.0);
}

TEST_F(PrintingTest, AFinePrinterGetsAsManyPixelsAsMemoryAllows)
{
    // 70 criteria make the tallest detail page, 700 x 1000; at 1200 dpi it
    // would want about 6400 x 9100 pixels. Within 32 million pixels, the
    // ratio is sqrt(32e6 / 700e3) = 6.76: 4732 x 6761.
    m_project = scoredProject(3, std::vector<int>(70, 3), [](int option, int) { return 4 + option; });
    ChartWindow* window = openResultsWindow(context());
    const QString pdfPath = file(u"tall.pdf"_s);
    m_dialogs.printerFiles = {pdfPath};
    QTabBar* bar = window->selector()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    ASSERT_EQ(window->currentPage().size(), QSize(700, 1000));
    QTest::mouseClick(window->button(ChartWindow::Button::Print), Qt::LeftButton);
    window->close();

    const QByteArray pdf = readBytes(pdfPath);
    expectOnePageWithImage(pdfPath, {700, 1000});
    const std::vector<QSize> images = embeddedImageSizes(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_NEAR(images[0].width(), 4732, 1);
    EXPECT_NEAR(images[0].height(), 6761, 1);
}
