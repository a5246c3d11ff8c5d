// The three page images, checked at the pixels their layout fixes.
#include "evaluation/ResultPages.h"

#include "tests/ScoredDemo.h"
#include "tests/evaluation/PageTestSupport.h"

#include <QDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// Label text of the header colour over the detail background: AA edges mix
// with red, yellow and green, but blue stays well above red and green only
// where the label's ink is.
std::vector<int> labelRows(const QImage& page, QRect area)
{
    std::vector<int> rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = page.pixel(x, y);
            if (qBlue(pixel) - std::max(qRed(pixel), qGreen(pixel)) >= 30) {
                rows.push_back(y);
                break;
            }
        }
    }
    return rows;
}

bool anyRowIn(const std::vector<int>& rows, int from, int to)
{
    return std::any_of(rows.begin(), rows.end(), [&](int row) { return row >= from && row < to; });
}

int flatScoreOf(int value)
{
    return scoredProject(1, {5}, [value](int, int) { return value; }).options()[0].score;
}

} // namespace

TEST(PageHeights, FollowTheCountsWithinTheirLimits)
{
    const std::pair<int, int> detail[] = {{0, 540},   {10, 540},  {25, 540},  {30, 592},
                                          {64, 1000}, {65, 1000}, {300, 1000}};
    for (const auto& [criteria, height] : detail)
        EXPECT_EQ(detailPageHeight(criteria), height) << criteria << " criteria";

    struct ProfileCase {
        int options, criteria, height;
    };
    const ProfileCase profile[] = {{26, 10, 614},
                                   {3, 2, 530},
                                   {26, 0, 530},
                                   {0, 3, 530},
                                   {3, 3, 530},
                                   {26, 300, 1000},
                                   {10, 20, 65 + 140 + 25 + 280 + 20}};
    for (const ProfileCase& c : profile)
        EXPECT_EQ(profilePageHeight(c.options, c.criteria), c.height) << c.options << " x " << c.criteria;

    const Project thirty = scoredProject(1, std::vector<int>(30, 3), [](int, int) { return 5; });
    EXPECT_EQ(buildDetailPage(thirty, 0, u"x"_s, nullptr, QString()).size(), QSize(700, 592));
    const Project wide = scoredProject(26, std::vector<int>(10, 3), [](int, int) { return 5; });
    EXPECT_EQ(buildProfilePage(wide, u"x"_s).size(), QSize(700, 614));
    const Project two = scoredProject(3, {3, 3}, [](int, int) { return 5; });
    EXPECT_EQ(buildProfilePage(two, u"x"_s).size(), QSize(700, 530));
    EXPECT_EQ(buildOverviewPage(wide, u"x"_s, nullptr, QString()).size(), QSize(700, 530));
}

TEST(OverviewPage, TitleBarAndMarkerStandWhereTheScoreSays)
{
    struct Case {
        const char* name;
        Project project;
        int markerX;
    };
    Case cases[] = {
        {"score -100", scoredProject(1, {5}, [](int, int) { return 0; }), 114},
        {"score 0", scoredProject(1, {5}, [](int, int) { return 5; }), 214},
        {"score +100", scoredProject(1, {5}, [](int, int) { return 10; }), 314},
        {"demo, best +65", scoredDemo(), 279},
    };
    ASSERT_EQ(flatScoreOf(0), -100);
    for (const Case& c : cases) {
        const QImage page = buildOverviewPage(c.project, u"Cars"_s, nullptr, QString());
        ASSERT_EQ(page.size(), QSize(700, 530)) << c.name;
        EXPECT_EQ(page.pixel(5, 10), kHeader) << c.name;
        EXPECT_EQ(page.pixel(694, 39), kHeader) << c.name;
        EXPECT_TRUE(allWhite(page, QRect(0, 0, 700, 10))) << c.name;
        EXPECT_EQ(page.pixel(4, 25) & 0xFFFFFF, 0xFFFFFFu) << c.name;
        EXPECT_EQ(page.pixel(695, 25) & 0xFFFFFF, 0xFFFFFFu) << c.name;
        EXPECT_EQ(page.pixel(300, 40) & 0xFFFFFF, 0xFFFFFFu) << c.name;
        // White title text inside the bar.
        EXPECT_FALSE(rowsWithColour(page, QRect(15, 16, 100, 20), qRgb(255, 255, 255), 10).empty()) << c.name;
        for (int y = 120; y < 150; ++y) {
            EXPECT_TRUE(isBlack(page.pixel(c.markerX, y))) << c.name << " y " << y;
            EXPECT_TRUE(isBlack(page.pixel(c.markerX + 1, y))) << c.name << " y " << y;
            EXPECT_FALSE(isBlack(page.pixel(c.markerX - 1, y))) << c.name << " y " << y;
            EXPECT_FALSE(isBlack(page.pixel(c.markerX + 2, y))) << c.name << " y " << y;
        }
        EXPECT_FALSE(isBlack(page.pixel(c.markerX, 119))) << c.name;
        EXPECT_FALSE(isBlack(page.pixel(c.markerX, 150))) << c.name;
        // Rows 1 to 3 carry text.
        EXPECT_FALSE(allWhite(page, QRect(15, 60, 80, 14))) << c.name;
        EXPECT_FALSE(rowsWithColour(page, QRect(15, 100, 300, 16), kHeader, 40).empty()) << c.name;
    }
}

TEST(OverviewPage, WithoutOptionsRowsStayEmptyAndNoMarker)
{
    const Project empty = scoredProject(0, {3, 3, 3}, [](int, int) { return 5; });
    const QImage page = buildOverviewPage(empty, u"Empty"_s, nullptr, QString());
    EXPECT_TRUE(allWhite(page, QRect(0, 45, 700, 74)));
    for (int y = 120; y < 150; ++y) {
        for (int x = 110; x < 320; ++x)
            ASSERT_FALSE(isBlack(page.pixel(x, y))) << x << ", " << y;
    }
    // The scale and its captions are still there.
    EXPECT_FALSE(allWhite(page, QRect(115, 120, 200, 30)));
    EXPECT_FALSE(allWhite(page, QRect(115, 150, 40, 12)));
}

TEST(OverviewPage, CarriesTheChartOnlyWhenTheComponentDrewIt)
{
    const Project project = scoredDemo();
    const QRect chartArea(15, 190, 680, 340);

    const QImage bare = buildOverviewPage(project, u"Cars"_s, nullptr, QString());
    EXPECT_TRUE(allWhite(bare, chartArea));

    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr) << charts.error().toStdString();
    const QImage page = buildOverviewPage(project, u"Cars"_s, charts.library(), charts.folder());
    // The zero line, two pixels thick at chart row 186, across the plot.
    for (int x = 15 + 50; x < 15 + 675; x += 37) {
        EXPECT_TRUE(isBlack(page.pixel(x, 190 + 186))) << x;
        EXPECT_TRUE(isBlack(page.pixel(x, 190 + 187))) << x;
    }
    // Crisp grid lines at the band borders -60 and -20, clear of the bars.
    EXPECT_EQ(page.pixel(15 + 600, 190 + 272), qRgb(0xD3, 0xD8, 0xE2));
    EXPECT_EQ(page.pixel(15 + 600, 190 + 215), qRgb(0xD3, 0xD8, 0xE2));
    EXPECT_NE(page.pixel(15 + 600, 190 + 273), qRgb(0xD3, 0xD8, 0xE2));
    // Bar A (65, palette blue) rises from the zero line in its first slot.
    const QRgb barA = page.pixel(15 + 48 + 63, 190 + 150);
    EXPECT_GT(qBlue(barA), 200);
    EXPECT_LT(qRed(barA), 120);
    // Bar C (-28, palette green) falls below it in the third slot.
    const QRgb barC = page.pixel(15 + 48 + 63 + 2 * 125, 190 + 200);
    EXPECT_GT(qGreen(barC), 150);
    EXPECT_LT(qBlue(barC), 100);
    // The rows above are the same with or without the chart.
    EXPECT_EQ(page.copy(0, 0, 700, 190), bare.copy(0, 0, 700, 190));
}

TEST(OverviewPage, NeverShowsAChartFileItDidNotJustMake)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const Project project = scoredDemo();
    // A chart from an earlier window lies in the folder, but there is no
    // component to draw a new one.
    {
        const LoadedCharts charts;
        ASSERT_NE(charts.library(), nullptr);
        buildOverviewPage(project, u"Cars"_s, charts.library(), folder.path());
    }
    ASSERT_TRUE(QFile::exists(folder.filePath(u"TempOverview.png"_s)));
    const QImage page = buildOverviewPage(project, u"Cars"_s, nullptr, folder.path());
    EXPECT_TRUE(allWhite(page, QRect(15, 190, 680, 340)));

    // A chart file that cannot be replaced (a folder in its place) gives the
    // page without chart.
    const LoadedCharts charts;
    ASSERT_TRUE(QDir(charts.folder()).mkdir(u"TempOverview.png"_s));
    const QImage blocked = buildOverviewPage(project, u"Cars"_s, charts.library(), charts.folder());
    EXPECT_TRUE(allWhite(blocked, QRect(15, 190, 680, 340)));
}

TEST(DetailPage, NumberLabelsStackWhereTheirPointsAre)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr) << charts.error().toStdString();

    // Two criteria of importance 3 rated +2: labels at (254, 364) and
    // (254, 376), one under the other.
    const Project shared = scoredProject(1, {3, 3}, [](int, int) { return 7; });
    const QImage page = buildDetailPage(shared, 0, u"x"_s, charts.library(), charts.folder());
    ASSERT_EQ(page.size(), QSize(700, 540));
    const std::vector<int> rows = labelRows(page, QRect(254, 362, 12, 40));
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.front(), 364);
    EXPECT_LT(rows.back(), 388);
    EXPECT_TRUE(anyRowIn(rows, 364, 376));
    EXPECT_TRUE(anyRowIn(rows, 376, 388));

    // Three criteria of importance 1 rated -5: (65, 470), (65, 458),
    // (65, 446), stacking upwards from the bottom row.
    const Project bottom = scoredProject(1, {1, 1, 1}, [](int, int) { return 0; });
    const QImage low = buildDetailPage(bottom, 0, u"x"_s, charts.library(), charts.folder());
    const std::vector<int> lowRows = labelRows(low, QRect(65, 420, 8, 64));
    ASSERT_FALSE(lowRows.empty());
    EXPECT_GE(lowRows.front(), 446);
    EXPECT_LT(lowRows.back(), 482);
    EXPECT_TRUE(anyRowIn(lowRows, 446, 458));
    EXPECT_TRUE(anyRowIn(lowRows, 458, 470));
    EXPECT_TRUE(anyRowIn(lowRows, 470, 482));

    // The legend: one line per criterion at x 370 from y 222, 12 apart.
    const std::vector<int> legend = labelRows(low, QRect(370, 215, 120, 60));
    EXPECT_TRUE(anyRowIn(legend, 222, 234));
    EXPECT_TRUE(anyRowIn(legend, 234, 246));
    EXPECT_TRUE(anyRowIn(legend, 246, 258));
    EXPECT_FALSE(anyRowIn(legend, 258, 275));
    EXPECT_FALSE(anyRowIn(legend, 215, 222));
}

TEST(DetailPage, ChartSitsOverTheColouredSquare)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr);
    const Project project = scoredProject(1, {5, 1}, [](int, int c) { return c == 0 ? 10 : 0; });
    const QImage page = buildDetailPage(project, 0, u"x"_s, charts.library(), charts.folder());
    // Chart pixel (x, y) lands at (14 + x, 189 + y). The coloured square
    // starts at (54, 35), where the Y axis line runs down column 54: red
    // right of it, white above the square.
    EXPECT_LE(channelDistance(page.pixel(69, 224), qRgb(255, 0, 0)), 8);
    EXPECT_EQ(page.pixel(69, 223) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(68, 300), qRgb(0x80, 0x80, 0x80));
    // Rating +5 at importance 5 is a symbol at (68 + 270, 222); rating -5
    // at importance 1 at (68, 222 + 268). Both are the dark symbol colour.
    EXPECT_LE(channelDistance(page.pixel(338, 222), qRgb(0x1E, 0x2A, 0x78)), 30);
    EXPECT_LE(channelDistance(page.pixel(68, 490), qRgb(0x1E, 0x2A, 0x78)), 30);
}

TEST(DetailPage, WithoutChartKeepsRowsScaleAndMarkerOnly)
{
    const Project project = scoredProject(2, {5, 5, 5}, [](int o, int) { return o == 0 ? 0 : 5; });
    const struct {
        int option;
        int markerX;
    } cases[] = {{0, 114}, {1, 214}};
    for (const auto& c : cases) {
        const QImage page = buildDetailPage(project, c.option, u"x"_s, nullptr, QString());
        ASSERT_EQ(page.size(), QSize(700, 540));
        EXPECT_EQ(page.pixel(5, 10), kHeader);
        EXPECT_TRUE(isBlack(page.pixel(c.markerX, 130)));
        EXPECT_TRUE(isBlack(page.pixel(c.markerX + 1, 130)));
        EXPECT_FALSE(allWhite(page, QRect(115, 60, 100, 14)));
        EXPECT_TRUE(allWhite(page, QRect(0, 165, 700, 375)));
    }
    EXPECT_TRUE(buildDetailPage(project, 2, u"x"_s, nullptr, QString()).isNull());
    EXPECT_TRUE(buildDetailPage(project, -1, u"x"_s, nullptr, QString()).isNull());
}

TEST(ProfilePage, FirstSegmentOfFourCriteriaRunsRightInTheOptionsColour)
{
    const int values[] = {0, 10, 5, 5};
    const Project project = scoredProject(1, {3, 3, 3, 3}, [&](int, int c) { return values[c]; });
    const QImage page = buildProfilePage(project, u"x"_s);
    // The second segment leaves (450, 300) towards (250, 400) and blends into
    // the last pixels of the first; up to there the row is pure colour.
    for (int x = 250; x <= 440; ++x)
        EXPECT_EQ(page.pixel(x, 300), qRgb(0, 0, 255)) << "x " << x;
    EXPECT_EQ(page.pixel(450, 300), qRgb(0, 0, 255));
    // Not a thick line: the rows next to it keep the disc.
    EXPECT_NE(page.pixel(400, 299), qRgb(0, 0, 255));
    EXPECT_NE(page.pixel(400, 301), qRgb(0, 0, 255));
}

TEST(ProfilePage, SpokeNumbersStandAtTheirAngles)
{
    const Project project = scoredProject(1, {3, 3, 3}, [](int, int) { return 5; });
    const QImage page = buildProfilePage(project, u"x"_s);
    const QRgb grey = qRgb(0xA0, 0xA0, 0xA0);
    for (const QPoint at : {QPoint(245, 75), QPoint(436, 405), QPoint(54, 405)}) {
        EXPECT_FALSE(rowsWithColour(page, QRect(at.x(), at.y(), 10, 16), grey, 24).empty()) << at.x() << ", " << at.y();
        EXPECT_TRUE(allWhite(page, QRect(at.x() - 14, at.y(), 12, 16))) << at.x() << ", " << at.y();
    }
}

TEST(ProfilePage, LaterOptionsAreDrawnOverEarlierOnes)
{
    // All neutral: every ring lies on the white circle; the last on top.
    const Project project = scoredProject(3, {3, 3, 3, 3}, [](int, int) { return 5; });
    const QImage page = buildProfilePage(project, u"x"_s);
    EXPECT_EQ(page.pixel(250, 200), optionColour(2));
    EXPECT_EQ(page.pixel(350, 300), optionColour(2));
    // Legend colours follow the palette.
    EXPECT_FALSE(rowsWithColour(page, QRect(490, 79, 20, 14), qRgb(0, 0, 255), 40).empty());
    EXPECT_FALSE(rowsWithColour(page, QRect(490, 93, 20, 14), qRgb(255, 0, 0), 40).empty());
}

TEST(ProfilePage, PaletteRepeatsEveryTenOptions)
{
    const QRgb palette[] = {0x0000FF, 0xFF0000, 0x00CD00, 0xFFA500, 0xD84FD9,
                            0x22D4DB, 0xCAED0F, 0x9D9C5F, 0x426EEE, 0x009696};
    for (int index = 0; index < 40; ++index)
        EXPECT_EQ(optionColour(index) & 0xFFFFFF, palette[index % 10]) << "option " << index;
}

TEST(ProfilePage, FewerThanThreeCriteriaGiveOnlyTheMessage)
{
    const Project project = scoredProject(4, {3, 3}, [](int, int) { return 9; });
    const QImage page = buildProfilePage(project, u"x"_s);
    EXPECT_EQ(page.size(), QSize(700, 530));
    EXPECT_EQ(page.pixel(5, 10), kHeader);
    EXPECT_FALSE(allWhite(page, QRect(15, 60, 200, 16)));
    EXPECT_TRUE(allWhite(page, QRect(0, 80, 700, 450)));
}

TEST(ResultPages, HugeProjectsStayBounded)
{
    const Project project = scoredProject(60, std::vector<int>(400, 4), [](int o, int c) { return (o + c) % 11; });
    const LoadedCharts charts;
    EXPECT_EQ(buildOverviewPage(project, u"x"_s, charts.library(), charts.folder()).size(), QSize(700, 530));
    EXPECT_EQ(buildDetailPage(project, 59, u"x"_s, charts.library(), charts.folder()).size(), QSize(700, 1000));
    EXPECT_EQ(buildProfilePage(project, u"x"_s).size(), QSize(700, 1000));
}
