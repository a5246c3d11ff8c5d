#include "app/SettingsFile.h"
#include "app/StartupRules.h"
#include "app/TextTable.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

TEST(StartupRules, SmallDesktopsGetShorterWindows)
{
    EXPECT_EQ(defaultWindowSize(600), QSize(760, 540));
    EXPECT_EQ(defaultWindowSize(601), QSize(760, 630));
    EXPECT_EQ(resultWindowSize(480), QSize(760, 540));
}

TEST(StartupRules, StoredGeometryOnlyWhenUsable)
{
    Settings settings;
    settings.WindowPosLeft = 0;
    settings.WindowPosTop = 10;
    settings.WindowPosWidth = 800;
    settings.WindowPosHeight = 600;
    EXPECT_EQ(storedWindowGeometry(settings), QRect(0, 10, 800, 600));
    const auto without = [&settings](int Settings::*field, int value) {
        Settings changed = settings;
        changed.*field = value;
        return storedWindowGeometry(changed);
    };
    EXPECT_FALSE(without(&Settings::WindowPosLeft, -1).has_value());
    EXPECT_FALSE(without(&Settings::WindowPosTop, -5).has_value());
    EXPECT_FALSE(without(&Settings::WindowPosWidth, 0).has_value());
    Settings flat = settings;
    flat.WindowPosHeight = 0;
    EXPECT_FALSE(storedWindowGeometry(flat).has_value());
}

TEST(StartupRules, LegendSpreadsItsWordsOverTheColumn)
{
    const TextTable& texts = TextTable::builtIn();
    const QString low = texts.text(u"TXT00196");
    const QString medium = texts.text(u"TXT00197");
    const QString high = texts.text(u"TXT00198");
    const int letters = static_cast<int>(low.size() + medium.size() + high.size());
    for (int extra : {0, 100, 277, 500}) {
        const int blanks = ((extra + 120 - 4 * letters) / 4) / 2 + extra / 10;
        const QString gap(std::max(blanks, 0), u' ');
        EXPECT_EQ(legendText(texts, extra), low + gap + medium + gap + high) << extra;
    }
}

TEST(StartupRules, OnlyAbsoluteNonEmptyProjectFilesOpenAtStartup)
{
    QTemporaryDir folder;
    const QString upper = folder.filePath(u"Cars.PNX"_s);
    const QString empty = folder.filePath(u"empty.pnx"_s);
    const QString other = folder.filePath(u"notes.txt"_s);
    ASSERT_TRUE(writeBytes(upper, "<Ponderix/>"));
    ASSERT_TRUE(writeBytes(empty, ""));
    ASSERT_TRUE(writeBytes(other, "x"));
    EXPECT_TRUE(isOpenableAtStartup(upper));
    EXPECT_FALSE(isOpenableAtStartup(empty));
    EXPECT_FALSE(isOpenableAtStartup(other));
    EXPECT_FALSE(isOpenableAtStartup(folder.filePath(u"missing.pnx"_s)));
    EXPECT_FALSE(isOpenableAtStartup(u"Cars.pnx"_s));
    EXPECT_FALSE(isOpenableAtStartup(QString()));
    EXPECT_FALSE(isOpenableAtStartup(folder.path() + u"/.pnx"_s));
}

TEST(StartupRules, BannerDropsTheLastFourCharacters)
{
    EXPECT_EQ(bannerForFile(u"/home/u/Cars.pnx"_s), u"Cars"_s);
    EXPECT_EQ(bannerForFile(u"/x/Projekt.PNX.pnx"_s), u"Projekt.PNX"_s);
    EXPECT_EQ(bannerForFile(u"/x/a.pnx"_s), u"a"_s);
    EXPECT_EQ(bannerForFile(u"/x/.pnx"_s), QString());
    EXPECT_EQ(bannerForFile(u"/x/Readme"_s), u"Re"_s);
}

TEST(StartupRules, StripClicksAreLimited)
{
    EXPECT_EQ(criteriaAddWidthForClick(3), 0);
    EXPECT_EQ(criteriaAddWidthForClick(5), 5);
    EXPECT_EQ(criteriaAddWidthForClick(277), 277);
    EXPECT_EQ(criteriaAddWidthForClick(279), 277);
}
