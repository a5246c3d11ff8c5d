// What the matrix's controls do with input they should not act on: arrow
// keys after a slider handed the focus on, double-clicks on the picture
// buttons, and user text that looks like markup.
#include "editor/ImageButton.h"
#include "tests/editor/MatrixFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextDocument>
#include <QToolTip>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class ControlInputTest : public MatrixFixture {
protected:
    // Every importance and every rating value, to see that nothing moved.
    struct Positions {
        std::vector<int> importances;
        std::vector<int> values;
        bool operator==(const Positions&) const = default;
    };

    Positions positions() const
    {
        Positions now;
        for (const Criterion& criterion : m_project.criteria())
            now.importances.push_back(criterion.Importance);
        for (const Rating& rating : m_project.ratings())
            now.values.push_back(rating.Value);
        return now;
    }

    // Presses each arrow key `times` times where the keyboard focus is.
    static void pressArrows(int times)
    {
        for (int i = 0; i < times; ++i) {
            for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Left}) {
                QWidget* focused = QApplication::focusWidget();
                ASSERT_NE(focused, nullptr);
                QTest::keyClick(focused, key);
            }
        }
    }

    // A double-click as the window system delivers it: press, release,
    // press, release at one spot in quick succession.
    void doubleClick(QAbstractButton* button)
    {
        ASSERT_TRUE(button->isVisible());
        QTest::mouseDClick(m_client.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                           button->mapTo(&m_client, button->rect().center()));
    }

    // The text the tooltip of `widget` puts on the screen: it is asked for
    // the way the mouse asks, and the tooltip's label read as the user reads
    // it, as markup when it takes its text for markup.
    static QString shownToolTip(QWidget* widget)
    {
        const QPoint centre = widget->rect().center();
        QHelpEvent ask(QEvent::ToolTip, centre, widget->mapToGlobal(centre));
        QApplication::sendEvent(widget, &ask);
        QLabel* tip = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->inherits("QTipLabel") && top->isVisible())
                tip = qobject_cast<QLabel*>(top);
        }
        if (!tip)
            return u"(no tooltip)"_s;
        return shownText(*tip);
    }

    static QString shownText(const QLabel& label)
    {
        const bool markup = label.textFormat() == Qt::RichText
                            || (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
        if (!markup)
            return label.text();
        QTextDocument document;
        document.setHtml(label.text());
        // Blanks kept as written come back as no-break spaces.
        return document.toPlainText().replace(QChar::Nbsp, u' ');
    }

    void TearDown() override { QToolTip::hideText(); }
};

} // namespace

TEST_F(ControlInputTest, ArrowsAfterARatingSliderClickMoveNoOtherSlider)
{
    start();
    load(matrixProject(3, 3));
    RatingCell& cell = rating(0, 0);
    QSlider* slider = cell.valueSlider();
    // A click on the groove right of the knob pages the value up; the
    // groove runs along the top, the ticks below it.
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() - 4, 5));
    ASSERT_EQ(QApplication::focusWidget(), cell.commentButton());
    const Positions afterClick = positions();
    EXPECT_NE(afterClick.values[0], 0) << "the click itself moved the rating";

    pressArrows(2);
    EXPECT_EQ(QApplication::focusWidget(), cell.commentButton());
    EXPECT_EQ(positions(), afterClick);
}

TEST_F(ControlInputTest, ArrowsOnThePictureButtonsDoNothing)
{
    start();
    load(matrixProject(3, 3));
    const CriterionCell* criterion = view().criterionCell(1);
    // An importance event hands the focus to the delete button.
    criterion->importanceSlider()->triggerAction(QAbstractSlider::SliderToMaximum);
    ASSERT_EQ(QApplication::focusWidget(), criterion->deleteButton());
    const Positions before = positions();
    const int scrolledTo = view().ratingGrid()->verticalScrollBar()->value();

    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(criterion->deleteButton()),
          static_cast<QAbstractButton*>(criterion->moveUpButton()),
          static_cast<QAbstractButton*>(view().optionCell(1)->moveLeftButton()),
          static_cast<QAbstractButton*>(view().optionCell(1)->deleteButton()),
          static_cast<QAbstractButton*>(rating(1, 1).commentButton()), view().addOptionButton()}) {
        SCOPED_TRACE(button->toolTip().toStdString());
        button->setFocus(Qt::OtherFocusReason);
        pressArrows(1);
        EXPECT_EQ(QApplication::focusWidget(), button);
    }
    EXPECT_EQ(positions(), before);
    EXPECT_EQ(view().ratingGrid()->verticalScrollBar()->value(), scrolledTo);
    EXPECT_EQ(m_project.optionCount(), 3);
    EXPECT_TRUE(m_dialogs.messages.isEmpty()) << "an arrow pressed a button";
}

TEST_F(ControlInputTest, ADoubleClickOnAPictureButtonActsOnce)
{
    start();
    load(matrixProject(3, 3));
    doubleClick(view().addOptionButton());
    EXPECT_EQ(m_project.optionCount(), 4);
    doubleClick(view().addCriterionButton());
    EXPECT_EQ(m_project.criterionCount(), 4);
    // The new row was scrolled into view; back to the first ones.
    view().ratingGrid()->verticalScrollBar()->setValue(0);
    view().ratingGrid()->horizontalScrollBar()->setValue(0);

    doubleClick(view().optionCell(0)->moveRightButton());
    EXPECT_EQ(m_project.options()[0].Name, u"O1"_s);
    EXPECT_EQ(m_project.options()[1].Name, u"O0"_s);
    doubleClick(view().optionCell(2)->moveLeftButton());
    EXPECT_EQ(m_project.options()[1].Name, u"O2"_s);
    EXPECT_EQ(m_project.options()[2].Name, u"O0"_s);
    doubleClick(view().criterionCell(0)->moveDownButton());
    EXPECT_EQ(m_project.criteria()[1].Name, u"C0"_s);
    doubleClick(view().criterionCell(2)->moveUpButton());
    EXPECT_EQ(m_project.criteria()[1].Name, u"C2"_s);
    EXPECT_EQ(m_project.criteria()[2].Name, u"C0"_s);

    // The delete question comes once; its No keeps the option.
    doubleClick(view().optionCell(1)->deleteButton());
    EXPECT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_project.optionCount(), 4);
    m_dialogs.messages.clear();
    doubleClick(view().criterionCell(1)->deleteButton());
    EXPECT_EQ(m_dialogs.messages.size(), 1);
}

TEST_F(ControlInputTest, UserTextShowsAsTypedEvenWhenItLooksLikeMarkup)
{
    start();
    Project project = matrixProject(2, 2);
    project.setComment(0, 0, u"<b>cheap</b>"_s);
    project.setComment(1, 0, u"use &lt; for less"_s);
    project.setComment(0, 1, u"plain  words"_s);
    project.setComment(1, 1, QString());
    load(std::move(project));
    EXPECT_EQ(shownToolTip(rating(0, 0).commentButton()), u"<b>cheap</b>"_s);
    EXPECT_EQ(shownToolTip(rating(1, 0).commentButton()), u"use &lt; for less"_s);
    EXPECT_EQ(shownToolTip(rating(0, 1).commentButton()), u"plain  words"_s);
    EXPECT_EQ(shownToolTip(rating(1, 1).commentButton()), text(TextKey::TXT00209));
    // What the button holds is the comment itself, for assistive technology.
    EXPECT_EQ(rating(0, 0).commentButton()->toolTip(), u"<b>cheap</b>"_s);

    // The banner of a file named "<b>Plan.pnx".
    view().setBanner(u"<b>Plan"_s);
    EXPECT_EQ(shownText(*view().bannerLabel()), u"<b>Plan"_s);
    view().setBanner(u"R&amp;D"_s);
    EXPECT_EQ(shownText(*view().bannerLabel()), u"R&amp;D"_s);
}

// Enter and Return press a picture button once however long they are held:
// each of the keyboard's repeats would otherwise press it again, deleting one
// entry after another.
TEST(PictureButtonKeys, AHeldEnterPressesOnce)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key == Qt::Key_Return ? "Return" : "Enter");
        ImageButton button(nullptr);
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        const auto press = [&](bool autoRepeat) {
            QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
            QApplication::sendEvent(&button, &event);
        };
        press(false);
        for (int repeat = 0; repeat < 5; ++repeat)
            press(true);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(&button, &release);
        EXPECT_EQ(clicked.count(), 1) << "held down";
        // Let go and pressed anew, it presses again.
        press(false);
        EXPECT_EQ(clicked.count(), 2) << "pressed a second time";
    }
}
