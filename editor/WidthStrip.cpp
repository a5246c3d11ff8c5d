#include "editor/WidthStrip.h"

#include <algorithm>

#include "editor/MatrixGeometry.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ponderix {

int criteriaAddWidthForClick(int x)
{
    if (x < 5)
        return 0;
    return std::min(x, kCriteriaAddWidthMax);
}

using namespace matrix;

namespace {
// The strip as a screen reader knows it: a slider over 0..277 whose value
// is the width under the mark. Setting the value chooses it, as Enter does.
class WidthStripAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit WidthStripAccessible(WidthStrip* strip) : QAccessibleWidget(strip, QAccessible::Slider) { }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return QString::number(strip()->mark());
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return strip()->mark(); }
    void setCurrentValue(const QVariant& value) override { strip()->choose(value.toInt()); }
    QVariant maximumValue() const override { return kCriteriaAddWidthMax; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    WidthStrip* strip() const { return static_cast<WidthStrip*>(widget()); }
};

QAccessibleInterface* widthStripAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(WidthStrip::staticMetaObject.className()))
        return new WidthStripAccessible(static_cast<WidthStrip*>(object));
    return nullptr;
}

} // namespace

WidthStrip::WidthStrip(QWidget* parent) : QWidget(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(widthStripAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reached by Tab only: a click chooses at once and needs no focus.
    setFocusPolicy(Qt::TabFocus);
}

void WidthStrip::setMark(int criteriaAddWidth)
{
    m_chosen = criteriaAddWidth;
    showMark(criteriaAddWidth);
}

void WidthStrip::showMark(int criteriaAddWidth)
{
    m_mark = criteriaAddWidth;
    QAccessibleValueChangeEvent moved(this, m_mark);
    QAccessible::updateAccessibility(&moved);
    // At once, not at the next paint: the message that follows a click is
    // modal, and the user should see the new mark behind it.
    repaint();
}

void WidthStrip::choose(int criteriaAddWidth)
{
    const int width = std::clamp(criteriaAddWidth, 0, kCriteriaAddWidthMax);
    setMark(width);
    emit widthChosen(width);
}

void WidthStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // With the keyboard focus the whole strip, as thin as its mark and too
    // thin for a ring inside it, takes the focus ring's colour; the mark
    // stays visible on it in white.
    const bool focused = hasFocus();
    painter.fillRect(rect(), focused ? kFocusRing : kStripBackground);
    painter.fillRect(QRect(m_mark, 0, kStripMarkSize, kStripMarkSize), focused ? kStripBackground : kStripMark);
}

void WidthStrip::keyPressEvent(QKeyEvent* event)
{
    int mark = m_mark;
    switch (event->key()) {
    case Qt::Key_Left:
        mark -= 1;
        break;
    case Qt::Key_Right:
        mark += 1;
        break;
    case Qt::Key_PageUp:
        mark -= 10;
        break;
    case Qt::Key_PageDown:
        mark += 10;
        break;
    case Qt::Key_Home:
        mark = 0;
        break;
    case Qt::Key_End:
        mark = kCriteriaAddWidthMax;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        if (!event->isAutoRepeat())
            choose(m_mark);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    showMark(std::clamp(mark, 0, kCriteriaAddWidthMax));
}

void WidthStrip::focusOutEvent(QFocusEvent* event)
{
    // A mark moved by the keys but never chosen goes back to the width in use.
    showMark(m_chosen);
    QWidget::focusOutEvent(event);
}

void WidthStrip::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void WidthStrip::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (!click)
        return;
    const int width = criteriaAddWidthForClick(event->position().toPoint().x());
    setMark(width);
    emit widthChosen(width);
}

} // namespace ponderix
