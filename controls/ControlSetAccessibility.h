#pragma once

class QObject;
class QAccessibleInterface;
class QString;

// What assistive technology reads of the set's own controls: the slider and
// the switch as sliders with a value that "+" and "-" change and announce,
// the gradient box as a picture, the buttons of a radio group as radio
// buttons. Installed with the set's
// registration, so every window that places these controls gets it.
QAccessibleInterface* ControlSetAccessible(const QString& className, QObject* object);
