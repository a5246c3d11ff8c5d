// The crash report's pieces in this process: fault mapping, report text,
// hand-off, source lines, clipboard.
#include "platform/CrashHandler.h"
#include "app/CrashReport.h"
#include "base/Language.h"
#include "base/TextTable.h"
#include "platform/gui/SourcePosition.h"
#include "tests/ScriptedDialogs.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>

#include <csignal>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace ponderix;
using namespace ponderix::crash_code;
using namespace Qt::StringLiterals;

namespace {

constexpr std::uintptr_t kStackLimit = 0x7ff000000000;
constexpr std::uintptr_t kMiB = 1 << 20;

QString text(TextKey key)
{
    return uiText(key);
}

std::string report(const CrashFacts& facts)
{
    char buffer[1024];
    const std::size_t length = formatCrashReport(buffer, sizeof buffer, facts, {"Ponderix", "Version 9", "A.cpp", "7"});
    return {buffer, length};
}

std::string reportLine(const CrashFacts& facts, std::string_view label)
{
    const std::string whole = report(facts);
    const std::size_t start = whole.find(label);
    return start == std::string::npos ? std::string() : whole.substr(start, whole.find('\r', start) - start);
}

TEST(CrashCode, EachFaultMapsToTheCodeOfItsKind)
{
    struct Mapping {
        Fault fault;
        std::uint32_t code;
    };
    const Mapping mappings[] = {
        {{SIGSEGV, SEGV_MAPERR, 0}, kInvalidAccess},
        {{SIGSEGV, SEGV_ACCERR, 0x5000}, kInvalidAccess},
        {{SIGSEGV, SEGV_MAPERR, kStackLimit - 8}, kStackOverflow},
        {{SIGSEGV, SEGV_ACCERR, kStackLimit - 3 * 4096}, kStackOverflow},
        // kill -SEGV: the sender's pid and uid sit where the address would.
        {{SIGSEGV, SI_USER, kStackLimit - 8}, kInvalidAccess},
        {{SIGSEGV, SEGV_BNDERR, 0x10}, kArrayBounds},
        {{SIGBUS, BUS_ADRALN, 0x1001}, kMisaligned},
        {{SIGBUS, BUS_ADRERR, 0x1000}, kPageError},
        {{SIGBUS, BUS_OBJERR, 0x1000}, kPageError},
        {{SIGFPE, FPE_INTDIV, 0}, kIntegerDivideByZero},
        {{SIGFPE, FPE_INTOVF, 0}, kIntegerOverflow},
        {{SIGFPE, FPE_FLTDIV, 0}, kFloatDivideByZero},
        {{SIGFPE, FPE_FLTOVF, 0}, kFloatOverflow},
        {{SIGFPE, FPE_FLTUND, 0}, kFloatUnderflow},
        {{SIGFPE, FPE_FLTRES, 0}, kFloatInexact},
        {{SIGFPE, FPE_FLTINV, 0}, kFloatInvalid},
        {{SIGFPE, FPE_FLTSUB, 0}, kArrayBounds},
        {{SIGFPE, SI_USER, 0}, kSignalBase + SIGFPE},
        {{SIGILL, ILL_ILLOPC, 0}, kIllegalInstruction},
        {{SIGILL, SI_USER, 0}, kIllegalInstruction},
        {{SIGILL, ILL_PRVOPC, 0}, kPrivilegedInstruction},
        {{SIGILL, ILL_PRVREG, 0}, kPrivilegedInstruction},
        {{SIGTRAP, SI_KERNEL, 0}, kBreakpoint},
        {{SIGTRAP, TRAP_BRKPT, 0}, kBreakpoint},
        {{SIGTRAP, SI_TKILL, 0}, kBreakpoint},
        {{SIGTRAP, TRAP_TRACE, 0}, kSingleStep},
        // abort() raises at itself; kill -ABRT comes from outside.
        {{SIGABRT, SI_TKILL, 0}, kAbort},
        {{SIGABRT, SI_USER, 0}, kAbort},
    };
    const StackLimit stack{kStackLimit};
    for (const Mapping& mapping : mappings) {
        EXPECT_EQ(crashCodeFor(mapping.fault, stack), mapping.code)
            << "signal " << mapping.fault.signal << ", si_code " << mapping.fault.signalCode;
    }
}

TEST(CrashCode, OnlyAFaultNearTheStackLimitIsAnOverflow)
{
    const StackLimit stack{kStackLimit};
    EXPECT_TRUE(stack.isOverflowAt(kStackLimit - kMiB));
    EXPECT_FALSE(stack.isOverflowAt(kStackLimit - kMiB - 1));
    // An unlimited stack ends at the kernel's gap above the limit glibc names.
    EXPECT_TRUE(stack.isOverflowAt(kStackLimit + kMiB + 4096));
    EXPECT_FALSE(stack.isOverflowAt(kStackLimit + 2 * kMiB));
    // Without a known limit a null write must stay a null write.
    EXPECT_FALSE(StackLimit{}.isOverflowAt(0));
    EXPECT_EQ(crashCodeFor({SIGSEGV, SEGV_MAPERR, 8}, StackLimit{}), kInvalidAccess);
}

TEST(CrashReportText, CodesPrintAsSigned32BitNumbers)
{
    EXPECT_EQ(reportLine({kInvalidAccess, 1, 1}, "Error code:"), "Error code:\t-1073741819");
    EXPECT_EQ(reportLine({kBreakpoint, 1, 1}, "Error code:"), "Error code:\t-2147483645");
    EXPECT_EQ(reportLine({0x80000000, 1, 1}, "Error code:"), "Error code:\t-2147483648");
    EXPECT_EQ(reportLine({0x7FFFFFFF, 1, 1}, "Error code:"), "Error code:\t2147483647");
    EXPECT_EQ(reportLine({kCppException, 1, 1}, "Error code:"), "Error code:\t-529697949");
    EXPECT_EQ(reportLine({kCppException, 1, 1}, "Error message:"), "Error message:\tUnknown error code");
    EXPECT_EQ(reportLine({kAbort, 1, 1}, "Error code:"), "Error code:\t-1073740791");
    EXPECT_EQ(reportLine({kAbort, 1, 1}, "Error message:"), "Error message:\tProgram aborted");
    EXPECT_EQ(reportLine({kStackOverflow, std::numeric_limits<std::uint64_t>::max(), 1}, "Error address:"),
              "Error address:\t18446744073709551615");
}

TEST(CrashReportText, AShortBufferIsFilledButNeverOverrun)
{
    char buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    const std::size_t length = formatCrashReport(buffer, 12, {kInvalidAccess, 1, 1}, {"P", "V", "M", "L"});
    EXPECT_EQ(std::string(buffer, length), "A program er");
    EXPECT_EQ(std::string(buffer + 12, 20), std::string(20, '#'));
}

TEST(CrashReportText, ModuleAndLineFallBackToPlaceholders)
{
    const CrashFacts facts{kInvalidAccess, 1, 1};
    auto tail = [](const QString& lines) { return lines.mid(lines.indexOf(u"Program module:"_s)); };
    EXPECT_EQ(tail(crashReportLines(facts, std::nullopt)),
              u"Program module:\t(unknown)\r\nProgram line:\t(unknown)\r\n\r\n"_s);
    EXPECT_EQ(tail(crashReportLines(facts, SourcePosition{u"/usr/lib/libQt6Core.so.6"_s, {}, 0})),
              u"Program module:\t(unknown, in libQt6Core.so.6)\r\nProgram line:\t(unknown)\r\n\r\n"_s);
    EXPECT_EQ(tail(crashReportLines(facts, SourcePosition{u"/usr/bin/ponderix"_s, u"/src/app/Main.cpp"_s, 0})),
              u"Program module:\tMain.cpp\r\nProgram line:\t(unknown)\r\n\r\n"_s);
    EXPECT_EQ(tail(crashReportLines(facts, SourcePosition{u"/usr/bin/ponderix"_s, u"/src/app/Main.cpp"_s, 31})),
              u"Program module:\tMain.cpp\r\nProgram line:\t31\r\n\r\n"_s);
}

TEST(CrashReportText, TheClipboardGetsLinesOneToEightAndTheBoxAsksTheQuestion)
{
    const QString lines = crashReportLines({kInvalidAccess, 4198400, 42}, std::nullopt);
    ASSERT_TRUE(lines.startsWith(u"A program error occurred!"_s));
    QGuiApplication::clipboard()->setText(u"something the user copied before"_s);
    test::ScriptedDialogs dialogs;
    dialogs.answers = {Dialogs::Answer::Yes};

    EXPECT_EQ(presentCrashReport(lines, dialogs), Dialogs::Answer::Yes);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), lines);
    ASSERT_EQ(dialogs.messages.size(), 1);
    const test::ScriptedDialogs::Asked& asked = dialogs.messages.first();
    EXPECT_EQ(asked.title, u"ERROR"_s);
    EXPECT_EQ(asked.icon, Dialogs::Icon::None);
    EXPECT_EQ(asked.buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(asked.text, lines + u"Please send this information which is now in the clipboard to\r\n"_s
                              + text(TextKey::Program_Name) + u" developers, "_s + text(TextKey::Online_Adresse)
                              + u"/issues\r\n\r\nContinue program execution?    (not recommended)"_s);
}

// Support reads the report, the user the question: only the question follows
// the language.
TEST(CrashReportText, InGermanTheQuestionIsGermanAndTheReportStaysEnglish)
{
    ASSERT_TRUE(chooseLanguage(u"de"_s));
    const QString lines = crashReportLines({kInvalidAccess, 4198400, 42}, std::nullopt);
    test::ScriptedDialogs dialogs;
    dialogs.answers = {Dialogs::Answer::No};
    presentCrashReport(lines, dialogs);
    chooseLanguage(u"en"_s);
    EXPECT_TRUE(lines.startsWith(u"A program error occurred!\r\n\r\nError message:\t"_s));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.first().title, u"FEHLER"_s);
    EXPECT_EQ(dialogs.messages.first().text,
              lines + u"Bitte senden Sie diese Informationen, die sich jetzt in der Zwischenablage befinden, an\r\n"_s
                  + text(TextKey::Program_Name) + u"-Entwickler, "_s + text(TextKey::Online_Adresse)
                  + u"/issues\r\n\r\nProgrammausführung fortsetzen?    (nicht empfohlen)"_s);
}

TEST(CrashHandOff, CarriesTheFactsWhole)
{
    const CrashFacts facts{0xFFFFFFFF, std::numeric_limits<std::uint64_t>::max(),
                           std::numeric_limits<std::int64_t>::max()};
    char buffer[256];
    const std::size_t length = formatHandOff(buffer, sizeof buffer, facts);
    EXPECT_EQ(parseHandOff({buffer, length}), facts);
}

TEST(CrashHandOff, AnythingButOneCompleteRecordIsRefused)
{
    char buffer[256];
    const std::string whole(buffer, formatHandOff(buffer, sizeof buffer, {kInvalidAccess, 4198400, 4242}));
    ASSERT_TRUE(parseHandOff(whole));
    // A crashed process that died while writing leaves a cut record behind.
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(parseHandOff(whole.substr(0, length))) << whole.substr(0, length);
    EXPECT_FALSE(parseHandOff(whole + "code 1\n"));
    EXPECT_FALSE(parseHandOff("ponderix crash 2\ncode 5\naddress 1\nprocess 2\n"));
    EXPECT_FALSE(parseHandOff("ponderix crash 1\naddress 1\ncode 5\nprocess 2\n"));
    EXPECT_FALSE(parseHandOff("ponderix crash 1\ncode 5x\naddress 1\nprocess 2\n"));
    EXPECT_FALSE(parseHandOff("ponderix crash 1\ncode  5\naddress 1\nprocess 2\n"));
    EXPECT_FALSE(parseHandOff("ponderix crash 1\ncode 4294967296\naddress 1\nprocess 2\n"));
    EXPECT_FALSE(parseHandOff("ponderix crash 1\ncode 5\naddress 1\nprocess 0\n"));
    EXPECT_FALSE(parseHandOff("ponderix crash 1\ncode 5\naddress 1\nprocess -7\n"));
}

// One byte back from the return address lies in the call, on the caller's line.
[[gnu::noinline]] std::uint64_t callSite()
{
    return reinterpret_cast<std::uintptr_t>(__builtin_return_address(0)) - 1;
}

TEST(SourceLines, FindsTheSourceLineOfAnInstructionInARunningProcess)
{
    const int line = __LINE__ + 1; // the line of the call below
    const std::uint64_t address = callSite();
    const std::optional<SourcePosition> position = sourcePositionIn(getpid(), address);
    ASSERT_TRUE(position);
    EXPECT_EQ(QFileInfo(position->file).fileName(), u"CrashHandlerTest.cpp"_s);
    EXPECT_EQ(position->line, line);
    EXPECT_EQ(QFileInfo(position->binary).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
}

TEST(SourceLines, NothingForAnAddressOutsideEveryBinaryOrAProcessThatIsGone)
{
    EXPECT_FALSE(sourcePositionIn(getpid(), 8));
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_FALSE(sourcePositionIn(child, reinterpret_cast<std::uintptr_t>(&callSite)));
}

} // namespace
