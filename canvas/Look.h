#pragma once

#include <QFont>
#include <QPixmap>

class QWidget;

// The windows' classic font: 11 pixels high, a sans-serif face.
QFont ClassicFont();

// Places a window's frame in the middle of the screen the window is on, or
// of the desktop's main screen while it is on none yet.
void CentreOnScreen(QWidget& window);

// The SVG drawing at path, rendered at its own size for a device with the
// given pixel ratio: ratio times as many pixels each way, marked with the
// ratio, so that it is sharp on a scaled screen and keeps its size on the
// window. Null when the drawing cannot be read.
QPixmap Picture(const QString& path, qreal ratio);
