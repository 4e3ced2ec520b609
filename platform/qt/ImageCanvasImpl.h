// Inside of ImageCanvas, for the platform's own widgets only.
#pragma once

#include <QImage>
#include <QPainter>
#include <optional>

#include "platform/DeviceRaster.h"
#include "platform/ImageCanvas.h"

struct ImageCanvas::Impl {
  QImage image;  // device pixels, its device pixel ratio set
  int width = 0, height = 0;  // logical pixels
  double ratio = 1.0;
  std::optional<QPainter> painter;  // for text: begun at its first use, ended by Finish
  bool drawn = false;

  QPainter* Begin();  // nullptr while the picture is empty
  std::optional<DeviceRaster> Raster();  // rectangles and lines; none while the picture is empty
};

QColor ToQColor(TColor color);
