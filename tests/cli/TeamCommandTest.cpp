// team and blank: the team worked by hand in the team analysis tests, as
// files; the JSON compared whole, since scripts read it by its keys' order.
#include "project/ProjectReader.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class TeamCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(writeBytes(path(u"anna.pnx"_s), R"(<Ponderix><Options><o Name="X"/><o Name="Y"/></Options>
<Criteria><c Name="P" Importance="2"/><c Name="Q" Importance="1"/></Criteria><Ratings>
<r IndexOption="0" IndexCriteria="0" Value="7"/><r IndexOption="0" IndexCriteria="1" Value="4"/>
<r IndexOption="1" IndexCriteria="0" Value="5"/><r IndexOption="1" IndexCriteria="1" Value="8"/>
</Ratings></Ponderix>)"));
        ASSERT_TRUE(writeBytes(path(u"ben.pnx"_s), R"(<Ponderix><Options><o Name="Y"/><o Name="X"/></Options>
<Criteria><c Name="Q" Importance="2"/><c Name="P" Importance="4"/></Criteria><Ratings>
<r IndexOption="1" IndexCriteria="1" Value="6" Comment="cheap"/><r IndexOption="1" IndexCriteria="0" Value="6"/>
<r IndexOption="0" IndexCriteria="1" Value="3"/><r IndexOption="0" IndexCriteria="0" Value="5"/>
</Ratings></Ponderix>)"));
    }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    CliOutcome cli(const QStringList& arguments) const { return runCli(arguments, m_folder.path()); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(TeamCommand, PrintsTheAgreedJsonAndWritesTheCombinedProject)
{
    const CliOutcome outcome =
        cli({u"team"_s, u"anna.pnx"_s, u"ben.pnx"_s, u"--json"_s, u"--combined"_s, u"both.pnx"_s});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(outcome.out,
              uR"({"members":[{"file":"anna.pnx","name":"anna","scores":[6,6],"best":["A","B"]},)"
              uR"({"file":"ben.pnx","name":"ben","scores":[12,-16],"best":["A"]}],)"
              uR"("options":[{"letter":"A","name":"X","score":9,"lowest":6,"highest":12},)"
              uR"({"letter":"B","name":"Y","score":-5,"lowest":-16,"highest":6}],"best":["A"],"maximum":9,)"
              uR"("agreement":{"verdict":"unanimous","agree":2,"members":2},)"
              uR"("disagreements":[{"option":"B","criterion":1,"name":"P","impact":12,"ratings":[0,-2]},)"
              uR"({"option":"B","criterion":2,"name":"Q","impact":9,"ratings":[3,0]},)"
              uR"({"option":"A","criterion":1,"name":"P","impact":6,"ratings":[2,1]},)"
              uR"({"option":"A","criterion":2,"name":"Q","impact":6,"ratings":[-1,1]}],)"
              uR"("chance":[{"letter":"A","best":0.812500},{"letter":"B","best":0.187500}]})"
              u"\n"_s);

    ReadResult combined = readProjectFile(path(u"both.pnx"_s));
    ASSERT_TRUE(combined.ok());
    const Project& project = combined.project();
    ASSERT_EQ(project.ratingCount(), 4);
    EXPECT_EQ(project.criteria()[1].Importance, 2);
    EXPECT_EQ(project.ratingOf(0, 0)->Value, 7);
    EXPECT_EQ(project.ratingOf(0, 0)->Comment, u"anna (+2)\nben (+1): cheap"_s);

    const CliOutcome lines = cli({u"team"_s, u"anna.pnx"_s, u"ben.pnx"_s});
    EXPECT_EQ(lines.exitCode, 0);
    EXPECT_TRUE(lines.out.contains(u"Option A \"X\": +9% (lowest +6%, highest +12%)"_s));
    EXPECT_TRUE(lines.out.contains(u"  ben: A +12%, B -16%; best: A\n"_s));
}

TEST_F(TeamCommand, RefusalsAndWrongUsage)
{
    ASSERT_TRUE(writeBytes(path(u"other.pnx"_s), "<Ponderix><Options><o Name=\"X\"/></Options></Ponderix>"));
    const CliOutcome refused = cli({u"team"_s, u"anna.pnx"_s, u"other.pnx"_s, u"--combined"_s, u"c.pnx"_s});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(u"other.pnx is not a rating of the same decision: the option \"Y\" is missing"_s))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_FALSE(QFile::exists(path(u"c.pnx"_s)));

    EXPECT_EQ(cli({u"team"_s, u"anna.pnx"_s, u"missing.pnx"_s}).exitCode, 1);
    EXPECT_EQ(cli({u"team"_s, u"anna.pnx"_s, u"ben.pnx"_s, u"--combined"_s, u"no/such/folder.pnx"_s}).exitCode, 1);
    for (const QStringList& wrong :
         {QStringList{u"team"_s, u"anna.pnx"_s}, QStringList{u"team"_s, u"anna.pnx"_s, u"ben.pnx"_s, u"--bogus"_s},
          QStringList{u"blank"_s, u"anna.pnx"_s},
          QStringList{u"team"_s, u"anna.pnx"_s, u"ben.pnx"_s, u"--scale"_s, u"2"_s}})
        EXPECT_EQ(cli(wrong).exitCode, 2) << wrong.join(u' ').toStdString();
}

TEST_F(TeamCommand, BlankCopyHasEveryRatingNeutralAndNoComment)
{
    ASSERT_EQ(cli({u"blank"_s, u"ben.pnx"_s, u"-o"_s, u"blank.pnx"_s}).exitCode, 0);
    ReadResult blank = readProjectFile(path(u"blank.pnx"_s));
    ASSERT_TRUE(blank.ok());
    EXPECT_EQ(blank.project().criteria()[1].Importance, 4);
    for (const Rating& rating : blank.project().ratings()) {
        EXPECT_EQ(rating.Value, 5);
        EXPECT_TRUE(rating.Comment.isEmpty());
    }
}
