#include "editor/MatrixView.h"

#include "base/BuiltInImages.h"
#include "base/Fonts.h"
#include "base/TextTable.h"
#include "editor/CellGrid.h"
#include "editor/HeaderArea.h"
#include "editor/ImageButton.h"
#include "editor/MatrixGeometry.h"
#include "editor/ScaledPicture.h"
#include "editor/WidthStrip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSlider>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;
using namespace matrix;

namespace {

QLabel* cornerCaption(QWidget* parent, const QRect& rect, const QString& text, Qt::Alignment alignment,
                      const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(rect.translated(kBorder, kBorder));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setFont(font);
    QPalette palette;
    palette.setColor(QPalette::WindowText, kTitleBlue);
    label->setPalette(palette);
    return label;
}

QFrame* sunken(QFrame* frame)
{
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(kBorder);
    return frame;
}

QWidget* newPane(QScrollArea* area)
{
    auto* pane = new QWidget;
    pane->resize(kAreaMargin, kAreaMargin);
    area->setWidget(pane); // not resizable: the view sets the inner size
    return pane;
}

} // namespace

struct MatrixView::Private {
    // Forwards the mouse wheel from anywhere in the client area to the grid,
    // so that a turn of the wheel over a slider scrolls instead of changing a
    // rating, and keeps the header areas matched to the grid's visible part.
    class Watcher final : public QObject {
    public:
        explicit Watcher(Private& view) : m_view(view) { }
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        Private& m_view;
        bool m_forwarding = false;
    };

    Private(MatrixView& view, QWidget* clientArea, const Project& model, int criteriaAddWidth, const QString& legend);

    void createFixedControls();
    void connectScrolling();
    void updateHeaderMargins();
    void alignHeaders();
    void revealInGrid(QWidget* focused);
    bool tabFrom(QWidget* focused, bool forward);
    void connectCells();
    void reportEdits();

    MatrixView& q;
    QPointer<QWidget> client;
    const Project& project;
    const int layoutAddWidth;
    QString legendText;
    QFont bannerFont;
    ScaledPicture addPicture{BuiltInImages::Picture::Add};

    QLabel* banner = nullptr;
    QFrame* corner = nullptr;
    ImageButton* addOption = nullptr;
    ImageButton* addCriterion = nullptr;
    HeaderArea* optionArea = nullptr;
    HeaderArea* criterionArea = nullptr;
    QScrollArea* grid = nullptr;
    QWidget* optionPane = nullptr;
    QWidget* criterionPane = nullptr;
    QWidget* gridPane = nullptr;
    WidthStrip* strip = nullptr;
    QLabel* status = nullptr;

    // Distances to the client's right and bottom edges, kept on every resize.
    int gridRightMargin = 0;
    int optionAreaRightMargin = 0;
    int gridBottomMargin = 0;
    int criterionAreaBottomMargin = 0;

    std::unique_ptr<CellGrid> cells;

    QMetaObject::Connection focusFollower;
    Watcher watcher;
};

bool MatrixView::Private::Watcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == m_view.grid->viewport()) {
        m_view.updateHeaderMargins();
        m_view.cells->reveal();
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (!plain || !tab || watched != QApplication::focusWidget())
            return false;
        const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        return m_view.tabFrom(static_cast<QWidget*>(watched), forward);
    }
    if (event->type() != QEvent::Wheel || m_forwarding || !watched->isWidgetType() || !m_view.client)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != m_view.client && !m_view.client->isAncestorOf(widget))
        return false;
    m_forwarding = true;
    QCoreApplication::sendEvent(m_view.grid->viewport(), event);
    m_forwarding = false;
    return true;
}

MatrixView::Private::Private(MatrixView& view, QWidget* clientArea, const Project& model, int criteriaAddWidth,
                             const QString& legend)
    : q(view), client(clientArea), project(model), layoutAddWidth(criteriaAddWidth), legendText(legend),
      bannerFont(programFont(FontRole::Banner)), watcher(*this)
{
}

void MatrixView::Private::createFixedControls()
{
    const int A = layoutAddWidth;
    const int W = client->width();
    const int H = client->height();

    banner = new QLabel(client);
    // The banner shows a file name, which may well look like markup.
    banner->setTextFormat(Qt::PlainText);
    banner->setGeometry(bannerRect(W));
    banner->setAlignment(Qt::AlignCenter);
    banner->setFont(bannerFont);
    QPalette bannerPalette;
    bannerPalette.setColor(QPalette::WindowText, kTitleText);
    bannerPalette.setColor(QPalette::Window, kTitleBlue);
    banner->setPalette(bannerPalette);
    banner->setAutoFillBackground(true);

    corner = sunken(new QFrame(client));
    corner->setGeometry(cornerPanelRect(A));
    cornerCaption(corner, optionsCaptionRect(A), uiText(TextKey::TXT00203), Qt::AlignRight, bannerFont);
    addOption = new ImageButton(corner);
    addOption->setGeometry(addOptionRect(A).translated(kBorder, kBorder));
    addOption->setPicture(&addPicture);
    addOption->setToolTip(uiText(TextKey::TXT00204));
    addCriterion = new ImageButton(corner);
    addCriterion->setGeometry(kAddCriterionRect.translated(kBorder, kBorder));
    addCriterion->setPicture(&addPicture);
    addCriterion->setToolTip(uiText(TextKey::TXT00205));
    cornerCaption(corner, criteriaCaptionRect(A), uiText(TextKey::TXT00201), Qt::AlignLeft, bannerFont);

    optionArea = new HeaderArea(client);
    sunken(optionArea)->setGeometry(optionStripRect(A, W));
    optionPane = newPane(optionArea);

    criterionArea = new HeaderArea(client);
    sunken(criterionArea)->setGeometry(criterionColumnRect(A, H));
    criterionPane = newPane(criterionArea);

    grid = new QScrollArea(client);
    sunken(grid)->setGeometry(gridRect(A, W, H));
    grid->horizontalScrollBar()->setSingleStep(kAreaMargin);
    grid->verticalScrollBar()->setSingleStep(kAreaMargin);
    // A click on the grey between cells lets the keys scroll the grid.
    grid->setFocusPolicy(Qt::ClickFocus);
    QPalette gridPalette = grid->viewport()->palette();
    gridPalette.setColor(QPalette::Window, kGridBackground);
    grid->viewport()->setPalette(gridPalette);
    grid->viewport()->setBackgroundRole(QPalette::Window);
    grid->viewport()->setAutoFillBackground(true);
    gridPane = newPane(grid);
    // The pane lets the grey through; the cells on it keep the usual colours.
    gridPane->setAutoFillBackground(false);
    QPalette panePalette = gridPane->palette();
    panePalette.setColor(QPalette::Window, grid->palette().color(QPalette::Window));
    gridPane->setPalette(panePalette);
    cells = std::make_unique<CellGrid>(project, CellGrid::Panes{optionPane, criterionPane, grid}, layoutAddWidth,
                                       legendText);

    strip = new WidthStrip(client);
    strip->setGeometry(widthStripRect(H));
    strip->setToolTip(uiText(TextKey::TXT00226));
    strip->setAccessibleName(uiText(TextKey::TXT00226));
    strip->setMark(A);

    status = new QLabel(client);
    status->setGeometry(statusRect(W, H));

    gridRightMargin = W - grid->x() - grid->width();
    optionAreaRightMargin = W - optionArea->x() - optionArea->width();
    gridBottomMargin = H - grid->y() - grid->height();
    criterionAreaBottomMargin = H - criterionArea->y() - criterionArea->height();

    for (QWidget* control : {static_cast<QWidget*>(banner), static_cast<QWidget*>(corner),
                             static_cast<QWidget*>(optionArea), static_cast<QWidget*>(criterionArea),
                             static_cast<QWidget*>(grid), static_cast<QWidget*>(strip), static_cast<QWidget*>(status)})
        control->show();
}

void MatrixView::Private::connectScrolling()
{
    // The headers follow the grid, and only the grid: whatever else tries to
    // move them is undone at once.
    QObject::connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, &q, [this](int value) {
        cells->reveal();
        optionArea->horizontalScrollBar()->setValue(value);
    });
    QObject::connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, &q, [this](int value) {
        cells->reveal();
        criterionArea->verticalScrollBar()->setValue(value);
    });
    QObject::connect(optionArea->horizontalScrollBar(), &QScrollBar::valueChanged, &q, [this](int value) {
        if (value != grid->horizontalScrollBar()->value())
            optionArea->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->value());
    });
    QObject::connect(criterionArea->verticalScrollBar(), &QScrollBar::valueChanged, &q, [this](int value) {
        if (value != grid->verticalScrollBar()->value())
            criterionArea->verticalScrollBar()->setValue(grid->verticalScrollBar()->value());
    });
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        focusFollower = QObject::connect(application, &QApplication::focusChanged, &q,
                                         [this](QWidget*, QWidget* now) { revealInGrid(now); });
    }
    grid->viewport()->installEventFilter(&watcher);
    QCoreApplication::instance()->installEventFilter(&watcher);
}

void MatrixView::Private::updateHeaderMargins()
{
    // The grid loses the width of a scroll bar when it shows one; the header
    // keeps that stretch free so that both show the same columns (rows).
    optionArea->setTrailingMargin(Qt::Horizontal,
                                  std::max(0, optionArea->contentsRect().width() - grid->viewport()->width()));
    criterionArea->setTrailingMargin(Qt::Vertical,
                                     std::max(0, criterionArea->contentsRect().height() - grid->viewport()->height()));
    alignHeaders();
}

void MatrixView::Private::alignHeaders()
{
    optionArea->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->value());
    criterionArea->verticalScrollBar()->setValue(grid->verticalScrollBar()->value());
}

void MatrixView::Private::revealInGrid(QWidget* focused)
{
    // A header area never scrolls by itself, so a field reached with the
    // keyboard is brought into view by scrolling the grid it follows.
    if (!focused)
        return;
    const bool inOptions = optionPane->isAncestorOf(focused);
    if (!inOptions && !criterionPane->isAncestorOf(focused))
        return;
    QWidget* pane = inOptions ? optionPane : criterionPane;
    const QRect area(focused->mapTo(pane, QPoint(0, 0)), focused->size());
    QScrollBar* bar = inOptions ? grid->horizontalScrollBar() : grid->verticalScrollBar();
    const int first = inOptions ? area.left() : area.top();
    const int last = inOptions ? area.right() : area.bottom();
    const int visible = inOptions ? grid->viewport()->width() : grid->viewport()->height();
    int position = bar->value();
    if (last >= position + visible)
        position = last - visible + 1;
    if (first < position)
        position = first;
    bar->setValue(position);
}

// Tab and Shift+Tab walk the cells in reading order, whatever order their
// controls were made in, between the add buttons before them and the width
// strip after them; everything else keeps the window's usual order, with the
// cells taken out of it.
bool MatrixView::Private::tabFrom(QWidget* focused, bool forward)
{
    if (!client || focused->window() != client->window())
        return false;
    const auto takesTab = [focused](const QWidget* widget) {
        return (widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled()
               && widget->window() == focused->window();
    };
    QWidget* target = nullptr;
    if (cells->holds(focused)) {
        target = cells->tabStep(focused, forward);
        if (!target)
            target = forward ? static_cast<QWidget*>(strip) : static_cast<QWidget*>(addCriterion);
    } else if ((focused == addCriterion && forward) || (focused == strip && !forward)) {
        target = cells->entryControl(forward);
        if (!target)
            target = forward ? static_cast<QWidget*>(strip) : static_cast<QWidget*>(addCriterion);
    } else {
        QWidget* usual = focused;
        do
            usual = forward ? usual->nextInFocusChain() : usual->previousInFocusChain();
        while (usual != focused && !takesTab(usual));
        if (usual == focused || !cells->holds(usual))
            return false;
        // The cells come last in the focus chain, being made after the rest.
        do
            usual = forward ? usual->nextInFocusChain() : usual->previousInFocusChain();
        while (usual != focused && (cells->holds(usual) || !takesTab(usual)));
        target = usual;
    }
    if (!target)
        return false;
    target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    // Header cells are brought into view as the focus arrives (revealInGrid);
    // a rating cell is scrolled into view whole where it fits.
    if (gridPane->isAncestorOf(target)) {
        grid->ensureWidgetVisible(target->parentWidget(), 0, 0);
        grid->ensureWidgetVisible(target, 0, 0);
    }
    return true;
}

void MatrixView::Private::connectCells()
{
    const CellGrid* source = cells.get();
    QObject::connect(source, &CellGrid::deleteOptionRequested, &q, &MatrixView::deleteOptionRequested);
    QObject::connect(source, &CellGrid::deleteCriterionRequested, &q, &MatrixView::deleteCriterionRequested);
    QObject::connect(source, &CellGrid::moveOptionRequested, &q, &MatrixView::moveOptionRequested);
    QObject::connect(source, &CellGrid::moveCriterionRequested, &q, &MatrixView::moveCriterionRequested);
    QObject::connect(source, &CellGrid::commentRequested, &q, &MatrixView::commentRequested);
}

void MatrixView::Private::reportEdits()
{
    const CellGrid* source = cells.get();
    QObject::connect(source, &CellGrid::optionNameEdited, &q,
                     [this](int index, const QString& name) { emit q.nameEdited(EntryKind::Option, index, name); });
    QObject::connect(source, &CellGrid::criterionNameEdited, &q,
                     [this](int index, const QString& name) { emit q.nameEdited(EntryKind::Criterion, index, name); });
    QObject::connect(source, &CellGrid::importanceEdited, &q, [this](int index, int importance, bool dragging) {
        emit q.importanceEdited(index, importance, dragging);
    });
    QObject::connect(source, &CellGrid::valueEdited, &q,
                     [this](int option, int criterion, int value, bool wasShown, bool dragging) {
                         emit q.valueEdited(option, criterion, value, wasShown, dragging);
                     });
    QObject::connect(source, &CellGrid::editRunEnded, &q, &MatrixView::editRunEnded);
}

MatrixView::MatrixView(QWidget* client, const Project& project, int criteriaAddWidth, const QString& legendText)
    : d(std::make_unique<Private>(*this, client, project, criteriaAddWidth, legendText))
{
    d->createFixedControls();
    d->connectScrolling();
    d->connectCells();
    d->reportEdits();
    QObject::connect(d->addOption, &QAbstractButton::clicked, this, [this] { emit addOptionRequested(); });
    QObject::connect(d->addCriterion, &QAbstractButton::clicked, this, [this] { emit addCriterionRequested(); });
    QObject::connect(d->strip, &WidthStrip::widthChosen, this, [this](int width) {
        setCellCriteriaAddWidth(width);
        emit criteriaAddWidthChosen(width);
    });
    sizeAreas(0, 0);
}

MatrixView::~MatrixView()
{
    QObject::disconnect(d->focusFollower);
    QCoreApplication::instance()->removeEventFilter(&d->watcher);
    // The controls live in the client area, which may outlive the view. The
    // grid goes first: the header areas follow it to the end.
    if (d->client) {
        delete d->grid;
        delete d->optionArea;
        delete d->criterionArea;
        delete d->banner;
        delete d->corner;
        delete d->strip;
        delete d->status;
    }
}

void MatrixView::relayout(QSize clientSize)
{
    const int W = clientSize.width();
    const int H = clientSize.height();
    d->banner->setGeometry(bannerRect(W));
    d->strip->move(widthStripRect(H).topLeft());
    d->status->setGeometry(statusRect(W, H));
    QScrollArea* grid = d->grid;
    grid->resize(W - grid->x() - d->gridRightMargin, H - grid->y() - d->gridBottomMargin);
    d->optionArea->resize(W - d->optionArea->x() - d->optionAreaRightMargin, d->optionArea->height());
    d->criterionArea->resize(d->criterionArea->width(), H - d->criterionArea->y() - d->criterionAreaBottomMargin);
    d->updateHeaderMargins();
}

void MatrixView::clearCells()
{
    d->cells->clear();
}

void MatrixView::buildOptionCell(int optionIndex)
{
    d->cells->buildOption(optionIndex);
}

void MatrixView::buildCriterionCell(int criterionIndex)
{
    d->cells->buildCriterion(criterionIndex);
}

void MatrixView::buildRatingCell(int optionIndex, int criterionIndex, bool showValue)
{
    d->cells->buildRating(optionIndex, criterionIndex, showValue);
}

void MatrixView::buildAllCells(bool showValues)
{
    d->cells->buildAll(showValues);
}

void MatrixView::sizeAreas(int columns, int rows)
{
    sizeColumns(columns);
    sizeRows(rows);
}

void MatrixView::sizeColumns(int columns)
{
    const int width = innerWidthFor(columns);
    d->gridPane->resize(width, d->gridPane->height());
    d->optionPane->resize(width, d->optionArea->contentsRect().height());
    d->alignHeaders();
}

void MatrixView::sizeRows(int rows)
{
    const int height = innerHeightFor(rows);
    d->gridPane->resize(d->gridPane->width(), height);
    // The column never scrolls sideways; criterion cells built wider than it
    // (after the strip was clicked) are cut at its edge until the next start.
    const int widestCell = kAreaMargin + std::max(d->layoutAddWidth, d->cells->criteriaAddWidth()) + 130;
    d->criterionPane->resize(std::max(d->criterionArea->contentsRect().width(), widestCell), height);
    d->alignHeaders();
}

void MatrixView::updateStatusLine()
{
    const int criteria = d->project.criterionCount();
    const int options = d->project.optionCount();
    d->status->setText(QString::number(criteria) + u' ' + uiText(criteria < 2 ? TextKey::TXT00200 : TextKey::TXT00201)
                       + u' ' + uiText(TextKey::TXT00150) + u' ' + QString::number(options) + u' '
                       + uiText(options < 2 ? TextKey::TXT00202 : TextKey::TXT00203));
}

void MatrixView::setBanner(const QString& text)
{
    d->banner->setText(text);
}

QString MatrixView::banner() const
{
    return d->banner->text();
}

void MatrixView::entriesSwapped(EntryKind kind, int first, int second)
{
    if (kind == EntryKind::Option)
        d->cells->optionsSwapped(first, second);
    else
        d->cells->criteriaSwapped(first, second);
}

void MatrixView::commentChanged(int optionIndex, int criterionIndex)
{
    d->cells->commentChanged(optionIndex, criterionIndex);
}

void MatrixView::showName(EntryKind kind, int index)
{
    if (kind == EntryKind::Option)
        d->cells->showOptionName(index);
    else
        d->cells->showCriterionName(index);
}

void MatrixView::showImportance(int criterionIndex)
{
    d->cells->showImportance(criterionIndex);
}

void MatrixView::showRatingValue(int optionIndex, int criterionIndex, bool shown)
{
    d->cells->showRatingValue(optionIndex, criterionIndex, shown);
}

void MatrixView::entryAppended(EntryKind kind)
{
    if (kind == EntryKind::Option) {
        const int added = d->project.optionCount() - 1;
        buildOptionCell(added);
        for (const Criterion& criterion : d->project.criteria())
            buildRatingCell(added, criterion.Index, false);
    } else {
        const int added = d->project.criterionCount() - 1;
        buildCriterionCell(added);
        for (const Option& option : d->project.options())
            buildRatingCell(option.Index, added, false);
    }
    sizeEntries(kind);
    updateStatusLine();
}

void MatrixView::lastEntryRemoved(EntryKind kind)
{
    d->cells->dropCellsBeyondModel();
    // Sized as a deletion sizes them: no entries leave the bare margin.
    sizeEntries(kind);
    updateStatusLine();
}

void MatrixView::entriesRenumbered(EntryKind kind)
{
    buildAllCells(true);
    sizeEntries(kind);
    updateStatusLine();
}

void MatrixView::showProject()
{
    buildAllCells(true);
    sizeAreas(std::max(d->project.optionCount(), 1), std::max(d->project.criterionCount(), 1));
    updateStatusLine();
    // A project just started, opened or shown has the first control focused,
    // so that the keyboard user sees at once where the keys go.
    focusControl(Control::AddOption);
}

void MatrixView::sizeEntries(EntryKind kind)
{
    if (kind == EntryKind::Option)
        sizeColumns(d->project.optionCount());
    else
        sizeRows(d->project.criterionCount());
}

void MatrixView::focusControl(Control control, int index, int criterionIndex)
{
    QWidget* target = nullptr;
    switch (control) {
    case Control::OptionName:
        if (OptionCell* cell = optionCell(index))
            target = cell->nameField();
        break;
    case Control::CriterionName:
    case Control::Importance:
        if (CriterionCell* cell = criterionCell(index))
            target = control == Control::Importance ? static_cast<QWidget*>(cell->importanceSlider())
                                                    : static_cast<QWidget*>(cell->nameField());
        break;
    case Control::RatingValue:
    case Control::Comment:
        if (RatingCell* cell = ratingCell(index, criterionIndex)) {
            d->grid->ensureWidgetVisible(cell, 0, 0);
            target = control == Control::RatingValue ? static_cast<QWidget*>(cell->valueSlider())
                                                     : static_cast<QWidget*>(cell->commentButton());
        }
        break;
    case Control::AddOption:
        target = d->addOption;
        break;
    case Control::AddCriterion:
        target = d->addCriterion;
        break;
    }
    if (!target)
        return;
    // Header cells scroll with the grid, so the grid is scrolled to them.
    d->revealInGrid(target);
    d->cells->reveal();
    target->setFocus(Qt::OtherFocusReason);
}

void MatrixView::drawWidthStrip(int criteriaAddWidth)
{
    d->strip->setMark(criteriaAddWidth);
}

void MatrixView::setCellCriteriaAddWidth(int criteriaAddWidth)
{
    d->cells->setCriteriaAddWidth(std::clamp(criteriaAddWidth, 0, kCriteriaAddWidthMax));
}

int MatrixView::cellCriteriaAddWidth() const
{
    return d->cells->criteriaAddWidth();
}

QScrollArea* MatrixView::optionHeaderArea() const
{
    return d->optionArea;
}

QScrollArea* MatrixView::criterionArea() const
{
    return d->criterionArea;
}

QScrollArea* MatrixView::ratingGrid() const
{
    return d->grid;
}

QWidget* MatrixView::widthStrip() const
{
    return d->strip;
}

QLabel* MatrixView::statusLine() const
{
    return d->status;
}

QLabel* MatrixView::bannerLabel() const
{
    return d->banner;
}

QFrame* MatrixView::cornerPanel() const
{
    return d->corner;
}

QAbstractButton* MatrixView::addOptionButton() const
{
    return d->addOption;
}

QAbstractButton* MatrixView::addCriterionButton() const
{
    return d->addCriterion;
}

OptionCell* MatrixView::optionCell(int optionIndex) const
{
    return d->cells->optionCell(optionIndex);
}

CriterionCell* MatrixView::criterionCell(int criterionIndex) const
{
    return d->cells->criterionCell(criterionIndex);
}

RatingCell* MatrixView::ratingCell(int optionIndex, int criterionIndex) const
{
    return d->cells->ratingCell(optionIndex, criterionIndex);
}

} // namespace ponderix
