#pragma once

#include <QtGlobal>

// Colours as 0x00BBGGRR: blue in the high byte, red in the low one.
namespace Colours {
inline constexpr quint32 Black = 0x000000;
inline constexpr quint32 Red = 0x0000FF;
inline constexpr quint32 Green = 0x008000;
inline constexpr quint32 Lime = 0x00FF00;
inline constexpr quint32 Yellow = 0x00FFFF;
inline constexpr quint32 Blue = 0xFF0000;
inline constexpr quint32 Navy = 0x800000;
inline constexpr quint32 Teal = 0x808000;
inline constexpr quint32 White = 0xFFFFFF;

constexpr quint32 Rgb(int red, int green, int blue) { return quint32(red) | quint32(green) << 8 | quint32(blue) << 16; }
constexpr int RedOf(quint32 colour) { return colour & 0xFF; }
constexpr int GreenOf(quint32 colour) { return (colour >> 8) & 0xFF; }
constexpr int BlueOf(quint32 colour) { return (colour >> 16) & 0xFF; }
} // namespace Colours
