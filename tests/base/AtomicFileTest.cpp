#include "base/AtomicFile.h"

#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

TEST(AtomicFile, AFullDiskIsReportedAndTheOldFileSurvives)
{
    // A tiny tmpfs fills up for real; skip where mounting is not allowed.
    QTemporaryDir mountPoint;
    const int mounted =
        QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, mountPoint.path()});
    if (mounted != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    const QString path = mountPoint.filePath(u"project.pnx"_s);
    ASSERT_TRUE(writeBytes(path, "previous"));

    const WriteResult result = writeFileAtomically(path, QByteArray(256 * 1024, 'x'));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readBytes(path), QByteArray("previous"));

    QProcess::execute(u"umount"_s, {mountPoint.path()});
}

// The commit is the last step of a write: everything has gone to the
// temporary file, and only the rename over the target remains. These cases
// make that rename fail for real, from inside the write, after the early
// checks have passed.
TEST(AtomicFile, AFailedCommitIsReportedAndLeavesTheTargetAlone)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"project.pnx"_s);
    ASSERT_TRUE(writeBytes(path, "previous"));

    // Another program puts a folder with contents where the file was while
    // the new bytes are written: no rename, not even root's, may replace a
    // folder that is not empty with a file.
    const WriteResult result = writeFileAtomically(path, [&](QIODevice& device) {
        const bool swapped = QFile::rename(path, folder.filePath(u"aside.pnx"_s))
                             && QDir(folder.path()).mkdir(u"project.pnx"_s)
                             && writeBytes(path + u"/inside.txt"_s, "kept");
        return swapped && device.write("new bytes") == 9;
    });
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readBytes(path + u"/inside.txt"_s), QByteArray("kept"));
    // Nothing is left behind but what the test itself put there.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{u"aside.pnx"_s, u"project.pnx"_s}));
}

TEST(AtomicFile, ACommitOverABusyFileIsReportedAndTheOldFileSurvives)
{
    // A file that is a mount point cannot be renamed over (EBUSY), as with a
    // bind-mounted configuration file; skip where mounting is not allowed.
    QTemporaryDir folder;
    const QString path = folder.filePath(u"project.pnx"_s);
    const QString cover = folder.filePath(u"cover.pnx"_s);
    ASSERT_TRUE(writeBytes(path, "previous"));
    ASSERT_TRUE(writeBytes(cover, "cover"));
    if (QProcess::execute(u"mount"_s, {u"--bind"_s, cover, path}) != 0)
        GTEST_SKIP() << "cannot bind-mount here";

    const WriteResult result = writeFileAtomically(path, QByteArray("new bytes"));
    QProcess::execute(u"umount"_s, {path});
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readBytes(path), QByteArray("previous"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left over
}

TEST(NewFile, ReplacesWhateverStandsAtTheNameAndNeverWritesThroughALink)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString victim = folder.filePath(u"victim.txt"_s);
    ASSERT_TRUE(writeBytes(victim, "the user's own file"));
    const QString scratch = folder.filePath(u"scratch.bmp"_s);

    // A link to a file, and one that leads nowhere.
    for (const QString& target : {victim, folder.filePath(u"nowhere"_s)}) {
        ASSERT_TRUE(QFile::link(target, scratch));
        EXPECT_TRUE(writeNewFile(scratch, "BM new").ok);
        EXPECT_FALSE(QFileInfo(scratch).isSymLink());
        EXPECT_EQ(readBytes(scratch), "BM new");
        EXPECT_EQ(readBytes(victim), "the user's own file");
        EXPECT_FALSE(QFile::exists(folder.filePath(u"nowhere"_s)));
        QFile::remove(scratch);
    }

    // A longer old file leaves nothing of itself behind.
    ASSERT_TRUE(writeBytes(scratch, "an older and longer file"));
    EXPECT_TRUE(writeNewFile(scratch, "short").ok);
    EXPECT_EQ(readBytes(scratch), "short");
    EXPECT_EQ(QFileInfo(scratch).permissions() & (QFile::ReadOther | QFile::WriteOther), 0);

    // A folder at the name stays, and the failure says where and why.
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"folder"_s));
    const WriteResult refused = writeNewFile(folder.filePath(u"folder"_s), "x");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, folder.filePath(u"folder"_s) + u": Is a directory"_s);
    EXPECT_TRUE(QFileInfo(folder.filePath(u"folder"_s)).isDir());
}

TEST(NewFile, AFullDiskIsReportedAndLeavesNoFile)
{
    QTemporaryDir mountPoint;
    const int mounted =
        QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, mountPoint.path()});
    if (mounted != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    const QString path = mountPoint.filePath(u"TempDetailBG.bmp"_s);
    const WriteResult result = writeNewFile(path, QByteArray(256 * 1024, 'x'));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, path + u": No space left on device"_s);
    EXPECT_FALSE(QFile::exists(path));
    QProcess::execute(u"umount"_s, {mountPoint.path()});
}
