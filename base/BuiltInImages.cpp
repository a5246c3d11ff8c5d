#include "base/BuiltInImages.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <span>

namespace ponderix {

namespace {

// One look for every icon: flat fills, a one-pixel darker rim where a shape
// meets the light grey of the window, white symbols on coloured grounds.
const QColor kTitleBlue(0x62, 0x74, 0xCD);
const QColor kTitleBlueDark(0x46, 0x55, 0xA8);
const QColor kGreen(0x2F, 0xB3, 0x5A);
const QColor kGreenDark(0x1F, 0x86, 0x41);
const QColor kRed(0xE5, 0x48, 0x4D);
const QColor kRedDark(0xB0, 0x2E, 0x36);
const QColor kOrange(0xF5, 0x9B, 0x23);
const QColor kYellowGreen(0x9A, 0xC8, 0x36);
const QColor kAmber(0xF2, 0xB1, 0x3A);
const QColor kAmberDark(0xC8, 0x87, 0x1C);
const QColor kAmberLight(0xFF, 0xD0, 0x5C);
const QColor kCommentYellow(0xFF, 0xD3, 0x4E);
const QColor kCommentYellowDark(0xC9, 0x98, 0x1D);
const QColor kCommentText(0x7A, 0x5A, 0x0E);
const QColor kOutlineGrey(0x8C, 0x93, 0x9D);
const QColor kCommentGrey(0x7A, 0x81, 0x8B);
const QColor kLineGrey(0xB4, 0xBA, 0xC3);
const QColor kPaleGrey(0xE3, 0xE7, 0xEE);
const QColor kInk(0x4B, 0x50, 0x58);
const QColor kWhite(0xFF, 0xFF, 0xFF);

constexpr int kSmallIcon = 24;
constexpr int kToolbarIcon = 48;
constexpr int kLogoSize = 64;
constexpr int kArrowSize = 12;

struct GradientStop {
    double at; // 0 .. 1 along the gradient
    QRgb colour;
};

// The scale behind every rating slider and on the result pages.
constexpr GradientStop kScaleStops[] = {{0.00, 0xFF0000},
                                        {0.25, 0xFF8200},
                                        {0.50, 0xFFFF00},
                                        {0.75, 0x75E31C},
                                        {1.00, 0x00CC33}};

// The detail chart's top row reads like the scale, with a redder orange so the
// weak side stays red where the points of poor ratings sit.
constexpr GradientStop kDetailStops[] = {{0.00, 0xFF0000},
                                         {0.25, 0xFF4100},
                                         {0.50, 0xFFFF00},
                                         {0.75, 0x42D827},
                                         {1.00, 0x00CC33}};

// Stops by radius in pixels: red inside the neutral ring, green out at the rim.
constexpr GradientStop kProfileStops[] = {{0.0, 0xFF7675},
                                          {50.0, 0xFFBA75},
                                          {100.0, 0xFFFF75},
                                          {150.0, 0xBAFF75},
                                          {200.0, 0x76FF75}};

constexpr QSize kScaleSize(120, 20);
constexpr QSize kDetailSize(340, 340);
constexpr QRect kDetailSquare(QPoint(54, 35), QPoint(325, 298));
// The square keeps its full colour down to this row, then pales towards white
// so that the unimportant bottom of the chart stays quiet behind the points.
constexpr int kDetailFadeStartRow = 114;
constexpr double kDetailBottomStrength = 0.12;
constexpr QSize kProfileSize(400, 400);
constexpr double kProfileRadius = 200.0;

double interpolateChannel(int from, int to, double fraction)
{
    return from + (to - from) * fraction;
}

// Channels rounded to the nearest value, so a stop's own position gives exactly
// the stop's colour.
QRgb gradientColour(std::span<const GradientStop> stops, double at)
{
    if (at <= stops.front().at)
        return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (at > stops[i].at)
            continue;
        const double fraction = (at - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
        const QRgb from = stops[i - 1].colour;
        const QRgb to = stops[i].colour;
        return qRgb(static_cast<int>(std::lround(interpolateChannel(qRed(from), qRed(to), fraction))),
                    static_cast<int>(std::lround(interpolateChannel(qGreen(from), qGreen(to), fraction))),
                    static_cast<int>(std::lround(interpolateChannel(qBlue(from), qBlue(to), fraction))));
    }
    return stops.back().colour;
}

// A colour at the given strength over white: 1 keeps it, 0 is white.
QRgb overWhite(QRgb colour, double strength)
{
    const auto channel = [strength](int value) {
        return static_cast<int>(std::lround(255.0 - (255.0 - value) * strength));
    };
    return qRgb(channel(qRed(colour)), channel(qGreen(colour)), channel(qBlue(colour)));
}

// The pixels of `logical` at `ratio`: whole ones, so that nothing of the
// picture is cut off at an odd ratio.
QSize devicePixels(QSize logical, qreal ratio)
{
    return {qCeil(logical.width() * ratio), qCeil(logical.height() * ratio)};
}

// Each pixel column takes the colour of where it lies on the 1x scale, so a
// dense screen gets a finer gradient, not wider steps of the same one.
QImage drawScaleBackground(qreal ratio)
{
    QImage image(devicePixels(kScaleSize, ratio), QImage::Format_RGB32);
    const double last = (kScaleSize.width() - 1) * ratio;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb colour = gradientColour(kScaleStops, std::min(1.0, x / last));
        for (int y = 0; y < image.height(); ++y)
            image.setPixel(x, y, colour);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage drawDetailBackground()
{
    QImage image(kDetailSize, QImage::Format_RGB32);
    image.fill(kWhite);
    const int columns = kDetailSquare.width() - 1;
    const int fadeRows = kDetailSquare.bottom() - kDetailFadeStartRow;
    for (int x = kDetailSquare.left(); x <= kDetailSquare.right(); ++x) {
        const QRgb top = gradientColour(kDetailStops, static_cast<double>(x - kDetailSquare.left()) / columns);
        for (int y = kDetailSquare.top(); y <= kDetailSquare.bottom(); ++y) {
            const double faded = static_cast<double>(std::max(0, y - kDetailFadeStartRow)) / fadeRows;
            image.setPixel(x, y, overWhite(top, 1.0 - (1.0 - kDetailBottomStrength) * faded));
        }
    }
    return image;
}

// The disc's rim is half a device pixel soft, so it is round rather than
// stepped at any ratio; the colours follow the radius in layout pixels.
QImage drawProfileBackground(qreal ratio)
{
    QImage image(devicePixels(kProfileSize, ratio), QImage::Format_RGB32);
    const double centreX = kProfileSize.width() * ratio / 2.0;
    const double centreY = kProfileSize.height() * ratio / 2.0;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double radius = std::hypot(x + 0.5 - centreX, y + 0.5 - centreY);
            const double coverage = std::clamp(kProfileRadius * ratio + 0.5 - radius, 0.0, 1.0);
            row[x] = overWhite(gradientColour(kProfileStops, radius / ratio), coverage);
        }
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

// Every icon is painted anti-aliased on a transparent square and handed out as
// plain (not premultiplied) 32-bit ARGB. The painting is in the icon's own
// pixels; the image's ratio scales it to the screen's, so a dense screen gets
// the same shapes with finer edges.
QImage paintIcon(int size, qreal ratio, const std::function<void(QPainter&)>& paint)
{
    QImage image(devicePixels(QSize(size, size), ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(painter);
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen rimPen(const QColor& colour, double width = 1.0)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A round badge with a rim; the add and delete icons and the badge of the
// New page share it so they read as one family.
void paintDisc(QPainter& painter, QPointF centre, double radius, const QColor& fill, const QColor& rim)
{
    painter.setPen(rimPen(rim));
    painter.setBrush(fill);
    painter.drawEllipse(centre, radius - 0.5, radius - 0.5);
}

void paintPlus(QPainter& painter, QPointF centre, double arm, double thickness)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kWhite);
    painter.drawRoundedRect(QRectF(centre.x() - arm, centre.y() - thickness / 2, 2 * arm, thickness), 0.8, 0.8);
    painter.drawRoundedRect(QRectF(centre.x() - thickness / 2, centre.y() - arm, thickness, 2 * arm), 0.8, 0.8);
}

QImage drawAddIcon(qreal ratio)
{
    return paintIcon(kSmallIcon, ratio, [](QPainter& painter) {
        paintDisc(painter, QPointF(12, 12), 11, kGreen, kGreenDark);
        paintPlus(painter, QPointF(12, 12), 6, 2);
    });
}

QImage drawDeleteIcon(qreal ratio)
{
    return paintIcon(kSmallIcon, ratio, [](QPainter& painter) {
        paintDisc(painter, QPointF(12, 12), 11, kRed, kRedDark);
        QPen cross(kWhite, 2.5);
        cross.setCapStyle(Qt::RoundCap);
        painter.setPen(cross);
        painter.drawLine(QPointF(8, 8), QPointF(16, 16));
        painter.drawLine(QPointF(16, 8), QPointF(8, 16));
    });
}

// The balance: a post on a foot, a beam tipped towards the heavier side and
// two hanging pans; weighing up is what the program is for.
QImage drawLogo(qreal ratio)
{
    return paintIcon(kLogoSize, ratio, [](QPainter& painter) {
        painter.setPen(rimPen(kTitleBlueDark));
        painter.setBrush(kTitleBlue);
        painter.drawRoundedRect(QRectF(2.5, 2.5, 59, 59), 13, 13);

        painter.setPen(Qt::NoPen);
        painter.setBrush(kWhite);
        painter.drawRoundedRect(QRectF(30, 17, 4, 30), 1, 1);     // post
        painter.drawRoundedRect(QRectF(20, 46, 24, 5), 2.5, 2.5); // foot

        const QPointF leftEnd(14, 16);
        const QPointF rightEnd(50, 22);
        QPen beam(kWhite, 3.5);
        beam.setCapStyle(Qt::RoundCap);
        painter.setPen(beam);
        painter.drawLine(leftEnd, rightEnd);

        const auto pan = [&painter](QPointF hook, double rimY, const QColor& weight) {
            constexpr double halfWidth = 9.0;
            constexpr double depth = 6.0;
            painter.setPen(rimPen(kWhite, 1.5));
            painter.drawLine(hook, QPointF(hook.x() - halfWidth + 1, rimY));
            painter.drawLine(hook, QPointF(hook.x() + halfWidth - 1, rimY));
            // A small weight resting in the pan, in the colours of the rating scale.
            painter.setPen(Qt::NoPen);
            painter.setBrush(weight);
            painter.drawEllipse(QPointF(hook.x(), rimY - 3.5), 3.5, 3.5);
            QPainterPath bowl;
            bowl.moveTo(hook.x() - halfWidth, rimY);
            bowl.arcTo(QRectF(hook.x() - halfWidth, rimY - depth, 2 * halfWidth, 2 * depth), 180, 180);
            bowl.closeSubpath();
            painter.setBrush(kWhite);
            painter.drawPath(bowl);
        };
        pan(leftEnd, 31, kRed);
        pan(rightEnd, 37, kGreen);

        painter.setPen(Qt::NoPen);
        painter.setBrush(kWhite);
        painter.drawEllipse(QPointF(32, 19), 3.5, 3.5); // pivot
        painter.setBrush(kTitleBlue);
        painter.drawEllipse(QPointF(32, 19), 1.4, 1.4);
    });
}

QPainterPath speechBubble()
{
    QPainterPath body;
    body.addRoundedRect(QRectF(2.5, 3.5, 19, 13), 3, 3);
    QPainterPath tail;
    tail.moveTo(6, 15);
    tail.lineTo(6, 21);
    tail.lineTo(12, 15);
    tail.closeSubpath();
    return body.united(tail).simplified();
}

QImage drawCommentPresent(qreal ratio)
{
    return paintIcon(kSmallIcon, ratio, [](QPainter& painter) {
        painter.setPen(rimPen(kCommentYellowDark));
        painter.setBrush(kCommentYellow);
        painter.drawPath(speechBubble());
        painter.setPen(Qt::NoPen);
        painter.setBrush(kCommentText);
        painter.drawRect(QRectF(6, 7, 12, 1));
        painter.drawRect(QRectF(6, 10, 12, 1));
        painter.drawRect(QRectF(6, 13, 8, 1));
    });
}

QImage drawCommentAbsent(qreal ratio)
{
    return paintIcon(kSmallIcon, ratio, [](QPainter& painter) {
        painter.setPen(rimPen(kCommentGrey));
        painter.setBrush(QColor(255, 255, 255, 170));
        painter.drawPath(speechBubble());
    });
}

// A sheet of paper; the New and Report icons both start from it.
void paintSheet(QPainter& painter, const QRectF& sheet, double fold)
{
    QPainterPath outline;
    outline.moveTo(sheet.topLeft());
    outline.lineTo(sheet.right() - fold, sheet.top());
    outline.lineTo(sheet.right(), sheet.top() + fold);
    outline.lineTo(sheet.bottomRight());
    outline.lineTo(sheet.bottomLeft());
    outline.closeSubpath();
    painter.setPen(rimPen(kOutlineGrey));
    painter.setBrush(kWhite);
    painter.drawPath(outline);
    if (fold > 0) {
        QPainterPath flap;
        flap.moveTo(sheet.right() - fold, sheet.top());
        flap.lineTo(sheet.right() - fold, sheet.top() + fold);
        flap.lineTo(sheet.right(), sheet.top() + fold);
        flap.closeSubpath();
        painter.setBrush(kPaleGrey);
        painter.drawPath(flap);
    }
}

void paintNew(QPainter& painter)
{
    paintSheet(painter, QRectF(9.5, 3.5, 27, 39), 9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kWhite);
    painter.drawEllipse(QPointF(35.5, 35.5), 11.5, 11.5); // keeps the badge off the page edge
    paintDisc(painter, QPointF(35.5, 35.5), 10, kGreen, kGreenDark);
    paintPlus(painter, QPointF(35.5, 35.5), 5.5, 3);
}

void paintOpen(QPainter& painter)
{
    QPainterPath back;
    back.moveTo(4.5, 40.5);
    back.lineTo(4.5, 10.5);
    back.quadTo(4.5, 8.5, 6.5, 8.5);
    back.lineTo(16.5, 8.5);
    back.lineTo(20.5, 12.5);
    back.lineTo(39.5, 12.5);
    back.quadTo(41.5, 12.5, 41.5, 14.5);
    back.lineTo(41.5, 40.5);
    back.closeSubpath();
    painter.setPen(rimPen(kAmberDark));
    painter.setBrush(kAmber);
    painter.drawPath(back);

    painter.setPen(rimPen(kOutlineGrey));
    painter.setBrush(kWhite);
    painter.drawRect(QRectF(10.5, 15.5, 26, 16)); // a page peeking out
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLineGrey);
    painter.drawRect(QRectF(14, 19, 19, 1.5));
    painter.drawRect(QRectF(14, 23, 14, 1.5));

    QPolygonF front;
    front << QPointF(11.5, 21.5) << QPointF(45.5, 21.5) << QPointF(40.5, 40.5) << QPointF(4.5, 40.5);
    painter.setPen(rimPen(kAmberDark));
    painter.setBrush(kAmberLight);
    painter.drawPolygon(front);
}

void paintSave(QPainter& painter)
{
    QPainterPath body;
    body.moveTo(6.5, 8.5);
    body.quadTo(6.5, 5.5, 9.5, 5.5);
    body.lineTo(35.5, 5.5);
    body.lineTo(42.5, 12.5);
    body.lineTo(42.5, 39.5);
    body.quadTo(42.5, 42.5, 39.5, 42.5);
    body.lineTo(9.5, 42.5);
    body.quadTo(6.5, 42.5, 6.5, 39.5);
    body.closeSubpath();
    painter.setPen(rimPen(kTitleBlueDark));
    painter.setBrush(kTitleBlue);
    painter.drawPath(body);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kPaleGrey);
    painter.drawRect(QRectF(14, 6, 19, 12)); // shutter
    painter.setBrush(kTitleBlueDark);
    painter.drawRect(QRectF(26, 8, 4, 8)); // its window

    painter.setBrush(kWhite);
    painter.drawRoundedRect(QRectF(12, 24, 24, 18), 1.5, 1.5); // label
    painter.setBrush(kLineGrey);
    painter.drawRect(QRectF(15, 29, 18, 1.5));
    painter.drawRect(QRectF(15, 34, 13, 1.5));
}

// Bars in the scale's colours, rising to the best option on the right.
void paintResults(QPainter& painter)
{
    struct Bar {
        double height;
        QColor colour;
    };
    const Bar bars[] = {{13, kRed}, {21, kOrange}, {28, kYellowGreen}, {35, kGreen}};
    constexpr double baseline = 42;
    double x = 8;
    painter.setPen(Qt::NoPen);
    for (const Bar& bar : bars) {
        painter.setBrush(bar.colour);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(x, baseline - bar.height, 7, bar.height + 2), 1.5, 1.5);
        painter.drawPath(shape);
        x += 9;
    }
    painter.setBrush(kInk);
    painter.drawRect(QRectF(5, baseline, 38, 2));    // ground line
    painter.drawRect(QRectF(5, 5, 2, baseline - 3)); // value axis
}

// A five-spoked web with one option's profile laid over it.
void paintProfile(QPainter& painter)
{
    constexpr QPointF centre(24, 25);
    constexpr int spokes = 5;
    const auto pointAt = [centre](int spoke, double radius) {
        const double angle = (spoke * 360.0 / spokes - 90.0) * std::numbers::pi / 180.0;
        return QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    };
    const auto ring = [&pointAt](std::span<const double> radii) {
        QPolygonF polygon;
        for (int spoke = 0; spoke < spokes; ++spoke)
            polygon << pointAt(spoke, radii[static_cast<std::size_t>(spoke)]);
        return polygon;
    };

    constexpr double outer[spokes] = {20, 20, 20, 20, 20};
    constexpr double inner[spokes] = {10, 10, 10, 10, 10};
    painter.setPen(rimPen(kOutlineGrey, 1.5));
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawPolygon(ring(outer));
    painter.setPen(rimPen(kLineGrey));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(ring(inner));
    for (int spoke = 0; spoke < spokes; ++spoke)
        painter.drawLine(centre, pointAt(spoke, 20));

    constexpr double profile[spokes] = {17, 9, 19, 12, 15};
    QColor veil = kTitleBlue;
    veil.setAlpha(90);
    painter.setPen(rimPen(kTitleBlue, 2));
    painter.setBrush(veil);
    const QPolygonF shape = ring(profile);
    painter.drawPolygon(shape);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTitleBlueDark);
    for (const QPointF& corner : shape)
        painter.drawEllipse(corner, 2.2, 2.2);
}

// A page holding a table with a blue header row, as the report looks.
void paintReport(QPainter& painter)
{
    paintSheet(painter, QRectF(8.5, 3.5, 31, 41), 0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTitleBlue);
    painter.drawRect(QRectF(13, 8, 15, 3)); // title line

    const QRectF table(13, 15, 22, 25);
    constexpr int rows = 5;
    const double rowHeight = table.height() / rows;
    painter.drawRect(QRectF(table.left(), table.top(), table.width(), rowHeight));
    painter.setBrush(kPaleGrey);
    for (int row = 2; row < rows; row += 2)
        painter.drawRect(QRectF(table.left(), table.top() + row * rowHeight, table.width(), rowHeight));
    painter.setPen(rimPen(kLineGrey));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(table);
    painter.drawLine(QPointF(21, table.top() + rowHeight), QPointF(21, table.bottom()));
    painter.drawLine(QPointF(28, table.top() + rowHeight), QPointF(28, table.bottom()));
}

QImage drawToolbarIcon(BuiltInImages::Toolbar which, qreal ratio)
{
    return paintIcon(kToolbarIcon, ratio, [which](QPainter& painter) {
        switch (which) {
        case BuiltInImages::New:
            paintNew(painter);
            break;
        case BuiltInImages::Open:
            paintOpen(painter);
            break;
        case BuiltInImages::Save:
            paintSave(painter);
            break;
        case BuiltInImages::Results:
            paintResults(painter);
            break;
        case BuiltInImages::Profile:
            paintProfile(painter);
            break;
        case BuiltInImages::Report:
            paintReport(painter);
            break;
        case BuiltInImages::ToolbarCount:
            break;
        }
    });
}

// The arrows sit on 12-pixel buttons: a solid triangle whose tip and base lie
// on pixel edges keeps them sharp at that size. Drawn pointing right, then
// turned about the centre.
QImage drawArrow(int quarterTurns, qreal ratio)
{
    return paintIcon(kArrowSize, ratio, [quarterTurns](QPainter& painter) {
        painter.translate(kArrowSize / 2.0, kArrowSize / 2.0);
        painter.rotate(90.0 * quarterTurns);
        QPolygonF triangle;
        triangle << QPointF(-2, -5) << QPointF(3, 0) << QPointF(-2, 5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        painter.drawPolygon(triangle);
    });
}

// Beyond 8 a 48-pixel icon would already be 384 pixels square, far past any
// screen made.
constexpr qreal kLargestRatio = 8.0;

BuiltInImages drawAll()
{
    using Picture = BuiltInImages::Picture;
    BuiltInImages images;
    images.addIcon = BuiltInImages::draw(Picture::Add, 1.0);
    images.deleteIcon = BuiltInImages::draw(Picture::Delete, 1.0);
    images.logo = BuiltInImages::draw(Picture::Logo, 1.0);
    images.commentPresent = BuiltInImages::draw(Picture::CommentPresent, 1.0);
    images.commentAbsent = BuiltInImages::draw(Picture::CommentAbsent, 1.0);
    for (int which = 0; which < BuiltInImages::ToolbarCount; ++which)
        images.toolbarIcons[static_cast<std::size_t>(which)] =
            BuiltInImages::draw(BuiltInImages::toolbarPicture(static_cast<BuiltInImages::Toolbar>(which)), 1.0);
    images.scaleBackground = BuiltInImages::draw(Picture::Scale, 1.0);
    images.detailBackground = drawDetailBackground();
    images.profileBackground = BuiltInImages::draw(Picture::ProfileBackground, 1.0);
    images.arrowRight = BuiltInImages::draw(Picture::ArrowRight, 1.0);
    images.arrowDown = BuiltInImages::draw(Picture::ArrowDown, 1.0);
    images.arrowLeft = BuiltInImages::draw(Picture::ArrowLeft, 1.0);
    images.arrowUp = BuiltInImages::draw(Picture::ArrowUp, 1.0);
    return images;
}

} // namespace

const BuiltInImages& BuiltInImages::instance()
{
    static const BuiltInImages images = drawAll();
    return images;
}

BuiltInImages::Picture BuiltInImages::toolbarPicture(Toolbar which)
{
    switch (which) {
    case Open:
        return Picture::ToolbarOpen;
    case Save:
        return Picture::ToolbarSave;
    case Results:
        return Picture::ToolbarResults;
    case Profile:
        return Picture::ToolbarProfile;
    case Report:
        return Picture::ToolbarReport;
    case New:
    case ToolbarCount:
        break;
    }
    return Picture::ToolbarNew;
}

QImage BuiltInImages::draw(Picture which, qreal ratio)
{
    if (std::isnan(ratio))
        ratio = 1.0;
    ratio = std::clamp(ratio, 1.0, kLargestRatio);
    switch (which) {
    case Picture::Add:
        return drawAddIcon(ratio);
    case Picture::Delete:
        return drawDeleteIcon(ratio);
    case Picture::Logo:
        return drawLogo(ratio);
    case Picture::CommentPresent:
        return drawCommentPresent(ratio);
    case Picture::CommentAbsent:
        return drawCommentAbsent(ratio);
    case Picture::ToolbarNew:
        return drawToolbarIcon(New, ratio);
    case Picture::ToolbarOpen:
        return drawToolbarIcon(Open, ratio);
    case Picture::ToolbarSave:
        return drawToolbarIcon(Save, ratio);
    case Picture::ToolbarResults:
        return drawToolbarIcon(Results, ratio);
    case Picture::ToolbarProfile:
        return drawToolbarIcon(Profile, ratio);
    case Picture::ToolbarReport:
        return drawToolbarIcon(Report, ratio);
    case Picture::Scale:
        return drawScaleBackground(ratio);
    case Picture::ProfileBackground:
        return drawProfileBackground(ratio);
    case Picture::ArrowLeft:
        return drawArrow(2, ratio);
    case Picture::ArrowRight:
        return drawArrow(0, ratio);
    case Picture::ArrowUp:
        return drawArrow(3, ratio);
    case Picture::ArrowDown:
        return drawArrow(1, ratio);
    }
    return {};
}

} // namespace ponderix
