#include "base/BuiltInImages.h"

#include <gtest/gtest.h>

#include <QColor>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using ponderix::BuiltInImages;

const BuiltInImages& images()
{
    return BuiltInImages::instance();
}

std::string colourName(QRgb colour)
{
    return QColor::fromRgba(colour).name(QColor::HexArgb).toStdString();
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)),
                     std::abs(qAlpha(a) - qAlpha(b))});
}

struct Picture {
    const char* name;
    const QImage* image;
    QSize size;
};

std::vector<Picture> icons()
{
    const BuiltInImages& all = images();
    return {
        {"add", &all.addIcon, {24, 24}},
        {"delete", &all.deleteIcon, {24, 24}},
        {"logo", &all.logo, {64, 64}},
        {"comment present", &all.commentPresent, {24, 24}},
        {"comment absent", &all.commentAbsent, {24, 24}},
        {"toolbar New", &all.toolbarIcons[BuiltInImages::New], {48, 48}},
        {"toolbar Open", &all.toolbarIcons[BuiltInImages::Open], {48, 48}},
        {"toolbar Save", &all.toolbarIcons[BuiltInImages::Save], {48, 48}},
        {"toolbar Results", &all.toolbarIcons[BuiltInImages::Results], {48, 48}},
        {"toolbar Profile", &all.toolbarIcons[BuiltInImages::Profile], {48, 48}},
        {"toolbar Report", &all.toolbarIcons[BuiltInImages::Report], {48, 48}},
        {"arrow left", &all.arrowLeft, {12, 12}},
        {"arrow right", &all.arrowRight, {12, 12}},
        {"arrow up", &all.arrowUp, {12, 12}},
        {"arrow down", &all.arrowDown, {12, 12}},
    };
}

std::vector<Picture> backgrounds()
{
    const BuiltInImages& all = images();
    return {
        {"scale", &all.scaleBackground, {120, 20}},
        {"detail", &all.detailBackground, {340, 340}},
        {"profile", &all.profileBackground, {400, 400}},
    };
}

TEST(BuiltInImagesTest, EveryPictureHasItsFixedSize)
{
    std::vector<Picture> pictures = icons();
    const std::vector<Picture> rest = backgrounds();
    pictures.insert(pictures.end(), rest.begin(), rest.end());
    ASSERT_EQ(pictures.size(), 18u);
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.name);
        EXPECT_EQ(picture.image->size(), picture.size);
        EXPECT_EQ(picture.image->depth(), 32);
    }
}

TEST(BuiltInImagesTest, IconsAreShapesOnATransparentGround)
{
    for (const Picture& icon : icons()) {
        SCOPED_TRACE(icon.name);
        const QImage& image = *icon.image;
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(image.hasAlphaChannel());
        const int last = image.width() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << "corner " << corner.x() << "," << corner.y();

        // A shape, not a speck: at least a tenth of the square is solidly covered.
        int solid = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                solid += qAlpha(image.pixel(x, y)) > 200 ? 1 : 0;
        EXPECT_GE(solid * 10, image.width() * image.height());
    }
}

TEST(BuiltInImagesTest, PicturesThatMeanDifferentThingsLookDifferent)
{
    const BuiltInImages& all = images();
    for (int a = 0; a < BuiltInImages::ToolbarCount; ++a)
        for (int b = a + 1; b < BuiltInImages::ToolbarCount; ++b)
            EXPECT_NE(all.toolbarIcons[static_cast<std::size_t>(a)], all.toolbarIcons[static_cast<std::size_t>(b)])
                << "toolbar icons " << a << " and " << b;
    EXPECT_NE(all.addIcon, all.deleteIcon);
    EXPECT_NE(all.commentPresent, all.commentAbsent);
    const QImage* arrows[] = {&all.arrowLeft, &all.arrowRight, &all.arrowUp, &all.arrowDown};
    for (std::size_t a = 0; a < std::size(arrows); ++a)
        for (std::size_t b = a + 1; b < std::size(arrows); ++b)
            EXPECT_NE(*arrows[a], *arrows[b]) << "arrows " << a << " and " << b;
}

TEST(BuiltInImagesTest, BackgroundsAreOpaqueEverywhere)
{
    for (const Picture& background : backgrounds()) {
        SCOPED_TRACE(background.name);
        int translucent = 0;
        for (int y = 0; y < background.image->height(); ++y)
            for (int x = 0; x < background.image->width(); ++x)
                translucent += qAlpha(background.image->pixel(x, y)) != 255 ? 1 : 0;
        EXPECT_EQ(translucent, 0);
    }
}

// The pages lay text and points over these colours, so they are checked where
// the views rely on them: the ends and middle of each gradient, the pale bottom
// of the detail square and the white around it, the rings of the profile disc.
TEST(BuiltInImagesTest, BackgroundsCarryTheirGradients)
{
    const BuiltInImages& all = images();
    struct Probe {
        const char* what;
        const QImage& image;
        QPoint at;
        QRgb expected;
        int tolerance;
    };
    const Probe probes[] = {
        {"scale left edge", all.scaleBackground, {0, 10}, 0xFFFF0000, 2},
        {"scale quarter", all.scaleBackground, {30, 0}, 0xFFFF8200, 8},
        {"scale middle", all.scaleBackground, {60, 19}, 0xFFFFFF00, 8},
        {"scale right edge", all.scaleBackground, {119, 10}, 0xFF00CC33, 2},

        {"detail left of square", all.detailBackground, {53, 35}, 0xFFFFFFFF, 0},
        {"detail above square", all.detailBackground, {54, 34}, 0xFFFFFFFF, 0},
        {"detail right of square", all.detailBackground, {326, 200}, 0xFFFFFFFF, 0},
        {"detail below square", all.detailBackground, {100, 299}, 0xFFFFFFFF, 0},
        {"detail top left", all.detailBackground, {54, 35}, 0xFFFF0000, 2},
        {"detail top quarter", all.detailBackground, {122, 35}, 0xFFFF4100, 8},
        {"detail top middle", all.detailBackground, {190, 35}, 0xFFFFFF00, 8},
        {"detail top right", all.detailBackground, {325, 35}, 0xFF00CC33, 2},
        {"detail left, upper third", all.detailBackground, {54, 110}, 0xFFFF0000, 2},
        {"detail left, mid-height", all.detailBackground, {54, 166}, 0xFFFF3F3F, 8},
        {"detail left, bottom row", all.detailBackground, {54, 298}, 0xFFFFE0E0, 6},
        {"detail right, bottom row", all.detailBackground, {325, 298}, 0xFFE0F9E6, 6},

        {"profile top left corner", all.profileBackground, {0, 0}, 0xFFFFFFFF, 0},
        {"profile top right corner", all.profileBackground, {399, 0}, 0xFFFFFFFF, 0},
        {"profile bottom left corner", all.profileBackground, {0, 399}, 0xFFFFFFFF, 0},
        {"profile bottom right corner", all.profileBackground, {399, 399}, 0xFFFFFFFF, 0},
        {"profile centre", all.profileBackground, {200, 200}, 0xFFFF7675, 3},
        {"profile radius 50", all.profileBackground, {200, 150}, 0xFFFFBA75, 4},
        {"profile neutral ring", all.profileBackground, {300, 200}, 0xFFFFFF75, 4},
        {"profile radius 150", all.profileBackground, {200, 350}, 0xFFBAFF75, 4},
        {"profile rim, right", all.profileBackground, {399, 200}, 0xFF76FF75, 4},
        {"profile rim, top", all.profileBackground, {200, 0}, 0xFF76FF75, 4},
    };
    for (const Probe& probe : probes) {
        const QRgb actual = probe.image.pixel(probe.at);
        EXPECT_LE(channelDistance(actual, probe.expected), probe.tolerance)
            << probe.what << " at " << probe.at.x() << "," << probe.at.y() << ": " << colourName(actual)
            << ", expected " << colourName(probe.expected);
    }
}

TEST(BuiltInImagesTest, DetailSquareFadesOnlyDownwards)
{
    // Full colour at the top, then steadily paler: a point higher on the chart
    // (a more important criterion) never sits on a weaker colour.
    const QImage& detail = images().detailBackground;
    for (const int x : {54, 120, 190, 260, 325}) {
        int previousWhiteness = -1;
        for (int y = 35; y <= 298; ++y) {
            const QRgb colour = detail.pixel(x, y);
            const int whiteness = qRed(colour) + qGreen(colour) + qBlue(colour);
            ASSERT_GE(whiteness, previousWhiteness) << "column " << x << " row " << y;
            previousWhiteness = whiteness;
        }
    }
}

} // namespace

namespace {

using Drawn = BuiltInImages::Picture;

struct DenseCase {
    const char* name;
    Drawn which;
    const QImage* at1x;
};

std::vector<DenseCase> densePictures()
{
    const BuiltInImages& all = images();
    return {
        {"add", Drawn::Add, &all.addIcon},
        {"delete", Drawn::Delete, &all.deleteIcon},
        {"logo", Drawn::Logo, &all.logo},
        {"comment present", Drawn::CommentPresent, &all.commentPresent},
        {"comment absent", Drawn::CommentAbsent, &all.commentAbsent},
        {"toolbar New", Drawn::ToolbarNew, &all.toolbarIcons[BuiltInImages::New]},
        {"toolbar Open", Drawn::ToolbarOpen, &all.toolbarIcons[BuiltInImages::Open]},
        {"toolbar Save", Drawn::ToolbarSave, &all.toolbarIcons[BuiltInImages::Save]},
        {"toolbar Results", Drawn::ToolbarResults, &all.toolbarIcons[BuiltInImages::Results]},
        {"toolbar Profile", Drawn::ToolbarProfile, &all.toolbarIcons[BuiltInImages::Profile]},
        {"toolbar Report", Drawn::ToolbarReport, &all.toolbarIcons[BuiltInImages::Report]},
        {"scale", Drawn::Scale, &all.scaleBackground},
        {"profile background", Drawn::ProfileBackground, &all.profileBackground},
        {"arrow left", Drawn::ArrowLeft, &all.arrowLeft},
        {"arrow right", Drawn::ArrowRight, &all.arrowRight},
        {"arrow up", Drawn::ArrowUp, &all.arrowUp},
        {"arrow down", Drawn::ArrowDown, &all.arrowDown},
    };
}

// Every 2 x 2 block of `dense` averaged into one pixel, as plain ARGB.
QImage halved(const QImage& dense)
{
    const QImage source = dense.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage half(source.width() / 2, source.height() / 2, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < half.height(); ++y) {
        for (int x = 0; x < half.width(); ++x) {
            int sums[4] = {};
            for (const QPoint offset : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                const QRgb pixel = source.pixel(2 * x + offset.x(), 2 * y + offset.y());
                sums[0] += qRed(pixel);
                sums[1] += qGreen(pixel);
                sums[2] += qBlue(pixel);
                sums[3] += qAlpha(pixel);
            }
            half.setPixel(x, y, qRgba((sums[0] + 2) / 4, (sums[1] + 2) / 4, (sums[2] + 2) / 4, (sums[3] + 2) / 4));
        }
    }
    return half;
}

} // namespace

TEST(BuiltInImagesTest, DrawnForADenseScreenWithMorePixelsOfTheSameSize)
{
    for (const DenseCase& picture : densePictures()) {
        SCOPED_TRACE(picture.name);
        const QSize logical = picture.at1x->size();
        // 1x is the very picture the program has always shown.
        const QImage once = BuiltInImages::draw(picture.which, 1.0);
        EXPECT_EQ(once.convertToFormat(QImage::Format_ARGB32), picture.at1x->convertToFormat(QImage::Format_ARGB32));
        EXPECT_EQ(once.devicePixelRatio(), 1.0);
        // Whole pixels, rounded up: 12 x 1.3 = 15.6 takes 16.
        for (const auto& [ratio, scaled] :
             {std::pair{2.0, logical * 2}, std::pair{1.25, logical * 5 / 4},
              std::pair{1.3, QSize((logical.width() * 13 + 9) / 10, (logical.height() * 13 + 9) / 10)}}) {
            const QImage dense = BuiltInImages::draw(picture.which, ratio);
            EXPECT_EQ(dense.size(), scaled) << ratio;
            EXPECT_EQ(dense.devicePixelRatio(), ratio);
            // Rounding up adds less than a pixel of the layout.
            const QSizeF size = dense.deviceIndependentSize();
            EXPECT_GE(size.width(), logical.width()) << ratio;
            EXPECT_LT(size.width(), logical.width() + 1) << ratio;
            EXPECT_GE(size.height(), logical.height()) << ratio;
            EXPECT_LT(size.height(), logical.height() + 1) << ratio;
        }
    }
}

TEST(BuiltInImagesTest, DensePicturesShowTheSameShapes)
{
    for (const DenseCase& picture : densePictures()) {
        SCOPED_TRACE(picture.name);
        const QImage half = halved(BuiltInImages::draw(picture.which, 2.0));
        const QImage once = picture.at1x->convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(half.size(), once.size());
        // Edges fall differently on finer pixels; the shapes and colours
        // must not. Most pixels agree closely, a few edge pixels loosely.
        int far = 0;
        for (int y = 0; y < once.height(); ++y)
            for (int x = 0; x < once.width(); ++x)
                far += channelDistance(half.pixel(x, y), once.pixel(x, y)) > 40 ? 1 : 0;
        EXPECT_LE(far * 20, once.width() * once.height()) << far << " pixels far off";
    }
}

TEST(BuiltInImagesTest, DensityOutsideTheUsefulRangeIsHeldToIt)
{
    const QSize arrow(12, 12);
    EXPECT_EQ(BuiltInImages::draw(Drawn::ArrowUp, 0.5).size(), arrow);
    EXPECT_EQ(BuiltInImages::draw(Drawn::ArrowUp, 0.0).size(), arrow);
    EXPECT_EQ(BuiltInImages::draw(Drawn::ArrowUp, -3.0).size(), arrow);
    EXPECT_EQ(BuiltInImages::draw(Drawn::ArrowUp, std::nan("")).size(), arrow);
    EXPECT_EQ(BuiltInImages::draw(Drawn::ArrowUp, 8.0).size(), arrow * 8);
    EXPECT_EQ(BuiltInImages::draw(Drawn::ArrowUp, 100.0).size(), arrow * 8);
    EXPECT_EQ(BuiltInImages::draw(Drawn::ArrowUp, std::numeric_limits<double>::infinity()).size(), arrow * 8);
}

TEST(BuiltInImagesTest, DenseScaleRunsTheWholeGradientWithAColourPerColumn)
{
    const QImage scale = BuiltInImages::draw(Drawn::Scale, 2.0);
    ASSERT_EQ(scale.size(), QSize(240, 40));
    EXPECT_EQ(scale.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(scale.pixel(239, 39), 0xFF00CC33u);
    // Column 119 of 238 steps is the middle: yellow.
    EXPECT_EQ(scale.pixel(119, 20), 0xFFFFFF00u);
    // Column 179: 179/238 = 0.7521, 0.84 % of the way from 75E31C to the
    // green 00CC33: red 117 - 117 * 0.0084 = 116.0, green 227 - 23 * 0.0084
    // = 226.8, blue 28 + 23 * 0.0084 = 28.2.
    EXPECT_EQ(scale.pixel(179, 5), qRgb(116, 227, 28));
}

TEST(BuiltInImagesTest, ToolbarPicturesFollowTheToolbarOrder)
{
    EXPECT_EQ(BuiltInImages::toolbarPicture(BuiltInImages::New), Drawn::ToolbarNew);
    EXPECT_EQ(BuiltInImages::toolbarPicture(BuiltInImages::Open), Drawn::ToolbarOpen);
    EXPECT_EQ(BuiltInImages::toolbarPicture(BuiltInImages::Save), Drawn::ToolbarSave);
    EXPECT_EQ(BuiltInImages::toolbarPicture(BuiltInImages::Results), Drawn::ToolbarResults);
    EXPECT_EQ(BuiltInImages::toolbarPicture(BuiltInImages::Profile), Drawn::ToolbarProfile);
    EXPECT_EQ(BuiltInImages::toolbarPicture(BuiltInImages::Report), Drawn::ToolbarReport);
}
