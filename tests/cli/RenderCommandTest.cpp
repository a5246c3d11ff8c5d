// ponderix-cli render, run as scripts run it.
#include "base/ImageWriters.h"
#include "evaluation/ChartPicture.h"
#include "project/DemoProject.h"
#include "tests/TestSupport.h"
#include "tests/evaluation/PageTestSupport.h"

#include <QFileInfo>
#include <QProcess>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

using Outcome = CliOutcome;

Outcome render(const QStringList& arguments)
{
    return runCli(QStringList{u"render"_s} + arguments);
}

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(writeBytes(project(), demoProjectBytes().toByteArray()));
    }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    QString project() const { return path(u"Cars.pnx"_s); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(RenderCommand, WritesEachPageAsTheWindowsWouldShowIt)
{
    const struct {
        QString page;
        QSize size;
        bool chart;
    } cases[] = {
        {u"overview"_s, {700, 530}, true}, {u"detail:A"_s, {700, 540}, true},    {u"detail:C"_s, {700, 540}, true},
        {u"profile"_s, {700, 530}, false}, {u"robustness"_s, {700, 530}, false},
    };
    for (const auto& c : cases) {
        const QString out = path(c.page.section(u':', 0, 0) + u".png"_s);
        const Outcome outcome = render({project(), u"--page"_s, c.page, u"-o"_s, out});
        ASSERT_EQ(outcome.exitCode, 0) << c.page.toStdString() << ": " << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();
        const QImage page = readChartPicture(out);
        ASSERT_EQ(page.size(), c.size) << c.page.toStdString();
        EXPECT_EQ(page.pixel(5, 10), qRgb(98, 116, 205));
        if (c.chart) {
            EXPECT_FALSE(allWhite(page, QRect(15, 190, 300, 300))) << c.page.toStdString();
        }
    }
    // The detail page of option C carries its own score's marker: -28.
    const QImage detail = readChartPicture(path(u"detail.png"_s));
    EXPECT_EQ(detail.pixel(186, 130) & 0xFFFFFF, 0u);
}

TEST_F(RenderCommand, DrawsThePageForAHighDensityScreenWithScale)
{
    const struct {
        QString page;
        QString scale;
        QSize size;
    } cases[] = {
        {u"overview"_s, u"2"_s, {1400, 1060}},
        {u"detail:B"_s, u"2.0"_s, {1400, 1080}},
        {u"profile"_s, u"1.5"_s, {1050, 795}},
        {u"robustness"_s, u"1.25"_s, {875, 663}},
    };
    for (const auto& c : cases) {
        const QString out = path(c.page.section(u':', 0, 0) + u"-scaled.png"_s);
        const Outcome outcome = render({project(), u"--page"_s, c.page, u"-o"_s, out, u"--scale"_s, c.scale});
        ASSERT_EQ(outcome.exitCode, 0) << c.page.toStdString() << ": " << outcome.err.toStdString();
        const QImage page = readChartPicture(out);
        ASSERT_EQ(page.size(), c.size) << c.page.toStdString();
    }
    // At 2x the title bar's corner (5, 10) lands on (10, 20), and the chart
    // at (15, 190) on (30, 380).
    const QImage overview = readChartPicture(path(u"overview-scaled.png"_s));
    EXPECT_EQ(overview.pixel(10, 20), qRgb(98, 116, 205));
    EXPECT_EQ(overview.pixel(9, 20), qRgb(255, 255, 255));
    EXPECT_EQ(overview.pixel(10, 19), qRgb(255, 255, 255));
    EXPECT_FALSE(allWhite(overview, QRect(30, 380, 600, 600)));

    // --scale 1 is the page without it, byte for byte.
    const QString plain = path(u"plain.png"_s);
    const QString single = path(u"single.png"_s);
    ASSERT_EQ(render({project(), u"--page"_s, u"profile"_s, u"-o"_s, plain}).exitCode, 0);
    ASSERT_EQ(render({project(), u"--page"_s, u"profile"_s, u"-o"_s, single, u"--scale"_s, u"1"_s}).exitCode, 0);
    EXPECT_EQ(readBytes(single), readBytes(plain));
}

TEST_F(RenderCommand, ChoosesTheWriterByTheExtension)
{
    const struct {
        const char* name;
        QByteArray signature;
    } cases[] = {{"page.JPG", "\xFF\xD8\xFF"},
                 {"page.gif", "GIF8"},
                 {"page.bmp", "BM"},
                 {"page.tif", "II*"},
                 {"page.Png", "\x89PNG"}};
    for (const auto& c : cases) {
        const QString out = path(QString::fromUtf8(c.name));
        const Outcome outcome = render({project(), u"--page"_s, u"profile"_s, u"-o"_s, out});
        ASSERT_EQ(outcome.exitCode, 0) << c.name << ": " << outcome.err.toStdString();
        EXPECT_TRUE(readBytes(out).startsWith(c.signature)) << c.name;
    }
}

TEST_F(RenderCommand, RefusesWhatItCannotDo)
{
    const struct {
        const char* name;
        QStringList arguments;
        int exitCode;
        QString message;
    } cases[] = {
        {"unknown page", {project(), u"--page"_s, u"summary"_s, u"-o"_s, path(u"x.png"_s)}, 2, u"--page"_s},
        {"detail without letter", {project(), u"--page"_s, u"detail:"_s, u"-o"_s, path(u"x.png"_s)}, 2, u"--page"_s},
        {"no such option", {project(), u"--page"_s, u"detail:D"_s, u"-o"_s, path(u"x.png"_s)}, 2, u"no option D"_s},
        {"lower-case letter", {project(), u"--page"_s, u"detail:a"_s, u"-o"_s, path(u"x.png"_s)}, 2, u"no option a"_s},
        {"two letters", {project(), u"--page"_s, u"detail:AB"_s, u"-o"_s, path(u"x.png"_s)}, 2, u"no option AB"_s},
        {"unknown extension", {project(), u"--page"_s, u"overview"_s, u"-o"_s, path(u"x.jpeg"_s)}, 2, u".tif"_s},
        {"no extension", {project(), u"--page"_s, u"overview"_s, u"-o"_s, path(u"x"_s)}, 2, u".tif"_s},
        {"missing -o", {project(), u"--page"_s, u"overview"_s}, 2, u"-o"_s},
        {"scale 3",
         {project(), u"--page"_s, u"overview"_s, u"-o"_s, path(u"x.png"_s), u"--scale"_s, u"3"_s},
         2,
         u"--scale must be 1, 1.25, 1.5 or 2"_s},
        {"scale 0.5",
         {project(), u"--page"_s, u"profile"_s, u"-o"_s, path(u"x.png"_s), u"--scale"_s, u"0.5"_s},
         2,
         u"--scale"_s},
        {"scale 1.75",
         {project(), u"--page"_s, u"profile"_s, u"-o"_s, path(u"x.png"_s), u"--scale"_s, u"1.75"_s},
         2,
         u"--scale"_s},
        {"scale not a number",
         {project(), u"--page"_s, u"profile"_s, u"-o"_s, path(u"x.png"_s), u"--scale"_s, u"two"_s},
         2,
         u"--scale"_s},
        {"scale empty",
         {project(), u"--page"_s, u"profile"_s, u"-o"_s, path(u"x.png"_s), u"--scale"_s, u""_s},
         2,
         u"--scale"_s},
        {"missing project", {path(u"absent.pnx"_s), u"--page"_s, u"overview"_s, u"-o"_s, path(u"x.png"_s)}, 1, {}},
        {"unwritable output", {project(), u"--page"_s, u"overview"_s, u"-o"_s, path(u"no/such/folder/x.png"_s)}, 1, {}},
    };
    for (const auto& c : cases) {
        const Outcome outcome = render(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.name << ": " << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.contains(c.message)) << c.name << ": " << outcome.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path(u"x.png"_s))) << c.name;
    }
}

TEST_F(RenderCommand, NamesOptionsPastZAsSpreadsheetsDo)
{
    QByteArray xml = "<Ponderix><Options>";
    for (int i = 0; i < 30; ++i)
        xml += "<o Name=\"n" + QByteArray::number(i) + "\"/>";
    ASSERT_TRUE(writeBytes(path(u"thirty.pnx"_s), xml + "</Options></Ponderix>"));
    const Outcome scores = runCli({u"scores"_s, path(u"thirty.pnx"_s)});
    EXPECT_TRUE(scores.out.contains(u"Z   n25 "_s)) << scores.out.toStdString();
    EXPECT_TRUE(scores.out.contains(u"\nAA  n26 "_s)) << scores.out.toStdString();
    EXPECT_TRUE(scores.out.contains(u"\nAD  n29 "_s)) << scores.out.toStdString();

    const struct {
        QString letter;
        int exitCode;
    } cases[] = {{u"AB"_s, 0}, {u"AD"_s, 0}, {u"AE"_s, 2}, {u"["_s, 2}, {u"ab"_s, 2}};
    for (const auto& c : cases) {
        const QString out = path(c.letter + u".png"_s);
        const Outcome outcome = render({path(u"thirty.pnx"_s), u"--page"_s, u"detail:"_s + c.letter, u"-o"_s, out});
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.letter.toStdString() << ": " << outcome.err.toStdString();
        EXPECT_EQ(QFileInfo::exists(out), c.exitCode == 0) << c.letter.toStdString();
    }
}
