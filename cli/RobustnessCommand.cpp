// robustness: how solid the best choice is, as lines to read or as one JSON
// object for scripts.

#include "base/Language.h"
#include "base/TextTable.h"
#include "cli/Subcommand.h"
#include "cli/TerminalText.h"
#include "evaluation/Robustness.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"
#include "project/OptionLetter.h"

#include <optional>

namespace ponderix::cli {

using namespace Qt::StringLiterals;

namespace {

// The changes the analysis kept, and beside them how many there are in all;
// likewise the best options after each change.
void writeChanges(JsonWriter& json, const std::optional<SmallestChanges>& smallest)
{
    json.key(u"changes").beginArray();
    for (const SingleChange& change : smallest ? smallest->changes : std::vector<SingleChange>()) {
        const bool rating = change.kind == SingleChange::Kind::Rating;
        json.beginObject().key(u"kind").value(rating ? u"rating" : u"importance");
        json.key(u"criterion").value(change.criterion + 1);
        if (rating)
            json.key(u"option").value(optionLetter(change.option));
        json.key(u"from").value(change.from).key(u"to").value(change.to).key(u"best");
        writeLetters(json, change.best);
        json.key(u"bestCount").value(change.bestCount()).endObject();
    }
    json.endArray().key(u"changeCount").value(smallest ? smallest->count() : 0);
}

void writeImportance(JsonWriter& json, const Project& project, const std::vector<ImportanceWhatIf>& importance)
{
    json.beginArray();
    for (const ImportanceWhatIf& whatIf : importance) {
        json.beginObject().key(u"criterion").value(whatIf.criterion + 1);
        json.key(u"name").value(project.criteria()[static_cast<std::size_t>(whatIf.criterion)].Name);
        json.key(u"importance").value(whatIf.current).key(u"best").beginArray();
        for (const std::vector<int>& options : whatIf.best)
            writeLetters(json, options);
        json.endArray().endObject();
    }
    json.endArray();
}

void writeChallengers(JsonWriter& json, const std::vector<Challenger>& challengers)
{
    json.beginArray();
    for (const Challenger& challenger : challengers) {
        json.beginObject().key(u"letter").value(optionLetter(challenger.option)).key(u"steps");
        writeOptional(json, challenger.lift ? std::optional(challenger.lift->steps) : std::nullopt);
        writeChanges(json, challenger.lift);
        json.endObject();
    }
    json.endArray();
}

QString robustnessAsJson(const Project& project, const Robustness& found)
{
    JsonWriter json;
    json.beginObject().key(u"best");
    writeLetters(json, found.best);
    json.key(u"maximum");
    writeOptional(json, found.maximum);
    json.key(u"runnerUp");
    if (found.runnerUpScore) {
        json.beginObject().key(u"letters");
        writeLetters(json, found.runnerUp);
        json.key(u"score").value(*found.runnerUpScore).endObject();
    } else {
        json.null();
    }
    json.key(u"lead");
    writeOptional(json, found.lead);
    json.key(u"verdict").value(QString::fromLatin1(verdictName(found.verdict)));
    json.key(u"importance");
    writeImportance(json, project, found.importance);
    json.key(u"closest");
    if (found.closest) {
        json.beginObject().key(u"steps").value(found.closest->steps);
        writeChanges(json, found.closest);
        json.endObject();
    } else {
        json.null();
    }
    json.key(u"challengers");
    writeChallengers(json, found.challengers);
    json.key(u"uncertainty").beginObject().key(u"spread").value(found.spread).key(u"chance").beginArray();
    for (std::size_t option = 0; option < found.chance.size(); ++option) {
        json.beginObject().key(u"letter").value(optionLetter(static_cast<int>(option)));
        json.key(u"best").value(found.chance[option], 6).endObject();
    }
    json.endArray().endObject().endObject();
    return json.text() + u"\n"_s;
}

QString changesAsLines(const Project& project, const SmallestChanges& smallest)
{
    QString lines;
    for (const QString& line : listedChanges(project, smallest))
        lines += u"    "_s + line + u"\n"_s;
    return lines;
}

QString robustnessAsLines(const Project& project, const Robustness& found)
{
    QString lines;
    // The page's rows: a tie is named as such, with the options below it.
    const std::vector<FindingRow> rows = findingRows(project, found);
    if (found.maximum) {
        lines += rows[0].label + u" "_s + optionsText(project, found.best) + u"\n"_s;
        lines += uiText(TextKey::TXT00258) + u" "_s + scoreText(*found.maximum) + u"\n"_s;
        lines += rows[1].label + u" "_s + rows[1].value + u"\n"_s;
        if (found.runnerUpScore)
            lines += rows[2].label + u" "_s + rows[2].value + u"\n"_s;
    } else {
        lines += uiText(TextKey::TXT00401) + u" "_s + uiText(TextKey::TXT00432) + u"\n"_s;
    }
    lines += uiText(TextKey::TXT00259) + u" "_s + uiText(verdictWordKey(found.verdict)) + punctuation(u':') + u" "_s
             + uiText(verdictReasonKey(found.verdict)) + u"\n"_s;
    lines += uiText(TextKey::TXT00404) + u" "_s;
    if (found.closest) {
        lines += smallestChangesText(*found.closest) + u"\n"_s + changesAsLines(project, *found.closest);
    } else {
        lines += uiText(TextKey::TXT00405) + u"\n"_s;
    }

    lines += u"\n"_s + uiText(TextKey::TXT00422) + punctuation(u':') + u"\n"_s;
    for (const ImportanceWhatIf& whatIf : found.importance) {
        lines += u"  "_s + QString::number(whatIf.criterion + 1) + u" "_s
                 + quoted(project.criteria()[static_cast<std::size_t>(whatIf.criterion)].Name) + u" ("_s
                 + QString::number(whatIf.current) + u")"_s + punctuation(u':');
        for (std::size_t at = 0; at < whatIf.best.size(); ++at) {
            QStringList letters;
            for (int option : whatIf.best[at])
                letters << optionLetter(option);
            lines += u"  "_s + QString::number(static_cast<int>(at) + kImportanceMin) + u" "_s + letters.join(u',');
        }
        lines += u"\n"_s;
    }

    lines += u"\n"_s + uiText(TextKey::TXT00427) + punctuation(u':') + u"\n"_s;
    if (found.challengers.empty())
        lines += u"  "_s + uiText(TextKey::TXT00432) + u"\n"_s;
    for (const Challenger& challenger : found.challengers) {
        lines += u"  "_s + challengerText(project, challenger) + u"\n"_s;
        if (challenger.lift)
            lines += changesAsLines(project, *challenger.lift);
    }

    lines += u"\n"_s + uiText(TextKey::TXT00425) + u" ("_s + uiText(TextKey::TXT00426) + u" \u00B1"_s
             + QString::number(found.spread) + u")"_s + punctuation(u':') + u"\n"_s;
    for (std::size_t option = 0; option < found.chance.size(); ++option) {
        lines += u"  "_s + optionsText(project, {static_cast<int>(option)}) + punctuation(u':') + u" "_s
                 + percentText(found.chance[option] * 100.0, 4, false) + u"\n"_s;
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
            return usageError(u"robustness"_s, uiText(TextKey::TXT02047).arg(u"--spread"_s, u"1"_s, u"2"_s));
    }
    std::optional<Project> project = readProjectOrReport(arguments.positional[0]);
    if (!project)
        return kFailure;
    const Robustness found = analyseRobustness(*project, spread);
    writeOut(arguments.has(u"--json"_s) ? robustnessAsJson(*project, found)
                                        : robustnessAsLines(withTerminalNames(std::move(*project)), found));
    return kSuccess;
}

} // namespace

Subcommand robustnessCommand()
{
    return {u"robustness"_s, u"robustness FILE.pnx [--spread 1|2] [--json]"_s, 1, {u"--spread"_s}, {u"--json"_s}, {},
            showRobustness};
}

} // namespace ponderix::cli
