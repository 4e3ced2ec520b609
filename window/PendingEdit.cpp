#include "window/PendingEdit.h"

#include "analysis/Guarded.h"
#include "analysis/ObservationTable.h"

using guarded::Add;
using guarded::Mul;
using guarded::Sub;

namespace {

bool InsideStrips(const ChartLayout& l, int32_t x, int32_t y) {
  return x > l.ChartLeft && x < l.ChartRight && y > 9 && y < Add(Mul(10, l.RowHeight), 10);
}

// The band of strip k runs from its first inner row to its bottom frame line, which it shares
// with the top line of strip k + 1.
int StripRowAt(const ChartLayout& l, int32_t y) {
  int row = 0;
  for (int k = 1; k <= kVariables; ++k)
    if (Add(Mul(k - 1, l.RowHeight), 9) < y && y < Add(Mul(k, l.RowHeight), 10)) row = k;
  return row;
}

// With an even step the border column belongs to both neighbours; the later (right) one wins.
int ObservationAt(const ChartLayout& l, int32_t x) {
  int observation = 0;
  for (int i = 1; i <= kObservations; ++i) {
    const int32_t centre = l.ObservationX(i);
    if (Sub(centre, l.HalfStep) <= x && x <= Add(centre, l.HalfStep)) observation = i;
  }
  return observation;
}

// Height of the release below the first inner row of the pressed strip. A release below the strip
// counts as 4 pixels above its bottom coordinate, one above it as 2 pixels below its first row.
int32_t ReleaseOffset(const ChartLayout& l, int row, int32_t releaseY) {
  int32_t offset = Sub(releaseY, Add(Mul(row - 1, l.RowHeight), 10));
  if (offset > l.RowHeight) offset = Sub(l.RowHeight, 4);
  if (offset < 0) offset = 2;
  return offset;
}

}  // namespace

std::optional<CellEdit> EditFromPress(const ChartLayout& layout, int32_t pressX, int32_t pressY,
                                      int32_t releaseY) {
  if (!InsideStrips(layout, pressX, pressY)) return std::nullopt;
  const int row = StripRowAt(layout, pressY);
  const int observation = ObservationAt(layout, pressX);
  if (row == 0 || observation == 0) return std::nullopt;
  const int32_t d = Sub(layout.RowHeight / 2, ReleaseOffset(layout, row, releaseY));
  const double value =
      guarded::Store(guarded::Quotient(Extended(d), layout.RowHeight));
  return CellEdit{observation, row, value};
}
