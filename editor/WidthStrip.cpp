#include "editor/WidthStrip.h"

#include <algorithm>

#include "editor/MatrixGeometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ponderix {

int criteriaAddWidthForClick(int x)
{
    if (x < 5)
        return 0;
    return std::min(x, kCriteriaAddWidthMax);
}

using namespace matrix;

namespace {
constexpr int kFocusTintAlpha = 110;
} // namespace

WidthStrip::WidthStrip(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reached by Tab only: a click chooses at once and needs no focus.
    setFocusPolicy(Qt::TabFocus);
}

void WidthStrip::setMark(int criteriaAddWidth)
{
    m_chosen = criteriaAddWidth;
    showMark(criteriaAddWidth);
}

void WidthStrip::showMark(int criteriaAddWidth)
{
    m_mark = criteriaAddWidth;
    // At once, not at the next paint: the message that follows a click is
    // modal, and the user should see the new mark behind it.
    repaint();
}

void WidthStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kStripBackground);
    if (hasFocus()) {
        // Tinted while it has the keyboard focus: the strip is as thin as
        // its mark, too thin for a focus frame.
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(kFocusTintAlpha);
        painter.fillRect(rect(), tint);
    }
    painter.fillRect(QRect(m_mark, 0, kStripMarkSize, kStripMarkSize), kStripMark);
}

void WidthStrip::keyPressEvent(QKeyEvent* event)
{
    int mark = m_mark;
    switch (event->key()) {
    case Qt::Key_Left:
        mark -= 1;
        break;
    case Qt::Key_Right:
        mark += 1;
        break;
    case Qt::Key_PageUp:
        mark -= 10;
        break;
    case Qt::Key_PageDown:
        mark += 10;
        break;
    case Qt::Key_Home:
        mark = 0;
        break;
    case Qt::Key_End:
        mark = kCriteriaAddWidthMax;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        if (event->isAutoRepeat())
            return;
        setMark(m_mark);
        emit widthChosen(m_mark);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    showMark(std::clamp(mark, 0, kCriteriaAddWidthMax));
}

void WidthStrip::focusOutEvent(QFocusEvent* event)
{
    // A mark moved by the keys but never chosen goes back to the width in use.
    showMark(m_chosen);
    QWidget::focusOutEvent(event);
}

void WidthStrip::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void WidthStrip::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (!click)
        return;
    const int width = criteriaAddWidthForClick(event->position().toPoint().x());
    setMark(width);
    emit widthChosen(width);
}

} // namespace ponderix
