#include "base/Blanks.h"

namespace ponderix {

QStringView withoutOuterBlanks(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.sliced(first, last - first);
}

QString trimBlanks(const QString& text)
{
    const QStringView kept = withoutOuterBlanks(text);
    return kept.size() == text.size() ? text : kept.toString();
}

} // namespace ponderix
