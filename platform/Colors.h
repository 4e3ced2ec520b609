// Colours as 0x00BBGGRR (red in the low byte), or a system colour with the top bit set.
#pragma once

#include <cstdint>

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clOlive = 0x008080;

// System colours, resolved against the desktop's palette when drawn.
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;

constexpr bool IsSystemColor(TColor c) { return (c & 0x80000000u) != 0; }
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>(r & 0xFF) | static_cast<TColor>(g & 0xFF) << 8 |
         static_cast<TColor>(b & 0xFF) << 16;
}

// The light palette the program fixes for its window on every platform: the picture's colours
// are designed for a light button face (black shares, black outlines).
constexpr TColor kLightButtonFace = RGB(239, 239, 239);
constexpr TColor kLightWindowText = clBlack;

// The plain colour a system colour stands for in that palette (plain colours map to themselves).
TColor ResolveColor(TColor c);
