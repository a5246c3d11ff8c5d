#include "tests/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

using Outcome = CliOutcome;

Outcome cli(const QStringList& arguments, const QString& folder = QString())
{
    return runCli(arguments, folder);
}

// The usage lines of the error text, which lists every command.
QStringList usageLines()
{
    QStringList lines;
    for (const QString& line : cli({}).err.split(u'\n')) {
        if (line.startsWith(u"  ponderix-cli "_s))
            lines << line.mid(15);
    }
    return lines;
}

} // namespace

// The version the build gives the package, so that what the program says of
// itself cannot drift from what is installed.
TEST(CliHelp, VersionIsTheProgramNameAndThePackagesVersion)
{
    const Outcome outcome = cli({u"--version"_s});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, u"Ponderix Version "_s + QString::fromUtf8(PONDERIX_PACKAGE_VERSION) + u'\n');
    EXPECT_TRUE(outcome.err.isEmpty());
}

TEST(CliHelp, HelpListsEveryCommandOnStandardOutput)
{
    const QStringList usages = usageLines();
    ASSERT_FALSE(usages.isEmpty());
    for (const QString& option : {u"--help"_s, u"-h"_s}) {
        SCOPED_TRACE(option.toStdString());
        const Outcome outcome = cli({option});
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.err.isEmpty());
        EXPECT_TRUE(outcome.out.startsWith(u"Usage: ponderix-cli COMMAND"_s));
        for (const QString& usage : usages)
            EXPECT_TRUE(outcome.out.contains(u"  ponderix-cli "_s + usage + u'\n')) << usage.toStdString();
        EXPECT_TRUE(outcome.out.contains(u"Exit status"_s));
    }
}

TEST(CliHelp, EveryCommandHasItsOwnHelp)
{
    for (const QString& usage : usageLines()) {
        const QString command = usage.section(u' ', 0, 0);
        SCOPED_TRACE(command.toStdString());
        const Outcome outcome = cli({command, u"--help"_s});
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.err.isEmpty());
        const QStringList lines = outcome.out.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0], u"Usage: ponderix-cli "_s + usage);
        EXPECT_GT(lines[1].size(), 20);
    }
}

// Help wins over missing or wrong arguments and runs nothing.
TEST(CliHelp, CommandHelpRunsNothing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const Outcome outcome = cli({u"demo"_s, u"-o"_s, u"demo.pnx"_s, u"-h"_s}, folder.path());
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.out.startsWith(u"Usage: ponderix-cli demo"_s));
    EXPECT_FALSE(QFile::exists(folder.filePath(u"demo.pnx"_s)));

    EXPECT_EQ(cli({u"scores"_s, u"--help"_s, u"--no-such-option"_s}).exitCode, 0);
}

// After an option that takes a value, "--help" is that value: a file name.
TEST(CliHelp, HelpAsAnOptionValueIsAFileName)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const Outcome outcome = cli({u"demo"_s, u"-o"_s, u"--help"_s}, folder.path());
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_TRUE(QFile::exists(folder.filePath(u"--help"_s)));
}

TEST(CliHelp, UnknownCommandStaysAUsageError)
{
    const Outcome outcome = cli({u"frobnicate"_s, u"--help"_s});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_TRUE(outcome.err.contains(u"unknown command frobnicate"_s));
}
