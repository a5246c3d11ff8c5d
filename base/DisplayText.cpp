#include "base/DisplayText.h"

#include <algorithm>

namespace ponderix {

bool isCutForDisplay(const QString& text, qsizetype limit)
{
    return text.size() > limit;
}

QString displayText(const QString& text, qsizetype limit)
{
    if (!isCutForDisplay(text, limit))
        return text;
    qsizetype kept = std::max<qsizetype>(limit, 0);
    // A high surrogate at the end would stand alone and show as a box.
    if (kept > 0 && text.at(kept - 1).isHighSurrogate())
        --kept;
    QString shown;
    shown.reserve(kept + 1);
    shown.append(QStringView(text).first(kept));
    shown.append(QChar(0x2026));
    return shown;
}

} // namespace ponderix
