#pragma once

#include <QStringList>

// Registers the fifteen classes of the decorative control set with the class
// registry, so that a stored window can name them. Runs once, before the main
// window exists.
void RegisterControlSet();

// The class names of the set, in the order of registration.
QStringList ControlSetClassNames();
