#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ponderix {

// The argument that turns the program file into the reporter of another,
// crashed copy of itself: the crashed process cannot safely draw a window, so
// it starts a fresh process of the program and hands the facts over.
inline constexpr char kCrashReportArgument[] = "--crash-report";

// What a report shows for a source file or line that cannot be determined.
inline constexpr char kUnknownSource[] = "(unknown)";

// Error codes are Windows exception codes, the numbering support knows from
// reports of the program on Windows. Codes with the customer bit (0xE...)
// stand for what has no exception code of its own.
namespace crash_code {
inline constexpr std::uint32_t kInvalidAccess = 0xC0000005;
inline constexpr std::uint32_t kArrayBounds = 0xC000008C;
inline constexpr std::uint32_t kBreakpoint = 0x80000003;
inline constexpr std::uint32_t kMisaligned = 0x80000002;
inline constexpr std::uint32_t kFloatDenormal = 0xC000008D;
inline constexpr std::uint32_t kFloatDivideByZero = 0xC000008E;
inline constexpr std::uint32_t kFloatInexact = 0xC000008F;
inline constexpr std::uint32_t kFloatInvalid = 0xC0000090;
inline constexpr std::uint32_t kFloatOverflow = 0xC0000091;
inline constexpr std::uint32_t kFloatStack = 0xC0000092;
inline constexpr std::uint32_t kFloatUnderflow = 0xC0000093;
inline constexpr std::uint32_t kIllegalInstruction = 0xC000001D;
inline constexpr std::uint32_t kPageError = 0xC0000006;
inline constexpr std::uint32_t kIntegerDivideByZero = 0xC0000094;
inline constexpr std::uint32_t kIntegerOverflow = 0xC0000095;
inline constexpr std::uint32_t kInvalidDisposition = 0xC0000026;
inline constexpr std::uint32_t kNoncontinuable = 0xC0000025;
inline constexpr std::uint32_t kPrivilegedInstruction = 0xC0000096;
inline constexpr std::uint32_t kSingleStep = 0x80000004;
inline constexpr std::uint32_t kStackOverflow = 0xC00000FD;
// abort(), and so qFatal, a failed assert and the C library's heap checks:
// the fail-fast code the other platform's runtime ends an aborted program with.
inline constexpr std::uint32_t kAbort = 0xC0000409;
// An uncaught C++ exception: the code the other platform's C++ runtime raises
// for every thrown exception, so the report reads as it always has there.
inline constexpr std::uint32_t kCppException = 0xE06D7363;
// A fault signal whose cause the kernel does not say (SIGFPE sent with kill):
// the customer bit plus the signal number.
inline constexpr std::uint32_t kSignalBase = 0xE0000000;
} // namespace crash_code

// The description line of the report for an error code; "Unknown error code"
// for a code without one (an uncaught exception among them).
const char* crashDescription(std::uint32_t code);

// The lowest address the main thread's stack may grow to. A fault close to it
// is a stack overflow: running into the limit faults just below it, and with
// an unlimited stack the kernel keeps a gap of 1 MiB above the mapping below.
struct StackLimit {
    std::uintptr_t lowest = 0; // 0: not known, nothing counts as overflow

    bool isOverflowAt(std::uintptr_t faultAddress) const;
};

// A fault as the kernel delivers it: signal, si_code and si_addr.
struct Fault {
    int signal = 0;
    int signalCode = 0;
    std::uintptr_t address = 0;
};

std::uint32_t crashCodeFor(const Fault& fault, const StackLimit& stack);

// What the crashed process knows and hands to the reporter.
struct CrashFacts {
    std::uint32_t code = 0;
    std::uint64_t address = 0; // the instruction that failed
    std::int64_t processId = 0;

    friend bool operator==(const CrashFacts&, const CrashFacts&) = default;
};

// The texts of lines 5 to 8, as UTF-8.
struct ReportNames {
    std::string_view program;
    std::string_view version;
    std::string_view module; // the source file, or a placeholder
    std::string_view line;
};

// Lines 1 to 8 of the report, ending in "\r\n\r\n", as UTF-8 into `buffer`
// (cut short, never overrun, when it is too small). Returns the length.
// Async-signal-safe: the crashed process uses it for standard error, the
// reporter for the clipboard, so both always say the same.
std::size_t formatCrashReport(char* buffer, std::size_t capacity, const CrashFacts& facts, const ReportNames& names);

// The hand-off through the pipe: a few lines of text. Writing it is
// async-signal-safe.
std::size_t formatHandOff(char* buffer, std::size_t capacity, const CrashFacts& facts);
std::optional<CrashFacts> parseHandOff(std::string_view text);

// Installs the handlers for SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP and SIGABRT, on
// an alternate stack so that a stack overflow still reaches them, and for
// std::terminate. Call once, on the main thread. The names are copied: they
// go to standard error when the reporter cannot be started.
void installCrashHandler(std::string_view programName, std::string_view versionName);

} // namespace ponderix
