#pragma once

#include <QStringList>

namespace ponderix::cli {

// Runs the subcommand named by the first argument (program name excluded)
// and returns the process exit code. --language, wherever it stands,
// chooses the language for this run.
int run(QStringList arguments);

// Whether this run was given --language: only then does `demo` write the
// demo project in that language rather than the stored English one.
bool languageGiven();

} // namespace ponderix::cli
