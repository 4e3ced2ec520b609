#include "window/ComponentsPicture.h"

#include <cmath>
#include <cstdio>

using guarded::Add;
using guarded::Mul;
using guarded::Sub;

void DrawLoadings(TCanvas& canvas, const ChartLayout& layout, const LoadingLayout& loadings,
                  const Matrix10& V) {
  for (int c = 1; c <= 2; ++c) {
    const int32_t axis = loadings.LoadingAxisX(c);
    canvas.Pen.Color = clGray;
    canvas.MoveTo(axis, 9);
    canvas.LineTo(axis, Add(Mul(10, layout.RowHeight), 9));

    canvas.Pen.Color = clBlack;
    canvas.Brush.Color = clOlive;
    canvas.Brush.Style = bsDiagCross;
    for (int v = 1; v <= 10; ++v) {
      const int32_t centre = LoadingBarCentre(layout, v);
      const int32_t length = LoadingBarLength(V[v][c]);
      canvas.Rectangle(axis, Sub(centre, loadings.BarHalfHeight), Add(axis, length),
                       Add(centre, loadings.BarHalfHeight));
    }
  }
}

void DrawShares(TCanvas& canvas, const ChartLayout& layout, const LoadingLayout& loadings,
                const Vector10& P) {
  canvas.Font.Size = 12;
  canvas.Font.Color = clBlack;
  canvas.Font.Name = "Arial";
  canvas.Font.Style = 0;
  // The hatched brush of the loadings is still selected: the text gets no background.
  for (int c = 1; c <= 2; ++c) {
    const TPoint at = ShareTextOrigin(layout, loadings, c);
    canvas.TextOut(at.X, at.Y, PercentText(P[c]));
  }
}

// The zero line of strip v, or one pixel above it when RowHeight is odd.
int32_t LoadingBarCentre(const ChartLayout& layout, int v) {
  return Add(Add(Mul(v - 1, layout.RowHeight), layout.RowHeight / 2), 9);
}

int32_t LoadingBarLength(double loading) {
  return guarded::Narrow(guarded::RoundHalfEven(Extended(30) * loading));
}

TPoint ShareTextOrigin(const ChartLayout& layout, const LoadingLayout& loadings, int c) {
  return {Sub(Add(loadings.ChartWidth, Mul(c, loadings.LoadingColumnWidth)), 10),
          Add(Mul(9 + c, layout.RowHeight), 19)};
}

std::string PercentText(double percent) {
  // std::round takes halves away from zero (printf alone would take them to even); adding 0.0
  // turns a rounded -0 into 0.
  const double whole = std::round(percent) + 0.0;
  char buffer[400];  // room for the widest double written without decimals
  std::snprintf(buffer, sizeof buffer, "%2.0f%%", whole);
  return buffer;
}
