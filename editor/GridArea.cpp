#include "editor/GridArea.h"

#include <QApplication>

namespace ponderix {

GridArea::GridArea(QWidget* parent) : QScrollArea(parent) {}

bool GridArea::focusNextPrevChild(bool next)
{
    QWidget* focused = QApplication::focusWidget();
    if (m_tabStep && focused && isAncestorOf(focused)) {
        if (QWidget* target = m_tabStep(focused, next)) {
            target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            ensureWidgetVisible(target);
            return true;
        }
    }
    return QScrollArea::focusNextPrevChild(next);
}

} // namespace ponderix
