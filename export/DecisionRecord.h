#pragma once

// The decision record: one document with everything behind a choice, to hand
// to someone who was not there. The same content goes to HTML (one
// self-contained file, pictures embedded at twice their size) or to PDF
// (pages painted directly, text as text); the existing report and exports
// stay as they are.

#include <QDateTime>
#include <QPageSize>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;
class QLocale;

namespace ponderix {

class ChartLibrary;
class Project;

enum class RecordFormat { Html, Pdf };

// The format a file name asks for: .html or .htm, or .pdf, in any case.
std::optional<RecordFormat> recordFormatOf(const QString& path);

// What the record is made from. The project's scores must be computed
// (ComputeScores) before.
struct RecordSource {
    const Project& project;
    QString title;    // the banner text, or the file name without extension
    QString fileName; // the project file's name for the footer; empty when never saved
    QDateTime exportedAt;
    const ChartLibrary* charts = nullptr; // null: overview and details without their charts
    QString temporaryFolder;              // where the chart component puts its files
};

// Called after each finished part with how many of `total` are done; the
// record stops when it returns false.
using RecordProgress = std::function<bool(int done, int total)>;

struct RecordOutcome {
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Failed;
    QString error; // why, when Failed

    explicit operator bool() const { return status == Status::Written; }
};

// The paper a PDF record is laid out on: Letter where the locale measures in
// inches the American way, A4 everywhere else.
QPageSize::PageSizeId recordPaperFor(const QLocale& locale);

// Each writes the whole document to `device`, which is open for writing.
// The PDF uses the paper of the default locale.
RecordOutcome writeRecordHtml(QIODevice& device, const RecordSource& source, const RecordProgress& progress = {});
RecordOutcome writeRecordPdf(QIODevice& device, const RecordSource& source, const RecordProgress& progress = {});

// Writes the record in the format `path` names and replaces the file in one
// step; a failure or a cancel leaves an earlier file as it was.
RecordOutcome writeRecordFile(const QString& path, const RecordSource& source, const RecordProgress& progress = {});

} // namespace ponderix
