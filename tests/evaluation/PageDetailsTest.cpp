// Small things on the result pages that only show in their pixels: which tick
// a chart label stands at, how an axis caption is written, that the profile's
// rings are closed and how the detail and profile legends count.
#include "evaluation/ResultPages.h"

#include "base/Fonts.h"
#include "evaluation/PageStyle.h"
#include "tests/evaluation/PageTestSupport.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPicture>

#include <optional>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// The first and last column in `area` holding a pixel that `isInk` accepts.
struct InkSpan {
    int left;
    int right;
    double centre() const { return (left + right) / 2.0; }
    int width() const { return right - left + 1; }
};

template <typename Predicate> std::optional<InkSpan> inkSpan(const QImage& image, QRect area, Predicate isInk)
{
    std::optional<InkSpan> span;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (isInk(image.pixel(x, y))) {
                if (!span)
                    span = InkSpan{x, x};
                span->right = x;
                break;
            }
        }
    }
    return span;
}

bool darkerThanMidGrey(QRgb pixel)
{
    return qGray(pixel) < 160;
}

bool notWhite(QRgb pixel)
{
    return (pixel & 0xFFFFFF) != 0xFFFFFF;
}

// The chart component writes in the face it is given at the size its points
// come to at 96 pixels per inch: 8 points are 11 pixels.
QFont chartFont(bool bold)
{
    QFont font(u"Arial"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

// `text` written left-aligned and vertically centred in a white band, the
// way a category axis writes its caption; its ink from the band's left edge.
std::optional<InkSpan> referenceCaption(const QString& text, bool bold, QSize band)
{
    QImage image(band, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(chartFont(bold));
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(0, 0), band), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    return inkSpan(image, image.rect(), notWhite);
}

// `text` as the result pages write a line: its top at the top of a white
// strip of the page's own format. By default in the detail legend's font and
// colour.
QImage referenceLine(const QString& text, QSize size, QImage::Format format, FontRole role = FontRole::PageScale,
                     QColor colour = QColor::fromRgb(kHeader))
{
    QImage image(size, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QFont font = programFont(role);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPoint(0, QFontMetrics(font).ascent()), text);
    return image;
}

} // namespace

// The detail chart's rating axis is labelled "-5", five empty items, "0",
// five empty items, "+5": eleven labels for eleven ticks. The plot of the
// 340-pixel chart runs from x 4 + 24 + 26 = 54 to 339 - 5 - 11 = 324, so the
// ticks are 27 pixels apart; the chart lands at page x 14, putting tick k at
// 68 + 27 k. The plot ends at chart row 340 - 10 - 14 - 15 = 301, the labels
// start 2 below it, at page row 189 + 304 = 493, in an 11-pixel font: rows
// 496 to 504 cross every digit and stay clear of the "Low" beside the plot's
// corner and of the axis caption below.
TEST(PageDetails, DetailRatingLabelsStandAtTheFirstSixthAndLastTick)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr) << charts.error().toStdString();
    const Project project = scoredProject(1, {3}, [](int, int) { return 5; });
    const QImage page = buildDetailPage(project, 0, u"x"_s, charts.library(), charts.folder());
    ASSERT_EQ(page.size(), QSize(700, 540));

    const auto tickX = [](int k) { return 68 + 27 * k; };
    const auto labelArea = [&](int k, int half) { return QRect(tickX(k) - half, 496, 2 * half + 1, 9); };
    // The empty items keep their ticks bare.
    for (const int k : {1, 2, 3, 4, 6, 7, 8, 9})
        EXPECT_FALSE(inkSpan(page, labelArea(k, 8), darkerThanMidGrey).has_value()) << "tick " << k;
    for (const int k : {0, 5, 10}) {
        const std::optional<InkSpan> ink = inkSpan(page, labelArea(k, 12), darkerThanMidGrey);
        ASSERT_TRUE(ink.has_value()) << "tick " << k;
        EXPECT_NEAR(ink->centre(), tickX(k), 1.5) << "tick " << k;
    }
    // "0" alone is narrower than "-5" and "+5".
    const std::optional<InkSpan> zero = inkSpan(page, labelArea(5, 12), darkerThanMidGrey);
    const std::optional<InkSpan> plus = inkSpan(page, labelArea(10, 12), darkerThanMidGrey);
    ASSERT_TRUE(zero && plus);
    EXPECT_LT(zero->width(), plus->width());
}

// The overview's option axis is captioned "Options" with the bold marker
// "\b" after it. The value axis takes 4 + 24 pixels at the left and the
// caption band is 18 pixels high 10 below the chart's top, which the page
// puts at (15, 190): the band is page rows 200 to 217 from column 43, up to
// short of the chart's frame.
TEST(PageDetails, OverviewCaptionIsBoldWithoutItsMarker)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr) << charts.error().toStdString();
    const Project project = scoredProject(3, {3, 3}, [](int o, int) { return 3 + o; });
    const QImage page = buildOverviewPage(project, u"x"_s, charts.library(), charts.folder());
    ASSERT_EQ(page.size(), QSize(700, 530));

    const QRect band(43, 200, 640, 18);
    const std::optional<InkSpan> drawn = inkSpan(page, band, notWhite);
    ASSERT_TRUE(drawn.has_value());
    const QString lead(5, QChar(0x00A0));
    const std::optional<InkSpan> bold = referenceCaption(lead + u"Options"_s, true, band.size());
    const std::optional<InkSpan> literal = referenceCaption(lead + u"Options\\b"_s, true, band.size());
    ASSERT_TRUE(bold && literal);
    ASSERT_GT(literal->right, bold->right + 4);
    EXPECT_NEAR(drawn->left - band.left(), bold->left, 1);
    EXPECT_NEAR(drawn->right - band.left(), bold->right, 1);

    // Bold, not regular: the same words in the regular weight carry less
    // ink, which the page's caption has as much of as the bold reference.
    const auto inkCount = [](const QImage& image, QRect area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                count += darkerThanMidGrey(image.pixel(x, y)) ? 1 : 0;
        }
        return count;
    };
    const auto referenceInk = [&](bool isBold) {
        QImage image(band.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(chartFont(isBold));
        painter.setPen(QColor(0x33, 0x33, 0x33));
        painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, lead + u"Options"_s);
        painter.end();
        return inkCount(image, image.rect());
    };
    const int regularInk = referenceInk(false);
    const int boldInk = referenceInk(true);
    ASSERT_GT(boldInk, regularInk);
    EXPECT_GT(inkCount(page, band), (regularInk + boldInk) / 2);
}

// Four criteria put the vertices up, right, down and left of the centre
// (250, 300), 100 + 20 x (rating - 5) from it. Ratings 0, 10, 5, 5 give
// (250, 300), (450, 300), (250, 400) and (150, 300): the ring closes along
// row 300 from x 150 back to the centre, left of where the first segment
// starts.
TEST(PageDetails, ProfileRingIsClosedBackToTheFirstCriterion)
{
    const int values[] = {0, 10, 5, 5};
    const Project project = scoredProject(1, {3, 3, 3, 3}, [&](int, int c) { return values[c]; });
    const QImage page = buildProfilePage(project, u"x"_s);
    for (int x = 152; x <= 248; ++x)
        EXPECT_EQ(page.pixel(x, 300), qRgb(0, 0, 255)) << "x " << x;

    // Three criteria all rated +5 reach the rim, 200 out: the last vertex is
    // at 150 degrees, (250 - 173, 300 + 100), the first straight up at
    // (250, 100). Along the closing side the red ring takes the green out of
    // the disc; the same disc without options shows what was there.
    const Project rim = scoredProject(1, {3, 3, 3}, [](int, int) { return 10; });
    const QImage rimPage = buildProfilePage(rim, u"x"_s);
    const QImage disc = buildProfilePage(scoredProject(0, {3, 3, 3}, [](int, int) { return 10; }), u"x"_s);
    ASSERT_EQ(rimPage.size(), disc.size());
    for (int step = 1; step <= 9; ++step) {
        const double share = step / 10.0;
        const int x = static_cast<int>(std::lround(77 + share * (250 - 77)));
        const int y = static_cast<int>(std::lround(400 + share * (100 - 400)));
        int greenTaken = 0;
        for (int dx = -1; dx <= 1; ++dx)
            greenTaken = std::max(greenTaken, qGreen(disc.pixel(x + dx, y)) - qGreen(rimPage.pixel(x + dx, y)));
        EXPECT_GE(greenTaken, 80) << "at " << x << ", " << y;
    }
}

// The legend right of the detail chart: one line per criterion from
// (370, 222), 12 apart, counting from 1 like the numbers on the chart.
TEST(PageDetails, DetailLegendCountsFromOne)
{
    const LoadedCharts charts;
    ASSERT_NE(charts.library(), nullptr) << charts.error().toStdString();
    Project project;
    project.appendOption(u"Car"_s);
    project.appendCriterion(u"Price"_s, 4);
    project.appendCriterion(u"Noise"_s, 2);
    project.appendRating(0, 0, QString(), 8);
    project.appendRating(0, 1, QString(), 3);
    ComputeScores(project);
    const QImage page = buildDetailPage(project, 0, u"x"_s, charts.library(), charts.folder());
    ASSERT_EQ(page.size(), QSize(700, 540));

    const QSize line(150, 12);
    const struct {
        int top;
        QString expected;
        QString offByOne;
    } lines[] = {{222, u"1: Price"_s, u"0: Price"_s}, {234, u"2: Noise"_s, u"1: Noise"_s}};
    for (const auto& l : lines) {
        const QImage drawn = page.copy(QRect(QPoint(370, l.top), line));
        const QImage expected = referenceLine(l.expected, line, page.format());
        ASSERT_NE(referenceLine(l.offByOne, line, page.format()), expected);
        EXPECT_EQ(drawn, expected) << l.expected.toStdString();
    }
    // Nothing under the last line.
    EXPECT_TRUE(allWhite(page, QRect(370, 246, 150, 20)));
}

// The profile's legend numbers the criteria from 1 as its spokes do. With one
// option the criteria's heading stands at 65 + 14 + 20 = 99, and the lines
// follow 5 + 14 below it and 14 apart, each number in grey bold at x 490,
// the name from x 510.
TEST(PageDetails, ProfileLegendCountsFromOne)
{
    const Project project = scoredProject(1, {3, 3, 3}, [](int, int) { return 5; });
    const QImage page = buildProfilePage(project, u"x"_s);
    ASSERT_EQ(page.size(), QSize(700, 530));

    const QSize number(20, 14);
    const QColor grey(0xA0, 0xA0, 0xA0);
    for (int criterion = 1; criterion <= 3; ++criterion) {
        const int top = 104 + 14 * criterion;
        const QImage drawn = page.copy(QRect(QPoint(490, top), number));
        const QImage expected = referenceLine(QString::number(criterion) + u": "_s, number, page.format(),
                                              FontRole::ProfileLegendBold, grey);
        const QImage offByOne = referenceLine(QString::number(criterion - 1) + u": "_s, number, page.format(),
                                              FontRole::ProfileLegendBold, grey);
        ASSERT_NE(offByOne, expected);
        EXPECT_EQ(drawn, expected) << "criterion " << criterion << " at row " << top;
    }
}

TEST(PageDetails, WrappedTextUnderAClipSendsOnlyTheLinesInIt)
{
    // Twenty lines of the same width, clipped to the first two: a recording
    // of what was sent holds about a tenth of what the unclipped text sends.
    const QString lines = QString(u"88\n"_s).repeated(19) + u"88"_s;
    const QFont font = programFont(FontRole::PageValue);
    const int lineHeight = textHeight(u"88"_s, font, 200);
    const auto sentBytes = [&](std::optional<QRect> clip) {
        QPicture sent;
        QPainter painter(&sent);
        if (clip)
            painter.setClipRect(*clip);
        EXPECT_EQ(drawWrappedText(painter, 0, 0, 200, lines, font, Qt::black), 20 * lineHeight);
        painter.end();
        return sent.size();
    };
    const uint whole = sentBytes(std::nullopt);
    const uint clipped = sentBytes(QRect(0, 0, 200, 2 * lineHeight));
    EXPECT_LT(clipped, whole / 4) << clipped << " of " << whole;
}
