#include "cli/Commands.h"

#include "app/ProjectMessages.h"
#include "app/TextTable.h"
#include "evaluation/Scoring.h"
#include "platform/AtomicFile.h"
#include "project/DemoProject.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QDateTime>

#include <cstdio>
#include <functional>
#include <optional>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

void write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

void report(const Message& message)
{
    QString text = message.text;
    text.replace(u"\r\n"_s, u"\n"_s);
    write(stderr, u"ponderix-cli: "_s + message.title + u": "_s + text + u"\n"_s);
}

const QString kUsageText = u"Usage:\n"
                       "  ponderix-cli texts\n"
                       "  ponderix-cli scores FILE.pnx [--json]\n"
                       "  ponderix-cli demo -o OUT.pnx\n"
                       "  ponderix-cli save FILE.pnx -o OUT.pnx\n"_s;

int usageError(const QString& problem)
{
    write(stderr, u"ponderix-cli: "_s + problem + u"\n"_s + kUsageText);
    return kUsage;
}

// The arguments of one subcommand: positional values and named options.
struct Arguments {
    QStringList positional;
    std::optional<QString> output; // -o
    bool json = false;
};

std::optional<Arguments> parseArguments(const QStringList& list, bool acceptsOutput, bool acceptsJson,
                                        QString& problem)
{
    Arguments parsed;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString& argument = list[i];
        if (acceptsOutput && argument == u"-o") {
            if (i + 1 == list.size()) {
                problem = u"-o needs a file name"_s;
                return std::nullopt;
            }
            parsed.output = list[++i];
        } else if (acceptsJson && argument == u"--json") {
            parsed.json = true;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            problem = u"unknown option "_s + argument;
            return std::nullopt;
        } else {
            parsed.positional << argument;
        }
    }
    return parsed;
}

QString escapedForList(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (QChar character : value) {
        switch (character.unicode()) {
        case u'\\': escaped += u"\\\\"_s; break;
        case u'\t': escaped += u"\\t"_s; break;
        case u'\r': escaped += u"\\r"_s; break;
        case u'\n': escaped += u"\\n"_s; break;
        default: escaped += character;
        }
    }
    return escaped;
}

int listTexts()
{
    const TextTable& texts = TextTable::builtIn();
    QString listing;
    for (const QString& key : texts.keys())
        listing += key + u"\t"_s + escapedForList(texts.text(key)) + u"\n"_s;
    write(stdout, listing);
    return kSuccess;
}

QString jsonString(const QString& text)
{
    QString quoted = u"\""_s;
    for (QChar character : text) {
        const char16_t unit = character.unicode();
        if (unit == u'"' || unit == u'\\')
            quoted += u'\\' + QString(character);
        else if (unit == u'\n')
            quoted += u"\\n"_s;
        else if (unit == u'\r')
            quoted += u"\\r"_s;
        else if (unit == u'\t')
            quoted += u"\\t"_s;
        else if (unit < 0x20)
            quoted += u"\\u%1"_s.arg(static_cast<int>(unit), 4, 16, QChar(u'0'));
        else
            quoted += character;
    }
    return quoted + u"\""_s;
}

QString scoresAsJson(const Project& project, const BestOptions& best)
{
    QStringList options;
    for (const Option& option : project.options()) {
        options << u"{\"letter\":"_s + jsonString(optionLetter(option.Index)) + u",\"name\":"_s
                       + jsonString(option.Name) + u",\"score\":"_s + QString::number(option.score)
                       + u",\"band\":"_s + jsonString(verdictBand(option.score).toString()) + u"}"_s;
    }
    QStringList letters;
    for (int index : best.indexes)
        letters << jsonString(optionLetter(index));
    const QString maximum = best.maximum ? QString::number(*best.maximum) : u"null"_s;
    return u"{\"options\":["_s + options.join(u',') + u"],\"best\":["_s + letters.join(u',')
        + u"],\"maximum\":"_s + maximum + u"}\n"_s;
}

QString scoresAsTable(const Project& project, const BestOptions& best)
{
    const TextTable& texts = TextTable::builtIn();
    qsizetype nameWidth = 0;
    for (const Option& option : project.options())
        nameWidth = std::max(nameWidth, option.Name.size());
    QString table;
    for (const Option& option : project.options()) {
        table += optionLetter(option.Index) + u"  "_s + option.Name.leftJustified(nameWidth) + u"  "_s
            + scoreText(option.score).rightJustified(5) + u"  "_s + texts.text(verdictBand(option.score))
            + u"\n"_s;
    }
    if (best.maximum) {
        table += u"\n"_s + texts.text(u"TXT00257") + u" "_s + bestOptionsText(project, best, texts) + u"\n"_s;
        table += texts.text(u"TXT00258") + u" "_s + scoreText(*best.maximum) + u"\n"_s;
    }
    return table;
}

std::optional<Project> readOrReport(const QString& path)
{
    ReadResult result = readProjectFile(path);
    if (!result.ok()) {
        report(readErrorMessage(result.error()));
        return std::nullopt;
    }
    return std::move(result.project());
}

int writeOrReport(const QString& path, QByteArrayView bytes)
{
    const WriteResult result = writeFileAtomically(path, bytes);
    if (!result) {
        report(writeErrorMessage(result));
        return kFailure;
    }
    return kSuccess;
}

int showScores(const Arguments& arguments)
{
    std::optional<Project> project = readOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    ComputeScores(*project);
    const BestOptions best = bestOptions(*project);
    write(stdout, arguments.json ? scoresAsJson(*project, best) : scoresAsTable(*project, best));
    return kSuccess;
}

int writeDemo(const Arguments& arguments)
{
    return writeOrReport(*arguments.output, demoProjectBytes());
}

int saveAgain(const Arguments& arguments)
{
    std::optional<Project> project = readOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    const QString& target = *arguments.output;
    const WriteResult result = writeProjectFile(*project, target, QDateTime::currentDateTime());
    if (!result) {
        report(writeErrorMessage(result));
        return kFailure;
    }
    return kSuccess;
}

struct Subcommand {
    QString name;
    int positionalCount;
    bool needsOutput;
    bool acceptsJson;
    std::function<int(const Arguments&)> handler;
};

const std::vector<Subcommand>& subcommands()
{
    static const std::vector<Subcommand> table = {
        {u"texts"_s, 0, false, false, [](const Arguments&) { return listTexts(); }},
        {u"scores"_s, 1, false, true, showScores},
        {u"demo"_s, 0, true, false, writeDemo},
        {u"save"_s, 1, true, false, saveAgain},
    };
    return table;
}

} // namespace

int run(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return usageError(u"no command given"_s);
    const auto& table = subcommands();
    const auto command = std::find_if(table.begin(), table.end(),
                                      [&](const Subcommand& entry) { return entry.name == arguments.first(); });
    if (command == table.end())
        return usageError(u"unknown command "_s + arguments.first());

    QString problem;
    const std::optional<Arguments> parsed =
        parseArguments(arguments.mid(1), command->needsOutput, command->acceptsJson, problem);
    if (!parsed)
        return usageError(problem);
    if (parsed->positional.size() != command->positionalCount)
        return usageError(command->name + u": wrong number of arguments"_s);
    if (command->needsOutput && !parsed->output)
        return usageError(command->name + u": -o OUT.pnx is required"_s);
    return command->handler(*parsed);
}

} // namespace ponderix::cli
