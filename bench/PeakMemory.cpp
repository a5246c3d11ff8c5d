#include "bench/PeakMemory.h"

#include "bench/LargeProject.h"
#include "project/ProjectReader.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace ponderix::bench {

long long statusFigureKiB(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(wanted)) {
            bool ok = false;
            const long long value = line.mid(wanted.size()).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? value : -1;
        }
    }
    return -1;
}

int runLoadPeakChild(const char* path)
{
    const long long before = statusFigureKiB("VmRSS");
    ReadResult result = readProjectFile(QFile::decodeName(path));
    // Read while the project is still held, which is when the user has it.
    const long long peak = statusFigureKiB("VmHWM");
    const bool ok = result.ok() && looksLikeLargeProject(result.project());
    std::printf("%lld %lld %d\n", before, peak, ok ? 1 : 0);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

LoadPeak measureLoadPeak(const QString& path)
{
    LoadPeak peak;
    // Everything exec needs is prepared before the fork: between fork and
    // exec only async-signal-safe calls are allowed.
    const QByteArray file = QFile::encodeName(path);
    std::string argument = kLoadPeakArgument;
    char program[] = "/proc/self/exe";
    char* arguments[] = {program, argument.data(), const_cast<char*>(file.constData()), nullptr};
    int channel[2];
    if (::pipe(channel) != 0)
        return peak;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return peak;
    }
    if (child == 0) {
        ::close(channel[0]);
        if (::dup2(channel[1], STDOUT_FILENO) < 0)
            ::_exit(126);
        ::execv(program, arguments);
        ::_exit(127);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[256];
    for (;;) {
        const ssize_t length = ::read(channel[0], buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            break;
        report.append(buffer, static_cast<std::size_t>(length));
    }
    ::close(channel[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return peak;
    int loaded = 0;
    if (std::sscanf(report.c_str(), "%lld %lld %d", &peak.residentBeforeKiB, &peak.peakKiB, &loaded) != 3)
        return peak;
    peak.measured = peak.residentBeforeKiB >= 0 && peak.peakKiB > 0;
    peak.loaded = loaded == 1;
    return peak;
}

} // namespace ponderix::bench
