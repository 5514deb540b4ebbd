#pragma once

// Helpers shared by the control tests: pictures of controls and their pixels.

#include "Colors.h"
#include "TColor.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace ControlTesting {

// A colour no control of the set paints by default: what lay under a control.
constexpr QRgb Underneath = 0xFF123456;

inline QRgb Rgb(TColor color) { return ToQColor(color).rgb(); }

inline QImage Surface(int width, int height, QRgb fill = Underneath)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// The control as it paints itself over a surface of Underneath; the
// widget's own background is not drawn, so unpainted pixels show through.
inline QImage Picture(QWidget& widget)
{
    QImage image = Surface(widget.width(), widget.height());
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// The pixels of one colour, as (x, y) in row order, for readable failures.
inline std::vector<std::pair<int, int>> PixelsOf(const QImage& image, QRgb rgb)
{
    std::vector<std::pair<int, int>> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == rgb)
                pixels.emplace_back(x, y);
    return pixels;
}

// The pixels from (x0, y) to (x1, y), both included.
inline std::vector<QRgb> Row(const QImage& image, int y, int x0, int x1)
{
    std::vector<QRgb> row;
    for (int x = x0; x <= x1; ++x)
        row.push_back(image.pixel(x, y));
    return row;
}

inline std::vector<QRgb> Column(const QImage& image, int x, int y0, int y1)
{
    std::vector<QRgb> column;
    for (int y = y0; y <= y1; ++y)
        column.push_back(image.pixel(x, y));
    return column;
}

// A control shown in an active window beside a second focusable widget that
// holds the focus, so that each test decides when the control has it.
template <class TControl>
struct THosted {
    THosted()
    {
        Window.resize(200, 120);
        FocusHolder->setFocusPolicy(Qt::StrongFocus);
        FocusHolder->setGeometry(180, 100, 10, 10);
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
