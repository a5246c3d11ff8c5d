#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace ponderix {

// A button that is nothing but its picture, drawn at the button's full size:
// the add, delete, comment and arrow buttons of the matrix. Pressed, it
// shifts its picture by a pixel; with the keyboard focus it shows a dotted
// frame, so that the focus moved there after a slider event can be seen.
// It takes a double-click as one click, Space or Enter as a press, lets no
// arrow key through, shows its tooltip (a comment, for the comment buttons)
// as plain text and is named by it for screen readers.
class ImageButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit ImageButton(QWidget* parent);

    // Implicitly shared: every button showing the same picture holds one copy.
    void setPixmap(const QPixmap& pixmap);
    const QPixmap& pixmap() const { return m_pixmap; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap m_pixmap;
};

} // namespace ponderix
