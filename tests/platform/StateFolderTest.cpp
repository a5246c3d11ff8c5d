#include "platform/Folders.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable final {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

TEST(StateFolder, FollowsXdgStateHomeElseTheHomeFolder)
{
    const ScopedVariable home("HOME", "/home/someone");
    {
        const ScopedVariable state("XDG_STATE_HOME", "/var/state/someone");
        EXPECT_EQ(stateFolder(), u"/var/state/someone/Ponderix/"_s);
    }
    {
        const ScopedVariable state("XDG_STATE_HOME", "/var/state/someone/");
        EXPECT_EQ(stateFolder(), u"/var/state/someone/Ponderix/"_s);
    }
    // A relative value does not count, nor does an empty one.
    for (const QByteArray& ignored : {QByteArray("relative/state"), QByteArray(""), QByteArray()}) {
        const ScopedVariable state("XDG_STATE_HOME", ignored);
        EXPECT_EQ(stateFolder(), u"/home/someone/.local/state/Ponderix/"_s) << ignored.constData();
    }
    const ScopedVariable state("XDG_STATE_HOME", "/var/state/x");
    EXPECT_EQ(resolveFolders().state, u"/var/state/x/Ponderix/"_s);
}

TEST(StateFolder, IsCreatedForTheUserAlone)
{
    QTemporaryDir sandbox;
    ASSERT_TRUE(sandbox.isValid());
    const ScopedVariable state("XDG_STATE_HOME", QFile::encodeName(sandbox.filePath(u"fresh/state"_s)));
    const QString folder = stateFolder();
    ASSERT_TRUE(makePrivateFolder(folder, ForeignContents::Keep));
    const QFileInfo made(folder);
    EXPECT_TRUE(made.isDir());
    EXPECT_EQ(made.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
}
