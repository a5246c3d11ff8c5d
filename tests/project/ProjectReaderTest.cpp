#include "project/ProjectReader.h"

#include "evaluation/Scoring.h"
#include "project/DemoProject.h"
#include "project/ProjectMessages.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

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
        {"broken/too-many-cells.pnx", ReadError::Kind::TooLarge},
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
    EXPECT_EQ(message.text, u"File could not be opened!\r\n\r\nXML Error Message: mismatched tag\r\nLine: 3   Character: 4"_s);
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
    EXPECT_EQ(optionLetter(26), u"["_s);
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
