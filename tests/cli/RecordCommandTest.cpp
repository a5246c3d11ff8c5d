// ponderix-cli record, with the PDF read back by poppler-utils as anyone
// else would read it: its text, its fonts, its pictures and its paper.
#include "project/DemoProject.h"
#include "tests/TestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <map>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// The demo's ratings (importance 5, 4, 3): A +4 +5 +3 = 49, B +1 +3 -2 = 11,
// C -3 -3 +2 = -21; x 4 / 3 criteria gives 65, 15 and -28 (Very good,
// Neutral, Poor). One rating step moves a score by at most 5 x 4 / 3 points,
// so two steps cannot close the lead of 50: robust.
const QStringList kDemoFacts = {
    u"Car SUV T7"_s, u"Car SUV D14"_s, u"Car SUV V8"_s, u"+65%"_s, u"+15%"_s,
    u"-28%"_s,       u"Very good"_s,   u"Neutral"_s,    u"Poor"_s, u"Robust"_s,
};

struct ToolRun {
    bool started = false;
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolRun run;
    run.started = process.waitForStarted();
    if (!run.started)
        return run;
    process.waitForFinished(180000);
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// poppler-utils come with scripts/install-deps; without them these checks
// must fail, never pass unseen.
ToolRun poppler(const QString& tool, const QStringList& arguments)
{
    const ToolRun run = runTool(tool, arguments);
    EXPECT_TRUE(run.started) << tool.toStdString() << " is missing: install poppler-utils (scripts/install-deps does)";
    EXPECT_EQ(run.exitCode, 0) << tool.toStdString() << ": " << run.err.toStdString();
    return run;
}

// The table rows of a poppler listing, split at blanks, after its two header lines.
std::vector<QStringList> listingRows(const QString& listing)
{
    std::vector<QStringList> rows;
    const QStringList lines = listing.split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype at = 2; at < lines.size(); ++at)
        rows.push_back(lines[at].split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts));
    return rows;
}

QString infoField(const QString& info, const QString& field)
{
    const QRegularExpressionMatch match =
        QRegularExpression(u"^"_s + field + u":\\s*(.*)$"_s, QRegularExpression::MultilineOption).match(info);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

class RecordCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(writeBytes(project(), demoProjectBytes().toByteArray()));
    }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    QString project() const { return path(u"Cars.pnx"_s); }

    // The record written under a locale, as a user's shell would start it.
    ToolRun record(const QString& output, const QString& locale = u"de_DE.UTF-8"_s)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, locale);
        environment.remove(u"LC_MEASUREMENT"_s);
        // The paper follows the locale; the texts checked below are the English ones.
        environment.insert(u"LANGUAGE"_s, u"en"_s);
        return runTool(QString::fromUtf8(PONDERIX_CLI), {u"record"_s, project(), u"-o"_s, output}, environment);
    }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(RecordCommand, WritesAPdfWithItsTextAsTextItsFontsAndItsPicturesAtPrinterResolution)
{
    const QString pdf = path(u"cars.pdf"_s);
    const ToolRun written = record(pdf);
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_TRUE(written.err.isEmpty()) << written.err.toStdString();

    const QString text = poppler(u"pdftotext"_s, {pdf, u"-"_s}).out.simplified();
    for (const QString& fact : kDemoFacts)
        EXPECT_TRUE(text.contains(fact)) << fact.toStdString();
    EXPECT_TRUE(text.contains(u"Made with Ponderix Version 1.0.0 from the project file Cars.pnx"));

    const QString info = poppler(u"pdfinfo"_s, {pdf}).out;
    EXPECT_EQ(infoField(info, u"Title"_s), u"Cars");
    const int pages = infoField(info, u"Pages"_s).toInt();
    ASSERT_GE(pages, 5); // the overview with the matrix, three details, the profile, then robustness
    for (int page = 1; page <= pages; ++page) {
        const QString number = u"Page %1 of %2"_s.arg(page).arg(pages);
        EXPECT_TRUE(text.contains(number)) << number.toStdString();
    }

    const std::vector<QStringList> fonts = listingRows(poppler(u"pdffonts"_s, {pdf}).out);
    ASSERT_FALSE(fonts.empty());
    for (const QStringList& font : fonts) {
        // name, type words..., encoding, emb, sub, uni, object, generation
        ASSERT_GE(font.size(), 7) << font.join(u' ').toStdString();
        EXPECT_EQ(font[font.size() - 5], u"yes") << font.join(u' ').toStdString();
    }

    const std::vector<QStringList> images = listingRows(poppler(u"pdfimages"_s, {u"-list"_s, pdf}).out);
    // At least the overview chart and the three detail charts.
    ASSERT_GE(images.size(), 4u);
    for (const QStringList& image : images) {
        ASSERT_GE(image.size(), 14) << image.join(u' ').toStdString();
        EXPECT_GE(image[12].toInt(), 300) << image.join(u' ').toStdString(); // x-ppi
        EXPECT_GE(image[13].toInt(), 300) << image.join(u' ').toStdString(); // y-ppi
        EXPECT_NE(image[8], u"jpeg") << "charts are kept lossless";
    }
    // Each detail chart is lines and text on the same square picture, which
    // the file holds once: one object shown on the three detail pages.
    std::map<QString, int> squarePlacements; // by object number
    for (const QStringList& image : images) {
        if (image[3] == image[4])
            ++squarePlacements[image[10]];
    }
    EXPECT_TRUE(std::ranges::any_of(squarePlacements, [](const auto& object) { return object.second == 3; }));
}

TEST_F(RecordCommand, LaysThePdfOutOnThePaperOfTheLocale)
{
    const struct {
        QString locale;
        QString paper;
    } cases[] = {
        {u"de_DE.UTF-8"_s, u"(A4)"_s},
        {u"en_GB.UTF-8"_s, u"(A4)"_s},
        {u"en_US.UTF-8"_s, u"(letter)"_s},
    };
    for (const auto& c : cases) {
        const QString pdf = path(c.locale + u".pdf"_s);
        ASSERT_EQ(record(pdf, c.locale).exitCode, 0) << c.locale.toStdString();
        const QString size = infoField(poppler(u"pdfinfo"_s, {pdf}).out, u"Page size"_s);
        EXPECT_TRUE(size.endsWith(c.paper)) << c.locale.toStdString() << ": " << size.toStdString();
    }
}

TEST_F(RecordCommand, RefusesWhatItCannotReadOrWrite)
{
    ASSERT_TRUE(writeBytes(path(u"broken.pnx"_s), "<Ponderix><Options>"));
    const struct {
        const char* what;
        QStringList arguments;
        int exitCode;
        QString message;
    } cases[] = {
        {"a missing project", {path(u"none.pnx"_s), u"-o"_s, path(u"a.pdf"_s)}, 1, u"could not be opened"_s},
        {"a broken project", {path(u"broken.pnx"_s), u"-o"_s, path(u"b.html"_s)}, 1, u"could not be opened"_s},
        {"a missing folder",
         {project(), u"-o"_s, path(u"no/c.pdf"_s)},
         1,
         u"The decision record could not be written."_s},
        {"a missing folder for html",
         {project(), u"-o"_s, path(u"no/c.html"_s)},
         1,
         u"The decision record could not be written."_s},
        {"another format", {project(), u"-o"_s, path(u"d.docx"_s)}, 2, u"must end in .html, .htm or .pdf"_s},
        {"no output", {project()}, 2, u"-o is required"_s},
    };
    for (const auto& c : cases) {
        const CliOutcome outcome = runCli(QStringList{u"record"_s} + c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.what;
        EXPECT_TRUE(outcome.err.contains(c.message)) << c.what << ": " << outcome.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(u"a.pdf"_s)));
    EXPECT_FALSE(QFile::exists(path(u"b.html"_s)));
}
