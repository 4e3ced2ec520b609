#include "platform/DeviceRaster.h"

#include <algorithm>
#include <cmath>

DeviceRaster::DeviceRaster(DevicePixels pixels, double ratio, int width, int height)
    : pixels_(pixels), ratio_(ratio), width_(width), height_(height) {}

int DeviceRaster::DeviceAt(int logical, double ratio) {
  return static_cast<int>(std::ceil(static_cast<double>(logical) * ratio));
}

// Clipped logical rectangles keep their device pixels inside the image.
int DeviceRaster::Device(int logical, int deviceSize) const {
  return std::min(DeviceAt(logical, ratio_), deviceSize);
}

bool DeviceRaster::Clip(const LogicalRect& r, int& x0, int& x1, int& y0, int& y1) const {
  if (r.Width <= 0 || r.Height <= 0) return false;
  x0 = static_cast<int>(std::max<int64_t>(r.Left, 0));
  y0 = static_cast<int>(std::max<int64_t>(r.Top, 0));
  x1 = static_cast<int>(std::min<int64_t>(int64_t{r.Left} + r.Width, width_));
  y1 = static_cast<int>(std::min<int64_t>(int64_t{r.Top} + r.Height, height_));
  return x0 < x1 && y0 < y1;
}

void DeviceRaster::Fill(const LogicalRect& logical, uint32_t pixel) {
  int lx0, lx1, ly0, ly1;
  if (!Clip(logical, lx0, lx1, ly0, ly1)) return;
  const int x0 = Device(lx0, pixels_.Width), x1 = Device(lx1, pixels_.Width);
  const int y0 = Device(ly0, pixels_.Height), y1 = Device(ly1, pixels_.Height);
  for (int y = y0; y < y1; ++y) std::fill(Row(y) + x0, Row(y) + x1, pixel);
}

void DeviceRaster::Hatch(const LogicalRect& logical, uint32_t pixel) {
  int lx0, lx1, ly0, ly1;
  if (!Clip(logical, lx0, lx1, ly0, ly1)) return;
  for (int ly = ly0; ly < ly1; ++ly) {
    const unsigned bits = kDiagCrossRows[ly & 7];
    const int y1 = Device(ly + 1, pixels_.Height);
    for (int y = Device(ly, pixels_.Height); y < y1; ++y) {
      uint32_t* line = Row(y);
      for (int lx = lx0; lx < lx1; ++lx)
        if (bits >> (lx & 7) & 1u)
          std::fill(line + Device(lx, pixels_.Width), line + Device(lx + 1, pixels_.Width), pixel);
    }
  }
}
