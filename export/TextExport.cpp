#include "export/TextExport.h"

#include "app/TextTable.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Collects fields and lines; every field is followed by its tab, so a
// spreadsheet sees the same number of columns whether the last is empty or not.
class TextSheet final {
public:
    TextSheet& field(const QString& value)
    {
        m_text += value + u"\t"_s;
        return *this;
    }
    TextSheet& emptyFields(int count)
    {
        m_text += QString(count, u'\t');
        return *this;
    }
    void endLine() { m_text += u"\r\n"_s; }

    QByteArray bytes() const { return m_text.toUtf8(); }

private:
    QString m_text;
};

QString offsetOf(const Rating& rating)
{
    return QString::number(rating.Value - kNeutralValue);
}

QString criterionTitle(const Criterion& criterion)
{
    return QString::number(criterion.Index + 1) + u". "_s + criterion.Name;
}

QString optionTitle(const TextTable& texts, const Option& option)
{
    return texts.text(u"TXT00202") + u" "_s + optionLetter(option.Index);
}

// Ratings are taken by their pair, never by their place in the list, so a
// file that lists them in another order still exports every one. A pair
// without a rating (only before regularising) leaves its fields out.
QByteArray criteriaRows(const Project& project, const TextTable& texts)
{
    TextSheet sheet;
    sheet.field(texts.text(u"TXT00201")).field(texts.text(u"TXT00273"));
    for (const Option& option : project.options())
        sheet.field(optionTitle(texts, option)).field(texts.text(u"TXT00278"));
    sheet.endLine();

    sheet.field(texts.text(u"TXT00270")).emptyFields(1);
    for (const Option& option : project.options())
        sheet.field(option.Name).emptyFields(1);
    sheet.endLine();

    sheet.field(texts.text(u"TXT00271")).emptyFields(1);
    for (const Option& option : project.options())
        sheet.field(QString::number(option.score)).emptyFields(1);
    sheet.endLine();

    sheet.field(texts.text(u"TXT00272")).emptyFields(1);
    for (const Option& option : project.options())
        sheet.field(texts.text(verdictBand(option.score))).emptyFields(1);
    sheet.endLine();

    for (const Criterion& criterion : project.criteria()) {
        sheet.field(criterionTitle(criterion)).field(QString::number(criterion.Importance));
        for (const Option& option : project.options()) {
            if (const Rating* rating = project.ratingOf(option.Index, criterion.Index))
                sheet.field(offsetOf(*rating)).field(rating->Comment);
        }
        sheet.endLine();
    }
    return sheet.bytes();
}

QByteArray optionRows(const Project& project, const TextTable& texts)
{
    TextSheet sheet;
    sheet.field(texts.text(u"TXT00203"))
        .field(texts.text(u"TXT00270"))
        .field(texts.text(u"TXT00271"))
        .field(texts.text(u"TXT00272"));
    for (const Criterion& criterion : project.criteria())
        sheet.field(criterionTitle(criterion));
    sheet.endLine();

    sheet.field(texts.text(u"TXT00273")).emptyFields(3);
    for (const Criterion& criterion : project.criteria())
        sheet.field(QString::number(criterion.Importance));
    sheet.endLine();

    for (const Option& option : project.options()) {
        sheet.field(optionTitle(texts, option))
            .field(option.Name)
            .field(QString::number(option.score))
            .field(texts.text(verdictBand(option.score)));
        for (const Criterion& criterion : project.criteria()) {
            if (const Rating* rating = project.ratingOf(option.Index, criterion.Index))
                sheet.field(offsetOf(*rating));
        }
        sheet.endLine();

        sheet.field(texts.text(u"TXT00279")).emptyFields(3);
        for (const Criterion& criterion : project.criteria()) {
            if (const Rating* rating = project.ratingOf(option.Index, criterion.Index))
                sheet.field(rating->Comment);
        }
        // One empty field more than the value line: the comment line has
        // always ended so, and exports must stay byte-identical to the files
        // users already keep and compare against.
        sheet.emptyFields(1).endLine();
    }
    return sheet.bytes();
}

} // namespace

QByteArray textExportBytes(const Project& project, const TextTable& texts, int layout)
{
    return layout == kOptionRowsLayout ? optionRows(project, texts) : criteriaRows(project, texts);
}

QString withTextExtension(const QString& chosenPath)
{
    // A dot in a folder's name leaves a "/" in what follows it, so only the
    // file's own extension can ever match.
    const qsizetype dot = chosenPath.lastIndexOf(u'.');
    if (dot >= 0 && chosenPath.mid(dot + 1).toLower() == u"txt")
        return chosenPath;
    return chosenPath + u".txt"_s;
}

} // namespace ponderix
