// The profile page: a radar chart with one spoke per criterion and one ring
// per option, drawn by the program itself.

#include "base/BuiltInImages.h"
#include "base/Fonts.h"
#include "base/TextTable.h"
#include "evaluation/PageStyle.h"
#include "evaluation/ResultPages.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr int kShortestPage = 530;
constexpr int kTallestPage = 1000;
constexpr int kFewestCriteria = 3;

constexpr int kLegendX = 490;
constexpr int kLegendNameX = 510;
constexpr int kLegendTop = 65;
constexpr int kLegendPitch = 14;
constexpr int kLegendGap = 20;
constexpr int kCriteriaHeadGap = 5;
constexpr int kHeightBelowLegend = 20;

constexpr QPoint kCentre(250, 300);
constexpr QPoint kBackgroundPosition(50, 100);
constexpr int kRim = 200;
constexpr int kTickEnd = 205;
constexpr int kNumberRadius = 220;
constexpr QPoint kNumberOffset(-5, -5);
constexpr int kNeutralRadius = 100;
constexpr int kRadiusPerStep = 20;

const QColor kSpokeColour(0xF8, 0xF8, 0xF8);
const QColor kTickColour(0xC8, 0xC8, 0xC8);
const QColor kLegendGrey(0xA0, 0xA0, 0xA0);
const QColor kScaleWordGrey(0x80, 0x80, 0x80);

constexpr std::array<QRgb, 10> kOptionPalette = {0x0000FF, 0xFF0000, 0x00CD00, 0xFFA500, 0xD84FD9,
                                                 0x22D4DB, 0xCAED0F, 0x9D9C5F, 0x426EEE, 0x009696};

// Spoke i's angle in degrees, single precision: criterion 1 points straight
// up and the angle grows clockwise on screen.
float spokeAngle(int i, int count)
{
    return static_cast<float>(i) * 360.0f / static_cast<float>(count) - 90.0f;
}

QPoint pointAt(QPoint origin, float degrees, float radius)
{
    const float radians = degrees * std::numbers::pi_v<float> / 180.0f;
    return {origin.x() + static_cast<int>(std::lround(radius * std::cos(radians))),
            origin.y() + static_cast<int>(std::lround(radius * std::sin(radians)))};
}

void drawLegend(QPainter& painter, const Project& project, int pageHeight)
{
    const QFont bold = programFont(FontRole::ProfileLegendBold);
    const QFont plain = programFont(FontRole::ProfileLegend);
    drawTextAt(painter, kLegendX, 60, uiText(TextKey::TXT00203), bold, Qt::black);
    int y = kLegendTop;
    for (const Option& option : project.options()) {
        y += kLegendPitch;
        if (y >= pageHeight)
            break;
        const QColor colour = QColor::fromRgb(optionColour(option.Index));
        drawTextAt(painter, kLegendX, y, optionLetter(option.Index) + u": "_s, bold, colour);
        drawTextAt(painter, kLegendNameX, y, option.Name, plain, colour);
    }
    y = kLegendTop + kLegendPitch * project.optionCount() + kLegendGap;
    if (y < pageHeight)
        drawTextAt(painter, kLegendX, y, uiText(TextKey::TXT00201), bold, Qt::black);
    y += kCriteriaHeadGap;
    for (const Criterion& criterion : project.criteria()) {
        y += kLegendPitch;
        // Everything further down is cut off with the page.
        if (y >= pageHeight)
            break;
        drawTextAt(painter, kLegendX, y, QString::number(criterion.Index + 1) + u": "_s, bold, kLegendGrey);
        drawTextAt(painter, kLegendNameX, y, criterion.Name, plain, kLegendGrey);
    }
}

void drawDisc(QPainter& painter, int criterionCount)
{
    drawPicture(painter, kBackgroundPosition,
                BuiltInImages::draw(BuiltInImages::Picture::ProfileBackground, pictureScale(painter)));
    painter.setPen(Qt::white);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(kCentre, kNeutralRadius, kNeutralRadius);
    for (int i = 0; i < criterionCount; ++i) {
        const float angle = spokeAngle(i, criterionCount);
        painter.setPen(kSpokeColour);
        painter.drawLine(kCentre, pointAt(kCentre, angle, kRim));
        painter.setPen(kTickColour);
        painter.drawLine(pointAt(kCentre, angle, kRim), pointAt(kCentre, angle, kTickEnd));
    }
    const QFont numberFont = programFont(FontRole::PageLabel);
    for (int i = 0; i < criterionCount; ++i) {
        const QPoint at = pointAt(kCentre + kNumberOffset, spokeAngle(i, criterionCount), kNumberRadius);
        drawTextAt(painter, at.x(), at.y(), QString::number(i + 1), numberFont, kLegendGrey);
    }
    const QFont wordFont = programFont(FontRole::PageValue);
    drawTextAt(painter, 240, 270, uiText(TextKey::TXT00874), wordFont, kScaleWordGrey);
    drawTextAt(painter, 230, 193, uiText(TextKey::TXT00875), wordFont, kScaleWordGrey);
    drawTextAt(painter, 240, 115, uiText(TextKey::TXT00876), wordFont, kScaleWordGrey);
}

// Each option's ring: its rating under every criterion as the distance from
// the centre, closed back to the first criterion; `drawSegment` draws one
// side of it.
void drawRings(const Project& project, const std::function<void(QPoint, QPoint, QRgb)>& drawSegment)
{
    const int count = project.criterionCount();
    std::vector<int> radius(static_cast<std::size_t>(count) + 1);
    for (const Option& option : project.options()) {
        for (int i = 0; i < count; ++i) {
            const Rating* rating = project.ratingOf(option.Index, i);
            const int offset = rating ? rating->Value - kNeutralValue : 0;
            radius[static_cast<std::size_t>(i)] = offset * kRadiusPerStep + kNeutralRadius;
        }
        radius[static_cast<std::size_t>(count)] = radius[0];
        const QRgb colour = optionColour(option.Index);
        for (int i = 0; i < count; ++i) {
            const QPoint from =
                pointAt(kCentre, spokeAngle(i, count), static_cast<float>(radius[static_cast<std::size_t>(i)]));
            const QPoint to =
                pointAt(kCentre, spokeAngle(i + 1, count), static_cast<float>(radius[static_cast<std::size_t>(i) + 1]));
            drawSegment(from, to, colour);
        }
    }
}

// Everything but the rings.
void paintProfileSheet(QPainter& painter, const Project& project, const QString& banner)
{
    drawTitleBar(painter, uiText(TextKey::TXT00267), banner);
    if (project.criterionCount() < kFewestCriteria) {
        drawTextAt(painter, 15, 60, uiText(TextKey::TXT00268), programFont(FontRole::PageValue), Qt::black);
    } else {
        drawLegend(painter, project, profilePageHeight(project.optionCount(), project.criterionCount()));
        drawDisc(painter, project.criterionCount());
    }
}

} // namespace

QRgb optionColour(int index)
{
    return 0xFF000000u | kOptionPalette[static_cast<std::size_t>(std::abs(index) % 10)];
}

int profilePageHeight(int optionCount, int criterionCount)
{
    if (criterionCount < kFewestCriteria)
        return kShortestPage;
    const long long last = kLegendTop + 14LL * optionCount + kLegendGap + kCriteriaHeadGap + 14LL * criterionCount;
    return static_cast<int>(std::clamp<long long>(last + kHeightBelowLegend, kShortestPage, kTallestPage));
}

void blendPixel(QImage& image, int x, int y, int red, int green, int blue, int coverage)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    QRgb* pixel = reinterpret_cast<QRgb*>(image.scanLine(y)) + x;
    const int keep = 255 - coverage;
    const int newRed = ((red * coverage) >> 8) + ((qRed(*pixel) * keep) >> 8);
    const int newGreen = ((green * coverage) >> 8) + ((qGreen(*pixel) * keep) >> 8);
    const int newBlue = ((blue * coverage) >> 8) + ((qBlue(*pixel) * keep) >> 8);
    *pixel = qRgb(newRed, newGreen, newBlue);
}

void drawAntiAliasedLine(QImage& image, int x1, int y1, int x2, int y2, QRgb colour)
{
    const int red = qRed(colour);
    const int green = qGreen(colour);
    const int blue = qBlue(colour);
    const auto setPixel = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
            reinterpret_cast<QRgb*>(image.scanLine(y))[x] = qRgb(red, green, blue);
    };
    setPixel(x1, y1);
    setPixel(x2, y2);
    int dx = x2 - x1;
    int dy = y2 - y1;
    if (dx == 0 || dy == 0) {
        const int steps = std::max(std::abs(dx), std::abs(dy));
        const int stepX = dx == 0 ? 0 : (dx > 0 ? 1 : -1);
        const int stepY = dy == 0 ? 0 : (dy > 0 ? 1 : -1);
        for (int k = 0; k <= steps; ++k)
            setPixel(x1 + k * stepX, y1 + k * stepY);
        return;
    }
    if (std::abs(dy) < std::abs(dx)) {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        dx = x2 - x1;
        dy = y2 - y1;
        const int gradient = (dy * 65536) / dx;
        int f = y1 * 65536;
        for (int x = x1 + 1; x <= x2 - 1; ++x) {
            f += gradient;
            const int c = (f >> 8) & 255;
            const int y = f >> 16;
            blendPixel(image, x, y, red, green, blue, 255 - c);
            blendPixel(image, x, y + 1, red, green, blue, c);
        }
    } else {
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        dx = x2 - x1;
        dy = y2 - y1;
        const int gradient = (dx * 65536) / dy;
        int f = x1 * 65536;
        for (int y = y1 + 1; y <= y2 - 1; ++y) {
            f += gradient;
            const int c = (f >> 8) & 255;
            const int x = f >> 16;
            blendPixel(image, x, y, red, green, blue, 255 - c);
            blendPixel(image, x + 1, y, red, green, blue, c);
        }
    }
}

QImage buildProfilePage(const Project& project, const QString& banner, qreal scale)
{
    const int height = profilePageHeight(project.optionCount(), project.criterionCount());
    if (scale > kSmallestPageScale)
        return pagePicture(height, scale, [&](QPainter& painter) { paintProfilePage(painter, project, banner); });
    // At 1x the rings are the program's own line, blended pixel by pixel
    // into the finished disc, so the painter must be done with the picture
    // first.
    QImage page = pagePicture(height, scale, [&](QPainter& painter) { paintProfileSheet(painter, project, banner); });
    if (!page.isNull() && project.criterionCount() >= kFewestCriteria) {
        drawRings(project, [&page](QPoint from, QPoint to, QRgb colour) {
            drawAntiAliasedLine(page, from.x(), from.y(), to.x(), to.y(), colour);
        });
    }
    return page;
}

void paintProfilePage(QPainter& painter, const Project& project, const QString& banner)
{
    paintProfileSheet(painter, project, banner);
    if (project.criterionCount() < kFewestCriteria)
        return;
    // On finer pixels the program's own line would be a hairline; Qt's
    // anti-aliased pen draws the same line one page pixel wide.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawRings(project, [&painter](QPoint from, QPoint to, QRgb colour) {
        painter.setPen(QPen(QColor::fromRgb(colour), 1.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(from, to);
    });
    painter.restore();
}

} // namespace ponderix
