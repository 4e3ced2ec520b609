#include "window/ChartLayout.h"

#include "analysis/Guarded.h"

using guarded::Add;
using guarded::Mul;
using guarded::Sub;

namespace {

// 7 * width / 10 rounded to the nearest integer, an exact half to the even neighbour, in
// integers: a product in doubles rounds some of these halves the wrong way (W = 45, 685).
int32_t SevenTenths(int32_t width) {
  const int32_t seven = Mul(7, width);
  int32_t q = seven / 10;
  const int32_t t = seven - 10 * q;
  if (t > 5 || (t == 5 && q % 2 != 0)) q = Add(q, 1);
  return q;
}

}  // namespace

ChartLayout ChartLayout::For(int32_t width, int32_t height) {
  ChartLayout l;
  l.DataAreaWidth = SevenTenths(width);
  l.ColumnStep = l.DataAreaWidth / 20;
  l.HalfStep = l.ColumnStep / 2;
  l.ChartWidth = Mul(20, l.ColumnStep);
  l.RowHeight = height / 13;
  l.MarkerHalfSize = l.ColumnStep / 6;
  if (l.RowHeight / 6 < l.MarkerHalfSize) l.MarkerHalfSize = l.RowHeight / 6;
  if (l.MarkerHalfSize < 2) l.MarkerHalfSize = 2;
  l.ChartRight = Add(l.ChartLeft, l.ChartWidth);
  return l;
}

int32_t ChartLayout::ObservationX(int i) const {
  return Add(Add(ChartLeft, HalfStep), Mul(Sub(i, 1), ColumnStep));
}

int32_t StripRow::StripMid() const { return Add(StripTop, StripBottom) / 2; }

StripRow VariableStrip(const ChartLayout& layout, int k) {
  StripRow row;
  row.StripTop = Add(Mul(Sub(k, 1), layout.RowHeight), 9);
  row.StripBottom = Add(Add(row.StripTop, 1), layout.RowHeight);
  return row;
}

StripRow ComponentStrip(const ChartLayout& layout, int k) {
  StripRow row;
  row.StripTop = Add(Mul(Sub(k, 1), layout.RowHeight), 19);
  row.StripBottom = Add(Add(row.StripTop, 1), layout.RowHeight);
  return row;
}

LoadingLayout LoadingLayout::For(const ChartLayout& layout, int32_t width) {
  LoadingLayout l;
  l.LoadingColumnWidth = Sub(Sub(width, 10), layout.ChartWidth) / 3;  // truncates toward zero
  l.BarHalfHeight = layout.RowHeight / 3;
  l.ChartWidth = layout.ChartWidth;
  return l;
}

int32_t LoadingLayout::LoadingAxisX(int component) const {
  return Add(Add(ChartWidth, 10), Mul(component, LoadingColumnWidth));
}
