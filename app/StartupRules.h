#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace ponderix {

struct Settings;
class TextTable;

// The main window's size on a first start: shorter on small desktops.
QSize defaultWindowSize(int desktopHeight);
// The results, profile and report windows share this size.
QSize resultWindowSize(int desktopHeight);

// Where the main window opens: the stored geometry when it is usable
// (x and y above -1, width and height above 0), else nothing: centre the
// default size on the screen.
std::optional<QRect> storedWindowGeometry(const Settings& settings);

// The caption under every importance slider: the three legend words spread
// over the column's width.
QString legendText(const TextTable& texts, int criteriaAddWidth);

// Whether a path given at start-up (command line or last project) is opened:
// an absolute path ending in ".pnx" in any letter case, naming a file that is
// not empty. Anything else is passed over without a word.
bool isOpenableAtStartup(const QString& path);

// The project banner for a file: its name without folder and without the last
// four characters ("Cars" for ".../Cars.pnx").
QString bannerForFile(const QString& path);

// The last column-width strip position the layout accepts.
inline constexpr int kCriteriaAddWidthMax = 277;
int criteriaAddWidthForClick(int x);

} // namespace ponderix
