#include "platform/DeviceRaster.h"

#include <QBrush>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {

// Rows of Qt's 8 x 8 diagonal cross pattern, bit x set where the hatch draws, taken from Qt
// itself so that at ratio 1 the hatch is Qt's own.
std::array<uint8_t, 8> DiagCrossRows() {
  QImage tile(8, 8, QImage::Format_RGB32);
  tile.fill(Qt::white);
  {
    QPainter painter(&tile);
    painter.fillRect(QRect(0, 0, 8, 8), QBrush(Qt::black, Qt::DiagCrossPattern));
  }
  std::array<uint8_t, 8> rows{};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (qRed(tile.pixel(x, y)) < 128) rows[y] = static_cast<uint8_t>(rows[y] | 1u << x);
  return rows;
}

}  // namespace

DeviceRaster::DeviceRaster(QImage& image, double ratio, int width, int height)
    : image_(image), ratio_(ratio), picture_(0, 0, width, height) {}

int DeviceRaster::DeviceAt(int logical, double ratio) {
  return static_cast<int>(std::ceil(static_cast<double>(logical) * ratio));
}

// Clipped logical rectangles keep their device pixels inside the image.
int DeviceRaster::Device(int logical, int deviceSize) const {
  return std::min(DeviceAt(logical, ratio_), deviceSize);
}

QRect DeviceRaster::Clip(const QRect& logical) const { return logical.intersected(picture_); }

void DeviceRaster::Fill(const QRect& logical, QRgb colour) {
  const QRect r = Clip(logical);
  if (r.isEmpty()) return;
  const int x0 = Device(r.left(), image_.width()), x1 = Device(r.right() + 1, image_.width());
  const int y0 = Device(r.top(), image_.height()), y1 = Device(r.bottom() + 1, image_.height());
  for (int y = y0; y < y1; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    std::fill(line + x0, line + x1, colour);
  }
}

void DeviceRaster::Hatch(const QRect& logical, QRgb colour) {
  static const std::array<uint8_t, 8> rows = DiagCrossRows();
  const QRect r = Clip(logical);
  if (r.isEmpty()) return;
  for (int ly = r.top(); ly <= r.bottom(); ++ly) {
    const unsigned bits = rows[ly & 7];
    const int y1 = Device(ly + 1, image_.height());
    for (int y = Device(ly, image_.height()); y < y1; ++y) {
      auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
      for (int lx = r.left(); lx <= r.right(); ++lx)
        if (bits >> (lx & 7) & 1u)
          std::fill(line + Device(lx, image_.width()), line + Device(lx + 1, image_.width()), colour);
    }
  }
}
