#pragma once

#include "base/ImageWriters.h"
#include "base/JsonWriter.h"
#include "project/Project.h"

#include <QByteArrayView>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ponderix {
class ChartLibrary;
struct Message;
} // namespace ponderix

class QTemporaryDir;

namespace ponderix::cli {

// Exit codes of ponderix-cli: a contract for scripts.
enum ExitCode : int {
    kSuccess = 0,
    kFailure = 1, // a project could not be read or an output not written
    kUsage = 2,
};

// The parsed arguments of one subcommand.
struct Arguments {
    QStringList positional;
    QHash<QString, QString> values; // "-o" -> "out.pnx"
    QSet<QString> flags;            // "--json"

    QString value(const QString& option) const { return values.value(option); }
    bool has(const QString& option) const { return values.contains(option) || flags.contains(option); }
};

struct Subcommand {
    QString name;
    QString usage;               // one line: "scores FILE.pnx [--json]"
    int positionalCount = 0;     // exactly this many, or at least this many when `morePositional`
    QStringList valueOptions;    // options followed by a value, e.g. "-o"
    QStringList flagOptions;     // options standing alone, e.g. "--json"
    QStringList requiredOptions; // value options that must be given
    std::function<int(const Arguments&)> handler;
    bool morePositional = false;
};

// Every subcommand, in the order the usage text lists them. Each is defined
// beside its handler.
Subcommand textsCommand();
Subcommand scoresCommand();
Subcommand demoCommand();
Subcommand saveCommand();
Subcommand renderCommand();
Subcommand reportCommand();
Subcommand exportCommand();
Subcommand robustnessCommand();
Subcommand teamCommand();
Subcommand blankCommand();
Subcommand recordCommand();

// Helpers shared by the subcommands.
void writeOut(const QString& text);
void writeError(const QString& text);
void reportMessage(const ponderix::Message& message);
// Reads a project; on failure prints the desktop program's message.
std::optional<Project> readProjectOrReport(const QString& path);
// Writes a project file the way the desktop program saves; on failure prints
// the message and returns kFailure.
int writeProjectOrReport(const Project& project, const QString& path);
// Writes bytes atomically; on failure prints the message and returns kFailure.
int writeFileOrReport(const QString& path, QByteArrayView bytes);
// An array of option letters, and a number or null, the way every JSON
// output writes them.
void writeLetters(JsonWriter& json, const std::vector<int>& options);
void writeOptional(JsonWriter& json, const std::optional<int>& number);
// The pages as images: --scale (1 when not given; empty when not one of the
// ratios offered) and the format the output's extension names. The problems
// are what a usage error says after the command's name.
QString scaleProblem();
QString imageNameProblem();
std::optional<qreal> scaleOption(const Arguments& arguments);
std::optional<ImageFormat> imageFormatOf(const QString& output);
// Writes a page image; on failure (no memory for the page, an unwritable
// output) prints the message and returns kFailure.
int writeImageOrReport(const QImage& image, const QString& output);
// What the desktop program's banner shows after opening the file at `path`:
// its name without the extension.
QString bannerOf(const QString& path);
// Loads the chart component into `folder`, of this process's own, so that
// several commands can run side by side. Null, after the desktop program's
// warning, when it cannot be loaded: pages are then drawn without charts.
std::unique_ptr<ChartLibrary> loadCharts(const QTemporaryDir& folder);
// A usage error inside a handler (e.g. a bad option value): message, exit 2.
int usageError(const QString& problem);
// The same for a problem of one command, named before it: "render: PROBLEM".
int usageError(const QString& command, const QString& problem);
// A failure of the tool's own, such as a temporary folder it cannot make,
// after the tool's name.
void writeProblem(const QString& text);
// A usage line or file pattern written with the argument names FILE, OUT and
// LETTER ("scores FILE.pnx"), with the table's words in their place.
QString withArgumentWords(const QString& usage);

} // namespace ponderix::cli
