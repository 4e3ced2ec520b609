// Solid and hatched fills of logical rectangles into a picture kept at a device pixel ratio.
#pragma once

#include <cstdint>

// A rectangle of logical pixels: columns Left .. Left + Width - 1, rows Top .. Top + Height - 1;
// empty when either side is not positive.
struct LogicalRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// 32-bit device pixels, row after row, `stride` pixels apart. The raster writes pixel values as
// they are given, so it serves any byte order the toolkit's image uses.
struct DevicePixels {
  uint32_t* Data = nullptr;
  int Width = 0;
  int Height = 0;
  int Stride = 0;
};

// Device pixel d shows logical pixel floor(d / ratio), as the mouse maps a device position back:
// logical span [a, b) covers device pixels ceil(a * ratio) .. ceil(b * ratio) - 1. At a whole
// ratio k that is k x k device pixels a logical pixel; at ratio 1 the picture's own pixels.
// Colours are written as they are, never blended, so at any ratio every device pixel is one of
// the picture's colours.
class DeviceRaster {
 public:
  // `width` x `height` logical pixels, the device pixels at least their device size.
  DeviceRaster(DevicePixels pixels, double ratio, int width, int height);

  // The first device pixel of logical pixel `logical`; for a size, the device pixels that hold
  // that many logical ones whole.
  static int DeviceAt(int logical, double ratio);

  void Fill(const LogicalRect& logical, uint32_t pixel);
  // The diagonal cross hatch, its pattern in logical pixels anchored at the picture's origin;
  // the gaps keep what is there.
  void Hatch(const LogicalRect& logical, uint32_t pixel);

  // Rows of the 8 x 8 diagonal cross pattern, bit x set where the hatch draws: the desktop
  // toolkit's own pattern, so that at ratio 1 the hatch is the same on every platform.
  static constexpr uint8_t kDiagCrossRows[8] = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};

 private:
  int Device(int logical, int deviceSize) const;
  // The part inside the picture as half-open spans; false when nothing is left.
  bool Clip(const LogicalRect& logical, int& x0, int& x1, int& y0, int& y1) const;
  uint32_t* Row(int y) const { return pixels_.Data + static_cast<int64_t>(y) * pixels_.Stride; }

  DevicePixels pixels_;
  double ratio_;
  int width_, height_;  // logical
};
