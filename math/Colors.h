#pragma once
// Colours are 32-bit values 0x00BBGGRR. ColorToRgb is the one conversion to
// the 0xAARRGGBB layout that pictures use (Qt's QRgb), opaque.

#include <cstdint>

namespace tensim {

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clTeal = 0x808000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clFuchsia = 0xFF00FF;

// The chart's automatic colour: a flag, not a colour.
constexpr TColor clTeeColor = 536870912;

constexpr uint32_t ColorToRgb(TColor Color)
{
    const uint32_t r = Color & 0xFF, g = (Color >> 8) & 0xFF, b = (Color >> 16) & 0xFF;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

constexpr TColor RgbToColor(uint32_t Rgb)
{
    const uint32_t r = (Rgb >> 16) & 0xFF, g = (Rgb >> 8) & 0xFF, b = Rgb & 0xFF;
    return r | (g << 8) | (b << 16);
}

static_assert(ColorToRgb(clRed) == 0xFFFF0000u, "red");
static_assert(ColorToRgb(clBlue) == 0xFF0000FFu, "blue");
static_assert(RgbToColor(ColorToRgb(clTeal)) == clTeal, "round trip");

} // namespace tensim
