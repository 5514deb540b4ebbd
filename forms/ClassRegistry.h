#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Class name -> factory, so that a stored window can name a class of ours and
// get a real instance of it.
using TWidgetFactory = QWidget* (*)(QWidget* parent);

void RegisterClass(const QString& className, TWidgetFactory factory);
// The registered classes, in the order they were registered.
QStringList RegisteredClasses();
bool IsClassRegistered(const QString& className);
// A new instance, or nullptr for an unknown name.
QWidget* CreateRegisteredWidget(const QString& className, QWidget* parent);

template <class T>
void RegisterClass()
{
    RegisterClass(QString::fromLatin1(T::staticMetaObject.className()),
                  [](QWidget* parent) -> QWidget* { return new T(parent); });
}
