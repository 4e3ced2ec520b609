// The real canvas: draws into a persistent picture held in memory (the paint box shows it).
// Coordinates are logical pixels; the picture itself may hold more device pixels per logical
// one, as a scaled screen shows it.
#pragma once

#include <memory>

#include "platform/Canvas.h"

class ImageCanvas final : public TCanvas {
 public:
  ImageCanvas();
  ~ImageCanvas() override;
  ImageCanvas(const ImageCanvas&) = delete;
  ImageCanvas& operator=(const ImageCanvas&) = delete;

  // A new picture of the given logical size, filled with clBtnFace, kept at `ratio` device
  // pixels per logical pixel (a ratio that is not a positive number counts as 1).
  void SetSize(int32_t width, int32_t height, double ratio = 1.0);
  int32_t ImageWidth() const;
  int32_t ImageHeight() const;
  double Ratio() const;

  void Fill(TColor color);          // the whole picture, pen and brush untouched
  // A plain colour; clBtnFace for points outside. At a ratio above 1 the device pixel that holds
  // the logical pixel's centre.
  TColor PixelAt(int32_t x, int32_t y);

  // Finishes the drawing in progress. Reports whether anything was drawn since the last call.
  bool Finish();

  void LineTo(int32_t X, int32_t Y) override;
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  void TextOut(int32_t X, int32_t Y, const std::string& Text) override;
  int32_t TextWidth(const std::string& Text);

  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};
