#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace ponderix {

// Where an instruction of a running process comes from, as the debug
// information of the file it was loaded from tells.
struct SourcePosition {
    QString binary; // the program file or library that holds the instruction
    QString file;   // the source file; empty when the binary has no line information
    int line = 0;   // 0 when unknown
};

// Reads the process's memory map (it must still be running) and the debug
// information of the binary the address lies in. nullopt when the address
// lies in nothing the process has loaded, or the process cannot be read.
std::optional<SourcePosition> sourcePositionIn(std::int64_t processId, std::uint64_t address);

} // namespace ponderix
