#include "export/ReportBuilder.h"

#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "export/TabSeparatedField.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

#include <span>

namespace ponderix {

namespace assets {
extern const std::span<const unsigned char> kReportStyleBytes;
}

using namespace Qt::StringLiterals;

namespace {

// Every column, the label column included, is this many pixels wide; the
// table's width is the sum so a browser never squeezes a column.
constexpr qint64 kColumnWidth = 150;

// A contribution of this size or more, either way, tints the rating cell.
constexpr int kStrongContribution = 15;

const auto kRowEnd = u"</tr>\r\n"_s;
const auto kDocumentEnd = u"</table>\r\n</body>\r\n</html>\r\n"_s;

const auto kStrongPositiveTint = u"#ccffcc"_s;
const auto kStrongNegativeTint = u"#ffcccc"_s;
const auto kPlainTint = u"#ffffff"_s;

// Names and comments come from files other people wrote: as markup they
// could break the table or smuggle content into the report, so they are
// shown as typed.
QString escaped(const QString& typed)
{
    return typed.toHtmlEscaped();
}

QString backgroundOf(int value, int importance)
{
    const int contribution = importance * (value - kNeutralValue);
    if (value > kNeutralValue)
        return contribution >= kStrongContribution ? kStrongPositiveTint : kPlainTint;
    return contribution <= -kStrongContribution ? kStrongNegativeTint : kPlainTint;
}

// The rating as the user sees it: -5..+5, with a plus only above neutral.
QString signedOffset(int value)
{
    return (value > kNeutralValue ? u"+"_s : QString()) + QString::number(value - kNeutralValue);
}

// Builds the document and the text row by row, so that a row and its
// twin are always written from the same values.
class ReportWriter final {
public:
    void beginRow(const QString& rowOpening) { m_document += rowOpening; }
    void cell(const QString& documentCell, const QString& textCell)
    {
        m_document += documentCell;
        m_text += tabSeparatedField(textCell) + u"\t"_s;
    }
    void endRow()
    {
        m_document += kRowEnd;
        m_text += u"\r\n"_s;
    }
    void append(const QString& documentOnly) { m_document += documentOnly; }

    Report finish() { return {m_document.toUtf8(), m_text}; }

private:
    QString m_document;
    QString m_text;
};

void writeHeaderRow(ReportWriter& report, const Project& project)
{
    const QString opening = u"<td width="_s + QString::number(kColumnWidth) + u">"_s;
    report.beginRow(u"<tr class=tableheader>"_s);
    report.cell(opening + uiText(TextKey::TXT00201) + u"</td>"_s, uiText(TextKey::TXT00201));
    for (const Option& option : project.options()) {
        const QString title = uiText(TextKey::TXT00202) + u" "_s + optionLetter(option.Index);
        report.cell(opening + title + u"</td>"_s, title);
    }
    report.endRow();
}

// Opens a body row with its label cell; the label's markup stays open so
// that a criterion can add its importance line below the bold name.
void beginBodyRow(ReportWriter& report, const QString& documentLabel, const QString& textLabel)
{
    report.beginRow(u"<tr class=tablerow>"_s);
    report.cell(u"<td class=tabletitle><b>"_s + documentLabel, textLabel);
}

void writeFixedRows(ReportWriter& report, const Project& project)
{
    const QString closing = u"</b></td>"_s;

    beginBodyRow(report, uiText(TextKey::TXT00270) + closing, uiText(TextKey::TXT00270));
    for (const Option& option : project.options())
        report.cell(u"<td><b>"_s + escaped(option.Name) + closing, option.Name);
    report.endRow();

    beginBodyRow(report, uiText(TextKey::TXT00271) + closing, uiText(TextKey::TXT00271));
    for (const Option& option : project.options())
        report.cell(u"<td><b>"_s + scoreText(option.score) + closing, plainScoreText(option.score));
    report.endRow();

    beginBodyRow(report, uiText(TextKey::TXT00272) + closing, uiText(TextKey::TXT00272));
    for (const Option& option : project.options()) {
        const QString verdict = uiText(verdictBand(option.score));
        report.cell(u"<td>"_s + verdict + u"</td>"_s, verdict);
    }
    report.endRow();
}

void writeCriterionRow(ReportWriter& report, const Project& project, const Criterion& criterion)
{
    const QString number = QString::number(criterion.Index + 1) + u". "_s;
    const QString importance = QString::number(criterion.Importance);
    const QString of = uiText(TextKey::TXT00151);
    beginBodyRow(report,
                 number + escaped(criterion.Name) + u"</b><br>&nbsp;&nbsp;&nbsp;&nbsp;"_s + uiText(TextKey::TXT00273)
                     + u" <b>"_s + importance + u"</b> "_s + of + u" 5</td>"_s,
                 number + criterion.Name + u", "_s + uiText(TextKey::TXT00273) + u" "_s + importance + u" "_s + of
                     + u" 5"_s);
    for (const Option& option : project.options()) {
        // Only a project that skipped regularising can lack a pair; its row
        // is then one cell shorter rather than showing a rating nobody gave.
        const Rating* rating = project.ratingOf(option.Index, criterion.Index);
        if (!rating)
            continue;
        const QString offset = signedOffset(rating->Value);
        QString documentCell = u"<td bgcolor="_s + backgroundOf(rating->Value, criterion.Importance) + u">"_s
                               + uiText(TextKey::TXT00208) + u" <b>"_s + offset + u"</b> "_s + of + u" &plusmn;5"_s;
        QString textCell = uiText(TextKey::TXT00208) + u" "_s + offset + u" "_s + of + u" \u00B15"_s;
        if (!rating->Comment.isEmpty()) {
            documentCell += u"<br>"_s + escaped(rating->Comment);
            textCell += u", "_s + rating->Comment;
        }
        report.cell(documentCell + u"</td>"_s, textCell);
    }
    report.endRow();
}

} // namespace

QByteArrayView reportStyleText()
{
    return QByteArrayView(assets::kReportStyleBytes.data(), static_cast<qsizetype>(assets::kReportStyleBytes.size()));
}

Report buildReport(const Project& project)
{
    ReportWriter report;
    report.append(u"<html><head>\r\n<title>"_s + uiText(TextKey::TXT00269) + u" - "_s + uiText(TextKey::Program_Name)
                  + u"</title>\r\n<META HTTP-EQUIV='Content-Type' CONTENT='text/html; charset=UTF-8'>\r\n"_s
                  + QString::fromUtf8(reportStyleText()) + u"</head>\r\n"_s
                  + u"<body bgcolor=#ffffff topmargin=5 leftmargin=5 marginheight=0 marginwidth=0>\r\n"_s
                  + u"<table cellspacing=1 cellpadding=3 class=tableframe width="_s
                  + QString::number(kColumnWidth * project.optionCount() + kColumnWidth) + u">\r\n"_s);
    writeHeaderRow(report, project);
    writeFixedRows(report, project);
    for (const Criterion& criterion : project.criteria())
        writeCriterionRow(report, project, criterion);
    report.append(kDocumentEnd);
    return report.finish();
}

QByteArray reportHead(const QByteArray& document, int rows)
{
    const QByteArray rowEnd = kRowEnd.toUtf8();
    qsizetype cut = 0;
    for (int row = 0; row < rows; ++row) {
        cut = document.indexOf(rowEnd, cut);
        if (cut < 0)
            return document;
        cut += rowEnd.size();
    }
    const QByteArray head = document.left(cut) + kDocumentEnd.toUtf8();
    // A cut after the last row would only copy the whole.
    return head.size() >= document.size() ? document : head;
}

} // namespace ponderix
