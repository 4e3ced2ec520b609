#include "window/DrawSeries.h"

using guarded::Add;
using guarded::Sub;

int32_t ValueY(const ChartLayout& layout, int32_t mid, double value) {
  const int64_t r = guarded::RoundHalfEven(Extended(layout.RowHeight) * value);
  int64_t y;
  if (__builtin_sub_overflow(int64_t{mid}, r, &y)) guarded::Raise(guarded::Fault::RangeCheck);
  return guarded::Narrow(y);
}

void DrawSeries(TCanvas& canvas, const ChartLayout& layout, const StripRow& strip,
                const ObservationTable& table, int column, TColor colour) {
  canvas.Pen.Color = clGray;
  canvas.Pen.Width = 1;
  canvas.Brush.Color = clWhite;
  canvas.Rectangle(layout.ChartLeft, strip.StripTop, layout.ChartRight, strip.StripBottom);

  canvas.Pen.Color = colour;
  canvas.Brush.Color = clYellow;
  const int32_t mid = strip.StripMid();
  const int32_t m = layout.MarkerHalfSize;
  for (int i = 1; i <= kObservations; ++i) {
    const int32_t x = layout.ObservationX(i);
    const int32_t y = ValueY(layout, mid, table[i][column]);
    if (i == 1)
      canvas.MoveTo(x, y);
    else
      canvas.LineTo(x, y);  // arrives under this point's marker, leaves over it
    canvas.Rectangle(Sub(x, m), Sub(y, m), Add(x, m), Add(y, m));
  }
}
