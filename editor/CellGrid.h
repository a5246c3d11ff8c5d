#pragma once

#include "editor/MatrixCells.h"
#include "project/Project.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class QScrollArea;

namespace ponderix {

// The cells of the three scrolled areas: option headers, criterion cells and
// rating cells, each built from the model and placed by its indexes. What the
// user types or moves, and what changes the project's structure, is reported
// through the signals; the receiver records it as a step of the edit
// history, which writes it into the model.
//
// Cells out of sight stay hidden until they first come within a row or
// column of the grid's visible part (reveal), and a rating cell gets its
// controls only then, so that a project of thousands of cells opens at the
// cost of a screenful.
class CellGrid final : public QObject {
    Q_OBJECT

public:
    struct Panes {
        QWidget* options;  // inner pane of the option header strip
        QWidget* criteria; // inner pane of the criterion column
        QScrollArea* grid; // the rating grid, its inner pane set
    };

    CellGrid(const Project& project, Panes panes, int criteriaAddWidth, const QString& legendText);

    void clear();
    void buildOption(int optionIndex);
    void buildCriterion(int criterionIndex);
    void buildRating(int optionIndex, int criterionIndex, bool showValue);
    void buildAll(bool showValues);

    // Shows the cells near the grid's visible part; call after it scrolled
    // or changed size.
    void reveal();

    void optionsSwapped(int first, int second);
    void criteriaSwapped(int first, int second);
    void commentChanged(int optionIndex, int criterionIndex);

    // The controls show the model again, without reporting it as an edit.
    void showOptionName(int optionIndex);
    void showCriterionName(int criterionIndex);
    void showImportance(int criterionIndex);
    void showRatingValue(int optionIndex, int criterionIndex, bool shown);
    // Takes away the cells of entries the model no longer has at its end.
    void dropCellsBeyondModel();

    // The extra width of criterion cells built from now on.
    void setCriteriaAddWidth(int criteriaAddWidth) { m_criteriaAddWidth = criteriaAddWidth; }
    int criteriaAddWidth() const { return m_criteriaAddWidth; }

    // The control Tab (or Shift+Tab) leads to from a cell's control, in
    // reading order: option headers, then each criterion followed by its
    // row of ratings; nullptr past either end. Cells get their controls in the order
    // they come into sight, so the focus chain says nothing about where
    // they stand.
    QWidget* tabStep(QWidget* focused, bool forward);
    // The first (last) control of the cells, for Tab (Shift+Tab) coming in
    // from outside them; nullptr when the matrix is empty.
    QWidget* entryControl(bool forward);
    // Whether `widget` is one of the cells or inside one.
    bool holds(const QWidget* widget) const;

    OptionCell* optionCell(int optionIndex) const;
    CriterionCell* criterionCell(int criterionIndex) const;
    // Completes the cell before handing it out.
    RatingCell* ratingCell(int optionIndex, int criterionIndex);

signals:
    void deleteOptionRequested(int optionIndex);
    void deleteCriterionRequested(int criterionIndex);
    void moveOptionRequested(int optionIndex, ponderix::MoveDirection direction);
    void moveCriterionRequested(int criterionIndex, ponderix::MoveDirection direction);
    void commentRequested(int optionIndex, int criterionIndex);
    // The user's edits, reported before the model has them: the model still
    // holds the old value. `dragging` is true while the knob is held.
    void optionNameEdited(int optionIndex, const QString& name);
    void criterionNameEdited(int criterionIndex, const QString& name);
    void importanceEdited(int criterionIndex, int importance, bool dragging);
    void valueEdited(int optionIndex, int criterionIndex, int value, bool valueWasShown, bool dragging);
    // A run of small edits ended: the field lost the focus or took Enter,
    // the knob was taken or let go.
    void editRunEnded();

private:
    // The grid's rows each get a container of their own. Qt works out what
    // to paint by subtracting every opaque sibling from a widget's region;
    // with thousands of cells side by side under one parent that alone takes
    // seconds, with a row in between it is a few dozen at every level.
    struct Stop {
        int row = -1;    // criterion index; -1 for the option headers
        int column = -1; // option index; -1 for the criterion cell
    };

    struct Row {
        QWidget* widget = nullptr;
        std::vector<RatingCell*> cells; // by option index; nullptr where none is built
    };

    Row& rowFor(int criterionIndex);
    RatingCell* cellAt(int optionIndex, int criterionIndex) const;
    void place(QWidget* cell, const QRect& paneRect);
    void complete(RatingCell* cell);
    void swapRatingCells(int firstOption, int firstCriterion, int secondOption, int secondCriterion);
    std::optional<Stop> neighbour(Stop stop, bool forward) const;
    // The cell's enabled controls in reading order, the cell shown and a
    // rating cell completed first; empty where no cell is built.
    std::vector<QWidget*> controlsAt(Stop stop);
    // Tells assistive technology that the names read for an option's column
    // (`optionIndex`) or a criterion's row (`criterionIndex`) changed; the
    // other index is -1.
    void announceNames(int optionIndex, int criterionIndex);

    const Project& m_project;
    CellResources m_resources;
    Panes m_panes;
    QWidget* m_gridPane;
    int m_criteriaAddWidth;
    QString m_legendText;
    std::vector<OptionCell*> m_optionCells;
    std::vector<CriterionCell*> m_criterionCells;
    std::vector<Row> m_rows;
    bool m_buildingAll = false; // reveal once at the end, not per cell
    QObject* m_fieldUndo;       // lets Ctrl+Z past a name field with nothing of its own to undo
};

} // namespace ponderix
