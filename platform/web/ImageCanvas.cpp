#include "platform/web/ImageCanvasImpl.h"

#include <algorithm>
#include <new>

#include "platform/PictureRules.h"
#include "platform/web/PageBridge.h"

uint32_t ToPixel(TColor color) { return 0xFF000000u | ResolveColor(color); }

std::optional<DeviceRaster> ImageCanvas::Impl::Raster() {
  if (pixels.empty()) return std::nullopt;
  drawn = true;
  return DeviceRaster(DevicePixels{pixels.data(), deviceWidth, deviceHeight, deviceWidth}, ratio,
                      width, height);
}

ImageCanvas::ImageCanvas() : impl_(std::make_unique<Impl>()) {}
ImageCanvas::~ImageCanvas() = default;

namespace {

// Larger pictures are refused, as the desktop's image refuses them: 2^28 device pixels is 1 GiB.
constexpr int64_t kMostDevicePixels = int64_t{1} << 28;

}  // namespace

void ImageCanvas::SetSize(int32_t width, int32_t height, double ratio) {
  Finish();
  if (!(ratio > 0.0 && ratio <= 16.0)) ratio = 1.0;  // also NaN
  Impl& d = *impl_;
  d.width = std::max(width, 0);
  d.height = std::max(height, 0);
  d.ratio = ratio;
  d.deviceWidth = DeviceRaster::DeviceAt(d.width, ratio);
  d.deviceHeight = DeviceRaster::DeviceAt(d.height, ratio);
  d.pixels.clear();
  const int64_t count = int64_t{d.deviceWidth} * d.deviceHeight;
  bool held = count > 0 && count <= kMostDevicePixels;
  if (held) {
    try {
      d.pixels.assign(static_cast<size_t>(count), ToPixel(clBtnFace));
      d.pixels.shrink_to_fit();
    } catch (const std::bad_alloc&) {
      held = false;
    }
  }
  if (!held) {  // too large to hold, or nothing: an empty picture, as a zero size gives
    std::vector<uint32_t>().swap(d.pixels);
    d.width = d.height = d.deviceWidth = d.deviceHeight = 0;
  }
}

int32_t ImageCanvas::ImageWidth() const { return impl_->width; }
int32_t ImageCanvas::ImageHeight() const { return impl_->height; }
double ImageCanvas::Ratio() const { return impl_->ratio; }

void ImageCanvas::Fill(TColor color) {
  std::fill(impl_->pixels.begin(), impl_->pixels.end(), ToPixel(color));
  impl_->drawn = true;
}

TColor ImageCanvas::PixelAt(int32_t x, int32_t y) {
  impl_->drawn = true;  // as on the desktop: reading does not undo a pending "drawn" report
  const Impl& d = *impl_;
  if (x < 0 || y < 0 || x >= d.width || y >= d.height) return ResolveColor(clBtnFace);
  const int dx = std::min(static_cast<int>((x + 0.5) * d.ratio), d.deviceWidth - 1);
  const int dy = std::min(static_cast<int>((y + 0.5) * d.ratio), d.deviceHeight - 1);
  return d.pixels[static_cast<size_t>(dy) * d.deviceWidth + dx] & 0xFFFFFFu;
}

bool ImageCanvas::Finish() {
  const bool drawn = impl_->drawn;
  impl_->drawn = false;
  return drawn;
}

void ImageCanvas::LineTo(int32_t X, int32_t Y) {
  const TPoint from = penPos_;
  penPos_ = {X, Y};
  std::optional<DeviceRaster> raster = impl_->Raster();
  if (!raster) return;
  DrawLine({*raster, impl_->width, impl_->height}, from.X, from.Y, X, Y, ToPixel(Pen.Color));
}

void ImageCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  std::optional<DeviceRaster> raster = impl_->Raster();
  if (!raster) return;
  DrawRectangle({*raster, impl_->width, impl_->height}, X1, Y1, X2, Y2, ToPixel(Pen.Color),
                ToPixel(Brush.Color), Brush.Style);
}

int32_t ImageCanvas::TextWidth(const std::string& Text) {
  return page::TextWidth(Font.Name.c_str(), std::max(1, PointsToPixels(Font.Size)), Text.c_str());
}

// Only the regular style is drawn; the program uses no other.
void ImageCanvas::TextOut(int32_t X, int32_t Y, const std::string& Text) {
  const int pixels = std::max(1, PointsToPixels(Font.Size));
  const char* font = Font.Name.c_str();
  const int width = page::TextWidth(font, pixels, Text.c_str());
  const int ascent = page::FontAscent(font, pixels);
  penPos_ = {AfterText(X, width), Y};
  std::optional<DeviceRaster> raster = impl_->Raster();
  if (!raster) return;
  if (Brush.Style == bsSolid)
    FillTextBackground({*raster, impl_->width, impl_->height}, X, Y, width,
                       ascent + page::FontDescent(font, pixels), ToPixel(Brush.Color));
  // The glyphs at device resolution, smoothed as the browser smooths text.
  const Impl& d = *impl_;
  page::DrawText(impl_->pixels.data(), d.deviceWidth, d.deviceHeight, X * d.ratio,
                 (static_cast<double>(Y) + ascent) * d.ratio, d.ratio, font, pixels, Text.c_str(),
                 ResolveColor(Font.Color));
}
