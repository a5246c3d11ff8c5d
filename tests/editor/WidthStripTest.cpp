#include "editor/WidthStrip.h"
#include "editor/CellTexts.h"

#include <gtest/gtest.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

// "Low", "Medium" and "High" are 13 letters of about 4 pixels; what is left
// of the 120-pixel column and its extra width goes, at 4 pixels a blank, half
// into each of the two gaps, and a wider column adds a blank per 10 pixels:
// (120 - 52) / 4 / 2 = 8; (220 - 52) / 4 / 2 + 10 = 31;
// (397 - 52) / 4 / 2 + 27 = 43 + 27 = 70, each division rounded down.
TEST(WidthRules, LegendSpreadsItsWordsOverTheColumn)
{
    const struct {
        int extra;
        int blanks;
    } cases[] = {{0, 8}, {100, 31}, {277, 70}};
    for (const auto& c : cases) {
        const QString gap(c.blanks, u' ');
        EXPECT_EQ(legendText(c.extra), u"Low"_s + gap + u"Medium"_s + gap + u"High"_s) << c.extra;
    }
}

TEST(WidthRules, StripClicksAreLimited)
{
    EXPECT_EQ(criteriaAddWidthForClick(3), 0);
    EXPECT_EQ(criteriaAddWidthForClick(5), 5);
    EXPECT_EQ(criteriaAddWidthForClick(277), 277);
    EXPECT_EQ(criteriaAddWidthForClick(279), 277);
}
