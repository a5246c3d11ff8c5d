// Draws a recorded chart. Shapes that carry data (bars, symbols, rounded
// boxes) are anti-aliased; grid lines, axis lines and pixel-row custom lines
// are drawn without smoothing so that they stay one crisp pixel wide.

#include "evaluation/chart/ChartModel.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace rmchart {
namespace {

// Automatic layout, in pixels (RMChart.h lists the same numbers).
constexpr int kOuterMargin = 4;
constexpr int kLeftAxisLabels = 24;
constexpr int kLeftAxisCaption = 26;
constexpr int kRightMargin = 5;
constexpr int kXAxisEndLabel = 11;
constexpr int kTopMargin = 10;
constexpr int kCaptionBand = 23;
constexpr int kCategoryCaptionBand = 18;
constexpr int kValueLabelBand = 14;
constexpr int kBottomMargin = 10;
constexpr int kXAxisLabelBand = 14;
constexpr int kXAxisCaptionBand = 15;
// The first category slot starts this far into the plot, so that notes
// written at the plot's left edge never stand on a bar.
constexpr int kCategoryInset = 20;
constexpr int kTickLength = 3;
constexpr int kLabelGap = 2;
constexpr int kSmallestTextPixels = 6;

const QColor kDefaultText(0x33, 0x33, 0x33);
const QColor kDefaultAxisLine(0x80, 0x80, 0x80);
const QColor kGridLine(0xD3, 0xD8, 0xE2);
const QColor kPlotFrame(0xB8, 0xBF, 0xCC);
const QColor kChartFrame(0xC8, 0xC8, 0xC8);
const QColor kDefaultSymbol(0x1E, 0x2A, 0x78);
const QColor kShadow(0, 0, 0, 48);

constexpr std::array<QRgb, 10> kPalette = {0x0000FF, 0xFF0000, 0x00CD00, 0xFFA500, 0xD84FD9,
                                           0x22D4DB, 0xCAED0F, 0x9D9C5F, 0x426EEE, 0x009696};

int pixelsOfPoints(int points)
{
    return (points * 96 + 36) / 72;
}

// A background on another device (a printer, a PDF) is scaled smoothly to
// that device's resolution once, and the very same picture is handed out for
// every chart after it: a PDF of a thousand charts then holds it once.
const QImage& backgroundAt(const QImage& picture, QSize chartSize, qreal ratio)
{
    static QImage source;
    static QImage scaled;
    const QSize pixels(qCeil(chartSize.width() * ratio), qCeil(chartSize.height() * ratio));
    if (scaled.size() != pixels || source != picture) {
        source = picture;
        scaled = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return scaled;
}

class Painter final {
public:
    Painter(const Chart& chart, QPainter& painter, std::optional<qreal> backgroundRatio)
        : m_chart(chart), m_painter(painter), m_backgroundRatio(backgroundRatio)
    {
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    }

    void drawBackground();
    void drawRegionBody(const Region& region);
    void drawRegionCaptions(const Region& region);
    void drawObject(const CustomObject& object);
    void drawFrame();
    std::vector<WrittenText> takeWritten() { return std::move(m_written); }

private:
    QFont font(int points, bool bold = false, bool italic = false) const;
    QColor textColour(ColourCode code) const { return code.colourOr(m_chart.textColour.colourOr(kDefaultText)); }

    void drawGrid(const Region& region, QRect plot);
    struct LeftAxisRoom {
        int labelGap;    // between the tick marks and the labels' right edge
        int labelsFrom;  // left edge of the label boxes
        int captionLeft; // the upward caption's column
        int captionWidth;
    };
    void drawLeftAxis(const Axis& axis, QRect plot, const LeftAxisRoom& room);
    void drawCategoryAxis(const CategoryAxis& axis, QRect plot, const Region& region);
    void drawBars(const Region& region, QRect plot);
    void drawXAxis(const Axis& axis, QRect plot, const Region& region);
    void drawPoints(const XYSeries& series, const Axis& xAxis, const Axis& yAxis, QRect plot);
    void drawLine(const LineObject& line);
    void drawText(const TextObject& text);
    void drawArrowHead(QPointF tip, QPointF from, qreal width, const QColor& colour);
    void drawUpwardText(const QString& text, QRectF column, const QFont& textFont, const QColor& colour);
    void noteWritten(const QString& text, const QFont& textFont, QRectF room, int flags, int askedPixels = 0);
    void noteWrittenUpward(const QString& text, const QFont& textFont, QRectF turnedRoom, QPointF centre,
                           int askedPixels = 0);

    int slotCount(const Region& region) const;
    const Axis* verticalAxis(const Region& region) const
    {
        return region.valueAxis ? &*region.valueAxis : region.yAxis ? &*region.yAxis : nullptr;
    }

    const Chart& m_chart;
    QPainter& m_painter;
    std::optional<qreal> m_backgroundRatio; // set: the picture goes smoothly scaled to this ratio
    std::vector<WrittenText> m_written;
};

double yOf(const Axis& axis, QRect plot, double value)
{
    const double share = (std::clamp(value, axis.minimum, axis.maximum) - axis.minimum) / (axis.maximum - axis.minimum);
    return plot.bottom() - share * (plot.bottom() - plot.top());
}

double xOf(const Axis& axis, QRect plot, double value)
{
    const double share = (std::clamp(value, axis.minimum, axis.maximum) - axis.minimum) / (axis.maximum - axis.minimum);
    return plot.left() + share * (plot.right() - plot.left());
}

QString valueLabel(const Axis& axis, double value)
{
    return QString::number(value, 'f', axis.decimals) + axis.unit;
}

QColor withTransparency(QColor colour, int transparency)
{
    colour.setAlphaF(colour.alphaF() * (100 - transparency) / 100.0f);
    return colour;
}

QFont Painter::font(int points, bool bold, bool italic) const
{
    QFont result(m_chart.fontName);
    result.setStyleHint(QFont::SansSerif);
    result.setPixelSize(std::max(pixelsOfPoints(points), 1));
    result.setBold(bold);
    result.setItalic(italic);
    return result;
}

void Painter::drawBackground()
{
    const QRect whole(QPoint(0, 0), m_chart.size);
    m_painter.fillRect(whole, m_chart.backColour.isNone() ? QColor(Qt::white) : m_chart.backColour.colourOr(Qt::white));
    if (m_chart.backgroundPicture.isNull())
        return;
    if (m_backgroundRatio)
        m_painter.drawImage(whole, backgroundAt(m_chart.backgroundPicture, m_chart.size, *m_backgroundRatio));
    else
        m_painter.drawImage(whole, m_chart.backgroundPicture);
}

void Painter::drawFrame()
{
    if (!m_chart.framed)
        return;
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(kChartFrame);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRect(QPoint(0, 0), m_chart.size - QSize(1, 1)));
}

void Painter::drawRegionBody(const Region& region)
{
    const QRect plot = plotArea(region);
    if (plot.width() < 2 || plot.height() < 2)
        return;
    if (region.border) {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setPen(kChartFrame);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(region.bounds.adjusted(0, 0, -1, -1));
    }
    if (region.grid)
        drawGrid(region, plot);
    if (region.valueAxis)
        drawLeftAxis(*region.valueAxis, plot,
                     {kLabelGap, region.bounds.left(), region.bounds.left() + kOuterMargin, kLeftAxisCaption});
    if (region.xAxis)
        drawXAxis(*region.xAxis, plot, region);
    if (region.yAxis)
        drawLeftAxis(*region.yAxis, plot,
                     {2 * kLabelGap, region.bounds.left() + kOuterMargin, region.bounds.left() + kOuterMargin,
                      kLeftAxisCaption - kLabelGap});
    if (region.categoryAxis)
        drawCategoryAxis(*region.categoryAxis, plot, region);
    drawBars(region, plot);
    if (region.xAxis && region.yAxis) {
        for (const XYSeries& series : region.points)
            drawPoints(series, *region.xAxis, *region.yAxis, plot);
    }
}

void Painter::drawGrid(const Region& region, QRect plot)
{
    const Grid& grid = *region.grid;
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    if (!grid.backColour.isNone()) {
        const QColor fill = grid.backColour.colourOr(Qt::white);
        if (grid.gradient) {
            QLinearGradient fade(0, plot.top(), 0, plot.bottom());
            fade.setColorAt(0, Qt::white);
            fade.setColorAt(1, fill);
            m_painter.fillRect(plot, fade);
        } else {
            m_painter.fillRect(plot, fill);
        }
    }
    if (!grid.lines)
        return;
    if (const Axis* axis = verticalAxis(region)) {
        for (int tick = 0; tick < axis->tickCount; ++tick) {
            const int y = static_cast<int>(std::lround(yOf(*axis, plot, axis->valueAt(tick))));
            m_painter.fillRect(QRect(plot.left(), y, plot.width(), 1), kGridLine);
        }
    }
    m_painter.setPen(kPlotFrame);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(plot.adjusted(0, 0, -1, -1));
}

// The value axis of a bar chart and the Y axis of a scatter chart: a line
// down the plot's left edge, tick marks, labels right-aligned against them and
// the caption written upwards at the region's edge. They differ only in how
// much room the labels and the caption get.
void Painter::drawLeftAxis(const Axis& axis, QRect plot, const LeftAxisRoom& room)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor line = axis.lineColour.colourOr(kDefaultAxisLine);
    const bool ticks = axis.lineStyle == 6;
    if (axis.lineStyle == 2 || ticks)
        m_painter.fillRect(QRect(plot.left(), plot.top(), 1, plot.height()), line);
    const QFont labelFont = font(axis.fontSize);
    const QFontMetrics metrics(labelFont);
    m_painter.setFont(labelFont);
    m_painter.setPen(textColour(axis.textColour));
    const int labelRight = plot.left() - (ticks ? kTickLength : 0) - room.labelGap;
    for (int tick = 0; tick < axis.tickCount; ++tick) {
        const int y = static_cast<int>(std::lround(yOf(axis, plot, axis.valueAt(tick))));
        if (ticks)
            m_painter.fillRect(QRect(plot.left() - kTickLength, y, kTickLength, 1), line);
        const QString label = axis.labelAt(tick);
        if (label.isEmpty())
            continue;
        const QRect box(room.labelsFrom, y - metrics.height(), labelRight - room.labelsFrom, 2 * metrics.height());
        m_painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, label);
        noteWritten(label, labelFont, box, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (!axis.caption.isEmpty()) {
        const QRectF column(room.captionLeft, plot.top(), room.captionWidth, plot.height());
        drawUpwardText(axis.caption, column, font(axis.fontSize, axis.boldCaption), textColour(axis.textColour));
    }
}

int Painter::slotCount(const Region& region) const
{
    int slotTotal = region.categoryAxis ? region.categoryAxis->tickCount : 1;
    for (const BarSeries& series : region.bars)
        slotTotal = std::max(slotTotal, static_cast<int>(series.values.size()));
    return std::max(slotTotal, 1);
}

// Where the bars stand on: the value 0 when it is on the axis, else the
// bottom of the plot.
double baselineOf(const Region& region, QRect plot)
{
    if (!region.valueAxis)
        return plot.bottom();
    const Axis& axis = *region.valueAxis;
    const bool fromZero = region.bars.empty() || region.bars.front().fromZero;
    return fromZero && axis.minimum <= 0 && axis.maximum >= 0 ? yOf(axis, plot, 0) : plot.bottom();
}

void Painter::drawCategoryAxis(const CategoryAxis& axis, QRect plot, const Region& region)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    if (axis.lineStyle == 2 || axis.lineStyle == 6)
        m_painter.fillRect(QRect(plot.left(), plot.bottom(), plot.width(), 1),
                           axis.lineColour.colourOr(kDefaultAxisLine));
    const QColor colour = textColour(axis.textColour);
    if (!axis.caption.isEmpty()) {
        m_painter.setFont(font(axis.fontSize, axis.boldCaption));
        m_painter.setPen(colour);
        const QRect band(plot.left(), region.bounds.top() + kTopMargin, plot.width(), kCategoryCaptionBand);
        m_painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, axis.caption);
        noteWritten(axis.caption, m_painter.font(), band, Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (axis.labels.isEmpty())
        return;
    const QFont labelFont = font(axis.fontSize);
    const QFontMetrics metrics(labelFont);
    const int slotTotal = slotCount(region);
    const double first = plot.left() + kCategoryInset;
    const double slotWidth = (plot.right() - first) / slotTotal;
    int widest = 0;
    for (qsizetype k = 0; k < std::min<qsizetype>(axis.labels.size(), slotTotal); ++k)
        widest = std::max(widest, metrics.horizontalAdvance(axis.labels[k]));
    // Labels that would touch their neighbours are thinned out evenly.
    int step = axis.labelStep;
    while (step < slotTotal && slotWidth * step < widest + 4)
        ++step;
    const double baseline = baselineOf(region, plot);
    const std::vector<double>* values = region.bars.empty() ? nullptr : &region.bars.front().values;
    m_painter.setFont(labelFont);
    m_painter.setPen(colour);
    for (int k = 0; k < slotTotal && k < axis.labels.size(); k += step) {
        const double centre = first + (k + 0.5) * slotWidth;
        const bool falling =
            values && k < static_cast<int>(values->size()) && (*values)[static_cast<std::size_t>(k)] < 0;
        const int height = metrics.height();
        const int top =
            falling ? static_cast<int>(std::floor(baseline)) - 3 - height : static_cast<int>(std::floor(baseline)) + 4;
        const QRectF box(centre - slotWidth * step / 2, top, slotWidth * step, height);
        m_painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, axis.labels[k]);
        noteWritten(axis.labels[k], labelFont, box, Qt::AlignHCenter | Qt::AlignTop);
    }
}

void Painter::drawBars(const Region& region, QRect plot)
{
    if (region.bars.empty() || !region.valueAxis)
        return;
    const Axis& axis = *region.valueAxis;
    const int slotTotal = slotCount(region);
    const double first = plot.left() + (region.categoryAxis ? kCategoryInset : 0);
    const double slotWidth = (plot.right() - first) / slotTotal;
    const double baseline = baselineOf(region, plot);
    const QFont labelFont = font(axis.fontSize);
    const QFontMetrics metrics(labelFont);
    const QColor labelColour = textColour(axis.textColour);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    for (const BarSeries& series : region.bars) {
        const double share = series.widthCode == 0 ? 0.4 : series.widthCode == 2 ? 0.8 : 0.6;
        const double barWidth = std::max(slotWidth * share, 1.0);
        int widestLabel = 0;
        if (series.valueLabels) {
            for (double value : series.values)
                widestLabel = std::max(widestLabel, metrics.horizontalAdvance(valueLabel(axis, value)));
        }
        const bool roomForLabels = series.valueLabels && slotWidth >= widestLabel + 2;
        for (std::size_t k = 0; k < series.values.size(); ++k) {
            const double value = series.values[k];
            QColor colour =
                series.colour.isNone() ? paletteColour(static_cast<int>(k)) : series.colour.colourOr(paletteColour(0));
            colour = withTransparency(colour, series.transparency);
            const double centre = first + (static_cast<double>(k) + 0.5) * slotWidth;
            const double end = yOf(axis, plot, value);
            const double from = series.fromZero ? baseline : plot.bottom();
            const QRectF bar(centre - barWidth / 2, std::min(from, end), barWidth, std::abs(end - from));
            if (bar.height() > 0) {
                if (series.shadow)
                    m_painter.fillRect(bar.translated(2, 2), kShadow);
                if (series.look == 2) {
                    QLinearGradient shade(bar.topLeft(), bar.topRight());
                    shade.setColorAt(0, colour.lighter(135));
                    shade.setColorAt(0.4, colour.lighter(110));
                    shade.setColorAt(1, colour.darker(125));
                    m_painter.fillRect(bar, shade);
                } else {
                    m_painter.fillRect(bar, colour);
                }
                if (series.look >= 1 && barWidth >= 4) {
                    m_painter.setPen(QPen(colour.darker(140), 1));
                    m_painter.setBrush(Qt::NoBrush);
                    m_painter.drawRect(bar.adjusted(0.5, 0.5, -0.5, -0.5));
                }
            }
            if (!roomForLabels)
                continue;
            const QString label = valueLabel(axis, value);
            const int height = metrics.height();
            QRectF box(centre - slotWidth / 2, 0, slotWidth, height);
            QColor penColour = labelColour;
            if (value >= 0) {
                box.moveBottom(end - 2);
            } else if (end + 2 + height <= region.bounds.bottom()) {
                box.moveTop(end + 2);
            } else {
                // No room under the plot: the label goes inside the bar's end.
                box.moveBottom(end - 2);
                penColour = Qt::white;
            }
            m_painter.setFont(labelFont);
            m_painter.setPen(penColour);
            m_painter.drawText(box, Qt::AlignCenter, label);
        }
    }
}

void Painter::drawXAxis(const Axis& axis, QRect plot, const Region& region)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor line = axis.lineColour.colourOr(kDefaultAxisLine);
    const bool ticks = axis.lineStyle == 6;
    if (axis.lineStyle == 2 || ticks)
        m_painter.fillRect(QRect(plot.left(), plot.bottom(), plot.width(), 1), line);
    const QFont labelFont = font(axis.fontSize);
    const QFontMetrics metrics(labelFont);
    m_painter.setFont(labelFont);
    m_painter.setPen(textColour(axis.textColour));
    const int top = plot.bottom() + 1 + (ticks ? kTickLength : 0) + kLabelGap;
    for (int tick = 0; tick < axis.tickCount; ++tick) {
        const int x = static_cast<int>(std::lround(xOf(axis, plot, axis.valueAt(tick))));
        if (ticks)
            m_painter.fillRect(QRect(x, plot.bottom() + 1, 1, kTickLength), line);
        const QString label = axis.labelAt(tick);
        if (label.isEmpty())
            continue;
        const QRect box(x - 50, top, 100, metrics.height());
        m_painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, label);
        noteWritten(label, labelFont, box, Qt::AlignHCenter | Qt::AlignTop);
    }
    if (!axis.caption.isEmpty()) {
        // Centred on the region: a caller that wants it centred on the plot
        // shifts it with leading no-break spaces.
        m_painter.setFont(font(axis.fontSize, axis.boldCaption));
        const QRect band(region.bounds.left(), plot.bottom() + 1 + kXAxisLabelBand, region.bounds.width(),
                         kXAxisCaptionBand);
        m_painter.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter, axis.caption);
        noteWritten(axis.caption, m_painter.font(), band, Qt::AlignHCenter | Qt::AlignVCenter);
    }
}

void Painter::drawPoints(const XYSeries& series, const Axis& xAxis, const Axis& yAxis, QRect plot)
{
    const QColor colour = series.colour.colourOr(kDefaultSymbol);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    std::vector<QPointF> points;
    points.reserve(series.x.size());
    for (std::size_t k = 0; k < series.x.size(); ++k)
        points.emplace_back(xOf(xAxis, plot, series.x[k]), yOf(yAxis, plot, series.y[k]));
    if (series.lineStyle == 1 && points.size() > 1) {
        m_painter.setPen(QPen(colour, 1.2));
        m_painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
    const int shape = series.symbol / 10;
    const bool rim = series.symbol % 10 == 1;
    if (shape < 7 || shape > 9)
        return;
    const qreal radius = series.symbolSize / 2.0;
    const auto symbolPath = [shape](QPointF centre, qreal r) {
        QPainterPath path;
        if (shape == 7) {
            path.addEllipse(centre, r, r);
        } else if (shape == 8) {
            path.addRect(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
        } else {
            path.moveTo(centre.x(), centre.y() - r * 1.3);
            path.lineTo(centre.x() + r * 1.3, centre.y());
            path.lineTo(centre.x(), centre.y() + r * 1.3);
            path.lineTo(centre.x() - r * 1.3, centre.y());
            path.closeSubpath();
        }
        return path;
    };
    m_painter.setPen(Qt::NoPen);
    for (const QPointF& point : points) {
        if (rim) {
            m_painter.setBrush(Qt::white);
            m_painter.drawPath(symbolPath(point, radius + 1.2));
        }
        m_painter.setBrush(colour);
        m_painter.drawPath(symbolPath(point, radius));
    }
    if (!series.valueLabels)
        return;
    m_painter.setFont(font(yAxis.fontSize));
    m_painter.setPen(textColour(yAxis.textColour));
    for (std::size_t k = 0; k < points.size(); ++k) {
        const QString label = QString::number(series.y[k], 'f', yAxis.decimals) + yAxis.unit;
        m_painter.drawText(points[k] + QPointF(radius + 2, -radius - 2), label);
    }
}

void Painter::drawUpwardText(const QString& text, QRectF column, const QFont& textFont, const QColor& colour)
{
    m_painter.save();
    m_painter.translate(column.center());
    m_painter.rotate(-90);
    m_painter.setFont(textFont);
    m_painter.setPen(colour);
    const QRectF turned(-column.height() / 2, -column.width() / 2, column.height(), column.width());
    m_painter.drawText(turned, Qt::AlignCenter, text);
    m_painter.restore();
    noteWrittenUpward(text, textFont, turned, column.center());
}

// As QPainter::drawText places the text in `room`; what does not fit there
// is clipped by it.
void Painter::noteWritten(const QString& text, const QFont& textFont, QRectF room, int flags, int askedPixels)
{
    const QFontMetricsF metrics(textFont);
    const QRectF needed = metrics.boundingRect(room, flags, text);
    const bool clipped = !room.adjusted(-0.5, -0.5, 0.5, 0.5).contains(needed);
    // The ink, not the letter boxes: neighbouring labels may share their
    // side bearings and line spacing without touching.
    const QRectF ink = metrics.tightBoundingRect(text).translated(needed.left(), needed.top() + metrics.ascent());
    m_written.push_back(
        {text, ink.toRect(), textFont.pixelSize(), std::max(askedPixels, textFont.pixelSize()), clipped});
}

// The same for a text turned a quarter left about `centre`, its room given
// in the turned frame, where (x, y) stands at (centre.x + y, centre.y - x).
void Painter::noteWrittenUpward(const QString& text, const QFont& textFont, QRectF turnedRoom, QPointF centre,
                                int askedPixels)
{
    noteWritten(text, textFont, turnedRoom, Qt::AlignCenter, askedPixels);
    WrittenText& written = m_written.back();
    const QRect turned = written.place;
    written.place = QRect(qFloor(centre.x()) + turned.top(), qFloor(centre.y()) - turned.right() - 1, turned.height(),
                          turned.width());
}

void Painter::drawArrowHead(QPointF tip, QPointF from, qreal width, const QColor& colour)
{
    const QPointF direction = tip - from;
    const qreal length = std::hypot(direction.x(), direction.y());
    if (length <= 0)
        return;
    const QPointF unit = direction / length;
    const QPointF normal(-unit.y(), unit.x());
    const qreal size = 4 + 2 * width;
    const QPointF base = tip - unit * size;
    const std::array<QPointF, 3> head = {tip, base + normal * size / 2, base - normal * size / 2};
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(colour);
    m_painter.drawPolygon(head.data(), 3);
}

void Painter::drawLine(const LineObject& line)
{
    const QColor colour = withTransparency(line.colour.colourOr(Qt::black), line.transparency);
    const bool solid = line.lineStyle != 22 && line.lineStyle != 23;
    if (solid && line.points.size() == 2
        && (line.points[0].y() == line.points[1].y() || line.points[0].x() == line.points[1].x())) {
        // A line along a pixel row or column: exact pixels, every one from
        // the first point to the last, the width growing down or right.
        const QPoint a = line.points[0];
        const QPoint b = line.points[1];
        const QRect cover =
            a.y() == b.y()
                ? QRect(QPoint(std::min(a.x(), b.x()), a.y()), QPoint(std::max(a.x(), b.x()), a.y() + line.width - 1))
                : QRect(QPoint(a.x(), std::min(a.y(), b.y())), QPoint(a.x() + line.width - 1, std::max(a.y(), b.y())));
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.fillRect(cover, colour);
    } else {
        QPen pen(colour, line.width,
                 line.lineStyle == 22   ? Qt::DashLine
                 : line.lineStyle == 23 ? Qt::DotLine
                                        : Qt::SolidLine,
                 Qt::SquareCap, Qt::MiterJoin);
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.setPen(pen);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolyline(line.points.data(), static_cast<int>(line.points.size()));
    }
    const std::size_t last = line.points.size() - 1;
    if (line.startArrow)
        drawArrowHead(line.points[0], line.points[1], line.width, colour);
    if (line.endArrow)
        drawArrowHead(line.points[last], line.points[last - 1], line.width, colour);
}

void Painter::drawText(const TextObject& text)
{
    const QRectF box = text.box;
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    if (text.boxShape != 0) {
        QPainterPath shape;
        if (text.boxShape == 1)
            shape.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        else
            shape.addRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
        if (text.shadow)
            m_painter.fillPath(shape.translated(2, 2), kShadow);
        if (!text.fillColour.isNone())
            m_painter.fillPath(shape, withTransparency(text.fillColour.colourOr(Qt::white), text.transparency));
        if (!text.frameColour.isDefault() && !text.frameColour.isNone()) {
            m_painter.setPen(QPen(text.frameColour.colourOr(Qt::black), 1));
            m_painter.setBrush(Qt::NoBrush);
            m_painter.drawPath(shape);
        }
    }
    if (text.text.isEmpty())
        return;
    const bool upward = box.height() >= 2 * box.width();
    const qreal length = (upward ? box.height() : box.width()) - 4;
    QFont textFont = font(text.pointSize, text.bold, text.italic);
    const int askedPixels = textFont.pixelSize();
    // Shrink until the text fits its box's length: a narrow box keeps its
    // whole caption readable rather than losing its ends.
    for (int pixels = textFont.pixelSize(); pixels > kSmallestTextPixels; --pixels) {
        if (QFontMetricsF(textFont).horizontalAdvance(text.text) <= length)
            break;
        textFont.setPixelSize(pixels - 1);
    }
    const QColor colour = textColour(text.textColour);
    m_painter.save();
    m_painter.setClipRect(box);
    const int alignment = text.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop;
    if (upward) {
        m_painter.translate(box.center());
        m_painter.rotate(-90);
        m_painter.setFont(textFont);
        m_painter.setPen(colour);
        const QRectF room(-box.height() / 2 + 2, -box.width() / 2, box.height() - 4, box.width());
        m_painter.drawText(room, alignment, text.text);
        noteWrittenUpward(text.text, textFont, room, box.center(), askedPixels);
    } else {
        m_painter.setFont(textFont);
        m_painter.setPen(colour);
        m_painter.drawText(box.adjusted(2, 1, -2, -1), alignment, text.text);
        noteWritten(text.text, textFont, box.adjusted(2, 1, -2, -1), alignment, askedPixels);
    }
    m_painter.restore();
}

void Painter::drawObject(const CustomObject& object)
{
    if (object.line)
        drawLine(*object.line);
    if (object.text)
        drawText(*object.text);
}

void Painter::drawRegionCaptions(const Region& region)
{
    if (region.caption) {
        const Caption& caption = *region.caption;
        const QRect band(region.bounds.left(), region.bounds.top() + kTopMargin / 2, region.bounds.width(),
                         kCaptionBand);
        if (!caption.backColour.isNone() && !caption.backColour.isDefault())
            m_painter.fillRect(band, caption.backColour.colourOr(Qt::white));
        m_painter.setFont(font(caption.fontSize, caption.bold));
        m_painter.setPen(textColour(caption.textColour));
        m_painter.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter, caption.text);
        noteWritten(caption.text, m_painter.font(), band, Qt::AlignHCenter | Qt::AlignVCenter);
    }
    if (!region.footer.isEmpty()) {
        const QFont footerFont = font(7);
        const int height = QFontMetrics(footerFont).height();
        m_painter.setFont(footerFont);
        m_painter.setPen(textColour({}));
        const QRect band(region.bounds.left(), region.bounds.bottom() - height, region.bounds.width(), height);
        m_painter.drawText(band, Qt::AlignHCenter | Qt::AlignBottom, region.footer);
        noteWritten(region.footer, footerFont, band, Qt::AlignHCenter | Qt::AlignBottom);
    }
}

} // namespace

QColor ColourCode::colourOr(QColor fallback) const
{
    if (isDefault())
        return fallback;
    if (value == -1)
        return Qt::white;
    return QColor::fromRgba(static_cast<QRgb>(value));
}

QColor paletteColour(int index)
{
    return QColor::fromRgb(kPalette[static_cast<std::size_t>(index % 10)]);
}

double Axis::valueAt(int tick) const
{
    return minimum + (maximum - minimum) * tick / (tickCount - 1);
}

QString Axis::labelAt(int tick) const
{
    if (tick < 0)
        return {};
    if (!labels.isEmpty())
        return tick < labels.size() ? labels[tick] : QString();
    QString text = QString::number(valueAt(tick), 'f', decimals);
    // Rounding can leave "-0" for a tick that is zero up to rounding.
    if (text.startsWith(u'-') && text.mid(1).toDouble() == 0)
        text.remove(0, 1);
    return text + unit;
}

QRect plotArea(const Region& region)
{
    if (region.grid && !region.grid->placement.isEmpty())
        return region.grid->placement;
    const QRect bounds = region.bounds;
    const bool leftAxis = region.valueAxis || region.yAxis;
    const bool leftCaption = (region.valueAxis && !region.valueAxis->caption.isEmpty())
                             || (region.yAxis && !region.yAxis->caption.isEmpty());
    const int left =
        bounds.left() + kOuterMargin + (leftAxis ? kLeftAxisLabels : 0) + (leftCaption ? kLeftAxisCaption : 0);
    const int right = bounds.right() + 1 - kRightMargin - (region.xAxis ? kXAxisEndLabel : 0);
    const int top = bounds.top() + kTopMargin + (region.caption ? kCaptionBand : 0)
                    + (region.categoryAxis ? kCategoryCaptionBand + kValueLabelBand : 0);
    const int bottom = bounds.bottom() + 1 - kBottomMargin - (region.xAxis ? kXAxisLabelBand + kXAxisCaptionBand : 0);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

namespace {

void paintAll(Chart& chart, QPainter& target, std::optional<qreal> backgroundRatio)
{
    Painter painter(chart, target, backgroundRatio);
    painter.drawBackground();
    for (const Region& region : chart.regions)
        painter.drawRegionBody(region);
    for (const auto& [number, object] : chart.objects)
        painter.drawObject(object);
    for (const Region& region : chart.regions)
        painter.drawRegionCaptions(region);
    painter.drawFrame();
    chart.written = painter.takeWritten();
}

} // namespace

QImage drawChart(Chart& chart, QSize pixels, qreal ratio)
{
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // A height rounded up at an odd ratio leaves a row below the chart's own
    // area, which must not be left as whatever the memory held.
    image.fill(Qt::white);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    paintAll(chart, painter, std::nullopt);
    return image;
}

void paintChart(Chart& chart, QPainter& painter, qreal pictureRatio)
{
    painter.save();
    paintAll(chart, painter, pictureRatio);
    painter.restore();
}

} // namespace rmchart
