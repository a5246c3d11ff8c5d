#include "platform/CrashHandler.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <iterator>

#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>
#include <unwind.h>

// Everything reached from the signal handler below must be async-signal-safe:
// no allocation, no locks, no stdio, no Qt. The process may have crashed in
// the middle of malloc or while holding any lock.

namespace ponderix {

namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT};

// Below the limit: how far one frame may jump past it. Above: the kernel's
// gap below the next mapping, which ends an unlimited stack before the limit
// glibc reports for it.
constexpr std::uintptr_t kOverflowBelowLimit = 1 << 20;
constexpr std::uintptr_t kOverflowAboveLimit = 2 << 20;

// Appends to a fixed buffer and silently stops at its end.
class BufferWriter {
public:
    BufferWriter(char* buffer, std::size_t capacity) : m_buffer(buffer), m_capacity(capacity) { }

    BufferWriter& text(std::string_view text)
    {
        const std::size_t room = m_capacity - m_size;
        const std::size_t count = std::min(room, text.size());
        std::copy_n(text.data(), count, m_buffer + m_size);
        m_size += count;
        return *this;
    }

    BufferWriter& number(std::uint64_t value)
    {
        char digits[24];
        std::size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        std::reverse(digits, digits + count);
        return text({digits, count});
    }

    BufferWriter& signedNumber(std::int64_t value)
    {
        if (value >= 0)
            return number(static_cast<std::uint64_t>(value));
        text("-");
        // Negated in unsigned arithmetic, so the most negative value survives.
        return number(0 - static_cast<std::uint64_t>(value));
    }

    std::size_t size() const { return m_size; }

private:
    char* m_buffer;
    std::size_t m_capacity;
    std::size_t m_size = 0;
};

// Filled once at installation; read-only afterwards.
char s_programName[256];
char s_versionName[256];
char s_programPath[4096];
StackLimit s_stack;
const void* s_qtCore = nullptr; // Qt's core library, when the program has it

// Only the one reporting thread writes these.
char s_handOff[256];
char s_report[4096];

void copyName(char (&target)[256], std::string_view name)
{
    const std::size_t count = std::min(name.size(), sizeof target - 1);
    std::copy_n(name.data(), count, target);
    target[count] = '\0';
}

void writeAll(int descriptor, const char* data, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = write(descriptor, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        length -= static_cast<std::size_t>(written);
    }
}

void setDisposition(int signal, void (*handler)(int))
{
    struct sigaction action { };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

// Starts the program file as the reporter, hands it the facts on its standard
// input and waits until the user has answered. False when no reporter ran to
// its end, so the caller can fall back to standard error.
bool runReporter(const char* handOff, std::size_t length)
{
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0)
        return false;
    // The reporter is our own child and waitpid must find it, whatever the
    // program did with SIGCHLD.
    setDisposition(SIGCHLD, SIG_DFL);
    // _Fork, unlike fork, runs no fork handlers and is async-signal-safe.
    const pid_t child = _Fork();
    if (child == 0) {
        dup2(channel[0], STDIN_FILENO);
        // The crash signals are blocked while the handler runs, and execve
        // would pass that mask on to the reporter.
        sigset_t nothing;
        sigemptyset(&nothing);
        sigprocmask(SIG_SETMASK, &nothing, nullptr);
        char* const arguments[] = {s_programPath, const_cast<char*>(kCrashReportArgument), nullptr};
        // /proc/self/exe still reaches this very program file when an update
        // has replaced or deleted it since the start.
        execve("/proc/self/exe", arguments, environ);
        execve(s_programPath, arguments, environ);
        _exit(127);
    }
    close(channel[0]);
    if (child < 0) {
        close(channel[1]);
        return false;
    }
    // Where ptrace is restricted to ancestors, this lets the reporter read the
    // crashed process's memory maps for the source line.
    prctl(PR_SET_PTRACER, child, 0, 0, 0);
    // A reporter that died early must not turn the hand-off into a SIGPIPE.
    setDisposition(SIGPIPE, SIG_IGN);
    writeAll(channel[1], handOff, length);
    close(channel[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Both answers of the report end the process here with exit code 0. Nothing
// of the orderly shut-down runs: not the settings, not the key store, not
// the clean-up of the temporary folder, and no atexit handler or static
// destructor, which could block on a lock the crashed code still holds.
[[noreturn]] void reportAndExit(const CrashFacts& facts)
{
    static std::atomic_flag reporting;
    if (reporting.test_and_set())
        _exit(0);
    const std::size_t handOffLength = formatHandOff(s_handOff, sizeof s_handOff, facts);
    if (!runReporter(s_handOff, handOffLength)) {
        const ReportNames names{s_programName, s_versionName, kUnknownSource, kUnknownSource};
        const std::size_t length = formatCrashReport(s_report, sizeof s_report, facts, names);
        writeAll(STDERR_FILENO, s_report, length);
    }
    _exit(0);
}

std::uintptr_t instructionAddress(const siginfo_t* info, const void* context)
{
    const auto* machine = &static_cast<const ucontext_t*>(context)->uc_mcontext;
#if defined(__x86_64__)
    auto address = static_cast<std::uintptr_t>(machine->gregs[REG_RIP]);
    // int3 reports the instruction after itself; the breakpoint is the one before.
    if (info->si_signo == SIGTRAP && info->si_code == SI_KERNEL)
        --address;
    return address;
#elif defined(__aarch64__)
    static_cast<void>(info);
    return static_cast<std::uintptr_t>(machine->pc);
#else
    static_cast<void>(machine);
    return reinterpret_cast<std::uintptr_t>(info->si_addr);
#endif
}

// Walks up the stack to the first frame outside the runtime libraries, once
// the walk has passed through one of them: the code that called into the
// runtime that ended the program. The frames before are this handler's own.
struct CallerSearch {
    const void* runtimes[3] = {};
    bool passedRuntime = false;
    std::uintptr_t address = 0;
};

const void* moduleOf(const void* code)
{
    Dl_info info{};
    return dladdr(code, &info) != 0 ? info.dli_fbase : nullptr;
}

_Unwind_Reason_Code visitFrame(_Unwind_Context* context, void* argument)
{
    auto& search = *static_cast<CallerSearch*>(argument);
    int beforeInstruction = 0;
    const _Unwind_Ptr returnAddress = _Unwind_GetIPInfo(context, &beforeInstruction);
    if (returnAddress == 0)
        return _URC_END_OF_STACK;
    const void* module = moduleOf(reinterpret_cast<const void*>(returnAddress));
    if (module != nullptr
        && std::find(std::begin(search.runtimes), std::end(search.runtimes), module) != std::end(search.runtimes)) {
        search.passedRuntime = true;
        return _URC_NO_REASON;
    }
    if (!search.passedRuntime)
        return _URC_NO_REASON;
    // A return address lies after the call; one byte back is the call itself.
    search.address = beforeInstruction != 0 ? returnAddress : returnAddress - 1;
    return _URC_NORMAL_STOP;
}

// 0 when a runtime is linked into the program itself, which cannot be told
// from it, or when no frame outside the runtimes was found.
std::uintptr_t callerOf(const void* runtime, const void* otherRuntime, const void* thirdRuntime = nullptr)
{
    CallerSearch search;
    search.runtimes[0] = runtime;
    search.runtimes[1] = otherRuntime;
    search.runtimes[2] = thirdRuntime;
    const void* program = moduleOf(reinterpret_cast<const void*>(&callerOf));
    if (runtime == nullptr || runtime == program || otherRuntime == program || thirdRuntime == program)
        return 0;
    _Unwind_Backtrace(visitFrame, &search);
    return search.address;
}

// For an uncaught exception that is the throw, since nothing has been unwound
// yet: the first frame outside the C++ runtime and the unwinder.
std::uintptr_t throwSite()
{
    return callerOf(moduleOf(reinterpret_cast<const void*>(&std::terminate)),
                    moduleOf(reinterpret_cast<const void*>(&_Unwind_RaiseException)));
}

// Where the program called abort(), assert, qFatal or a heap function that
// found the heap broken: the signal arrives deep inside the C library (or Qt's
// message handling), whose lines say nothing about which of our calls went
// wrong.
std::uintptr_t abortSite()
{
    return callerOf(moduleOf(reinterpret_cast<const void*>(&::abort)),
                    moduleOf(reinterpret_cast<const void*>(&std::terminate)), s_qtCore);
}

void onFaultSignal(int signal, siginfo_t* info, void* context)
{
    const Fault fault{signal, info->si_code, reinterpret_cast<std::uintptr_t>(info->si_addr)};
    std::uintptr_t address = signal == SIGABRT ? abortSite() : 0;
    if (address == 0)
        address = instructionAddress(info, context);
    reportAndExit({crashCodeFor(fault, s_stack), address, getpid()});
}

[[noreturn]] void onTerminate()
{
    reportAndExit({crash_code::kCppException, throwSite(), getpid()});
}

StackLimit mainStackLimit()
{
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return {};
    void* lowest = nullptr;
    std::size_t size = 0;
    const bool known = pthread_attr_getstack(&attributes, &lowest, &size) == 0;
    pthread_attr_destroy(&attributes);
    return {known ? reinterpret_cast<std::uintptr_t>(lowest) : 0};
}

// A stack overflow leaves no room on the thread's own stack for the handler.
void installAlternateStack()
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t size = 64 * 1024 + static_cast<std::size_t>(SIGSTKSZ);
    void* mapping = mmap(nullptr, page + size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return;
    // A guard page below, so that a handler running out of room faults
    // instead of writing over whatever lies there.
    mprotect(mapping, page, PROT_NONE);
    stack_t alternate{};
    alternate.ss_sp = static_cast<char*>(mapping) + page;
    alternate.ss_size = size;
    if (sigaltstack(&alternate, nullptr) != 0)
        munmap(mapping, page + size);
}

} // namespace

const char* crashDescription(std::uint32_t code)
{
    using namespace crash_code;
    switch (code) {
    case kInvalidAccess:
        return "Invalid memory access";
    case kArrayBounds:
        return "Array bounds exceeded";
    case kBreakpoint:
        return "Debugger breakpoint reached";
    case kMisaligned:
        return "Misaligned data access";
    case kFloatDenormal:
        return "Denormal floating-point operand";
    case kFloatDivideByZero:
        return "Division by zero (floating-point)";
    case kFloatInexact:
        return "Inexact floating-point result";
    case kFloatInvalid:
        return "Invalid floating-point operation";
    case kFloatOverflow:
        return "Floating-point overflow (exponent to great)";
    case kFloatStack:
        return "Floating-point stack overflow or underflow";
    case kFloatUnderflow:
        return "Floating-point underflow (exponent too small)";
    case kIllegalInstruction:
        return "Illegal instruction";
    case kPageError:
        return "Memory page error";
    case kIntegerDivideByZero:
        return "Division by zero ";
    case kIntegerOverflow:
        return "Integer overflow";
    case kInvalidDisposition:
        return "Exception handler returned unknown value";
    case kNoncontinuable:
        return "Exception handler tried to continue after non-continuable exception";
    case kPrivilegedInstruction:
        return "Privileged instruction";
    case kSingleStep:
        return "Single step trap";
    case kStackOverflow:
        return "Stack overflow";
    case kAbort:
        return "Program aborted";
    default:
        return "Unknown error code";
    }
}

bool StackLimit::isOverflowAt(std::uintptr_t faultAddress) const
{
    if (lowest == 0)
        return false;
    if (faultAddress < lowest)
        return lowest - faultAddress <= kOverflowBelowLimit;
    return faultAddress - lowest < kOverflowAboveLimit;
}

std::uint32_t crashCodeFor(const Fault& fault, const StackLimit& stack)
{
    using namespace crash_code;
    // Only a fault the kernel raised says what went wrong; a signal sent with
    // kill carries the sender in place of an address.
    const bool raisedByKernel = fault.signalCode > 0;
    switch (fault.signal) {
    case SIGSEGV:
        if (raisedByKernel && stack.isOverflowAt(fault.address))
            return kStackOverflow;
        return fault.signalCode == SEGV_BNDERR ? kArrayBounds : kInvalidAccess;
    case SIGBUS:
        return fault.signalCode == BUS_ADRALN ? kMisaligned : kPageError;
    case SIGILL:
        return fault.signalCode == ILL_PRVOPC || fault.signalCode == ILL_PRVREG ? kPrivilegedInstruction
                                                                                : kIllegalInstruction;
    case SIGTRAP:
        // int3, a hardware breakpoint and raise(SIGTRAP) all stop like a
        // breakpoint; only the trace flag is a single step.
        return fault.signalCode == TRAP_TRACE || fault.signalCode == TRAP_BRANCH ? kSingleStep : kBreakpoint;
    case SIGABRT:
        // abort() raises it at itself; sent by another process it ends the
        // program all the same.
        return kAbort;
    case SIGFPE:
        // The kernel folds a denormal operand into underflow and an x87
        // stack fault into an invalid operation, so those two codes never
        // come from here.
        switch (fault.signalCode) {
        case FPE_INTDIV:
            return kIntegerDivideByZero;
        case FPE_INTOVF:
            return kIntegerOverflow;
        case FPE_FLTDIV:
            return kFloatDivideByZero;
        case FPE_FLTOVF:
            return kFloatOverflow;
        case FPE_FLTUND:
            return kFloatUnderflow;
        case FPE_FLTRES:
            return kFloatInexact;
        case FPE_FLTINV:
            return kFloatInvalid;
        case FPE_FLTSUB:
            return kArrayBounds;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return kSignalBase + static_cast<std::uint32_t>(fault.signal);
}

std::size_t formatCrashReport(char* buffer, std::size_t capacity, const CrashFacts& facts, const ReportNames& names)
{
    BufferWriter out(buffer, capacity);
    out.text("A program error occurred!\r\n\r\n");
    out.text("Error message:\t").text(crashDescription(facts.code)).text("\r\n");
    out.text("Error code:\t").signedNumber(static_cast<std::int32_t>(facts.code)).text("\r\n\r\n");
    out.text("Error address:\t").number(facts.address).text("\r\n");
    out.text("Program name:\t").text(names.program).text("\r\n");
    out.text("Program version:\t").text(names.version).text("\r\n");
    out.text("Program module:\t").text(names.module).text("\r\n");
    out.text("Program line:\t").text(names.line).text("\r\n\r\n");
    return out.size();
}

namespace {
constexpr std::string_view kHandOffHeader = "ponderix crash 1";
constexpr std::string_view kHandOffFields[] = {"code", "address", "process"};
} // namespace

std::size_t formatHandOff(char* buffer, std::size_t capacity, const CrashFacts& facts)
{
    BufferWriter out(buffer, capacity);
    out.text(kHandOffHeader).text("\n");
    out.text(kHandOffFields[0]).text(" ").number(facts.code).text("\n");
    out.text(kHandOffFields[1]).text(" ").number(facts.address).text("\n");
    out.text(kHandOffFields[2]).text(" ").signedNumber(facts.processId).text("\n");
    return out.size();
}

namespace {

// "name value\n" with exactly this name, and nothing after the number.
template <typename Number> bool readField(std::string_view& text, std::string_view name, Number& value)
{
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos)
        return false;
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (line.size() <= name.size() + 1 || line.substr(0, name.size()) != name || line[name.size()] != ' ')
        return false;
    const char* first = line.data() + name.size() + 1;
    const char* last = line.data() + line.size();
    const auto [stop, error] = std::from_chars(first, last, value);
    return error == std::errc() && stop == last;
}

} // namespace

std::optional<CrashFacts> parseHandOff(std::string_view text)
{
    const std::size_t headerEnd = text.find('\n');
    if (headerEnd == std::string_view::npos || text.substr(0, headerEnd) != kHandOffHeader)
        return std::nullopt;
    text.remove_prefix(headerEnd + 1);
    CrashFacts facts;
    if (!readField(text, kHandOffFields[0], facts.code) || !readField(text, kHandOffFields[1], facts.address)
        || !readField(text, kHandOffFields[2], facts.processId) || !text.empty() || facts.processId <= 0)
        return std::nullopt;
    return facts;
}

void installCrashHandler(std::string_view programName, std::string_view versionName)
{
    copyName(s_programName, programName);
    copyName(s_versionName, versionName);
    const ssize_t pathLength = readlink("/proc/self/exe", s_programPath, sizeof s_programPath - 1);
    s_programPath[std::max<ssize_t>(pathLength, 0)] = '\0';
    if (s_programPath[0] == '\0')
        std::copy_n(s_programName, sizeof s_programName, s_programPath);
    s_stack = mainStackLimit();
    // Looked up by a plain C name, so that this file needs no Qt.
    if (void* version = dlsym(RTLD_DEFAULT, "qVersion"))
        s_qtCore = moduleOf(version);
    installAlternateStack();

    struct sigaction action { };
    action.sa_sigaction = onFaultSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // A second fault inside the handler ends the process instead of
    // re-entering a half-written report.
    sigemptyset(&action.sa_mask);
    for (const int signal : kFaultSignals)
        sigaddset(&action.sa_mask, signal);
    for (const int signal : kFaultSignals)
        sigaction(signal, &action, nullptr);
    std::set_terminate(onTerminate);
}

} // namespace ponderix
