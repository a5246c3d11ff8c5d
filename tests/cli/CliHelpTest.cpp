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

namespace {

// Every command's usage line, as the help and every usage error list them.
const QString kUsageLines =
    u"  ponderix-cli texts\n"
    u"  ponderix-cli scores FILE.pnx [--json]\n"
    u"  ponderix-cli demo -o OUT.pnx\n"
    u"  ponderix-cli save FILE.pnx -o OUT.pnx\n"
    u"  ponderix-cli render FILE.pnx --page overview|profile|robustness|detail:LETTER -o OUT.jpg|gif|png|bmp|tif "
    u"[--scale 1|1.25|1.5|2]\n"
    u"  ponderix-cli report FILE.pnx -o OUT.html [--text OUT.txt]\n"
    u"  ponderix-cli export FILE.pnx --layout criteria|options -o OUT.txt\n"
    u"  ponderix-cli robustness FILE.pnx [--spread 1|2] [--json]\n"
    u"  ponderix-cli team FILE.pnx FILE.pnx... [--json] [--combined OUT.pnx] [--image OUT.png [--scale 1|1.25|1.5|2]]\n"
    u"  ponderix-cli blank FILE.pnx -o OUT.pnx\n"
    u"  ponderix-cli record FILE.pnx -o OUT.html|OUT.pdf\n"_s;

const QString kLanguageLine = u"      --language en|de|fr|es|it|pt  the language of texts and numbers for a person; "
                              u"en for scripts that read plain output\n"_s;

QString usageError(const QString& problem)
{
    return u"ponderix-cli: "_s + problem + u"\nUsage:\n"_s + kUsageLines + u"Option of every command:\n"_s
           + kLanguageLine;
}

} // namespace

// The English texts word for word: each is joined from texts of the table
// and the names a user types, and a slip in either shows here.
TEST(CliHelp, EnglishTextsWordForWord)
{
    QStringList manyFiles;
    manyFiles.fill(u"a.pnx"_s, 101);
    const struct {
        QStringList arguments;
        QString out;
        QString err;
    } cases[] = {
        {{u"--help"_s},
         u"Usage: ponderix-cli COMMAND [ARGUMENTS]\n"
         u"Scores, renders and converts Ponderix decision projects (.pnx files) without a display.\n\nCommands:\n"_s
             + kUsageLines
             + u"\nOptions:\n  -h, --help     show this help; after a command, that command's help\n"
               u"      --version  show the version\n"_s
             + kLanguageLine
             + u"\nExit status: 0 on success, 1 when a project could not be read or "
               u"an output not written, 2 on wrong usage.\n"_s,
         {}},
        {{u"report"_s, u"-h"_s},
         u"Usage: ponderix-cli report FILE.pnx -o OUT.html [--text OUT.txt]\nWrites the HTML report of a project to "
         u"OUT.html and, with --text, its plain-text version to OUT.txt.\n"_s,
         {}},
        {{}, {}, usageError(u"no command given"_s)},
        {{u"demo"_s}, {}, usageError(u"demo: -o is required"_s)},
        {{u"demo"_s, u"-o"_s}, {}, usageError(u"-o needs a value"_s)},
        {{u"scores"_s, u"a.pnx"_s, u"--json"_s, u"--json"_s}, {}, usageError(u"--json is given twice"_s)},
        {{u"render"_s, u"a.pnx"_s, u"--page"_s, u"top"_s, u"-o"_s, u"x.png"_s},
         {},
         usageError(u"render: --page must be overview, profile, robustness or detail:LETTER"_s)},
        {{u"export"_s, u"a.pnx"_s, u"--layout"_s, u"rows"_s, u"-o"_s, u"x.txt"_s},
         {},
         usageError(u"export: --layout must be criteria or options, not rows"_s)},
        {{u"record"_s, u"a.pnx"_s, u"-o"_s, u"x.doc"_s},
         {},
         usageError(u"record: the output must end in .html, .htm or .pdf"_s)},
        {{u"robustness"_s, u"a.pnx"_s, u"--spread"_s, u"3"_s},
         {},
         usageError(u"robustness: --spread must be 1 or 2"_s)},
        {QStringList{u"team"_s} + manyFiles, {}, usageError(u"team: at most 100 project files"_s)},
    };
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').left(60).toStdString());
        const Outcome outcome = cli(c.arguments, folder.path());
        EXPECT_EQ(outcome.exitCode, c.err.isEmpty() ? 0 : 2);
        EXPECT_EQ(outcome.out.toStdString(), c.out.toStdString());
        EXPECT_EQ(outcome.err.toStdString(), c.err.toStdString());
    }
}
