#include "platform/gui/SourcePosition.h"

#include <QFile>

#include <elfutils/libdwfl.h>

#include <memory>

namespace ponderix {

std::optional<SourcePosition> sourcePositionIn(std::int64_t processId, std::uint64_t address)
{
    // Separate debug files (a distribution's -dbgsym packages) are found the
    // standard way, beside the binary or under /usr/lib/debug.
    static char* debugInfoPath = nullptr;
    static const Dwfl_Callbacks callbacks = {dwfl_linux_proc_find_elf, dwfl_standard_find_debuginfo, nullptr,
                                             &debugInfoPath};
    const std::unique_ptr<Dwfl, decltype(&dwfl_end)> session(dwfl_begin(&callbacks), &dwfl_end);
    if (!session)
        return std::nullopt;
    dwfl_report_begin(session.get());
    const int failure = dwfl_linux_proc_report(session.get(), static_cast<pid_t>(processId));
    if (dwfl_report_end(session.get(), nullptr, nullptr) != 0 || failure != 0)
        return std::nullopt;

    Dwfl_Module* module = dwfl_addrmodule(session.get(), address);
    if (!module)
        return std::nullopt;
    SourcePosition position;
    if (const char* name = dwfl_module_info(module, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
        position.binary = QFile::decodeName(name);
    if (Dwfl_Line* line = dwfl_module_getsrc(module, address)) {
        int lineNumber = 0;
        if (const char* file = dwfl_lineinfo(line, nullptr, &lineNumber, nullptr, nullptr, nullptr)) {
            position.file = QFile::decodeName(file);
            position.line = lineNumber;
        }
    }
    return position;
}

} // namespace ponderix
