#include "export/ReportBuilder.h"

#include "base/Language.h"
#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"
#include "tests/ScoredDemo.h"
#include "tests/TestSupport.h"

#include <QMap>
#include <QRegularExpression>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

Report reportOf(const Project& project)
{
    return buildReport(project);
}

// One option without criteria, its score set as the scoring would leave it,
// so that any score can be tried.
Project optionScoring(int score)
{
    Project project;
    project.setScore(project.appendOption(u"o"_s).Index, score);
    return project;
}

// One option rated `value` under one criterion of `importance`.
Project oneRating(int importance, int value, const QString& comment = QString())
{
    Project project;
    project.appendOption(u"o"_s);
    project.appendCriterion(u"c"_s, importance);
    project.appendRating(0, 0, comment, value);
    return project;
}

QStringList textRows(const Report& report)
{
    QStringList rows = report.text.split(u"\r\n"_s);
    EXPECT_EQ(rows.takeLast(), QString()) << "the text must end with CR LF";
    return rows;
}

QStringList documentRows(const Report& report)
{
    return QString::fromUtf8(report.document).split(u"\r\n"_s);
}

// The document's rows of the table, each from "<tr" to "</tr>".
QStringList tableRows(const Report& report)
{
    QStringList rows;
    for (const QString& line : documentRows(report)) {
        if (line.startsWith(u"<tr"_s))
            rows << line;
    }
    return rows;
}

} // namespace

TEST(ReportBuilder, DemoMatchesTheGoldenFiles)
{
    const Report report = reportOf(scoredDemo());
    EXPECT_TRUE(sameBytes(report.document, readBytes(dataPath("golden/demo-report.html"))));
    EXPECT_TRUE(sameBytes(report.text.toUtf8(), readBytes(dataPath("golden/demo-report.txt"))));
}

TEST(ReportBuilder, StyleTextCarriesTheFourClasses)
{
    const QString style = QString::fromUtf8(reportStyleText());
    EXPECT_TRUE(style.startsWith(u"<style type=\"text/css\">\r\n"_s));
    EXPECT_TRUE(style.endsWith(u"</style>\r\n"_s));

    // Comments have no effect, so the rules are read back without them and
    // compared with the declarations in their order.
    QString rules = style;
    rules.remove(QRegularExpression(u"/\\*.*?\\*/"_s, QRegularExpression::DotMatchesEverythingOption));
    QMap<QString, QString> found;
    for (const QRegularExpressionMatch& match : QRegularExpression(u"\\.(\\w+)\\s*\\{([^}]*)\\}"_s).globalMatch(rules))
        found[match.captured(1)] = match.captured(2).simplified();
    const QMap<QString, QString> expected = {
        {u"tableframe"_s, u"border: 1px solid #CCCCCC; background-color: #CCCCCC; table-layout: fixed;"_s},
        {u"tableheader"_s,
         u"font-family: Arial, Helvetica, sans-serif; color: #FFFFFF; font-size: 13px; font-weight: bold; "
         u"text-align: center; vertical-align: middle; letter-spacing: 1px; line-height: 150%; "
         u"background-color: #6274CD;"_s},
        {u"tabletitle"_s,
         u"font-family: Arial, Helvetica, sans-serif; color: #000000; font-size: 12px; font-weight: normal; "
         u"text-align: left; vertical-align: top; line-height: 120%; background-color: #EEF6FD;"_s},
        {u"tablerow"_s,
         u"font-family: Arial, Helvetica, sans-serif; color: #000000; font-size: 12px; font-weight: normal; "
         u"text-align: center; vertical-align: top; background-color: #FFFFFF;"_s},
    };
    EXPECT_EQ(found, expected);
}

TEST(ReportBuilder, TableIsOneHundredFiftyPixelsPerColumn)
{
    const struct {
        int options;
        const char* width;
    } cases[] = {{0, "width=150>"}, {1, "width=300>"}, {3, "width=600>"}, {26, "width=4050>"}};
    for (const auto& entry : cases) {
        Project project;
        for (int i = 0; i < entry.options; ++i)
            project.addOption(u"o"_s);
        const Report report = reportOf(project);
        const QStringList lines = documentRows(report);
        const QString tableLine =
            u"<table cellspacing=1 cellpadding=3 class=tableframe "_s + QString::fromUtf8(entry.width);
        EXPECT_TRUE(lines.contains(tableLine)) << entry.options;
        // Every column, the label column too, gets its own 150.
        EXPECT_EQ(tableRows(report).value(0).count(u"<td width=150>"_s), entry.options + 1) << entry.options;
    }
}

TEST(ReportBuilder, WithoutOptionsOnlyTheLabelColumnRemains)
{
    Project project;
    project.appendCriterion(u"Price"_s, 4);
    const Report report = reportOf(project);
    EXPECT_EQ(tableRows(report),
              QStringList({u"<tr class=tableheader><td width=150>Criteria</td></tr>"_s,
                           u"<tr class=tablerow><td class=tabletitle><b>Name</b></td></tr>"_s,
                           u"<tr class=tablerow><td class=tabletitle><b>Score</b></td></tr>"_s,
                           u"<tr class=tablerow><td class=tabletitle><b>Verdict</b></td></tr>"_s,
                           u"<tr class=tablerow><td class=tabletitle><b>1. Price</b><br>&nbsp;&nbsp;&nbsp;&nbsp;"
                           u"Importance <b>4</b> of 5</td></tr>"_s}));
    EXPECT_EQ(report.text, u"Criteria\t\r\nName\t\r\nScore\t\r\nVerdict\t\r\n1. Price, Importance 4 of 5\t\r\n"_s);
}

TEST(ReportBuilder, WithoutCriteriaOnlyTheFourFixedRows)
{
    Project project;
    project.addOption(u"Solo"_s);
    ComputeScores(project);
    const Report report = reportOf(project);
    EXPECT_EQ(tableRows(report).size(), 4);
    EXPECT_EQ(report.text, u"Criteria\tOption A\t\r\nName\tSolo\t\r\nScore\t0%\t\r\nVerdict\tNeutral\t\r\n"_s);
    const QStringList lines = documentRows(report);
    EXPECT_EQ(lines.mid(lines.size() - 4), QStringList({u"</table>"_s, u"</body>"_s, u"</html>"_s, QString()}));
}

TEST(ReportBuilder, ScoresAndVerdictsAtTheBandBorders)
{
    const struct {
        int score;
        const char16_t* scoreText;
        const char16_t* verdict;
    } cases[] = {
        {61, u"+61%", u"Very good"}, {60, u"+60%", u"Good"},       {21, u"+21%", u"Good"},
        {20, u"+20%", u"Neutral"},   {12, u"+12%", u"Neutral"},    {0, u"0%", u"Neutral"},
        {-7, u"-7%", u"Neutral"},    {-20, u"-20%", u"Neutral"},   {-21, u"-21%", u"Poor"},
        {-60, u"-60%", u"Poor"},     {-61, u"-61%", u"Very poor"}, {-100, u"-100%", u"Very poor"},
    };
    for (const auto& entry : cases) {
        const Report report = reportOf(optionScoring(entry.score));
        const QStringList text = textRows(report);
        const QStringList rows = tableRows(report);
        const QString scoreText = QString::fromUtf16(entry.scoreText);
        const QString verdict = QString::fromUtf16(entry.verdict);
        EXPECT_EQ(text.value(2), u"Score\t"_s + scoreText + u"\t"_s) << entry.score;
        EXPECT_EQ(text.value(3), u"Verdict\t"_s + verdict + u"\t"_s) << entry.score;
        EXPECT_TRUE(rows.value(2).endsWith(u"<td><b>"_s + scoreText + u"</b></td></tr>"_s)) << entry.score;
        EXPECT_TRUE(rows.value(3).endsWith(u"<td>"_s + verdict + u"</td></tr>"_s)) << entry.score;
    }
}

// The document is read by a person, its tab-separated twin by spreadsheets.
TEST(ReportBuilder, OnlyTheDocumentWritesScoresTheLanguagesWay)
{
    ASSERT_TRUE(chooseLanguage(u"de"_s, QByteArrayView()));
    const Report report = reportOf(optionScoring(-7));
    chooseLanguage(u"en"_s);
    EXPECT_TRUE(tableRows(report).value(2).endsWith(u"<td><b>-7\u00A0%</b></td></tr>"_s));
    EXPECT_EQ(textRows(report).value(2), u"Score\t-7%\t"_s);
}

TEST(ReportBuilder, RatingCellTintAndSign)
{
    const struct {
        int importance;
        int value;
        const char16_t* tint;
        const char16_t* shown;
    } cases[] = {
        {3, 5, u"#ffffff", u"0"},   {5, 5, u"#ffffff", u"0"},  {3, 10, u"#ccffcc", u"+5"},
        {2, 10, u"#ffffff", u"+5"}, {5, 8, u"#ccffcc", u"+3"}, {4, 8, u"#ffffff", u"+3"}, // 15 tints, 12 does not
        {4, 9, u"#ccffcc", u"+4"},  {3, 9, u"#ffffff", u"+4"},                            // 16 and 12
        {1, 6, u"#ffffff", u"+1"},  {5, 2, u"#ffcccc", u"-3"}, {4, 2, u"#ffffff", u"-3"}, // -15 tints, -12 does not
        {3, 0, u"#ffcccc", u"-5"},  {3, 1, u"#ffffff", u"-4"},                            // -15 and -12
        {4, 1, u"#ffcccc", u"-4"},  {1, 0, u"#ffffff", u"-5"},
    };
    for (const auto& entry : cases) {
        const Report report = reportOf(oneRating(entry.importance, entry.value));
        const QString shown = QString::fromUtf16(entry.shown);
        const QString cell = u"<td bgcolor="_s + QString::fromUtf16(entry.tint) + u">Rating <b>"_s + shown
                             + u"</b> of &plusmn;5</td></tr>"_s;
        EXPECT_TRUE(tableRows(report).value(4).endsWith(cell))
            << entry.importance << " x " << entry.value << ": " << tableRows(report).value(4).toStdString();
        EXPECT_TRUE(textRows(report).value(4).endsWith(u"\tRating "_s + shown + u" of \u00B15\t"_s))
            << entry.importance << " x " << entry.value;
    }
}

TEST(ReportBuilder, CommentsFollowOnlyWhenGiven)
{
    const struct {
        const char16_t* comment;
        const char16_t* documentCell;
        const char16_t* textCell;
    } cases[] = {
        {u"", u"<td bgcolor=#ffffff>Rating <b>+2</b> of &plusmn;5</td>", u"Rating +2 of \u00B15\t"},
        {u" ", u"<td bgcolor=#ffffff>Rating <b>+2</b> of &plusmn;5<br> </td>", u"Rating +2 of \u00B15,  \t"},
        {u"V8, 275 HP", u"<td bgcolor=#ffffff>Rating <b>+2</b> of &plusmn;5<br>V8, 275 HP</td>",
         u"Rating +2 of \u00B15, V8, 275 HP\t"},
    };
    for (const auto& entry : cases) {
        const Report report = reportOf(oneRating(3, 7, QString::fromUtf16(entry.comment)));
        EXPECT_TRUE(tableRows(report).value(4).endsWith(QString::fromUtf16(entry.documentCell) + u"</tr>"_s))
            << tableRows(report).value(4).toStdString();
        EXPECT_TRUE(textRows(report).value(4).endsWith(QString::fromUtf16(entry.textCell)));
    }
}

TEST(ReportBuilder, MarkupInNamesAndCommentsIsShownAsTyped)
{
    Project project;
    project.appendOption(u"R&D <new>"_s);
    project.appendCriterion(u"\"Fit\" & <i>feel</i>"_s, 2);
    project.appendRating(0, 0, u"<b>bold</b> & 'quoted' \"too\""_s, 5);
    const Report report = reportOf(project);

    const QStringList rows = tableRows(report);
    EXPECT_TRUE(rows.value(1).contains(u"<td><b>R&amp;D &lt;new&gt;</b></td>"_s));
    EXPECT_TRUE(rows.value(4).startsWith(
        u"<tr class=tablerow><td class=tabletitle><b>1. &quot;Fit&quot; &amp; &lt;i&gt;feel&lt;/i&gt;</b><br>"_s));
    EXPECT_TRUE(rows.value(4).contains(u"<br>&lt;b&gt;bold&lt;/b&gt; &amp; 'quoted' &quot;too&quot;</td>"_s));
    const QString document = QString::fromUtf8(report.document);
    for (const QString& raw : {u"<new>"_s, u"<i>"_s, u"<b>bold"_s, u"R&D"_s})
        EXPECT_FALSE(document.contains(raw)) << raw.toStdString();

    const QStringList text = textRows(report);
    EXPECT_EQ(text.value(1), u"Name\tR&D <new>\t"_s);
    EXPECT_EQ(text.value(4),
              u"1. \"Fit\" & <i>feel</i>, Importance 2 of 5\tRating 0 of \u00B15, <b>bold</b> & 'quoted' \"too\"\t"_s);
}

TEST(ReportBuilder, NonAsciiTextIsUtf8InTheDocument)
{
    Project project;
    project.appendOption(u"Zürich – Ærø"_s);
    project.appendCriterion(u"Größe"_s, 3);
    project.appendRating(0, 0, u"日本語"_s, 6);
    const Report report = reportOf(project);
    EXPECT_TRUE(report.document.contains("<td><b>Z\xC3\xBCrich \xE2\x80\x93 \xC3\x86r\xC3\xB8</b></td>"));
    EXPECT_TRUE(report.document.contains("<b>1. Gr\xC3\xB6\xC3\x9F"
                                         "e</b>"));
    EXPECT_TRUE(report.document.contains("<br>\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E</td>"));
    EXPECT_TRUE(report.text.contains(u"\tZürich – Ærø\t"_s));
    EXPECT_TRUE(report.text.contains(u"Rating +1 of \u00B15, 日本語\t"_s));
}

TEST(ReportBuilder, MissingRatingShortensItsRow)
{
    Project project;
    project.appendOption(u"a"_s);
    project.appendOption(u"b"_s);
    project.appendCriterion(u"c"_s, 3);
    project.appendRating(1, 0, QString(), 9);
    const Report report = reportOf(project);
    EXPECT_EQ(tableRows(report).value(4).count(u"<td bgcolor="_s), 1);
    EXPECT_EQ(textRows(report).value(4), u"1. c, Importance 3 of 5\tRating +4 of \u00B15\t"_s);
}

TEST(ReportBuilder, TheHeadIsTheFirstRowsClosedLikeTheWhole)
{
    Project project = scoredDemo();
    while (project.criterionCount() < 30)
        ASSERT_EQ(project.addCriterion(u"More"_s), AddRefusal::None);
    ComputeScores(project);
    const Report report = reportOf(project);
    const QStringList rows = tableRows(report);
    ASSERT_EQ(rows.size(), 34); // header, name, score, verdict and the thirty criteria

    const QByteArray head = reportHead(report.document, 10);
    const QStringList headLines = QString::fromUtf8(head).split(u"\r\n"_s);
    // Everything up to the tenth row's end as it stands, then the closing.
    const qsizetype tenthRow = headLines.indexOf(rows[9]);
    ASSERT_GT(tenthRow, 0);
    EXPECT_TRUE(report.document.startsWith(head.left(head.indexOf(rows[9].toUtf8()) + rows[9].size())));
    EXPECT_EQ(headLines.mid(tenthRow + 1), QStringList({u"</table>"_s, u"</body>"_s, u"</html>"_s, QString()}));
    Report headOnly;
    headOnly.document = head;
    EXPECT_EQ(tableRows(headOnly), rows.mid(0, 10));

    // As many rows as there are, or more, or none to cut at: the whole.
    EXPECT_EQ(reportHead(report.document, 34), report.document);
    EXPECT_EQ(reportHead(report.document, 1000), report.document);
    EXPECT_EQ(reportHead("no table", 5), QByteArray("no table"));
}
