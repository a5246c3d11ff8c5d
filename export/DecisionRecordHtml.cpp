// The decision record as one HTML file: a browser, a phone or a mail program
// shows it without anything beside it. Pictures are PNG data drawn at 2x and
// shown at their 1x size; the markup is also well-formed XML, so any XML
// reader can take it apart.

#include "base/ImageWriters.h"
#include "base/SystemReason.h"
#include "base/TextTable.h"
#include "evaluation/PageStyle.h"
#include "evaluation/ResultPages.h"
#include "export/DecisionRecordContent.h"
#include "project/Project.h"

#include <QIODevice>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Sharp on a 2x screen and when a browser prints.
constexpr qreal kPictureScale = 2.0;

// A project past what the desktop program makes: a script's, of up to a
// thousand options and criteria.
bool pastDesktopLimits(const Project& project)
{
    return project.optionCount() > kOptionLimit || project.criterionCount() > kCriterionLimit;
}

// Such a project gets its pictures at 1x: at 2x its detail pages alone come
// to a gigabyte, and its robustness page to a picture of 640 MB in memory.
qreal pictureScaleFor(const Project& project)
{
    return pastDesktopLimits(project) ? 1.0 : kPictureScale;
}

// Even at 1x a detail page of a thousand criteria is some 200 KB of PNG: a
// thousand of them made a file of 330 MB that a browser took minutes and
// gigabytes to open. Past the desktop's limits only the first 26 options get
// theirs; every rating is in the matrix, every detail page in the PDF.
bool showsDetailPage(const Project& project, int option)
{
    return !pastDesktopLimits(project) || option < kOptionLimit;
}

// One sheet for the whole file; print breaks each section onto a new page.
const auto kStyle =
    u"body{font-family:Arial,'Liberation Sans',Helvetica,sans-serif;color:#000;background:#fff;"
    u"margin:0 auto;padding:8px;max-width:760px;line-height:1.35}"
    u"h1{font-size:1.6em;margin:.2em 0}"
    u"h2{font-size:1.2em;color:#fff;background:#6274cd;padding:4px 8px;margin:0 0 8px}"
    u"h3{font-size:1em;margin:12px 0 4px}"
    u"section{margin:0 0 24px}"
    u"img{display:block;max-width:100%;height:auto;margin:8px 0}"
    u".scroll{overflow-x:auto}.scroll+.scroll{margin-top:12px}"
    u"table{border-collapse:collapse;font-size:.9em}"
    u"th,td{border:1px solid #b0b0b0;padding:3px 6px;vertical-align:top;text-align:left}"
    u"thead th,tfoot th{background:#e8ebf8}"
    u"table.facts th{background:none;border:none;padding-left:0;white-space:nowrap}"
    u"table.facts td{border:none}"
    u"footer{border-top:1px solid #b0b0b0;margin-top:24px;padding-top:6px;font-size:.85em;color:#404040}"
    u"@media print{body{max-width:none;padding:0}section{break-before:page;page-break-before:always}"
    u"header+section{break-before:auto;page-break-before:auto}"
    u"img,tr{break-inside:avoid;page-break-inside:avoid}.scroll{overflow:visible}}"_s;

// HTML allows no controls in text but tab, line feed, carriage return and
// form feed, and no noncharacters; XML, which the record also is, no form
// feed and no half of a surrogate pair. A reference does not help: one to a
// control is an error as well.
bool allowedInRecord(char32_t codePoint)
{
    if (codePoint < 0x20)
        return codePoint == U'\t' || codePoint == U'\n' || codePoint == U'\r';
    if (codePoint >= 0x7F && codePoint <= 0x9F)
        return false;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        return false;
    // U+FDD0..U+FDEF, and the last two code points of every plane.
    return !(codePoint >= 0xFDD0 && codePoint <= 0xFDEF) && (codePoint & 0xFFFE) != 0xFFFE;
}

// Names and comments come from other people's files: shown as typed, never
// taken as markup. A character the record may not hold shows as U+FFFD, as
// a browser shows a broken byte, so the reader still sees that one was there.
QString escaped(const QString& text)
{
    QString allowed;
    qsizetype copied = 0; // text before this is in `allowed`
    for (qsizetype at = 0; at < text.size();) {
        // The bound keeps the read inside the text; past its end stands the
        // string's terminating null, no surrogate, so no test can see it.
        const bool pair = text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
        const char32_t codePoint = pair ? QChar::surrogateToUcs4(text[at], text[at + 1]) : text[at].unicode();
        const qsizetype next = at + (pair ? 2 : 1);
        if (!allowedInRecord(codePoint)) {
            allowed += QStringView(text).sliced(copied, at - copied);
            allowed += QChar::ReplacementCharacter;
            copied = next;
        }
        at = next;
    }
    if (copied == 0)
        return text.toHtmlEscaped();
    allowed += QStringView(text).sliced(copied);
    return allowed.toHtmlEscaped();
}

// Lines of plain text, each escaped, joined by line breaks.
QString escapedLines(const QStringList& lines)
{
    QStringList escapedEach;
    for (const QString& line : lines)
        escapedEach << escaped(line);
    return escapedEach.join(u"<br/>"_s);
}

// A comment typed over several lines keeps them.
QStringList linesOf(QString text)
{
    text.replace(u"\r\n"_s, u"\n"_s);
    return text.split(u'\n');
}

class HtmlOut final {
public:
    explicit HtmlOut(QIODevice& device) : m_device(device) { }

    HtmlOut& operator<<(const QString& text)
    {
        if (m_ok) {
            const QByteArray bytes = text.toUtf8();
            m_ok = m_device.write(bytes) == bytes.size();
        }
        return *this;
    }
    HtmlOut& operator<<(const QByteArray& bytes)
    {
        if (m_ok)
            m_ok = m_device.write(bytes) == bytes.size();
        return *this;
    }
    bool ok() const { return m_ok; }

private:
    QIODevice& m_device;
    bool m_ok = true;
};

// The page drawn at `scale` and put in as a PNG data address, sized at 1x.
QString writePicture(HtmlOut& out, const RecordPage& page, qreal scale)
{
    const QImage picture = pagePicture(page.height, scale, page.paint);
    if (picture.isNull())
        return uiText(TextKey::TXT02062);
    QByteArray png;
    const WriteResult encoded = encodeEmbeddedPng(picture, png);
    if (!encoded)
        return encoded.error;
    out << u"<img width=\""_s + QString::number(kPageWidth) + u"\" height=\""_s + QString::number(page.height)
               + u"\" alt=\""_s + escaped(page.heading) + u"\" src=\"data:image/png;base64,"_s;
    out << png.toBase64() << u"\"/>\n"_s;
    return {};
}

QString writePictureSection(HtmlOut& out, const RecordPage& page, qreal scale)
{
    out << u"<section>\n<h2>"_s + escaped(page.heading) + u"</h2>\n"_s;
    const QString problem = writePicture(out, page, scale);
    out << u"</section>\n"_s;
    return problem;
}

void writeLeftOutDetails(HtmlOut& out, const Project& project)
{
    if (project.optionCount() <= kOptionLimit || !pastDesktopLimits(project))
        return;
    out << u"<section>\n<h2>"_s + escaped(uiText(TextKey::TXT00263)) + u"</h2>\n<p>"_s
               + escaped(
                   uiText(TextKey::TXT00917).arg(optionLabel(kOptionLimit), optionLabel(project.optionCount() - 1)))
               + u"</p>\n</section>\n"_s;
}

// A browser lays out a table only once it has all of it; a thousand options
// side by side would be one table of a million cells, a screen a few
// thousand wide. Past the options the desktop program holds, the matrix comes
// in tables of that many options each, every one with all the criteria.
void writeMatrixColumns(HtmlOut& out, const Project& project, int first, int last)
{
    out << u"<div class=\"scroll\">\n<table>\n"_s;
    QString row = u"<thead><tr><th>"_s + escaped(uiText(TextKey::TXT00201)) + u"</th><th>"_s
                  + escaped(uiText(TextKey::TXT00273)) + u"</th>"_s;
    for (int option = first; option < last; ++option) {
        row += u"<th>"_s + escaped(optionLabel(option)) + u"<br/>"_s
               + escaped(project.options()[static_cast<std::size_t>(option)].Name) + u"</th>"_s;
    }
    out << row + u"</tr></thead>\n<tbody>\n"_s;
    for (const Criterion& criterion : project.criteria()) {
        row = u"<tr><th>"_s + escaped(criterionLabel(project, criterion.Index)) + u"</th><td>"_s
              + QString::number(criterion.Importance) + u"</td>"_s;
        for (int option = first; option < last; ++option) {
            const QString comment = commentOf(project, option, criterion.Index);
            row += u"<td><b>"_s + ratingLabel(project, option, criterion.Index) + u"</b>"_s
                   + (comment.isEmpty() ? QString() : u"<br/>"_s + escapedLines(linesOf(comment))) + u"</td>"_s;
        }
        out << row + u"</tr>\n"_s;
    }
    out << u"</tbody>\n<tfoot>\n"_s;
    row = u"<tr><th>"_s + escaped(uiText(TextKey::TXT00271)) + u"</th><td></td>"_s;
    for (int option = first; option < last; ++option)
        row += u"<td><b>"_s + escaped(scoreLabel(project, option)) + u"</b></td>"_s;
    out << row + u"</tr>\n"_s;
    row = u"<tr><th>"_s + escaped(uiText(TextKey::TXT00272)) + u"</th><td></td>"_s;
    for (int option = first; option < last; ++option)
        row += u"<td>"_s + escaped(verdictLabel(project, option)) + u"</td>"_s;
    out << row + u"</tr>\n</tfoot>\n</table>\n</div>\n"_s;
}

// Stops early when the caller no longer wants the record.
void writeMatrix(HtmlOut& out, const Project& project, const RecordSteps& steps)
{
    out << u"<section>\n<h2>"_s + escaped(uiText(TextKey::TXT00909)) + u"</h2>\n"_s;
    const int options = project.optionCount();
    for (int first = 0; first < std::max(options, 1) && steps.stillWanted(); first += kOptionLimit)
        writeMatrixColumns(out, project, first, std::min(options, first + kOptionLimit));
    out << u"</section>\n"_s;
}

QString factsTable(const std::vector<RecordFact>& facts)
{
    QString table = u"<table class=\"facts\">\n"_s;
    for (const RecordFact& fact : facts)
        table += u"<tr><th>"_s + escaped(fact.label) + u"</th><td>"_s + escapedLines(fact.lines) + u"</td></tr>\n"_s;
    return table + u"</table>\n"_s;
}

void writeRobustnessTexts(HtmlOut& out, const RecordContent& content)
{
    out << factsTable(content.robustnessFacts);
    out << u"<h3>"_s + escaped(uiText(TextKey::TXT00427)) + u"</h3>\n"_s;
    if (content.challengers.empty())
        out << u"<p>"_s + escaped(uiText(TextKey::TXT00432)) + u"</p>\n"_s;
    else
        out << factsTable(content.challengers);
    out << u"<h3>"_s + escaped(content.chanceHeading) + u"</h3>\n"_s + factsTable(content.chances);
}

RecordOutcome failed(const QString& why)
{
    return {RecordOutcome::Status::Failed, why};
}

} // namespace

RecordOutcome writeHtmlRecord(QIODevice& device, const RecordSource& source, const RecordContent& content,
                              RecordSteps& steps)
{
    const Project& project = source.project;
    const RecordOutcome cancelled{RecordOutcome::Status::Cancelled, {}};
    const qreal scale = pictureScaleFor(project);

    HtmlOut out(device);
    out << u"<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
           u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n<title>"_s
               + escaped(uiText(TextKey::TXT00901) + u" - "_s + content.title) + u"</title>\n<style>"_s + kStyle
               + u"</style>\n</head>\n<body>\n<header>\n<h1>"_s + escaped(content.title) + u"</h1>\n<p>"_s
               + escaped(content.exported) + u"</p>\n<p><b>"_s + escaped(content.summary) + u"</b></p>\n</header>\n"_s;

    // Each part is checked as it is written: a full disk stops the record at
    // once rather than after drawing every remaining page.
    auto part = [&](const QString& problem) -> std::optional<RecordOutcome> {
        if (!problem.isEmpty())
            return failed(problem);
        if (!out.ok())
            return failed(translatedSystemReason(device.errorString()));
        if (!steps.done())
            return cancelled;
        return std::nullopt;
    };
    if (auto stop = part(writePictureSection(out, overviewRecordPage(source), scale)))
        return *stop;
    writeMatrix(out, project, steps);
    if (auto stop = part({}))
        return *stop;
    for (const Option& option : project.options()) {
        const QString problem = showsDetailPage(project, option.Index)
                                    ? writePictureSection(out, detailRecordPage(source, option.Index), scale)
                                    : QString();
        if (auto stop = part(problem))
            return *stop;
    }
    writeLeftOutDetails(out, project);
    if (auto stop = part(writePictureSection(out, profileRecordPage(source), scale)))
        return *stop;

    const RecordPage robustnessPage = robustnessRecordPage(source, content.robustness);
    out << u"<section>\n<h2>"_s + escaped(robustnessPage.heading) + u"</h2>\n"_s;
    writeRobustnessTexts(out, content);
    const QString problem = writePicture(out, robustnessPage, scale);
    out << u"</section>\n<footer><p>"_s + escaped(content.footer) + u"</p></footer>\n</body>\n</html>\n"_s;
    if (auto stop = part(problem))
        return *stop;
    return {RecordOutcome::Status::Written, {}};
}

} // namespace ponderix
