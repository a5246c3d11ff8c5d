#include "evaluation/PageStyle.h"

#include "base/BuiltInImages.h"
#include "base/DisplayText.h"
#include "base/Fonts.h"
#include "base/Language.h"
#include "evaluation/ResultPages.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr QRect kScale(115, 120, 200, 30);
// The built-in scale picture's own width at 1x.
constexpr int kScalePictureWidth = 120;
constexpr int kScaleCaptionY = 150;
constexpr int kMarkerZeroX = 214;
constexpr QSize kMarkerSize(2, 30);

// A white picture of the page's size at `scale`, ready to draw on in logical
// pixels; null if there is no memory for it.
QImage blankPage(int height, qreal scale)
{
    // Also catches a ratio that is not a number.
    if (!(scale >= kSmallestPageScale))
        scale = kSmallestPageScale;
    scale = std::min(scale, kLargestPageScale);
    QImage page(qRound(kPageWidth * scale), qRound(height * scale), QImage::Format_RGB32);
    if (page.isNull())
        return page;
    page.setDevicePixelRatio(scale);
    page.fill(Qt::white);
    return page;
}

PageTextRecorder* g_recorder = nullptr;

void noteText(const QString& text, QRect place, bool cut)
{
    if (g_recorder)
        g_recorder->note({text, place, cut});
}

} // namespace

PageTextRecorder::PageTextRecorder()
{
    g_recorder = this;
}

PageTextRecorder::~PageTextRecorder()
{
    g_recorder = nullptr;
}

PageTextRecorder* PageTextRecorder::current()
{
    return g_recorder;
}

void drawTextAt(QPainter& painter, int x, int y, const QString& text, const QFont& font, const QColor& colour)
{
    painter.setFont(font);
    painter.setPen(colour);
    // Cut before Qt lays it out: a name of megabytes would be shaped whole
    // only to be clipped at the page's edge.
    const QString shown = displayText(text);
    const QFontMetrics metrics(font);
    painter.drawText(QPoint(x, y + metrics.ascent()), shown);
    if (g_recorder)
        noteText(shown, QRect(x, y, metrics.horizontalAdvance(shown), metrics.height()), false);
}

QString elided(const QString& text, const QFont& font, int width)
{
    // elidedText lays out the whole text before it measures.
    const QString shown = displayText(text);
    QString result = QFontMetrics(font).elidedText(shown, Qt::ElideRight, width);
    if (g_recorder && result != shown)
        noteText(shown, QRect(), true);
    return result;
}

void drawTextInBox(QPainter& painter, QRect box, int flags, const QString& text, const QFont& font,
                   const QColor& colour)
{
    painter.setFont(font);
    painter.setPen(colour);
    const QString shown = displayText(text);
    painter.drawText(box, flags, shown);
    if (g_recorder) {
        const QRect needed = QFontMetrics(font).boundingRect(box, flags, shown);
        noteText(shown, needed, !box.contains(needed));
    }
}

namespace {

// Lines at word boundaries, or anywhere inside a word too long for a line.
int layOutLines(QTextLayout& layout, const QFont& font, int width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setFont(font);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return static_cast<int>(std::ceil(height));
}

// A line that ends inside a word: the word was too long for the width.
bool breaksInsideWord(const QTextLayout& layout)
{
    const QString& text = layout.text();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const int end = layout.lineAt(i).textStart() + layout.lineAt(i).textLength();
        if (end > 0 && end < text.size() && text[end - 1].isLetterOrNumber() && text[end].isLetterOrNumber())
            return true;
    }
    return false;
}

// Cut first, so that the height measured and the lines drawn are those of
// the same bounded text.
QString withLineSeparators(const QString& text)
{
    return displayText(text).replace(u'\n', QChar::LineSeparator);
}

} // namespace

int textHeight(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(withLineSeparators(text));
    return layOutLines(layout, font, width);
}

int drawWrappedText(QPainter& painter, int x, int y, int width, const QString& text, const QFont& font,
                    const QColor& colour)
{
    QTextLayout layout(withLineSeparators(text));
    const int height = layOutLines(layout, font, width);
    painter.setPen(colour);
    // A text of many pages goes to paper a page at a time, each time clipped
    // to that page: lines off it are skipped rather than sent to be cut
    // away, which would make the whole text cost as much on every page.
    layout.draw(&painter, QPointF(x, y), {}, painter.hasClipping() ? painter.clipBoundingRect() : QRectF());
    if (g_recorder)
        noteText(layout.text(), QRect(x, y, width, height), breaksInsideWord(layout));
    return height;
}

void drawTitleBar(QPainter& painter, const QString& title, const QString& banner)
{
    painter.fillRect(kTitleBar, kHeaderColour);
    drawTextAt(painter, kTitleText.x(), kTitleText.y(), title + u"  "_s + quoted(banner),
               programFont(FontRole::PageHeader), Qt::white);
}

void drawScale(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // The picture is narrower than the place it is stretched over. On a
    // screen that is how the scale has always looked; on paper it is drawn
    // finer by the stretch, so it prints as sharply as the charts beside it.
    const bool onPaper = painter.device() && painter.device()->devType() != QInternal::Image;
    const qreal stretch = onPaper ? static_cast<qreal>(kScale.width()) / kScalePictureWidth : 1.0;
    painter.drawImage(kScale, BuiltInImages::draw(BuiltInImages::Picture::Scale, pictureScale(painter) * stretch));
    painter.restore();
    const QFont font = programFont(FontRole::PageScale);
    drawTextAt(painter, 115, kScaleCaptionY, percentText(-100, 0, true), font, Qt::black);
    drawTextAt(painter, 212, kScaleCaptionY, percentText(0, 0, true), font, Qt::black);
    drawTextAt(painter, 285, kScaleCaptionY, percentText(100, 0, true), font, Qt::black);
}

void drawMarker(QPainter& painter, int score)
{
    painter.fillRect(QRect(QPoint(kMarkerZeroX + score, kScale.top()), kMarkerSize), Qt::black);
}

QImage pagePicture(int height, qreal scale, const std::function<void(QPainter&)>& paint)
{
    QImage page = blankPage(height, scale);
    if (page.isNull())
        return page;
    QPainter painter(&page);
    paint(painter);
    return page;
}

qreal pictureScale(const QPainter& painter)
{
    const qreal device = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const qreal world = std::sqrt(std::abs(painter.worldTransform().determinant()));
    const qreal scale = device * world;
    // Also catches a transformation that is not a number.
    return scale >= kSmallestPageScale ? std::min(scale, kLargestPageScale) : kSmallestPageScale;
}

void drawPicture(QPainter& painter, QPoint at, const QImage& picture, QRect source)
{
    const bool scaled = painter.device() && painter.device()->devicePixelRatio() != picture.devicePixelRatio();
    painter.save();
    if (scaled)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (source.isNull())
        painter.drawImage(at, picture);
    else
        painter.drawImage(at, picture, source);
    painter.restore();
}

} // namespace ponderix
