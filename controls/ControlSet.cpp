#include "ControlSet.h"

#include "ClassRegistry.h"
#include "ColorsBox.h"
#include "ControlSetAccessibility.h"
#include "Label3D.h"
#include "MovedControls.h"
#include "MultiSwitch.h"
#include "Slider.h"

#include <QAccessible>

namespace {

struct TControlSetClass {
    const QMetaObject& MetaObject;
    TWidgetFactory Create;

    QString Name() const { return QString::fromLatin1(MetaObject.className()); }
};

template <class T>
TControlSetClass Entry()
{
    return {T::staticMetaObject, [](QWidget* parent) -> QWidget* { return new T(parent); }};
}

// The set's one table: registration, the gallery and the tests read it.
const TControlSetClass ControlSetClasses[] = {
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

} // namespace

void RegisterControlSet()
{
    for (const TControlSetClass& entry : ControlSetClasses)
        RegisterClass(entry.Name(), entry.Create);
    QAccessible::installFactory(ControlSetAccessible);
}

QStringList ControlSetClassNames()
{
    QStringList names;
    for (const TControlSetClass& entry : ControlSetClasses)
        names.append(entry.Name());
    return names;
}
