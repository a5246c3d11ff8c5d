#pragma once

// What the three result pages share: colours, the title bar, text placed by
// its top-left corner, and the scale with its marker.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

namespace ponderix {

inline constexpr int kPageWidth = 700;
inline const QColor kHeaderColour(98, 116, 205);

inline constexpr QRect kTitleBar(5, 10, 690, 30);
inline constexpr QPoint kTitleText(15, 16);
inline constexpr int kLabelX = 15;
inline constexpr int kValueX = 115;
inline constexpr int kRow1Y = 60;
inline constexpr int kRow2Y = 80;
inline constexpr int kRow3Y = 100;
inline constexpr QPoint kChartPosition(15, 190);

// "Title  "banner"" on the header colour, white.
void drawTitleBar(QPainter& painter, const QString& title, const QString& banner);

// Text whose top-left corner stands at (x, y), background untouched. This
// and the functions below show at most displayText() of a text.
void drawTextAt(QPainter& painter, int x, int y, const QString& text, const QFont& font, const QColor& colour);

// `text` cut to fit `width` with "…" at the end.
QString elided(const QString& text, const QFont& font, int width);

// Text broken into lines at word boundaries to fit `width`, its top-left
// corner at (x, y); a word longer than the width is broken inside. Returns
// the height the lines take, which textHeight() gives without drawing.
int drawWrappedText(QPainter& painter, int x, int y, int width, const QString& text, const QFont& font,
                    const QColor& colour);
int textHeight(const QString& text, const QFont& font, int width);

// Text in `box` aligned by `flags` (Qt::AlignmentFlag | Qt::TextFlag), as
// QPainter::drawText places it; what does not fit is clipped.
void drawTextInBox(QPainter& painter, QRect box, int flags, const QString& text, const QFont& font,
                   const QColor& colour);

// One text a page drew: where it stood, and whether it lost part of itself
// (elided, broken inside a word, or larger than its box).
struct DrawnText {
    QString text;
    QRect place;
    bool cut = false;
};

// While one lives, the functions above note every text they draw or elide,
// so that a check can see whether the translations fit their places. With
// none alive they cost one test of a pointer.
class PageTextRecorder final {
public:
    PageTextRecorder();
    ~PageTextRecorder();
    PageTextRecorder(const PageTextRecorder&) = delete;
    PageTextRecorder& operator=(const PageTextRecorder&) = delete;

    // The one alive, or null.
    static PageTextRecorder* current();

    const std::vector<DrawnText>& texts() const { return m_texts; }
    void clear() { m_texts.clear(); }
    void note(DrawnText text) { m_texts.push_back(std::move(text)); }

private:
    std::vector<DrawnText> m_texts;
};

// The red-to-green scale under the rows, its three captions, and for a score
// the black marker over it.
void drawScale(QPainter& painter);
void drawMarker(QPainter& painter, int score);

// How many device pixels a page pixel takes where `painter` paints: the
// screen's ratio on a page picture, the fit to the paper on a printer. The
// pictures on a page (charts, backgrounds) are drawn at it, 1 at the least
// and kLargestPageScale at the most.
qreal pictureScale(const QPainter& painter);

// A picture drawn at its own size (a chart, a built-in background): smoothed
// when the page is drawn at a higher ratio than the picture has.
void drawPicture(QPainter& painter, QPoint at, const QImage& picture, QRect source = QRect());

} // namespace ponderix
