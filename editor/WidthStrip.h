#pragma once

#include "base/SettingsFile.h"

#include <QWidget>

namespace ponderix {

// The width a click at `x` chooses: near the left end means 0.
int criteriaAddWidthForClick(int x);

// The thin strip under the grid on which a click chooses the extra width of
// the criterion column; a small grey mark shows the width chosen. Without a
// mouse, the arrow, page, Home and End keys move the mark while the strip has
// the focus, and Enter or Space chooses the width under it, as a click would.
class WidthStrip final : public QWidget {
    Q_OBJECT

public:
    explicit WidthStrip(QWidget* parent);

    int mark() const { return m_mark; }
    void setMark(int criteriaAddWidth);
    // Chooses the width, limited to 0..277, as Enter on the mark does.
    void choose(int criteriaAddWidth);

signals:
    // A left click, already limited: near the left end means 0, and the
    // widest choice is 277.
    void widthChosen(int criteriaAddWidth);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showMark(int criteriaAddWidth);

    int m_mark = 0;
    int m_chosen = 0; // the width in use; the mark differs while keys move it
    bool m_pressed = false;
};

} // namespace ponderix
