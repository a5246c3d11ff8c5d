#include "project/OptionLetter.h"

namespace ponderix {

QString optionLetter(int index)
{
    char32_t codePoint = U'A' + static_cast<char32_t>(index);
    // Only a file with a million options gets this far; keep the text valid.
    if (index < 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = 0xFFFD;
    return QString::fromUcs4(&codePoint, 1);
}

} // namespace ponderix
