// The real program started without a display it can reach.
#include "tests/TestSupport.h"

#include <QDir>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

struct Environment {
    const char* name;
    QStringList variables; // NAME=value, on top of a bare environment
};

void PrintTo(const Environment& environment, std::ostream* out)
{
    *out << environment.name;
}

class NoDesktopTest : public ::testing::TestWithParam<Environment> {
protected:
    void SetUp() override { ASSERT_TRUE(m_sandbox.isValid()); }

    CliOutcome run(const QStringList& variables)
    {
        QProcessEnvironment environment;
        environment.insert(u"PATH"_s, qEnvironmentVariable("PATH"));
        // Everything the program could write goes into the sandbox.
        environment.insert(u"HOME"_s, m_sandbox.path());
        environment.insert(u"XDG_RUNTIME_DIR"_s, m_sandbox.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, m_sandbox.filePath(u"config"_s));
        for (const QString& variable : variables)
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(PONDERIX_PROGRAM), {});
        EXPECT_TRUE(process.waitForFinished(60'000));
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir m_sandbox;
};

// A listening socket that nobody serves: connecting to it works.
class ListeningSocket {
public:
    explicit ListeningSocket(const QString& path) : m_descriptor(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        const QByteArray name = QFile::encodeName(path);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(),
                    std::min(sizeof address.sun_path - 1, static_cast<std::size_t>(name.size())));
        m_listening = m_descriptor >= 0
                      && bind(m_descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
                      && listen(m_descriptor, 4) == 0;
    }
    ~ListeningSocket()
    {
        if (m_descriptor >= 0)
            close(m_descriptor);
    }
    bool isListening() const { return m_listening; }

private:
    int m_descriptor;
    bool m_listening = false;
};

// The words a user sees: the bare environment asks for no language.
const QString kNoDesktopLine = u"Error: No desktop was found. Ponderix needs a graphical display to run.\n"_s;

} // namespace

TEST_P(NoDesktopTest, SaysSoOnStandardErrorAndEndsNormally)
{
    const CliOutcome outcome = run(GetParam().variables);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(outcome.err, kNoDesktopLine);
    EXPECT_EQ(outcome.out, QString());
}

// Display :73 and the socket names are nowhere on this machine.
INSTANTIATE_TEST_SUITE_P(
    Displays, NoDesktopTest,
    ::testing::Values(Environment{"nothing_at_all", {}},
                      Environment{"x11_chosen_but_absent", {u"QT_QPA_PLATFORM=xcb"_s, u"DISPLAY=:73"_s}},
                      Environment{"x11_display_without_choice", {u"DISPLAY=:73"_s}},
                      Environment{"wayland_chosen_but_absent",
                                  {u"QT_QPA_PLATFORM=wayland"_s, u"WAYLAND_DISPLAY=nothing"_s}},
                      Environment{"wayland_session_without_choice", {u"WAYLAND_DISPLAY=nothing"_s}},
                      Environment{"fallback_list_all_absent",
                                  {u"QT_QPA_PLATFORM=wayland;xcb"_s, u"WAYLAND_DISPLAY=nothing"_s, u"DISPLAY=:73"_s}},
                      // A platform Qt cannot even load fails inside Qt, past
                      // every check the program makes first.
                      Environment{"platform_qt_cannot_load", {u"QT_QPA_PLATFORM=no-such-platform"_s}},
                      // Loads, then finds no device and offers no screen.
                      Environment{"framebuffer_absent", {u"QT_QPA_PLATFORM=linuxfb:fb=/nonexistent/fb0"_s}}),
    [](const ::testing::TestParamInfo<Environment>& tested) { return std::string(tested.param.name); });

TEST_F(NoDesktopTest, APlatformWithoutADisplayServerStartsTheProgram)
{
    // The lock file shows that start-up got past the display.
    for (const QString& platform : {u"offscreen"_s, u"offscreen:fontconfig"_s, u"wayland;offscreen"_s}) {
        QProcessEnvironment environment;
        environment.insert(u"HOME"_s, m_sandbox.path());
        environment.insert(u"XDG_RUNTIME_DIR"_s, m_sandbox.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, m_sandbox.filePath(u"config"_s));
        environment.insert(u"WAYLAND_DISPLAY"_s, u"nothing"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(PONDERIX_PROGRAM), {});
        const QString lock = m_sandbox.filePath(u"Ponderix.lock"_s);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock) || process.state() == QProcess::NotRunning, 30'000);
        EXPECT_EQ(process.state(), QProcess::Running) << platform.toStdString();
        process.kill();
        process.waitForFinished();
        EXPECT_FALSE(QString::fromUtf8(process.readAllStandardError()).contains(u"No desktop"_s));
        QFile::remove(lock);
    }
}

TEST_F(NoDesktopTest, AWaylandSocketWithoutACompositorBehindItIsNoDesktop)
{
    // The socket answers the program's own check; Qt then fails to use it.
    if (!QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath) + u"/platforms"_s).entryList({u"libqwayland*"_s}).isEmpty())
        GTEST_SKIP() << "a Wayland platform is installed and would wait for the compositor";
    const ListeningSocket socket(m_sandbox.filePath(u"wayland-test"_s));
    ASSERT_TRUE(socket.isListening());
    const CliOutcome outcome = run({u"QT_QPA_PLATFORM=wayland"_s, u"WAYLAND_DISPLAY=wayland-test"_s});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(outcome.err, kNoDesktopLine);
}
