// The overview page: who wins, by how much, and every option's score as a bar.

#include "base/Fonts.h"
#include "base/TextTable.h"
#include "evaluation/ChartLibrary.h"
#include "evaluation/ChartPicture.h"
#include "evaluation/PageStyle.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Scoring.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <vector>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr int kChartId = 2048;
constexpr int kChartWidth = 680;
constexpr int kChartHeight = 340;
// Room for every option the user can add, plus one.
constexpr std::size_t kValueTableSize = 27;
constexpr int kFewestCategorySlots = 5;
constexpr int kOpaque = static_cast<int>(0xFF000000u);

int colourArgument(QRgb rgb)
{
    return static_cast<int>(0xFF000000u | rgb);
}

struct BandCaption {
    int object;
    TextKey textKey;
    int y;
};

// One caption per verdict band, down the left side of the plot; the value
// axis puts the band borders at -100, -60, -20, 20, 60 and 100.
constexpr std::array<BandCaption, 5> kBandCaptions = {{
    {2, TextKey::TXT00251, 41},
    {3, TextKey::TXT00248, 98},
    {4, TextKey::TXT00253, 155},
    {5, TextKey::TXT00249, 212},
    {6, TextKey::TXT00255, 271},
}};

// The bar chart, by way of "TempOverview.png"; null when none came of it.
QImage overviewChart(const Project& project, const ChartEntryPoints& rmc, const QString& chartFile, qreal scale)
{
    if (rmc.createChart(nullptr, kChartId, 0, 0, kChartWidth, kChartHeight, -1, 0, 1, "", "Arial", 0, 0) != 0)
        return {};
    rmc.addRegion(kChartId, 0, 0, 0, 0, "", 0);
    rmc.addGrid(kChartId, 1, colourArgument(0xF0F8FF), 1, 0, 0, 0, 0, 1);
    rmc.addDataAxis(kChartId, 1, 1, -100.0, 100.0, 6, 8, 0, colourArgument(0x808080), 6, 0, "", "", "", 0);

    QStringList letters;
    for (const Option& option : project.options())
        letters << optionLetter(option.Index);
    const int tickCount = std::max(project.optionCount(), kFewestCategorySlots);
    const QString caption = QString(5, QChar(0x00A0)) + uiText(TextKey::TXT00250) + u"\\b"_s;
    rmc.addLabelAxis(kChartId, 1, letters.join(u'*').toUtf8().constData(), 1, tickCount, 7, 8, 0, 0,
                     colourArgument(0x808080), 2, caption.toUtf8().constData());

    std::vector<double> values(std::max(kValueTableSize, project.options().size()), 0.0);
    for (const Option& option : project.options())
        values[static_cast<std::size_t>(option.Index)] = option.score;
    rmc.addBarSeries(kChartId, 1, values.data(), project.optionCount(), 1, 2, 1, -2, 0, 1, 1, 1, 0);

    const std::array<int, 2> zeroLineX = {28, 675};
    const std::array<int, 2> zeroLineY = {186, 186};
    rmc.coLine(kChartId, 1, zeroLineX.data(), zeroLineY.data(), 2, 21, kOpaque, 0, 2, 0, 0);
    for (const BandCaption& band : kBandCaptions) {
        rmc.coText(kChartId, band.object, uiText(band.textKey).toUtf8().constData(), 30, band.y, 15, 60, 0, 0, 0, 0, 1,
                   colourArgument(0xF0F0F0), "09BC");
    }
    return drawChartPicture(rmc, kChartId, QSize(kChartWidth, kChartHeight), scale, chartFile, kChartPosition);
}

} // namespace

QImage buildOverviewPage(const Project& project, const QString& banner, const ChartLibrary* charts,
                         const QString& temporaryFolder, qreal scale)
{
    return pagePicture(kOverviewPageHeight, scale, [&](QPainter& painter) {
        paintOverviewPage(painter, project, banner, charts, temporaryFolder);
    });
}

void paintOverviewPage(QPainter& painter, const Project& project, const QString& banner, const ChartLibrary* charts,
                       const QString& temporaryFolder)
{
    const BestOptions best = bestOptions(project);
    const QImage chart = charts && !temporaryFolder.isEmpty()
                             ? overviewChart(project, charts->entryPoints(), temporaryFolder + u"/TempOverview.png"_s,
                                             pictureScale(painter))
                             : QImage();

    drawTitleBar(painter, uiText(TextKey::TXT00256), banner);
    // Without options there is no best option and no top score: the rows
    // stay empty and the scale carries no marker.
    if (best.maximum) {
        const QString bestText = bestOptionsText(project, best);
        const QFont label = programFont(FontRole::PageLabel);
        const QFont value = programFont(FontRole::PageValue);
        drawTextAt(painter, kLabelX, kRow1Y, uiText(TextKey::TXT00257), label, Qt::black);
        drawTextAt(painter, kValueX, kRow1Y, bestText, value, Qt::black);
        drawTextAt(painter, kLabelX, kRow2Y, uiText(TextKey::TXT00258), label, Qt::black);
        drawTextAt(painter, kValueX, kRow2Y, scoreText(*best.maximum), value, Qt::black);
        drawTextAt(painter, kLabelX, kRow3Y, uiText(TextKey::TXT00259), label, kHeaderColour);
        drawTextAt(painter, kValueX, kRow3Y, uiText(verdictBand(*best.maximum)) + u", "_s + bestText, value,
                   kHeaderColour);
    }
    drawScale(painter);
    if (best.maximum)
        drawMarker(painter, *best.maximum);
    if (!chart.isNull())
        drawPicture(painter, kChartPosition, chart);
}

} // namespace ponderix
