#pragma once

// Colours, pixels and widgets as the widget tests look at them.

#include "Colors.h"

#include <QImage>
#include <QObject>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <utility>

namespace WidgetTesting {

using TPixels = std::set<std::pair<int, int>>;

// How a colour comes out on a picture.
inline QRgb Rgb(TColor color) { return ToQColor(color).rgb(); }

// Where the picture has exactly this colour.
inline TPixels PixelsOf(const QImage& image, QRgb rgb)
{
    TPixels pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == rgb)
                pixels.emplace(x, y);
    return pixels;
}

// A window's part by the name its stored window gives it.
template <class TPart>
TPart& Child(const QObject& window, const char* name)
{
    TPart* part = window.findChild<TPart*>(QString::fromLatin1(name));
    if (!part)
        throw std::logic_error(std::string("no part named ") + name);
    return *part;
}

} // namespace WidgetTesting
