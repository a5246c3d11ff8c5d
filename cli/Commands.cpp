#include "cli/Commands.h"

#include "base/AtomicFile.h"
#include "base/Language.h"
#include "base/TextTable.h"
#include "cli/Subcommand.h"
#include "cli/TerminalText.h"
#include "project/ProjectMessages.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

bool g_languageGiven = false;

// One line for the help and the usage message: the option goes with every command.
QString languageOptionText()
{
    return u"      --language "_s + availableLanguages().join(u'|') + u"  "_s + uiText(TextKey::TXT02012) + u'\n';
}

const std::vector<Subcommand>& subcommands()
{
    static const std::vector<Subcommand> table = {
        textsCommand(),  scoresCommand(),     demoCommand(), saveCommand(),  renderCommand(), reportCommand(),
        exportCommand(), robustnessCommand(), teamCommand(), blankCommand(), recordCommand(),
    };
    return table;
}

// The argument names of the usage lines, FILE, OUT and LETTER, in the
// table's words. A usage line is written with the English names, which read
// well in the code; the user reads them in their own language.
QString argumentWord(QStringView name)
{
    if (name == u"FILE")
        return uiText(TextKey::TXT02003);
    if (name == u"OUT")
        return uiText(TextKey::TXT02004);
    return uiText(TextKey::TXT02005);
}

// What each subcommand's --help says under its usage line, and what its %1..
// stand for. Kept here rather than in Subcommand, so a subcommand added
// without a description still builds and simply shows its usage line.
struct Description {
    QString command;
    TextKey text;
    QStringList literals; // option names, values and files, as they stand
};

QString descriptionOf(const QString& name)
{
    static const std::vector<Description> descriptions = {
        {u"texts"_s, TextKey::TXT02020, {}},
        {u"scores"_s, TextKey::TXT02021, {u"--json"_s}},
        {u"demo"_s, TextKey::TXT02022, {u"OUT.pnx"_s}},
        {u"save"_s, TextKey::TXT02023, {u"OUT.pnx"_s}},
        {u"render"_s, TextKey::TXT02024, {u"--scale"_s}},
        {u"report"_s, TextKey::TXT02025, {u"OUT.html"_s, u"--text"_s, u"OUT.txt"_s}},
        {u"export"_s, TextKey::TXT02026, {u"OUT.txt"_s, u"criteria"_s, u"options"_s}},
        {u"robustness"_s, TextKey::TXT02027, {u"--spread"_s, u"--json"_s}},
        {u"team"_s, TextKey::TXT02028, {u"--json"_s, u"--combined"_s, u"--image"_s}},
        {u"blank"_s, TextKey::TXT02029, {}},
        {u"record"_s, TextKey::TXT02030, {u"OUT.html"_s, u"OUT.pdf"_s}},
    };
    const auto found = std::ranges::find(descriptions, name, &Description::command);
    if (found == descriptions.end())
        return {};
    QString text = uiText(found->text);
    // One at a time, lowest first: none of the literals holds a "%".
    for (const QString& literal : found->literals)
        text = text.arg(withArgumentWords(literal));
    return text;
}

// Every command's usage line, indented, as the help and a usage error list
// them.
QString usageLines()
{
    QString lines;
    for (const Subcommand& command : subcommands())
        lines += u"  ponderix-cli %1\n"_s.arg(withArgumentWords(command.usage));
    return lines;
}

QString helpText()
{
    QString text = u"%1 ponderix-cli %2 [%3]\n%4\n\n%5\n"_s.arg(uiText(TextKey::TXT02000), uiText(TextKey::TXT02001),
                                                                uiText(TextKey::TXT02002), uiText(TextKey::TXT02006),
                                                                uiText(TextKey::TXT02007));
    text += usageLines();
    text +=
        u"\n%1\n  -h, --help     %2\n      --version  %3\n"_s.arg(uiText(TextKey::TXT02008), uiText(TextKey::TXT02009),
                                                                  uiText(TextKey::TXT02010));
    text += languageOptionText();
    text += u"\n%1\n"_s.arg(uiText(TextKey::TXT02011));
    return text;
}

QString commandHelpText(const Subcommand& command)
{
    const QString description = descriptionOf(command.name);
    QString text = u"%1 ponderix-cli %2\n"_s.arg(uiText(TextKey::TXT02000), withArgumentWords(command.usage));
    if (!description.isEmpty())
        text += description + u'\n';
    return text;
}

bool isHelpOption(const QString& argument)
{
    return argument == u"--help" || argument == u"-h";
}

// Whether --help stands where an option may: the value of "-o" is a file
// name, even one called "--help".
bool asksForHelp(const Subcommand& command, const QStringList& list)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (command.valueOptions.contains(list[i]))
            ++i;
        else if (isHelpOption(list[i]))
            return true;
    }
    return false;
}

// A problem with one command's arguments, after the command's name: "demo: -o
// is required".
QString commandProblem(const QString& command, const QString& problem)
{
    return u"%1: %2"_s.arg(command, problem);
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
        if (parsed.has(argument)) {
            // Which one was meant is anyone's guess: refused, not the last taken.
            problem = uiText(TextKey::TXT02043).arg(argument);
            return std::nullopt;
        }
        if (command.valueOptions.contains(argument)) {
            if (i + 1 == list.size()) {
                problem = uiText(TextKey::TXT02044).arg(argument);
                return std::nullopt;
            }
            parsed.values.insert(argument, list[++i]);
        } else if (command.flagOptions.contains(argument)) {
            parsed.flags.insert(argument);
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            problem = uiText(TextKey::TXT02042).arg(argument);
            return std::nullopt;
        } else {
            parsed.positional << argument;
        }
    }
    const bool countFits = command.morePositional ? parsed.positional.size() >= command.positionalCount
                                                  : parsed.positional.size() == command.positionalCount;
    if (!countFits) {
        problem = commandProblem(command.name, uiText(TextKey::TXT02045));
        return std::nullopt;
    }
    for (const QString& required : command.requiredOptions) {
        if (!parsed.values.contains(required)) {
            problem = commandProblem(command.name, uiText(TextKey::TXT02046).arg(required));
            return std::nullopt;
        }
    }
    return parsed;
}

// Every option that names a file a command writes.
const QStringList kOutputOptions = {u"-o"_s, u"--combined"_s, u"--image"_s, u"--text"_s};

// An output that is one of the command's own inputs would be written over
// the file it is made from: `blank plan.pnx -o ./plan.pnx` would leave a
// blank project where the ratings were. Empty when no output is an input.
QString outputOverAnInput(const Arguments& arguments)
{
    for (const QString& option : kOutputOptions) {
        const QString output = arguments.value(option);
        for (const QString& input : arguments.positional) {
            if (!output.isEmpty() && sameFile(output, input))
                return output;
        }
    }
    return {};
}

} // namespace

QString withArgumentWords(const QString& usage)
{
    static const QRegularExpression names(u"\\b(FILE|OUT|LETTER)\\b"_s);
    QString shown;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& name : names.globalMatch(usage)) {
        shown += QStringView(usage).sliced(from, name.capturedStart() - from);
        shown += argumentWord(name.capturedView());
        from = name.capturedEnd();
    }
    return shown + QStringView(usage).sliced(from);
}

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
    // Messages name files and entries: no control character of theirs may
    // reach the terminal, only the message's own line breaks.
    writeError(u"ponderix-cli: "_s + terminalLines(message.title + punctuation(u':') + u" "_s + text) + u"\n"_s);
}

int usageError(const QString& problem)
{
    writeError(u"ponderix-cli: %1\n%2\n"_s.arg(terminalLines(problem), uiText(TextKey::TXT02000)) + usageLines()
               + uiText(TextKey::TXT02013) + u'\n' + languageOptionText());
    return kUsage;
}

int usageError(const QString& command, const QString& problem)
{
    return usageError(commandProblem(command, problem));
}

void writeProblem(const QString& text)
{
    writeError(u"ponderix-cli: "_s + text + u'\n');
}

bool languageGiven()
{
    return g_languageGiven;
}

int run(QStringList arguments)
{
    const LanguageOption language = takeLanguageOption(arguments);
    if (!language.problem.isEmpty())
        return usageError(language.problem);
    g_languageGiven = language.given;
    chooseLanguageOfThisRun(language);
    if (arguments.isEmpty())
        return usageError(uiText(TextKey::TXT02040));
    if (isHelpOption(arguments.first())) {
        writeOut(helpText());
        return kSuccess;
    }
    if (arguments.first() == u"--version") {
        writeOut(uiText(TextKey::Program_Name) + u' ' + uiText(TextKey::Version_Name) + u'\n');
        return kSuccess;
    }
    const auto& table = subcommands();
    const auto command = std::find_if(table.begin(), table.end(),
                                      [&](const Subcommand& entry) { return entry.name == arguments.first(); });
    if (command == table.end())
        return usageError(uiText(TextKey::TXT02041).arg(arguments.first()));
    if (asksForHelp(*command, arguments.mid(1))) {
        writeOut(commandHelpText(*command));
        return kSuccess;
    }
    QString problem;
    const std::optional<Arguments> parsed = parseArguments(*command, arguments.mid(1), problem);
    if (!parsed)
        return usageError(problem);
    if (const QString output = outputOverAnInput(*parsed); !output.isEmpty()) {
        writeProblem(uiText(TextKey::OutputIsAnInput).arg(output));
        return kFailure;
    }
    return command->handler(*parsed);
}

} // namespace ponderix::cli
