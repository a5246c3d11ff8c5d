#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace ponderix {

class ScaledPicture;

// A button that is nothing but its picture, drawn at the button's full size:
// the add, delete, comment and arrow buttons of the matrix. Pressed, it
// shifts its picture by a pixel; with the keyboard focus it shows the
// view's focus ring, so that the focus moved there after a slider event can
// be seen.
// It takes a double-click as one click, Space or Enter as a press, lets no
// arrow key through, shows its tooltip (a comment, for the comment buttons)
// as plain text and is named by it for screen readers, unless it is given
// a name of its own.
class ImageButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit ImageButton(QWidget* parent);

    // Shared, not copied: every button showing the same picture draws it from
    // one ScaledPicture, which must outlive the button. nullptr shows nothing.
    void setPicture(const ScaledPicture* picture);
    // The picture as the button's screen shows it: at its density.
    QPixmap pixmap() const;

    QSize sizeHint() const override;

    // Names the button for screen readers by `name` from now on, rather
    // than by its tooltip.
    void setSpokenName(const QString& name);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const ScaledPicture* m_picture = nullptr;
    bool m_namedByToolTip = true;
};

} // namespace ponderix
