#include "editor/WidthStrip.h"
#include "base/TextTable.h"
#include "editor/CellTexts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ponderix;

TEST(WidthRules, LegendSpreadsItsWordsOverTheColumn)
{
    const QString low = uiText(TextKey::TXT00196);
    const QString medium = uiText(TextKey::TXT00197);
    const QString high = uiText(TextKey::TXT00198);
    const int letters = static_cast<int>(low.size() + medium.size() + high.size());
    for (int extra : {0, 100, 277, 500}) {
        const int blanks = ((extra + 120 - 4 * letters) / 4) / 2 + extra / 10;
        const QString gap(std::max(blanks, 0), u' ');
        EXPECT_EQ(legendText(extra), low + gap + medium + gap + high) << extra;
    }
}

TEST(WidthRules, StripClicksAreLimited)
{
    EXPECT_EQ(criteriaAddWidthForClick(3), 0);
    EXPECT_EQ(criteriaAddWidthForClick(5), 5);
    EXPECT_EQ(criteriaAddWidthForClick(277), 277);
    EXPECT_EQ(criteriaAddWidthForClick(279), 277);
}
