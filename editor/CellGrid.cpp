#include "editor/CellGrid.h"

#include "editor/ImageButton.h"
#include "editor/MatrixGeometry.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>

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

template <typename Cell>
Cell*& slotFor(std::vector<Cell*>& cells, int index)
{
    const auto position = static_cast<std::size_t>(index);
    if (cells.size() <= position)
        cells.resize(position + 1, nullptr);
    return cells[position];
}

template <typename Cell>
Cell* cellOf(const std::vector<Cell*>& cells, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < cells.size() ? cells[static_cast<std::size_t>(index)]
                                                                         : nullptr;
}

void showOnce(QWidget* widget)
{
    if (widget && widget->isHidden())
        widget->show();
}

} // namespace

CellGrid::CellGrid(Project& project, Panes panes, int criteriaAddWidth,
                   const QString& legendText)
    : m_project(project),
      m_resources(),
      m_panes(panes),
      m_gridPane(panes.grid->widget()),
      m_criteriaAddWidth(criteriaAddWidth),
      m_legendText(legendText)
{
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
    connect(cell->nameField(), &QLineEdit::textChanged, cell,
            [this, optionIndex](const QString& name) { m_project.setOptionName(optionIndex, name); });
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
    connect(cell->nameField(), &QLineEdit::textChanged, cell,
            [this, criterionIndex](const QString& name) { m_project.setCriterionName(criterionIndex, name); });
    // Any importance event sends the keyboard focus on to the delete button.
    connect(cell->importanceSlider(), &QSlider::valueChanged, cell, [this, cell, criterionIndex](int value) {
        m_project.setImportance(criterionIndex, value);
        cell->deleteButton()->setFocus(Qt::OtherFocusReason);
    });
    connect(cell->importanceSlider(), &QSlider::sliderReleased, cell,
            [cell] { cell->deleteButton()->setFocus(Qt::OtherFocusReason); });
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
    const auto [firstRow, lastRow] = range(grid->verticalScrollBar(), grid->viewport()->height(), kRowPitch);
    const auto [firstColumn, lastColumn] = range(grid->horizontalScrollBar(), grid->viewport()->width(), kColumnPitch);
    for (int column = firstColumn; column <= lastColumn; ++column)
        showOnce(cellOf(m_optionCells, column));
    for (int row = firstRow; row <= lastRow && row < static_cast<int>(m_rows.size()); ++row)
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
        if (OptionCell* cell = optionCell(index))
            cell->nameField()->setText(m_project.options()[static_cast<std::size_t>(index)].Name);
    }
    for (int criterion = 0; criterion < m_project.criterionCount(); ++criterion)
        swapRatingCells(first, criterion, second, criterion);
}

void CellGrid::criteriaSwapped(int first, int second)
{
    for (const int index : {first, second}) {
        if (CriterionCell* cell = criterionCell(index)) {
            const Criterion& criterion = m_project.criteria()[static_cast<std::size_t>(index)];
            cell->nameField()->setText(criterion.Name);
            cell->showImportance(criterion.Importance);
        }
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

QWidget* CellGrid::tabStep(QWidget* focused, bool forward)
{
    RatingCell* cell = nullptr;
    for (QWidget* widget = focused; widget && !cell; widget = widget->parentWidget())
        cell = qobject_cast<RatingCell*>(widget);
    if (!cell || !cell->isComplete())
        return nullptr;
    if (forward && focused == cell->commentButton())
        return cell->valueSlider();
    if (!forward && focused == cell->valueSlider())
        return cell->commentButton();

    // On to the neighbouring cell in reading order: along the row, then to
    // the start (end) of the next (previous) row.
    int option = cell->optionIndex();
    int criterion = cell->criterionIndex();
    const auto rowLength = [this](int row) {
        return static_cast<int>(m_rows[static_cast<std::size_t>(row)].cells.size());
    };
    for (;;) {
        option += forward ? 1 : -1;
        if (option < 0 || option >= rowLength(criterion)) {
            criterion += forward ? 1 : -1;
            if (criterion < 0 || criterion >= static_cast<int>(m_rows.size()))
                return firstControlOutside(focused, forward);
            option = forward ? -1 : rowLength(criterion);
            continue;
        }
        if (RatingCell* next = cellAt(option, criterion)) {
            complete(next);
            showOnce(next->parentWidget());
            showOnce(next);
            if (forward)
                return next->commentButton();
            return next->valueSlider();
        }
    }
}

QWidget* CellGrid::firstControlOutside(QWidget* focused, bool forward) const
{
    const auto takesTab = [focused](const QWidget* widget) {
        return (widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled()
            && widget->window() == focused->window();
    };
    QWidget* widget = focused;
    do
        widget = forward ? widget->nextInFocusChain() : widget->previousInFocusChain();
    while (widget != focused && (m_panes.grid->isAncestorOf(widget) || !takesTab(widget)));
    return widget == focused ? nullptr : widget;
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
    // A slider event shows the value and hands the keyboard focus to the
    // comment button, so that the keys do not go on changing the rating.
    const auto userMoved = [this, cell, optionIndex, criterionIndex](int value) {
        m_project.setValue(optionIndex, criterionIndex, value);
        cell->showValue(value, true);
        cell->commentButton()->setFocus(Qt::OtherFocusReason);
    };
    connect(cell->valueSlider(), &QSlider::valueChanged, cell, userMoved);
    // Letting go of the knob without moving it confirms the value as it is.
    connect(cell->valueSlider(), &QSlider::sliderReleased, cell,
            [cell, userMoved] { userMoved(cell->valueSlider()->value()); });
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
