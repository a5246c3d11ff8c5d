// report and export: the report document, its text twin and the text export
// of a project file, without the desktop program.
#include "base/TextTable.h"
#include "cli/Subcommand.h"
#include "evaluation/Scoring.h"
#include "export/ReportBuilder.h"
#include "export/TextExport.h"

#include <optional>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

std::optional<int> layoutNamed(const QString& name)
{
    if (name == u"criteria")
        return kCriteriaRowsLayout;
    if (name == u"options")
        return kOptionRowsLayout;
    return std::nullopt;
}

int writeReport(const Arguments& arguments)
{
    std::optional<Project> project = readProjectOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    ComputeScores(*project);
    const Report report = buildReport(*project);
    if (const int outcome = writeFileOrReport(arguments.value(u"-o"_s), report.document); outcome != kSuccess)
        return outcome;
    if (arguments.has(u"--text"_s))
        return writeFileOrReport(arguments.value(u"--text"_s), report.text.toUtf8());
    return kSuccess;
}

int writeTextExport(const Arguments& arguments)
{
    // Checked first: a misspelt layout is a usage error whatever the file holds.
    const std::optional<int> layout = layoutNamed(arguments.value(u"--layout"_s));
    if (!layout)
        return usageError(u"export"_s,
                          uiText(TextKey::TXT02048)
                              .arg(u"--layout"_s, u"criteria"_s, u"options"_s, arguments.value(u"--layout"_s)));
    std::optional<Project> project = readProjectOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    ComputeScores(*project);
    return writeFileOrReport(arguments.value(u"-o"_s), textExportBytes(*project, *layout));
}

} // namespace

Subcommand reportCommand()
{
    return {u"report"_s, u"report FILE.pnx -o OUT.html [--text OUT.txt]"_s, 1, {u"-o"_s, u"--text"_s}, {}, {u"-o"_s},
            writeReport};
}

Subcommand exportCommand()
{
    return {u"export"_s,
            u"export FILE.pnx --layout criteria|options -o OUT.txt"_s,
            1,
            {u"--layout"_s, u"-o"_s},
            {},
            {u"--layout"_s, u"-o"_s},
            writeTextExport};
}

} // namespace ponderix::cli
