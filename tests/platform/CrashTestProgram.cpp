// A program that crashes on purpose, with the desktop program's crash handler
// and reporter: `crash_test_program <crash> <settings file>`. Started again
// as its own reporter, it answers the report from CRASH_TEST_ANSWER (yes, no,
// or fail: the reporter gives up) and prints what the box showed.
#include "app/CrashReport.h"
#include "base/TextTable.h"
#include "platform/CrashHandler.h"
#include "tests/ScriptedDialogs.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

using namespace ponderix;

namespace {

std::string g_settingsPath;
volatile bool g_keepRecursing = true;

// Stands for the program's orderly shut-down, which writes the settings. A
// crash has to end the process without it.
struct OrderlyShutDown {
    ~OrderlyShutDown()
    {
        if (std::FILE* settings = std::fopen(g_settingsPath.c_str(), "wb")) {
            std::fputs("written at an orderly exit\r\n", settings);
            std::fclose(settings);
        }
    }
};

// Each line marked "crash:" is where the processor faults; the test finds the
// marks in this file.
[[gnu::noinline]] void writeThroughNull()
{
    int* volatile target = nullptr;
    *target = 1; // crash: null-write
}

[[gnu::noinline]] void divideByZero()
{
    // Volatile, so that the compiler can neither fold the division nor drop it.
    volatile int numerator = 1;
    volatile int denominator = 0;
    volatile int quotient = numerator / denominator; // crash: divide-by-zero
    static_cast<void>(quotient);
}

// Whether the frame's first store or the call into the next frame meets the
// guard first depends on where the stack starts, so any line of this
// function may be the failing one.
// crash: stack-overflow begins
[[gnu::noinline]] int overflowStack(int depth)
{
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    return g_keepRecursing ? overflowStack(depth + 1) + frame[0] : frame[0];
}
// crash: stack-overflow ends

[[gnu::noinline]] void throwUncaught()
{
    throw std::runtime_error("nobody catches this"); // crash: uncaught-exception
}

[[gnu::noinline]] void abortOnPurpose()
{
    std::abort(); // crash: abort
}

[[gnu::noinline]] void failFatally()
{
    qFatal("a fatal message on purpose"); // crash: qfatal
}

// The C library finds the second free and aborts deep inside itself; the
// report names this call.
[[gnu::noinline]] void freeTwice()
{
    void* volatile block = std::malloc(64);
    std::free(block);
    std::free(block); // crash: double-free
}

int report(int argc, char* argv[])
{
    const char* chosen = std::getenv("CRASH_TEST_ANSWER");
    const std::string_view answer = chosen ? chosen : "";
    if (answer == "fail")
        return 1;
    test::ScriptedDialogs dialogs;
    dialogs.answers.push_back(answer == "yes" ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    const int status = runCrashReporter(argc, argv, &dialogs);
    for (const test::ScriptedDialogs::Asked& asked : dialogs.messages) {
        const QByteArray text = asked.text.toUtf8();
        std::printf("%s\n%d %d %lld\n", asked.title.toUtf8().constData(), static_cast<int>(asked.icon),
                    static_cast<int>(asked.buttons), static_cast<long long>(text.size()));
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    }
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    if (isCrashReportRequest(argc, argv))
        return report(argc, argv);
    if (argc != 3) {
        std::fputs("usage: crash_test_program "
                   "null-write|divide-by-zero|stack-overflow|uncaught-exception|abort|double-free|qfatal "
                   "<settings file>\n",
                   stderr);
        return 2;
    }
    g_settingsPath = argv[2];
    static OrderlyShutDown shutDown;

    installCrashHandler(uiText(TextKey::Program_Name).toStdString(), uiText(TextKey::Version_Name).toStdString());

    const std::string_view crash = argv[1];
    if (crash == "null-write")
        writeThroughNull();
    else if (crash == "divide-by-zero")
        divideByZero();
    else if (crash == "stack-overflow")
        return overflowStack(0);
    else if (crash == "uncaught-exception")
        throwUncaught();
    else if (crash == "abort")
        abortOnPurpose();
    else if (crash == "double-free")
        freeTwice();
    else if (crash == "qfatal")
        failFatally();
    std::fprintf(stderr, "no crash named %s\n", argv[1]);
    return 2;
}
