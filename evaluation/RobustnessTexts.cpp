#include "evaluation/RobustnessTexts.h"

#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"

#include <QStringList>

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

QString optionsText(const Project& project, const std::vector<int>& options)
{
    BestOptions listed;
    listed.indexes = options;
    return bestOptionsText(project, listed);
}

QString stepsText(int steps)
{
    return QString::number(steps) + u" "_s + uiText(steps == 1 ? TextKey::TXT00419 : TextKey::TXT00420);
}

QString offsetText(int offset)
{
    return (offset > 0 ? u"+"_s : QString()) + QString::number(offset);
}

QString changeText(const Project& project, const SingleChange& change, bool withOutcome)
{
    const QString criterion = u"\""_s + project.criteria()[static_cast<std::size_t>(change.criterion)].Name + u"\""_s;
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
        text += u", "_s + uiText(TextKey::TXT00421) + u" "_s + optionsText(project, change.best);
    return text;
}

} // namespace ponderix
