// Inside of ImageCanvas, for the platform's own widgets only.
#pragma once

#include <QImage>
#include <QPainter>
#include <optional>

#include "platform/ImageCanvas.h"

struct ImageCanvas::Impl {
  QImage image;
  std::optional<QPainter> painter;  // begun at the first operation, ended by Finish
  bool drawn = false;

  QPainter* Begin();  // nullptr while the picture is empty
};

QColor ToQColor(TColor color);
