#include "editor/CellTexts.h"

#include "app/TextTable.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"

namespace ponderix {

using namespace Qt::StringLiterals;

QString optionTitle(const TextTable& texts, int optionIndex)
{
    return texts.text(u"TXT00202") + u' ' + optionLetter(optionIndex);
}

QString criterionTitle(const TextTable& texts, int criterionIndex)
{
    return texts.text(u"TXT00200") + u' ' + QString::number(criterionIndex + 1);
}

QString ratingPosition(int optionIndex, int criterionIndex)
{
    return optionLetter(optionIndex) + u':' + QString::number(criterionIndex + 1);
}

QString ratingTitle(const TextTable& texts, int optionIndex, int criterionIndex)
{
    return texts.text(u"TXT00208") + u' ' + ratingPosition(optionIndex, criterionIndex);
}

QString signedValueText(int value)
{
    const int shown = value - kNeutralValue;
    return shown > 0 ? u'+' + QString::number(shown) : QString::number(shown);
}

QString scaleCaption()
{
    return u"-5"_s + QString(23, u' ') + u"0"_s + QString(20, u' ') + u"+5"_s;
}

} // namespace ponderix
