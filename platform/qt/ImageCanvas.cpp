#include "platform/qt/ImageCanvasImpl.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>
#include <cstdint>

#include "platform/DeviceRaster.h"
#include "platform/PictureRules.h"

QColor ToQColor(TColor color) {
  const TColor plain = ResolveColor(color);
  return QColor(RedOf(plain), GreenOf(plain), BlueOf(plain));
}

QPainter* ImageCanvas::Impl::Begin() {
  if (image.isNull()) return nullptr;
  if (!painter) {
    painter.emplace(&image);
    painter->setRenderHint(QPainter::Antialiasing, false);
  }
  drawn = true;
  return &*painter;
}

std::optional<DeviceRaster> ImageCanvas::Impl::Raster() {
  if (image.isNull()) return std::nullopt;
  painter.reset();  // the raster writes the pixels itself
  drawn = true;
  return DeviceRaster(DevicePixels{reinterpret_cast<uint32_t*>(image.bits()), image.width(),
                                    image.height(), static_cast<int>(image.bytesPerLine() / 4)},
                      ratio, width, height);
}

ImageCanvas::ImageCanvas() : impl_(std::make_unique<Impl>()) {}
ImageCanvas::~ImageCanvas() = default;

void ImageCanvas::SetSize(int32_t width, int32_t height, double ratio) {
  Finish();
  if (!(ratio > 0.0 && ratio <= 16.0)) ratio = 1.0;  // also NaN
  Impl& d = *impl_;
  d.width = std::max(width, 0);
  d.height = std::max(height, 0);
  d.ratio = ratio;
  d.image = QImage(DeviceRaster::DeviceAt(d.width, ratio), DeviceRaster::DeviceAt(d.height, ratio),
                   QImage::Format_RGB32);
  if (d.image.isNull()) {
    d.width = d.height = 0;  // too large to hold: an empty picture, as a zero size gives
    return;
  }
  d.image.setDevicePixelRatio(ratio);
  d.image.fill(ToQColor(clBtnFace));
}

int32_t ImageCanvas::ImageWidth() const { return impl_->width; }
int32_t ImageCanvas::ImageHeight() const { return impl_->height; }
double ImageCanvas::Ratio() const { return impl_->ratio; }

void ImageCanvas::Fill(TColor color) {
  Finish();
  if (!impl_->image.isNull()) impl_->image.fill(ToQColor(color));
  impl_->drawn = true;
}

TColor ImageCanvas::PixelAt(int32_t x, int32_t y) {
  Finish();
  impl_->drawn = true;  // reading does not undo a pending "drawn" report
  const Impl& d = *impl_;
  if (x < 0 || y < 0 || x >= d.width || y >= d.height) return ResolveColor(clBtnFace);
  const int dx = std::min(static_cast<int>((x + 0.5) * d.ratio), d.image.width() - 1);
  const int dy = std::min(static_cast<int>((y + 0.5) * d.ratio), d.image.height() - 1);
  const QRgb p = d.image.pixel(dx, dy);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

bool ImageCanvas::Finish() {
  if (impl_->painter) impl_->painter.reset();
  const bool drawn = impl_->drawn;
  impl_->drawn = false;
  return drawn;
}

void ImageCanvas::LineTo(int32_t X, int32_t Y) {
  const TPoint from = penPos_;
  penPos_ = {X, Y};
  std::optional<DeviceRaster> raster = impl_->Raster();
  if (!raster) return;
  DrawLine({*raster, impl_->width, impl_->height}, from.X, from.Y, X, Y, ToQColor(Pen.Color).rgb());
}

void ImageCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  std::optional<DeviceRaster> raster = impl_->Raster();
  if (!raster) return;
  DrawRectangle({*raster, impl_->width, impl_->height}, X1, Y1, X2, Y2, ToQColor(Pen.Color).rgb(),
                ToQColor(Brush.Color).rgb(), Brush.Style);
}

namespace {

QFont ToQFont(const TFont& f) {
  QFont font(QString::fromStdString(f.Name));
  font.setPixelSize(std::max(1, PointsToPixels(f.Size)));
  font.setBold(f.Style & fsBold);
  font.setItalic(f.Style & fsItalic);
  font.setUnderline(f.Style & fsUnderline);
  font.setStrikeOut(f.Style & fsStrikeOut);
  return font;
}

}  // namespace

int32_t ImageCanvas::TextWidth(const std::string& Text) {
  return QFontMetrics(ToQFont(Font)).horizontalAdvance(QString::fromStdString(Text));
}

void ImageCanvas::TextOut(int32_t X, int32_t Y, const std::string& Text) {
  const QFont font = ToQFont(Font);
  const QFontMetrics metrics(font);
  const QString text = QString::fromStdString(Text);
  const int width = metrics.horizontalAdvance(text);
  penPos_ = {AfterText(X, width), Y};
  if (Brush.Style == bsSolid) {
    std::optional<DeviceRaster> raster = impl_->Raster();
    if (!raster) return;
    FillTextBackground({*raster, impl_->width, impl_->height}, X, Y, width, metrics.height(),
                       ToQColor(Brush.Color).rgb());
  }
  QPainter* p = impl_->Begin();  // the glyphs at device resolution, smoothed as the desktop's are
  if (!p) return;
  p->setFont(font);
  p->setPen(ToQColor(Font.Color));
  p->drawText(QPoint(X, Y + metrics.ascent()), text);
}
