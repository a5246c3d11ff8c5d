// The matrix without a mouse and through a screen reader's eyes: the order
// Tab walks, what the keys press and change, and the names and values that
// assistive technology reads for each control.
#include "editor/ImageButton.h"
#include "editor/MatrixGeometry.h"
#include "editor/WidthStrip.h"
#include "tests/editor/MatrixFixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QSignalSpy>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// The contrast of two colours as accessibility guidelines reckon it, from
// their relative luminance: 1 for the same colour, 21 for black on white.
double contrast(const QColor& first, const QColor& second)
{
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double channel) {
            return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    };
    const double a = luminance(first) + 0.05;
    const double b = luminance(second) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

// How many pixels of `image` within `depth` pixels of its edge have `colour`,
// and how many pixels that band holds.
std::pair<int, int> edgePixels(const QImage& image, int depth, const QColor& colour)
{
    int matching = 0;
    int all = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (std::min({x, y, image.width() - 1 - x, image.height() - 1 - y}) >= depth)
                continue;
            ++all;
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                ++matching;
        }
    }
    return {matching, all};
}

class KeyboardAccessTest : public MatrixFixture {
protected:
    // Every stop of a 3 x 3 matrix in reading order, written out by hand.
    std::vector<QWidget*> readingOrder()
    {
        std::vector<QWidget*> order{view().addOptionButton(), view().addCriterionButton()};
        for (int option = 0; option < 3; ++option) {
            OptionCell* cell = view().optionCell(option);
            order.insert(order.end(),
                         {cell->moveLeftButton(), cell->moveRightButton(), cell->deleteButton(), cell->nameField()});
        }
        for (int criterion = 0; criterion < 3; ++criterion) {
            CriterionCell* cell = view().criterionCell(criterion);
            order.insert(order.end(), {cell->moveUpButton(), cell->moveDownButton(), cell->deleteButton(),
                                       cell->nameField(), cell->importanceSlider()});
            for (int option = 0; option < 3; ++option)
                order.insert(order.end(),
                             {rating(option, criterion).commentButton(), rating(option, criterion).valueSlider()});
        }
        return order;
    }

    // Whether all of `widget` is on the screen: inside the visible part of
    // every scroll area it sits in, and inside the client area.
    bool wholeInSight(const QWidget* widget) const
    {
        for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
            const QRect rect(widget->mapTo(parent, QPoint()), widget->size());
            if (!parent->rect().contains(rect))
                return false;
            if (parent == &m_client)
                return true;
        }
        return false;
    }

    std::vector<int> values() const
    {
        std::vector<int> now;
        for (const Rating& rating : m_project.ratings())
            now.push_back(rating.Value);
        for (const Criterion& criterion : m_project.criteria())
            now.push_back(criterion.Importance);
        return now;
    }

    static QString name(QWidget* widget)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(QAccessible::Name) : u"(none)"_s;
    }

    static QString valueText(QWidget* widget)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(QAccessible::Value) : u"(none)"_s;
    }

    static QVariant value(QWidget* widget)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face && face->valueInterface() ? face->valueInterface()->currentValue() : QVariant();
    }

    // The car example: A:1 is rated 9 on the stored scale, +4 as shown.
    static Project cars()
    {
        Project project;
        project.appendOption(u"Car SUV T7"_s);
        project.appendOption(u"Car SUV D14"_s);
        project.appendCriterion(u"Price"_s, 5);
        project.appendCriterion(u"Fuel consumption"_s, 4);
        project.appendCriterion(u"Horsepower"_s, 3);
        const int stored[2][3] = {{9, 10, 8}, {6, 8, 3}};
        for (int option = 0; option < 2; ++option) {
            for (int criterion = 0; criterion < 3; ++criterion)
                project.appendRating(option, criterion, option == 0 && criterion == 0 ? u"USD 39'000"_s : QString(),
                                     stored[option][criterion]);
        }
        return project;
    }
};

TEST_F(KeyboardAccessTest, TabAndShiftTabWalkTheMatrixInReadingOrderAndKeepItInSight)
{
    start();
    load(matrixProject(3, 3));
    // Small enough that the grid has to scroll to show the last row and column.
    m_client.resize(430, 330);
    view().relayout(m_client.size());
    const std::vector<QWidget*> order = readingOrder();
    ASSERT_EQ(order.size(), 2u + 3 * 4 + 3 * (5 + 3 * 2));

    view().addOptionButton()->setFocus(Qt::TabFocusReason);
    for (std::size_t step = 0; step < order.size(); ++step) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_EQ(focused, order[step]) << "step " << step;
        EXPECT_TRUE(wholeInSight(focused)) << "step " << step;
        if (step + 1 < order.size())
            QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_GT(view().ratingGrid()->verticalScrollBar()->value(), 0);
    EXPECT_GT(view().ratingGrid()->horizontalScrollBar()->value(), 0);

    for (std::size_t step = order.size() - 1; step > 0; --step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        ASSERT_EQ(QApplication::focusWidget(), order[step - 1]) << "back to step " << step - 1;
        EXPECT_TRUE(wholeInSight(order[step - 1])) << "back to step " << step - 1;
    }
}

TEST_F(KeyboardAccessTest, KeysChangeOnlyTheFocusedSliderAndPressOnlyTheFocusedButton)
{
    start();
    load(matrixProject(3, 3));
    const std::vector<int> before = values();

    // Arrows on a comment button change nothing, and the focus stays put.
    ImageButton* comment = rating(1, 1).commentButton();
    comment->setFocus(Qt::TabFocusReason);
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_End})
        QTest::keyClick(comment, key);
    EXPECT_EQ(values(), before);
    EXPECT_EQ(QApplication::focusWidget(), comment);

    // Right on B:2's slider moves that rating only: (1 + 2) % 11 = 3, then 4.
    QTest::keyClick(comment, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), rating(1, 1).valueSlider());
    QTest::keyClick(rating(1, 1).valueSlider(), Qt::Key_Right);
    std::vector<int> expected = before;
    expected[4] = 4; // ratings are listed option by option: B:2 is the fifth
    EXPECT_EQ(values(), expected);

    // Space and Enter press the focused button: each asks for B:2's comment.
    m_dialogs.entries = {std::nullopt, std::nullopt};
    QTest::keyClick(comment, Qt::Key_Space);
    QTest::keyClick(comment, Qt::Key_Return);
    ASSERT_EQ(m_dialogs.textEntries.size(), 2);
    EXPECT_TRUE(m_dialogs.textEntries[1].text.endsWith(u" B:2|1:1"_s)) << m_dialogs.textEntries[1].text.toStdString();

    // Enter on the add button adds an option; on a move button it moves.
    view().addOptionButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(view().addOptionButton(), Qt::Key_Enter);
    EXPECT_EQ(m_project.optionCount(), 4);
    view().optionCell(0)->moveRightButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(view().optionCell(0)->moveRightButton(), Qt::Key_Return);
    EXPECT_EQ(m_project.options()[1].Name, u"O0"_s);
}

TEST_F(KeyboardAccessTest, ASliderChangedWithTheKeysKeepsTheFocusForTheNextStep)
{
    start();
    load(matrixProject(3, 3));
    // B:2 starts at (1 + 2) % 11 = 3 of 0..10, page step 2; C1's importance
    // at 1 + 1 = 2 of 1..5, page step 1. Page Up adds, Home goes to the
    // lowest value; a key at the end of the scale changes nothing.
    struct Case {
        const char* slider;
        CellSlider* (*find)(MatrixView&);
        int (*stored)(const Project&);
        std::vector<std::pair<Qt::Key, int>> steps;
    };
    const Case cases[] = {
        {"rating B:2",
         [](MatrixView& view) { return view.ratingCell(1, 1)->valueSlider(); },
         [](const Project& project) { return project.ratingOf(1, 1)->Value; },
         {{Qt::Key_Right, 4},
          {Qt::Key_Right, 5},
          {Qt::Key_PageUp, 7},
          {Qt::Key_Left, 6},
          {Qt::Key_End, 10},
          {Qt::Key_PageDown, 8},
          {Qt::Key_Home, 0}}},
        {"importance of C1",
         [](MatrixView& view) { return view.criterionCell(1)->importanceSlider(); },
         [](const Project& project) { return project.criteria()[1].Importance; },
         {{Qt::Key_Right, 3},
          {Qt::Key_Right, 4},
          {Qt::Key_PageUp, 5},
          {Qt::Key_End, 5},
          {Qt::Key_Left, 4},
          {Qt::Key_Home, 1},
          {Qt::Key_Down, 1}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.slider);
        CellSlider* slider = test.find(view());
        slider->setFocus(Qt::TabFocusReason);
        for (const auto& [key, stored] : test.steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_EQ(test.stored(m_project), stored) << "after key " << key;
            ASSERT_EQ(QApplication::focusWidget(), slider) << "after key " << key;
        }
    }
    EXPECT_TRUE(m_dialogs.messages.isEmpty()) << "a key pressed a button";
}

TEST_F(KeyboardAccessTest, AnAddedEntryIsScrolledIntoViewWithItsNameFieldFocused)
{
    start();
    load(matrixProject(3, 3));
    // Too small for a fourth column or row: the grid must scroll to it.
    m_client.resize(430, 330);
    view().relayout(m_client.size());
    const struct {
        const char* entry;
        QAbstractButton* add;
        QLineEdit* (*nameOfFourth)(MatrixView&);
    } cases[] = {
        {"option", view().addOptionButton(), [](MatrixView& view) { return view.optionCell(3)->nameField(); }},
        {"criterion", view().addCriterionButton(), [](MatrixView& view) { return view.criterionCell(3)->nameField(); }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.entry);
        test.add->setFocus(Qt::TabFocusReason);
        QTest::keyClick(test.add, Qt::Key_Return);
        QLineEdit* field = test.nameOfFourth(view());
        ASSERT_EQ(QApplication::focusWidget(), field);
        EXPECT_TRUE(wholeInSight(field));
    }
}

TEST_F(KeyboardAccessTest, TheFocusedPictureButtonAloneShowsAClearRing)
{
    start();
    load(matrixProject(2, 2));
    const QColor ring = matrix::kFocusRing;
    // What the ring borders on: the window, the grid, the strip, the titles.
    for (const QColor& background : {m_client.palette().color(QPalette::Window), matrix::kGridBackground,
                                     matrix::kStripBackground, matrix::kTitleBlue})
        EXPECT_GE(contrast(ring, background), 3.0) << background.name().toStdString();

    // Two device pixels deep at least, on every kind of picture button.
    const int depth = 2;
    const std::vector<QWidget*> buttons{view().addOptionButton(), view().optionCell(0)->moveLeftButton(),
                                        view().optionCell(1)->deleteButton(), view().criterionCell(1)->moveDownButton(),
                                        rating(1, 1).commentButton()};
    QWidget* before = nullptr;
    for (QWidget* button : buttons) {
        SCOPED_TRACE(button->toolTip().toStdString());
        button->setFocus(Qt::TabFocusReason);
        const auto [ringed, band] = edgePixels(button->grab().toImage(), depth, ring);
        EXPECT_EQ(ringed, band);
        // For a look at the ring in the view: PONDERIX_SHOTS names a folder.
        if (const QString folder = qEnvironmentVariable("PONDERIX_SHOTS"); !folder.isEmpty())
            m_client.grab().save(QDir(folder).filePath(button->toolTip() + u".png"_s));
        // The ring leaves with the focus.
        if (before) {
            EXPECT_EQ(edgePixels(before->grab().toImage(), depth, ring).first, 0);
        }
        before = button;
    }

    // The strip, too thin for a ring inside it, takes the ring's colour whole
    // but for its mark, and gives it up with the focus.
    QWidget* strip = view().widthStrip();
    strip->setFocus(Qt::TabFocusReason);
    const QImage focused = strip->grab().toImage();
    const int markPixels = matrix::kStripMarkSize * matrix::kStripMarkSize * qRound(strip->devicePixelRatioF())
                           * qRound(strip->devicePixelRatioF());
    EXPECT_GE(focused.height(), depth);
    EXPECT_EQ(edgePixels(focused, focused.height(), ring).first, focused.width() * focused.height() - markPixels);
    before->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edgePixels(strip->grab().toImage(), strip->height(), ring).first, 0);
}

TEST_F(KeyboardAccessTest, TheFirstControlHasTheFocusAfterEveryNewProject)
{
    start();
    // From controls that outlive the project: a new one and an opened one.
    view().addCriterionButton()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(commands().newProject(u"Start"_s));
    EXPECT_EQ(QApplication::focusWidget(), view().addOptionButton());
    view().widthStrip()->setFocus(Qt::TabFocusReason);
    load(matrixProject(2, 2));
    EXPECT_EQ(QApplication::focusWidget(), view().addOptionButton());
}

TEST_F(KeyboardAccessTest, TheWidthStripTakesTheKeysAfterTheMatrix)
{
    start();
    load(matrixProject(3, 3));
    QSignalSpy chosen(&view(), &MatrixView::criteriaAddWidthChosen);
    auto* strip = static_cast<WidthStrip*>(view().widthStrip());
    EXPECT_EQ(name(strip), text(TextKey::TXT00226));

    rating(2, 2).valueSlider()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(rating(2, 2).valueSlider(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), strip);

    // The keys move the mark, within 0..277; only Enter or Space chooses.
    QTest::keyClick(strip, Qt::Key_Left);
    EXPECT_EQ(strip->mark(), 0);
    QTest::keyClick(strip, Qt::Key_End);
    EXPECT_EQ(strip->mark(), 277);
    QTest::keyClick(strip, Qt::Key_Right);
    EXPECT_EQ(strip->mark(), 277);
    QTest::keyClick(strip, Qt::Key_Home);
    QTest::keyClick(strip, Qt::Key_PageDown);
    QTest::keyClick(strip, Qt::Key_PageDown);
    QTest::keyClick(strip, Qt::Key_Left);
    EXPECT_EQ(strip->mark(), 19);
    EXPECT_EQ(chosen.count(), 0);
    QTest::keyClick(strip, Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 19);
    EXPECT_EQ(view().cellCriteriaAddWidth(), 19);

    // A mark moved and left unchosen goes back to the width in use.
    QTest::keyClick(strip, Qt::Key_PageDown);
    EXPECT_EQ(strip->mark(), 29);
    EXPECT_EQ(valueText(strip), u"29"_s);
    QTest::keyClick(strip, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), rating(2, 2).valueSlider());
    EXPECT_EQ(strip->mark(), 19);
    EXPECT_EQ(chosen.count(), 1);

    // To a screen reader it is a slider over the widths; setting its value
    // chooses, limited to 0..277 as the keys are.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(strip);
    EXPECT_EQ(face->role(), QAccessible::Slider);
    ASSERT_NE(face->valueInterface(), nullptr);
    EXPECT_EQ(value(strip), QVariant(19));
    EXPECT_EQ(face->valueInterface()->minimumValue(), QVariant(0));
    EXPECT_EQ(face->valueInterface()->maximumValue(), QVariant(277));
    face->valueInterface()->setCurrentValue(300);
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).at(0).toInt(), 277);
    EXPECT_EQ(value(strip), QVariant(277));
}

TEST_F(KeyboardAccessTest, ScreenReadersHearWhatTheCellsShow)
{
    start();
    load(cars());
    view().setBanner(u"Cars.pnx"_s);
    view().updateStatusLine();

    QSlider* a1 = rating(0, 0).valueSlider();
    EXPECT_EQ(name(a1), u"Rating A:1, Price, Car SUV T7"_s);
    EXPECT_EQ(valueText(a1), u"+4"_s);
    EXPECT_EQ(value(a1), QVariant(4));
    QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(a1);
    EXPECT_EQ(slider->role(), QAccessible::Slider);
    EXPECT_EQ(slider->valueInterface()->minimumValue(), QVariant(-5));
    EXPECT_EQ(slider->valueInterface()->maximumValue(), QVariant(5));
    EXPECT_EQ(name(&rating(1, 2)), u"Rating B:3, Horsepower, Car SUV D14"_s);
    EXPECT_EQ(valueText(rating(1, 2).valueSlider()), u"-2"_s);

    // Importances read with the legend's word where it stands under the tick.
    EXPECT_EQ(name(view().criterionCell(0)->importanceSlider()), u"Importance of criterion 1, Price"_s);
    EXPECT_EQ(valueText(view().criterionCell(0)->importanceSlider()), u"High, 5 of 5"_s);
    EXPECT_EQ(valueText(view().criterionCell(1)->importanceSlider()), u"4 of 5"_s);
    EXPECT_EQ(valueText(view().criterionCell(2)->importanceSlider()), u"Medium, 3 of 5"_s);
    EXPECT_EQ(value(view().criterionCell(1)->importanceSlider()), QVariant(4));

    // Picture buttons by their tooltips; a comment button by the rating it
    // is for, its comment as the description (for B:1, without one, the
    // tooltip's "Comment", which Qt gives when there is no description).
    const auto description = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
    };
    EXPECT_EQ(name(rating(0, 0).commentButton()), u"Comment on rating A:1"_s);
    EXPECT_EQ(description(rating(0, 0).commentButton()), u"USD 39'000"_s);
    EXPECT_EQ(name(rating(1, 0).commentButton()), u"Comment on rating B:1"_s);
    EXPECT_EQ(description(rating(1, 0).commentButton()), u"No comment"_s);
    EXPECT_EQ(name(view().addOptionButton()), text(TextKey::TXT00204));
    EXPECT_EQ(name(view().optionCell(1)->deleteButton()), text(TextKey::TXT00206));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(view().optionCell(1)->deleteButton())
                  ->text(QAccessible::Description),
              u"Option B"_s);
    EXPECT_EQ(name(view().criterionCell(2)->moveUpButton()), text(TextKey::TXT00223));
    EXPECT_EQ(name(view().optionCell(0)->nameField()), u"Name of option A"_s);
    EXPECT_EQ(valueText(view().optionCell(0)->nameField()), u"Car SUV T7"_s);
    EXPECT_EQ(name(view().bannerLabel()), u"Cars.pnx"_s);
    EXPECT_EQ(name(view().statusLine()), view().statusLine()->text());
    EXPECT_FALSE(view().statusLine()->text().isEmpty());
}

TEST_F(KeyboardAccessTest, ScreenReaderNamesFollowRenamesMovesAndValues)
{
    start();
    load(cars());
    QSlider* a1 = rating(0, 0).valueSlider();

    // A fresh rating's box is empty: the value is read, the emptiness said.
    commands().addOption();
    QSlider* c1 = rating(2, 0).valueSlider();
    EXPECT_EQ(valueText(c1), u"0"_s);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(c1)->text(QAccessible::Description), text(TextKey::TXT00565));

    QLineEdit* field = view().optionCell(0)->nameField();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, u"Van"_s);
    EXPECT_EQ(name(a1), u"Rating A:1, Price, Van"_s);

    view().criterionCell(0)->moveDownButton()->click();
    EXPECT_EQ(name(a1), u"Rating A:1, Fuel consumption, Van"_s);
    // The comment went down with its criterion; the buttons stay named by place.
    QAccessibleInterface* a2Comment = QAccessible::queryAccessibleInterface(rating(0, 1).commentButton());
    EXPECT_EQ(a2Comment->text(QAccessible::Name), u"Comment on rating A:2"_s);
    EXPECT_EQ(a2Comment->text(QAccessible::Description), u"USD 39'000"_s);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(rating(0, 0).commentButton())->text(QAccessible::Description),
              u"No comment"_s);
    EXPECT_EQ(valueText(a1), u"+5"_s);
    EXPECT_EQ(name(view().criterionCell(1)->importanceSlider()), u"Importance of criterion 2, Price"_s);

    // Back again; the events that tell a listening reader so are checked
    // through the AT-SPI tree (screen_reader_tree): without a platform
    // accessibility bridge Qt sends none.
    QTest::keyClicks(field, u"s"_s);
    view().criterionCell(1)->moveUpButton()->click();
    EXPECT_EQ(name(a1), u"Rating A:1, Price, Vans"_s);

    a1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(a1, Qt::Key_Left);
    EXPECT_EQ(valueText(a1), u"+3"_s);
    EXPECT_EQ(value(a1), QVariant(3));
    QAccessible::queryAccessibleInterface(a1)->valueInterface()->setCurrentValue(-2);
    EXPECT_EQ(m_project.ratingOf(0, 0)->Value, 3);
}

} // namespace
