#include "cli/Commands.h"

#include "app/ProjectMessages.h"
#include "cli/Subcommand.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

const std::vector<Subcommand>& subcommands()
{
    static const std::vector<Subcommand> table = {
        textsCommand(),
        scoresCommand(),
        demoCommand(),
        saveCommand(),
    };
    return table;
}

QString usageText()
{
    QString text = u"Usage:\n"_s;
    for (const Subcommand& command : subcommands())
        text += u"  ponderix-cli "_s + command.usage + u"\n"_s;
    return text;
}

void write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

std::optional<Arguments> parseArguments(const Subcommand& command, const QStringList& list, QString& problem)
{
    Arguments parsed;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString& argument = list[i];
        if (command.valueOptions.contains(argument)) {
            if (i + 1 == list.size()) {
                problem = argument + u" needs a value"_s;
                return std::nullopt;
            }
            parsed.values.insert(argument, list[++i]);
        } else if (command.flagOptions.contains(argument)) {
            parsed.flags.insert(argument);
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            problem = u"unknown option "_s + argument;
            return std::nullopt;
        } else {
            parsed.positional << argument;
        }
    }
    if (parsed.positional.size() != command.positionalCount) {
        problem = command.name + u": wrong number of arguments"_s;
        return std::nullopt;
    }
    for (const QString& required : command.requiredOptions) {
        if (!parsed.values.contains(required)) {
            problem = command.name + u": "_s + required + u" is required"_s;
            return std::nullopt;
        }
    }
    return parsed;
}

} // namespace

void writeOut(const QString& text)
{
    write(stdout, text);
}

void writeError(const QString& text)
{
    write(stderr, text);
}

void reportMessage(const Message& message)
{
    QString text = message.text;
    text.replace(u"\r\n"_s, u"\n"_s);
    writeError(u"ponderix-cli: "_s + message.title + u": "_s + text + u"\n"_s);
}

int usageError(const QString& problem)
{
    writeError(u"ponderix-cli: "_s + problem + u"\n"_s + usageText());
    return kUsage;
}

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
    const std::optional<Arguments> parsed = parseArguments(*command, arguments.mid(1), problem);
    if (!parsed)
        return usageError(problem);
    return command->handler(*parsed);
}

} // namespace ponderix::cli
