#pragma once

#include "base/Message.h"
#include "evaluation/chart/RMChart.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>
#include <span>

namespace ponderix {

// The chart component's entry points, bound by name from the loaded library.
struct ChartEntryPoints {
    decltype(&::RMC_CREATECHART) createChart = nullptr;
    decltype(&::RMC_ADDREGION) addRegion = nullptr;
    decltype(&::RMC_ADDCAPTION) addCaption = nullptr;
    decltype(&::RMC_ADDGRID) addGrid = nullptr;
    decltype(&::RMC_ADDDATAAXIS) addDataAxis = nullptr;
    decltype(&::RMC_ADDLABELAXIS) addLabelAxis = nullptr;
    decltype(&::RMC_ADDXAXIS) addXAxis = nullptr;
    decltype(&::RMC_ADDYAXIS) addYAxis = nullptr;
    decltype(&::RMC_ADDBARSERIES) addBarSeries = nullptr;
    decltype(&::RMC_ADDXYSERIES) addXYSeries = nullptr;
    decltype(&::RMC_COLINE) coLine = nullptr;
    decltype(&::RMC_COTEXT) coText = nullptr;
    decltype(&::RMC_DRAW2FILE) draw2File = nullptr;
    decltype(&::RMC_DRAW2PAINTER) draw2Painter = nullptr;
    decltype(&::RMC_GETTEXTS) getTexts = nullptr;
    decltype(&::RMC_DELETECHART) deleteChart = nullptr;
    decltype(&::RMC_GETVERSION) getVersion = nullptr;
};

// RMChartDLL: the chart component as the program uses it. The library image
// the program carries (RMChartDLL_Res) is written into a private temporary
// folder as "RMChart.dll" and loaded from there; the object keeps it loaded
// and releases it, and removes the file, when it is destroyed.
class ChartLibrary final {
public:
    struct LoadResult {
        // Null when pages must be drawn without charts.
        std::unique_ptr<ChartLibrary> library;
        // Why the library could not be written or loaded, in the system's
        // words; empty on success and when an entry point was missing, which
        // is not reported (the pages just go without charts).
        QString error;
    };

    // `temporaryFolder` must be a folder only this user can write.
    static LoadResult load(const QString& temporaryFolder);
    // The same with another library image; a damaged one fails like a
    // missing one.
    static LoadResult load(const QString& temporaryFolder, std::span<const unsigned char> libraryImage);

    ~ChartLibrary();
    ChartLibrary(const ChartLibrary&) = delete;
    ChartLibrary& operator=(const ChartLibrary&) = delete;

    const ChartEntryPoints& entryPoints() const { return m_entryPoints; }
    // RMC_GETVERSION with two decimals: "4.12".
    QString versionText() const;

private:
    ChartLibrary(void* handle, QString path, const ChartEntryPoints& entryPoints);

    void* m_handle;
    QString m_path;
    ChartEntryPoints m_entryPoints;
};

using RMChartDLL = ChartLibrary;

inline constexpr QStringView kChartLibraryFileName = u"RMChart.dll";
inline constexpr QStringView kExpectedChartVersion = u"4.12";

// The warning start-up shows when the library cannot be loaded (warning icon,
// empty title): the system's text on one line, then the library's name.
Message chartLoadWarning(const QString& systemText);

// The warning for a library of another version (warning icon, empty title);
// none when it is the expected one.
std::optional<Message> chartVersionWarning(const QString& versionText);

} // namespace ponderix
