// record: the decision record of a project, as one HTML file or a PDF, the
// format following the output's extension.

#include "base/SystemReason.h"
#include "base/TextTable.h"
#include "cli/Subcommand.h"
#include "evaluation/ChartLibrary.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Scoring.h"
#include "export/DecisionRecord.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

int writeRecord(const Arguments& arguments)
{
    const QString output = arguments.value(u"-o"_s);
    if (!recordFormatOf(output))
        return usageError(u"record"_s, uiText(TextKey::TXT02049).arg(u".html, .htm"_s, u".pdf"_s));
    const QString path = arguments.positional[0];
    std::optional<Project> project = readProjectOrReport(path);
    if (!project)
        return kFailure;
    ComputeScores(*project);

    const QTemporaryDir folder;
    if (!folder.isValid()) {
        writeProblem(uiText(TextKey::TXT02060).arg(translatedSystemReason(folder.errorString())));
        return kFailure;
    }
    const std::unique_ptr<ChartLibrary> charts = loadCharts(folder);
    // A missing background costs only the detail charts, as at start-up.
    writeDetailBackground(folder.path());

    const RecordSource source{*project,     bannerOf(path), QFileInfo(path).fileName(), QDateTime::currentDateTime(),
                              charts.get(), folder.path()};
    const RecordOutcome outcome = writeRecordFile(output, source);
    if (!outcome) {
        reportMessage({uiText(TextKey::TXT00001),
                       uiText(TextKey::TXT00913) + u"\r\n\r\n"_s + output + u"\r\n"_s + outcome.error});
        return kFailure;
    }
    return kSuccess;
}

} // namespace

Subcommand recordCommand()
{
    return {u"record"_s, u"record FILE.pnx -o OUT.html|OUT.pdf"_s, 1, {u"-o"_s}, {}, {u"-o"_s}, writeRecord};
}

} // namespace ponderix::cli
