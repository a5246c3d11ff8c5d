#include "tests/TestSupport.h"

#include <QTemporaryDir>

using namespace ponderix::test;
using namespace Qt::StringLiterals;

// The option names the languages it takes, in the help and when it is wrong.
TEST(CliLanguage, UnknownLanguageIsWrongUsage)
{
    for (const QStringList& arguments :
         {QStringList{u"--language"_s, u"xx"_s, u"texts"_s}, QStringList{u"texts"_s, u"--language"_s}}) {
        const CliOutcome outcome = runCli(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(outcome.err.contains(u"en, de, fr, es, it, pt"_s)) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.out.isEmpty());
    }
    EXPECT_TRUE(runCli({u"--help"_s}).out.contains(u"--language en|de|fr|es|it|pt"_s));
}

TEST(CliLanguage, PlainOutputFollowsTheLanguageAndJsonDoesNot)
{
    const QString demo = dataPath("demo.pnx");
    // 65 % of the demo's best option, with German's no-break space before the sign.
    const CliOutcome german = runCli({u"--language"_s, u"de"_s, u"scores"_s, demo});
    EXPECT_EQ(german.exitCode, 0);
    EXPECT_TRUE(german.out.contains(u"+65\u00A0%"_s)) << german.out.toStdString();
    EXPECT_EQ(runCli({u"scores"_s, demo, u"--json"_s, u"--language"_s, u"fr"_s}).out,
              runCli({u"scores"_s, demo, u"--json"_s}).out);
}

TEST(CliLanguage, DemoIsTheStoredOneUnlessALanguageIsGiven)
{
    QTemporaryDir folder;
    const QString stored = folder.filePath(u"stored.pnx"_s);
    const QString italian = folder.filePath(u"italian.pnx"_s);
    ASSERT_EQ(runCli({u"demo"_s, u"-o"_s, stored}).exitCode, 0);
    ASSERT_EQ(runCli({u"--language"_s, u"it"_s, u"demo"_s, u"-o"_s, italian}).exitCode, 0);
    EXPECT_TRUE(sameBytes(readBytes(stored), readBytes(dataPath("demo.pnx"))));
    EXPECT_FALSE(readBytes(italian).contains("Fuel consumption"));
    // Same options, criteria and ratings: the scores stay those of the English demo.
    const QString scores = u"scores"_s;
    EXPECT_EQ(runCli({scores, italian, u"--json"_s}).out.count(u"\"score\""_s), 3);
    EXPECT_TRUE(runCli({scores, italian, u"--json"_s}).out.endsWith(u"\"best\":[\"A\"],\"maximum\":65}\n"_s));
}
