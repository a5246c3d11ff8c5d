#include "editor/MatrixCells.h"

#include "base/DisplayText.h"
#include "base/Fonts.h"
#include "base/TextTable.h"
#include "document/CellTexts.h"
#include "editor/ImageButton.h"
#include "editor/MatrixGeometry.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <qdrawutil.h>

#include <limits>

namespace ponderix {

using namespace Qt::StringLiterals;
using namespace matrix;

namespace {

QPalette paletteWith(const QColor& text, const QColor& background)
{
    QPalette palette;
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    return palette;
}

// Children are placed inside the container's border.
QRect inside(const QRect& rect)
{
    return rect.translated(kBorder, kBorder);
}

ImageButton* imageButton(QWidget* parent, const QRect& rect, const ScaledPicture* picture, const QString& toolTip)
{
    auto* button = new ImageButton(parent);
    button->setGeometry(inside(rect));
    button->setPicture(picture);
    button->setToolTip(toolTip);
    return button;
}

QLabel* titleLabel(QWidget* parent, const QRect& rect, const QString& text, const CellResources& resources)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(inside(rect));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(resources.titleFont);
    label->setPalette(resources.titlePalette);
    label->setAutoFillBackground(true);
    return label;
}

QLineEdit* newNameField(QWidget* parent, const QRect& rect, const QString& name)
{
    auto* field = new QLineEdit(displayText(name), parent);
    field->setGeometry(inside(rect));
    // Long names scroll inside the field. The field holds the name as shown:
    // a line edit holding 20 MB takes seconds and a gigabyte to build and as
    // long again for every key. Nothing is lost by it: the field writes only
    // what the user changes, and the whole name stays in the project until
    // the user edits this field, when the name becomes what the field shows.
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setCursorPosition(0);
    return field;
}

CellSlider* stepSlider(QWidget* parent, const QRect& rect, int minimum, int maximum, int pageStep, int position)
{
    auto* slider = new CellSlider(parent);
    slider->setGeometry(inside(rect));
    slider->setRange(minimum, maximum);
    slider->setPageStep(pageStep);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setValue(position);
    return slider;
}

QLabel* smallCaption(QWidget* parent, const QRect& rect, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(inside(rect));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The classic face these captions were spaced for has narrower blanks than
// any face found here; without a correction a caption is wider than its place
// and loses both ends. Qt adds word spacing per run of blanks, not per blank,
// so the effect of one pixel is measured rather than assumed.
QFont fittedFont(const QFont& font, const QString& caption, qreal wanted)
{
    const auto widthWith = [&caption](const QFont& candidate) {
        return QFontMetricsF(candidate).horizontalAdvance(caption);
    };
    const qreal natural = widthWith(font);
    if (natural <= wanted)
        return font;
    QFont fitted = font;
    fitted.setWordSpacing(-1);
    const qreal perPixel = natural - widthWith(fitted);
    fitted.setWordSpacing(perPixel > 0 ? (wanted - natural) / perPixel : 0);
    return fitted;
}

QFont fittedScaleFont(const QFont& font, const QString& caption)
{
    const QFontMetricsF metrics(font);
    const qreal handle = QApplication::style()->pixelMetric(QStyle::PM_SliderLength);
    return fittedFont(font, caption,
                      kScaleLabelRect.width() - handle
                          + (metrics.horizontalAdvance(u"-5"_s) + metrics.horizontalAdvance(u"+5"_s)) / 2);
}

} // namespace

CellResources::CellResources()
    : titleFont(programFont(FontRole::CellTitle)), legendFont(programFont(FontRole::Legend)),
      ratingFont(fittedScaleFont(legendFont, ponderix::scaleCaption())),
      titlePalette(paletteWith(kTitleText, kTitleBlue)), scaleCaption(ponderix::scaleCaption())
{
    scaleCaptionLayout.setText(scaleCaption);
    scaleCaptionLayout.setTextWidth(kScaleLabelRect.width());
    scaleCaptionLayout.setTextOption(QTextOption(Qt::AlignHCenter));
    scaleCaptionLayout.prepare(QTransform(), ratingFont);
    // Centred in the caption's height, as a label would place it.
    scaleCaptionPosition =
        kScaleLabelRect.topLeft() + QPoint(0, (kScaleLabelRect.height() - QFontMetrics(ratingFont).height()) / 2);
}

void CellSlider::keyPressEvent(QKeyEvent* event)
{
    m_changingByKey = true;
    QSlider::keyPressEvent(event);
    m_changingByKey = false;
}

CellFrame::CellFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    // Cells keep the ordinary window colour even over the grey grid.
    setAutoFillBackground(true);
}

OptionCell::OptionCell(QWidget* parent, const CellResources& resources, int optionIndex, const QString& name)
    : CellFrame(parent), m_optionIndex(optionIndex)
{
    m_moveLeft = imageButton(this, kMoveLeftRect, &resources.arrowLeft, uiText(TextKey::TXT00221));
    m_moveRight = imageButton(this, kMoveRightRect, &resources.arrowRight, uiText(TextKey::TXT00222));
    m_title = titleLabel(this, kOptionTitleRect, optionTitle(optionIndex), resources);
    m_delete = imageButton(this, kOptionDeleteRect, &resources.deletePicture, uiText(TextKey::TXT00206));
    m_name = newNameField(this, kOptionNameRect, name);
    // The cell stays at its position, so what its controls belong to does too.
    for (ImageButton* button : {m_moveLeft, m_moveRight, m_delete})
        button->setAccessibleDescription(m_title->text());
    m_name->setAccessibleName(uiText(TextKey::TXT00563).arg(optionLetter(optionIndex)));
}

std::vector<QWidget*> OptionCell::controls() const
{
    return {m_moveLeft, m_moveRight, m_delete, m_name};
}

CriterionCell::CriterionCell(QWidget* parent, const CellResources& resources, int criterionIndex, int criteriaAddWidth,
                             const QString& name, int importance, const QString& legendText)
    : CellFrame(parent), m_resources(resources), m_criterionIndex(criterionIndex)
{
    const int A = criteriaAddWidth;
    m_moveUp = imageButton(this, kMoveUpRect, &resources.arrowUp, uiText(TextKey::TXT00223));
    m_moveDown = imageButton(this, kMoveDownRect, &resources.arrowDown, uiText(TextKey::TXT00224));
    m_title = titleLabel(this, criterionTitleRect(A), criterionTitle(criterionIndex), resources);
    m_delete = imageButton(this, criterionDeleteRect(A), &resources.deletePicture, uiText(TextKey::TXT00207));
    m_name = newNameField(this, criterionNameRect(A), name);
    m_importance = stepSlider(this, importanceRect(A), kImportanceMin, kImportanceMax, 1, importance);
    m_legend = smallCaption(this, legendRect(A), legendText);
    // The legend's blanks grow with the column, so a wide column needs the
    // same narrowing as the scale caption to keep "Low" and "High" in view.
    m_legend->setFont(fittedFont(resources.legendFont, legendText, m_legend->width()));
    for (ImageButton* button : {m_moveUp, m_moveDown, m_delete})
        button->setAccessibleDescription(m_title->text());
    m_name->setAccessibleName(uiText(TextKey::TXT00564).arg(criterionIndex + 1));
}

std::vector<QWidget*> CriterionCell::controls() const
{
    return {m_moveUp, m_moveDown, m_delete, m_name, m_importance};
}

QString CriterionCell::importanceName() const
{
    const QString name = m_resources.criterionName ? m_resources.criterionName(m_criterionIndex) : QString();
    return uiText(TextKey::TXT00561).arg(m_criterionIndex + 1).arg(name);
}

QString CriterionCell::importanceValueText() const
{
    // The legend's three words stand under the first, middle and last tick.
    const int importance = m_importance->value();
    const QString steps = uiText(TextKey::TXT00562).arg(importance).arg(kImportanceMax);
    switch (importance) {
    case kImportanceMin:
        return uiText(TextKey::TXT00196) + u", "_s + steps;
    case (kImportanceMin + kImportanceMax) / 2:
        return uiText(TextKey::TXT00197) + u", "_s + steps;
    case kImportanceMax:
        return uiText(TextKey::TXT00198) + u", "_s + steps;
    default:
        return steps;
    }
}

void CriterionCell::showImportance(int importance)
{
    const QSignalBlocker quiet(m_importance);
    m_importance->setValue(importance);
}

RatingCell::RatingCell(QWidget* parent, const CellResources& resources, int optionIndex, int criterionIndex, int value,
                       bool valueShown)
    : QWidget(parent), m_resources(resources), m_optionIndex(optionIndex), m_criterionIndex(criterionIndex),
      m_value(value), m_valueShown(valueShown)
{
    // The cell paints every pixel of itself, its background included.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool RatingCell::complete(const QString& comment)
{
    if (isComplete())
        return false;
    m_comment = imageButton(this, kCommentButtonRect, nullptr, QString());
    m_slider = stepSlider(this, kValueSliderRect, kValueMin, kValueMax, 2, m_value);
    // Named by what it is for; the comment itself is its description.
    m_comment->setSpokenName(uiText(TextKey::TXT00566).arg(ratingPosition(m_optionIndex, m_criterionIndex)));
    showComment(comment);
    return true;
}

std::vector<QWidget*> RatingCell::controls() const
{
    if (!isComplete())
        return {};
    return {m_comment, m_slider};
}

QString RatingCell::titleText() const
{
    return ratingTitle(m_optionIndex, m_criterionIndex);
}

QString RatingCell::valueText() const
{
    return m_valueShown ? signedValueText(m_value) : QString();
}

QString RatingCell::spokenName() const
{
    const QString criterion = m_resources.criterionName ? m_resources.criterionName(m_criterionIndex) : QString();
    const QString option = m_resources.optionName ? m_resources.optionName(m_optionIndex) : QString();
    return uiText(TextKey::TXT00560).arg(ratingPosition(m_optionIndex, m_criterionIndex), criterion, option);
}

QString RatingCell::spokenValue() const
{
    // The knob's place on the scale, read as the caption numbers it; that the
    // box is still empty is the description's to say.
    return signedValueText(m_slider ? m_slider->value() : m_value);
}

QRect RatingCell::valueBoxRect() const
{
    return matrix::valueBoxRect(m_value);
}

void RatingCell::showValue(int value, bool shown)
{
    if (m_slider) {
        const QSignalBlocker quiet(m_slider);
        m_slider->setValue(value);
    }
    if (value == m_value && shown == m_valueShown)
        return;
    update(inside(valueBoxRect()));
    m_value = value;
    m_valueShown = shown;
    update(inside(valueBoxRect()));
}

void RatingCell::showComment(const QString& comment)
{
    if (!m_comment)
        return;
    const bool present = !comment.isEmpty();
    m_comment->setPicture(present ? &m_resources.commentPresent : &m_resources.commentAbsent);
    const QString shown = displayText(comment);
    m_comment->setToolTip(present ? shown : uiText(TextKey::TXT00209));
    m_comment->setAccessibleDescription(present ? shown : uiText(TextKey::TXT01000));
}

void RatingCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The same thin sunken border and window colour as the other cells.
    painter.fillRect(rect(), palette().window());
    qDrawShadePanel(&painter, rect(), palette(), true, kBorder);
    painter.translate(kBorder, kBorder);
    painter.setFont(m_resources.titleFont);
    painter.setPen(kRatingTitleGrey);
    painter.drawText(kRatingTitleRect, Qt::AlignCenter, titleText());
    // The scale stays beneath the box and the slider, as a picture behind them,
    // in as many pixels as the screen has there; into its own rectangle, as
    // at an odd ratio the pixels rounded up would reach a little further.
    painter.drawPixmap(kScaleRect, m_resources.scale.at(painter.device()->devicePixelRatioF()));
    const QRect box = valueBoxRect();
    painter.fillRect(box, kValueBoxBackground);
    painter.setFont(m_resources.ratingFont);
    painter.setPen(kValueBoxText);
    painter.drawText(box, Qt::AlignCenter, valueText());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(m_resources.scaleCaptionPosition, m_resources.scaleCaptionLayout);
}

namespace {

class RatingCellAccessible final : public QAccessibleWidget {
public:
    explicit RatingCellAccessible(RatingCell* cell) : QAccessibleWidget(cell, QAccessible::Grouping) { }

    QString text(QAccessible::Text kind) const override
    {
        const auto* cell = static_cast<const RatingCell*>(widget());
        switch (kind) {
        case QAccessible::Name:
            return cell->spokenName();
        case QAccessible::Description:
            return cell->valueShown() ? cell->valueText() : uiText(TextKey::TXT00565);
        default:
            return QAccessibleWidget::text(kind);
        }
    }
};

// A rating or importance slider, named after what it rates and valued on the
// scale the user sees: -5..+5 for a rating, 1..5 for an importance. Qt's own
// slider interface would report the stored 0..10 position.
class CellSliderAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    CellSliderAccessible(QSlider* slider, const RatingCell* rating, const CriterionCell* criterion)
        : QAccessibleWidget(slider, QAccessible::Slider), m_rating(rating), m_criterion(criterion)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name:
            return m_rating ? m_rating->spokenName() : m_criterion->importanceName();
        case QAccessible::Value:
            return m_rating ? m_rating->spokenValue() : m_criterion->importanceValueText();
        // Said again in words: over AT-SPI only the number reaches a screen
        // reader, which misses the legend word and the "+".
        case QAccessible::Description:
            if (m_rating && !m_rating->valueShown())
                return uiText(TextKey::TXT00565);
            return text(QAccessible::Value);
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    QVariant currentValue() const override { return slider()->value() - offset(); }
    void setCurrentValue(const QVariant& value) override { slider()->setValue(value.toInt() + offset()); }
    QVariant maximumValue() const override { return slider()->maximum() - offset(); }
    QVariant minimumValue() const override { return slider()->minimum() - offset(); }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }

private:
    QSlider* slider() const { return static_cast<QSlider*>(widget()); }
    int offset() const { return m_rating ? kNeutralValue : 0; }

    const RatingCell* m_rating;
    const CriterionCell* m_criterion;
};

QAccessibleInterface* ratingCellAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(RatingCell::staticMetaObject.className()))
        return new RatingCellAccessible(static_cast<RatingCell*>(object));
    if (className == QLatin1StringView(QSlider::staticMetaObject.className())) {
        auto* slider = static_cast<QSlider*>(object);
        const QObject* parent = slider->parent();
        if (const auto* rating = qobject_cast<const RatingCell*>(parent))
            return new CellSliderAccessible(slider, rating, nullptr);
        if (const auto* criterion = dynamic_cast<const CriterionCell*>(parent))
            return new CellSliderAccessible(slider, nullptr, criterion);
    }
    return nullptr;
}

} // namespace

void installRatingCellAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(ratingCellAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ponderix
