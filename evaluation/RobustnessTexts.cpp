#include "evaluation/RobustnessTexts.h"

#include "app/TextTable.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"

#include <QStringList>

namespace ponderix {

using namespace Qt::StringLiterals;

QStringView verdictWordKey(RobustnessVerdict verdict)
{
    switch (verdict) {
    case RobustnessVerdict::Robust: return u"TXT00406";
    case RobustnessVerdict::Sensitive: return u"TXT00407";
    case RobustnessVerdict::Fragile: return u"TXT00408";
    case RobustnessVerdict::Undecided: break;
    }
    return u"TXT00409";
}

QStringView verdictReasonKey(RobustnessVerdict verdict)
{
    switch (verdict) {
    case RobustnessVerdict::Robust: return u"TXT00410";
    case RobustnessVerdict::Sensitive: return u"TXT00411";
    case RobustnessVerdict::Fragile: return u"TXT00412";
    case RobustnessVerdict::Undecided: break;
    }
    return u"TXT00413";
}

QString optionsText(const Project& project, const std::vector<int>& options, const TextTable& texts)
{
    BestOptions listed;
    listed.indexes = options;
    return bestOptionsText(project, listed, texts);
}

QString stepsText(int steps, const TextTable& texts)
{
    return QString::number(steps) + u" "_s + texts.text(steps == 1 ? u"TXT00419" : u"TXT00420");
}

QString offsetText(int offset)
{
    return (offset > 0 ? u"+"_s : QString()) + QString::number(offset);
}

QString changeText(const Project& project, const SingleChange& change, const TextTable& texts, bool withOutcome)
{
    const QString criterion = u"\""_s + project.criteria()[static_cast<std::size_t>(change.criterion)].Name + u"\""_s;
    QString text;
    if (change.kind == SingleChange::Kind::Importance) {
        text = texts.text(u"TXT00414") + u" "_s + criterion + u" "_s + texts.text(u"TXT00417") + u" "_s
            + QString::number(change.from) + u" "_s + texts.text(u"TXT00418") + u" "_s + QString::number(change.to);
    } else {
        text = texts.text(u"TXT00415") + u" "_s + optionsText(project, {change.option}, texts) + u" "_s
            + texts.text(u"TXT00416") + u" "_s + criterion + u" "_s + texts.text(u"TXT00417") + u" "_s
            + offsetText(change.from) + u" "_s + texts.text(u"TXT00418") + u" "_s + offsetText(change.to);
    }
    if (withOutcome)
        text += u", "_s + texts.text(u"TXT00421") + u" "_s + optionsText(project, change.best, texts);
    return text;
}

} // namespace ponderix
