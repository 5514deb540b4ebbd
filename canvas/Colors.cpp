#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct TSystemColor {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
    QRgb Fallback; // the classic desktop's value, used without a palette
};

// Indexed by the low byte of a system colour.
constexpr TSystemColor SystemColors[] = {
    {QPalette::Active, QPalette::Window, 0xC0C0C0},          // 0 scroll bar
    {QPalette::Active, QPalette::Window, 0x008080},          // 1 desktop
    {QPalette::Active, QPalette::Highlight, 0x000080},       // 2 active caption
    {QPalette::Inactive, QPalette::Highlight, 0x808080},     // 3 inactive caption
    {QPalette::Active, QPalette::Window, 0xC0C0C0},          // 4 menu
    {QPalette::Active, QPalette::Base, 0xFFFFFF},            // 5 window
    {QPalette::Active, QPalette::Shadow, 0x000000},          // 6 window frame
    {QPalette::Active, QPalette::WindowText, 0x000000},      // 7 menu text
    {QPalette::Active, QPalette::Text, 0x000000},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText, 0xFFFFFF}, // 9 caption text
    {QPalette::Active, QPalette::Window, 0xC0C0C0},          // 10 active border
    {QPalette::Active, QPalette::Window, 0xC0C0C0},          // 11 inactive border
    {QPalette::Active, QPalette::Dark, 0x808080},            // 12 application workspace
    {QPalette::Active, QPalette::Highlight, 0x000080},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText, 0xFFFFFF}, // 14 highlight text
    {QPalette::Active, QPalette::Button, 0xC0C0C0},          // 15 button face
    {QPalette::Active, QPalette::Dark, 0x808080},            // 16 button shadow
    {QPalette::Disabled, QPalette::WindowText, 0x808080},    // 17 grey text
    {QPalette::Active, QPalette::ButtonText, 0x000000},      // 18 button text
    {QPalette::Inactive, QPalette::WindowText, 0xC0C0C0},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light, 0xFFFFFF},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow, 0x000000},          // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight, 0xDFDFDF},        // 22 3D light
    {QPalette::Active, QPalette::ToolTipText, 0x000000},     // 23 info text
    {QPalette::Active, QPalette::ToolTipBase, 0xFFFFE1},     // 24 info background
};

} // namespace

QColor ToQColor(TColor color)
{
    if (!IsSystemColor(color))
        return QColor(RedOf(color), GreenOf(color), BlueOf(color));
    const unsigned index = color & 0xFFu;
    if (index >= std::size(SystemColors))
        return QColor(Qt::black);
    const TSystemColor& entry = SystemColors[index];
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(entry.Group, entry.Role);
    return QColor::fromRgb(entry.Fallback);
}

TColor FromQColor(const QColor& color)
{
    return RGBColor(std::uint8_t(color.red()), std::uint8_t(color.green()), std::uint8_t(color.blue()));
}
