// Crashes the test program for real and reads what its reporter showed.
#include "base/TextTable.h"
#include "platform/Dialogs.h"
#include "tests/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

#include <sys/resource.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

constexpr char kSettingsBytes[] = "\xEF\xBB\xBFLastDirectory = /home/user/\r\nWindowPosLeft = 40\r\n";

struct Crash {
    const char* name;
    const char* answer;
    const char* code;
    const char* description;
};

void PrintTo(const Crash& crash, std::ostream* out)
{
    *out << crash.name;
}

// The line numbers of a mark in the test program's source: one for a single
// failing line, the first and the last for a range.
std::pair<int, int> markedLines(const QString& crash)
{
    QFile source(QString::fromUtf8(CRASH_TEST_PROGRAM_SOURCE));
    EXPECT_TRUE(source.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = source.readAll().split('\n');
    const QByteArray mark = "// crash: " + crash.toUtf8();
    int first = 0;
    int last = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.endsWith(mark))
            first = last = static_cast<int>(i + 1);
        else if (line == mark + " begins")
            first = static_cast<int>(i + 2);
        else if (line == mark + " ends")
            last = static_cast<int>(i);
    }
    EXPECT_GT(first, 0) << "no mark for " << crash.toStdString();
    return {first, last};
}

struct Outcome {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QByteArray out;
    QByteArray err;
};

class CrashReportTest : public ::testing::TestWithParam<Crash> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sandbox.isValid());
        ASSERT_TRUE(writeBytes(settingsPath(), kSettingsBytes));
    }

    QString settingsPath() const { return m_sandbox.filePath(u"settings.ini"_s); }

    Outcome crash(const QString& name, const QString& answer)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"CRASH_TEST_ANSWER"_s, answer);
        process.setProcessEnvironment(environment);
        // A known stack limit: an unlimited one would let the overflow
        // case eat memory until the next mapping.
        process.setChildProcessModifier([] {
            const rlimit stack{8 << 20, 8 << 20};
            setrlimit(RLIMIT_STACK, &stack);
        });
        process.start(QString::fromUtf8(CRASH_TEST_PROGRAM), {name, settingsPath()});
        EXPECT_TRUE(process.waitForFinished(60'000)) << name.toStdString();
        return {process.exitCode(), process.exitStatus(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    QTemporaryDir m_sandbox;
};

// Lines 1 to 8 with the address taken out, which differs from run to run.
QString reportWithoutAddress(const QString& report, quint64& address)
{
    static const QRegularExpression addressLine(u"\r\nError address:\t(\\d+)\r\n"_s);
    const QRegularExpressionMatch match = addressLine.match(report);
    address = match.hasMatch() ? match.captured(1).toULongLong() : 0;
    return QString(report).replace(addressLine, u"\r\nError address:\t*\r\n"_s);
}

QString expectedLines(const Crash& crash, const QString& module, const QString& line)
{
    return u"A program error occurred!\r\n\r\n"_s + u"Error message:\t"_s + QString::fromUtf8(crash.description)
           + u"\r\nError code:\t"_s + QString::fromUtf8(crash.code) + u"\r\n\r\nError address:\t*\r\n"_s
           + u"Program name:\t"_s + uiText(TextKey::Program_Name) + u"\r\nProgram version:\t"_s
           + uiText(TextKey::Version_Name) + u"\r\nProgram module:\t"_s + module + u"\r\nProgram line:\t"_s + line
           + u"\r\n\r\n"_s;
}

TEST_P(CrashReportTest, ReportNamesTheFaultAndItsSourceLineAndEndsTheProcessQuietly)
{
    const Crash& expected = GetParam();
    const Outcome run = crash(QString::fromUtf8(expected.name), QString::fromUtf8(expected.answer));
    ASSERT_EQ(run.exitStatus, QProcess::NormalExit) << run.err.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();

    // What the scripted box was shown: title, icon and buttons, then the text.
    QByteArray out = run.out;
    const qsizetype titleEnd = out.indexOf('\n');
    const qsizetype shapeEnd = out.indexOf('\n', titleEnd + 1);
    ASSERT_GT(shapeEnd, 0) << "no report shown; stderr:\n" << run.err.toStdString();
    EXPECT_EQ(out.left(titleEnd), "ERROR");
    const QList<QByteArray> shape = out.mid(titleEnd + 1, shapeEnd - titleEnd - 1).split(' ');
    ASSERT_EQ(shape.size(), 3);
    EXPECT_EQ(shape[0].toInt(), static_cast<int>(Dialogs::Icon::None));
    EXPECT_EQ(shape[1].toInt(), static_cast<int>(Dialogs::Buttons::YesNo));
    const QByteArray textBytes = out.mid(shapeEnd + 1);
    ASSERT_EQ(textBytes.size(), shape[2].toLongLong());
    const QString text = QString::fromUtf8(textBytes);

    const QString tail = u"Please send this information which is now in the clipboard to\r\n"_s
                         + uiText(TextKey::Program_Name) + u" developers, https://github.com/ponderix/ponderix/issues"_s
                         + u"\r\n\r\nContinue program execution?    (not recommended)"_s;
    ASSERT_TRUE(text.endsWith(tail)) << text.toStdString();
    quint64 address = 0;
    const QString lines = reportWithoutAddress(text.chopped(tail.size()), address);
    EXPECT_NE(address, 0u);

    const auto [first, last] = markedLines(QString::fromUtf8(expected.name));
    static const QRegularExpression lineNumber(u"\r\nProgram line:\t(\\d+)\r\n"_s);
    const int reported = lineNumber.match(lines).captured(1).toInt();
    EXPECT_GE(reported, first);
    EXPECT_LE(reported, last);
    EXPECT_EQ(lines, expectedLines(expected, u"CrashTestProgram.cpp"_s, QString::number(reported)));

    EXPECT_TRUE(sameBytes(readBytes(settingsPath()), kSettingsBytes));
}

INSTANTIATE_TEST_SUITE_P(Crashes, CrashReportTest,
                         ::testing::Values(Crash{"null-write", "yes", "-1073741819", "Invalid memory access"},
                                           Crash{"divide-by-zero", "no", "-1073741676", "Division by zero "},
                                           Crash{"stack-overflow", "no", "-1073741571", "Stack overflow"},
                                           // The uncaught exception has no code of its own in the
                                           // table: the C++ exception code, described as unknown.
                                           Crash{"uncaught-exception", "yes", "-529697949", "Unknown error code"},
                                           // Aborts name the caller of abort(), not the C library.
                                           Crash{"abort", "no", "-1073740791", "Program aborted"},
                                           Crash{"double-free", "yes", "-1073740791", "Program aborted"},
                                           Crash{"qfatal", "no", "-1073740791", "Program aborted"}),
                         [](const ::testing::TestParamInfo<Crash>& tested) {
                             std::string name = tested.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST_F(CrashReportTest, WithoutAReporterTheReportGoesToStandardError)
{
    const Crash expected{"null-write", "fail", "-1073741819", "Invalid memory access"};
    const Outcome run = crash(u"null-write"_s, u"fail"_s);
    ASSERT_EQ(run.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    quint64 address = 0;
    const QString report = reportWithoutAddress(QString::fromUtf8(run.err), address);
    EXPECT_NE(address, 0u);
    EXPECT_EQ(report, expectedLines(expected, u"(unknown)"_s, u"(unknown)"_s));
    EXPECT_TRUE(sameBytes(readBytes(settingsPath()), kSettingsBytes));
}

} // namespace
