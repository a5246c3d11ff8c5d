#pragma once

#include <QScrollArea>

namespace ponderix {

// The option header strip and the criterion column: scroll areas without
// scroll bars of their own that only ever follow the rating grid. Moving the
// focus through their fields does not scroll them; the view scrolls the grid
// instead, and they follow.
class HeaderArea final : public QScrollArea {
    Q_OBJECT

public:
    explicit HeaderArea(QWidget* parent);

    // Room kept free at the right (or bottom) end of the area, the width of
    // the grid's scroll bar, so that both show the same stretch of columns
    // (rows) and can scroll exactly as far as the grid.
    void setTrailingMargin(Qt::Orientation orientation, int margin);

protected:
    bool focusNextPrevChild(bool next) override;
};

} // namespace ponderix
