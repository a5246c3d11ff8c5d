#include "evaluation/PageStyle.h"

#include "base/BuiltInImages.h"
#include "base/Fonts.h"

#include <QFontMetrics>
#include <QPainter>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr QRect kScale(115, 120, 200, 30);
constexpr int kScaleCaptionY = 150;
constexpr int kMarkerZeroX = 214;
constexpr QSize kMarkerSize(2, 30);

} // namespace

void drawTextAt(QPainter& painter, int x, int y, const QString& text, const QFont& font, const QColor& colour)
{
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPoint(x, y + QFontMetrics(font).ascent()), text);
}

void drawTitleBar(QPainter& painter, const QString& title, const QString& banner)
{
    painter.fillRect(kTitleBar, kHeaderColour);
    drawTextAt(painter, kTitleText.x(), kTitleText.y(), title + u"  \""_s + banner + u"\""_s,
               programFont(FontRole::PageHeader), Qt::white);
}

void drawScale(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(kScale, BuiltInImages::instance().scaleBackground);
    painter.restore();
    const QFont font = programFont(FontRole::PageScale);
    drawTextAt(painter, 115, kScaleCaptionY, u"-100%"_s, font, Qt::black);
    drawTextAt(painter, 212, kScaleCaptionY, u"0%"_s, font, Qt::black);
    drawTextAt(painter, 285, kScaleCaptionY, u"+100%"_s, font, Qt::black);
}

void drawMarker(QPainter& painter, int score)
{
    painter.fillRect(QRect(QPoint(kMarkerZeroX + score, kScale.top()), kMarkerSize), Qt::black);
}

QImage blankPage(int height)
{
    QImage page(kPageWidth, height, QImage::Format_RGB32);
    if (!page.isNull())
        page.fill(Qt::white);
    return page;
}

} // namespace ponderix
