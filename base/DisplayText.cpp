#include "base/DisplayText.h"

#include <algorithm>

namespace ponderix {

namespace {

constexpr QChar kEllipsis(0x2026);

} // namespace

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
    shown.append(kEllipsis);
    return shown;
}

QString withShownEdit(const QString& whole, const QString& shownBefore, const QString& shownAfter)
{
    if (shownBefore == whole || !shownBefore.endsWith(kEllipsis))
        return shownAfter;
    const qsizetype shortest = std::min(shownBefore.size(), shownAfter.size());
    qsizetype prefix = 0;
    while (prefix < shortest && shownBefore[prefix] == shownAfter[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shortest - prefix
           && shownBefore[shownBefore.size() - 1 - suffix] == shownAfter[shownAfter.size() - 1 - suffix])
        ++suffix;
    const qsizetype editEnd = shownBefore.size() - suffix;
    const QStringView inserted = QStringView(shownAfter).sliced(prefix, shownAfter.size() - suffix - prefix);
    // The shown characters before the "…" are the whole text's first ones.
    if (editEnd <= shownBefore.size() - 1)
        return whole.left(prefix) + inserted + QStringView(whole).sliced(editEnd);
    if (prefix == shownBefore.size())
        return whole + inserted;
    return shownAfter;
}

bool showsText(const QString& shown, const QString& whole)
{
    return shown == whole
           || (shown.endsWith(kEllipsis) && whole.size() >= shown.size()
               && QStringView(whole).startsWith(QStringView(shown).chopped(1)));
}

} // namespace ponderix
