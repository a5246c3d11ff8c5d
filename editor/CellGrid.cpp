#include "editor/CellGrid.h"

#include "base/DisplayText.h"
#include "editor/ImageButton.h"
#include "editor/MatrixGeometry.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVariant>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace ponderix {

using namespace matrix;

namespace {

// Hides the panes while many cells are built into them or taken out of them,
// so that each is shown and painted once instead of cell by cell.
class PaneHider final {
public:
    explicit PaneHider(std::initializer_list<QWidget*> panes)
    {
        for (QWidget* pane : panes) {
            if (pane->isVisibleTo(pane->parentWidget())) {
                pane->hide();
                m_hidden.push_back(pane);
            }
        }
    }
    ~PaneHider()
    {
        for (QWidget* pane : m_hidden)
            pane->show();
    }
    PaneHider(const PaneHider&) = delete;
    PaneHider& operator=(const PaneHider&) = delete;

private:
    std::vector<QWidget*> m_hidden;
};

template <typename Cell> Cell*& slotFor(std::vector<Cell*>& cells, int index)
{
    const auto position = static_cast<std::size_t>(index);
    if (cells.size() <= position)
        cells.resize(position + 1, nullptr);
    return cells[position];
}

template <typename Cell> Cell* cellOf(const std::vector<Cell*>& cells, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < cells.size() ? cells[static_cast<std::size_t>(index)]
                                                                        : nullptr;
}

void showOnce(QWidget* widget)
{
    if (widget && widget->isHidden())
        widget->show();
}

// A name field undoes its own typing first, as every text field does; once
// it has nothing left to undo (or redo), the keys go on to the window's Undo
// and Redo, which step back through the project's edits.
class FieldUndoPassage final : public QObject {
public:
    explicit FieldUndoPassage(QObject* parent) : QObject(parent) { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        auto* field = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (!field)
            return false;
        const bool passOn = (key->matches(QKeySequence::Undo) && !field->isUndoAvailable())
                            || (key->matches(QKeySequence::Redo) && !field->isRedoAvailable());
        if (!passOn)
            return false;
        event->ignore();
        return true;
    }
};

// What a name field showed before its latest change: an edit of a cut
// name is applied to the whole name through it.
constexpr char kShownBefore[] = "ponderixShownBefore";

// A field that already shows the name (the user is typing in it) keeps its
// text and cursor.
void setNameQuietly(QLineEdit* field, const QString& name)
{
    if (showsText(field->text(), name))
        return;
    const QSignalBlocker quiet(field);
    field->setText(displayText(name));
    field->setProperty(kShownBefore, field->text());
    field->setCursorPosition(0);
}

// The whole name after the user's change to the field.
QString editedName(QLineEdit* field, const QString& name, const QString& typed)
{
    const QVariant before = field->property(kShownBefore);
    field->setProperty(kShownBefore, typed);
    return withShownEdit(name, before.isValid() ? before.toString() : displayText(name), typed);
}

} // namespace

CellGrid::CellGrid(const Project& project, Panes panes, int criteriaAddWidth, const QString& legendText)
    : m_project(project), m_resources(), m_panes(panes), m_gridPane(panes.grid->widget()),
      m_criteriaAddWidth(criteriaAddWidth), m_legendText(legendText), m_fieldUndo(new FieldUndoPassage(this))
{
    m_resources.optionName = [this](int optionIndex) {
        return optionIndex < m_project.optionCount()
                   ? displayText(m_project.options()[static_cast<std::size_t>(optionIndex)].Name)
                   : QString();
    };
    m_resources.criterionName = [this](int criterionIndex) {
        return criterionIndex < m_project.criterionCount()
                   ? displayText(m_project.criteria()[static_cast<std::size_t>(criterionIndex)].Name)
                   : QString();
    };
    installRatingCellAccessibility();
}

void CellGrid::clear()
{
    const PaneHider hidden({m_panes.options, m_panes.criteria, m_gridPane});
    for (Row& row : m_rows)
        delete row.widget;
    m_rows.clear();
    for (CriterionCell* cell : m_criterionCells)
        delete cell;
    m_criterionCells.clear();
    for (OptionCell* cell : m_optionCells)
        delete cell;
    m_optionCells.clear();
}

void CellGrid::buildOption(int optionIndex)
{
    if (optionIndex < 0 || optionIndex >= m_project.optionCount())
        return;
    OptionCell*& slot = slotFor(m_optionCells, optionIndex);
    delete slot;
    const Option& option = m_project.options()[static_cast<std::size_t>(optionIndex)];
    auto* cell = new OptionCell(m_panes.options, m_resources, optionIndex, option.Name);
    slot = cell;
    cell->nameField()->installEventFilter(m_fieldUndo);
    connect(cell->nameField(), &QLineEdit::textChanged, cell, [this, cell, optionIndex](const QString& typed) {
        emit optionNameEdited(optionIndex,
                              editedName(cell->nameField(),
                                         m_project.options()[static_cast<std::size_t>(optionIndex)].Name, typed));
        announceNames(optionIndex, -1);
    });
    connect(cell->nameField(), &QLineEdit::editingFinished, this, &CellGrid::editRunEnded);
    connect(cell->moveLeftButton(), &QAbstractButton::clicked, this,
            [this, optionIndex] { emit moveOptionRequested(optionIndex, MoveDirection::Backward); });
    connect(cell->moveRightButton(), &QAbstractButton::clicked, this,
            [this, optionIndex] { emit moveOptionRequested(optionIndex, MoveDirection::Forward); });
    connect(cell->deleteButton(), &QAbstractButton::clicked, this,
            [this, optionIndex] { emit deleteOptionRequested(optionIndex); });
    place(cell, optionCellRect(optionIndex));
}

void CellGrid::buildCriterion(int criterionIndex)
{
    if (criterionIndex < 0 || criterionIndex >= m_project.criterionCount())
        return;
    CriterionCell*& slot = slotFor(m_criterionCells, criterionIndex);
    delete slot;
    const Criterion& criterion = m_project.criteria()[static_cast<std::size_t>(criterionIndex)];
    auto* cell = new CriterionCell(m_panes.criteria, m_resources, criterionIndex, m_criteriaAddWidth, criterion.Name,
                                   criterion.Importance, m_legendText);
    slot = cell;
    cell->nameField()->installEventFilter(m_fieldUndo);
    connect(cell->nameField(), &QLineEdit::textChanged, cell, [this, cell, criterionIndex](const QString& typed) {
        emit criterionNameEdited(criterionIndex,
                                 editedName(cell->nameField(),
                                            m_project.criteria()[static_cast<std::size_t>(criterionIndex)].Name,
                                            typed));
        announceNames(-1, criterionIndex);
    });
    connect(cell->nameField(), &QLineEdit::editingFinished, this, &CellGrid::editRunEnded);
    // A mouse change sends the keyboard focus on to the delete button; a
    // change made with the keys leaves it on the slider for the next step.
    CellSlider* importance = cell->importanceSlider();
    connect(importance, &QSlider::valueChanged, cell, [this, cell, importance, criterionIndex](int value) {
        emit importanceEdited(criterionIndex, value, importance->isSliderDown());
        if (!importance->changingByKey())
            cell->deleteButton()->setFocus(Qt::OtherFocusReason);
    });
    connect(importance, &QSlider::sliderPressed, this, &CellGrid::editRunEnded);
    connect(importance, &QSlider::sliderReleased, cell, [this, cell] {
        emit editRunEnded();
        cell->deleteButton()->setFocus(Qt::OtherFocusReason);
    });
    connect(cell->moveUpButton(), &QAbstractButton::clicked, this,
            [this, criterionIndex] { emit moveCriterionRequested(criterionIndex, MoveDirection::Backward); });
    connect(cell->moveDownButton(), &QAbstractButton::clicked, this,
            [this, criterionIndex] { emit moveCriterionRequested(criterionIndex, MoveDirection::Forward); });
    connect(cell->deleteButton(), &QAbstractButton::clicked, this,
            [this, criterionIndex] { emit deleteCriterionRequested(criterionIndex); });
    place(cell, criterionCellRect(criterionIndex, m_criteriaAddWidth));
}

void CellGrid::buildRating(int optionIndex, int criterionIndex, bool showValue)
{
    const Rating* rating = m_project.ratingOf(optionIndex, criterionIndex);
    if (!rating)
        return;
    Row& row = rowFor(criterionIndex);
    RatingCell*& slot = slotFor(row.cells, optionIndex);
    delete slot;
    slot = new RatingCell(row.widget, m_resources, optionIndex, criterionIndex, rating->Value, showValue);
    place(slot, ratingCellRect(optionIndex, criterionIndex));
}

void CellGrid::buildAll(bool showValues)
{
    const PaneHider hidden({m_panes.options, m_panes.criteria, m_gridPane});
    m_buildingAll = true;
    for (int index = 0; index < m_project.optionCount(); ++index)
        buildOption(index);
    for (int index = 0; index < m_project.criterionCount(); ++index)
        buildCriterion(index);
    for (const Rating& rating : m_project.ratings())
        buildRating(rating.IndexOption, rating.IndexCriteria, showValues);
    m_buildingAll = false;
    reveal();
    // Every new widget has asked to be polished at the next turn of the event
    // loop. Cells out of sight need no polish until they are shown, which
    // polishes them anyway; dropping the requests saves polishing thousands
    // of hidden controls. Other widgets' requests go too, and they are
    // polished when they are shown, as every widget is.
    QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
}

void CellGrid::reveal()
{
    // Once shown, a cell stays shown; the keyboard can always go on into the
    // next row or column, which then scrolls into view and brings the one
    // after it along.
    const QScrollArea* grid = m_panes.grid;
    const auto range = [](const QScrollBar* bar, int visible, int pitch) {
        const int first = std::max(0, (bar->value() - pitch) / pitch);
        const int last = std::max(0, (bar->value() + visible + pitch) / pitch);
        return std::pair{first, last};
    };
    // Only as far as there are cells: a viewport of any size costs no more
    // than the cells the project has.
    const auto [firstRow, lastVisibleRow] = range(grid->verticalScrollBar(), grid->viewport()->height(), kRowPitch);
    const auto [firstColumn, lastVisibleColumn] =
        range(grid->horizontalScrollBar(), grid->viewport()->width(), kColumnPitch);
    const int lastRow = std::min(lastVisibleRow, static_cast<int>(m_rows.size()) - 1);
    const int lastColumn = std::min(lastVisibleColumn, m_project.optionCount() - 1);
    for (int column = firstColumn; column <= lastColumn; ++column)
        showOnce(cellOf(m_optionCells, column));
    for (int row = firstRow; row <= lastRow; ++row)
        showOnce(m_rows[static_cast<std::size_t>(row)].widget);
    for (int row = firstRow; row <= lastRow; ++row) {
        showOnce(cellOf(m_criterionCells, row));
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (RatingCell* cell = cellAt(column, row)) {
                complete(cell);
                showOnce(cell);
            }
        }
    }
}

void CellGrid::optionsSwapped(int first, int second)
{
    for (const int index : {first, second}) {
        showOptionName(index);
        announceNames(index, -1);
    }
    for (int criterion = 0; criterion < m_project.criterionCount(); ++criterion)
        swapRatingCells(first, criterion, second, criterion);
}

void CellGrid::criteriaSwapped(int first, int second)
{
    for (const int index : {first, second}) {
        if (CriterionCell* cell = criterionCell(index)) {
            const Criterion& criterion = m_project.criteria()[static_cast<std::size_t>(index)];
            setNameQuietly(cell->nameField(), criterion.Name);
            cell->showImportance(criterion.Importance);
        }
        announceNames(-1, index);
    }
    for (int option = 0; option < m_project.optionCount(); ++option)
        swapRatingCells(option, first, option, second);
}

void CellGrid::commentChanged(int optionIndex, int criterionIndex)
{
    RatingCell* cell = cellAt(optionIndex, criterionIndex);
    const Rating* rating = m_project.ratingOf(optionIndex, criterionIndex);
    if (cell && rating)
        cell->showComment(rating->Comment);
}

void CellGrid::showOptionName(int optionIndex)
{
    OptionCell* cell = optionCell(optionIndex);
    if (cell && optionIndex < m_project.optionCount())
        setNameQuietly(cell->nameField(), m_project.options()[static_cast<std::size_t>(optionIndex)].Name);
    announceNames(optionIndex, -1);
}

void CellGrid::showCriterionName(int criterionIndex)
{
    CriterionCell* cell = criterionCell(criterionIndex);
    if (cell && criterionIndex < m_project.criterionCount())
        setNameQuietly(cell->nameField(), m_project.criteria()[static_cast<std::size_t>(criterionIndex)].Name);
    announceNames(-1, criterionIndex);
}

void CellGrid::showImportance(int criterionIndex)
{
    CriterionCell* cell = criterionCell(criterionIndex);
    if (cell && criterionIndex < m_project.criterionCount())
        cell->showImportance(m_project.criteria()[static_cast<std::size_t>(criterionIndex)].Importance);
}

void CellGrid::showRatingValue(int optionIndex, int criterionIndex, bool shown)
{
    RatingCell* cell = cellAt(optionIndex, criterionIndex);
    const Rating* rating = m_project.ratingOf(optionIndex, criterionIndex);
    if (cell && rating)
        cell->showValue(rating->Value, shown);
}

void CellGrid::dropCellsBeyondModel()
{
    const auto options = static_cast<std::size_t>(m_project.optionCount());
    const auto criteria = static_cast<std::size_t>(m_project.criterionCount());
    // A row's widget holds its cells: deleting it deletes them.
    for (std::size_t row = criteria; row < m_rows.size(); ++row)
        delete m_rows[row].widget;
    if (m_rows.size() > criteria)
        m_rows.resize(criteria);
    for (Row& row : m_rows) {
        for (std::size_t column = options; column < row.cells.size(); ++column)
            delete row.cells[column];
        if (row.cells.size() > options)
            row.cells.resize(options);
    }
    for (std::size_t row = criteria; row < m_criterionCells.size(); ++row)
        delete m_criterionCells[row];
    if (m_criterionCells.size() > criteria)
        m_criterionCells.resize(criteria);
    for (std::size_t column = options; column < m_optionCells.size(); ++column)
        delete m_optionCells[column];
    if (m_optionCells.size() > options)
        m_optionCells.resize(options);
}

// Tab walks the matrix as it reads: the option headers left to right, then
// row by row each criterion followed by its ratings. A stop is one cell,
// named by its row (-1 for the option headers) and column (-1 for the
// criterion cell at the start of a row).
QWidget* CellGrid::tabStep(QWidget* focused, bool forward)
{
    Stop stop;
    QWidget* cell = nullptr;
    for (QWidget* widget = focused; widget && !cell; widget = widget->parentWidget()) {
        if (auto* rating = qobject_cast<RatingCell*>(widget)) {
            stop = {rating->criterionIndex(), rating->optionIndex()};
            cell = rating;
        } else if (auto* criterion = dynamic_cast<CriterionCell*>(widget)) {
            stop = {criterion->criterionIndex(), -1};
            cell = criterion;
        } else if (auto* option = dynamic_cast<OptionCell*>(widget)) {
            stop = {-1, option->optionIndex()};
            cell = option;
        }
    }
    if (!cell)
        return nullptr;
    // Within the cell first; a control of the cell that is not one of its
    // stops (a title) starts from the cell's first or last.
    const std::vector<QWidget*> here = controlsAt(stop);
    const auto at = std::find(here.begin(), here.end(), focused);
    if (at != here.end()) {
        const auto index = at - here.begin();
        if (forward && index + 1 < static_cast<std::ptrdiff_t>(here.size()))
            return here[static_cast<std::size_t>(index + 1)];
        if (!forward && index > 0)
            return here[static_cast<std::size_t>(index - 1)];
    }
    while (const std::optional<Stop> next = neighbour(stop, forward)) {
        stop = *next;
        const std::vector<QWidget*> controls = controlsAt(stop);
        if (!controls.empty())
            return forward ? controls.front() : controls.back();
    }
    return nullptr;
}

QWidget* CellGrid::entryControl(bool forward)
{
    std::optional<Stop> stop =
        forward ? Stop{-1, 0} : Stop{m_project.criterionCount() - 1, m_project.optionCount() - 1};
    if (!forward && m_project.criterionCount() == 0)
        stop = Stop{-1, m_project.optionCount() - 1};
    for (; stop; stop = neighbour(*stop, forward)) {
        const std::vector<QWidget*> controls = controlsAt(*stop);
        if (!controls.empty())
            return forward ? controls.front() : controls.back();
    }
    return nullptr;
}

bool CellGrid::holds(const QWidget* widget) const
{
    return m_panes.options->isAncestorOf(widget) || m_panes.criteria->isAncestorOf(widget)
           || m_gridPane->isAncestorOf(widget);
}

std::optional<CellGrid::Stop> CellGrid::neighbour(Stop stop, bool forward) const
{
    const int options = m_project.optionCount();
    const int criteria = m_project.criterionCount();
    if (forward) {
        if (stop.column + 1 < options)
            return Stop{stop.row, stop.column + 1};
        if (stop.row + 1 < criteria)
            return Stop{stop.row + 1, -1};
        return std::nullopt;
    }
    if (stop.column - 1 >= (stop.row < 0 ? 0 : -1))
        return Stop{stop.row, stop.column - 1};
    if (stop.row >= 0)
        return Stop{stop.row - 1, options - 1};
    return std::nullopt;
}

std::vector<QWidget*> CellGrid::controlsAt(Stop stop)
{
    QWidget* cell = nullptr;
    std::vector<QWidget*> controls;
    if (stop.row < 0) {
        if (OptionCell* option = optionCell(stop.column)) {
            cell = option;
            controls = option->controls();
        }
    } else if (stop.column < 0) {
        if (CriterionCell* criterion = criterionCell(stop.row)) {
            cell = criterion;
            controls = criterion->controls();
        }
    } else if (RatingCell* rating = ratingCell(stop.column, stop.row)) {
        showOnce(rating->parentWidget());
        cell = rating;
        controls = rating->controls();
    }
    // A cell out of sight is still hidden; the keyboard brings it along.
    showOnce(cell);
    std::erase_if(controls, [](const QWidget* control) { return !control->isEnabled(); });
    return controls;
}

void CellGrid::announceNames(int optionIndex, int criterionIndex)
{
    // Only the controls already made: the others are named when first asked.
    if (!QAccessible::isActive())
        return;
    const auto announce = [](QWidget* widget) {
        QAccessibleEvent event(widget, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    };
    if (criterionIndex >= 0) {
        if (CriterionCell* cell = criterionCell(criterionIndex))
            announce(cell->importanceSlider());
    }
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
        if (criterionIndex >= 0 && row != criterionIndex)
            continue;
        const Row& cells = m_rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < static_cast<int>(cells.cells.size()); ++column) {
            RatingCell* cell = cells.cells[static_cast<std::size_t>(column)];
            if (!cell || !cell->isComplete() || (optionIndex >= 0 && column != optionIndex))
                continue;
            announce(cell);
            announce(cell->valueSlider());
        }
    }
}

OptionCell* CellGrid::optionCell(int optionIndex) const
{
    return cellOf(m_optionCells, optionIndex);
}

CriterionCell* CellGrid::criterionCell(int criterionIndex) const
{
    return cellOf(m_criterionCells, criterionIndex);
}

RatingCell* CellGrid::ratingCell(int optionIndex, int criterionIndex)
{
    RatingCell* cell = cellAt(optionIndex, criterionIndex);
    if (cell)
        complete(cell);
    return cell;
}

CellGrid::Row& CellGrid::rowFor(int criterionIndex)
{
    if (m_rows.size() <= static_cast<std::size_t>(criterionIndex))
        m_rows.resize(static_cast<std::size_t>(criterionIndex) + 1);
    Row& row = m_rows[static_cast<std::size_t>(criterionIndex)];
    if (!row.widget) {
        row.widget = new QWidget(m_gridPane);
        row.widget->setGeometry(0, kRowPitch * criterionIndex, m_gridPane->width(), kRowPitch);
        row.widget->hide(); // until reveal() finds it near the visible part
    }
    return row;
}

RatingCell* CellGrid::cellAt(int optionIndex, int criterionIndex) const
{
    if (criterionIndex < 0 || static_cast<std::size_t>(criterionIndex) >= m_rows.size())
        return nullptr;
    return cellOf(m_rows[static_cast<std::size_t>(criterionIndex)].cells, optionIndex);
}

// Places a cell by its position in the pane; it stays hidden until reveal()
// finds it near the visible part.
void CellGrid::place(QWidget* cell, const QRect& paneRect)
{
    QWidget* parent = cell->parentWidget();
    QRect rect = paneRect;
    if (parent->parentWidget() == m_gridPane) {
        // A grid row: as wide as its cells need, whatever the inner size.
        rect.translate(-parent->pos());
        if (parent->width() < rect.right() + 1 + kAreaMargin)
            parent->resize(rect.right() + 1 + kAreaMargin, parent->height());
    }
    cell->setGeometry(rect);
    cell->hide();
    if (!m_buildingAll)
        reveal();
}

void CellGrid::complete(RatingCell* cell)
{
    const int optionIndex = cell->optionIndex();
    const int criterionIndex = cell->criterionIndex();
    const Rating* rating = m_project.ratingOf(optionIndex, criterionIndex);
    if (!cell->complete(rating ? rating->Comment : QString()))
        return;
    // A slider event shows the value. After a mouse change the keyboard
    // focus goes to the comment button, so that the wheel does not go on
    // changing the rating; a change made with the keys keeps it on the slider.
    CellSlider* slider = cell->valueSlider();
    const auto userMoved = [this, cell, slider, optionIndex, criterionIndex](int value) {
        const Rating* before = m_project.ratingOf(optionIndex, criterionIndex);
        if (before && before->Value != value)
            emit valueEdited(optionIndex, criterionIndex, value, cell->valueShown(), slider->isSliderDown());
        cell->showValue(value, true);
        if (!slider->changingByKey())
            cell->commentButton()->setFocus(Qt::OtherFocusReason);
    };
    connect(slider, &QSlider::valueChanged, cell, userMoved);
    connect(slider, &QSlider::sliderPressed, this, &CellGrid::editRunEnded);
    // Letting go of the knob without moving it confirms the value as it is.
    connect(slider, &QSlider::sliderReleased, cell, [this, slider, userMoved] {
        userMoved(slider->value());
        emit editRunEnded();
    });
    connect(cell->commentButton(), &QAbstractButton::clicked, this,
            [this, optionIndex, criterionIndex] { emit commentRequested(optionIndex, criterionIndex); });
}

void CellGrid::swapRatingCells(int firstOption, int firstCriterion, int secondOption, int secondCriterion)
{
    RatingCell* first = cellAt(firstOption, firstCriterion);
    RatingCell* second = cellAt(secondOption, secondCriterion);
    const Rating* firstRating = m_project.ratingOf(firstOption, firstCriterion);
    const Rating* secondRating = m_project.ratingOf(secondOption, secondCriterion);
    if (!first || !second || !firstRating || !secondRating)
        return;
    // The model has already exchanged values and comments; what the view
    // alone knows, whether each box shows its value yet, goes with them.
    // A cell still without controls takes its comment when it gets them.
    const bool firstShown = first->valueShown();
    first->showValue(firstRating->Value, second->valueShown());
    second->showValue(secondRating->Value, firstShown);
    first->showComment(firstRating->Comment);
    second->showComment(secondRating->Comment);
}

} // namespace ponderix
