#include "evaluation/RobustnessTexts.h"

#include "base/Language.h"
#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"

#include <QStringList>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

TextKey verdictWordKey(RobustnessVerdict verdict)
{
    switch (verdict) {
    case RobustnessVerdict::Robust:
        return TextKey::TXT00406;
    case RobustnessVerdict::Sensitive:
        return TextKey::TXT00407;
    case RobustnessVerdict::Fragile:
        return TextKey::TXT00408;
    case RobustnessVerdict::Undecided:
        break;
    }
    return TextKey::TXT00409;
}

TextKey verdictReasonKey(RobustnessVerdict verdict)
{
    switch (verdict) {
    case RobustnessVerdict::Robust:
        return TextKey::TXT00410;
    case RobustnessVerdict::Sensitive:
        return TextKey::TXT00411;
    case RobustnessVerdict::Fragile:
        return TextKey::TXT00412;
    case RobustnessVerdict::Undecided:
        break;
    }
    return TextKey::TXT00413;
}

QString optionsText(const Project& project, const std::vector<int>& options, int more)
{
    // A tie of hundreds of options would fill the page with names.
    BestOptions listed;
    const std::size_t shown = std::min(options.size(), std::size_t{kMostListed});
    listed.indexes.assign(options.begin(), options.begin() + static_cast<std::ptrdiff_t>(shown));
    const int leftOut = more + static_cast<int>(options.size() - shown);
    return bestOptionsText(project, listed) + (leftOut > 0 ? u", "_s + andMoreText(leftOut) : QString());
}

QString andMoreText(int more)
{
    return uiText(TextKey::TXT00430) + u' ' + QString::number(more) + u' ' + uiText(TextKey::TXT00431);
}

QString stepsText(int steps)
{
    return QString::number(steps) + u" "_s + uiText(steps == 1 ? TextKey::TXT00419 : TextKey::TXT00420);
}

QString countText(int count, TextKey singular, TextKey plural)
{
    return QString::number(count) + u" "_s + uiText(count == 1 ? singular : plural);
}

QString pointsText(int points)
{
    return countText(points, TextKey::TXT01050, TextKey::TXT00403);
}

QString smallestChangesText(const SmallestChanges& smallest)
{
    QString text = stepsText(smallest.steps);
    const int changes = smallest.count();
    if (changes > 1) {
        text += u" ("_s
                + uiText(TextKey::TXT01053)
                      .arg(countText(changes, TextKey::TXT01051, TextKey::TXT01052), stepsText(smallest.steps))
                + u")"_s;
    }
    return text;
}

QStringList listedChanges(const Project& project, const SmallestChanges& smallest, int most)
{
    QStringList lines;
    const int listed = std::min(static_cast<int>(smallest.changes.size()), most);
    for (int at = 0; at < listed; ++at)
        lines << changeText(project, smallest.changes[static_cast<std::size_t>(at)], true);
    if (smallest.count() > listed)
        lines << countText(smallest.count() - listed, TextKey::TXT01054, TextKey::TXT01055);
    return lines;
}

std::vector<FindingRow> findingRows(const Project& project, const Robustness& robustness)
{
    if (!robustness.maximum)
        return {};
    // A tie has no leader: the options below it are next, not runners-up.
    const bool tie = robustness.best.size() > 1;
    const QString runnerUp = uiText(tie ? TextKey::TXT01060 : TextKey::TXT00401);
    const QString lead = uiText(tie ? TextKey::TXT01061 : TextKey::TXT00402);
    std::vector<FindingRow> rows;
    rows.push_back({uiText(tie ? TextKey::TXT01059 : TextKey::TXT00257),
                    optionsText(project, robustness.best) + u" ("_s + scoreText(*robustness.maximum) + u")"_s});
    if (robustness.runnerUpScore) {
        rows.push_back({runnerUp, optionsText(project, robustness.runnerUp) + u" ("_s
                                      + scoreText(*robustness.runnerUpScore) + u")"_s});
        rows.push_back({lead, pointsText(*robustness.lead)});
    } else {
        rows.push_back({runnerUp, uiText(TextKey::TXT00432)});
        rows.push_back({lead, uiText(TextKey::TXT00432)});
    }
    rows.push_back({uiText(TextKey::TXT00259),
                    uiText(verdictWordKey(robustness.verdict)) + punctuation(u':') + u" "_s
                        + uiText(verdictReasonKey(robustness.verdict)),
                    true});
    rows.push_back({uiText(TextKey::TXT00404),
                    robustness.closest ? smallestChangesText(*robustness.closest) : uiText(TextKey::TXT00405)});
    return rows;
}

QString challengerText(const Project& project, const Challenger& challenger)
{
    QString text = optionsText(project, {challenger.option}) + punctuation(u':') + u" "_s;
    if (challenger.lift)
        return text + uiText(TextKey::TXT00428) + u" "_s + smallestChangesText(*challenger.lift);
    return text + uiText(TextKey::TXT00429);
}

QString offsetText(int offset)
{
    return (offset > 0 ? u"+"_s : QString()) + QString::number(offset);
}

QString changeText(const Project& project, const SingleChange& change, bool withOutcome)
{
    const QString criterion = quoted(project.criteria()[static_cast<std::size_t>(change.criterion)].Name);
    QString text;
    if (change.kind == SingleChange::Kind::Importance) {
        text = uiText(TextKey::TXT00414) + u" "_s + criterion + u" "_s + uiText(TextKey::TXT00417) + u" "_s
               + QString::number(change.from) + u" "_s + uiText(TextKey::TXT00418) + u" "_s
               + QString::number(change.to);
    } else {
        text = uiText(TextKey::TXT00415) + u" "_s + optionsText(project, {change.option}) + u" "_s
               + uiText(TextKey::TXT00416) + u" "_s + criterion + u" "_s + uiText(TextKey::TXT00417) + u" "_s
               + offsetText(change.from) + u" "_s + uiText(TextKey::TXT00418) + u" "_s + offsetText(change.to);
    }
    if (withOutcome)
        text += u", "_s + uiText(TextKey::TXT00421) + u" "_s + optionsText(project, change.best, change.moreBest);
    return text;
}

} // namespace ponderix
