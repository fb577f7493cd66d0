#pragma once

#include <QColor>
#include <QPalette>

// Colour values 0x00BBGGRR, or system colour indexes 0x800000nn that follow the
// desktop's palette.
namespace SystemColour {
inline constexpr quint32 WindowText = 0x80000008;
inline constexpr quint32 ButtonFace = 0x8000000F;
inline constexpr quint32 ButtonShadow = 0x80000010;
inline constexpr quint32 GrayText = 0x80000011;
inline constexpr quint32 ButtonHighlight = 0x80000014;
} // namespace SystemColour

// The colour a value stands for: a plain value as it is, a system colour index as
// the matching role of `palette` (an unknown index gives the window-text colour).
QColor ResolveColour(quint32 colour, const QPalette& palette);

// As above, with the application's palette.
QColor ResolveColour(quint32 colour);
