#pragma once

#include <QFont>
#include <QPixmap>

class QWidget;

// The windows' classic font: 11 pixels high, a sans-serif face.
QFont ClassicFont();

// Places a window's frame in the middle of the primary screen.
void CentreOnScreen(QWidget& window);

// The picture at path for a device with the given pixel ratio: above 1 the
// twice-as-fine twin ("about@2x.png" beside "about.png") when there is one,
// marked with ratio 2 so that it keeps the picture's size on the window.
QPixmap Picture(const QString& path, qreal ratio);
