// Where everything goes, computed afresh from the paint box size at every paint. The drawing and
// the mouse hit test both read these numbers, so they agree pixel for pixel.
#pragma once

#include <cstdint>

struct ChartLayout {
  int32_t DataAreaWidth = 0;   // seven tenths of the width, an exact half to the even neighbour
  int32_t ColumnStep = 0;      // horizontal distance between two observations
  int32_t HalfStep = 0;
  int32_t ChartWidth = 0;      // width of every strip frame: 20 steps
  int32_t RowHeight = 0;       // vertical pitch of the strips, and pixels per unit of value
  int32_t MarkerHalfSize = 0;  // never below 2
  int32_t ChartLeft = 10;
  int32_t ChartRight = 0;

  static ChartLayout For(int32_t width, int32_t height);

  // x at which observation i (1..20) is drawn.
  int32_t ObservationX(int i) const;
};

// The frame of one strip; StripTop and StripBottom as Rectangle corners.
struct StripRow {
  int32_t StripTop = 0;
  int32_t StripBottom = 0;
  int32_t StripMid() const;  // the zero line
};

// Strips 1..10 show the variables, each beginning on the last pixel row of the one above.
StripRow VariableStrip(const ChartLayout& layout, int k);
// Strips 11 and 12 show the component scores, 10 pixels lower than the variable rule puts them.
StripRow ComponentStrip(const ChartLayout& layout, int k);

// The loadings: two vertical axes right of the strips, with a bar per variable.
struct LoadingLayout {
  int32_t LoadingColumnWidth = 0;
  int32_t BarHalfHeight = 0;
  int32_t ChartWidth = 0;

  static LoadingLayout For(const ChartLayout& layout, int32_t width);
  int32_t LoadingAxisX(int component) const;  // component 1 or 2
};
