#include "export/DecisionRecord.h"

#include "base/AtomicFile.h"
#include "base/TextTable.h"
#include "export/DecisionRecordContent.h"
#include "project/DisplayTexts.h"
#include "project/Project.h"

#include <QFileInfo>
#include <QIODevice>

namespace ponderix {

std::optional<RecordFormat> recordFormatOf(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"html" || extension == u"htm")
        return RecordFormat::Html;
    if (extension == u"pdf")
        return RecordFormat::Pdf;
    return std::nullopt;
}

namespace {

using RecordLayout = RecordOutcome (*)(QIODevice&, const RecordSource&, const RecordContent&, RecordSteps&);

RecordOutcome writeRecordWith(RecordLayout layout, QIODevice& device, const RecordSource& source,
                              const RecordProgress& progress)
{
    // The record is read, not processed: its matrix, pages and PDF lay out
    // every text, so a name of megabytes is shown cut as on screen.
    const Project shownProject = withDisplayTexts(source.project);
    const RecordSource shown{shownProject,      source.title,  source.fileName,
                             source.exportedAt, source.charts, source.temporaryFolder};
    RecordSteps steps(progress, shown.project);
    const std::optional<RecordContent> content = analyseForRecord(shown, steps);
    if (!content)
        return {RecordOutcome::Status::Cancelled, {}};
    return layout(device, shown, *content, steps);
}

} // namespace

RecordOutcome writeRecordHtml(QIODevice& device, const RecordSource& source, const RecordProgress& progress)
{
    return writeRecordWith(writeHtmlRecord, device, source, progress);
}

RecordOutcome writeRecordPdf(QIODevice& device, const RecordSource& source, const RecordProgress& progress)
{
    return writeRecordWith(writePdfRecord, device, source, progress);
}

RecordOutcome writeRecordFile(const QString& path, const RecordSource& source, const RecordProgress& progress)
{
    const std::optional<RecordFormat> format = recordFormatOf(path);
    if (!format)
        return {RecordOutcome::Status::Failed, uiText(TextKey::TXT00916)};
    RecordOutcome outcome;
    const WriteResult written = writeFileAtomically(path, [&](QIODevice& device) {
        outcome = *format == RecordFormat::Html ? writeRecordHtml(device, source, progress)
                                                : writeRecordPdf(device, source, progress);
        return outcome.status == RecordOutcome::Status::Written;
    });
    // A record stopped half-way was never put in place; the old file stands.
    if (outcome.status == RecordOutcome::Status::Cancelled)
        return outcome;
    // A file that cannot even be opened never reaches the writer.
    if (!written)
        return {RecordOutcome::Status::Failed, outcome.error.isEmpty() ? written.error : outcome.error};
    return outcome;
}

} // namespace ponderix
