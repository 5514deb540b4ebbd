#include "ControlSetAccessibility.h"

#include "ColorsBox.h"
#include "MultiSwitch.h"
#include "RadioGroup.h"
#include "Slider.h"

#include <QAccessibleWidget>
#include <QRadioButton>

#include <algorithm>

namespace {

// A control with a whole-number value between two bounds. Changes made by
// the keys, the mouse or an assistive tool all pass through the control's
// own setter, and every change is announced.
template <class TControl>
class TValueAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TValueAccessible(TControl* control) : QAccessibleWidget(control, QAccessible::Slider)
    {
        QObject::connect(control, &TControl::OnChange, control, [control] {
            QAccessibleValueChangeEvent change(control, Value(*control));
            QAccessible::updateAccessibility(&change);
        });
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // What the positions mean, read with the control; the value itself is a
    // bare number to a screen reader.
    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return Meaning(Control());
        return QAccessibleWidget::text(type);
    }

    QVariant currentValue() const override { return Value(Control()); }
    QVariant minimumValue() const override { return Minimum(Control()); }
    QVariant maximumValue() const override { return Maximum(Control()); }
    QVariant minimumStepSize() const override { return 1; }
    void setCurrentValue(const QVariant& value) override
    {
        SetValue(Control(), std::clamp(value.toInt(), Minimum(Control()), Maximum(Control())));
    }

private:
    TControl& Control() const { return *static_cast<TControl*>(widget()); }

    static int Value(const TSlider& slider) { return slider.Position(); }
    static int Minimum(const TSlider& slider) { return slider.Min(); }
    static int Maximum(const TSlider& slider) { return slider.Max(); }
    static void SetValue(TSlider& slider, int value) { slider.SetPosition(value); }
    static QString Meaning(const TSlider&) { return {}; }

    // The lamps by their number from the top: 1 to 3, of which a two-lamp
    // switch shows 1 and 3.
    static int Value(const TMultiSwitch& lamps) { return lamps.OnValue(); }
    static int Minimum(const TMultiSwitch&) { return 1; }
    static int Maximum(const TMultiSwitch&) { return 3; }
    static void SetValue(TMultiSwitch& lamps, int value) { lamps.SetOnValue(std::uint8_t(value)); }
    static QString Meaning(const TMultiSwitch& lamps)
    {
        return lamps.SwitchCount() == 2 ? QStringLiteral("1 oben, Minus; 3 unten, Plus")
                                        : QStringLiteral("1 oben, Minus; 2 Mitte; 3 unten, Plus");
    }
};

// The group decides which of its buttons is on, so Qt's sibling rule is off
// for them, and Qt would then call them check boxes.
class TGroupButtonAccessible : public QAccessibleWidget {
public:
    explicit TGroupButtonAccessible(QRadioButton* button) : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Name && Button().accessibleName().isEmpty())
            return Button().text();
        return QAccessibleWidget::text(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button().isChecked();
        return state;
    }

    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override
    {
        if (name != pressAction())
            QAccessibleWidget::doAction(name);
        else if (Button().isEnabled())
            Button().click();
    }

private:
    QRadioButton& Button() const { return *static_cast<QRadioButton*>(widget()); }
};

} // namespace

QAccessibleInterface* ControlSetAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("TSlider"))
        return new TValueAccessible<TSlider>(static_cast<TSlider*>(object));
    if (className == QLatin1String("TMultiSwitch"))
        return new TValueAccessible<TMultiSwitch>(static_cast<TMultiSwitch*>(object));
    // A gradient is a picture; its caption, when it has one, names it.
    if (className == QLatin1String("TColorsBox"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (className == QLatin1String("QRadioButton") && qobject_cast<TRadioGroup*>(object->parent()))
        return new TGroupButtonAccessible(static_cast<QRadioButton*>(object));
    return nullptr;
}
