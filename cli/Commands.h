#pragma once

#include <QStringList>

namespace ponderix::cli {

// Runs the subcommand named by the first argument (program name excluded)
// and returns the process exit code.
int run(const QStringList& arguments);

} // namespace ponderix::cli
