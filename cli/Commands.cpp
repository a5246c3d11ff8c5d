#include "cli/Commands.h"

#include "base/Language.h"
#include "base/TextTable.h"
#include "cli/Subcommand.h"
#include "cli/TerminalText.h"
#include "project/ProjectMessages.h"

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
    return u"      --language "_s + availableLanguages().join(u'|')
           + u"  the language of texts and numbers for a person; en for scripts that read plain output\n"_s;
}

const std::vector<Subcommand>& subcommands()
{
    static const std::vector<Subcommand> table = {
        textsCommand(),  scoresCommand(),     demoCommand(), saveCommand(),  renderCommand(), reportCommand(),
        exportCommand(), robustnessCommand(), teamCommand(), blankCommand(), recordCommand(),
    };
    return table;
}

// What each subcommand's --help says under its usage line. Kept here rather
// than in Subcommand, so a subcommand added without a description still
// builds and simply shows its usage line.
QString descriptionOf(const QString& name)
{
    static const QHash<QString, QString> descriptions = {
        {u"texts"_s, u"Prints every text of the user interface as its key, a tab and the text, one per line, "
                     u"sorted by key."_s},
        {u"scores"_s, u"Prints each option's letter, name, score and verdict, then the best options and their "
                      u"score. With --json, prints the same as one JSON object."_s},
        {u"demo"_s, u"Writes the built-in demo project to OUT.pnx."_s},
        {u"save"_s, u"Reads a project and writes it again to OUT.pnx the way the desktop program saves it."_s},
        {u"render"_s, u"Draws the overview page, the profile page, the robustness page or the detail page of "
                      u"the option with the given letter, as the result windows show them, and writes it as an "
                      u"image whose format follows the extension of the output file. With --scale, draws the page "
                      u"as a screen of that device pixel ratio shows it (1, 1.25, 1.5 or 2; 1 by default): the "
                      u"same layout with that many times the pixels each way."_s},
        {u"report"_s, u"Writes the HTML report of a project to OUT.html and, with --text, its plain-text "
                      u"version to OUT.txt."_s},
        {u"export"_s, u"Writes the tab-separated text export of a project to OUT.txt: one row per criterion "
                      u"(criteria) or a value row and a comment row per option (options)."_s},
        {u"robustness"_s, u"Prints how solid the best choice is: the best options, the runner-up and the lead, "
                          u"the verdict (robust, sensitive, fragile or undecided), the best options for every "
                          u"importance of every criterion, the closest single change that alters the best "
                          u"options, what each other option would need to become best, and each option's exact "
                          u"chance of being best when every rating may be off by up to --spread points (1 or 2, "
                          u"1 by default). With --json, prints the same as one JSON object."_s},
        {u"team"_s, u"Combines the ratings of team members who each rated the same decision in their own copy "
                    u"of the project (options and criteria matched by name): each member's scores and best "
                    u"options, the team score of each option (the members' scores averaged) with the lowest and "
                    u"highest member score, the team's best options and how many members agree, the "
                    u"disagreements that move a team score most, and each option's exact chance of being best "
                    u"when every rating is taken from one member at random. With --json, prints the same as one "
                    u"JSON object; --combined writes the project of the median ratings and importances; --image "
                    u"writes the team page."_s},
        {u"record"_s, u"Writes the decision record of a project: one document with the title, the date and time "
                      u"of the export and the best choice in one sentence, the overview page, the decision matrix "
                      u"with every rating and comment, each option's detail page, the profile and the robustness "
                      u"analysis. OUT.html is one self-contained file with the pictures inside; OUT.pdf is laid out "
                      u"on the paper of the locale (A4, or Letter where it measures in inches) with text as text."_s},
        {u"blank"_s, u"Writes a copy of the project for a team member to rate: the same options, criteria and "
                     u"importances, every rating 0 and no comments."_s},
    };
    return descriptions.value(name);
}

QString helpText()
{
    QString text = u"Usage: ponderix-cli COMMAND [ARGUMENTS]\n"_s
                   u"Scores, renders and converts Ponderix decision projects (.pnx files) without a display.\n\n"_s
                   u"Commands:\n"_s;
    for (const Subcommand& command : subcommands())
        text += u"  ponderix-cli "_s + command.usage + u"\n"_s;
    return text
           + u"\nOptions:\n"_s
             u"  -h, --help     show this help; after a command, that command's help\n"_s
             u"      --version  show the version\n"_s
           + languageOptionText()
           + u"\nExit status: 0 on success, 1 when a project could not be read or an output not written, "_s
             u"2 on wrong usage.\n"_s;
}

QString commandHelpText(const Subcommand& command)
{
    const QString description = descriptionOf(command.name);
    return u"Usage: ponderix-cli "_s + command.usage + u"\n"_s
           + (description.isEmpty() ? QString() : description + u"\n"_s);
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

QString usageText()
{
    QString text = u"Usage:\n"_s;
    for (const Subcommand& command : subcommands())
        text += u"  ponderix-cli "_s + command.usage + u"\n"_s;
    return text + u"Option of every command:\n"_s + languageOptionText();
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
            problem = argument + u" is given twice"_s;
            return std::nullopt;
        }
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
    const bool countFits = command.morePositional ? parsed.positional.size() >= command.positionalCount
                                                  : parsed.positional.size() == command.positionalCount;
    if (!countFits) {
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
    // Messages name files and entries: no control character of theirs may
    // reach the terminal, only the message's own line breaks.
    writeError(u"ponderix-cli: "_s + terminalLines(message.title + u": "_s + text) + u"\n"_s);
}

int usageError(const QString& problem)
{
    writeError(u"ponderix-cli: "_s + terminalLines(problem) + u"\n"_s + usageText());
    return kUsage;
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
        return usageError(u"no command given"_s);
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
        return usageError(u"unknown command "_s + arguments.first());
    if (asksForHelp(*command, arguments.mid(1))) {
        writeOut(commandHelpText(*command));
        return kSuccess;
    }
    QString problem;
    const std::optional<Arguments> parsed = parseArguments(*command, arguments.mid(1), problem);
    if (!parsed)
        return usageError(problem);
    return command->handler(*parsed);
}

} // namespace ponderix::cli
