#pragma once

#include <QFont>

class QWidget;

// The windows' classic font: 11 pixels high, a sans-serif face.
QFont ClassicFont();

// Places a window's frame in the middle of the primary screen.
void CentreOnScreen(QWidget& window);
