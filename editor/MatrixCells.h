#pragma once

#include "editor/ScaledPicture.h"

#include <QFont>
#include <QFrame>
#include <QPalette>
#include <QPixmap>
#include <QSlider>
#include <QStaticText>
#include <QString>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;

namespace ponderix {

class ImageButton;

// What every cell shares: one picture of each kind (at every density shown), one font per role, one
// palette for the blue titles. A project of thousands of cells then holds each
// of them once instead of once per control.
struct CellResources {
    CellResources();

    QFont titleFont;
    QFont legendFont;
    // The legend font, its blanks narrowed where needed so that "-5", "0"
    // and "+5" of the scale caption stand under the slider's end and middle
    // ticks; rating cells draw their caption and value box with it.
    QFont ratingFont;
    QPalette titlePalette; // white on title blue
    ScaledPicture deletePicture{BuiltInImages::Picture::Delete};
    ScaledPicture commentPresent{BuiltInImages::Picture::CommentPresent};
    ScaledPicture commentAbsent{BuiltInImages::Picture::CommentAbsent};
    ScaledPicture scale{BuiltInImages::Picture::Scale};
    ScaledPicture arrowLeft{BuiltInImages::Picture::ArrowLeft};
    ScaledPicture arrowRight{BuiltInImages::Picture::ArrowRight};
    ScaledPicture arrowUp{BuiltInImages::Picture::ArrowUp};
    ScaledPicture arrowDown{BuiltInImages::Picture::ArrowDown};
    QString scaleCaption;
    QStaticText scaleCaptionLayout; // laid out once, drawn by every cell
    QPoint scaleCaptionPosition;
    // The names of the entries at a position, as the project holds them now:
    // what assistive technology reads follows every rename and move.
    std::function<QString(int optionIndex)> optionName;
    std::function<QString(int criterionIndex)> criterionName;
};

// A cell's slider. It tells a change made with the keys from one made with
// the mouse: after a mouse change the focus moves on to a button, so that
// the wheel cannot change the value by accident, but a keyboard user keeps
// the focus on the slider and goes on with the arrows, Page Up/Down, Home
// and End.
class CellSlider final : public QSlider {
    Q_OBJECT

public:
    explicit CellSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) { }

    // True while a key pressed on the slider is being handled.
    bool changingByKey() const { return m_changingByKey; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_changingByKey = false;
};

// A cell's container: a thin sunken border, its children placed inside it.
class CellFrame : public QFrame {
public:
    explicit CellFrame(QWidget* parent);
};

// An option's header cell in the option header strip.
class OptionCell final : public CellFrame {
public:
    OptionCell(QWidget* parent, const CellResources& resources, int optionIndex, const QString& name);

    int optionIndex() const { return m_optionIndex; }
    // The cell's controls in reading order, for Tab.
    std::vector<QWidget*> controls() const;
    ImageButton* moveLeftButton() const { return m_moveLeft; }
    ImageButton* moveRightButton() const { return m_moveRight; }
    QLabel* title() const { return m_title; }
    ImageButton* deleteButton() const { return m_delete; }
    QLineEdit* nameField() const { return m_name; }

private:
    int m_optionIndex;
    ImageButton* m_moveLeft;
    ImageButton* m_moveRight;
    QLabel* m_title;
    ImageButton* m_delete;
    QLineEdit* m_name;
};

// A criterion's cell in the criterion column; `criteriaAddWidth` widens it.
class CriterionCell final : public CellFrame {
public:
    CriterionCell(QWidget* parent, const CellResources& resources, int criterionIndex, int criteriaAddWidth,
                  const QString& name, int importance, const QString& legendText);

    int criterionIndex() const { return m_criterionIndex; }
    std::vector<QWidget*> controls() const;
    ImageButton* moveUpButton() const { return m_moveUp; }
    ImageButton* moveDownButton() const { return m_moveDown; }
    QLabel* title() const { return m_title; }
    ImageButton* deleteButton() const { return m_delete; }
    QLineEdit* nameField() const { return m_name; }
    CellSlider* importanceSlider() const { return m_importance; }
    QLabel* legend() const { return m_legend; }

    // Shows another importance without reporting it as the user's move.
    void showImportance(int importance);

    // What assistive technology reads for the importance slider:
    // "Importance of criterion 1, Price" and "High, 5 of 5".
    QString importanceName() const;
    QString importanceValueText() const;

private:
    const CellResources& m_resources;
    int m_criterionIndex;
    ImageButton* m_moveUp;
    ImageButton* m_moveDown;
    QLabel* m_title;
    ImageButton* m_delete;
    QLineEdit* m_name;
    CellSlider* m_importance;
    QLabel* m_legend;
};

// A rating's cell in the grid. It draws its border, title, colour scale,
// value box and scale caption itself; its two controls, the comment button
// and the slider, are made by complete() when the cell first comes into
// sight. A project of thousands of ratings thus opens at the cost of the
// few cells on the screen. Whether the value box shows the value yet is the
// cell's own state: a fresh rating keeps it empty until the user moves its
// slider, so that untouched ratings stand out.
class RatingCell final : public QWidget {
    Q_OBJECT

public:
    RatingCell(QWidget* parent, const CellResources& resources, int optionIndex, int criterionIndex, int value,
               bool valueShown);

    int optionIndex() const { return m_optionIndex; }
    int criterionIndex() const { return m_criterionIndex; }

    bool isComplete() const { return m_slider != nullptr; }
    // Makes the comment button and the slider; false when they already exist.
    bool complete(const QString& comment);
    // Both nullptr until the cell is complete.
    ImageButton* commentButton() const { return m_comment; }
    CellSlider* valueSlider() const { return m_slider; }

    // What the cell draws, for tests and for assistive technology.
    QString titleText() const;
    QString valueText() const;
    // What assistive technology reads for the cell and its slider:
    // "Rating A:1, Price, Car SUV T7", the value as "+4".
    QString spokenName() const;
    QString spokenValue() const;
    std::vector<QWidget*> controls() const;
    QString scaleCaptionText() const { return m_resources.scaleCaption; }
    // The value box in the cell's client area, inside its border.
    QRect valueBoxRect() const;

    int value() const { return m_value; }
    bool valueShown() const { return m_valueShown; }
    // Shows `value` on the slider and places the box over it; the box reads
    // the value only when `shown`.
    void showValue(int value, bool shown);
    // Only a complete cell has a button to show it on; an incomplete one
    // takes the comment when it is completed.
    void showComment(const QString& comment);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CellResources& m_resources;
    ImageButton* m_comment = nullptr;
    CellSlider* m_slider = nullptr;
    int m_optionIndex;
    int m_criterionIndex;
    int m_value;
    bool m_valueShown;
};

// Lets assistive technology read a rating cell's drawn title and value, and
// the matrix's sliders by what they stand for, their values as the user reads
// them ("+4", "High, 5 of 5") rather than the positions behind them.
void installRatingCellAccessibility();

} // namespace ponderix
