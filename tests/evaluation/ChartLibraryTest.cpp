// The chart component: loading it safely, failing softly, and what its entry
// points promise.
#include "evaluation/ChartLibrary.h"
#include "base/Language.h"
#include "evaluation/ChartPicture.h"
#include "evaluation/PageStyle.h"

#include "tests/ScoredDemo.h"
#include "tests/TestSupport.h"
#include "tests/evaluation/PageTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>

#include <dlfcn.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace ponderix::assets {
extern const std::span<const unsigned char> RMChartDLL_Res;
}

namespace {

std::span<const unsigned char> bytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

QByteArray libraryImage()
{
    const auto image = assets::RMChartDLL_Res;
    return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
}

// A real shared library without any RMC_ entry point.
QByteArray unrelatedLibrary()
{
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&zlibVersion), &info) || !info.dli_fname)
        return {};
    return readBytes(QString::fromLocal8Bit(info.dli_fname));
}

// A PNG chunk with its length and checksum.
QByteArray pngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk;
    const auto length = static_cast<quint32>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk.append(static_cast<char>((length >> shift) & 0xFF));
    const QByteArray body = QByteArray(type) + data;
    chunk += body;
    const uLong crc = ::crc32(0, reinterpret_cast<const Bytef*>(body.constData()), static_cast<uInt>(body.size()));
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk.append(static_cast<char>((crc >> shift) & 0xFF));
    return chunk;
}

QByteArray flipped(QByteArray bytes, qsizetype at)
{
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
    return bytes;
}

QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray header;
    for (quint32 value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            header.append(static_cast<char>((value >> shift) & 0xFF));
    }
    header += QByteArray("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IEND", {});
}

} // namespace

TEST(ChartLibrary, LoadsThePrivateCopyAndRemovesItAgain)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"RMChart.dll"_s);
    {
        ChartLibrary::LoadResult loaded = ChartLibrary::load(folder.path());
        ASSERT_NE(loaded.library, nullptr) << loaded.error.toStdString();
        EXPECT_TRUE(loaded.error.isEmpty());
        EXPECT_EQ(loaded.library->versionText(), u"4.12"_s);
        EXPECT_FALSE(chartVersionWarning(loaded.library->versionText()).has_value());
        struct stat status { };
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0);
        EXPECT_TRUE(S_ISREG(status.st_mode));
        EXPECT_EQ(status.st_mode & 07777, 0600u);
        EXPECT_EQ(readBytes(path), libraryImage());
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ChartLibrary, WarningsReadAsStartUpShowsThem)
{
    const Message load = chartLoadWarning(u"cannot open shared object file\r\n: No such file"_s);
    EXPECT_TRUE(load.title.isEmpty());
    EXPECT_EQ(load.text, u"cannot open shared object file: No such file\nRMCHART.DLL"_s);

    const std::optional<Message> version = chartVersionWarning(u"4.11"_s);
    ASSERT_TRUE(version.has_value());
    EXPECT_TRUE(version->title.isEmpty());
    EXPECT_EQ(version->text, u"Warning : Version 4.11 <> 4.12 of RMCHART.DLL"_s);
}

TEST(ChartLibrary, RefusesPlacesAnotherUserCouldTamperWith)
{
    struct Case {
        const char* name;
        std::function<QString(const QTemporaryDir&)> prepare; // returns the folder to load from
    };
    const Case cases[] = {
        {"missing folder", [](const QTemporaryDir& dir) { return dir.filePath(u"absent"_s); }},
        {"folder others may write",
         [](const QTemporaryDir& dir) {
             QDir(dir.path()).mkdir(u"open"_s);
             ::chmod(QFile::encodeName(dir.filePath(u"open"_s)).constData(), 0777);
             return dir.filePath(u"open"_s);
         }},
        {"a link in the library's place",
         [](const QTemporaryDir& dir) {
             writeBytes(dir.filePath(u"elsewhere"_s), "keep me");
             QDir(dir.path()).mkdir(u"lib"_s);
             QFile::link(dir.filePath(u"elsewhere"_s), dir.filePath(u"lib/RMChart.dll"_s));
             return dir.filePath(u"lib"_s);
         }},
        {"a folder in the library's place",
         [](const QTemporaryDir& dir) {
             QDir(dir.path()).mkpath(u"lib/RMChart.dll"_s);
             return dir.filePath(u"lib"_s);
         }},
        {"a file instead of a folder",
         [](const QTemporaryDir& dir) {
             writeBytes(dir.filePath(u"plain"_s), "x");
             return dir.filePath(u"plain"_s);
         }},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString folder = c.prepare(dir);
        const ChartLibrary::LoadResult loaded = ChartLibrary::load(folder);
        EXPECT_EQ(loaded.library, nullptr) << c.name;
        EXPECT_FALSE(loaded.error.isEmpty()) << c.name;
        EXPECT_FALSE(chartLoadWarning(loaded.error).text.isEmpty()) << c.name;
    }
    // The link's target was never written through.
    QTemporaryDir dir;
    cases[2].prepare(dir);
    ChartLibrary::load(dir.filePath(u"lib"_s));
    EXPECT_EQ(readBytes(dir.filePath(u"elsewhere"_s)), QByteArray("keep me"));
}

TEST(ChartLibrary, ReplacesAStaleCopyOfItsOwn)
{
    QTemporaryDir folder;
    ASSERT_TRUE(writeBytes(folder.filePath(u"RMChart.dll"_s), "left over from a crash"));
    const ChartLibrary::LoadResult loaded = ChartLibrary::load(folder.path());
    ASSERT_NE(loaded.library, nullptr) << loaded.error.toStdString();
}

TEST(ChartLibrary, DamagedOrForeignImagesGivePagesWithoutCharts)
{
    const QByteArray real = libraryImage();
    struct Case {
        const char* name;
        QByteArray image;
        bool reported; // a missing entry point is not reported
    };
    const Case cases[] = {
        {"empty", QByteArray(), true},
        {"not a library", QByteArray("MZ this is not an ELF file at all"), true},
        // Debug information fills the back of the file; cut into the code itself.
        {"cut short", real.left(8192), true},
        {"header only", real.left(64), true},
        {"a library without the entry points", unrelatedLibrary(), false},
    };
    ASSERT_FALSE(cases[4].image.isEmpty());
    const Project project = scoredProject(3, {5, 3, 1}, [](int o, int c) { return (o * 3 + c) % 11; });
    for (const Case& c : cases) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const ChartLibrary::LoadResult loaded = ChartLibrary::load(folder.path(), bytesOf(c.image));
        EXPECT_EQ(loaded.library, nullptr) << c.name;
        EXPECT_EQ(!loaded.error.isEmpty(), c.reported) << c.name << ": " << loaded.error.toStdString();
        const QImage overview = buildOverviewPage(project, u"x"_s, loaded.library.get(), folder.path());
        EXPECT_TRUE(allWhite(overview, QRect(15, 190, 680, 340))) << c.name;
        const QImage detail = buildDetailPage(project, 1, u"x"_s, loaded.library.get(), folder.path());
        EXPECT_TRUE(allWhite(detail, QRect(0, 165, 700, 375))) << c.name;
    }
}

TEST(ChartComponent, EntryPointsCheckTheirArguments)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr);
    const ChartEntryPoints& rmc = charts.library()->entryPoints();
    const QByteArray missingPicture = QFile::encodeName(charts.folder() + u"/absent.bmp"_s);
    const QByteArray badPath = QFile::encodeName(charts.folder() + u"/no/such/folder/x.png"_s);
    const double values[] = {1, 2};

    EXPECT_DOUBLE_EQ(rmc.getVersion(), 4.12);
    ASSERT_EQ(rmc.createChart(nullptr, 7, 0, 0, 100, 50, -1, 0, 1, "", "Arial", 0, 0), 0);
    const struct {
        const char* name;
        int result;
        int expected;
    } cases[] = {
        {"id in use", rmc.createChart(nullptr, 7, 0, 0, 100, 50, -1, 0, 1, "", "", 0, 0), RMC_ERROR_ID_IN_USE},
        {"no width", rmc.createChart(nullptr, 8, 0, 0, 0, 50, -1, 0, 1, "", "", 0, 0), RMC_ERROR_ARGUMENT},
        {"absurd height", rmc.createChart(nullptr, 8, 0, 0, 10, 20000, -1, 0, 1, "", "", 0, 0), RMC_ERROR_ARGUMENT},
        {"missing picture", rmc.createChart(nullptr, 8, 0, 0, 10, 10, -1, 4, 1, missingPicture.constData(), "", 0, 0),
         RMC_ERROR_FILE},
        {"region of no chart", rmc.addRegion(99, 0, 0, 0, 0, "", 0), RMC_ERROR_NO_CHART},
        {"region outside", rmc.addRegion(7, 100, 0, 0, 0, "", 0), RMC_ERROR_ARGUMENT},
        {"region", rmc.addRegion(7, 0, 0, 0, 0, "", 0), 0},
        {"axis of region 2", rmc.addDataAxis(7, 2, 1, 0, 1, 2, 8, 0, 0, 2, 0, "", "", "", 0), RMC_ERROR_NO_CHART},
        {"empty range", rmc.addDataAxis(7, 1, 1, 5, 5, 2, 8, 0, 0, 2, 0, "", "", "", 0), RMC_ERROR_ARGUMENT},
        {"one tick", rmc.addXAxis(7, 1, 12, 0, 1, 1, 8, 0, 0, 2, 0, "", "", "", 0), RMC_ERROR_ARGUMENT},
        {"counts differ", rmc.addXYSeries(7, 1, values, 2, values, 1, 0, 71, 0, 6, 12, 9, 0), RMC_ERROR_ARGUMENT},
        {"unknown axes", rmc.addXYSeries(7, 1, values, 2, values, 2, 0, 71, 0, 6, 1, 9, 0), RMC_ERROR_ARGUMENT},
        {"negative bar count", rmc.addBarSeries(7, 1, values, -1, 1, 2, 1, -2, 0, 1, 1, 1, 0), RMC_ERROR_ARGUMENT},
        {"line of one point", rmc.coLine(7, 1, nullptr, nullptr, 1, 21, 0, 0, 1, 0, 0), RMC_ERROR_ARGUMENT},
        {"unwritable file", rmc.draw2File(7, badPath.constData(), 0, 0, 100), RMC_ERROR_FILE},
        {"delete", rmc.deleteChart(7), 0},
        {"delete again", rmc.deleteChart(7), RMC_ERROR_NO_CHART},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, c.expected) << c.name;
    EXPECT_FALSE(QFileInfo::exists(QString::fromLocal8Bit(badPath)));
}

TEST(ChartComponent, ListsTheTextsItWroteAndWhetherTheyFit)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr);
    const ChartEntryPoints& rmc = charts.library()->entryPoints();
    const QByteArray fileName = QFile::encodeName(charts.folder() + u"/chart.png"_s);
    ASSERT_EQ(rmc.createChart(nullptr, 1, 0, 0, 300, 200, -1, 4, 1, "", "Arial", 0, 0), 0);
    rmc.coText(1, 1, "Hi", 10, 10, 60, 20, 0, 0, 0, 0, 0, 0, "08");
    rmc.coText(1, 2, QByteArray(200, 'm').constData(), 10, 40, 30, 20, 0, 0, 0, 0, 0, 0, "08");
    rmc.coText(1, 3, "Up", 100, 10, 20, 80, 0, 0, 0, 0, 0, 0, "08C");
    EXPECT_EQ(rmc.getTexts(1, nullptr, 0), 0) << "nothing is written before a draw";
    ASSERT_EQ(rmc.draw2File(1, fileName.constData(), 0, 0, 100), 0);

    const int length = rmc.getTexts(1, nullptr, 0);
    QByteArray list(length + 1, 'x');
    EXPECT_EQ(rmc.getTexts(1, list.data(), length + 1), length);
    EXPECT_EQ(list.back(), '\0');
    const QList<QByteArray> lines = list.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), 4) << list.constData(); // three lines, each ended by a line break
    // 8 points are 11 pixels; the long text went down to the smallest size, 6.
    const QList<QByteArray> fits = lines[0].split('\t');
    const QList<QByteArray> clipped = lines[1].split('\t');
    const QList<QByteArray> upward = lines[2].split('\t');
    EXPECT_EQ(fits.mid(4), (QList<QByteArray>{"11", "11", "0", "Hi"}));
    EXPECT_EQ(clipped.mid(4, 3), (QList<QByteArray>{"6", "11", "1"}));
    const QRect hi(fits[0].toInt(), fits[1].toInt(), fits[2].toInt(), fits[3].toInt());
    EXPECT_TRUE(QRect(12, 11, 56, 18).contains(hi)) << hi.x() << ',' << hi.y() << ' ' << hi.width();
    // Written upwards it covers a tall rectangle, centred in its box.
    const QRect up(upward[0].toInt(), upward[1].toInt(), upward[2].toInt(), upward[3].toInt());
    EXPECT_GT(up.height(), up.width());
    EXPECT_NEAR(up.center().x(), 110, 2);
    EXPECT_NEAR(up.center().y(), 50, 2);

    char shortList[5];
    EXPECT_EQ(rmc.getTexts(1, shortList, 5), length);
    EXPECT_EQ(QByteArray(shortList), list.left(4));
    EXPECT_EQ(rmc.getTexts(1, shortList, -1), RMC_ERROR_ARGUMENT);
    rmc.deleteChart(1);
    EXPECT_EQ(rmc.getTexts(1, nullptr, 0), RMC_ERROR_NO_CHART);
}

// The layout check sees a chart's texts where they stand on the page, and a
// caption too long for its room as cut.
TEST(ChartComponent, PagesRecordTheChartsTextsWhereTheyStand)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr);
    const QString tooLong = u"Importance of this criterion as the decision maker weighed it at the start"_s;
    const QByteArray po = "msgctxt \"TXT00262\"\nmsgid \"Importance\"\nmsgstr \"" + tooLong.toUtf8() + "\"\n";
    ASSERT_TRUE(chooseLanguage(u"xx"_s, po));
    PageTextRecorder recorder;
    buildDetailPage(scoredDemo(), 0, u"x"_s, charts.library(), charts.folder());
    chooseLanguage(u"en"_s);
    const auto find = [&recorder](const QString& text) {
        const auto& texts = recorder.texts();
        const auto found =
            std::find_if(texts.begin(), texts.end(), [&text](const DrawnText& t) { return t.text == text; });
        return found == texts.end() ? std::optional<DrawnText>() : *found;
    };
    // The chart stands at (14, 189) with its first row and column off the
    // page; its XY plot spans (54, 33) to (324, 301) of it.
    const std::optional<DrawnText> high = find(u"High"_s);
    ASSERT_TRUE(high);
    EXPECT_FALSE(high->cut);
    EXPECT_TRUE(QRect(14, 189, 54, 340).contains(high->place)) << high->place.x() << ',' << high->place.y();
    const std::optional<DrawnText> caption = find(tooLong);
    ASSERT_TRUE(caption);
    EXPECT_TRUE(caption->cut);
    EXPECT_GT(caption->place.height(), 268) << "written upwards, past the plot's height";
    // The chart's own caption is the last text it writes.
    EXPECT_TRUE(find(QString(10, QChar(0x00A0)) + u"Ratings by importance"_s));

    // A printer takes the chart as lines and text; its texts are noted alike.
    recorder.clear();
    QPicture printed;
    QPainter painter(&printed);
    paintDetailPage(painter, scoredDemo(), 0, u"x"_s, charts.library(), charts.folder());
    painter.end();
    const std::optional<DrawnText> printedHigh = find(u"High"_s);
    ASSERT_TRUE(printedHigh);
    EXPECT_EQ(printedHigh->place, high->place);
}

TEST(ChartComponent, WritesThePictureAtTheRequestedSize)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr);
    const ChartEntryPoints& rmc = charts.library()->entryPoints();
    const QString file = charts.folder() + u"/chart.png"_s;
    const QByteArray fileName = QFile::encodeName(file);
    const struct {
        int width, height, speed;
        QSize expected;
    } cases[] = {{0, 0, 100, {680, 340}},     {340, 170, 1, {340, 170}},   {0, 100, 0, {680, 100}},
                 {1020, 510, 0, {1020, 510}}, {1361, 680, 0, {1361, 680}}, {1360, 0, 0, {1360, 340}}};
    for (const auto& c : cases) {
        ASSERT_EQ(rmc.createChart(nullptr, 1, 0, 0, 680, 340, -1, 0, 1, "", "Arial", 0, 0), 0);
        rmc.addRegion(1, 0, 0, 0, 0, "", 0);
        rmc.addGrid(1, 1, static_cast<int>(0xFF102030u), 0, 0, 0, 0, 0, 0);
        rmc.addDataAxis(1, 1, 1, -1.0, 1.0, 3, 8, 0, 0, 6, 1, "%", "", "", 0);
        EXPECT_EQ(rmc.draw2File(1, fileName.constData(), c.width, c.height, c.speed), 0);
        rmc.deleteChart(1);
        const QImage picture = readChartPicture(file);
        EXPECT_EQ(picture.size(), c.expected);
    }
    // At its own size the plot fill sits exactly in the automatic plot area.
    ASSERT_EQ(rmc.createChart(nullptr, 1, 0, 0, 680, 340, -1, 4, 1, "", "Arial", 0, 0), 0);
    rmc.addRegion(1, 0, 0, 0, 0, "", 0);
    rmc.addGrid(1, 1, static_cast<int>(0xFF102030u), 0, 0, 0, 0, 0, 0);
    rmc.addDataAxis(1, 1, 1, -1.0, 1.0, 3, 8, 0, 0, 0, 1, "%", "", "", 0);
    rmc.addLabelAxis(1, 1, "", 1, 5, 7, 8, 0, 0, 0, 0, "");
    ASSERT_EQ(rmc.draw2File(1, fileName.constData(), 0, 0, 100), 0);
    rmc.deleteChart(1);
    const QImage picture = readChartPicture(file);
    EXPECT_EQ(picture.pixel(28, 42), qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(picture.pixel(674, 329), qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(picture.pixel(675, 330), qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(picture.pixel(27, 100), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(100, 41), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(676, 200), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(100, 331), qRgb(255, 255, 255));
}

TEST(ChartComponent, DrawsAgainAtALargerSizeInItsProportions)
{
    // At twice its size the plot fill covers exactly the doubled plot area,
    // (28, 42) to (675, 330), with no mixed colour at its edges; a 1x
    // picture stretched would smear each edge over a pixel. A size out of
    // proportion can only stretch it.
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr);
    const ChartEntryPoints& rmc = charts.library()->entryPoints();
    const QByteArray fileName = QFile::encodeName(charts.folder() + u"/chart.png"_s);
    const QRgb fill = qRgb(0x10, 0x20, 0x30);
    const QRgb white = qRgb(255, 255, 255);
    const auto draw = [&](int width, int height) {
        EXPECT_EQ(rmc.createChart(nullptr, 1, 0, 0, 680, 340, -1, 4, 1, "", "Arial", 0, 0), 0);
        rmc.addRegion(1, 0, 0, 0, 0, "", 0);
        rmc.addGrid(1, 1, static_cast<int>(0xFF102030u), 0, 0, 0, 0, 0, 0);
        rmc.addDataAxis(1, 1, 1, -1.0, 1.0, 3, 8, 0, 0, 0, 1, "%", "", "", 0);
        rmc.addLabelAxis(1, 1, "", 1, 5, 7, 8, 0, 0, 0, 0, "");
        EXPECT_EQ(rmc.draw2File(1, fileName.constData(), width, height, 100), 0);
        rmc.deleteChart(1);
        return readChartPicture(QFile::decodeName(fileName));
    };
    const QImage twice = draw(1360, 680);
    ASSERT_EQ(twice.size(), QSize(1360, 680));
    for (const int y : {2 * 42 + 1, 300, 2 * 330 + 1}) {
        EXPECT_EQ(twice.pixel(2 * 28 - 1, y), white) << y;
        EXPECT_EQ(twice.pixel(2 * 28, y), fill) << y;
        EXPECT_EQ(twice.pixel(2 * 676 - 1, y), fill) << y;
        EXPECT_EQ(twice.pixel(2 * 676, y), white) << y;
    }
    EXPECT_EQ(twice.pixel(400, 2 * 42 - 1), white);
    EXPECT_EQ(twice.pixel(400, 2 * 42), fill);

    // Twice as wide only: stretched, so the plot's left edge moves to
    // column 56 and mixes with the white there.
    const QImage wide = draw(1360, 340);
    ASSERT_EQ(wide.size(), QSize(1360, 340));
    EXPECT_NE(wide.pixel(2 * 28, 200), fill);
    EXPECT_NE(wide.pixel(2 * 28, 200), white);
}

TEST(ChartComponent, PaintsOntoAnyPainterAtItsOrigin)
{
    // The chart's own 680 x 340 with the plot fill from (28, 42) to (675,
    // 330), painted 10 pixels in from the corner of a red picture: the fill
    // and the chart's white move with the origin, the red outside stays.
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr);
    const ChartEntryPoints& rmc = charts.library()->entryPoints();
    QImage picture(700, 360, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QPainter painter(&picture);
    painter.translate(10, 10);
    QPainter idle;
    ASSERT_EQ(rmc.createChart(nullptr, 1, 0, 0, 680, 340, -1, 4, 1, "", "Arial", 0, 0), 0);
    rmc.addRegion(1, 0, 0, 0, 0, "", 0);
    rmc.addGrid(1, 1, static_cast<int>(0xFF102030u), 0, 0, 0, 0, 0, 0);
    rmc.addDataAxis(1, 1, 1, -1.0, 1.0, 3, 8, 0, 0, 0, 1, "%", "", "", 0);
    rmc.addLabelAxis(1, 1, "", 1, 5, 7, 8, 0, 0, 0, 0, "");
    const struct {
        const char* name;
        int result;
        int expected;
    } cases[] = {
        {"no such chart", rmc.draw2Painter(2, &painter, 1.0), RMC_ERROR_NO_CHART},
        {"no painter", rmc.draw2Painter(1, nullptr, 1.0), RMC_ERROR_ARGUMENT},
        {"a painter on nothing", rmc.draw2Painter(1, &idle, 1.0), RMC_ERROR_ARGUMENT},
        {"ratio below 1", rmc.draw2Painter(1, &painter, 0.5), RMC_ERROR_ARGUMENT},
        {"ratio not a number", rmc.draw2Painter(1, &painter, std::nan("")), RMC_ERROR_ARGUMENT},
        {"painted", rmc.draw2Painter(1, &painter, 1.0), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, c.expected) << c.name;
    EXPECT_EQ(painter.worldTransform(), QTransform::fromTranslate(10, 10)) << "the painter is left as it was";
    painter.end();
    rmc.deleteChart(1);
    const QRgb fill = qRgb(0x10, 0x20, 0x30);
    EXPECT_EQ(picture.pixel(10 + 28, 10 + 42), fill);
    EXPECT_EQ(picture.pixel(10 + 675, 10 + 330), fill);
    EXPECT_EQ(picture.pixel(10 + 27, 10 + 100), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(10 + 100, 10 + 331), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(9, 9), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(10 + 680, 10 + 340), qRgb(255, 0, 0));
}

TEST(ChartPicture, BadFilesGiveNoPicture)
{
    QTemporaryDir folder;
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr);
    const Project project = scoredProject(2, {3}, [](int, int) { return 5; });
    buildOverviewPage(project, u"x"_s, charts.library(), charts.folder());
    const QByteArray real = readBytes(charts.folder() + u"/TempOverview.png"_s);
    ASSERT_GT(real.size(), 100);

    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"garbage", QByteArray(4000, 'x')},
        {"signature only", real.left(8)},
        {"cut in the middle", real.left(real.size() / 2)},
        {"a flipped data byte", flipped(real, real.size() / 2)},
        {"claims 100000 x 100000", pngClaiming(100000, 100000)},
        {"claims 9000 x 9000", pngClaiming(9000, 9000)},
        {"claims no rows", pngClaiming(10, 0)},
    };
    for (const auto& c : cases) {
        const QString path = folder.filePath(QString::fromUtf8(c.name) + u".png"_s);
        ASSERT_TRUE(writeBytes(path, c.bytes));
        EXPECT_TRUE(readChartPicture(path).isNull()) << c.name;
    }
    EXPECT_TRUE(readChartPicture(folder.filePath(u"absent.png"_s)).isNull());
    EXPECT_TRUE(readChartPicture(folder.path()).isNull());
    EXPECT_EQ(readChartPicture(charts.folder() + u"/TempOverview.png"_s).size(), QSize(680, 340));
}

TEST(ChartPicture, ReadsOtherPngKindsAsOpaqueRgb)
{
    QTemporaryDir folder;
    QImage grey(3, 2, QImage::Format_Grayscale8);
    grey.fill(0x80);
    QImage translucent(3, 2, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 20, 30, 40));
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(200, 100, 50)});
    indexed.fill(1);
    const struct {
        const char* name;
        QImage image;
        QRgb expected;
    } cases[] = {{"grey", grey, qRgb(0x80, 0x80, 0x80)},
                 {"with alpha", translucent, qRgb(10, 20, 30)},
                 {"palette", indexed, qRgb(200, 100, 50)}};
    for (const auto& c : cases) {
        const QString path = folder.filePath(QString::fromUtf8(c.name) + u".png"_s);
        ASSERT_TRUE(c.image.save(path, "PNG"));
        const QImage read = readChartPicture(path);
        ASSERT_EQ(read.size(), QSize(3, 2)) << c.name;
        EXPECT_EQ(read.format(), QImage::Format_RGB32) << c.name;
        EXPECT_EQ(read.pixel(2, 1), c.expected) << c.name;
    }
}
