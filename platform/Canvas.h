// The drawing surface the window is written against: a pen position, a pen, a brush, a font
// and four operations.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Colors.h"

enum TBrushStyle { bsSolid, bsDiagCross };

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle flags; 0 is regular

struct TPen {
  TColor Color = clBlack;
  int Width = 1;  // only 1 is drawn
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

struct TFont {
  std::string Name = "Arial";
  int Size = 8;  // points; drawn at 96 pixels per inch
  TColor Color = clWindowText;
  TFontStyles Style = 0;
};

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

// Pixel rules every implementation keeps:
// - Rectangle takes its corners in either order and covers columns min..max-1 and rows
//   min..max-1: a 1-pixel outline in the pen colour, the inside in the brush; nothing at all when
//   either side is empty. The pen position does not move.
// - LineTo leaves out its end point (a zero-length line draws nothing) and moves the pen there.
// - bsDiagCross hatches in the brush colour and leaves the gaps as they were.
// - TextOut puts the text's top-left at (X, Y), on the brush colour under a solid brush and on
//   nothing under a hatched one, and moves the pen to (X + text width, Y).
class TCanvas {
 public:
  TPen Pen;
  TBrush Brush;
  TFont Font;

  virtual ~TCanvas() = default;

  TPoint PenPos() const { return penPos_; }
  virtual void MoveTo(int32_t X, int32_t Y) { penPos_ = {X, Y}; }
  virtual void LineTo(int32_t X, int32_t Y) = 0;
  virtual void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) = 0;
  virtual void TextOut(int32_t X, int32_t Y, const std::string& Text) = 0;

 protected:
  TPoint penPos_;
};

// Font size in points to pixels at 96 per inch, rounded: 8 pt -> 11 px, 12 pt -> 16 px.
constexpr int PointsToPixels(int points) {
  const int twice = points * 96 * 2 / 72;  // twice the exact size, truncated
  return (twice + (twice >= 0 ? 1 : -1)) / 2;
}
