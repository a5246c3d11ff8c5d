#include "editor/HeaderArea.h"

namespace ponderix {

HeaderArea::HeaderArea(QWidget* parent) : QScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
}

void HeaderArea::setTrailingMargin(Qt::Orientation orientation, int margin)
{
    const QMargins current = viewportMargins();
    const QMargins wanted = orientation == Qt::Horizontal ? QMargins(0, 0, margin, current.bottom())
                                                          : QMargins(0, 0, current.right(), margin);
    if (wanted != current)
        setViewportMargins(wanted);
}

bool HeaderArea::focusNextPrevChild(bool next)
{
    // Skips QScrollArea's own scrolling to the new focus widget.
    return QWidget::focusNextPrevChild(next);
}

} // namespace ponderix
