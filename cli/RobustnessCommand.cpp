// robustness: how solid the best choice is, as lines to read or as one JSON
// object for scripts.

#include "base/TextTable.h"
#include "cli/Subcommand.h"
#include "evaluation/Robustness.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"
#include "project/OptionLetter.h"

#include <optional>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

QString lettersAsJson(const std::vector<int>& options)
{
    QStringList letters;
    for (int option : options)
        letters << jsonString(optionLetter(option));
    return u"["_s + letters.join(u',') + u"]"_s;
}

QString changeAsJson(const SingleChange& change)
{
    const bool rating = change.kind == SingleChange::Kind::Rating;
    return u"{\"kind\":"_s + (rating ? u"\"rating\""_s : u"\"importance\""_s) + u",\"criterion\":"_s
           + QString::number(change.criterion + 1)
           + (rating ? u",\"option\":"_s + jsonString(optionLetter(change.option)) : QString()) + u",\"from\":"_s
           + QString::number(change.from) + u",\"to\":"_s + QString::number(change.to) + u",\"best\":"_s
           + lettersAsJson(change.best) + u"}"_s;
}

QString changesAsJson(const std::vector<SingleChange>& changes)
{
    QStringList listed;
    for (const SingleChange& change : changes)
        listed << changeAsJson(change);
    return u"["_s + listed.join(u',') + u"]"_s;
}

QString robustnessAsJson(const Project& project, const Robustness& found)
{
    const auto number = [](const std::optional<int>& value) { return value ? QString::number(*value) : u"null"_s; };
    QString json = u"{\"best\":"_s + lettersAsJson(found.best) + u",\"maximum\":"_s + number(found.maximum)
                   + u",\"runnerUp\":"_s
                   + (found.runnerUpScore ? u"{\"letters\":"_s + lettersAsJson(found.runnerUp) + u",\"score\":"_s
                                                + QString::number(*found.runnerUpScore) + u"}"_s
                                          : u"null"_s)
                   + u",\"lead\":"_s + number(found.lead) + u",\"verdict\":\""_s
                   + QString::fromLatin1(verdictName(found.verdict)) + u"\""_s;

    QStringList importance;
    for (const ImportanceWhatIf& whatIf : found.importance) {
        QStringList best;
        for (const std::vector<int>& options : whatIf.best)
            best << lettersAsJson(options);
        importance << u"{\"criterion\":"_s + QString::number(whatIf.criterion + 1) + u",\"name\":"_s
                          + jsonString(project.criteria()[static_cast<std::size_t>(whatIf.criterion)].Name)
                          + u",\"importance\":"_s + QString::number(whatIf.current) + u",\"best\":["_s + best.join(u',')
                          + u"]}"_s;
    }
    json += u",\"importance\":["_s + importance.join(u',') + u"]"_s;

    json += u",\"closest\":"_s
            + (found.closest ? u"{\"steps\":"_s + QString::number(found.closest->steps) + u",\"changes\":"_s
                                   + changesAsJson(found.closest->changes) + u"}"_s
                             : u"null"_s);

    QStringList challengers;
    for (const Challenger& challenger : found.challengers) {
        challengers << u"{\"letter\":"_s + jsonString(optionLetter(challenger.option)) + u",\"steps\":"_s
                           + (challenger.lift ? QString::number(challenger.lift->steps) : u"null"_s)
                           + u",\"changes\":"_s + (challenger.lift ? changesAsJson(challenger.lift->changes) : u"[]"_s)
                           + u"}"_s;
    }
    json += u",\"challengers\":["_s + challengers.join(u',') + u"]"_s;

    QStringList chances;
    for (std::size_t option = 0; option < found.chance.size(); ++option) {
        chances << u"{\"letter\":"_s + jsonString(optionLetter(static_cast<int>(option))) + u",\"best\":"_s
                       + QString::number(found.chance[option], 'f', 6) + u"}"_s;
    }
    json += u",\"uncertainty\":{\"spread\":"_s + QString::number(found.spread) + u",\"chance\":["_s + chances.join(u',')
            + u"]}}\n"_s;
    return json;
}

QString changesAsLines(const Project& project, const std::vector<SingleChange>& changes)
{
    QString lines;
    for (const SingleChange& change : changes)
        lines += u"    "_s + changeText(project, change, true) + u"\n"_s;
    return lines;
}

QString robustnessAsLines(const Project& project, const Robustness& found)
{
    QString lines;
    if (found.maximum) {
        lines += uiText(TextKey::TXT00257) + u" "_s + optionsText(project, found.best) + u"\n"_s;
        lines += uiText(TextKey::TXT00258) + u" "_s + scoreText(*found.maximum) + u"\n"_s;
    }
    lines += uiText(TextKey::TXT00401) + u" "_s;
    if (found.runnerUpScore) {
        lines += optionsText(project, found.runnerUp) + u" ("_s + scoreText(*found.runnerUpScore) + u")\n"_s;
        lines += uiText(TextKey::TXT00402) + u" "_s + QString::number(*found.lead) + u" "_s + uiText(TextKey::TXT00403)
                 + u"\n"_s;
    } else {
        lines += uiText(TextKey::TXT00432) + u"\n"_s;
    }
    lines += uiText(TextKey::TXT00259) + u" "_s + uiText(verdictWordKey(found.verdict)) + u": "_s
             + uiText(verdictReasonKey(found.verdict)) + u"\n"_s;
    lines += uiText(TextKey::TXT00404) + u" "_s;
    if (found.closest) {
        lines += stepsText(found.closest->steps) + u"\n"_s + changesAsLines(project, found.closest->changes);
    } else {
        lines += uiText(TextKey::TXT00405) + u"\n"_s;
    }

    lines += u"\n"_s + uiText(TextKey::TXT00422) + u":\n"_s;
    for (const ImportanceWhatIf& whatIf : found.importance) {
        lines += u"  "_s + QString::number(whatIf.criterion + 1) + u" \""_s
                 + project.criteria()[static_cast<std::size_t>(whatIf.criterion)].Name + u"\" ("_s
                 + QString::number(whatIf.current) + u"):"_s;
        for (std::size_t at = 0; at < whatIf.best.size(); ++at) {
            QStringList letters;
            for (int option : whatIf.best[at])
                letters << optionLetter(option);
            lines += u"  "_s + QString::number(static_cast<int>(at) + kImportanceMin) + u" "_s + letters.join(u',');
        }
        lines += u"\n"_s;
    }

    lines += u"\n"_s + uiText(TextKey::TXT00427) + u":\n"_s;
    if (found.challengers.empty())
        lines += u"  "_s + uiText(TextKey::TXT00432) + u"\n"_s;
    for (const Challenger& challenger : found.challengers) {
        lines += u"  "_s + optionsText(project, {challenger.option}) + u": "_s;
        if (challenger.lift) {
            lines += uiText(TextKey::TXT00428) + u" "_s + stepsText(challenger.lift->steps) + u"\n"_s
                     + changesAsLines(project, challenger.lift->changes);
        } else {
            lines += uiText(TextKey::TXT00429) + u"\n"_s;
        }
    }

    lines += u"\n"_s + uiText(TextKey::TXT00425) + u" ("_s + uiText(TextKey::TXT00426) + u" \u00B1"_s
             + QString::number(found.spread) + u"):\n"_s;
    for (std::size_t option = 0; option < found.chance.size(); ++option) {
        lines += u"  "_s + optionsText(project, {static_cast<int>(option)}) + u": "_s
                 + QString::number(found.chance[option] * 100.0, 'f', 4) + u"%\n"_s;
    }
    return lines;
}

int showRobustness(const Arguments& arguments)
{
    int spread = kSmallestSpread;
    if (arguments.has(u"--spread"_s)) {
        const QString given = arguments.value(u"--spread"_s);
        if (given == u"1")
            spread = 1;
        else if (given == u"2")
            spread = 2;
        else
            return usageError(u"robustness: --spread must be 1 or 2"_s);
    }
    const std::optional<Project> project = readProjectOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    const Robustness found = analyseRobustness(*project, spread);
    writeOut(arguments.has(u"--json"_s) ? robustnessAsJson(*project, found) : robustnessAsLines(*project, found));
    return kSuccess;
}

} // namespace

Subcommand robustnessCommand()
{
    return {u"robustness"_s, u"robustness FILE.pnx [--spread 1|2] [--json]"_s, 1, {u"--spread"_s}, {u"--json"_s}, {},
            showRobustness};
}

} // namespace ponderix::cli
