#pragma once

#include <cstdint>

// A colour as the stored windows and the game keep it: $00BBGGRR, red in the
// low byte. A top byte of $80 names a system colour by the index in its low
// byte; it is resolved through the application palette only when drawing.
using TColor = std::uint32_t;

constexpr TColor RGBColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}
constexpr std::uint8_t RedOf(TColor c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t GreenOf(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }

constexpr TColor SystemColorFlag = 0x80000000u;
constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == SystemColorFlag; }

constexpr TColor clBlack = 0x00000000u;
constexpr TColor clMaroon = 0x00000080u;
constexpr TColor clGreen = 0x00008000u;
constexpr TColor clOlive = 0x00008080u;
constexpr TColor clNavy = 0x00800000u;
constexpr TColor clPurple = 0x00800080u;
constexpr TColor clTeal = 0x00808000u;
constexpr TColor clGray = 0x00808080u;
constexpr TColor clSilver = 0x00C0C0C0u;
constexpr TColor clRed = 0x000000FFu;
constexpr TColor clLime = 0x0000FF00u;
constexpr TColor clYellow = 0x0000FFFFu;
constexpr TColor clBlue = 0x00FF0000u;
constexpr TColor clFuchsia = 0x00FF00FFu;
constexpr TColor clAqua = 0x00FFFF00u;
constexpr TColor clWhite = 0x00FFFFFFu;

constexpr TColor clWindowFrame = 0x80000006u;
constexpr TColor clBtnFace = 0x8000000Fu;
constexpr TColor clBtnShadow = 0x80000010u;
constexpr TColor clGrayText = 0x80000011u;
constexpr TColor clBtnHighlight = 0x80000014u;
