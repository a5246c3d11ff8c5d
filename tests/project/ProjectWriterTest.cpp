#include "project/ProjectWriter.h"

#include "base/Blanks.h"
#include "project/DemoProject.h"
#include "project/ProjectMessages.h"
#include "project/ProjectReader.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

const QDateTime kDemoStamp(QDate(2012, 11, 13), QTime(15, 42, 26));

QByteArray crlf(const char* lines)
{
    return QByteArray(lines).replace("\n", "\r\n");
}

Project reread(const QByteArray& bytes)
{
    ReadResult result = readProjectBytes(bytes);
    EXPECT_TRUE(result.ok());
    return result.ok() ? std::move(result.project()) : Project();
}

} // namespace

TEST(DemoProject, IsStoredByteForByte)
{
    const QByteArray expected = crlf(R"(<?xml version="1.0" encoding="UTF-8"?>

<Ponderix Build="Version 1.12.10.01" Name="Cars.pnx" Modified="2012.11.13 15:42:26">
  <Options Size="3">
    <Option Index="0" Name="Car SUV T7"/>
    <Option Index="1" Name="Car SUV D14"/>
    <Option Index="2" Name="Car SUV V8"/>
  </Options>
  <Criteria Size="3">
    <Criterion Index="0" Name="Price" Importance="5"/>
    <Criterion Index="1" Name="Fuel consumption" Importance="4"/>
    <Criterion Index="2" Name="Horsepower" Importance="3"/>
  </Criteria>
  <Ratings Size="9">
    <Rating IndexOption="0" IndexCriteria="0" Value="9" Comment="USD 39&apos;000"/>
    <Rating IndexOption="1" IndexCriteria="0" Value="6" Comment="USD 42&apos;000"/>
    <Rating IndexOption="2" IndexCriteria="0" Value="2" Comment="USD 55&apos;000"/>
    <Rating IndexOption="0" IndexCriteria="1" Value="10" Comment="Diesel"/>
    <Rating IndexOption="1" IndexCriteria="1" Value="8" Comment="Diesel"/>
    <Rating IndexOption="2" IndexCriteria="1" Value="2" Comment="Gasoline"/>
    <Rating IndexOption="0" IndexCriteria="2" Value="8" Comment="245 HP"/>
    <Rating IndexOption="1" IndexCriteria="2" Value="3" Comment="200 HP"/>
    <Rating IndexOption="2" IndexCriteria="2" Value="7" Comment="275 HP"/>
  </Ratings>
</Ponderix>
)");
    EXPECT_TRUE(sameBytes(demoProjectBytes().toByteArray(), expected));

    // The writer lays the demo out exactly the same, but for the program's version.
    const QByteArray written = projectFileBytes(reread(expected), u"Cars.pnx"_s, kDemoStamp);
    EXPECT_TRUE(sameBytes(written, QByteArray(expected).replace("Version 1.12.10.01", "Version 1.0.0")));
}

TEST(ProjectWriter, EmptyGroupsAreStillWritten)
{
    const QByteArray expected = crlf(R"(<?xml version="1.0" encoding="UTF-8"?>

<Ponderix Build="Version 1.0.0" Name="empty.pnx" Modified="2026.01.02 03:04:05">
  <Options Size="0"/>
  <Criteria Size="0"/>
  <Ratings Size="0"/>
</Ponderix>
)");
    EXPECT_TRUE(
        sameBytes(projectFileBytes(Project(), u"empty.pnx"_s, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))), expected));
}

TEST(ProjectWriter, EscapesTrimsAndDropsWhatXmlCannotHold)
{
    Project project;
    project.appendOption(u"  R&D <new> \"quoted\" 'single'  "_s);
    project.appendCriterion(u"\ttab and\r\nbreak "_s, 2);
    project.appendRating(0, 0,
                         u"bell\u0007 nul"_s + QChar(0) + u" lone"_s + QChar(0xD800)
                             + u" \U0001F600 \uFFFE\uFFFF end"_s,
                         7);
    const QByteArray bytes = projectFileBytes(project, u"a&b.pnx"_s, kDemoStamp);

    EXPECT_TRUE(bytes.contains(R"(Name="a&amp;b.pnx")"));
    EXPECT_TRUE(bytes.contains(R"(Name="R&amp;D &lt;new&gt; &quot;quoted&quot; &apos;single&apos;")"));
    EXPECT_TRUE(bytes.contains(R"(Name="&#9;tab and&#13;&#10;break")"));
    EXPECT_TRUE(bytes.contains("Comment=\"bell nul lone \xF0\x9F\x98\x80  end\""));

    const Project back = reread(bytes);
    ASSERT_EQ(back.optionCount(), 1);
    ASSERT_EQ(back.criterionCount(), 1);
    ASSERT_NE(back.ratingOf(0, 0), nullptr);
    EXPECT_EQ(back.options()[0].Name, u"R&D <new> \"quoted\" 'single'"_s);
    EXPECT_EQ(back.criteria()[0].Name, u"\ttab and\r\nbreak"_s);
    EXPECT_EQ(back.ratingOf(0, 0)->Value, 7);
}

TEST(ProjectWriter, FourByteCharactersSurviveSaveAndOpen)
{
    // Characters above U+FFFF, each with a different bit in every byte. The
    // expected bytes are worked out from the code points by hand:
    // U+20BB7 = 0 0010 0000 1011 1011 0111 -> 11110|000 10|100000 10|101110 10|110111.
    struct Case {
        QString text;
        const char* bytes;
    };
    const Case cases[] = {
        {u"\U00020BB7"_s, "\xF0\xA0\xAE\xB7"},
        {u"\U00010000"_s, "\xF0\x90\x80\x80"},
        {u"\U0010FFFF"_s, "\xF4\x8F\xBF\xBF"},
        {u"\U0001D11E"_s, "\xF0\x9D\x84\x9E"},
    };
    Project project;
    for (const Case& c : cases) {
        project.appendOption(c.text + u" option"_s);
        project.appendCriterion(u"criterion "_s + c.text, 2);
    }
    for (int c = 0; c < project.criterionCount(); ++c)
        for (int o = 0; o < project.optionCount(); ++o)
            project.appendRating(o, c, cases[o].text + cases[c].text, 4);

    QTemporaryDir folder;
    const QString path = folder.filePath(u"\U00020BB7.pnx"_s);
    ASSERT_TRUE(writeProjectFile(project, path, kDemoStamp).ok);
    const QByteArray bytes = readBytes(path);
    for (const Case& c : cases) {
        EXPECT_TRUE(bytes.contains(QByteArray("Name=\"").append(c.bytes).append(" option\""))) << c.bytes;
        EXPECT_TRUE(bytes.contains(QByteArray("Comment=\"").append(c.bytes).append(c.bytes).append("\""))) << c.bytes;
    }
    EXPECT_TRUE(bytes.contains("Name=\"\xF0\xA0\xAE\xB7.pnx\""));

    ReadResult opened = readProjectFile(path);
    ASSERT_TRUE(opened.ok());
    const Project& back = opened.project();
    ASSERT_EQ(back.optionCount(), 4);
    ASSERT_EQ(back.criterionCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back.options()[i].Name, project.options()[i].Name);
        EXPECT_EQ(back.criteria()[i].Name, project.criteria()[i].Name);
        for (int o = 0; o < 4; ++o)
            EXPECT_EQ(back.ratingOf(o, i)->Comment, project.ratingOf(o, i)->Comment);
    }
}

TEST(ProjectWriter, RoundTripKeepsEverythingButOuterBlanks)
{
    Project project;
    for (int o = 0; o < 4; ++o)
        project.appendOption(u"Option \u00e4\u4e2d %1 "_s.arg(o));
    for (int c = 0; c < 3; ++c)
        project.appendCriterion(u" Criterion %1"_s.arg(c), c + 2);
    for (int c = 0; c < 3; ++c)
        for (int o = 0; o < 4; ++o)
            project.appendRating(o, c, o == c ? QString() : u"note %1/%2"_s.arg(o).arg(c), (o * 3 + c) % 11);

    const QByteArray first = projectFileBytes(project, u"x.pnx"_s, kDemoStamp);
    const Project back = reread(first);
    ASSERT_EQ(back.ratingCount(), 12);
    for (int o = 0; o < 4; ++o)
        EXPECT_EQ(back.options()[o].Name, trimBlanks(project.options()[o].Name));
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(back.criteria()[c].Importance, c + 2);
        for (int o = 0; o < 4; ++o) {
            EXPECT_EQ(back.ratingOf(o, c)->Value, project.ratingOf(o, c)->Value);
            EXPECT_EQ(back.ratingOf(o, c)->Comment, project.ratingOf(o, c)->Comment);
        }
    }
    // A second pass is a fixed point.
    EXPECT_TRUE(sameBytes(projectFileBytes(back, u"x.pnx"_s, kDemoStamp), first));
}

TEST(ProjectWriter, TrimsBlanksOnly)
{
    EXPECT_EQ(trimBlanks(u"  a b  "_s), u"a b"_s);
    EXPECT_EQ(trimBlanks(u"\ta\n"_s), u"\ta\n"_s);
    EXPECT_EQ(trimBlanks(u"    "_s), QString());
}

TEST(ProjectWriter, FailedSaveLeavesTheOldFileAndSaysWhy)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"kept.pnx"_s);
    ASSERT_TRUE(writeBytes(path, "old bytes"));

    // A file where a folder should be: no one, not even root, can write there.
    const QString blocked = folder.filePath(u"kept.pnx/inner.pnx"_s);
    const WriteResult failed = writeProjectFile(Project(), blocked, kDemoStamp);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    EXPECT_EQ(readBytes(path), QByteArray("old bytes"));
    // The message names the file, then what the system said.
    EXPECT_EQ(writeErrorMessage(blocked, failed).text,
              u"The project could not be saved.\r\n\r\n"_s + blocked + u"\r\n\r\n"_s + failed.error);

    EXPECT_FALSE(writeProjectFile(Project(), folder.path(), kDemoStamp).ok);

    ASSERT_TRUE(writeProjectFile(Project(), path, kDemoStamp).ok);
    EXPECT_TRUE(readBytes(path).startsWith("<?xml"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary left over
}
