#pragma once

// What a chart holds between its creation and its drawing: plain data filled
// by the entry points and read by the painter.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

class QPainter;

namespace rmchart {

// A colour argument as the entry points receive it (see RMChart.h).
struct ColourCode {
    int value = 0;

    bool isDefault() const { return (static_cast<unsigned>(value) >> 24) == 0; }
    bool isNone() const { return value == -2; }
    // The colour itself, or `fallback` for a default.
    QColor colourOr(QColor fallback) const;
};

// The ten colours bars take one by one when their series has no colour.
QColor paletteColour(int index);

struct Axis {
    double minimum = 0;
    double maximum = 1;
    int tickCount = 2;
    int fontSize = 8;
    ColourCode textColour;
    ColourCode lineColour;
    int lineStyle = 2;
    int decimals = 0;
    QString unit;
    QString caption;
    bool boldCaption = false;
    QStringList labels; // empty: generated from the values

    // The label of tick `tick` (0 = minimum).
    QString labelAt(int tick) const;
    double valueAt(int tick) const;
};

struct CategoryAxis {
    QStringList labels;
    int labelStep = 1;
    int tickCount = 1;
    int fontSize = 8;
    ColourCode textColour;
    ColourCode lineColour;
    int lineStyle = 2;
    QString caption;
    bool boldCaption = false;
};

struct BarSeries {
    std::vector<double> values;
    int look = 2;
    bool valueLabels = true;
    ColourCode colour;
    bool shadow = false;
    bool fromZero = true;
    int widthCode = 1;
    int transparency = 0;
};

struct XYSeries {
    std::vector<double> x;
    std::vector<double> y;
    int lineStyle = 0;
    int symbol = 71;
    ColourCode colour;
    int symbolSize = 6;
    bool valueLabels = false;
};

struct Grid {
    ColourCode backColour;
    bool gradient = false;
    QRect placement; // empty: automatic
    bool lines = false;
};

struct Caption {
    QString text;
    ColourCode backColour;
    ColourCode textColour;
    int fontSize = 10;
    bool bold = true;
};

struct Region {
    QRect bounds; // in chart pixels, already resolved against the chart size
    QString footer;
    bool border = false;
    std::optional<Caption> caption;
    std::optional<Grid> grid;
    std::optional<Axis> valueAxis;
    std::optional<CategoryAxis> categoryAxis;
    std::optional<Axis> xAxis;
    std::optional<Axis> yAxis;
    std::vector<BarSeries> bars;
    std::vector<XYSeries> points;
};

struct LineObject {
    std::vector<QPoint> points;
    int lineStyle = 21;
    ColourCode colour;
    int transparency = 0;
    int width = 1;
    bool startArrow = false;
    bool endArrow = false;
};

struct TextObject {
    QString text;
    QRect box;
    ColourCode textColour;
    ColourCode frameColour;
    int transparency = 0;
    bool shadow = false;
    int boxShape = 0;
    ColourCode fillColour;
    int pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool centred = false;
};

struct CustomObject {
    std::optional<LineObject> line;
    std::optional<TextObject> text;
};

// A text a draw wrote, for a caller that checks its captions fit: the
// rectangle its letters cover, the letter size against the size asked (a
// custom text is written smaller rather than lose its ends) and whether it
// still did not fit its room and was clipped.
struct WrittenText {
    QString text;
    QRect place;
    int pixels = 0;
    int askedPixels = 0;
    bool clipped = false;
};

struct Chart {
    QSize size;
    ColourCode backColour;
    bool framed = true;
    QImage backgroundPicture; // null: none
    QString fontName;
    ColourCode textColour;
    std::vector<Region> regions;
    std::map<int, CustomObject> objects; // drawn in object number order
    std::vector<WrittenText> written;    // by the last draw
};

// Draws the chart on a picture of `pixels` device pixels carrying `ratio`,
// so that everything stands where it stands on the chart's own size. Both
// draws keep the texts they wrote in `chart.written`.
QImage drawChart(Chart& chart, QSize pixels, qreal ratio);

// Draws the chart at its own size onto an active painter of any device, from
// its origin; the background picture goes at `pictureRatio` device pixels per
// chart pixel. The painter's state is as it was afterwards.
void paintChart(Chart& chart, QPainter& painter, qreal pictureRatio);

// The plot area a region's grid gets, automatic or given.
QRect plotArea(const Region& region);

// Writes an 8-bit RGB PNG; zlib level 0..9 or -1 for zlib's default. False
// (and no complete file) on any failure.
bool writePng(const QImage& image, const QString& path, int zlibLevel);

} // namespace rmchart
