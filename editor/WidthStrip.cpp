#include "editor/WidthStrip.h"

#include <algorithm>

#include "editor/MatrixGeometry.h"

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

WidthStrip::WidthStrip(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WidthStrip::setMark(int criteriaAddWidth)
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
    painter.fillRect(QRect(m_mark, 0, kStripMarkSize, kStripMarkSize), kStripMark);
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
