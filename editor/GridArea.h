#pragma once

#include <QScrollArea>

#include <functional>

namespace ponderix {

// The rating grid's scroll area. Its cells get their controls only when they
// come into sight, so the order in which controls were made says nothing
// about where they stand; Tab and Shift+Tab ask the view for the next control
// by position instead.
class GridArea final : public QScrollArea {
    Q_OBJECT

public:
    // Given the focused control and the direction, the control to focus next,
    // or nullptr to leave the grid the usual way.
    using TabStep = std::function<QWidget*(QWidget* focused, bool forward)>;

    explicit GridArea(QWidget* parent);

    void setTabStep(TabStep step) { m_tabStep = std::move(step); }

protected:
    bool focusNextPrevChild(bool next) override;

private:
    TabStep m_tabStep;
};

} // namespace ponderix
