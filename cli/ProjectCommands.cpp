// texts, scores, demo and save: the subcommands over the project files.
#include "base/AtomicFile.h"
#include "base/TextTable.h"
#include "cli/Commands.h"
#include "cli/Subcommand.h"
#include "cli/TerminalText.h"
#include "evaluation/Scoring.h"
#include "project/DemoProject.h"
#include "project/OptionLetter.h"
#include "project/ProjectMessages.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QDateTime>

#include <algorithm>
#include <optional>
#include <vector>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

QString escapedForList(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (QChar character : value) {
        switch (character.unicode()) {
        case u'\\':
            escaped += u"\\\\"_s;
            break;
        case u'\t':
            escaped += u"\\t"_s;
            break;
        case u'\r':
            escaped += u"\\r"_s;
            break;
        case u'\n':
            escaped += u"\\n"_s;
            break;
        default:
            escaped += character;
        }
    }
    return escaped;
}

int listTexts(const Arguments&)
{
    QString listing;
    std::vector<TextKey> keys(allTextKeys().begin(), allTextKeys().end());
    std::ranges::sort(keys, {}, textKeyName);
    for (TextKey key : keys)
        listing += textKeyName(key) + u"\t"_s + escapedForList(uiText(key)) + u"\n"_s;
    writeOut(listing);
    return kSuccess;
}

QString scoresAsJson(const Project& project, const BestOptions& best)
{
    JsonWriter json;
    json.beginObject().key(u"options").beginArray();
    for (const Option& option : project.options()) {
        json.beginObject();
        json.key(u"letter").value(optionLetter(option.Index)).key(u"name").value(option.Name);
        json.key(u"score").value(option.score).key(u"band").value(textKeyName(verdictBand(option.score)));
        json.endObject();
    }
    json.endArray().key(u"best");
    writeLetters(json, best.indexes);
    json.key(u"maximum");
    writeOptional(json, best.maximum);
    return json.endObject().text() + u"\n"_s;
}

// Names are padded to line up the scores, but only this far: one very long
// name is printed in full on its own line rather than widening every line.
constexpr qsizetype kNameColumnWidth = 40;

QString scoresAsTable(const Project& project, const BestOptions& best)
{
    qsizetype nameWidth = 0;
    for (const Option& option : project.options())
        nameWidth = std::max(nameWidth, std::min(option.Name.size(), kNameColumnWidth));
    // Past Z the letters grow ("AA"); the last is the longest.
    const qsizetype letterWidth = project.optionCount() == 0 ? 0 : optionLetter(project.optionCount() - 1).size();
    // Wide enough for any score as the language writes it ("-100 %" in German).
    const qsizetype scoreWidth = std::max(scoreText(100).size(), scoreText(-100).size());
    QString table;
    for (const Option& option : project.options()) {
        table += optionLetter(option.Index).leftJustified(letterWidth) + u"  "_s + option.Name.leftJustified(nameWidth)
                 + u"  "_s + scoreText(option.score).rightJustified(scoreWidth) + u"  "_s
                 + uiText(verdictBand(option.score)) + u"\n"_s;
    }
    if (best.maximum) {
        table += u"\n"_s + uiText(TextKey::TXT00257) + u" "_s + bestOptionsText(project, best) + u"\n"_s;
        table += uiText(TextKey::TXT00258) + u" "_s + scoreText(*best.maximum) + u"\n"_s;
    }
    return table;
}

int showScores(const Arguments& arguments)
{
    std::optional<Project> project = readProjectOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    ComputeScores(*project);
    const BestOptions best = bestOptions(*project);
    writeOut(arguments.has(u"--json"_s) ? scoresAsJson(*project, best)
                                        : scoresAsTable(withTerminalNames(std::move(*project)), best));
    return kSuccess;
}

int writeDemo(const Arguments& arguments)
{
    const QString path = arguments.value(u"-o"_s);
    // The stored English demo unless the run asked for a language.
    const QByteArray demo = languageGiven() ? demoProjectBytesInChosenLanguage() : demoProjectBytes().toByteArray();
    const WriteResult result = writeFileAtomically(path, demo);
    if (!result) {
        reportMessage(writeErrorMessage(path, result));
        return kFailure;
    }
    return kSuccess;
}

int saveAgain(const Arguments& arguments)
{
    std::optional<Project> project = readProjectOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    return writeProjectOrReport(*project, arguments.value(u"-o"_s));
}

} // namespace

void writeLetters(JsonWriter& json, const std::vector<int>& options)
{
    json.beginArray();
    for (int option : options)
        json.value(optionLetter(option));
    json.endArray();
}

void writeOptional(JsonWriter& json, const std::optional<int>& number)
{
    if (number)
        json.value(*number);
    else
        json.null();
}

std::optional<Project> readProjectOrReport(const QString& path)
{
    ReadResult result = readProjectFile(path);
    if (!result.ok()) {
        const ReadError& error = result.error();
        Message message = readErrorMessage(error);
        // A script may read many files: say which one, and what the system
        // said about it, as a failed write does.
        if (error.kind == ReadError::Kind::CannotRead)
            message.text += u"\r\n\r\n"_s + path + u"\r\n\r\n"_s + error.description;
        reportMessage(message);
        return std::nullopt;
    }
    return std::move(result.project());
}

int writeProjectOrReport(const Project& project, const QString& path)
{
    const WriteResult result = writeProjectFile(project, path, QDateTime::currentDateTime());
    if (!result) {
        reportMessage(writeErrorMessage(path, result));
        return kFailure;
    }
    return kSuccess;
}

int writeFileOrReport(const QString& path, QByteArrayView bytes)
{
    const WriteResult result = writeFileAtomically(path, bytes);
    if (!result) {
        // Not a project: say which output failed, as the desktop program
        // does when a report or a text export cannot be written.
        reportMessage({uiText(TextKey::TXT00001), path + u"\r\n\r\n"_s + result.error});
        return kFailure;
    }
    return kSuccess;
}

Subcommand textsCommand()
{
    return {u"texts"_s, u"texts"_s, 0, {}, {}, {}, listTexts};
}

Subcommand scoresCommand()
{
    return {u"scores"_s, u"scores FILE.pnx [--json]"_s, 1, {}, {u"--json"_s}, {}, showScores};
}

Subcommand demoCommand()
{
    return {u"demo"_s, u"demo -o OUT.pnx"_s, 0, {u"-o"_s}, {}, {u"-o"_s}, writeDemo};
}

Subcommand saveCommand()
{
    return {u"save"_s, u"save FILE.pnx -o OUT.pnx"_s, 1, {u"-o"_s}, {}, {u"-o"_s}, saveAgain};
}

} // namespace ponderix::cli
