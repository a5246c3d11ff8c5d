#include "document/CellTexts.h"

#include "base/TextTable.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

namespace ponderix {

using namespace Qt::StringLiterals;

QString optionTitle(int optionIndex)
{
    return uiText(TextKey::TXT00202) + u' ' + optionLetter(optionIndex);
}

QString criterionTitle(int criterionIndex)
{
    return uiText(TextKey::TXT00200) + u' ' + QString::number(criterionIndex + 1);
}

QString ratingPosition(int optionIndex, int criterionIndex)
{
    return optionLetter(optionIndex) + u':' + QString::number(criterionIndex + 1);
}

QString ratingTitle(int optionIndex, int criterionIndex)
{
    return uiText(TextKey::TXT00208) + u' ' + ratingPosition(optionIndex, criterionIndex);
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

QString legendText(int criteriaAddWidth)
{
    const QString low = uiText(TextKey::TXT00196);
    const QString medium = uiText(TextKey::TXT00197);
    const QString high = uiText(TextKey::TXT00198);
    const int width = criteriaAddWidth + 120 - 4 * static_cast<int>(low.size() + medium.size() + high.size());
    const int blanks = (width / 4) / 2 + criteriaAddWidth / 10;
    const QString gap = blanks > 0 ? QString(blanks, u' ') : QString();
    return low + gap + medium + gap + high;
}

} // namespace ponderix
