#include "base/DisplayText.h"

#include <gtest/gtest.h>

#include <QString>

using namespace ponderix;
using namespace Qt::StringLiterals;

TEST(DisplayText, CutsLongTextAtACharacterBoundary)
{
    const QString ellipsis(QChar(0x2026));
    // U+1F600 as its surrogate pair.
    const QString face = QString::fromUtf16(u"\U0001F600");
    struct Case {
        QString text;
        qsizetype limit;
        QString expected;
    };
    const Case cases[] = {
        {u"short"_s, 10, u"short"_s},
        {QString(), 3, QString()},
        {u"exactly"_s, 7, u"exactly"_s},
        {u"one more"_s, 7, u"one mor"_s + ellipsis},
        // The pair would be split after "ab" and its high half: it goes whole.
        {u"ab"_s + face + u"cd"_s, 3, u"ab"_s + ellipsis},
        {u"ab"_s + face + u"cd"_s, 4, u"ab"_s + face + ellipsis},
        {face + face, 4, face + face},
        {u"abc"_s, 0, ellipsis},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(displayText(c.text, c.limit), c.expected) << c.text.toStdString() << " at " << c.limit;
        EXPECT_EQ(isCutForDisplay(c.text, c.limit), c.expected != c.text) << c.text.toStdString();
    }
}

TEST(DisplayText, BoundsAMegabyteNameByDefault)
{
    const QString name(3'000'000, u'x');
    const QString shown = displayText(name);
    EXPECT_EQ(shown.size(), 4001);
    EXPECT_EQ(shown.first(4000), QString(4000, u'x'));
    EXPECT_EQ(shown.back(), QChar(0x2026));
}

// "abcdefgh" shown cut as "abc…": the user's change to what they saw.
TEST(DisplayText, AnEditOfACutTextKeepsWhatWasNotShown)
{
    const QString e(QChar(0x2026));
    const struct {
        QString whole, before, after, expected;
    } cases[] = {
        {u"abcdefgh"_s, u"abc"_s + e, u"aXbc"_s + e, u"aXbcdefgh"_s},
        {u"abcdefgh"_s, u"abc"_s + e, u"ab"_s + e, u"abdefgh"_s},
        {u"abcdefgh"_s, u"abc"_s + e, u"abc"_s + e + u"Z"_s, u"abcdefghZ"_s},
        {u"abcdefgh"_s, u"abc"_s + e, u"abc"_s, u"abc"_s}, // the "…" itself deleted
        {u"abc"_s, u"abc"_s, u"abd"_s, u"abd"_s},          // nothing was hidden
        {u"aaaaaaa"_s, u"aa"_s + e, u"aaa"_s + e, u"aaaaaaaa"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withShownEdit(c.whole, c.before, c.after), c.expected) << c.after.toStdString();
}
