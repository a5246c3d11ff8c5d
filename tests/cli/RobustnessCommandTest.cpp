// ponderix-cli robustness: the analysis of a project file as JSON for
// scripts and as readable lines, and its exit codes.
#include "tests/TestSupport.h"

#include <QTemporaryDir>

using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class RobustnessCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_EQ(runCli({u"demo"_s, u"-o"_s, path(u"demo.pnx"_s)}).exitCode, 0);
    }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    CliOutcome robustness(const QStringList& arguments) { return runCli(QStringList{u"robustness"_s} + arguments); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(RobustnessCommand, PrintsTheDemoAsTheAgreedJson)
{
    const CliOutcome outcome = robustness({path(u"demo.pnx"_s), u"--json"_s});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();
    const QString allA = uR"([["A"],["A"],["A"],["A"],["A"]])"_s;
    const QString priceDrop =
        uR"({"kind":"rating","criterion":1,"option":"A","from":4,"to":-4,"best":["B"],"bestCount":1})"_s;
    EXPECT_EQ(outcome.out,
              uR"({"best":["A"],"maximum":65,"runnerUp":{"letters":["B"],"score":15},"lead":50,"verdict":"robust",)"_s
                  + uR"("importance":[{"criterion":1,"name":"Price","importance":5,"best":)"_s + allA
                  + uR"(},{"criterion":2,"name":"Fuel consumption","importance":4,"best":)"_s + allA
                  + uR"(},{"criterion":3,"name":"Horsepower","importance":3,"best":)"_s + allA + u"}],"_s
                  + uR"("closest":{"steps":8,"changes":[)"_s + priceDrop + uR"(],"changeCount":1},)"_s
                  + uR"("challengers":[{"letter":"B","steps":8,"changes":[)"_s + priceDrop
                  + uR"(],"changeCount":1},{"letter":"C","steps":null,"changes":[],"changeCount":0}],)"_s
                  + uR"("uncertainty":{"spread":1,"chance":[{"letter":"A","best":1.000000},)"_s
                  + uR"({"letter":"B","best":0.000000},{"letter":"C","best":0.000000}]}})"_s + u"\n"_s);
}

TEST_F(RobustnessCommand, TiesNullsAndSixDecimals)
{
    ASSERT_TRUE(writeBytes(path(u"tie.pnx"_s),
                           "<Ponderix><Options><Option Index=\"0\" Name=\"One\"/><Option Index=\"1\" Name=\"Two\"/>"
                           "</Options><Criteria><Criterion Index=\"0\" Name=\"Only &quot;one&quot;\" Importance=\"3\"/>"
                           "</Criteria><Ratings>"
                           "<Rating IndexOption=\"0\" IndexCriteria=\"0\" Value=\"7\"/>"
                           "<Rating IndexOption=\"1\" IndexCriteria=\"0\" Value=\"7\"/>"
                           "</Ratings></Ponderix>"));
    const QString head =
        uR"({"best":["A","B"],"maximum":24,"runnerUp":null,"lead":null,"verdict":"undecided",)"_s
        uR"("importance":[{"criterion":1,"name":"Only \"one\"","importance":3,)"_s
        uR"("best":[["A","B"],["A","B"],["A","B"],["A","B"],["A","B"]]}],)"_s
        uR"("closest":{"steps":1,"changes":[)"_s
        uR"({"kind":"rating","criterion":1,"option":"A","from":2,"to":1,"best":["B"],"bestCount":1},)"_s
        uR"({"kind":"rating","criterion":1,"option":"A","from":2,"to":3,"best":["A"],"bestCount":1},)"_s
        uR"({"kind":"rating","criterion":1,"option":"B","from":2,"to":1,"best":["A"],"bestCount":1},)"_s
        uR"({"kind":"rating","criterion":1,"option":"B","from":2,"to":3,"best":["B"],"bestCount":1}],)"_s
        uR"("changeCount":4},"challengers":[],)"_s;
    const QString lines = robustness({path(u"tie.pnx"_s)}).out;
    for (const QString& expected :
         {u"Tied for best: Option A \"One\", Option B \"Two\"\n"_s, u"Next below the tie: none\n"_s,
          u"Closest change: 1 step (4 changes of 1 step each)\n"_s})
        EXPECT_TRUE(lines.contains(expected)) << expected.toStdString() << "\nin:\n" << lines.toStdString();
    // Spread 1: scores 12, 24 or 36 each, A >= B in 6 of 9; spread 2: 15 of 25.
    EXPECT_EQ(robustness({path(u"tie.pnx"_s), u"--json"_s}).out,
              head + uR"("uncertainty":{"spread":1,"chance":[{"letter":"A","best":0.666667},)"_s
                  + uR"({"letter":"B","best":0.666667}]}})"_s + u"\n"_s);
    EXPECT_EQ(robustness({path(u"tie.pnx"_s), u"--spread"_s, u"2"_s, u"--json"_s}).out,
              head + uR"("uncertainty":{"spread":2,"chance":[{"letter":"A","best":0.600000},)"_s
                  + uR"({"letter":"B","best":0.600000}]}})"_s + u"\n"_s);

    ASSERT_TRUE(writeBytes(path(u"empty.pnx"_s), "<Ponderix/>"));
    EXPECT_EQ(robustness({path(u"empty.pnx"_s), u"--json"_s}).out,
              uR"({"best":[],"maximum":null,"runnerUp":null,"lead":null,"verdict":"undecided","importance":[],)"_s
              uR"("closest":null,"challengers":[],"uncertainty":{"spread":1,"chance":[]}})"_s
              u"\n"_s);
}

TEST_F(RobustnessCommand, ReadableLinesAndExitCodes)
{
    const CliOutcome lines = robustness({path(u"demo.pnx"_s)});
    EXPECT_EQ(lines.exitCode, 0);
    for (const QString& expected :
         {u"Best choice: Option A \"Car SUV T7\"\n"_s, u"Runner-up: Option B \"Car SUV D14\" (+15%)\n"_s,
          u"Lead: 50 points\n"_s, u"Verdict: Robust"_s, u"Closest change: 8 steps\n"_s,
          u"Rating of Option A \"Car SUV T7\" under \"Price\" from +4 to -4, then best: Option B \"Car SUV D14\"\n"_s,
          u"  1 \"Price\" (5):  1 A  2 A  3 A  4 A  5 A\n"_s,
          u"Option C \"Car SUV V8\": no single change makes it a best choice\n"_s,
          u"Option A \"Car SUV T7\": 100.0000%\n"_s}) {
        EXPECT_TRUE(lines.out.contains(expected)) << expected.toStdString() << "\nin:\n" << lines.out.toStdString();
    }

    for (const QString& spread : {u"0"_s, u"3"_s, u"1.0"_s, u""_s, u"two"_s}) {
        const CliOutcome wrong = robustness({path(u"demo.pnx"_s), u"--spread"_s, spread});
        EXPECT_EQ(wrong.exitCode, 2) << spread.toStdString();
        EXPECT_TRUE(wrong.out.isEmpty());
    }
    EXPECT_EQ(robustness({path(u"demo.pnx"_s), u"--spread"_s}).exitCode, 2);
    EXPECT_EQ(robustness({}).exitCode, 2);
    EXPECT_EQ(robustness({path(u"missing.pnx"_s)}).exitCode, 1);
    ASSERT_TRUE(writeBytes(path(u"foreign.pnx"_s), "<Other/>"));
    const CliOutcome foreign = robustness({path(u"foreign.pnx"_s), u"--json"_s});
    EXPECT_EQ(foreign.exitCode, 1);
    EXPECT_TRUE(foreign.out.isEmpty());
}

TEST_F(RobustnessCommand, PlainLinesShowLongNamesCutWhileJsonKeepsThemWhole)
{
    const QByteArray option(2'000'000, 'o');
    const QByteArray criterion(2'000'000, 'c');
    ASSERT_TRUE(writeBytes(path(u"long.pnx"_s), "<Ponderix><Options><Option Index=\"0\" Name=\"" + option
                                                    + "\"/><Option Index=\"1\" Name=\"Two\"/></Options><Criteria>"
                                                      "<Criterion Index=\"0\" Name=\""
                                                    + criterion
                                                    + "\" Importance=\"3\"/></Criteria><Ratings>"
                                                      "<Rating IndexOption=\"0\" IndexCriteria=\"0\" Value=\"9\"/>"
                                                      "<Rating IndexOption=\"1\" IndexCriteria=\"0\" Value=\"2\"/>"
                                                      "</Ratings></Ponderix>"));
    const QString ellipsis(QChar(0x2026));
    const CliOutcome plain = robustness({path(u"long.pnx"_s)});
    EXPECT_EQ(plain.exitCode, 0);
    // Each name at most its first 4000 characters and "…", wherever it stands.
    EXPECT_TRUE(plain.out.contains(QString(4000, u'o') + ellipsis));
    EXPECT_TRUE(plain.out.contains(QString(4000, u'c') + ellipsis));
    EXPECT_FALSE(plain.out.contains(QString(4001, u'o')));
    EXPECT_FALSE(plain.out.contains(QString(4001, u'c')));
    EXPECT_LT(plain.out.size(), 100'000);

    const CliOutcome json = robustness({path(u"long.pnx"_s), u"--json"_s});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_TRUE(json.out.contains(u"\"name\":\""_s + QString::fromLatin1(criterion) + u"\""_s));
}
