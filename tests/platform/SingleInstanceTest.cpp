// The lock against a second copy: held, refused, or impossible to make.
#include "platform/SingleInstance.h"
#include "base/TextTable.h"
#include "tests/TestSupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <cerrno>

#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// A lock in Qt's lock file format, naming `process` of the program `program`
// on this machine.
QByteArray lockNaming(qint64 process, const QString& program)
{
    return QByteArray::number(process) + '\n' + program.toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
}

} // namespace

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
    ASSERT_TRUE(writeBytes(lock, lockNaming(ended, u"ponderix"_s)));
    // The removal of a stale lock is itself guarded by a lock; a folder in
    // its place stops the removal, as a read-only folder would.
    ASSERT_TRUE(QDir(sandbox.path()).mkdir(u"Ponderix.lock.rmlock"_s));

    const SingleInstance copy(sandbox.path(), u"Ponderix"_s);
    EXPECT_TRUE(copy.isFirst());
    EXPECT_EQ(copy.problem(), lock + u": "_s + uiText(TextKey::TXT00525));

    // The same lock held by a process that runs (this one) still refuses.
    ASSERT_TRUE(writeBytes(lock, lockNaming(getpid(), u"ponderix"_s)));
    const SingleInstance second(sandbox.path(), u"Ponderix"_s);
    EXPECT_FALSE(second.isFirst());
    EXPECT_TRUE(second.problem().isEmpty());

    // So does one of another machine (a shared home folder), whatever runs
    // here under its number.
    ASSERT_TRUE(writeBytes(lock, QByteArray::number(ended) + "\nponderix\nanother-machine\n"));
    EXPECT_FALSE(SingleInstance(sandbox.path(), u"Ponderix"_s).isFirst());
}

// A live copy's lock is never too old to hold: the first copy may run for
// days. The lock names this process under its own program name, as a copy
// writes it, was last written an hour ago, and no system file lock guards it,
// as on a network folder.
TEST(SingleInstance, ALiveCopysLockIsNeverTooOldToHold)
{
    QTemporaryDir sandbox;
    ASSERT_TRUE(sandbox.isValid());
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QFile lock(sandbox.filePath(u"Ponderix.lock"_s));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    ASSERT_TRUE(lock.write(lockNaming(getpid(), program)) > 0);
    ASSERT_TRUE(lock.flush()); // before the time is set, which a later write would undo
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    lock.close();

    const SingleInstance second(sandbox.path(), u"Ponderix"_s);
    EXPECT_FALSE(second.isFirst());
    EXPECT_TRUE(second.problem().isEmpty()) << second.problem().toStdString();
}

// A lock held by a live copy under another account: the system refuses to
// let this copy signal it (EPERM), which says it runs all the same. The
// question is asked from a child that has become "nobody", about its parent.
TEST(SingleInstance, ALiveCopyOfAnotherAccountIsNoStaleLock)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can ask as another account";
    QTemporaryDir sandbox;
    ASSERT_TRUE(sandbox.isValid());
    const QFileDevice::Permissions everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                              | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                              | QFileDevice::ReadOther | QFileDevice::WriteOther
                                              | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(sandbox.path(), everyone));
    const QString lock = sandbox.filePath(u"Ponderix.lock"_s);
    ASSERT_TRUE(writeBytes(lock, lockNaming(getpid(), u"ponderix"_s)));
    ASSERT_TRUE(QFile::setPermissions(lock, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                                | QFileDevice::ReadOther));

    constexpr int kCannotAsk = 77;
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(kCannotAsk);
        if (::kill(parent, 0) == 0 || errno != EPERM)
            _exit(kCannotAsk);
        const SingleInstance copy(sandbox.path(), u"Ponderix"_s);
        _exit(copy.isFirst() ? 1 : 0);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotAsk)
        GTEST_SKIP() << "cannot become another account here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the copy under another account took the lock for stale";
    EXPECT_EQ(readBytes(lock), lockNaming(getpid(), u"ponderix"_s));
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
