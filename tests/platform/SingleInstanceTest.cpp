// The lock against a second copy: held, refused, or impossible to make.
#include "platform/SingleInstance.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

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
