#pragma once

// Pictures of controls and their pixels, shared by the control tests.

#include "Colors.h"
#include "WidgetTesting.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <set>
#include <utility>

namespace ControlTesting {

// What lay under a control: a colour no control of the set paints.
constexpr QRgb Underneath = 0xFF123456;

using WidgetTesting::PixelsOf;
using WidgetTesting::Rgb;
using WidgetTesting::TPixels;

// The control painted over Underneath, without a background of the widget's.
inline QImage Picture(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Underneath);
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// The pixels of rectangles given as {left, top, right, bottom}, all included.
inline TPixels Area(std::initializer_list<std::array<int, 4>> rects)
{
    TPixels pixels;
    for (const auto& [left, top, right, bottom] : rects)
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                pixels.emplace(x, y);
    return pixels;
}

inline TPixels Without(TPixels pixels, const TPixels& taken)
{
    for (const auto& pixel : taken)
        pixels.erase(pixel);
    return pixels;
}

// A control in an active window whose focus another widget holds, so that
// each test decides when the control has it.
template <class TControl>
struct THosted {
    THosted()
    {
        FocusHolder->setFocusPolicy(Qt::StrongFocus);
        FocusHolder->setGeometry(180, 100, 10, 10);
        Window.resize(200, 120);
        Window.show();
        if (!QTest::qWaitForWindowActive(&Window))
            ADD_FAILURE() << "the test window never became active";
        FocusHolder->setFocus();
    }

    QWidget Window;
    TControl* Control = new TControl(&Window);
    QWidget* FocusHolder = new QWidget(&Window);
};

} // namespace ControlTesting
