#pragma once

#include "base/BuiltInImages.h"

#include <QPixmap>
#include <QWidget>

#include <utility>
#include <vector>

namespace ponderix {

// One built-in picture for every screen density it has been shown at, each
// drawn on first use at that density. Cells share one per picture, so a
// project of thousands of cells holds each density once.
class ScaledPicture final {
public:
    explicit ScaledPicture(BuiltInImages::Picture which) : m_which(which) { }

    // `ratio` times the picture's pixels each way, carrying that ratio.
    QPixmap at(qreal ratio) const;

private:
    BuiltInImages::Picture m_which;
    // Rarely more than one or two: a window moved between two screens.
    mutable std::vector<std::pair<qreal, QPixmap>> m_drawn;
};

// A picture and nothing else, drawn at the density of the screen the widget
// is on, also after it moves to another one.
class PictureView final : public QWidget {
    Q_OBJECT

public:
    PictureView(QWidget* parent, BuiltInImages::Picture which);

    // What it shows now.
    QPixmap pixmap() const { return m_picture.at(devicePixelRatioF()); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ScaledPicture m_picture;
};

} // namespace ponderix
