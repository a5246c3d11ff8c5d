// The decision record's HTML taken apart with an XML reader, on projects
// whose scores and robustness are worked out by hand below.
#include "export/DecisionRecord.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"
#include "tests/TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

struct Element {
    QString name;
    QXmlStreamAttributes attributes;
    QString text; // every piece of text inside, in order
    std::vector<std::unique_ptr<Element>> children;

    void collect(const QString& wanted, std::vector<const Element*>& found) const
    {
        if (name == wanted)
            found.push_back(this);
        for (const auto& child : children)
            child->collect(wanted, found);
    }
    std::vector<const Element*> all(const QString& wanted) const
    {
        std::vector<const Element*> found;
        collect(wanted, found);
        return found;
    }
};

struct Parsed {
    Element root;
    QString error; // empty when the document is well-formed
};

Parsed parse(const QByteArray& document)
{
    Parsed parsed;
    QXmlStreamReader reader(document);
    std::vector<Element*> open{&parsed.root};
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            auto element = std::make_unique<Element>();
            element->name = reader.name().toString();
            element->attributes = reader.attributes();
            Element* raw = element.get();
            open.back()->children.push_back(std::move(element));
            open.push_back(raw);
        } else if (reader.isEndElement()) {
            open.pop_back();
        } else if (reader.isCharacters()) {
            for (Element* element : open)
                element->text += reader.text();
        }
    }
    if (reader.hasError())
        parsed.error = reader.errorString() + u" at line "_s + QString::number(reader.lineNumber());
    return parsed;
}

// Options with a rating offset (-5..+5) per criterion and a comment naming
// the pair, so every cell is recognisable.
struct Matrix {
    QStringList options;
    std::vector<std::pair<QString, int>> criteria; // name, importance
    std::vector<std::vector<int>> offsets;         // [option][criterion]
};

Project projectOf(const Matrix& matrix)
{
    Project project;
    for (const QString& name : matrix.options)
        project.appendOption(name);
    for (const auto& [name, importance] : matrix.criteria)
        project.appendCriterion(name, importance);
    for (int criterion = 0; criterion < static_cast<int>(matrix.criteria.size()); ++criterion) {
        for (int option = 0; option < matrix.options.size(); ++option) {
            const int offset = matrix.offsets[static_cast<std::size_t>(option)][static_cast<std::size_t>(criterion)];
            project.appendRating(option, criterion,
                                 u"note "_s + QString::number(option) + u'/' + QString::number(criterion),
                                 offset + kNeutralValue);
        }
    }
    ComputeScores(project);
    return project;
}

// Alpha: 5 x 4 + 1 x 2 = 22, / 2 criteria x 4 = +44 % (Good).
// Beta: 5 x -1 + 1 x 5 = 0 (Neutral). Gamma: 5 x -5 + 1 x -3 = -28 -> -56 % (Poor).
// Alpha stays best until its Cost falls 5 steps to -1 (-3 < 0) or Beta's
// Cost rises 5 steps to +4 (25 > 22); no importance change of up to 4 steps
// moves it: robust. Ratings off by 1 leave Alpha at least 5 x 3 + 1 = 16 and
// Beta at most 5 x 0 + 5 = 5: Alpha is best for certain.
const Matrix kCars{{u"Alpha"_s, u"Beta"_s, u"Gamma"_s},
                   {{u"Cost"_s, 5}, {u"Comfort"_s, 1}},
                   {{4, 2}, {-1, 5}, {-5, -3}}};

const QDateTime kExportTime(QDate(2026, 3, 1), QTime(14, 5));

QByteArray recordHtml(const Project& project, const QString& fileName = u"Cars.pnx"_s)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const RecordSource source{project, u"Cars"_s, fileName, kExportTime, nullptr, QString()};
    const RecordOutcome outcome = writeRecordHtml(buffer, source);
    EXPECT_EQ(outcome.status, RecordOutcome::Status::Written) << outcome.error.toStdString();
    return buffer.data();
}

QStringList textsOf(const std::vector<const Element*>& elements)
{
    QStringList texts;
    for (const Element* element : elements)
        texts << element->text;
    return texts;
}

// The cells of every row in a table part (thead, tbody, tfoot), row by row.
std::vector<QStringList> rowsOf(const Element& part)
{
    std::vector<QStringList> rows;
    for (const Element* row : part.all(u"tr"_s)) {
        QStringList cells;
        for (const auto& cell : row->children)
            cells << cell->text;
        rows.push_back(cells);
    }
    return rows;
}

} // namespace

TEST(DecisionRecordHtml, IsWellFormedAndRefersToNothingOutsideItself)
{
    const QByteArray document = recordHtml(projectOf(kCars));
    ASSERT_TRUE(document.startsWith("<!DOCTYPE html>\n"));
    const Parsed parsed = parse(document);
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();

    for (const QString& active : {u"script"_s, u"link"_s, u"iframe"_s, u"object"_s, u"embed"_s, u"base"_s})
        EXPECT_TRUE(parsed.root.all(active).empty()) << active.toStdString();
    for (const QString& name : {u"a"_s, u"img"_s, u"p"_s, u"section"_s, u"table"_s, u"style"_s, u"meta"_s}) {
        for (const Element* element : parsed.root.all(name)) {
            EXPECT_FALSE(element->attributes.hasAttribute(u"href"_s)) << name.toStdString();
            if (element->attributes.hasAttribute(u"src"_s)) {
                EXPECT_TRUE(element->attributes.value(u"src"_s).startsWith(u"data:image/png;base64,"));
            }
        }
    }
    const auto styles = parsed.root.all(u"style"_s);
    ASSERT_EQ(styles.size(), 1u);
    EXPECT_FALSE(styles[0]->text.contains(u"url("));
    EXPECT_FALSE(styles[0]->text.contains(u"@import"));
    EXPECT_FALSE(document.contains("http:") || document.contains("https:") || document.contains("file:"));

    const auto metas = parsed.root.all(u"meta"_s);
    ASSERT_FALSE(metas.empty());
    EXPECT_EQ(metas[0]->attributes.value(u"charset"_s), u"utf-8");
}

TEST(DecisionRecordHtml, EmbedsEveryPageAtTwiceTheSizeItIsShownAt)
{
    const Parsed parsed = parse(recordHtml(projectOf(kCars)));
    const auto images = parsed.root.all(u"img"_s);
    // Overview, three details, profile, robustness.
    ASSERT_EQ(images.size(), 6u);
    const int heights[] = {530, 540, 540, 540, 530, 530};
    for (std::size_t at = 0; at < images.size(); ++at) {
        const QXmlStreamAttributes& attributes = images[at]->attributes;
        EXPECT_EQ(attributes.value(u"width"_s), u"700");
        EXPECT_EQ(attributes.value(u"height"_s).toInt(), heights[at]) << at;
        const QByteArray base64 = attributes.value(u"src"_s).mid(22).toLatin1();
        const QImage picture = QImage::fromData(QByteArray::fromBase64(base64), "PNG");
        ASSERT_FALSE(picture.isNull()) << at;
        EXPECT_EQ(picture.size(), QSize(1400, 2 * heights[at])) << at;
        // Every page opens with its title bar at (5, 10) in the header colour.
        EXPECT_EQ(picture.pixel(11, 21) & 0xFFFFFF, 0x6274CDu) << at;
    }
}

TEST(DecisionRecordHtml, PutsTheSectionsInTheirOrder)
{
    const Parsed parsed = parse(recordHtml(projectOf(kCars)));
    EXPECT_EQ(textsOf(parsed.root.all(u"h1"_s)), QStringList{u"Cars"_s});
    EXPECT_EQ(textsOf(parsed.root.all(u"h2"_s)),
              (QStringList{u"Overview"_s, u"Decision matrix"_s, u"Option details: Option A \"Alpha\""_s,
                           u"Option details: Option B \"Beta\""_s, u"Option details: Option C \"Gamma\""_s,
                           u"Profile"_s, u"Robustness"_s}));
    const auto header = parsed.root.all(u"header"_s);
    ASSERT_EQ(header.size(), 1u);
    EXPECT_TRUE(header[0]->text.contains(u"Exported on 2026-03-01 14:05"));
    EXPECT_EQ(textsOf(parsed.root.all(u"footer"_s)),
              QStringList{u"Made with Ponderix Version 1.0.0 from the project file Cars.pnx"_s});
}

TEST(DecisionRecordHtml, ShowsTheWholeMatrixWithScoresAndVerdicts)
{
    const Parsed parsed = parse(recordHtml(projectOf(kCars)));
    const auto heads = parsed.root.all(u"thead"_s);
    const auto bodies = parsed.root.all(u"tbody"_s);
    const auto feet = parsed.root.all(u"tfoot"_s);
    ASSERT_EQ(heads.size(), 1u);
    ASSERT_EQ(bodies.size(), 1u);
    ASSERT_EQ(feet.size(), 1u);
    const std::vector<QStringList> head{
        {u"Criteria"_s, u"Importance"_s, u"Option AAlpha"_s, u"Option BBeta"_s, u"Option CGamma"_s}};
    EXPECT_EQ(rowsOf(*heads[0]), head);
    const std::vector<QStringList> body{
        {u"1. Cost"_s, u"5"_s, u"+4note 0/0"_s, u"-1note 1/0"_s, u"-5note 2/0"_s},
        {u"2. Comfort"_s, u"1"_s, u"+2note 0/1"_s, u"+5note 1/1"_s, u"-3note 2/1"_s},
    };
    EXPECT_EQ(rowsOf(*bodies[0]), body);
    const std::vector<QStringList> foot{
        {u"Score"_s, QString(), u"+44%"_s, u"0%"_s, u"-56%"_s},
        {u"Verdict"_s, QString(), u"Good"_s, u"Neutral"_s, u"Poor"_s},
    };
    EXPECT_EQ(rowsOf(*feet[0]), foot);
}

TEST(DecisionRecordHtml, GivesAProjectPastTheDesktopsLimitsTablesOf26OptionsAndFewerPicturesAt1x)
{
    // 27 options, one more than the desktop program holds: the matrix comes
    // as options A..Z, then AA alone; every picture has as many pixels as it
    // is shown with, and AA has none.
    Matrix wide{{}, {{u"Only"_s, 3}}, {}};
    for (int option = 0; option < 27; ++option) {
        wide.options << u"O"_s + QString::number(option);
        wide.offsets.push_back({option % 11 - 5});
    }
    const Parsed parsed = parse(recordHtml(projectOf(wide)));
    const auto heads = parsed.root.all(u"thead"_s);
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(rowsOf(*heads[0])[0].size(), 2 + 26);
    EXPECT_EQ(rowsOf(*heads[0])[0].value(27), u"Option ZO25"_s);
    EXPECT_EQ(rowsOf(*heads[1])[0], (QStringList{u"Criteria"_s, u"Importance"_s, u"Option AAO26"_s}));
    EXPECT_EQ(rowsOf(*parsed.root.all(u"tbody"_s)[1])[0],
              (QStringList{u"1. Only"_s, u"3"_s, u"-1note 26/0"_s})); // 26 mod 11 - 5
    // Only A..Z get their detail page; a note says which are left out.
    const auto images = parsed.root.all(u"img"_s);
    ASSERT_EQ(images.size(), 26u + 3u);
    EXPECT_EQ(images[26]->attributes.value(u"alt"_s), u"Option details: Option Z \"O25\""_s);
    const QString note = u"Option details The detail pages from Option AA to Option AA are left out: so many "
                         u"pictures would make the file too large for a browser. The PDF record has them all."_s;
    const auto sections = parsed.root.all(u"section"_s);
    EXPECT_TRUE(
        std::ranges::any_of(sections, [&](const Element* section) { return section->text.simplified() == note; }));
    for (const Element* image : images) {
        const QByteArray base64 = image->attributes.value(u"src"_s).mid(22).toLatin1();
        const QImage picture = QImage::fromData(QByteArray::fromBase64(base64), "PNG");
        EXPECT_EQ(picture.size(), QSize(700, image->attributes.value(u"height"_s).toInt()));
    }
}

TEST(DecisionRecordHtml, SumsUpTheChoiceInOneSentence)
{
    const struct {
        const char* what;
        Matrix matrix;
        QString sentence;
    } cases[] = {
        {"one best option, robust", kCars,
         u"The best choice is Option A \"Alpha\" with a score of +44% (Good). Robustness: Robust, no change of one "
         u"or two steps alters the best choice."_s},
        // 3 x 2 / 1 x 4 = +24 for both.
        {"a tie",
         {{u"X"_s, u"Y"_s}, {{u"Only"_s, 3}}, {{2}, {2}}},
         u"No single option is best: Option A \"X\", Option B \"Y\" share the top score of +24% (Good). "
         u"Robustness: Undecided, no single option has the top score."_s},
        // P: 1 x 1 x 4 = +4, Q: 0; P down one step ties them.
        {"one step from a tie",
         {{u"P"_s, u"Q"_s}, {{u"Only"_s, 1}}, {{1}, {0}}},
         u"The best choice is Option A \"P\" with a score of +4% (Neutral). Robustness: Fragile, a change of one "
         u"step alters the best choice."_s},
        {"no options",
         {{}, {{u"Only"_s, 1}}, {}},
         u"The project has no options to choose from. Robustness: Undecided, no single option has the top score."_s},
    };
    for (const auto& c : cases) {
        const Parsed parsed = parse(recordHtml(projectOf(c.matrix)));
        const auto bold = parsed.root.all(u"header"_s)[0]->all(u"b"_s);
        ASSERT_EQ(bold.size(), 1u) << c.what;
        EXPECT_EQ(bold[0]->text, c.sentence) << c.what;
    }
}

TEST(DecisionRecordHtml, SaysWhatTheRobustnessAnalysisFound)
{
    const Parsed parsed = parse(recordHtml(projectOf(kCars)));
    const auto facts = parsed.root.all(u"table"_s);
    ASSERT_EQ(facts.size(), 4u); // the matrix, then the facts, challengers and chances
    const std::vector<QStringList> found{
        {u"Runner-up:"_s, u"Option B \"Beta\" (0%)"_s},
        {u"Lead:"_s, u"44 points"_s},
        {u"Verdict:"_s, u"Robust: no change of one or two steps alters the best choice"_s},
        {u"Closest change:"_s,
         u"5 steps"
         u"Rating of Option A \"Alpha\" under \"Cost\" from +4 to -1, then best: Option B \"Beta\""
         u"Rating of Option B \"Beta\" under \"Cost\" from -1 to +4, then best: Option B \"Beta\""_s},
    };
    EXPECT_EQ(rowsOf(*facts[1]), found);
    // Gamma needs its Cost up 10 steps to +5: 25 - 3 = 22 ties Alpha.
    ASSERT_EQ(rowsOf(*facts[2]).size(), 2u);
    EXPECT_EQ(rowsOf(*facts[2])[0].value(1).left(13), u"needs 5 steps");
    EXPECT_EQ(rowsOf(*facts[2])[1].value(1).left(14), u"needs 10 steps");
    const std::vector<QStringList> chances{
        {u"Option A \"Alpha\""_s, u"100.0%"_s},
        {u"Option B \"Beta\""_s, u"0.0%"_s},
        {u"Option C \"Gamma\""_s, u"0.0%"_s},
    };
    EXPECT_EQ(rowsOf(*facts[3]), chances);
    EXPECT_TRUE(textsOf(parsed.root.all(u"h3"_s)).contains(u"Chance of being best (ratings uncertain by \u00B11)"_s));
}

TEST(DecisionRecordHtml, ListsTheFirstFewOfManyEquallyCloseChanges)
{
    // Two options at 0 under seven criteria tie; moving any of the 14
    // ratings one step either way ends the tie: 28 changes of 1 step.
    const Matrix tied{{u"P"_s, u"Q"_s},
                      {{u"1"_s, 1}, {u"2"_s, 1}, {u"3"_s, 1}, {u"4"_s, 1}, {u"5"_s, 1}, {u"6"_s, 1}, {u"7"_s, 1}},
                      {{0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}}};
    const Parsed parsed = parse(recordHtml(projectOf(tied)));
    const std::vector<QStringList> facts = rowsOf(*parsed.root.all(u"table"_s)[1]);
    ASSERT_EQ(facts.size(), 4u);
    EXPECT_EQ(facts[3].value(1), u"1 step"
                                 u"Rating of Option A \"P\" under \"1\" from 0 to -1, then best: Option B \"Q\""
                                 u"Rating of Option A \"P\" under \"1\" from 0 to +1, then best: Option A \"P\""
                                 u"Rating of Option B \"Q\" under \"1\" from 0 to -1, then best: Option A \"P\""
                                 u"Rating of Option B \"Q\" under \"1\" from 0 to +1, then best: Option B \"Q\""
                                 u"Rating of Option A \"P\" under \"2\" from 0 to -1, then best: Option B \"Q\""
                                 u"and 23 more"_s);
}

TEST(DecisionRecordHtml, ShowsNamesAndCommentsAsTyped)
{
    const QString name = u"<b>Bold</b> & \"quoted\""_s;
    const QString comment = u"</td><script>alert(1)</script>\nsecond line"_s;
    Project project;
    project.appendOption(name);
    project.appendCriterion(u"<i>Cost</i>"_s, 2);
    project.appendRating(0, 0, comment, 7);
    ComputeScores(project);
    const QByteArray document = recordHtml(project, QString());
    const Parsed parsed = parse(document);
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    EXPECT_TRUE(parsed.root.all(u"script"_s).empty());
    EXPECT_TRUE(parsed.root.all(u"i"_s).empty());
    const std::vector<QStringList> body{
        {u"1. <i>Cost</i>"_s, u"2"_s, u"+2</td><script>alert(1)</script>second line"_s}};
    EXPECT_EQ(rowsOf(*parsed.root.all(u"tbody"_s)[0]), body);
    EXPECT_EQ(rowsOf(*parsed.root.all(u"thead"_s)[0])[0].value(2), u"Option A"_s + name);
    EXPECT_EQ(textsOf(parsed.root.all(u"footer"_s)),
              QStringList{u"Made with Ponderix Version 1.0.0 from a project not yet saved"_s});
}

TEST(DecisionRecordHtml, ShowsCharactersHtmlForbidsAsReplacementCharacters)
{
    // DEL and the C1 controls, C0 controls and form feed, noncharacters in
    // both planes and lone surrogates go; U+00A0, an emoji and ~ stay.
    const QString name = QChar(0xDFFF) + u"a\u007Fb\u0080\u009Fc"_s + QChar(1) + u"\fd\uFDEFe"_s + QChar(0xD800)
                         + u"f\U0001FFFEg\uFFFF\u00A0\U0001F600~"_s;
    Project project;
    project.appendOption(name);
    project.appendCriterion(u"C"_s, 2);
    ComputeScores(project);
    const Parsed parsed = parse(recordHtml(project, QString()));
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    EXPECT_EQ(rowsOf(*parsed.root.all(u"thead"_s)[0])[0].value(2),
              u"Option A\uFFFDa\uFFFDb\uFFFD\uFFFDc\uFFFD\uFFFDd\uFFFDe\uFFFDf\uFFFDg\uFFFD\u00A0\U0001F600~"_s);
}

TEST(DecisionRecord, TakesItsFormatFromTheExtension)
{
    const struct {
        QString path;
        std::optional<RecordFormat> format;
    } cases[] = {
        {u"a.html"_s, RecordFormat::Html}, {u"/x/b.HTM"_s, RecordFormat::Html}, {u"c.pdf"_s, RecordFormat::Pdf},
        {u"d.PDF"_s, RecordFormat::Pdf},   {u"e.txt"_s, std::nullopt},          {u"html"_s, std::nullopt},
        {u"f.pdf.png"_s, std::nullopt},    {u"g.xhtml"_s, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recordFormatOf(c.path), c.format) << c.path.toStdString();
}

TEST(DecisionRecord, CountsItsPartsAndStopsWhenTold)
{
    const Project project = projectOf(kCars);
    const RecordSource source{project, u"Cars"_s, u"Cars.pnx"_s, kExportTime, nullptr, QString()};
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const QString& name : {u"old.html"_s, u"old.pdf"_s}) {
        const QString path = folder.filePath(name);
        // Analysis, overview, matrix, three details, profile, robustness page;
        // long parts ask again in between, with the count they had.
        std::vector<std::pair<int, int>> seen;
        ASSERT_TRUE(writeRecordFile(path, source, [&](int done, int total) {
            seen.emplace_back(done, total);
            return true;
        }));
        const std::size_t asked = seen.size();
        seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
        const std::vector<std::pair<int, int>> everyPart{{1, 8}, {2, 8}, {3, 8}, {4, 8},
                                                         {5, 8}, {6, 8}, {7, 8}, {8, 8}};
        EXPECT_EQ(seen, everyPart) << name.toStdString();
        EXPECT_GT(asked, everyPart.size()) << name.toStdString() << ": the matrix asks as it goes";

        // Stopped at a part, or at the first question asked again.
        for (int stopAt : {1, 4, 8, 0}) {
            ASSERT_TRUE(writeBytes(path, "old"));
            int lastDone = 0;
            bool askedAgain = false; // and so stopped: a Cancel stays pressed
            const RecordOutcome outcome = writeRecordFile(path, source, [&](int done, int) {
                askedAgain = askedAgain || done == lastDone;
                lastDone = done;
                return stopAt == 0 ? !askedAgain : done < stopAt;
            });
            EXPECT_EQ(outcome.status, RecordOutcome::Status::Cancelled) << name.toStdString() << stopAt;
            if (stopAt > 0)
                EXPECT_EQ(lastDone, stopAt) << name.toStdString();
            else
                EXPECT_TRUE(askedAgain) << name.toStdString();
            EXPECT_EQ(readBytes(path), "old") << name.toStdString() << stopAt;
        }
    }
}

TEST(DecisionRecord, ReportsAFileItCannotWrite)
{
    const Project project = projectOf(kCars);
    const RecordSource source{project, u"Cars"_s, u"Cars.pnx"_s, kExportTime, nullptr, QString()};
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const QString& name : {u"missing/record.html"_s, u"missing/record.pdf"_s}) {
        const RecordOutcome outcome = writeRecordFile(folder.filePath(name), source);
        EXPECT_EQ(outcome.status, RecordOutcome::Status::Failed) << name.toStdString();
        EXPECT_FALSE(outcome.error.isEmpty()) << name.toStdString();
    }
    const RecordOutcome wrongName = writeRecordFile(folder.filePath(u"record.txt"_s), source);
    EXPECT_EQ(wrongName.status, RecordOutcome::Status::Failed);
    EXPECT_EQ(wrongName.error, u"A decision record is written as an .html or a .pdf file.");
}
