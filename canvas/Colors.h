#pragma once

#include "TColor.h"

#include <QColor>

// Resolves a colour for drawing: plain colours directly, system colours
// through the application palette at the moment of drawing.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
