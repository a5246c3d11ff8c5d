#include "app/CrashReport.h"

#include "base/TextTable.h"
#include "platform/CrashHandler.h"
#include "platform/gui/Display.h"
#include "platform/gui/QtDialogs.h"
#include "platform/gui/SourcePosition.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// The hand-off is a few short lines; anything longer is not one.
constexpr std::size_t kHandOffLimit = 4096;

std::string readHandOff()
{
    // Started by hand from a terminal, the program would otherwise sit and
    // wait for input that never comes.
    struct stat input { };
    if (fstat(STDIN_FILENO, &input) != 0 || !S_ISFIFO(input.st_mode))
        return {};
    std::string text;
    char chunk[512];
    while (text.size() <= kHandOffLimit) {
        const ssize_t count = read(STDIN_FILENO, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        text.append(chunk, static_cast<std::size_t>(count));
    }
    return text;
}

QByteArray moduleText(const std::optional<SourcePosition>& source)
{
    if (!source)
        return kUnknownSource;
    // Without a line table it is still worth telling which library it was.
    if (source->file.isEmpty())
        return "(unknown, in " + QFile::encodeName(QFileInfo(source->binary).fileName()) + ')';
    return QFile::encodeName(QFileInfo(source->file).fileName());
}

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

bool isCrashReportRequest(int argc, char* argv[])
{
    return argc == 2 && std::strcmp(argv[1], kCrashReportArgument) == 0;
}

QString crashReportLines(const CrashFacts& facts, const std::optional<SourcePosition>& source)
{
    const QByteArray program = uiText(TextKey::Program_Name).toUtf8();
    const QByteArray version = uiText(TextKey::Version_Name).toUtf8();
    const QByteArray module = moduleText(source);
    const QByteArray line = source && source->line > 0 ? QByteArray::number(source->line) : kUnknownSource;
    // The crashed process formats its standard-error report with the same
    // function, so both places always read alike.
    QByteArray report(static_cast<qsizetype>(program.size() + version.size() + module.size() + 512), '\0');
    const std::size_t length = formatCrashReport(report.data(), static_cast<std::size_t>(report.size()), facts,
                                                 {view(program), view(version), view(module), view(line)});
    report.truncate(static_cast<qsizetype>(length));
    return QString::fromUtf8(report);
}

QString crashReportMessage(const QString& lines)
{
    const QString support = uiText(TextKey::TXT00889).arg(uiText(TextKey::Program_Name)) + u", "_s
                            + uiText(TextKey::Online_Adresse) + u"/issues"_s;
    return lines + uiText(TextKey::TXT00888) + u"\r\n"_s + support + u"\r\n\r\n"_s + uiText(TextKey::TXT00890);
}

Dialogs::Answer presentCrashReport(const QString& lines, Dialogs& dialogs)
{
    // Only the report itself goes on the clipboard: it is what support needs.
    QGuiApplication::clipboard()->setText(lines);
    return dialogs.message(uiText(TextKey::TXT00891), crashReportMessage(lines), Dialogs::Icon::None,
                           Dialogs::Buttons::YesNo);
}

int runCrashReporter(int& argc, char* argv[], Dialogs* dialogs)
{
    const std::optional<CrashFacts> facts = parseHandOff(readHandOff());
    if (!facts)
        return 1;
    // A report must not wait for a debug-information server on the network.
    qunsetenv("DEBUGINFOD_URLS");
    const QString lines = crashReportLines(*facts, sourcePositionIn(facts->processId, facts->address));
    if (!desktopAvailable()) {
        const QByteArray bytes = lines.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
        return 0;
    }

    QApplication application(argc, argv);
    application.setApplicationName(uiText(TextKey::Program_Name));
    QtDialogs ownDialogs(nullptr);
    // Either answer ends the crashed process the same way once this one has
    // ended: it waits for nothing else.
    presentCrashReport(lines, dialogs ? *dialogs : ownDialogs);
    // Leaving this scope destroys the application. On X11 Qt then hands the
    // clipboard to the desktop's clipboard manager and waits (a few seconds
    // at most) until it has taken the text over, so the report can still be
    // pasted after both processes are gone. Without a manager the text lives
    // as long as the box was open.
    return 0;
}

} // namespace ponderix
