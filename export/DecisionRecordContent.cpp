#include "export/DecisionRecordContent.h"

#include "base/Language.h"
#include "base/TextTable.h"
#include "evaluation/ResultPages.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

#include <QPainter>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

QString summaryOf(const Project& project, const Robustness& robustness)
{
    QString choice;
    if (!robustness.maximum) {
        choice = uiText(TextKey::TXT00907);
    } else {
        // The multi-argument arg() fills every place in one pass, so a name
        // holding "%2" stays as typed.
        const TextKey sentence = robustness.best.size() == 1 ? TextKey::TXT00905 : TextKey::TXT00906;
        choice = uiText(sentence).arg(optionsText(project, robustness.best), scoreText(*robustness.maximum),
                                      uiText(verdictBand(*robustness.maximum)));
    }
    return choice + u' '
           + uiText(TextKey::TXT00908)
                 .arg(uiText(verdictWordKey(robustness.verdict)), uiText(verdictReasonKey(robustness.verdict)));
}

// A tie can have hundreds of equally small changes; the first few say what
// kind of change it takes, the count says the rest.
constexpr int kMostListedChanges = 5;

QStringList changeLines(const Project& project, const SmallestChanges& changes)
{
    QStringList lines;
    const int listed = std::min(static_cast<int>(changes.changes.size()), kMostListedChanges);
    for (int at = 0; at < listed; ++at)
        lines << changeText(project, changes.changes[static_cast<std::size_t>(at)], true);
    if (changes.count() > listed)
        lines << andMoreText(changes.count() - listed);
    return lines;
}

std::vector<RecordFact> robustnessFacts(const Project& project, const Robustness& robustness)
{
    std::vector<RecordFact> facts;
    const QString none = uiText(TextKey::TXT00432);
    if (robustness.runnerUpScore) {
        facts.push_back(
            {uiText(TextKey::TXT00401),
             {optionsText(project, robustness.runnerUp) + u" ("_s + scoreText(*robustness.runnerUpScore) + u")"_s}});
        facts.push_back(
            {uiText(TextKey::TXT00402), {QString::number(*robustness.lead) + u' ' + uiText(TextKey::TXT00403)}});
    } else {
        facts.push_back({uiText(TextKey::TXT00401), {none}});
        facts.push_back({uiText(TextKey::TXT00402), {none}});
    }
    facts.push_back({uiText(TextKey::TXT00259),
                     {uiText(verdictWordKey(robustness.verdict)) + punctuation(u':') + u" "_s
                      + uiText(verdictReasonKey(robustness.verdict))}});
    if (robustness.closest) {
        facts.push_back({uiText(TextKey::TXT00404), QStringList{stepsText(robustness.closest->steps)}
                                                        + changeLines(project, *robustness.closest)});
    } else {
        facts.push_back({uiText(TextKey::TXT00404), {uiText(TextKey::TXT00405)}});
    }
    return facts;
}

} // namespace

std::optional<RecordContent> analyseForRecord(const RecordSource& source, RecordSteps& steps)
{
    const Project& project = source.project;
    RecordContent content;
    content.robustness = analyseRobustness(project);
    if (!steps.done())
        return std::nullopt;
    const Robustness& robustness = content.robustness;
    content.title = source.title;
    content.exported = uiText(TextKey::TXT00902).arg(source.exportedAt.toString(u"yyyy-MM-dd HH:mm"_s));
    content.summary = summaryOf(project, robustness);
    content.footer = source.fileName.isEmpty()
                         ? uiText(TextKey::TXT00912).arg(uiText(TextKey::Program_Name), uiText(TextKey::Version_Name))
                         : uiText(TextKey::TXT00911)
                               .arg(uiText(TextKey::Program_Name), uiText(TextKey::Version_Name), source.fileName);
    content.robustnessFacts = robustnessFacts(project, robustness);
    for (const Challenger& challenger : robustness.challengers) {
        RecordFact fact{optionsText(project, {challenger.option}), {}};
        if (challenger.lift) {
            fact.lines << uiText(TextKey::TXT00428) + u' ' + stepsText(challenger.lift->steps);
            fact.lines << changeLines(project, *challenger.lift);
        } else {
            fact.lines << uiText(TextKey::TXT00429);
        }
        content.challengers.push_back(std::move(fact));
    }
    content.chanceHeading = uiText(TextKey::TXT00425) + u" ("_s + uiText(TextKey::TXT00426) + u" \u00B1"_s
                            + QString::number(robustness.spread) + u')';
    for (std::size_t option = 0; option < robustness.chance.size(); ++option) {
        content.chances.push_back({optionsText(project, {static_cast<int>(option)}),
                                   {percentText(robustness.chance[option] * 100.0, 1, false)}});
    }
    return content;
}

RecordPage overviewRecordPage(const RecordSource& source)
{
    return {uiText(TextKey::TXT00256), kOverviewPageHeight, [&source](QPainter& painter) {
                paintOverviewPage(painter, source.project, source.title, source.charts, source.temporaryFolder);
            }};
}

RecordPage detailRecordPage(const RecordSource& source, int option)
{
    return {uiText(TextKey::TXT00263) + punctuation(u':') + u" "_s + optionsText(source.project, {option}),
            detailPageHeight(source.project.criterionCount()), [&source, option](QPainter& painter) {
                paintDetailPage(painter, source.project, option, source.title, source.charts, source.temporaryFolder);
            }};
}

RecordPage profileRecordPage(const RecordSource& source)
{
    return {uiText(TextKey::TXT00267), profilePageHeight(source.project.optionCount(), source.project.criterionCount()),
            [&source](QPainter& painter) { paintProfilePage(painter, source.project, source.title); }};
}

RecordPage robustnessRecordPage(const RecordSource& source, const Robustness& robustness)
{
    return {uiText(TextKey::TXT00400), robustnessPageHeight(source.project, robustness),
            [&source, &robustness](QPainter& painter) {
                paintRobustnessPage(painter, source.project, robustness, source.title);
            }};
}

QString criterionLabel(const Project& project, int criterion)
{
    return QString::number(criterion + 1) + u". "_s + project.criteria()[static_cast<std::size_t>(criterion)].Name;
}

QString optionLabel(int option)
{
    return uiText(TextKey::TXT00202) + u' ' + optionLetter(option);
}

QString ratingLabel(const Project& project, int option, int criterion)
{
    const Rating* rating = project.ratingOf(option, criterion);
    return rating ? offsetText(rating->Value - kNeutralValue) : QString();
}

QString commentOf(const Project& project, int option, int criterion)
{
    const Rating* rating = project.ratingOf(option, criterion);
    return rating ? rating->Comment : QString();
}

QString scoreLabel(const Project& project, int option)
{
    return scoreText(project.options()[static_cast<std::size_t>(option)].score);
}

QString verdictLabel(const Project& project, int option)
{
    return uiText(verdictBand(project.options()[static_cast<std::size_t>(option)].score));
}

bool RecordSteps::done()
{
    ++m_done;
    return !m_progress || m_progress(m_done, m_total);
}

bool RecordSteps::stillWanted() const
{
    return !m_progress || m_progress(m_done, m_total);
}

RecordSteps::RecordSteps(const RecordProgress& progress, const Project& project)
    : m_progress(progress), m_total(5 + project.optionCount())
{
}

} // namespace ponderix
