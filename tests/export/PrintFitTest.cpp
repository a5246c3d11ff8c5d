// The size a page picture is printed at: whole millimetres of the printable
// area, and printer pixels from them.
#include "export/PrintFit.h"

#include <gtest/gtest.h>

using namespace ponderix;

TEST(PrintFit, RoundsHalvesToTheEvenNeighbour)
{
    const struct {
        float value;
        int rounded;
    } cases[] = {{0.5f, 0},   {1.5f, 2},  {2.5f, 2},  {3.5f, 4},       {-2.5f, -2},
                 {-3.5f, -4}, {2.49f, 2}, {2.51f, 3}, {142.857f, 143}, {-0.2f, 0}};
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
