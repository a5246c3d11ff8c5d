// The private folders on disk: what is made, tightened, emptied or refused.
#include "platform/Folders.h"
#include "base/TextTable.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// Someone who is not the user running the tests: "nobody".
constexpr uid_t kOtherUser = 65534;

// Sets an environment variable for the life of the object, then restores it.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::optional<QByteArray>& value)
        : m_name(name), m_old(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        value ? qputenv(name, *value) : qunsetenv(name);
    }
    ~EnvironmentVariable() { m_old ? qputenv(m_name, *m_old) : qunsetenv(m_name); }

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

mode_t modeOf(const QString& path)
{
    struct stat facts { };
    EXPECT_EQ(lstat(QFile::encodeName(path).constData(), &facts), 0) << path.toStdString();
    return facts.st_mode & 07777;
}

bool setMode(const QString& path, mode_t mode)
{
    return chmod(QFile::encodeName(path).constData(), mode) == 0;
}

class PrivateFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_sandbox.isValid()); }

    QString path(const QString& name) const { return m_sandbox.filePath(name); }

    // A folder with `mode` holding a file, a subfolder with a file, a link to
    // a file outside and a link that leads nowhere.
    QString filledFolder(const QString& name, mode_t mode)
    {
        const QString folder = path(name);
        EXPECT_TRUE(QDir().mkpath(folder + u"/sub"_s));
        EXPECT_TRUE(writeBytes(folder + u"/settings.ini"_s, "mine"));
        EXPECT_TRUE(writeBytes(folder + u"/sub/notes.txt"_s, "also mine"));
        EXPECT_TRUE(writeBytes(path(u"victim.txt"_s), "the user's own file"));
        EXPECT_TRUE(QFile::link(path(u"victim.txt"_s), folder + u"/TempDetailBG.bmp"_s));
        EXPECT_TRUE(QFile::link(path(u"nowhere"_s), folder + u"/.hidden"_s));
        EXPECT_TRUE(setMode(folder, mode));
        return folder;
    }

    static QStringList contents(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Name);
    }

    QTemporaryDir m_sandbox;
};

} // namespace

TEST_F(PrivateFolderTest, ANewFolderAndItsParentsAreMadeForTheUserAlone)
{
    const QString folder = path(u"fresh/home/Ponderix/"_s);
    EXPECT_TRUE(makePrivateFolder(folder, ForeignContents::Keep));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(modeOf(folder), 0700u);
}

TEST_F(PrivateFolderTest, AnOpenSettingsFolderIsClosedAndKeepsEverything)
{
    // 755 lets everybody read the settings and the recent projects' paths.
    for (const mode_t mode : {0755u, 0777u}) {
        const QString folder = filledFolder(u"config-%1"_s.arg(mode, 0, 8), mode);
        const QStringList before = contents(folder);
        EXPECT_TRUE(makePrivateFolder(folder, ForeignContents::Keep)) << std::oct << mode;
        EXPECT_EQ(modeOf(folder), 0700u) << std::oct << mode;
        EXPECT_EQ(contents(folder), before) << std::oct << mode;
        EXPECT_EQ(readBytes(folder + u"/settings.ini"_s), "mine");
    }
}

TEST_F(PrivateFolderTest, AScratchFolderOthersCouldWriteIntoStartsEmpty)
{
    for (const mode_t mode : {0777u, 0770u, 0702u}) {
        const QString folder = filledFolder(u"scratch-%1"_s.arg(mode, 0, 8), mode);
        EXPECT_TRUE(makePrivateFolder(folder, ForeignContents::Discard)) << std::oct << mode;
        EXPECT_EQ(modeOf(folder), 0700u) << std::oct << mode;
        EXPECT_EQ(contents(folder), QStringList()) << std::oct << mode;
        // The links went, not what they led to.
        EXPECT_EQ(readBytes(path(u"victim.txt"_s)), "the user's own file");
    }
    // Readable by others but not writable: nothing can have been planted.
    const QString readable = filledFolder(u"scratch-755"_s, 0755);
    const QStringList before = contents(readable);
    EXPECT_TRUE(makePrivateFolder(readable, ForeignContents::Discard));
    EXPECT_EQ(modeOf(readable), 0700u);
    EXPECT_EQ(contents(readable), before);
}

TEST_F(PrivateFolderTest, WhatCannotBeTheUsersOwnFolderIsRefusedWithItsReason)
{
    ASSERT_TRUE(writeBytes(path(u"file"_s), "a file where the folder should be"));
    PrivateFolder made = makePrivateFolder(path(u"file"_s), ForeignContents::Discard);
    EXPECT_FALSE(made);
    EXPECT_EQ(made.problem, path(u"file"_s) + u": Not a directory"_s);
    EXPECT_EQ(readBytes(path(u"file"_s)), "a file where the folder should be");

    made = makePrivateFolder(path(u"file/Ponderix/"_s), ForeignContents::Discard);
    EXPECT_EQ(made.problem, path(u"file/Ponderix"_s) + u": Not a directory"_s);

    ASSERT_TRUE(QDir().mkpath(path(u"elsewhere"_s)));
    ASSERT_TRUE(QFile::link(path(u"elsewhere"_s), path(u"link"_s)));
    made = makePrivateFolder(path(u"link/"_s), ForeignContents::Discard);
    EXPECT_EQ(made.problem, path(u"link"_s) + u": "_s + uiText(TextKey::TXT00523));
}

TEST_F(PrivateFolderTest, AnotherUsersFolderIsRefusedAndLeftAsItIs)
{
    QString foreign = u"/"_s;
    if (getuid() == 0) {
        // Running as root: make one that belongs to somebody else.
        foreign = filledFolder(u"theirs"_s, 0777);
        ASSERT_EQ(lchown(QFile::encodeName(foreign).constData(), kOtherUser, kOtherUser), 0);
    }
    const QStringList before = contents(foreign);
    const mode_t modeBefore = modeOf(foreign);
    const PrivateFolder made = makePrivateFolder(foreign, ForeignContents::Discard);
    EXPECT_EQ(made.problem, QDir::cleanPath(foreign) + u": "_s + uiText(TextKey::TXT00522));
    EXPECT_EQ(modeOf(foreign), modeBefore);
    EXPECT_EQ(contents(foreign), before);
}

TEST_F(PrivateFolderTest, TheFallbackTemporaryFolderIsNamedForTheUser)
{
    const EnvironmentVariable tmp("TMPDIR", QFile::encodeName(m_sandbox.path()));
    const QString uid = QString::number(getuid());
    {
        const EnvironmentVariable runtime("XDG_RUNTIME_DIR", std::nullopt);
        EXPECT_EQ(resolveFolders().temporary, m_sandbox.path() + u"/Ponderix-"_s + uid + u'/');
    }
    {
        // A runtime folder that does not exist is no place for it either.
        const EnvironmentVariable runtime("XDG_RUNTIME_DIR", QFile::encodeName(path(u"gone"_s)));
        EXPECT_EQ(resolveFolders().temporary, m_sandbox.path() + u"/Ponderix-"_s + uid + u'/');
    }
    const EnvironmentVariable runtime("XDG_RUNTIME_DIR", QFile::encodeName(m_sandbox.path()));
    EXPECT_EQ(resolveFolders().temporary, m_sandbox.path() + u"/Ponderix/"_s);
}

TEST_F(PrivateFolderTest, AnotherUsersFolderInASharedTmpDoesNotStandInTheWay)
{
    // Another user ran the program first and owns the bare name; this user's
    // folder carries the user id and is made beside it.
    const EnvironmentVariable tmp("TMPDIR", QFile::encodeName(m_sandbox.path()));
    const EnvironmentVariable runtime("XDG_RUNTIME_DIR", std::nullopt);
    ASSERT_TRUE(QDir().mkpath(path(u"Ponderix"_s)));
    ASSERT_TRUE(writeBytes(path(u"Ponderix/RMChart.dll"_s), "theirs"));
    if (getuid() == 0) {
        ASSERT_EQ(lchown(QFile::encodeName(path(u"Ponderix"_s)).constData(), kOtherUser, kOtherUser), 0);
    }
    const QString temporary = resolveFolders().temporary;
    EXPECT_TRUE(makePrivateFolder(temporary, ForeignContents::Discard));
    EXPECT_EQ(contents(temporary), QStringList());
    EXPECT_EQ(readBytes(path(u"Ponderix/RMChart.dll"_s)), "theirs");
}
