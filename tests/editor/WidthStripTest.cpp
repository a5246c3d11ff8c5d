#include "editor/WidthStrip.h"
#include "document/CellTexts.h"

#include <QTest>

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

// The arrows move the mark by one pixel, the page keys by ten, Home and End
// to the ends; it stays within 0..277.
TEST(WidthStripKeys, EachKeyMovesTheMarkByItsStep)
{
    const struct {
        int from;
        Qt::Key key;
        int to;
    } cases[] = {
        {100, Qt::Key_Left, 99},      {100, Qt::Key_Right, 101}, {100, Qt::Key_PageUp, 90},
        {100, Qt::Key_PageDown, 110}, {100, Qt::Key_Home, 0},    {100, Qt::Key_End, 277},
        {0, Qt::Key_Left, 0},         {5, Qt::Key_PageUp, 0},    {270, Qt::Key_PageDown, 277},
        {277, Qt::Key_Right, 277},
    };
    for (const auto& c : cases) {
        WidthStrip strip(nullptr);
        strip.setMark(c.from);
        QTest::keyClick(&strip, c.key);
        EXPECT_EQ(strip.mark(), c.to) << "from " << c.from << ", key " << static_cast<int>(c.key);
    }
}
