#include "editor/ImageButton.h"

#include "editor/MatrixGeometry.h"
#include "editor/ScaledPicture.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// A tooltip takes anything that looks like markup for markup, but a comment
// comes from whoever wrote the file and is shown as typed: such a text goes
// in escaped, in a paragraph that keeps its blanks and line breaks as plain
// text would. Any other text is shown as it is, exactly as before.
QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return u"<p style='white-space:pre'>"_s + text.toHtmlEscaped() + u"</p>"_s;
}

} // namespace

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ImageButton::setPicture(const ScaledPicture* picture)
{
    m_picture = picture;
    update();
}

QPixmap ImageButton::pixmap() const
{
    return m_picture ? m_picture->at(devicePixelRatioF()) : QPixmap();
}

QSize ImageButton::sizeHint() const
{
    return m_picture ? m_picture->at(1.0).size() : QSize(24, 24);
}

bool ImageButton::event(QEvent* event)
{
    // The picture says nothing to a screen reader; the tooltip says what the
    // button does (or, on a comment button, the comment), so it names it.
    if (event->type() == QEvent::ToolTipChange && m_namedByToolTip)
        setAccessibleName(toolTip());
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<const QHelpEvent*>(event);
        if (toolTip().isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), plainToolTip(toolTip()), this, QRect(), toolTipDuration());
        return true;
    }
    return QAbstractButton::event(event);
}

void ImageButton::setSpokenName(const QString& name)
{
    m_namedByToolTip = false;
    setAccessibleName(name);
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int shift = isDown() ? 1 : 0;
    // Drawn at the density of the screen being painted, so a dense screen
    // gets the picture's own finer pixels rather than the 1x ones blown up.
    if (m_picture)
        painter.drawPixmap(QRect(QPoint(shift, shift), size()), m_picture->at(painter.device()->devicePixelRatioF()));
    if (hasFocus()) {
        // Over the picture's edge: the style's dotted line is lost on it.
        const int ring = matrix::kFocusRingWidth;
        painter.setPen(QPen(matrix::kFocusRing, ring, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(ring / 2.0, ring / 2.0, -ring / 2.0, -ring / 2.0));
    }
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first press of a double-click has already clicked. Taken as a
    // press of its own, the second would add two options, or move an entry
    // there and straight back.
    event->accept();
}

void ImageButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // A button would pass an arrow on as a focus move, or to the grid;
        // the focus sits here after a slider event so that the keys stop
        // changing ratings, and an arrow walking it onto the next slider
        // would change one the user never touched.
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter presses the button as Space does. A held key does not
        // repeat: it would delete one entry after another.
        event->accept();
        if (!event->isAutoRepeat())
            click();
        return;
    default:
        QAbstractButton::keyPressEvent(event);
    }
}

} // namespace ponderix
