// Inside of ImageCanvas in the browser, for platform/web/ sources only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DeviceRaster.h"
#include "platform/ImageCanvas.h"

struct ImageCanvas::Impl {
  // Device pixels as the page's ImageData holds them: bytes R, G, B, A, so that a pixel read as a
  // little-endian word is 0xFF000000 | 0x00BBGGRR.
  std::vector<uint32_t> pixels;
  int deviceWidth = 0, deviceHeight = 0;
  int width = 0, height = 0;  // logical pixels
  double ratio = 1.0;
  bool drawn = false;

  std::optional<DeviceRaster> Raster();  // none while the picture is empty
};

// A colour as a pixel of the picture.
uint32_t ToPixel(TColor color);
