#include "ControlSet.h"

#include "ColorsBox.h"
#include "ControlSetAccessibility.h"
#include "Label3D.h"
#include "MovedControls.h"
#include "MultiSwitch.h"
#include "Slider.h"

#include <QAccessible>

namespace {

template <class T>
TControlSetClass Entry()
{
    return {T::staticMetaObject, [](QWidget* parent) -> QWidget* { return new T(parent); },
            [](QWidget* control, bool value) { static_cast<T*>(control)->SetDesigning(value); }};
}

} // namespace

std::span<const TControlSetClass> ControlSetClasses()
{
    static const TControlSetClass classes[] = {
        Entry<TMultiSwitch>(),
        Entry<TSlider>(),
        Entry<TMovedLabel>(),
        Entry<TMovedEdit>(),
        Entry<TMovedMemo>(),
        Entry<TMovedCheckBox>(),
        Entry<TMovedRadioButton>(),
        Entry<TMovedListBox>(),
        Entry<TMovedComboBox>(),
        Entry<TMovedGroupBox>(),
        Entry<TMovedRadioGroup>(),
        Entry<TMovedPanel>(),
        Entry<TMovedImage>(),
        Entry<TColorsBox>(),
        Entry<TLabel3D>(),
    };
    return classes;
}

void RegisterControlSet()
{
    for (const TControlSetClass& entry : ControlSetClasses())
        RegisterClass(entry.Name(), entry.Create);
    QAccessible::installFactory(ControlSetAccessible);
}

QStringList ControlSetClassNames()
{
    QStringList names;
    for (const TControlSetClass& entry : ControlSetClasses())
        names.append(entry.Name());
    return names;
}
