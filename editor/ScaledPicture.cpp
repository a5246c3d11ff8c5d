#include "editor/ScaledPicture.h"

#include <QPainter>

#include <algorithm>

namespace ponderix {

QPixmap ScaledPicture::at(qreal ratio) const
{
    const auto drawn =
        std::find_if(m_drawn.begin(), m_drawn.end(), [ratio](const auto& entry) { return entry.first == ratio; });
    if (drawn != m_drawn.end())
        return drawn->second;
    return m_drawn.emplace_back(ratio, QPixmap::fromImage(BuiltInImages::draw(m_which, ratio))).second;
}

PictureView::PictureView(QWidget* parent, BuiltInImages::Picture which) : QWidget(parent), m_picture(which) { }

QSize PictureView::sizeHint() const
{
    return m_picture.at(1.0).size();
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // A pixmap carrying the painter's ratio maps one to one onto the screen.
    painter.drawPixmap(rect(), m_picture.at(painter.device()->devicePixelRatioF()));
}

} // namespace ponderix
