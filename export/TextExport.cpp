#include "export/TextExport.h"

#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "export/TabSeparatedField.h"
#include "project/OptionLetter.h"
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
        m_text += tabSeparatedField(value) + u"\t"_s;
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

QString optionTitle(const Option& option)
{
    return uiText(TextKey::TXT00202) + u" "_s + optionLetter(option.Index);
}

// Ratings are taken by their pair, never by their place in the list, so a
// file that lists them in another order still exports every one. A pair
// without a rating (only before regularising) leaves its fields out.
QByteArray criteriaRows(const Project& project)
{
    TextSheet sheet;
    sheet.field(uiText(TextKey::TXT00201)).field(uiText(TextKey::TXT00273));
    for (const Option& option : project.options())
        sheet.field(optionTitle(option)).field(uiText(TextKey::TXT00278));
    sheet.endLine();

    sheet.field(uiText(TextKey::TXT00270)).emptyFields(1);
    for (const Option& option : project.options())
        sheet.field(option.Name).emptyFields(1);
    sheet.endLine();

    sheet.field(uiText(TextKey::TXT00271)).emptyFields(1);
    for (const Option& option : project.options())
        sheet.field(QString::number(option.score)).emptyFields(1);
    sheet.endLine();

    sheet.field(uiText(TextKey::TXT00272)).emptyFields(1);
    for (const Option& option : project.options())
        sheet.field(uiText(verdictBand(option.score))).emptyFields(1);
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

QByteArray optionRows(const Project& project)
{
    TextSheet sheet;
    sheet.field(uiText(TextKey::TXT00203))
        .field(uiText(TextKey::TXT00270))
        .field(uiText(TextKey::TXT00271))
        .field(uiText(TextKey::TXT00272));
    for (const Criterion& criterion : project.criteria())
        sheet.field(criterionTitle(criterion));
    sheet.endLine();

    sheet.field(uiText(TextKey::TXT00273)).emptyFields(3);
    for (const Criterion& criterion : project.criteria())
        sheet.field(QString::number(criterion.Importance));
    sheet.endLine();

    for (const Option& option : project.options()) {
        sheet.field(optionTitle(option))
            .field(option.Name)
            .field(QString::number(option.score))
            .field(uiText(verdictBand(option.score)));
        for (const Criterion& criterion : project.criteria()) {
            if (const Rating* rating = project.ratingOf(option.Index, criterion.Index))
                sheet.field(offsetOf(*rating));
        }
        sheet.endLine();

        sheet.field(uiText(TextKey::TXT00279)).emptyFields(3);
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

QByteArray textExportBytes(const Project& project, int layout)
{
    return layout == kOptionRowsLayout ? optionRows(project) : criteriaRows(project);
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
