#include "project/ProjectReader.h"

#include "base/Blanks.h"
#include "base/Language.h"
#include "project/DemoProject.h"
#include "project/OptionLetter.h"
#include "project/ProjectMessages.h"
#include "project/ProjectWriter.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <random>

#include <sys/stat.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

ReadResult read(const char* xml)
{
    return readProjectBytes(QByteArrayView(xml, static_cast<qsizetype>(std::strlen(xml))));
}

} // namespace

TEST(ProjectReader, ReadsTheDemoProject)
{
    ReadResult result = readProjectBytes(demoProjectBytes());
    ASSERT_TRUE(result.ok());
    const Project& project = result.project();
    ASSERT_EQ(project.optionCount(), 3);
    ASSERT_EQ(project.criterionCount(), 3);
    ASSERT_EQ(project.ratingCount(), 9);
    EXPECT_EQ(project.options()[1].Name, u"Car SUV D14"_s);
    EXPECT_EQ(project.criteria()[1].Name, u"Fuel consumption"_s);
    EXPECT_EQ(project.criteria()[0].Importance, 5);
    EXPECT_EQ(project.ratingOf(0, 0)->Comment, u"USD 39'000"_s);
    EXPECT_EQ(project.ratingOf(2, 1)->Value, 2);
    // File order is kept: criterion by criterion, options ascending.
    EXPECT_EQ(project.ratings()[3].Comment, u"Diesel"_s);
}

TEST(ProjectReader, DamagedFilesGiveTheirError)
{
    struct Case {
        const char* file;
        ReadError::Kind kind;
    };
    const Case cases[] = {
        {"broken/truncated.pnx", ReadError::Kind::Syntax},
        {"broken/empty.pnx", ReadError::Kind::Syntax},
        {"broken/garbage.pnx", ReadError::Kind::Syntax},
        {"broken/invalid-utf8.pnx", ReadError::Kind::Syntax},
        {"broken/mismatched-tags.pnx", ReadError::Kind::Syntax},
        {"broken/forbidden-character.pnx", ReadError::Kind::Syntax},
        {"broken/two-roots.pnx", ReadError::Kind::Syntax},
        {"broken/entity-bomb.pnx", ReadError::Kind::Syntax},
        {"broken/external-entity.pnx", ReadError::Kind::Syntax}, // never fetched
        // A syntax error counts before a foreign root.
        {"broken/wrong-root-then-broken.pnx", ReadError::Kind::Syntax},
        {"broken/wrong-root.pnx", ReadError::Kind::WrongRoot},
        {"broken/lowercase-root.pnx", ReadError::Kind::WrongRoot},
        // 3,163 empty options and as many criteria: 25 KB asking for ten million ratings.
        {"broken/too-many-cells.pnx", ReadError::Kind::TooManyOptions},
        {"broken/no-such-file.pnx", ReadError::Kind::CannotRead},
        {"broken", ReadError::Kind::CannotRead},
    };
    for (const Case& c : cases) {
        const ReadResult result = readProjectFile(dataPath(c.file));
        ASSERT_FALSE(result.ok()) << c.file;
        EXPECT_EQ(result.error().kind, c.kind) << c.file;
        EXPECT_FALSE(readErrorMessage(result.error()).text.isEmpty()) << c.file;
    }
}

TEST(ProjectReader, SyntaxErrorsSayWhere)
{
    const ReadResult result = read("<Ponderix>\r\n  <Options>\r\n  </Option>\r\n</Ponderix>");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().line, 3);
    EXPECT_EQ(result.error().column, 4);
    const Message message = readErrorMessage(result.error());
    EXPECT_EQ(message.title, u"Error"_s);
    EXPECT_EQ(message.text,
              u"File could not be opened!\r\n\r\nXML Error Message: mismatched tag\r\nLine: 3   Character: 4"_s);
    EXPECT_EQ(readErrorMessage({ReadError::Kind::WrongRoot, {}, 0, 0}).text, u"File is not a project!"_s);
    EXPECT_EQ(readErrorMessage({ReadError::Kind::NoRoot, {}, 0, 0}).text, u"XML file is corrupt!"_s);
}

TEST(ProjectReader, PipesAndDevicesAreRefusedWithoutBlocking)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath(u"pipe.pnx"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(readProjectFile(fifo).error().kind, ReadError::Kind::CannotRead);
    EXPECT_EQ(readProjectFile(u"/dev/zero"_s).error().kind, ReadError::Kind::CannotRead);
}

TEST(ProjectReader, WalksGroupsInAnyOrderAndIgnoresNamesAndIndexes)
{
    ReadResult result = read(R"(<?xml version="1.0"?>
<!-- written by hand -->
<Ponderix Build="x">
  <Ratings><r IndexOption="1" IndexCriteria="0" Value="9" Comment="b&#10;line"/></Ratings>
  <Unknown><Option Name="ignored"/></Unknown>
  <Options Size="99"><Option Index="7" Name="first"/><Whatever Name=" second "/></Options>
  <Criteria><Criterion Index="3" Name="price" Importance="$4"><Deep><Deeper/></Deep></Criterion></Criteria>
  <Options><x Name="third"/></Options>
</Ponderix>)");
    ASSERT_TRUE(result.ok());
    const Project& project = result.project();
    ASSERT_EQ(project.optionCount(), 3);
    EXPECT_EQ(project.options()[0].Name, u"first"_s);
    EXPECT_EQ(project.options()[1].Name, u" second "_s); // blanks are trimmed on save only
    EXPECT_EQ(project.options()[2].Name, u"third"_s);
    EXPECT_EQ(project.options()[2].Index, 2);
    ASSERT_EQ(project.criterionCount(), 1);
    EXPECT_EQ(project.criteria()[0].Importance, 4);
    ASSERT_EQ(project.ratingCount(), 3);
    EXPECT_EQ(project.ratingOf(1, 0)->Comment, u"b\nline"_s);
    EXPECT_EQ(project.ratingOf(1, 0)->Value, 9);
    EXPECT_EQ(project.ratingOf(2, 0)->Value, 5);
}

TEST(ProjectReader, OutOfRangeNumbersTakeTheNearestAllowedValue)
{
    ReadResult result = read(R"(<Ponderix>
<Criteria><c Name="none"/><c Name="big" Importance="99999999999"/><c Name="low" Importance="-3"/></Criteria>
<Options><o Name="a"/></Options>
<Ratings><r IndexOption="0" IndexCriteria="0" Value="-1"/><r IndexOption="0" IndexCriteria="1" Value="%1111"/>
<r IndexOption="0" IndexCriteria="2"/><r IndexOption="-1" IndexCriteria="0" Value="3"/>
<r IndexOption="2147483648" IndexCriteria="0" Value="3"/></Ratings>
</Ponderix>)");
    ASSERT_TRUE(result.ok());
    const Project& project = result.project();
    EXPECT_EQ(project.criteria()[0].Importance, 1);
    EXPECT_EQ(project.criteria()[1].Importance, 5);
    EXPECT_EQ(project.criteria()[2].Importance, 1);
    EXPECT_EQ(project.ratingOf(0, 0)->Value, 0);
    EXPECT_EQ(project.ratingOf(0, 1)->Value, 10);
    EXPECT_EQ(project.ratingOf(0, 2)->Value, 0); // a missing Value reads as 0
    EXPECT_EQ(project.ratingCount(), 3);         // the strangers are gone
}

TEST(ProjectReader, EmptyRootIsAnEmptyProject)
{
    ReadResult result = read("<Ponderix/>");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.project().optionCount(), 0);
    EXPECT_EQ(result.project().ratingCount(), 0);
}

TEST(ProjectReader, KeepsMoreThanTwentySixOptionsAndOtherEncodings)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Ponderix><Options>";
    for (int i = 0; i < 30; ++i)
        xml += "<o Name=\"Caf\xe9 " + QByteArray::number(i) + "\"/>";
    xml += "</Options><Criteria><c Name=\"x\" Importance=\"2\"/></Criteria></Ponderix>";
    ReadResult result = readProjectBytes(xml);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.project().optionCount(), 30);
    EXPECT_EQ(result.project().ratingCount(), 30);
    EXPECT_EQ(result.project().options()[29].Name, u"Caf\u00e9 29"_s);
    EXPECT_EQ(optionLetter(29), u"AD"_s);
}

TEST(ProjectReader, SurvivesHostileShapes)
{
    // Deep nesting: well-formed, so the (empty) project loads.
    QByteArray deep = "<Ponderix><Options>";
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    for (int i = 0; i < 100000; ++i)
        deep += "</a>";
    deep += "</Options></Ponderix>";
    ReadResult nested = readProjectBytes(deep);
    ASSERT_TRUE(nested.ok());
    EXPECT_EQ(nested.project().optionCount(), 1);

    // A 100 MB name is unusual but not wrong.
    QByteArray huge = "<Ponderix><Options><o Name=\"";
    huge += QByteArray(100 * 1024 * 1024, 'x');
    huge += "\"/></Options></Ponderix>";
    ReadResult big = readProjectBytes(huge);
    ASSERT_TRUE(big.ok());
    EXPECT_EQ(big.project().options()[0].Name.size(), 100 * 1024 * 1024);
}

TEST(ProjectReader, KeepsALeadingZeroWidthNoBreakSpace)
{
    // Found by fuzzing: the writer kept the U+FEFF, the reader took it for a
    // byte-order mark and dropped it, so a second save differed from the first.
    Project project;
    project.appendOption(u"  \uFEFF   C231"_s);
    project.appendCriterion(u"\uFEFF\uFEFFtwice"_s, 3);
    project.appendRating(0, 0, u"\uFEFF"_s, 6);
    const QDateTime stamp(QDate(2024, 1, 2), QTime(3, 4, 5));
    const QByteArray written = projectFileBytes(project, u"bom.pnx"_s, stamp);
    ASSERT_TRUE(written.contains("Name=\"\xEF\xBB\xBF   C231\""));

    ReadResult result = readProjectBytes(written);
    ASSERT_TRUE(result.ok());
    const Project& back = result.project();
    EXPECT_EQ(back.options()[0].Name, u"\uFEFF   C231"_s);
    EXPECT_EQ(back.criteria()[0].Name, u"\uFEFF\uFEFFtwice"_s);
    EXPECT_EQ(back.ratingOf(0, 0)->Comment, u"\uFEFF"_s);
    EXPECT_TRUE(sameBytes(projectFileBytes(back, u"bom.pnx"_s, stamp), written));
}

TEST(ProjectReader, GivesBackWhatTheWriterWrote)
{
    // Texts drawn from the characters where a writer and a reader most easily
    // disagree: blanks and other white space at either end, markup, the
    // zero-width no-break space, characters beyond U+FFFF and line breaks.
    const QString alphabet = u" \t\r\n\uFEFF\u00A0\u2028\u0085&<>\"'a\u00E9\uFFFD"_s;
    const QString beyond = u"\U00020BB7\U0001F600"_s;
    std::mt19937 random(20260112);
    const auto someText = [&] {
        std::uniform_int_distribution<int> length(0, 8);
        std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() + 1);
        QString text;
        for (int n = length(random); n > 0; --n) {
            const qsizetype choice = pick(random);
            text +=
                choice < alphabet.size() ? QString(alphabet[choice]) : beyond.mid(2 * (choice - alphabet.size()), 2);
        }
        return text;
    };
    const QDateTime stamp(QDate(2024, 1, 2), QTime(3, 4, 5));
    for (int round = 0; round < 200; ++round) {
        Project project;
        for (int o = 0; o < 3; ++o)
            project.appendOption(someText());
        for (int c = 0; c < 2; ++c)
            project.appendCriterion(someText(), 1 + c);
        for (int c = 0; c < 2; ++c)
            for (int o = 0; o < 3; ++o)
                project.appendRating(o, c, someText(), o + c);
        const QByteArray written = projectFileBytes(project, u"round.pnx"_s, stamp);
        ReadResult result = readProjectBytes(written);
        ASSERT_TRUE(result.ok()) << round;
        const Project& back = result.project();
        for (int o = 0; o < 3; ++o)
            ASSERT_EQ(back.options()[o].Name, trimBlanks(project.options()[o].Name)) << round;
        for (int c = 0; c < 2; ++c) {
            ASSERT_EQ(back.criteria()[c].Name, trimBlanks(project.criteria()[c].Name)) << round;
            for (int o = 0; o < 3; ++o)
                ASSERT_EQ(back.ratingOf(o, c)->Comment, trimBlanks(project.ratingOf(o, c)->Comment)) << round;
        }
        ASSERT_TRUE(sameBytes(projectFileBytes(back, u"round.pnx"_s, stamp), written)) << round;
    }
}

TEST(ProjectReader, BoundsOptionsAndCriteriaEachOnItsOwn)
{
    const auto entries = [](const char* group, int count) -> QByteArray {
        QByteArray xml = "<Ponderix><" + QByteArray(group) + ">";
        for (int i = 0; i < count; ++i)
            xml += "<e/>";
        return xml + "</" + group + "></Ponderix>";
    };
    // At the limit, even with nothing to multiply it by, a project still opens.
    ReadResult options = readProjectBytes(entries("Options", 1000));
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(options.project().optionCount(), 1000);
    ReadResult criteria = readProjectBytes(entries("Criteria", 1000));
    ASSERT_TRUE(criteria.ok());
    EXPECT_EQ(criteria.project().criterionCount(), 1000);

    const ReadResult tooManyOptions = readProjectBytes(entries("Options", 1001));
    ASSERT_FALSE(tooManyOptions.ok());
    EXPECT_EQ(tooManyOptions.error().kind, ReadError::Kind::TooManyOptions);
    EXPECT_EQ(readErrorMessage(tooManyOptions.error()).text,
              u"File could not be opened!\r\n\r\nThe project holds more than 1,000 options."_s);

    const ReadResult tooManyCriteria = readProjectBytes(entries("Criteria", 1001));
    ASSERT_FALSE(tooManyCriteria.ok());
    EXPECT_EQ(tooManyCriteria.error().kind, ReadError::Kind::TooManyCriteria);
    EXPECT_EQ(readErrorMessage(tooManyCriteria.error()).text,
              u"File could not be opened!\r\n\r\nThe project holds more than 1,000 criteria."_s);
}

TEST(ProjectReader, FillsInAtMostAHundredThousandMissingRatings)
{
    const auto matrix = [](int options, int criteria, int listedRatings) -> QByteArray {
        QByteArray xml = "<Ponderix><Options>" + QByteArray("<o/>").repeated(options) + "</Options><Criteria>"
                         + QByteArray("<c/>").repeated(criteria) + "</Criteria><Ratings>";
        for (int i = 0; i < listedRatings; ++i)
            xml += "<r IndexOption=\"" + QByteArray::number(i % options) + "\" IndexCriteria=\""
                   + QByteArray::number(i / options) + "\"/>";
        return xml + "</Ratings></Ponderix>";
    };
    // 1,000 x 100 cells with none listed: exactly the 100,000 that may be made up.
    ReadResult atTheLimit = readProjectBytes(matrix(1000, 100, 0));
    ASSERT_TRUE(atTheLimit.ok());
    EXPECT_EQ(atTheLimit.project().ratingCount(), 100000);

    const ReadResult beyond = readProjectBytes(matrix(1000, 101, 0));
    ASSERT_FALSE(beyond.ok());
    EXPECT_EQ(beyond.error().kind, ReadError::Kind::TooManyMissing);
    EXPECT_EQ(readErrorMessage(beyond.error()).text,
              u"File could not be opened!\r\n\r\nThe file leaves out more than 100,000 of the project's ratings."_s);

    // What the file lists does not count: 101,000 cells, 1,000 of them listed.
    ReadResult listed = readProjectBytes(matrix(1000, 101, 1000));
    ASSERT_TRUE(listed.ok());
    EXPECT_EQ(listed.project().ratingCount(), 101000);
}

TEST(ProjectReader, OneLongAttributeCostsNoMoreThanItsLength)
{
    // A 48 MB comment read from a file in fixed 64 KiB slices was scanned
    // again from its start for every slice: some 18 GB of scanning, over ten
    // seconds. Read in linear time it takes well under one.
    QTemporaryDir folder;
    const QString path = folder.filePath(u"long.pnx"_s);
    constexpr qsizetype kLength = 48 * 1024 * 1024;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<Ponderix><Options><o/></Options><Criteria><c/></Criteria><Ratings>"
                   "<r IndexOption=\"0\" IndexCriteria=\"0\" Comment=\"");
        file.write(QByteArray(kLength, 'x'));
        file.write("\"/></Ratings></Ponderix>");
    }
    QElapsedTimer timer;
    timer.start();
    ReadResult result = readProjectFile(path);
    const qint64 elapsed = timer.elapsed();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.project().ratingOf(0, 0)->Comment.size(), kLength);
    EXPECT_LT(elapsed, 8000);
}

TEST(ProjectReader, SaysWhyAPathCannotBeRead)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath(u"pipe.pnx"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {folder.filePath(u"missing.pnx"_s), u"No such file or directory"_s},
        {folder.path(), u"Is a directory"_s},
        {fifo, u"It is a named pipe, not a file."_s},
        {u"/dev/null"_s, u"It is a device, not a file."_s},
    };
    for (const Case& c : cases) {
        const ReadResult result = readProjectFile(c.path);
        ASSERT_FALSE(result.ok()) << c.path.toStdString();
        EXPECT_EQ(result.error().kind, ReadError::Kind::CannotRead);
        EXPECT_EQ(result.error().description, c.reason);
    }
}

TEST(ProjectReader, SaysWhyInTheChosenLanguage)
{
    QTemporaryDir folder;
    ASSERT_TRUE(chooseLanguage(u"de"_s));
    const ReadResult result = readProjectFile(folder.filePath(u"missing.pnx"_s));
    chooseLanguage(u"en"_s);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().description, u"Datei oder Ordner nicht gefunden"_s);
}
