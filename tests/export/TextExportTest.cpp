#include "export/TextExport.h"

#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "export/ReportBuilder.h"
#include "project/Project.h"
#include "tests/ScoredDemo.h"
#include "tests/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <vector>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray exported(const Project& project, int layout)
{
    return textExportBytes(project, layout);
}

// A full matrix of neutral ratings, the way the editor builds one.
Project neutralMatrix(int options, int criteria)
{
    Project project;
    for (int i = 0; i < options; ++i)
        project.addOption(u"o"_s + QString::number(i));
    for (int i = 0; i < criteria; ++i)
        project.addCriterion(u"c"_s + QString::number(i));
    ComputeScores(project);
    return project;
}

// Lines without their CR LF; fails when the bytes do not end with one.
QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    EXPECT_EQ(lines.takeLast(), QByteArray()) << "the file must end with CR LF";
    for (QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
        line.chop(1);
    }
    return lines;
}

// The rows a spreadsheet reads from tab-separated text, as an independent
// reader (Python's csv module) finds them.
QList<QStringList> spreadsheetRows(const QByteArray& text)
{
    QProcess python;
    python.start(u"/usr/bin/python3"_s,
                 {u"-c"_s, u"import csv, io, json, sys; print(json.dumps(list(csv.reader(io.TextIOWrapper("
                           "sys.stdin.buffer, 'utf-8', newline=''), 'excel-tab'))))"_s});
    python.write(text);
    python.closeWriteChannel();
    EXPECT_TRUE(python.waitForFinished()) << "python3 reads the text back";
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
        rows.append(row.toVariant().toStringList());
    return rows;
}

std::vector<qsizetype> tabsPerLine(const QByteArray& bytes)
{
    std::vector<qsizetype> tabs;
    for (const QByteArray& line : linesOf(bytes))
        tabs.push_back(line.count('\t'));
    return tabs;
}

} // namespace

TEST(TextExport, DemoMatchesTheGoldenFiles)
{
    const Project demo = scoredDemo();
    EXPECT_TRUE(sameBytes(exported(demo, kCriteriaRowsLayout), readBytes(dataPath("golden/demo-criteria-rows.txt"))));
    EXPECT_TRUE(sameBytes(exported(demo, kOptionRowsLayout), readBytes(dataPath("golden/demo-option-rows.txt"))));
}

TEST(TextExport, LinesAndFieldsFollowTheMatrixSize)
{
    using Tabs = std::vector<qsizetype>;
    const struct {
        int options;
        int criteria;
        Tabs criteriaRows;
        Tabs optionRows;
    } cases[] = {
        {2, 3, Tabs(7, 6), {7, 7, 7, 8, 7, 8}},
        {0, 2, Tabs(6, 2), {6, 6}},
        {0, 0, Tabs(4, 2), {4, 4}},
        // An option without criteria: its comment line has five tabs in all.
        {1, 0, Tabs(4, 4), {4, 4, 4, 5}},
        {3, 1, Tabs(5, 8), {5, 5, 5, 6, 5, 6, 5, 6}},
    };
    for (const auto& entry : cases) {
        const Project project = neutralMatrix(entry.options, entry.criteria);
        EXPECT_EQ(tabsPerLine(exported(project, kCriteriaRowsLayout)), entry.criteriaRows)
            << entry.options << " x " << entry.criteria;
        EXPECT_EQ(tabsPerLine(exported(project, kOptionRowsLayout)), entry.optionRows)
            << entry.options << " x " << entry.criteria;
    }
}

TEST(TextExport, WithoutOptionsOnlyTheLeadingFields)
{
    Project project;
    project.appendCriterion(u"Price"_s, 4);
    EXPECT_EQ(exported(project, kCriteriaRowsLayout),
              "Criteria\tImportance\t\r\nName\t\t\r\nScore\t\t\r\nVerdict\t\t\r\n1. Price\t4\t\r\n");
    EXPECT_EQ(exported(project, kOptionRowsLayout),
              "Options\tName\tScore\tVerdict\t1. Price\t\r\nImportance\t\t\t\t4\t\r\n");
}

TEST(TextExport, ValuesAreOffsetsAndScoresArePlain)
{
    const struct {
        int value;
        const char* written;
    } cases[] = {{0, "-5"}, {1, "-4"}, {5, "0"}, {6, "1"}, {10, "5"}};
    for (const auto& entry : cases) {
        Project project;
        project.appendOption(u"o"_s);
        project.appendCriterion(u"c"_s, 1);
        project.appendRating(0, 0, QString(), entry.value);
        const QByteArray field = QByteArray("\t") + entry.written + "\t";
        EXPECT_EQ(linesOf(exported(project, kCriteriaRowsLayout)).value(4), "1. c\t1" + field + "\t") << entry.value;
        EXPECT_TRUE(linesOf(exported(project, kOptionRowsLayout)).value(2).endsWith(field)) << entry.value;
    }

    for (int score : {42, 0, -7, 100, -100}) {
        Project project;
        project.setScore(project.appendOption(u"o"_s).Index, score);
        const QByteArray number = QByteArray::number(score);
        EXPECT_EQ(linesOf(exported(project, kCriteriaRowsLayout)).value(2), "Score\t\t" + number + "\t\t");
        EXPECT_EQ(linesOf(exported(project, kOptionRowsLayout)).value(2).split('\t').value(2), number);
    }
}

TEST(TextExport, RatingsAreFoundWhateverTheListOrder)
{
    // Listed backwards: the last option's and last criterion's ratings first.
    Project project;
    project.appendOption(u"a"_s);
    project.appendOption(u"b"_s);
    project.appendCriterion(u"x"_s, 1);
    project.appendCriterion(u"y"_s, 1);
    project.appendRating(1, 1, u"b-y"_s, 9);
    project.appendRating(0, 1, u"a-y"_s, 8);
    project.appendRating(1, 0, u"b-x"_s, 7);
    project.appendRating(0, 0, u"a-x"_s, 6);

    const QList<QByteArray> criteriaRows = linesOf(exported(project, kCriteriaRowsLayout));
    EXPECT_EQ(criteriaRows.value(4), "1. x\t1\t1\ta-x\t2\tb-x\t");
    EXPECT_EQ(criteriaRows.value(5), "2. y\t1\t3\ta-y\t4\tb-y\t");

    const QList<QByteArray> optionRows = linesOf(exported(project, kOptionRowsLayout));
    EXPECT_TRUE(optionRows.value(2).endsWith("\t1\t3\t"));
    EXPECT_EQ(optionRows.value(3), "Comments\t\t\t\ta-x\ta-y\t\t");
    EXPECT_TRUE(optionRows.value(4).endsWith("\t2\t4\t"));
    EXPECT_EQ(optionRows.value(5), "Comments\t\t\t\tb-x\tb-y\t\t");
}

// Texts a spreadsheet must read back whole, though they hold the separators;
// the same matrix with a placeholder for each shows the rows it must find.
TEST(TextExport, NamesAndCommentsAreReadBackWhole)
{
    const QStringList typed = {u"\"Nord\" <&> Zürich"_s, u"Größe\tneu"_s, u"two\nlines"_s, u"one\rmore \"\""_s};
    const auto exports = [](const auto& text) {
        Project project;
        project.appendOption(text(0));
        project.appendOption(text(1));
        project.appendCriterion(text(2), 2);
        project.appendRating(0, 0, text(3), 5);
        project.appendRating(1, 0, text(0), 7);
        return QList<QByteArray>{exported(project, kCriteriaRowsLayout), exported(project, kOptionRowsLayout),
                                 buildReport(project).text.toUtf8()};
    };
    const QList<QByteArray> written = exports([&](int i) { return typed[i]; });
    const QList<QByteArray> plain = exports([](int i) { return u"@%1@"_s.arg(i); });
    EXPECT_TRUE(written[0].startsWith("Criteria\t")) << "no byte-order mark";
    for (qsizetype layout = 0; layout < written.size(); ++layout) {
        QList<QStringList> expected = spreadsheetRows(plain[layout]);
        for (QStringList& row : expected) {
            for (qsizetype i = 0; i < typed.size(); ++i)
                row.replaceInStrings(u"@%1@"_s.arg(i), typed[i]);
        }
        EXPECT_EQ(spreadsheetRows(written[layout]), expected) << written[layout].toStdString();
    }
}

TEST(TextExport, UnknownLayoutIndexFallsBackToCriteriaRows)
{
    const Project demo = scoredDemo();
    for (int layout : {-1, 2, 7})
        EXPECT_EQ(exported(demo, layout), exported(demo, kCriteriaRowsLayout)) << layout;
}

TEST(TextExport, TextExtensionIsAddedUnlessPresent)
{
    const struct {
        const char16_t* chosen;
        const char16_t* written;
    } cases[] = {
        {u"Result", u"Result.txt"},
        {u"Result.csv", u"Result.csv.txt"},
        {u"Result.TXT", u"Result.TXT"},
        {u"Result.txt", u"Result.txt"},
        {u"Result.tXt", u"Result.tXt"},
        {u"/home/me/data.csv", u"/home/me/data.csv.txt"},
        {u"/home/me/my.exports/Result", u"/home/me/my.exports/Result.txt"},
        {u"/home/me/old.txt/Result", u"/home/me/old.txt/Result.txt"},
        {u"/home/me/txt", u"/home/me/txt.txt"},
        {u"/home/me/Result.txt.bak", u"/home/me/Result.txt.bak.txt"},
        {u"/home/me/Result.", u"/home/me/Result..txt"},
        {u"/home/me/Résumé.TXT", u"/home/me/Résumé.TXT"},
        {u"/home/me/Résumé.text", u"/home/me/Résumé.text.txt"},
    };
    for (const auto& entry : cases) {
        const QString chosen = QString::fromUtf16(entry.chosen);
        EXPECT_EQ(withTextExtension(chosen), QString::fromUtf16(entry.written)) << chosen.toStdString();
    }
}
