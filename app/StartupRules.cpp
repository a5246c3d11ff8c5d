#include "app/StartupRules.h"

#include "app/SettingsFile.h"
#include "app/TextTable.h"

#include <QFileInfo>

namespace ponderix {

using namespace Qt::StringLiterals;

QSize defaultWindowSize(int desktopHeight)
{
    return {760, desktopHeight <= 600 ? 540 : 630};
}

QSize resultWindowSize(int desktopHeight)
{
    return defaultWindowSize(desktopHeight);
}

std::optional<QRect> storedWindowGeometry(const Settings& settings)
{
    if (settings.WindowPosLeft > -1 && settings.WindowPosTop > -1 && settings.WindowPosWidth > 0
        && settings.WindowPosHeight > 0)
        return QRect(settings.WindowPosLeft, settings.WindowPosTop, settings.WindowPosWidth, settings.WindowPosHeight);
    return std::nullopt;
}

QString legendText(const TextTable& texts, int criteriaAddWidth)
{
    const QString low = texts.text(u"TXT00196");
    const QString medium = texts.text(u"TXT00197");
    const QString high = texts.text(u"TXT00198");
    const int width = criteriaAddWidth + 120 - 4 * static_cast<int>(low.size() + medium.size() + high.size());
    const int blanks = (width / 4) / 2 + criteriaAddWidth / 10;
    const QString gap = blanks > 0 ? QString(blanks, u' ') : QString();
    return low + gap + medium + gap + high;
}

bool isOpenableAtStartup(const QString& path)
{
    if (!path.startsWith(u'/') || !path.right(4).toLower().endsWith(u".pnx"_s))
        return false;
    const QFileInfo file(path);
    return file.isFile() && file.size() > 0;
}

QString bannerForFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.size() > 4 ? name.left(name.size() - 4) : QString();
}

int criteriaAddWidthForClick(int x)
{
    if (x < 5)
        return 0;
    return std::min(x, kCriteriaAddWidthMax);
}

} // namespace ponderix
