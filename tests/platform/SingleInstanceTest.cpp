// The lock against a second copy: held, refused, or impossible to make.
#include "platform/SingleInstance.h"
#include "base/TextTable.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

TEST(SingleInstance, OnlyALiveHolderRefusesTheNextCopy)
{
    QTemporaryDir sandbox;
    ASSERT_TRUE(sandbox.isValid());
    {
        const SingleInstance first(sandbox.path(), u"Ponderix"_s);
        EXPECT_TRUE(first.isFirst());
        EXPECT_TRUE(first.problem().isEmpty());
        const SingleInstance second(sandbox.path(), u"Ponderix"_s);
        EXPECT_FALSE(second.isFirst());
        EXPECT_TRUE(second.problem().isEmpty());
    }
    // The first copy has ended: the lock is free again.
    const SingleInstance later(sandbox.path(), u"Ponderix"_s);
    EXPECT_TRUE(later.isFirst());
}

TEST(SingleInstance, ALockThatCannotBeMadeLetsTheProgramRunAndSaysWhy)
{
    QTemporaryDir sandbox;
    ASSERT_TRUE(sandbox.isValid());
    // A file where the lock folder should be fails for every user, root
    // included; so does a lock name longer than the system allows.
    ASSERT_TRUE(writeBytes(sandbox.filePath(u"runtime"_s), "not a folder"));
    const SingleInstance blocked(sandbox.filePath(u"runtime"_s), u"Ponderix"_s);
    EXPECT_TRUE(blocked.isFirst());
    EXPECT_EQ(blocked.problem(), sandbox.filePath(u"runtime/Ponderix.lock"_s) + u": Not a directory"_s);

    const QString longName(300, u'x');
    const SingleInstance tooLong(sandbox.path(), longName);
    EXPECT_TRUE(tooLong.isFirst());
    EXPECT_EQ(tooLong.problem(), sandbox.filePath(longName + u".lock"_s) + u": File name too long"_s);
}

TEST(SingleInstance, ALockLeftByACrashedCopyThatCannotBeRemovedRefusesNobody)
{
    QTemporaryDir sandbox;
    ASSERT_TRUE(sandbox.isValid());
    // A process that has ended, and its lock in Qt's lock file format.
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    ASSERT_GT(ended, 0);
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    const QString lock = sandbox.filePath(u"Ponderix.lock"_s);
    ASSERT_TRUE(
        writeBytes(lock, QByteArray::number(ended) + "\nponderix\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
    // The removal of a stale lock is itself guarded by a lock; a folder in
    // its place stops the removal, as a read-only folder would.
    ASSERT_TRUE(QDir(sandbox.path()).mkdir(u"Ponderix.lock.rmlock"_s));

    const SingleInstance copy(sandbox.path(), u"Ponderix"_s);
    EXPECT_TRUE(copy.isFirst());
    EXPECT_EQ(copy.problem(), lock + u": "_s + uiText(TextKey::TXT00525));

    // The same lock held by a process that runs (this one) still refuses.
    ASSERT_TRUE(
        writeBytes(lock, QByteArray::number(getpid()) + "\nponderix\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
    const SingleInstance second(sandbox.path(), u"Ponderix"_s);
    EXPECT_FALSE(second.isFirst());
    EXPECT_TRUE(second.problem().isEmpty());
}

TEST(SingleInstance, AFullDiskLetsTheProgramRunAndSaysWhy)
{
    QTemporaryDir mountPoint;
    const int mounted =
        QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=4k"_s, u"tmpfs"_s, mountPoint.path()});
    if (mounted != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    writeBytes(mountPoint.filePath(u"fill"_s), QByteArray(64 * 1024, 'x'));
    {
        const SingleInstance copy(mountPoint.path(), u"Ponderix"_s);
        EXPECT_TRUE(copy.isFirst());
        EXPECT_EQ(copy.problem(), mountPoint.filePath(u"Ponderix.lock"_s) + u": No space left on device"_s);
    }
    QProcess::execute(u"umount"_s, {mountPoint.path()});
}
