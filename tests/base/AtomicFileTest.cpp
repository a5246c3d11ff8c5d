#include "base/AtomicFile.h"

#include "tests/TestSupport.h"

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
    const int mounted = QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, mountPoint.path()});
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
