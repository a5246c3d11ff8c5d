#include "base/TextTable.h"
#include "tests/TestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

using Outcome = CliOutcome;

Outcome cli(const QStringList& arguments)
{
    return runCli(arguments);
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_EQ(cli({u"demo"_s, u"-o"_s, demo()}).exitCode, 0);
    }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    QString demo() const { return path(u"demo.pnx"_s); }

    QTemporaryDir m_folder;
};

} // namespace

// The demo as kept beside the tests, CR LF after every line.
TEST_F(Cli, DemoWritesTheDemoProject)
{
    const QByteArray written = readBytes(demo());
    EXPECT_TRUE(sameBytes(written, readBytes(dataPath("demo.pnx"))));
    EXPECT_EQ(written.count('\n'), written.count("\r\n"));
    EXPECT_TRUE(written.endsWith("\r\n"));
}

TEST_F(Cli, ScoresAsJson)
{
    const Outcome outcome = cli({u"scores"_s, demo(), u"--json"_s});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out,
              uR"({"options":[{"letter":"A","name":"Car SUV T7","score":65,"band":"TXT00251"},)"
              uR"({"letter":"B","name":"Car SUV D14","score":15,"band":"TXT00253"},)"
              uR"({"letter":"C","name":"Car SUV V8","score":-28,"band":"TXT00254"}],"best":["A"],"maximum":65})"
              u"\n"_s);

    ASSERT_TRUE(writeBytes(path(u"empty.pnx"_s), "<Ponderix/>"));
    EXPECT_EQ(cli({u"scores"_s, path(u"empty.pnx"_s), u"--json"_s}).out,
              u"{\"options\":[],\"best\":[],\"maximum\":null}\n"_s);

    ASSERT_TRUE(writeBytes(path(u"odd.pnx"_s),
                           "<Ponderix><Options><o Name=\"say &quot;hi&quot;\\&#9;\"/></Options></Ponderix>"));
    EXPECT_TRUE(cli({u"scores"_s, path(u"odd.pnx"_s), u"--json"_s}).out.contains(uR"("name":"say \"hi\"\\\t")"_s));
}

TEST_F(Cli, ScoresAsTable)
{
    const Outcome outcome = cli({u"scores"_s, demo()});
    EXPECT_EQ(outcome.exitCode, 0);
    const QStringList lines = outcome.out.split(u'\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(u"A  Car SUV T7 "_s));
    EXPECT_TRUE(lines[0].contains(u"+65%"_s));
    EXPECT_TRUE(lines[2].contains(u"-28%"_s));
    EXPECT_TRUE(outcome.out.contains(u"A \"Car SUV T7\""_s));
}

TEST_F(Cli, ExitCodesAndMessages)
{
    ASSERT_TRUE(writeBytes(path(u"foreign.pnx"_s), "<Other/>"));
    const Outcome foreign = cli({u"scores"_s, path(u"foreign.pnx"_s)});
    EXPECT_EQ(foreign.exitCode, 1);
    EXPECT_TRUE(foreign.err.contains(u"File is not a project!"_s));

    ASSERT_TRUE(writeBytes(path(u"broken.pnx"_s), "<Ponderix>\n<a>"));
    const Outcome broken = cli({u"scores"_s, path(u"broken.pnx"_s)});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.contains(u"XML Error Message: "_s));
    EXPECT_TRUE(broken.err.contains(u"Line: 2"_s));

    EXPECT_EQ(cli({u"scores"_s, path(u"missing.pnx"_s)}).exitCode, 1);
    EXPECT_EQ(cli({u"demo"_s, u"-o"_s, path(u"demo.pnx/inside.pnx"_s)}).exitCode, 1);

    for (const QStringList& wrong :
         {QStringList{}, QStringList{u"frobnicate"_s}, QStringList{u"scores"_s}, QStringList{u"demo"_s},
          QStringList{u"demo"_s, u"-o"_s}, QStringList{u"scores"_s, demo(), u"--bogus"_s},
          QStringList{u"save"_s, demo()}, QStringList{u"texts"_s, u"extra"_s}}) {
        const Outcome outcome = cli(wrong);
        EXPECT_EQ(outcome.exitCode, 2) << wrong.join(u' ').toStdString();
        EXPECT_TRUE(outcome.err.contains(u"Usage:"_s));
    }

    // An option given twice, even with the same value, is refused before
    // anything is read or written. The option repeated stands second last.
    const QString out = path(u"twice.out"_s);
    for (const QStringList& twice : {QStringList{u"robustness"_s, demo(), u"--spread"_s, u"1"_s, u"--spread"_s, u"2"_s},
                                     QStringList{u"scores"_s, demo(), u"--json"_s, u"--json"_s},
                                     QStringList{u"save"_s, demo(), u"-o"_s, out, u"-o"_s, out},
                                     QStringList{u"render"_s, demo(), u"--page"_s, u"overview"_s, u"-o"_s,
                                                 out + u".png"_s, u"--scale"_s, u"1"_s, u"--scale"_s, u"2"_s}}) {
        const Outcome outcome = cli(twice);
        EXPECT_EQ(outcome.exitCode, 2) << twice.join(u' ').toStdString();
        EXPECT_TRUE(outcome.err.contains(twice[twice.size() - 2] + u" is given twice"_s)) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.out.isEmpty());
        EXPECT_FALSE(QFile::exists(out) || QFile::exists(out + u".png"_s));
    }
}

TEST_F(Cli, SaveRegularisesAndKeepsTheOldFileOnFailure)
{
    ASSERT_TRUE(writeBytes(path(u"holes.pnx"_s),
                           "<Ponderix><Options><o Name=\" a \"/><o Name=\"b\"/></Options>"
                           "<Criteria><c Name=\"c\" Importance=\"4\"/></Criteria>"
                           "<Ratings><r IndexOption=\"9\" IndexCriteria=\"0\" Value=\"1\"/></Ratings></Ponderix>"));
    ASSERT_EQ(cli({u"save"_s, path(u"holes.pnx"_s), u"-o"_s, path(u"out.pnx"_s)}).exitCode, 0);
    const QByteArray saved = readBytes(path(u"out.pnx"_s));
    EXPECT_TRUE(saved.contains("<Option Index=\"0\" Name=\"a\"/>"));
    EXPECT_TRUE(saved.contains("Name=\"out.pnx\""));
    EXPECT_TRUE(saved.contains("<Ratings Size=\"2\">"));
    EXPECT_FALSE(saved.contains("IndexOption=\"9\""));

    ASSERT_TRUE(writeBytes(path(u"foreign.pnx"_s), "<Other/>"));
    EXPECT_EQ(cli({u"save"_s, path(u"foreign.pnx"_s), u"-o"_s, path(u"out.pnx"_s)}).exitCode, 1);
    EXPECT_EQ(readBytes(path(u"out.pnx"_s)), saved);
}

TEST_F(Cli, FailedProjectWritesNameTheFile)
{
    // A file where a folder should be: nothing can be written below it.
    const QString blocked = demo() + u"/out.pnx"_s;
    for (const QStringList& failing :
         {QStringList{u"save"_s, demo(), u"-o"_s, blocked}, QStringList{u"demo"_s, u"-o"_s, blocked},
          QStringList{u"blank"_s, demo(), u"-o"_s, blocked},
          QStringList{u"team"_s, demo(), demo(), u"--combined"_s, blocked}}) {
        const Outcome outcome = cli(failing);
        EXPECT_EQ(outcome.exitCode, 1) << failing.join(u' ').toStdString();
        EXPECT_TRUE(
            outcome.err.startsWith(u"ponderix-cli: Error: The project could not be saved.\n\n"_s + blocked + u"\n\n"_s))
            << outcome.err.toStdString();
    }
}

TEST_F(Cli, TextsAreSortedKeyTabValue)
{
    const Outcome outcome = cli({u"texts"_s});
    EXPECT_EQ(outcome.exitCode, 0);
    QStringList lines = outcome.out.split(u'\n', Qt::SkipEmptyParts);
    QStringList keys;
    for (const QString& line : lines) {
        const qsizetype tab = line.indexOf(u'\t');
        ASSERT_GT(tab, 0) << line.toStdString();
        keys << line.left(tab);
    }
    QStringList sorted = keys;
    sorted.sort();
    EXPECT_EQ(keys, sorted);
    EXPECT_TRUE(lines.contains(u"Program_Name\tPonderix"_s));
    EXPECT_TRUE(lines.contains(u"Version_Name\tVersion 1.0.0"_s));
}

TEST_F(Cli, ReportWritesTheDocumentAndItsText)
{
    const Outcome both = cli({u"report"_s, demo(), u"-o"_s, path(u"r.html"_s), u"--text"_s, path(u"r.txt"_s)});
    EXPECT_EQ(both.exitCode, 0) << both.err.toStdString();
    EXPECT_TRUE(sameBytes(readBytes(path(u"r.html"_s)), readBytes(dataPath("golden/demo-report.html"))));
    EXPECT_TRUE(sameBytes(readBytes(path(u"r.txt"_s)), readBytes(dataPath("golden/demo-report.txt"))));

    EXPECT_EQ(cli({u"report"_s, demo(), u"-o"_s, path(u"only.html"_s)}).exitCode, 0);
    EXPECT_EQ(readBytes(path(u"only.html"_s)), readBytes(path(u"r.html"_s)));
    EXPECT_FALSE(QFile::exists(path(u"only.txt"_s)));
}

TEST_F(Cli, ExportWritesEitherLayoutOverAnOldFile)
{
    const struct {
        const char16_t* layout;
        const char* golden;
    } cases[] = {{u"criteria", "golden/demo-criteria-rows.txt"}, {u"options", "golden/demo-option-rows.txt"}};
    for (const auto& entry : cases) {
        // No extension and an older file in the way: written exactly there.
        ASSERT_TRUE(writeBytes(path(u"out"_s), "older and longer than the export ever is, so a leftover would show"));
        const Outcome outcome =
            cli({u"export"_s, demo(), u"--layout"_s, QString::fromUtf16(entry.layout), u"-o"_s, path(u"out"_s)});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
        EXPECT_TRUE(sameBytes(readBytes(path(u"out"_s)), readBytes(dataPath(entry.golden))));
        EXPECT_FALSE(QFile::exists(path(u"out.txt"_s)));
    }
}

TEST_F(Cli, ReportAndExportFailures)
{
    const QString out = path(u"out.txt"_s);
    for (const QStringList& wrong :
         {QStringList{u"export"_s, demo(), u"--layout"_s, u"rows"_s, u"-o"_s, out},
          QStringList{u"export"_s, demo(), u"--layout"_s, u"Criteria"_s, u"-o"_s, out},
          QStringList{u"export"_s, demo(), u"-o"_s, out}, QStringList{u"export"_s, demo(), u"--layout"_s, u"options"_s},
          QStringList{u"report"_s, demo()}, QStringList{u"report"_s, u"-o"_s, out},
          QStringList{u"report"_s, demo(), u"-o"_s, out, u"--text"_s}}) {
        const Outcome outcome = cli(wrong);
        EXPECT_EQ(outcome.exitCode, 2) << wrong.join(u' ').toStdString();
        EXPECT_TRUE(outcome.err.contains(u"Usage:"_s));
        EXPECT_FALSE(QFile::exists(out)) << wrong.join(u' ').toStdString();
    }

    ASSERT_TRUE(writeBytes(path(u"foreign.pnx"_s), "<Other/>"));
    for (const QStringList& unreadable :
         {QStringList{u"report"_s, path(u"foreign.pnx"_s), u"-o"_s, out},
          QStringList{u"export"_s, path(u"foreign.pnx"_s), u"--layout"_s, u"criteria"_s, u"-o"_s, out}}) {
        const Outcome outcome = cli(unreadable);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_TRUE(outcome.err.contains(u"File is not a project!"_s)) << outcome.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }

    // A file where a folder should be: nothing can be written below it.
    const QString blocked = demo() + u"/out.txt"_s;
    // The message names the output that failed; no project was being saved.
    for (const QStringList& failing :
         {QStringList{u"export"_s, demo(), u"--layout"_s, u"options"_s, u"-o"_s, blocked},
          QStringList{u"report"_s, demo(), u"-o"_s, blocked},
          QStringList{u"report"_s, demo(), u"-o"_s, path(u"fine.html"_s), u"--text"_s, blocked},
          QStringList{u"render"_s, demo(), u"--page"_s, u"overview"_s, u"-o"_s, demo() + u"/out.png"_s}}) {
        const Outcome outcome = cli(failing);
        EXPECT_EQ(outcome.exitCode, 1) << failing.join(u' ').toStdString();
        EXPECT_TRUE(outcome.err.contains(failing.last())) << outcome.err.toStdString();
        EXPECT_FALSE(outcome.err.contains(uiText(TextKey::TXT00093))) << outcome.err.toStdString();
    }
}

TEST_F(Cli, ScoresTableKeepsItsNameColumnNarrow)
{
    const QByteArray longName(1000, 'n');
    ASSERT_TRUE(writeBytes(path(u"long.pnx"_s), "<Ponderix><Options><o Name=\"a\"/><o Name=\"" + longName
                                                    + "\"/><o Name=\"b\"/></Options></Ponderix>"));
    const Outcome outcome = cli({u"scores"_s, path(u"long.pnx"_s)});
    ASSERT_EQ(outcome.exitCode, 0);
    const QStringList lines = outcome.out.split(u'\n');
    ASSERT_GE(lines.size(), 3);
    // Letter, two blanks, the name padded to 40, two blanks, then the score.
    EXPECT_TRUE(lines[0].startsWith(u"A  a"_s + QString(39, u' ') + u"   "_s)) << lines[0].toStdString();
    EXPECT_LT(lines[0].size(), 80);
    EXPECT_TRUE(lines[1].startsWith(u"B  "_s + QString::fromLatin1(longName) + u"   "_s));
    EXPECT_EQ(lines[2].size(), lines[0].size());
}

TEST_F(Cli, TinyFilesAskingForHugeWorkAreRefusedAtOnce)
{
    // 25 KB of empty entries, 3,163 options and as many criteria, and 8 KB
    // of them, 1,000 and 1,000, within both lists' limits.
    const QString hostile = dataPath("broken/too-many-cells.pnx");
    const QString withinLists = path(u"thousands.pnx"_s);
    ASSERT_TRUE(writeBytes(withinLists, "<Ponderix><Options>" + QByteArray("<o/>").repeated(1000)
                                            + "</Options><Criteria>" + QByteArray("<c/>").repeated(1000)
                                            + "</Criteria></Ponderix>"));
    const QString out = path(u"out"_s);
    for (const auto& [file, refusal] : {std::pair{hostile, u"The project holds more than 1,000 options."_s},
                                        std::pair{withinLists, u"leaves out more than 100,000"_s}}) {
        for (const QStringList& command : {QStringList{u"scores"_s, file}, QStringList{u"report"_s, file, u"-o"_s, out},
                                           QStringList{u"save"_s, file, u"-o"_s, out}}) {
            QElapsedTimer timer;
            timer.start();
            const Outcome outcome = cli(command);
            EXPECT_LT(timer.elapsed(), 2000) << command.join(u' ').toStdString();
            EXPECT_EQ(outcome.exitCode, 1);
            EXPECT_TRUE(outcome.err.contains(refusal)) << outcome.err.toStdString();
            EXPECT_FALSE(QFile::exists(out));
        }
    }
}

TEST_F(Cli, SaysWhichPathCannotBeReadAndWhy)
{
    const QString fifo = path(u"pipe.pnx"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {path(u"missing.pnx"_s), u"No such file or directory"_s},
        {m_folder.path(), u"Is a directory"_s},
        {fifo, u"It is a named pipe, not a file."_s},
        {u"/dev/null"_s, u"It is a device, not a file."_s},
    };
    for (const Case& c : cases) {
        const Outcome outcome = cli({u"scores"_s, c.path});
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.err, u"ponderix-cli: "_s + uiText(TextKey::TXT00001) + u": "_s + uiText(TextKey::TXT00094)
                                   + u"\n\n"_s + c.path + u"\n\n"_s + c.reason + u"\n"_s);
    }

    // Permission bits do not stop root; the reason is checked where they do.
    const QString locked = path(u"locked.pnx"_s);
    ASSERT_TRUE(writeBytes(locked, "<Ponderix/>"));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    if (readBytes(locked).isEmpty()) {
        const Outcome outcome = cli({u"scores"_s, locked});
        EXPECT_TRUE(outcome.err.contains(locked + u"\n\nPermission denied"_s)) << outcome.err.toStdString();
    }
}

TEST_F(Cli, PlainOutputsShowControlCharactersAsEscapes)
{
    // Tab, LF, CR, DEL and the C1 controls CSI and NEL (what XML can carry),
    // a combining mark and a backslash, which are not controls, and by the
    // team's file names an ESC.
    const QByteArray xml = "<Ponderix><Options><o Name=\"a&#13;b&#10;c&#9;d&#127;e&#x9B;f&#x85;g\\h\u0301\"/>"
                           "<o Name=\"plain\"/></Options><Criteria><c Name=\"k&#10;l\" Importance=\"3\"/></Criteria>"
                           "<Ratings><r IndexOption=\"0\" IndexCriteria=\"0\" Value=\"7\"/></Ratings></Ponderix>";
    ASSERT_TRUE(writeBytes(path(u"controls.pnx"_s), xml));
    ASSERT_TRUE(writeBytes(path(u"one\x1B[2J.pnx"_s), xml));
    // Option A scores importance 3 x (7 - 5) x 4 = +24%.
    const QString shown = u"a\\rb\\nc\\td\\x7Fe\\x9Bf\\x85g\\h\u0301"_s;
    const struct {
        const char* name;
        QStringList arguments;
        QString expected;
    } cases[] = {
        {"scores", {u"scores"_s, path(u"controls.pnx"_s)}, u"A  "_s + shown + u"   +24%"_s},
        {"robustness", {u"robustness"_s, path(u"controls.pnx"_s)}, u"\"k\\nl\" (3):"_s},
        {"robustness", {u"robustness"_s, path(u"controls.pnx"_s)}, u"Option A \""_s + shown + u"\""_s},
        {"team", {u"team"_s, path(u"controls.pnx"_s), path(u"one\x1B[2J.pnx"_s)}, u"one\\x1B[2J: A +24%, B 0%"_s},
        {"team", {u"team"_s, path(u"controls.pnx"_s), path(u"one\x1B[2J.pnx"_s)}, u"Option A \""_s + shown},
        {"message", {u"scores"_s, path(u"no\rsuch.pnx"_s)}, u"no\\rsuch.pnx"_s},
    };
    for (const auto& c : cases) {
        const Outcome outcome = cli(c.arguments);
        const QString shownText = outcome.out + outcome.err;
        EXPECT_TRUE(shownText.contains(c.expected)) << c.name << ":\n" << shownText.toStdString();
        const auto control = std::find_if(shownText.begin(), shownText.end(), [](QChar character) {
            const char16_t code = character.unicode();
            return code != u'\n' && (code < 0x20 || (code >= 0x7F && code <= 0x9F));
        });
        EXPECT_EQ(control, shownText.end()) << c.name << ": " << int(control->unicode());
    }

    // Scripts and files get every name as it is.
    ASSERT_EQ(cli({u"save"_s, path(u"controls.pnx"_s), u"-o"_s, path(u"saved.pnx"_s)}).exitCode, 0);
    const QString json = cli({u"scores"_s, path(u"saved.pnx"_s), u"--json"_s}).out;
    EXPECT_TRUE(json.contains(u"\"name\":\"a\\rb\\nc\\td\u007Fe\u009Bf\u0085g\\\\h\u0301\""_s)) << json.toStdString();
}

// An output is never written over one of the command's own inputs, however
// its path is spelt.
TEST_F(Cli, RefusesAnOutputThatIsOneOfItsInputs)
{
    const QByteArray before = readBytes(demo());
    ASSERT_TRUE(QFile::link(demo(), path(u"link.pnx"_s)));
    const QString dotted = m_folder.path() + u"/./demo.pnx"_s;
    const QString other = path(u"other.pnx"_s);
    ASSERT_TRUE(QFile::copy(demo(), other));
    const QList<QStringList> attempts = {
        {u"blank"_s, demo(), u"-o"_s, demo()},
        {u"save"_s, demo(), u"-o"_s, dotted},
        {u"export"_s, demo(), u"--layout"_s, u"criteria"_s, u"-o"_s, path(u"link.pnx"_s)},
        {u"report"_s, demo(), u"-o"_s, path(u"r.html"_s), u"--text"_s, demo()},
        {u"record"_s, demo(), u"-o"_s, demo()},
        {u"team"_s, other, demo(), u"--combined"_s, dotted},
    };
    for (const QStringList& arguments : attempts) {
        const Outcome outcome = cli(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(outcome.err.contains(arguments.last())) << outcome.err.toStdString();
        EXPECT_EQ(readBytes(demo()), before) << arguments.join(u' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(u"r.html"_s)));
}

// A pipe or a device at the output's name is written through, never
// replaced by a file.
TEST_F(Cli, WritesThroughPipesAndDevicesWithoutReplacingThem)
{
    const QString pipe = path(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(cli({u"save"_s, demo(), u"-o"_s, u"/dev/null"_s}).exitCode, 0);
    EXPECT_EQ(cli({u"save"_s, demo(), u"-o"_s, pipe}).exitCode, 1); // nobody reads it: no wait
    struct stat null { };
    struct stat fifo { };
    ASSERT_EQ(::stat("/dev/null", &null) | ::stat(QFile::encodeName(pipe).constData(), &fifo), 0);
    EXPECT_TRUE(S_ISCHR(null.st_mode) && S_ISFIFO(fifo.st_mode));
}
