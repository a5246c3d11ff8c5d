// The profile's anti-aliased line and blend against pixels worked out by hand
// from the 16.16 fixed-point steps.
#include "evaluation/ResultPages.h"

#include <QImage>

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace ponderix;

namespace {

using Pixels = std::map<std::pair<int, int>, QRgb>;

struct LineCase {
    const char* name;
    int x1, y1, x2, y2;
    QRgb colour;
    Pixels expected; // every other pixel stays white
};

QImage whiteImage()
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void expectPixels(const QImage& image, const Pixels& expected, const char* name)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const auto found = expected.find({x, y});
            const QRgb want = found == expected.end() ? qRgb(255, 255, 255) : found->second;
            EXPECT_EQ(image.pixel(x, y), want) << name << " at (" << x << ", " << y << ")";
        }
    }
}

} // namespace

TEST(AntiAliasedLine, MatchesHandComputedPixels)
{
    // Flat (0,0)-(4,1), black: g = 65536 / 4 = 16384; the three inner
    // columns get coverages 191/64, 127/128, 63/192 over white.
    const Pixels flat = {{{0, 0}, qRgb(0, 0, 0)},       {{4, 1}, qRgb(0, 0, 0)},       {{1, 0}, qRgb(63, 63, 63)},
                         {{1, 1}, qRgb(190, 190, 190)}, {{2, 0}, qRgb(127, 127, 127)}, {{2, 1}, qRgb(126, 126, 126)},
                         {{3, 0}, qRgb(191, 191, 191)}, {{3, 1}, qRgb(62, 62, 62)}};
    // Steep (1,0)-(0,3), red: g = -65536 / 3 = -21845 (truncated), f from
    // 65536: rows 1 and 2 split 85/170 and 170/85 between columns 0 and 1.
    const Pixels steep = {{{1, 0}, qRgb(255, 0, 0)},   {{0, 3}, qRgb(255, 0, 0)},   {{0, 1}, qRgb(253, 169, 169)},
                          {{1, 1}, qRgb(253, 84, 84)}, {{0, 2}, qRgb(253, 84, 84)}, {{1, 2}, qRgb(253, 169, 169)}};
    // |dx| = |dy| takes the steep branch; coverage 0 still scales the old
    // channel by 255/256, so white next to the diagonal becomes 254.
    const Pixels diagonal = {{{0, 0}, qRgb(0, 0, 255)},     {{3, 3}, qRgb(0, 0, 255)}, {{1, 1}, qRgb(0, 0, 254)},
                             {{2, 1}, qRgb(254, 254, 254)}, {{2, 2}, qRgb(0, 0, 254)}, {{3, 2}, qRgb(254, 254, 254)}};
    Pixels row;
    for (int x = 2; x <= 6; ++x)
        row[{x, 4}] = qRgb(0, 205, 0);
    Pixels column;
    for (int y = 5; y >= 1; --y)
        column[{7, y}] = qRgb(0, 205, 0);
    // Lines running out of the 8 x 6 picture keep to it: a pixel beyond a
    // row's end would land at the start of the next row.
    Pixels acrossARow;
    for (int x = 0; x <= 7; ++x)
        acrossARow[{x, 2}] = qRgb(0, 205, 0);
    Pixels downAColumn;
    for (int y = 0; y <= 5; ++y)
        downAColumn[{7, y}] = qRgb(0, 205, 0);
    // (-2,-2)-(9,9): g = 65536, coverage 255 on the diagonal and 0 right of
    // it, as in "diagonal", for the rows 0..5 inside the picture.
    Pixels throughACorner;
    for (int y = 0; y <= 5; ++y) {
        throughACorner[{y, y}] = qRgb(0, 0, 254);
        throughACorner[{y + 1, y}] = qRgb(254, 254, 254);
    }

    const LineCase cases[] = {
        {"flat", 0, 0, 4, 1, qRgb(0, 0, 0), flat},
        {"flat, drawn right to left", 4, 1, 0, 0, qRgb(0, 0, 0), flat},
        {"steep", 1, 0, 0, 3, qRgb(255, 0, 0), steep},
        {"steep, drawn upwards", 0, 3, 1, 0, qRgb(255, 0, 0), steep},
        {"diagonal", 0, 0, 3, 3, qRgb(0, 0, 255), diagonal},
        {"along a row: plain", 6, 4, 2, 4, qRgb(0, 205, 0), row},
        {"along a column: plain", 7, 1, 7, 5, qRgb(0, 205, 0), column},
        {"a single point", 3, 3, 3, 3, qRgb(1, 2, 3), {{{3, 3}, qRgb(1, 2, 3)}}},
        {"across a row, out at both ends", -20, 2, 30, 2, qRgb(0, 205, 0), acrossARow},
        {"down the last column, out at both ends", 7, 40, 7, -3, qRgb(0, 205, 0), downAColumn},
        {"through a corner and out", -2, -2, 9, 9, qRgb(0, 0, 255), throughACorner},
        {"wholly outside", 9, -1, 20, 40, qRgb(0, 0, 0), {}},
    };
    for (const LineCase& line : cases) {
        QImage image = whiteImage();
        drawAntiAliasedLine(image, line.x1, line.y1, line.x2, line.y2, line.colour);
        expectPixels(image, line.expected, line.name);
    }
}

TEST(BlendPixel, RoundsEachHalfDownSeparately)
{
    struct Case {
        QRgb old;
        int red, green, blue, coverage;
        QRgb expected;
    };
    const Case cases[] = {
        // (200 * 128) >> 8 = 100 and (100 * 127) >> 8 = 49.
        {qRgb(100, 100, 100), 200, 200, 200, 128, qRgb(149, 149, 149)},
        {qRgb(255, 255, 255), 0, 0, 0, 255, qRgb(0, 0, 0)},
        // Full coverage of white still loses one step: (255 * 255) >> 8 = 254.
        {qRgb(0, 0, 0), 255, 255, 255, 255, qRgb(254, 254, 254)},
        {qRgb(10, 20, 30), 250, 0, 90, 0, qRgb(9, 19, 29)},
        {qRgb(0x62, 0x74, 0xCD), 0xFF, 0x00, 0x00, 64, qRgb(63 + 73, 86, 152)},
    };
    for (const Case& c : cases) {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, c.old);
        blendPixel(image, 0, 0, c.red, c.green, c.blue, c.coverage);
        EXPECT_EQ(image.pixel(0, 0), c.expected) << "coverage " << c.coverage;
    }
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    blendPixel(image, 1, 0, 0, 0, 0, 255);
    blendPixel(image, 0, -1, 0, 0, 0, 255);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
}
