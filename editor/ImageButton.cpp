#include "editor/ImageButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace ponderix {

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ImageButton::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    update();
}

QSize ImageButton::sizeHint() const
{
    return m_pixmap.isNull() ? QSize(24, 24) : m_pixmap.deviceIndependentSize().toSize();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int shift = isDown() ? 1 : 0;
    painter.drawPixmap(QRect(QPoint(shift, shift), size()), m_pixmap);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace ponderix
