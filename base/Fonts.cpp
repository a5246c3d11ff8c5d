#include "base/Fonts.h"

namespace ponderix {

using namespace Qt::StringLiterals;

QFont classicFont(const QString& face, int points, bool bold)
{
    // "Arial" resolves to the metric-compatible Liberation Sans through
    // fontconfig. "Microsoft Sans Serif" has no such twin on Linux and would
    // fall back to a wider face; Liberation Sans keeps its narrow proportions.
    const QString family = face == u"Microsoft Sans Serif" ? u"Liberation Sans"_s : face;
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    // Points at 96 dpi, rounded half up like the classic MulDiv(points, 96, 72).
    font.setPixelSize((points * 96 + 36) / 72);
    font.setBold(bold);
    return font;
}

QFont programFont(FontRole role)
{
    const QString arial = u"Arial"_s;
    const QString sansSerif = u"Microsoft Sans Serif"_s;
    switch (role) {
    case FontRole::Banner:
        return classicFont(arial, 12, true);
    case FontRole::CellTitle:
        return classicFont(sansSerif, 8, true);
    case FontRole::Legend:
        return classicFont(sansSerif, 7, false);
    case FontRole::PageHeader:
        return classicFont(arial, 12, true);
    case FontRole::PageLabel:
        return classicFont(arial, 10, true);
    case FontRole::PageValue:
        return classicFont(arial, 10, false);
    case FontRole::PageScale:
        return classicFont(arial, 8, false);
    case FontRole::PageScaleBold:
        return classicFont(arial, 8, true);
    case FontRole::ProfileLegendBold:
        return classicFont(arial, 9, true);
    case FontRole::ProfileLegend:
        return classicFont(arial, 9, false);
    }
    return classicFont(arial, 10, false);
}

} // namespace ponderix
