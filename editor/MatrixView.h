#pragma once

#include "document/Document.h"
#include "project/Project.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <memory>

class QAbstractButton;
class QFrame;
class QLabel;
class QScrollArea;
class QWidget;

namespace ponderix {

// The most rating positions (options × criteria) the matrix shows: each has
// a cell of its own, and past this a project would take the desktop seconds
// and gigabytes to open. ponderix-cli still reads larger files.
inline constexpr qint64 kShowableRatingLimit = 100'000;

class CriterionCell;
class OptionCell;
class RatingCell;

// The working area of the main window: the project banner, the corner panel
// with the two add buttons, the option header strip, the criterion column and
// the rating grid (frozen headers that follow the grid), the column-width strip
// and the status line. The view changes nothing itself: it reports the user's
// edits (a typed name, a moved slider) and requests through its signals, and
// shows the project again when told what changed (see wireMatrixView).
class MatrixView final : public QObject {
    Q_OBJECT

public:
    // Creates the fixed controls inside `client` (the main window's client area,
    // already at its initial size), laid out for `criteriaAddWidth`, which stays
    // fixed for the life of the view. `legendText` goes under every importance slider.
    // While the view lives, the mouse wheel anywhere over `client` scrolls the
    // rating grid and never moves a slider.
    MatrixView(QWidget* client, const Project& project, int criteriaAddWidth, const QString& legendText);
    ~MatrixView() override;

    // Keeps the right and bottom margins recorded at creation for a new client size.
    void relayout(QSize clientSize);

    // Cells. Each is placed by its indexes when built and never moved afterwards.
    void clearCells();
    void buildOptionCell(int optionIndex);
    void buildCriterionCell(int criterionIndex);
    void buildRatingCell(int optionIndex, int criterionIndex, bool showValue);
    // Every cell from the model, options, then criteria, then ratings in list order.
    void buildAllCells(bool showValues);

    // Inner sizes: columns x 140 + 10 wide (header strip and grid), rows x 110 + 10
    // high (criterion column and grid). The two halves are also available alone,
    // for commands that change only one direction.
    void sizeAreas(int columns, int rows);
    void sizeColumns(int columns);
    void sizeRows(int rows);
    void updateStatusLine();

    void setBanner(const QString& text);
    QString banner() const;

    // After the model exchanged two neighbours' contents: the cells stay in
    // place and show the exchanged names, importances, slider positions,
    // value-box texts and positions, comments and comment buttons.
    void entriesSwapped(EntryKind kind, int first, int second);
    void commentChanged(int optionIndex, int criterionIndex);

    // After the model changed behind a control: the control shows the model
    // again, its signals blocked so that this never comes back as the
    // user's edit. A rating's value box shows the value only when `shown`.
    void showName(EntryKind kind, int index);
    void showImportance(int criterionIndex);
    void showRatingValue(int optionIndex, int criterionIndex, bool shown);
    // After the model gained an entry at its end: its cells, the inner size,
    // the status line. The new ratings' boxes stay empty until moved.
    void entryAppended(EntryKind kind);
    // After the model lost its last entry: the same taken away again.
    void lastEntryRemoved(EntryKind kind);
    // After an entry was taken out or put back: every cell is built again,
    // since the letters and numbers follow the positions.
    void entriesRenumbered(EntryKind kind);
    // After the model was replaced: every cell, the inner size (a missing
    // group sized as for one entry) and the status line.
    void showProject();

    using Control = FocusTarget;
    // Scrolls the control into sight and gives it the keyboard focus: an
    // option's or criterion's control by `index`, a rating's by `index`
    // (option) and `criterionIndex`.
    void focusControl(Control control, int index = 0, int criterionIndex = 0);

    // Redraws the column-width strip with its mark at `criteriaAddWidth`.
    void drawWidthStrip(int criteriaAddWidth);
    // The extra width of criterion cells built from now on; the fixed layout
    // keeps the width it was created with. A click on the strip sets it too.
    void setCellCriteriaAddWidth(int criteriaAddWidth);
    int cellCriteriaAddWidth() const;

    // For tests and the main window.
    QScrollArea* optionHeaderArea() const;
    QScrollArea* criterionArea() const;
    QScrollArea* ratingGrid() const;
    QWidget* widthStrip() const;
    QLabel* statusLine() const;
    QLabel* bannerLabel() const;
    QFrame* cornerPanel() const;
    QAbstractButton* addOptionButton() const;
    QAbstractButton* addCriterionButton() const;
    // nullptr when no such cell is built. Cells out of sight are hidden until
    // they come near the visible part; a rating cell gets its controls then,
    // or when it is asked for here.
    OptionCell* optionCell(int optionIndex) const;
    CriterionCell* criterionCell(int criterionIndex) const;
    RatingCell* ratingCell(int optionIndex, int criterionIndex) const;

signals:
    void addOptionRequested();
    void addCriterionRequested();
    void deleteOptionRequested(int optionIndex);
    void deleteCriterionRequested(int criterionIndex);
    void moveOptionRequested(int optionIndex, ponderix::MoveDirection direction);
    void moveCriterionRequested(int criterionIndex, ponderix::MoveDirection direction);
    void commentRequested(int optionIndex, int criterionIndex);
    // The user's edits, reported before the model has them: the model still
    // holds the old value. `dragging` is true while the knob is held.
    void nameEdited(ponderix::EntryKind kind, int index, const QString& name);
    void importanceEdited(int criterionIndex, int importance, bool dragging);
    void valueEdited(int optionIndex, int criterionIndex, int value, bool valueWasShown, bool dragging);
    // A run of small edits ended: the field lost the focus or took Enter,
    // the knob was taken or let go.
    void editRunEnded();
    // A left click on the strip, already limited to 0..277 and already in use
    // for criterion cells built from now on.
    void criteriaAddWidthChosen(int criteriaAddWidth);

private:
    // Sizes the inner areas in the direction `kind`'s entries run.
    void sizeEntries(EntryKind kind);

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace ponderix
