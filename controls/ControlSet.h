#pragma once

#include "ClassRegistry.h"

#include <QMetaObject>
#include <QStringList>

#include <span>

// Whether the class is one of the eleven movable controls: they share no Qt
// base, so they are known by their signal OnMoving.
inline bool IsMovable(const QMetaObject& metaObject) { return metaObject.indexOfSignal("OnMoving(QObject*)") >= 0; }

// One class of the decorative control set: what it publishes, how to make
// one, and how to switch its design mode, which is no property.
struct TControlSetClass {
    const QMetaObject& MetaObject;
    TWidgetFactory Create;
    void (*SetDesigning)(QWidget* control, bool value);

    QString Name() const { return QString::fromLatin1(MetaObject.className()); }
    bool Movable() const { return IsMovable(MetaObject); }
};

// The set's one table, in the order of registration: registration, the
// gallery and the tests read it.
std::span<const TControlSetClass> ControlSetClasses();

// Registers the fifteen classes of the decorative control set with the class
// registry, so that a stored window can name them. Runs once, before the main
// window exists.
void RegisterControlSet();

// The class names of the set, in the order of registration.
QStringList ControlSetClassNames();
