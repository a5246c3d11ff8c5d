// The C entry points: each checks its arguments, records what it is given in
// the chart, and leaves all drawing to RMC_DRAW2FILE.

#include "evaluation/chart/RMChart.h"

#include "evaluation/chart/ChartModel.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>

#define RMC_EXPORT __attribute__((visibility("default")))

using namespace Qt::StringLiterals;

namespace rmchart {
namespace {

constexpr int kMaximumSide = 10000;
constexpr int kMaximumSeriesLength = 1000000;
constexpr int kMaximumTicks = 1000;
constexpr int kXAxisCode = 12;
constexpr int kYAxisCode = 9;

// Charts live between their creation and deletion calls, looked up by the
// caller's id; a C interface has nowhere else to keep them.
std::map<int, std::unique_ptr<Chart>>& charts()
{
    static std::map<int, std::unique_ptr<Chart>> table;
    return table;
}

// A picture larger than the chart in its own proportions, to a pixel each
// way, is the chart drawn again at that ratio: text and lines as sharp as at
// the chart's own size, which is what a dense screen or a printer needs.
// Any other size can only stretch the drawing.
std::optional<qreal> drawingRatio(QSize chart, QSize wanted)
{
    const qreal ratio = static_cast<qreal>(wanted.width()) / chart.width();
    if (ratio < 1.0 || std::abs(wanted.height() - chart.height() * ratio) > 1.0)
        return std::nullopt;
    return ratio;
}

Chart* chartOf(int id)
{
    const auto found = charts().find(id);
    return found == charts().end() ? nullptr : found->second.get();
}

Region* regionOf(int id, int region)
{
    Chart* chart = chartOf(id);
    if (!chart || region < 1 || region > static_cast<int>(chart->regions.size()))
        return nullptr;
    return &chart->regions[static_cast<std::size_t>(region - 1)];
}

QString textOf(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

// Splits "-5*****0*****+5" into eleven items, keeping the empty ones.
QStringList labelList(const char* text)
{
    const QString joined = textOf(text);
    return joined.isEmpty() ? QStringList() : joined.split(u'*');
}

// A caption ending in the two characters "\b" is meant bold.
void takeCaption(const char* text, QString& caption, bool& bold)
{
    caption = textOf(text);
    bold = caption.endsWith(u"\\b"_s);
    if (bold)
        caption.chop(2);
}

int pointSizeOr(int size, int fallback)
{
    return size > 0 ? std::min(size, 200) : fallback;
}

bool rangeIsUsable(double minimum, double maximum, int tickCount)
{
    return std::isfinite(minimum) && std::isfinite(maximum) && minimum < maximum && tickCount >= 2
           && tickCount <= kMaximumTicks;
}

// The arguments the three numeric axes share.
struct AxisArguments {
    double minimum;
    double maximum;
    int tickCount;
    int fontSize;
    int textColour;
    int lineColour;
    int lineStyle;
    int decimals;
    const char* unit;
    const char* caption;
    const char* labels;
};

// The value axis, the X axis and the Y axis differ only in their place in the region.
int setAxis(int id, int region, std::optional<Axis> Region::*slot, const AxisArguments& arguments)
{
    Region* target = regionOf(id, region);
    if (!target)
        return RMC_ERROR_NO_CHART;
    if (!rangeIsUsable(arguments.minimum, arguments.maximum, arguments.tickCount))
        return RMC_ERROR_ARGUMENT;
    Axis axis;
    axis.minimum = arguments.minimum;
    axis.maximum = arguments.maximum;
    axis.tickCount = arguments.tickCount;
    axis.fontSize = pointSizeOr(arguments.fontSize, 8);
    axis.textColour = {arguments.textColour};
    axis.lineColour = {arguments.lineColour};
    axis.lineStyle = arguments.lineStyle;
    axis.decimals = std::clamp(arguments.decimals, 0, 6);
    axis.unit = textOf(arguments.unit);
    takeCaption(arguments.caption, axis.caption, axis.boldCaption);
    axis.labels = labelList(arguments.labels);
    target->*slot = std::move(axis);
    return 0;
}

bool valuesAreFinite(const double* values, int count)
{
    return std::all_of(values, values + count, [](double value) { return std::isfinite(value); });
}

} // namespace
} // namespace rmchart

using namespace rmchart;

extern "C" {

RMC_EXPORT int RMC_CREATECHART(void*, int id, int, int, int width, int height, int backColour, int style, int,
                               const char* backgroundPicture, const char* fontName, int, int textColour)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return RMC_ERROR_NO_GUI;
    if (chartOf(id))
        return RMC_ERROR_ID_IN_USE;
    if (width < 1 || height < 1 || width > kMaximumSide || height > kMaximumSide)
        return RMC_ERROR_ARGUMENT;
    auto chart = std::make_unique<Chart>();
    chart->size = QSize(width, height);
    chart->backColour = {backColour};
    chart->framed = style != 4;
    chart->fontName = textOf(fontName);
    if (chart->fontName.isEmpty())
        chart->fontName = u"Arial"_s;
    chart->textColour = {textColour};
    const QString picture = textOf(backgroundPicture);
    if (!picture.isEmpty()) {
        QImageReader reader(picture);
        // A damaged picture must not make the reader allocate gigabytes.
        if (!reader.canRead() || reader.size().width() > kMaximumSide || reader.size().height() > kMaximumSide)
            return RMC_ERROR_FILE;
        chart->backgroundPicture = reader.read().convertToFormat(QImage::Format_RGB32);
        if (chart->backgroundPicture.isNull())
            return RMC_ERROR_FILE;
    }
    charts()[id] = std::move(chart);
    return 0;
}

RMC_EXPORT int RMC_ADDREGION(int id, int left, int top, int width, int height, const char* footer, int border)
{
    Chart* chart = chartOf(id);
    if (!chart)
        return RMC_ERROR_NO_CHART;
    if (left < 0 || top < 0 || left >= chart->size.width() || top >= chart->size.height())
        return RMC_ERROR_ARGUMENT;
    Region region;
    const int right = width > 0 ? std::min(left + width, chart->size.width()) : chart->size.width();
    const int bottom = height > 0 ? std::min(top + height, chart->size.height()) : chart->size.height();
    region.bounds = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    region.footer = textOf(footer);
    region.border = border == 1;
    chart->regions.push_back(std::move(region));
    return 0;
}

RMC_EXPORT int RMC_ADDCAPTION(int id, int region, const char* text, int backColour, int textColour, int fontSize,
                              int bold)
{
    Region* target = regionOf(id, region);
    if (!target)
        return RMC_ERROR_NO_CHART;
    target->caption = Caption{textOf(text), {backColour}, {textColour}, pointSizeOr(fontSize, 10), bold != 0};
    return 0;
}

RMC_EXPORT int RMC_ADDGRID(int id, int region, int backColour, int gradient, int left, int top, int width, int height,
                           int gridLines)
{
    Region* target = regionOf(id, region);
    if (!target)
        return RMC_ERROR_NO_CHART;
    Grid grid;
    grid.backColour = {backColour};
    grid.gradient = gradient == 1;
    if (width > 0 && height > 0)
        grid.placement = QRect(left, top, width, height);
    grid.lines = gridLines == 1;
    target->grid = grid;
    return 0;
}

RMC_EXPORT int RMC_ADDDATAAXIS(int id, int region, int, double minimum, double maximum, int tickCount, int fontSize,
                               int textColour, int lineColour, int lineStyle, int decimals, const char* unit,
                               const char* caption, const char* labels, int)
{
    return setAxis(id, region, &Region::valueAxis,
                   {minimum, maximum, tickCount, fontSize, textColour, lineColour, lineStyle, decimals, unit, caption,
                    labels});
}

RMC_EXPORT int RMC_ADDLABELAXIS(int id, int region, const char* labels, int labelStep, int tickCount, int, int fontSize,
                                int textColour, int, int lineColour, int lineStyle, const char* caption)
{
    Region* target = regionOf(id, region);
    if (!target)
        return RMC_ERROR_NO_CHART;
    if (tickCount < 1 || tickCount > kMaximumSeriesLength)
        return RMC_ERROR_ARGUMENT;
    CategoryAxis axis;
    axis.labels = labelList(labels);
    axis.labelStep = std::max(labelStep, 1);
    axis.tickCount = tickCount;
    axis.fontSize = pointSizeOr(fontSize, 8);
    axis.textColour = {textColour};
    axis.lineColour = {lineColour};
    axis.lineStyle = lineStyle;
    takeCaption(caption, axis.caption, axis.boldCaption);
    target->categoryAxis = std::move(axis);
    return 0;
}

RMC_EXPORT int RMC_ADDXAXIS(int id, int region, int, double minimum, double maximum, int tickCount, int fontSize,
                            int textColour, int lineColour, int lineStyle, int decimals, const char* unit,
                            const char* caption, const char* labels, int)
{
    return setAxis(id, region, &Region::xAxis,
                   {minimum, maximum, tickCount, fontSize, textColour, lineColour, lineStyle, decimals, unit, caption,
                    labels});
}

RMC_EXPORT int RMC_ADDYAXIS(int id, int region, int, double minimum, double maximum, int tickCount, int fontSize,
                            int textColour, int lineColour, int lineStyle, int decimals, const char* unit,
                            const char* caption, const char* labels)
{
    return setAxis(id, region, &Region::yAxis,
                   {minimum, maximum, tickCount, fontSize, textColour, lineColour, lineStyle, decimals, unit, caption,
                    labels});
}

RMC_EXPORT int RMC_ADDBARSERIES(int id, int region, const double* values, int count, int, int look, int valueLabels,
                                int colour, int, int shadow, int fromZero, int width, int transparency)
{
    Region* target = regionOf(id, region);
    if (!target)
        return RMC_ERROR_NO_CHART;
    if (count < 0 || count > kMaximumSeriesLength || (count > 0 && !values) || !valuesAreFinite(values, count))
        return RMC_ERROR_ARGUMENT;
    BarSeries series;
    series.values.assign(values, values + count);
    series.look = std::clamp(look, 0, 2);
    series.valueLabels = valueLabels == 1;
    series.colour = {colour};
    series.shadow = shadow == 1;
    series.fromZero = fromZero == 1;
    series.widthCode = std::clamp(width, 0, 2);
    series.transparency = std::clamp(transparency, 0, 100);
    target->bars.push_back(std::move(series));
    return 0;
}

RMC_EXPORT int RMC_ADDXYSERIES(int id, int region, const double* xValues, int xCount, const double* yValues, int yCount,
                               int lineStyle, int symbol, int colour, int symbolSize, int xAxis, int yAxis,
                               int valueLabels)
{
    Region* target = regionOf(id, region);
    if (!target)
        return RMC_ERROR_NO_CHART;
    if (xCount != yCount || xCount < 0 || xCount > kMaximumSeriesLength || (xCount > 0 && (!xValues || !yValues))
        || !valuesAreFinite(xValues, xCount) || !valuesAreFinite(yValues, yCount))
        return RMC_ERROR_ARGUMENT;
    // The series is drawn against the axes it names; anything else would put
    // the points on a scale nobody sees.
    if (xAxis != kXAxisCode || yAxis != kYAxisCode)
        return RMC_ERROR_ARGUMENT;
    XYSeries series;
    series.x.assign(xValues, xValues + xCount);
    series.y.assign(yValues, yValues + yCount);
    series.lineStyle = lineStyle;
    series.symbol = symbol;
    series.colour = {colour};
    series.symbolSize = std::clamp(symbolSize, 2, 40);
    series.valueLabels = valueLabels == 1;
    target->points.push_back(std::move(series));
    return 0;
}

RMC_EXPORT int RMC_COLINE(int id, int object, const int* xValues, const int* yValues, int count, int lineStyle,
                          int colour, int transparency, int width, int startArrow, int endArrow)
{
    Chart* chart = chartOf(id);
    if (!chart)
        return RMC_ERROR_NO_CHART;
    if (count < 2 || count > kMaximumSeriesLength || !xValues || !yValues)
        return RMC_ERROR_ARGUMENT;
    LineObject line;
    for (int i = 0; i < count; ++i)
        line.points.emplace_back(xValues[i], yValues[i]);
    line.lineStyle = lineStyle;
    line.colour = {colour};
    line.transparency = std::clamp(transparency, 0, 100);
    line.width = std::clamp(width, 1, 20);
    line.startArrow = startArrow == 1;
    line.endArrow = endArrow == 1;
    chart->objects[object] = CustomObject{std::move(line), std::nullopt};
    return 0;
}

RMC_EXPORT int RMC_COTEXT(int id, int object, const char* text, int x, int y, int width, int height, int textColour,
                          int frameColour, int transparency, int shadow, int boxShape, int fillColour,
                          const char* fontCode)
{
    Chart* chart = chartOf(id);
    if (!chart)
        return RMC_ERROR_NO_CHART;
    if (width < 1 || height < 1 || width > kMaximumSide || height > kMaximumSide)
        return RMC_ERROR_ARGUMENT;
    TextObject label;
    label.text = textOf(text);
    label.box = QRect(x, y, width, height);
    label.textColour = {textColour};
    label.frameColour = {frameColour};
    label.transparency = std::clamp(transparency, 0, 100);
    label.shadow = shadow == 1;
    label.boxShape = std::clamp(boxShape, 0, 2);
    label.fillColour = {fillColour};
    const QString code = textOf(fontCode);
    bool sizeOk = false;
    const int size = code.left(2).toInt(&sizeOk);
    label.pointSize = sizeOk && size > 0 ? size : 9;
    const QString flags = code.mid(2);
    label.bold = flags.contains(u'B');
    label.italic = flags.contains(u'I');
    label.centred = flags.contains(u'C');
    chart->objects[object] = CustomObject{std::nullopt, std::move(label)};
    return 0;
}

RMC_EXPORT int RMC_DRAW2FILE(int id, const char* path, int width, int height, int speed)
{
    Chart* chart = chartOf(id);
    if (!chart)
        return RMC_ERROR_NO_CHART;
    const QString file = textOf(path);
    if (file.isEmpty() || width < 0 || height < 0 || width > kMaximumSide || height > kMaximumSide)
        return RMC_ERROR_ARGUMENT;
    const QSize wanted(width > 0 ? width : chart->size.width(), height > 0 ? height : chart->size.height());
    QImage picture;
    if (const std::optional<qreal> ratio = drawingRatio(chart->size, wanted)) {
        picture = drawChart(*chart, wanted, *ratio);
    } else {
        picture = drawChart(*chart, chart->size, 1.0).scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // 100 asks for the fastest file, 1 for the smallest: zlib levels 1 .. 9.
    const int level = speed <= 0 ? -1 : 9 - (std::min(speed, 100) - 1) * 8 / 99;
    return writePng(picture, file, level) ? 0 : RMC_ERROR_FILE;
}

RMC_EXPORT int RMC_DRAW2PAINTER(int id, void* painter, double pictureRatio)
{
    Chart* chart = chartOf(id);
    if (!chart)
        return RMC_ERROR_NO_CHART;
    auto* target = static_cast<QPainter*>(painter);
    // Also refuses a ratio that is not a number.
    if (!target || !target->isActive() || !(pictureRatio >= 1.0 && pictureRatio <= 10.0))
        return RMC_ERROR_ARGUMENT;
    paintChart(*chart, *target, pictureRatio);
    return 0;
}

RMC_EXPORT int RMC_GETTEXTS(int id, char* buffer, int size)
{
    const Chart* chart = chartOf(id);
    if (!chart)
        return RMC_ERROR_NO_CHART;
    if (size < 0 || (size > 0 && !buffer))
        return RMC_ERROR_ARGUMENT;
    QByteArray list;
    for (const WrittenText& text : chart->written) {
        const QRect& place = text.place;
        const QString oneLine = QString(text.text).replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
        list += u"%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\n"_s.arg(place.left())
                    .arg(place.top())
                    .arg(place.width())
                    .arg(place.height())
                    .arg(text.pixels)
                    .arg(text.askedPixels)
                    .arg(text.clipped ? 1 : 0)
                    .arg(oneLine)
                    .toUtf8();
    }
    if (size > 0) {
        const qsizetype copied = std::min<qsizetype>(list.size(), size - 1);
        std::copy_n(list.constData(), copied, buffer);
        buffer[copied] = '\0';
    }
    return static_cast<int>(std::min<qsizetype>(list.size(), std::numeric_limits<int>::max()));
}

RMC_EXPORT int RMC_DELETECHART(int id)
{
    return charts().erase(id) == 1 ? 0 : RMC_ERROR_NO_CHART;
}

RMC_EXPORT double RMC_GETVERSION(void)
{
    return RMC_VERSION;
}

} // extern "C"
