#include "platform/PictureRules.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Keeps far-away coordinates from overflowing the raster's integer rectangles; a point clamped
// to one pixel beyond the picture draws the same pixels inside it.
int Clamp(int64_t v, int size) { return static_cast<int>(std::clamp<int64_t>(v, -1, int64_t{size} + 1)); }

__extension__ using Int128 = __int128;  // exact products of two 32-bit spans

}  // namespace

void DrawRectangle(PictureArea area, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, uint32_t pen,
                   uint32_t brush, TBrushStyle style) {
  const int w = area.Width, h = area.Height;
  const int left = Clamp(std::min(X1, X2), w), right = Clamp(std::max(X1, X2), w);
  const int top = Clamp(std::min(Y1, Y2), h), bottom = Clamp(std::max(Y1, Y2), h);
  if (left == right || top == bottom) return;
  if (right - left > 2 && bottom - top > 2) {
    const LogicalRect inside{left + 1, top + 1, right - left - 2, bottom - top - 2};
    if (style == bsSolid)
      area.Raster.Fill(inside, brush);
    else
      area.Raster.Hatch(inside, brush);
  }
  area.Raster.Fill({left, top, right - left, 1}, pen);
  area.Raster.Fill({left, bottom - 1, right - left, 1}, pen);
  area.Raster.Fill({left, top, 1, bottom - top}, pen);
  area.Raster.Fill({right - 1, top, 1, bottom - top}, pen);
}

// Fills the pixels of the line as runs along the major axis: for step i along the major axis the
// minor coordinate is the nearest one to the exact line. Toolkits' own aliased lines leave out
// the end point only in some directions, so the line is rasterised here. Only steps that land
// inside the picture are visited, so a line from far outside costs no more than one across it.
void DrawLine(PictureArea area, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, uint32_t pen) {
  int64_t x0 = X1, y0 = Y1, x1 = X2, y1 = Y2, width = area.Width, height = area.Height;
  const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
  if (!xMajor) {  // walk along y: swap the roles of the axes
    std::swap(x0, y0);
    std::swap(x1, y1);
    std::swap(width, height);
  }
  const int64_t major = std::llabs(x1 - x0), minor = std::llabs(y1 - y0);
  const int64_t sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
  // Steps whose major coordinate lies inside the picture.
  int64_t first = sx > 0 ? -x0 : x0 - (width - 1);
  int64_t last = sx > 0 ? width - 1 - x0 : x0;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, major - 1);
  auto minorAt = [&](int64_t i) {
    // round(i * minor / major), halves upwards; __int128 keeps far-away lines exact
    const Int128 num = static_cast<Int128>(2 * i) * minor + major;
    return y0 + sy * static_cast<int64_t>(num / (2 * static_cast<Int128>(major)));
  };
  auto fillRun = [&](int64_t from, int64_t to, int64_t m) {  // steps from..to on minor line m
    if (m < 0 || m >= height) return;
    const int64_t a = x0 + sx * from, b = x0 + sx * to;
    const int lo = static_cast<int>(std::min(a, b)), len = static_cast<int>(std::llabs(b - a) + 1);
    area.Raster.Fill(xMajor ? LogicalRect{lo, static_cast<int>(m), len, 1}
                            : LogicalRect{static_cast<int>(m), lo, 1, len},
                     pen);
  };
  if (first > last) return;
  int64_t runStart = first, runMinor = minorAt(first);
  for (int64_t i = first + 1; i <= last; ++i) {
    const int64_t m = minorAt(i);
    if (m != runMinor) {
      fillRun(runStart, i - 1, runMinor);
      runStart = i;
      runMinor = m;
    }
  }
  fillRun(runStart, last, runMinor);
}

void FillTextBackground(PictureArea area, int32_t X, int32_t Y, int64_t textWidth,
                        int64_t textHeight, uint32_t brush) {
  const int left = Clamp(X, area.Width), right = Clamp(int64_t{X} + textWidth, area.Width);
  const int top = Clamp(Y, area.Height), bottom = Clamp(int64_t{Y} + textHeight, area.Height);
  area.Raster.Fill({left, top, right - left, bottom - top}, brush);
}

int32_t AfterText(int32_t X, int64_t width) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{X} + width, INT32_MIN, INT32_MAX));
}
