#include "base/BuiltInImages.h"
#include "document/CellTexts.h"
#include "editor/ImageButton.h"
#include "editor/WidthStrip.h"
#include "tests/editor/MatrixFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QFrame>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class MatrixViewTest : public MatrixFixture { };

struct LayoutCase {
    int criteriaAddWidth;
    QRect corner, optionStrip, criterionColumn, grid, addOption, criteriaCaption;
};

class MatrixViewLayout : public MatrixFixture, public ::testing::WithParamInterface<LayoutCase> { };

void wheel(QWidget* target, int degrees)
{
    const QPoint centre = target->rect().center();
    QWheelEvent event(centre, target->mapToGlobal(centre), QPoint(), QPoint(0, degrees * 8), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

QImage picture(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST_P(MatrixViewLayout, FixedControlsStandWhereTheLayoutPutsThem)
{
    const LayoutCase& expected = GetParam();
    start(expected.criteriaAddWidth);
    EXPECT_EQ(view().bannerLabel()->geometry(), QRect(0, 75, 760, 30));
    EXPECT_EQ(view().cornerPanel()->geometry(), expected.corner);
    EXPECT_EQ(view().optionHeaderArea()->geometry(), expected.optionStrip);
    EXPECT_EQ(view().criterionArea()->geometry(), expected.criterionColumn);
    EXPECT_EQ(view().ratingGrid()->geometry(), expected.grid);
    EXPECT_EQ(view().widthStrip()->geometry(), QRect(156, 583, 280, 3));
    EXPECT_EQ(view().statusLine()->geometry(), QRect(5, 590, 745, 18));
    EXPECT_EQ(inCell(view().addOptionButton()), expected.addOption);
    EXPECT_EQ(inCell(view().addCriterionButton()), QRect(10, 74, 24, 24));
    const QList<QLabel*> captions = view().cornerPanel()->findChildren<QLabel*>();
    ASSERT_EQ(captions.size(), 2);
    EXPECT_EQ(captions[0]->text(), text(TextKey::TXT00203));
    EXPECT_EQ(inCell(captions[0]), QRect(10, 10, expected.criteriaAddWidth + 110, 24));
    EXPECT_TRUE(captions[0]->alignment() & Qt::AlignRight);
    EXPECT_EQ(captions[1]->text(), text(TextKey::TXT00201));
    EXPECT_EQ(inCell(captions[1]), expected.criteriaCaption);
}

INSTANTIATE_TEST_SUITE_P(CriteriaAddWidth, MatrixViewLayout,
                         ::testing::Values(LayoutCase{0,
                                                      {5, 115, 150, 100},
                                                      {160, 115, 590, 100},
                                                      {5, 220, 150, 360},
                                                      {160, 220, 590, 360},
                                                      {124, 10, 24, 24},
                                                      {40, 75, 100, 24}},
                                           LayoutCase{100,
                                                      {5, 115, 250, 100},
                                                      {260, 115, 490, 100},
                                                      {5, 220, 250, 360},
                                                      {260, 220, 490, 360},
                                                      {224, 10, 24, 24},
                                                      {40, 75, 200, 24}}));

TEST_F(MatrixViewTest, ResizingKeepsTheMarginsAndTheHeadersOnTheGrid)
{
    start(50);
    load(matrixProject(12, 15));
    QScrollArea* grid = view().ratingGrid();
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    m_client.resize(1000, 700);
    view().relayout(QSize(1000, 700));
    EXPECT_EQ(view().bannerLabel()->geometry(), QRect(0, 75, 1000, 30));
    EXPECT_EQ(grid->geometry(), QRect(210, 220, 780, 430));
    EXPECT_EQ(view().optionHeaderArea()->geometry(), QRect(210, 115, 780, 100));
    EXPECT_EQ(view().criterionArea()->geometry(), QRect(5, 220, 200, 430));
    EXPECT_EQ(view().widthStrip()->geometry(), QRect(156, 653, 280, 3));
    EXPECT_EQ(view().statusLine()->geometry(), QRect(5, 660, 985, 18));
    // The corner panel is laid out once, for the width the view started with.
    EXPECT_EQ(view().cornerPanel()->geometry(), QRect(5, 115, 200, 100));

    m_client.resize(700, 500);
    view().relayout(QSize(700, 500));
    EXPECT_EQ(view().optionCell(11)->mapTo(view().optionHeaderArea()->viewport(), QPoint()).x(),
              rating(11, 0).mapTo(grid->viewport(), QPoint()).x());
    EXPECT_EQ(view().criterionCell(14)->mapTo(view().criterionArea()->viewport(), QPoint()).y(),
              rating(0, 14).mapTo(grid->viewport(), QPoint()).y());
}

// The largest client Qt allows: walking every row and column such a viewport
// could hold took minutes; the cells that exist are all it needs to show.
TEST_F(MatrixViewTest, AHugeViewportShowsEveryCellWithoutWalkingEmptySpace)
{
    start();
    load(matrixProject(3, 2));
    // Laid out for it without resizing the window itself, whose picture on
    // screen would need terabytes.
    constexpr int kLargest = QWIDGETSIZE_MAX;
    view().relayout(QSize(kLargest, kLargest));
    for (int option = 0; option < 3; ++option) {
        for (int criterion = 0; criterion < 2; ++criterion)
            EXPECT_FALSE(view().ratingCell(option, criterion)->isHidden()) << option << ":" << criterion;
    }
}

TEST_F(MatrixViewTest, CellsArePlacedByTheirIndexes)
{
    start();
    load(matrixProject(3, 2));
    const QScrollArea* strip = view().optionHeaderArea();
    const QScrollArea* column = view().criterionArea();
    const QScrollArea* grid = view().ratingGrid();
    EXPECT_EQ(inPane(view().optionCell(2), strip), QRect(290, 10, 130, 80));
    EXPECT_EQ(inPane(view().criterionCell(1), column), QRect(10, 120, 130, 100));
    EXPECT_EQ(inPane(&rating(0, 0), grid), QRect(10, 10, 130, 100));
    EXPECT_EQ(inPane(&rating(2, 1), grid), QRect(290, 120, 130, 100));

    const OptionCell* option = view().optionCell(1);
    EXPECT_EQ(inCell(option->moveLeftButton()), QRect(0, 0, 12, 12));
    EXPECT_EQ(inCell(option->moveRightButton()), QRect(0, 12, 12, 12));
    EXPECT_EQ(inCell(option->title()), QRect(12, 0, 93, 24));
    EXPECT_EQ(inCell(option->deleteButton()), QRect(105, 0, 24, 24));
    EXPECT_EQ(inCell(option->nameField()), QRect(4, 40, 120, 20));

    const CriterionCell* criterion = view().criterionCell(1);
    EXPECT_EQ(inCell(criterion->title()), QRect(12, 0, 93, 24));
    EXPECT_EQ(inCell(criterion->deleteButton()), QRect(105, 0, 24, 24));
    EXPECT_EQ(inCell(criterion->nameField()), QRect(4, 30, 120, 20));
    EXPECT_EQ(inCell(criterion->importanceSlider()), QRect(4, 55, 120, 20));
    EXPECT_EQ(inCell(criterion->legend()), QRect(4, 78, 120, 15));

    RatingCell& cell = rating(2, 1);
    EXPECT_EQ(inCell(cell.commentButton()), QRect(105, 0, 24, 24));
    EXPECT_EQ(inCell(cell.valueSlider()), QRect(4, 55, 120, 20));
    EXPECT_EQ(cell.valueBoxRect().size(), QSize(15, 14));
}

TEST_F(MatrixViewTest, RatingCellDrawsItsTitleScaleBoxAndCaptionInPlace)
{
    start();
    load(matrixProject(2, 2)); // rating B:2 has the value 3, shown as "-2"
    RatingCell& cell = rating(1, 1);
    const QImage shot = picture(&cell);
    const QPoint client(1, 1); // inside the border
    const auto at = [&](int x, int y) { return shot.pixel(client + QPoint(x, y)); };
    const auto anyPixel = [&](const QRect& area, auto test) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (test(QColor(at(x, y))))
                    return true;
        return false;
    };
    const QImage& scale = BuiltInImages::instance().scaleBackground;
    EXPECT_EQ(at(4, 30), scale.pixel(0, 0));
    EXPECT_EQ(at(123, 49), scale.pixel(119, 19));
    EXPECT_EQ(at(64, 31), scale.pixel(60, 1));
    // The box over position 3: (37, 33), 15 x 14, dark with white figures.
    EXPECT_EQ(at(37, 33), qRgb(80, 80, 80));
    EXPECT_EQ(at(51, 46), qRgb(80, 80, 80));
    EXPECT_NE(at(36, 33), qRgb(80, 80, 80));
    EXPECT_TRUE(anyPixel({38, 34, 13, 12}, [](const QColor& c) { return c.lightness() > 200; }));
    // Grey title text in the title area, dark caption text under the slider.
    EXPECT_TRUE(anyPixel({0, 0, 105, 24}, [](const QColor& c) { return c.rgb() == qRgb(106, 106, 106); }));
    EXPECT_TRUE(anyPixel({4, 78, 12, 15}, [](const QColor& c) { return c.lightness() < 100; }));
    EXPECT_TRUE(anyPixel({54, 78, 12, 15}, [](const QColor& c) { return c.lightness() < 100; }));
    EXPECT_TRUE(anyPixel({110, 78, 14, 15}, [](const QColor& c) { return c.lightness() < 100; }));
    EXPECT_EQ(cell.titleText(), text(TextKey::TXT00208) + u" B:2"_s);
    EXPECT_EQ(cell.valueText(), u"-2"_s);
}

TEST_F(MatrixViewTest, CriterionCellsTakeTheWidthInForceWhenTheyAreBuilt)
{
    start(0);
    load(matrixProject(1, 1));
    view().setCellCriteriaAddWidth(100);
    m_document.appendEntry(EntryKind::Criterion, u"wide"_s);
    const CriterionCell* narrow = view().criterionCell(0);
    const CriterionCell* wide = view().criterionCell(1);
    EXPECT_EQ(narrow->width(), 130);
    EXPECT_EQ(wide->width(), 230);
    EXPECT_EQ(inCell(wide->title()), QRect(12, 0, 193, 24));
    EXPECT_EQ(inCell(wide->deleteButton()), QRect(205, 0, 24, 24));
    EXPECT_EQ(inCell(wide->importanceSlider()), QRect(4, 55, 220, 20));
    // The fixed layout stays as it was created.
    EXPECT_EQ(view().criterionArea()->width(), 150);
}

TEST_F(MatrixViewTest, WideCriterionColumnKeepsTheWholeLegendInView)
{
    // At the widest column the legend carries about seventy blanks between
    // its words; spaced as they come, "Low" and "High" fell off both ends.
    for (int width : {100, 277}) {
        m_legend = legendText(width);
        m_commands.reset();
        m_view.reset();
        start(width);
        load(matrixProject(1, 1));
        const QLabel* legend = view().criterionCell(0)->legend();
        EXPECT_EQ(legend->text(), m_legend);
        EXPECT_LE(QFontMetricsF(legend->font()).horizontalAdvance(legend->text()), legend->width()) << width;
    }
}

TEST_F(MatrixViewTest, CellsShowTitlesNamesAndPictures)
{
    start();
    Project project = matrixProject(2, 2);
    project.setComment(1, 1, QString());
    load(std::move(project));
    view().setBanner(u"Holiday"_s);
    EXPECT_EQ(view().bannerLabel()->text(), u"Holiday"_s);
    EXPECT_EQ(view().banner(), u"Holiday"_s);
    EXPECT_EQ(view().optionCell(1)->title()->text(), text(TextKey::TXT00202) + u" B"_s);
    EXPECT_EQ(view().optionCell(1)->nameField()->text(), u"O1"_s);
    EXPECT_EQ(view().criterionCell(1)->title()->text(), text(TextKey::TXT00200) + u" 2"_s);
    EXPECT_EQ(view().criterionCell(1)->importanceSlider()->value(), 2);
    EXPECT_EQ(view().criterionCell(1)->legend()->text(), m_legend);
    EXPECT_EQ(rating(1, 0).titleText(), text(TextKey::TXT00208) + u" B:1"_s);
    EXPECT_EQ(rating(1, 0).scaleCaptionText(), u"-5                       0                    +5"_s);
    EXPECT_EQ(rating(1, 0).commentButton()->toolTip(), u"1:0"_s);
    EXPECT_EQ(rating(1, 1).commentButton()->toolTip(), text(TextKey::TXT00209));
    EXPECT_NE(rating(1, 0).commentButton()->pixmap().toImage(), rating(1, 1).commentButton()->pixmap().toImage());
    EXPECT_EQ(view().optionCell(0)->deleteButton()->toolTip(), text(TextKey::TXT00206));
    EXPECT_EQ(view().criterionCell(0)->moveDownButton()->toolTip(), text(TextKey::TXT00224));
}

TEST_F(MatrixViewTest, StatusLineCountsCriteriaThenOptions)
{
    start();
    const QString single = u" "_s + text(TextKey::TXT00200) + u" "_s + text(TextKey::TXT00150) + u" "_s;
    load(matrixProject(0, 0));
    EXPECT_EQ(view().statusLine()->text(), u"0"_s + single + u"0 "_s + text(TextKey::TXT00202));
    load(matrixProject(1, 1));
    EXPECT_EQ(view().statusLine()->text(), u"1"_s + single + u"1 "_s + text(TextKey::TXT00202));
    load(matrixProject(2, 3));
    EXPECT_EQ(view().statusLine()->text(), u"3 "_s + text(TextKey::TXT00201) + u" "_s + text(TextKey::TXT00150)
                                               + u" 2 "_s + text(TextKey::TXT00203));
}

TEST_F(MatrixViewTest, SliderShowsTheSignedValueOverItsPositionAndHandsOnTheFocus)
{
    start();
    load(matrixProject(2, 2));
    RatingCell& cell = rating(1, 1);
    QSlider* slider = cell.valueSlider();
    struct Step {
        QAbstractSlider::SliderAction action;
        int value;
        const char16_t* box;
        int x;
    };
    for (const Step& step :
         {Step{QAbstractSlider::SliderToMaximum, 10, u"+5", 107}, Step{QAbstractSlider::SliderToMinimum, 0, u"-5", 7},
          Step{QAbstractSlider::SliderSingleStepAdd, 1, u"-4", 17}}) {
        slider->setFocus();
        slider->triggerAction(step.action);
        EXPECT_EQ(m_project.ratingOf(1, 1)->Value, step.value);
        EXPECT_EQ(cell.valueText(), QString::fromUtf16(step.box));
        EXPECT_EQ(cell.valueBoxRect(), QRect(step.x, 33, 15, 14));
        EXPECT_EQ(m_client.focusWidget(), cell.commentButton());
    }
    slider->setValue(5);
    EXPECT_EQ(cell.valueText(), u"0"_s);
    EXPECT_EQ(cell.valueBoxRect().x(), 57);
    // The neighbour is untouched.
    EXPECT_EQ(m_project.ratingOf(0, 1)->Value, 2);
}

TEST_F(MatrixViewTest, FreshRatingsKeepTheBoxEmptyUntilTheSliderIsUsed)
{
    start();
    load(matrixProject(1, 1));
    m_document.appendEntry(EntryKind::Option, u"new"_s);
    RatingCell& cell = rating(1, 0);
    EXPECT_EQ(cell.valueText(), QString());
    EXPECT_EQ(cell.valueBoxRect().x(), 57);
    // Letting go of the knob where it stands confirms the neutral value.
    emit cell.valueSlider()->sliderReleased();
    EXPECT_EQ(cell.valueText(), u"0"_s);
    EXPECT_EQ(m_client.focusWidget(), cell.commentButton());
}

TEST_F(MatrixViewTest, ImportanceSliderWritesTheModelAndFocusesTheDeleteButton)
{
    start();
    load(matrixProject(1, 2));
    const CriterionCell* cell = view().criterionCell(1);
    cell->importanceSlider()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(m_project.criteria()[1].Importance, 5);
    EXPECT_EQ(m_client.focusWidget(), cell->deleteButton());
}

TEST_F(MatrixViewTest, TypedNamesReachTheModelAtOnce)
{
    start();
    load(matrixProject(2, 2));
    QLineEdit* option = view().optionCell(1)->nameField();
    option->clear();
    QTest::keyClicks(option, u"Tent"_s);
    EXPECT_EQ(m_project.options()[1].Name, u"Tent"_s);
    QLineEdit* criterion = view().criterionCell(0)->nameField();
    criterion->selectAll();
    QTest::keyClicks(criterion, u"Price"_s);
    EXPECT_EQ(m_project.criteria()[0].Name, u"Price"_s);
    EXPECT_EQ(m_project.options()[0].Name, u"O0"_s);
}

TEST_F(MatrixViewTest, StripClicksAreLimitedAndRedrawTheMark)
{
    start(40);
    QWidget* strip = view().widthStrip();
    EXPECT_EQ(picture(strip).pixel(40, 0), qRgb(164, 164, 164));
    QSignalSpy chosen(&view(), &MatrixView::criteriaAddWidthChosen);
    struct Click {
        int x, stored;
    };
    for (const Click click : {Click{3, 0}, Click{279, 277}, Click{5, 5}, Click{150, 150}}) {
        QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(click.x, 1));
        ASSERT_FALSE(chosen.isEmpty());
        EXPECT_EQ(chosen.takeLast().at(0).toInt(), click.stored) << click.x;
        const QImage drawn = picture(strip);
        EXPECT_EQ(drawn.pixel(click.stored, 2), qRgb(164, 164, 164)) << click.x;
        EXPECT_EQ(drawn.pixel(click.stored + 2, 0), qRgb(164, 164, 164)) << click.x;
        EXPECT_EQ(drawn.pixel(click.stored + 3 > 279 ? 0 : click.stored + 3, 0), qRgb(255, 255, 255)) << click.x;
        EXPECT_EQ(drawn.pixel(click.stored == 0 ? 279 : click.stored - 1, 1), qRgb(255, 255, 255)) << click.x;
        EXPECT_EQ(view().cellCriteriaAddWidth(), click.stored);
    }
    QTest::mouseClick(strip, Qt::RightButton, Qt::NoModifier, QPoint(80, 1));
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_EQ(strip->toolTip(), text(TextKey::TXT00226));
}

TEST_F(MatrixViewTest, HeadersFollowTheGridToItsFarEnd)
{
    start();
    load(matrixProject(12, 15));
    QScrollArea* grid = view().ratingGrid();
    for (const bool farEnd : {false, true}) {
        grid->horizontalScrollBar()->setValue(farEnd ? grid->horizontalScrollBar()->maximum() : 300);
        grid->verticalScrollBar()->setValue(farEnd ? grid->verticalScrollBar()->maximum() : 250);
        EXPECT_GT(grid->horizontalScrollBar()->value(), 0);
        EXPECT_EQ(view().optionHeaderArea()->horizontalScrollBar()->value(), grid->horizontalScrollBar()->value());
        EXPECT_EQ(view().criterionArea()->verticalScrollBar()->value(), grid->verticalScrollBar()->value());
        // What the user sees: each header stands exactly over (beside) its column (row).
        for (int index : {0, 5, 11}) {
            EXPECT_EQ(view().optionCell(index)->mapTo(view().optionHeaderArea()->viewport(), QPoint()).x(),
                      rating(index, 0).mapTo(grid->viewport(), QPoint()).x());
        }
        for (int index : {0, 7, 14}) {
            EXPECT_EQ(view().criterionCell(index)->mapTo(view().criterionArea()->viewport(), QPoint()).y(),
                      rating(0, index).mapTo(grid->viewport(), QPoint()).y());
        }
    }
    EXPECT_EQ(view().optionHeaderArea()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(view().criterionArea()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->verticalScrollBar()->singleStep(), 10);
}

TEST_F(MatrixViewTest, WheelAnywhereScrollsTheGridAndNeverMovesASlider)
{
    start();
    load(matrixProject(4, 10));
    QScrollArea* grid = view().ratingGrid();
    QSlider* slider = rating(1, 1).valueSlider();
    const int value = slider->value();
    wheel(slider, -15);
    EXPECT_EQ(slider->value(), value);
    EXPECT_EQ(m_project.ratingOf(1, 1)->Value, value);
    const int scrolled = grid->verticalScrollBar()->value();
    EXPECT_GT(scrolled, 0);
    EXPECT_EQ(view().criterionArea()->verticalScrollBar()->value(), scrolled);

    QSlider* importance = view().criterionCell(2)->importanceSlider();
    const int weight = importance->value();
    wheel(importance, -15);
    EXPECT_EQ(importance->value(), weight);
    wheel(view().bannerLabel(), -15);
    EXPECT_GT(grid->verticalScrollBar()->value(), scrolled);
    wheel(view().optionCell(0)->nameField(), 60);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
    EXPECT_EQ(view().criterionArea()->verticalScrollBar()->value(), 0);
}

TEST_F(MatrixViewTest, TabThroughTheHeadersScrollsTheGridAlong)
{
    start();
    load(matrixProject(12, 15));
    QScrollArea* grid = view().ratingGrid();
    QScrollArea* column = view().criterionArea();
    view().criterionCell(0)->moveUpButton()->setFocus(Qt::TabFocusReason);
    int inColumn = 0;
    int steps = 0;
    QWidget* last = nullptr;
    while (column->widget()->isAncestorOf(QApplication::focusWidget())
           || grid->widget()->isAncestorOf(QApplication::focusWidget())) {
        QWidget* focused = QApplication::focusWidget();
        if (column->widget()->isAncestorOf(focused)) {
            const QRect shown(focused->mapTo(column->viewport(), QPoint()), focused->size());
            ASSERT_TRUE(column->viewport()->rect().contains(shown)) << steps;
            ++inColumn;
        }
        ASSERT_EQ(column->verticalScrollBar()->value(), grid->verticalScrollBar()->value());
        last = focused;
        QTest::keyClick(focused, Qt::Key_Tab);
        ++steps;
    }
    // Arrows, delete button, name and importance of every criterion, each
    // row's 12 ratings (comment and slider) after its criterion.
    EXPECT_EQ(inColumn, 15 * 5);
    EXPECT_EQ(steps, 15 * (5 + 12 * 2));
    EXPECT_EQ(last, rating(11, 14).valueSlider());
    // The grid went just far enough to show the last rating cell whole.
    const QRect lastCell = inPane(&rating(11, 14), grid);
    EXPECT_EQ(grid->verticalScrollBar()->value() + grid->viewport()->height(), lastCell.bottom() + 1);

    QLineEdit* secondOption = view().optionCell(1)->nameField();
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    secondOption->setFocus(Qt::BacktabFocusReason);
    EXPECT_EQ(grid->horizontalScrollBar()->value(), inPane(secondOption, view().optionHeaderArea()).left());
    EXPECT_EQ(view().optionHeaderArea()->horizontalScrollBar()->value(), grid->horizontalScrollBar()->value());
}

TEST_F(MatrixViewTest, CellsOutOfSightAppearWhenTheGridScrollsToThem)
{
    start();
    load(matrixProject(12, 15));
    QScrollArea* grid = view().ratingGrid();
    RatingCell& far = rating(11, 14);
    EXPECT_FALSE(far.isVisible());
    EXPECT_FALSE(view().criterionCell(14)->isVisible());
    EXPECT_FALSE(view().optionCell(11)->isVisible());
    EXPECT_TRUE(rating(0, 0).isVisible());

    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    EXPECT_TRUE(far.isVisible());
    EXPECT_TRUE(view().criterionCell(14)->isVisible());
    EXPECT_TRUE(view().optionCell(11)->isVisible());
    // What the user sees there: the value box of K:15, value (11 + 28) % 11 = 6.
    const QPoint box = far.mapTo(grid->viewport(), far.valueBoxRect().topLeft() + QPoint(1, 1));
    EXPECT_EQ(picture(grid->viewport()).pixel(box), qRgb(80, 80, 80));
    EXPECT_EQ(far.valueText(), u"+1"_s);
    EXPECT_EQ(far.commentButton()->toolTip(), u"11:14"_s);
}

TEST_F(MatrixViewTest, TabWalksTheGridInReadingOrderAndScrollsAlong)
{
    start();
    load(matrixProject(6, 12));
    QScrollArea* grid = view().ratingGrid();
    // A look at the far corner first: its cells get their controls before
    // the ones in between.
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    grid->horizontalScrollBar()->setValue(0);
    grid->verticalScrollBar()->setValue(0);
    rating(0, 0).commentButton()->setFocus(Qt::TabFocusReason);
    const QRect visible = grid->viewport()->rect();
    for (int criterion = 0; criterion < 12; ++criterion) {
        for (int option = 0; option < 6; ++option) {
            for (QWidget* expected : {static_cast<QWidget*>(rating(option, criterion).commentButton()),
                                      static_cast<QWidget*>(rating(option, criterion).valueSlider())}) {
                ASSERT_EQ(QApplication::focusWidget(), expected) << option << ":" << criterion;
                const QRect shown(expected->mapTo(grid->viewport(), QPoint()), expected->size());
                EXPECT_TRUE(visible.contains(shown)) << option << ":" << criterion;
                QTest::keyClick(expected, Qt::Key_Tab);
            }
        }
        // The next row starts with its criterion's controls.
        if (criterion + 1 < 12) {
            ASSERT_EQ(QApplication::focusWidget(), view().criterionCell(criterion + 1)->moveUpButton());
            for (int control = 0; control < 5; ++control)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }
    // Past the last cell the focus leaves the grid.
    EXPECT_FALSE(grid->isAncestorOf(QApplication::focusWidget()));

    rating(0, 3).commentButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(rating(0, 3).commentButton(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), view().criterionCell(3)->importanceSlider());
    view().criterionCell(3)->moveUpButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(view().criterionCell(3)->moveUpButton(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), rating(5, 2).valueSlider());
    QTest::keyClick(rating(5, 2).valueSlider(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), rating(5, 2).commentButton());
}

TEST_F(MatrixViewTest, GridShowsItsGreyBetweenTheCells)
{
    start();
    load(matrixProject(2, 2));
    const QImage shot = picture(view().ratingGrid()->viewport());
    EXPECT_EQ(shot.pixel(5, 5), qRgb(224, 224, 224));
    EXPECT_EQ(shot.pixel(145, 60), qRgb(224, 224, 224));
    EXPECT_EQ(shot.pixel(400, 300), qRgb(224, 224, 224));
    EXPECT_EQ(shot.pixel(60, 37), QPalette().color(QPalette::Window).rgb()); // cell A:1 keeps the window colour
    // The banner: white text on title blue.
    const QImage banner = picture(view().bannerLabel());
    EXPECT_EQ(banner.pixel(2, 2), qRgb(98, 116, 205));
}
