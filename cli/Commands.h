#pragma once

#include <QStringList>

namespace ponderix::cli {

// Exit codes of ponderix-cli: a contract for scripts.
enum ExitCode : int {
    kSuccess = 0,
    kFailure = 1, // a project could not be read or an output not written
    kUsage = 2,
};

// Runs the subcommand named by the first argument (program name excluded).
int run(const QStringList& arguments);

} // namespace ponderix::cli
