// Solid and hatched fills of logical rectangles into a picture kept at a device pixel ratio.
#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

// Device pixel d shows logical pixel floor(d / ratio), as the mouse maps a device position back:
// logical span [a, b) covers device pixels ceil(a * ratio) .. ceil(b * ratio) - 1. At a whole
// ratio k that is k x k device pixels a logical pixel; at ratio 1 the picture's own pixels.
// Colours are written as they are, never blended, so at any ratio every device pixel is one of
// the picture's colours.
class DeviceRaster {
 public:
  // `width` x `height` logical pixels, the image at least their device size.
  DeviceRaster(QImage& image, double ratio, int width, int height);

  // The first device pixel of logical pixel `logical`; for a size, the device pixels that hold
  // that many logical ones whole.
  static int DeviceAt(int logical, double ratio);

  void Fill(const QRect& logical, QRgb colour);
  // The diagonal cross hatch, its pattern in logical pixels anchored at the picture's origin;
  // the gaps keep what is there.
  void Hatch(const QRect& logical, QRgb colour);

 private:
  int Device(int logical, int deviceSize) const;
  QRect Clip(const QRect& logical) const;

  QImage& image_;
  double ratio_;
  QRect picture_;  // logical
};
