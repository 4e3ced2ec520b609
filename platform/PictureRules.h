// The canvas's pixel rules for rectangles, lines and text backgrounds, written into device
// pixels. Every platform's canvas draws through these, so the pictures agree pixel for pixel;
// pixel values come already in the platform's image format.
#pragma once

#include <cstdint>

#include "platform/Canvas.h"
#include "platform/DeviceRaster.h"

// A picture of `width` x `height` logical pixels behind a raster.
struct PictureArea {
  DeviceRaster& Raster;
  int Width;
  int Height;
};

// Corners in either order; columns min..max-1 and rows min..max-1: a 1-pixel outline in `pen`,
// the inside solid or hatched in `brush`; nothing when either side is empty.
void DrawRectangle(PictureArea area, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, uint32_t pen,
                   uint32_t brush, TBrushStyle style);

// The line from (X1, Y1) towards (X2, Y2), the end point left out.
void DrawLine(PictureArea area, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, uint32_t pen);

// The solid background of a text of the given size with its top-left at (X, Y).
void FillTextBackground(PictureArea area, int32_t X, int32_t Y, int64_t textWidth,
                        int64_t textHeight, uint32_t brush);

// The pen position after a text of `width` pixels at X: saturated to 32 bits.
int32_t AfterText(int32_t X, int64_t width);
