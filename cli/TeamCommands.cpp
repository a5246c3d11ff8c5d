// team and blank: deciding together, each member rating their own copy of
// the project, then combining the copies.

#include "base/Language.h"
#include "base/Message.h"
#include "base/TextTable.h"
#include "cli/Subcommand.h"
#include "cli/TerminalText.h"
#include "evaluation/ResultPages.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"
#include "evaluation/Team.h"
#include "evaluation/TeamTexts.h"
#include "project/OptionLetter.h"

#include <optional>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

// Every file read, or nothing when one cannot be read or the files are not
// of one decision; the reason is printed.
std::optional<std::vector<TeamMember>> readTeam(const QStringList& files)
{
    std::vector<TeamMember> members;
    for (const QString& file : files) {
        std::optional<Project> project = readProjectOrReport(file);
        if (!project)
            return std::nullopt;
        members.push_back({file, std::move(*project)});
    }
    if (const std::optional<TeamRefusal> refusal = teamRefusal(members)) {
        reportMessage({uiText(TextKey::TXT00804), refusalText(*refusal, members)});
        return std::nullopt;
    }
    return members;
}

QString teamAsJson(const std::vector<TeamMember>& given, const TeamResult& team)
{
    JsonWriter json;
    json.beginObject().key(u"members").beginArray();
    for (std::size_t m = 0; m < team.members.size(); ++m) {
        const MemberResult& member = team.members[m];
        json.beginObject().key(u"file").value(given[m].file).key(u"name").value(member.name);
        json.key(u"scores").beginArray();
        for (int score : member.scores)
            json.value(score);
        json.endArray().key(u"best");
        writeLetters(json, member.best);
        json.endObject();
    }
    json.endArray().key(u"options").beginArray();
    for (std::size_t option = 0; option < team.options.size(); ++option) {
        const TeamOption& entry = team.options[option];
        json.beginObject().key(u"letter").value(optionLetter(static_cast<int>(option)));
        json.key(u"name").value(team.combined.options()[option].Name).key(u"score").value(entry.score);
        json.key(u"lowest").value(entry.lowest).key(u"highest").value(entry.highest).endObject();
    }
    json.endArray().key(u"best");
    writeLetters(json, team.best);
    json.key(u"maximum");
    writeOptional(json, team.maximum);
    json.key(u"agreement").beginObject().key(u"verdict").value(QString::fromLatin1(teamVerdictName(team.verdict)));
    json.key(u"agree").value(team.agreeing).key(u"members").value(static_cast<int>(team.members.size()));
    json.endObject().key(u"disagreements").beginArray();
    for (const Disagreement& disagreement : team.disagreements) {
        json.beginObject().key(u"option").value(optionLetter(disagreement.option));
        json.key(u"criterion").value(disagreement.criterion + 1);
        json.key(u"name").value(team.combined.criteria()[static_cast<std::size_t>(disagreement.criterion)].Name);
        json.key(u"impact").value(disagreement.impact).key(u"ratings").beginArray();
        for (int rating : disagreement.ratings)
            json.value(rating);
        json.endArray().endObject();
    }
    json.endArray().key(u"chance").beginArray();
    for (std::size_t option = 0; option < team.chance.size(); ++option) {
        json.beginObject().key(u"letter").value(optionLetter(static_cast<int>(option)));
        json.key(u"best").value(team.chance[option], 6).endObject();
    }
    json.endArray().endObject();
    return json.text() + u"\n"_s;
}

QString teamAsLines(TeamResult team)
{
    team.combined = withTerminalNames(std::move(team.combined));
    for (MemberResult& member : team.members)
        member.name = terminalText(member.name);
    const Project& combined = team.combined;
    QString lines = uiText(TextKey::TXT00812) + punctuation(u':') + u"\n"_s;
    for (std::size_t option = 0; option < team.options.size(); ++option) {
        const TeamOption& entry = team.options[option];
        lines += u"  "_s + optionsText(combined, {static_cast<int>(option)}) + punctuation(u':') + u" "_s
                 + scoreText(entry.score) + u" ("_s + uiText(TextKey::TXT00813) + u" "_s + scoreText(entry.lowest)
                 + u", "_s + uiText(TextKey::TXT00814) + u" "_s + scoreText(entry.highest) + u")\n"_s;
    }
    if (team.maximum) {
        lines += uiText(TextKey::TXT00257) + u" "_s + optionsText(combined, team.best) + u"\n"_s;
        lines += uiText(TextKey::TXT00258) + u" "_s + scoreText(*team.maximum) + u"\n"_s;
    }
    lines += uiText(TextKey::TXT00815) + u" "_s + uiText(teamVerdictWordKey(team.verdict)) + u" ("_s
             + agreementText(team) + u")"_s + punctuation(u':') + u" "_s + uiText(teamVerdictReasonKey(team.verdict))
             + u"\n"_s;

    lines += u"\n"_s + uiText(TextKey::TXT00825) + punctuation(u':') + u"\n"_s;
    if (team.disagreements.empty())
        lines += u"  "_s + uiText(TextKey::TXT00828) + u"\n"_s;
    for (const Disagreement& disagreement : team.disagreements)
        lines += u"  "_s + disagreementText(team, disagreement) + u"\n"_s;

    lines += u"\n"_s + uiText(TextKey::TXT00425) + u" ("_s + uiText(TextKey::TXT00829) + u")"_s + punctuation(u':')
             + u"\n"_s;
    for (std::size_t option = 0; option < team.chance.size(); ++option) {
        lines += u"  "_s + optionsText(combined, {static_cast<int>(option)}) + punctuation(u':') + u" "_s
                 + percentText(team.chance[option] * 100.0, 4, false) + u"\n"_s;
    }

    lines += u"\n"_s + uiText(TextKey::TXT00830) + punctuation(u':') + u"\n"_s;
    for (const MemberResult& member : team.members) {
        QStringList scores;
        for (std::size_t option = 0; option < member.scores.size(); ++option)
            scores << optionLetter(static_cast<int>(option)) + u" "_s + scoreText(member.scores[option]);
        QStringList best;
        for (int option : member.best)
            best << optionLetter(option);
        lines += u"  "_s + member.name + punctuation(u':') + u" "_s + scores.join(u", "_s) + punctuation(u';') + u" "_s
                 + uiText(TextKey::TXT00831) + u" "_s + best.join(u',') + u"\n"_s;
    }
    return lines;
}

int combineTeam(const Arguments& arguments)
{
    if (arguments.positional.size() > kTeamMax)
        return usageError(u"team"_s, uiText(TextKey::TXT02051).arg(kTeamMax));
    const std::optional<qreal> scale = scaleOption(arguments);
    if (!scale)
        return usageError(u"team"_s, scaleProblem());
    // A scale without a page to draw would be silently ignored.
    if (arguments.has(u"--scale"_s) && !arguments.has(u"--image"_s))
        return usageError(u"team"_s, uiText(TextKey::OptionNeedsAnother).arg(u"--scale"_s, u"--image"_s));
    const QString image = arguments.value(u"--image"_s);
    if (arguments.has(u"--image"_s) && !imageFormatOf(image))
        return usageError(u"team"_s, imageNameProblem());
    const std::optional<std::vector<TeamMember>> members = readTeam(arguments.positional);
    if (!members)
        return kFailure;
    const TeamResult team = analyseTeam(*members);
    if (arguments.has(u"--combined"_s)) {
        if (const int outcome = writeProjectOrReport(team.combined, arguments.value(u"--combined"_s)))
            return outcome;
    }
    if (arguments.has(u"--image"_s)) {
        // The page's banner names the first member's file, as the combined
        // project would once saved beside it.
        const QImage page = buildTeamPage(team, team.members.front().name, *scale);
        if (const int outcome = writeImageOrReport(page, image))
            return outcome;
    }
    writeOut(arguments.has(u"--json"_s) ? teamAsJson(*members, team) : teamAsLines(team));
    return kSuccess;
}

int writeBlankCopy(const Arguments& arguments)
{
    const std::optional<Project> project = readProjectOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    return writeProjectOrReport(blankCopy(*project), arguments.value(u"-o"_s));
}

} // namespace

Subcommand teamCommand()
{
    Subcommand
        command{u"team"_s,
                u"team FILE.pnx FILE.pnx... [--json] [--combined OUT.pnx] [--image OUT.png [--scale 1|1.25|1.5|2]]"_s,
                kTeamMin,
                {u"--combined"_s, u"--image"_s, u"--scale"_s},
                {u"--json"_s},
                {},
                combineTeam};
    command.morePositional = true;
    return command;
}

Subcommand blankCommand()
{
    return {u"blank"_s, u"blank FILE.pnx -o OUT.pnx"_s, 1, {u"-o"_s}, {}, {u"-o"_s}, writeBlankCopy};
}

} // namespace ponderix::cli
