#include "app/ProjectFiles.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

TEST(ProjectFileRules, OnlyAbsoluteNonEmptyProjectFilesOpenAtStartup)
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

TEST(ProjectFileRules, BannerDropsTheLastFourCharacters)
{
    EXPECT_EQ(bannerForFile(u"/home/u/Cars.pnx"_s), u"Cars"_s);
    EXPECT_EQ(bannerForFile(u"/x/Projekt.PNX.pnx"_s), u"Projekt.PNX"_s);
    EXPECT_EQ(bannerForFile(u"/x/a.pnx"_s), u"a"_s);
    EXPECT_EQ(bannerForFile(u"/x/.pnx"_s), QString());
    EXPECT_EQ(bannerForFile(u"/x/Readme"_s), u"Re"_s);
}
