// The detail page: one option's score, and where each criterion puts it on
// the plane of rating against importance.

#include "base/Blanks.h"
#include "base/BuiltInImages.h"
#include "base/Fonts.h"
#include "base/ImageWriters.h"
#include "base/Language.h"
#include "base/TextTable.h"
#include "evaluation/ChartLibrary.h"
#include "evaluation/ChartPicture.h"
#include "evaluation/PageStyle.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Scoring.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

#include <QFile>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <array>
#include <vector>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr int kChartId = 2048;
constexpr int kChartSide = 340;
constexpr int kShortestPage = 540;
constexpr int kTallestPage = 1000;
constexpr int kRatingSteps = kValueMax - kValueMin + 1; // 11
constexpr int kImportanceSlots = kImportanceMax + 1;    // 6, index 0 unused
// Number labels: 27 pixels per rating step, 67 per importance step; labels
// of the bottom row stack upwards, the others downwards.
constexpr int kLabelXPerStep = 27;
constexpr int kLabelX0 = 65;
constexpr int kLabelYPerStep = 67;
constexpr int kLabelY0 = 230;
constexpr int kBottomRowLabelY = 470;
constexpr int kLabelStack = 12;
constexpr int kLegendX = 370;
constexpr int kLegendY0 = 222;
constexpr int kLegendPitch = 12;

QString nbsp(int count)
{
    return QString(count, QChar(0x00A0));
}

// The scatter chart told to the component; false when it refused it.
bool describeDetailChart(const Project& project, int optionIndex, const ChartEntryPoints& rmc,
                         const QString& temporaryFolder)
{
    const QByteArray background = QFile::encodeName(temporaryFolder + u"/TempDetailBG.bmp"_s);
    if (rmc.createChart(nullptr, kChartId, 0, 0, kChartSide, kChartSide, -1, 4, 1, background.constData(), "Arial", 0,
                        static_cast<int>(0xFF000000u))
        != 0)
        return false;
    rmc.addRegion(kChartId, 0, 0, 0, 0, "", 0);
    rmc.addCaption(kChartId, 1, (nbsp(10) + uiText(TextKey::TXT00260)).toUtf8().constData(), 0, 0, 10, 1);
    rmc.addGrid(kChartId, 1, -2, 0, 0, 0, 0, 0, 0);
    rmc.addXAxis(kChartId, 1, 12, -5.0, 5.0, 11, 8, 0, 0, 2, 0, "",
                 (nbsp(10) + uiText(TextKey::TXT00261)).toUtf8().constData(), "-5*****0*****+5", 0);
    const QString importanceLabels =
        uiText(TextKey::TXT00885) + u"**"_s + uiText(TextKey::TXT00886) + u"**"_s + uiText(TextKey::TXT00887);
    rmc.addYAxis(kChartId, 1, 9, 1.0, 5.0, 5, 8, 0, 0, 2, 0, "", uiText(TextKey::TXT00262).toUtf8().constData(),
                 importanceLabels.toUtf8().constData());

    const std::size_t count = project.criteria().size();
    std::vector<double> offsets(count, 0.0);
    std::vector<double> importances(count, 0.0);
    for (const Rating& rating : project.ratings()) {
        if (rating.IndexOption == optionIndex && rating.IndexCriteria >= 0
            && static_cast<std::size_t>(rating.IndexCriteria) < count)
            offsets[static_cast<std::size_t>(rating.IndexCriteria)] = rating.Value - kNeutralValue;
    }
    for (const Criterion& criterion : project.criteria())
        importances[static_cast<std::size_t>(criterion.Index)] = criterion.Importance;
    const int n = static_cast<int>(count);
    rmc.addXYSeries(kChartId, 1, offsets.data(), n, importances.data(), n, 0, 71, 0, 6, 12, 9, 0);
    return true;
}

// A printer or a PDF takes the chart as lines and text straight from the
// component: a picture of it at printer resolution would cost a megabyte and
// a tenth of a second a page, which a record of a thousand options cannot
// afford. On a picture it is drawn at the picture's own ratio, by way of
// "TempDetail.png". Either way the chart's first row and column (a pixel of
// the page each) stay off the page. False when no chart came of it.
bool drawDetailChart(QPainter& painter, const Project& project, int optionIndex, const ChartEntryPoints& rmc,
                     const QString& temporaryFolder)
{
    if (!describeDetailChart(project, optionIndex, rmc, temporaryFolder))
        return false;
    if (painter.paintEngine() && painter.paintEngine()->type() != QPaintEngine::Raster) {
        painter.save();
        painter.setClipRect(QRect(kChartPosition, QSize(kChartSide - 1, kChartSide - 1)), Qt::IntersectClip);
        painter.translate(kChartPosition - QPoint(1, 1));
        const int drawn = rmc.draw2Painter(kChartId, &painter, pictureScale(painter));
        painter.restore();
        if (drawn == 0)
            noteChartTexts(rmc, kChartId, kChartPosition - QPoint(1, 1));
        rmc.deleteChart(kChartId);
        return drawn == 0;
    }
    const QImage chart = drawChartPicture(rmc, kChartId, QSize(kChartSide, kChartSide), pictureScale(painter),
                                          temporaryFolder + u"/TempDetail.png"_s, kChartPosition - QPoint(1, 1));
    const int edge = std::max(1, qRound(chart.devicePixelRatio()));
    if (chart.width() <= edge || chart.height() <= edge)
        return false;
    drawPicture(painter, kChartPosition, chart, QRect(edge, edge, chart.width() - edge, chart.height() - edge));
    return true;
}

// Every criterion's number at its point; several at one point stack up.
void drawNumberLabels(QPainter& painter, const Project& project, int optionIndex, int pageHeight)
{
    std::array<std::array<int, kImportanceSlots>, kRatingSteps> placed{};
    const QFont font = programFont(FontRole::PageScale);
    for (const Criterion& criterion : project.criteria()) {
        const Rating* rating = project.ratingOf(optionIndex, criterion.Index);
        const int r = std::clamp(rating ? rating->Value : kNeutralValue, kValueMin, kValueMax);
        const int m = std::clamp(criterion.Importance, kImportanceMin, kImportanceMax);
        int& count = placed[static_cast<std::size_t>(r)][static_cast<std::size_t>(m)];
        const int x = kLabelXPerStep * r + kLabelX0;
        const int y = m > 1 ? kLabelYPerStep * (kImportanceMax - m) + kLabelY0 + kLabelStack * count
                            : kBottomRowLabelY - kLabelStack * count;
        ++count;
        // A huge project stacks labels far off the page; drawing them would
        // only cost time.
        if (y > -kLabelStack && y < pageHeight)
            drawTextAt(painter, x, y, QString::number(criterion.Index + 1), font, kHeaderColour);
    }
}

void drawLegend(QPainter& painter, const Project& project, int pageHeight)
{
    const QFont font = programFont(FontRole::PageScale);
    for (const Criterion& criterion : project.criteria()) {
        const int y = kLegendY0 + kLegendPitch * criterion.Index;
        // Lines below the page would be cut away anyway.
        if (y >= pageHeight)
            break;
        drawTextAt(painter, kLegendX, y, QString::number(criterion.Index + 1) + u": "_s + trimBlanks(criterion.Name),
                   font, kHeaderColour);
    }
}

} // namespace

int detailPageHeight(int criterionCount)
{
    const long long wanted = 12LL * criterionCount + 232;
    return static_cast<int>(std::clamp<long long>(wanted, kShortestPage, kTallestPage));
}

WriteResult writeDetailBackground(const QString& temporaryFolder)
{
    return writeNewImageFile(BuiltInImages::instance().detailBackground, temporaryFolder + u"/TempDetailBG.bmp"_s,
                             ImageFormat::Bmp);
}

QImage buildDetailPage(const Project& project, int optionIndex, const QString& banner, const ChartLibrary* charts,
                       const QString& temporaryFolder, qreal scale)
{
    if (optionIndex < 0 || optionIndex >= project.optionCount())
        return {};
    return pagePicture(detailPageHeight(project.criterionCount()), scale, [&](QPainter& painter) {
        paintDetailPage(painter, project, optionIndex, banner, charts, temporaryFolder);
    });
}

void paintDetailPage(QPainter& painter, const Project& project, int optionIndex, const QString& banner,
                     const ChartLibrary* charts, const QString& temporaryFolder)
{
    if (optionIndex < 0 || optionIndex >= project.optionCount())
        return;
    const int height = detailPageHeight(project.criterionCount());
    const Option& option = project.options()[static_cast<std::size_t>(optionIndex)];

    drawTitleBar(painter, uiText(TextKey::TXT00263), banner);
    const QFont label = programFont(FontRole::PageLabel);
    const QFont value = programFont(FontRole::PageValue);
    drawTextAt(painter, kLabelX, kRow1Y, uiText(TextKey::TXT00264), label, Qt::black);
    drawTextAt(painter, kValueX, kRow1Y,
               uiText(TextKey::TXT00202) + u" "_s + optionLetter(optionIndex) + u" "_s + quoted(option.Name), value,
               Qt::black);
    drawTextAt(painter, kLabelX, kRow2Y, uiText(TextKey::TXT00265), label, Qt::black);
    drawTextAt(painter, kValueX, kRow2Y, scoreText(option.score), value, Qt::black);
    drawTextAt(painter, kLabelX, kRow3Y, uiText(TextKey::TXT00266), label, Qt::black);
    drawTextAt(painter, kValueX, kRow3Y, uiText(verdictBand(option.score)), value, Qt::black);
    drawScale(painter);
    drawMarker(painter, option.score);
    // Without the chart the numbers and the legend would explain nothing.
    if (charts && !temporaryFolder.isEmpty()
        && drawDetailChart(painter, project, optionIndex, charts->entryPoints(), temporaryFolder)) {
        drawNumberLabels(painter, project, optionIndex, height);
        drawLegend(painter, project, height);
    }
}

} // namespace ponderix
