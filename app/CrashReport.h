#pragma once

#include "platform/Dialogs.h"

#include <QString>

#include <optional>

namespace ponderix {

struct CrashFacts;
struct SourcePosition;

// Whether a crashed copy of the program started this process to report for it.
bool isCrashReportRequest(int argc, char* argv[]);

// Lines 1 to 8 of the report: what goes on the clipboard.
QString crashReportLines(const CrashFacts& facts, const std::optional<SourcePosition>& source);

// The whole text of the box: the lines, where to send them, and the question.
QString crashReportMessage(const QString& lines);

// Puts the lines on the clipboard and asks the question. Needs a QApplication.
Dialogs::Answer presentCrashReport(const QString& lines, Dialogs& dialogs);

// The reporter process: reads the crashed process's hand-off from standard
// input, finds the failing source line in it and shows the report; nullptr
// for `dialogs` means the real message box. Returns the exit code: 0 once the
// report has reached the user, 1 when it could not, so that the crashed
// process writes the report to standard error itself.
int runCrashReporter(int& argc, char* argv[], Dialogs* dialogs = nullptr);

} // namespace ponderix
