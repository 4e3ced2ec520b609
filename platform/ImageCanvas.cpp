#include "platform/ImageCanvasImpl.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>
#include <cstdint>

#include "platform/DeviceRaster.h"
#include "platform/FixedPalette.h"

QColor ToQColor(TColor color) {
  const TColor plain = ResolveColor(color);
  return QColor(RedOf(plain), GreenOf(plain), BlueOf(plain));
}

TColor ResolveColor(TColor c) {
  if (!IsSystemColor(c)) return c & 0xFFFFFF;
  const QPalette& palette = FixedPalette();
  QColor q = palette.color(QPalette::Button);
  if (c == clWindowText) q = palette.color(QPalette::WindowText);
  return RGB(q.red(), q.green(), q.blue());
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
  return DeviceRaster(image, ratio, width, height);
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

namespace {

// Keeps far-away coordinates from overflowing Qt's integer rectangles; a point clamped to one
// pixel beyond the picture draws the same pixels inside it.
int Clamp(int64_t v, int size) { return static_cast<int>(std::clamp<int64_t>(v, -1, size + 1)); }

}  // namespace

namespace {

__extension__ using Int128 = __int128;  // exact products of two 32-bit spans

// Fills the pixels of the line from (x0, y0) towards (x1, y1), the end point left out, as runs
// along the major axis. Qt's own aliased lines leave out the end point only in some directions,
// so the line is rasterised here: for step i along the major axis the minor coordinate is the
// nearest one to the exact line. Only steps that land inside the picture are visited, so a line
// from far outside costs no more than one across it.
void FillLine(DeviceRaster& raster, QRgb colour, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
              int64_t width, int64_t height) {
  const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
  if (!xMajor) {  // walk along y: swap the roles of the axes
    std::swap(x0, y0);
    std::swap(x1, y1);
    std::swap(width, height);
  }
  const int64_t major = std::llabs(x1 - x0), minor = std::llabs(y1 - y0);
  const int64_t sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
  // Steps whose major coordinate lies inside the picture.
  int64_t first = sx > 0 ? -x0 : x0 - (width - 1);
  int64_t last = sx > 0 ? width - 1 - x0 : x0;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, major - 1);
  auto minorAt = [&](int64_t i) {
    // round(i * minor / major), halves upwards; __int128 keeps far-away lines exact
    const Int128 num = static_cast<Int128>(2 * i) * minor + major;
    return y0 + sy * static_cast<int64_t>(num / (2 * static_cast<Int128>(major)));
  };
  auto fillRun = [&](int64_t from, int64_t to, int64_t m) {  // steps from..to on minor line m
    if (m < 0 || m >= height) return;
    const int64_t a = x0 + sx * from, b = x0 + sx * to;
    const int lo = static_cast<int>(std::min(a, b)), len = static_cast<int>(std::llabs(b - a) + 1);
    raster.Fill(xMajor ? QRect(lo, static_cast<int>(m), len, 1) : QRect(static_cast<int>(m), lo, 1, len),
                colour);
  };
  if (first > last) return;
  int64_t runStart = first, runMinor = minorAt(first);
  for (int64_t i = first + 1; i <= last; ++i) {
    const int64_t m = minorAt(i);
    if (m != runMinor) {
      fillRun(runStart, i - 1, runMinor);
      runStart = i;
      runMinor = m;
    }
  }
  fillRun(runStart, last, runMinor);
}

}  // namespace

void ImageCanvas::LineTo(int32_t X, int32_t Y) {
  const TPoint from = penPos_;
  penPos_ = {X, Y};
  std::optional<DeviceRaster> raster = impl_->Raster();
  if (!raster) return;
  FillLine(*raster, ToQColor(Pen.Color).rgb(), from.X, from.Y, X, Y, impl_->width, impl_->height);
}

void ImageCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  std::optional<DeviceRaster> raster = impl_->Raster();
  if (!raster) return;
  const int w = impl_->width, h = impl_->height;
  const int left = Clamp(std::min(X1, X2), w), right = Clamp(std::max(X1, X2), w);
  const int top = Clamp(std::min(Y1, Y2), h), bottom = Clamp(std::max(Y1, Y2), h);
  if (left == right || top == bottom) return;
  if (right - left > 2 && bottom - top > 2) {
    const QRect inside(left + 1, top + 1, right - left - 2, bottom - top - 2);
    if (Brush.Style == bsSolid)
      raster->Fill(inside, ToQColor(Brush.Color).rgb());
    else
      raster->Hatch(inside, ToQColor(Brush.Color).rgb());
  }
  const QRgb outline = ToQColor(Pen.Color).rgb();
  raster->Fill(QRect(left, top, right - left, 1), outline);
  raster->Fill(QRect(left, bottom - 1, right - left, 1), outline);
  raster->Fill(QRect(left, top, 1, bottom - top), outline);
  raster->Fill(QRect(right - 1, top, 1, bottom - top), outline);
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
  penPos_ = {static_cast<int32_t>(std::clamp<int64_t>(int64_t{X} + width, INT32_MIN, INT32_MAX)), Y};
  if (Brush.Style == bsSolid) {
    std::optional<DeviceRaster> raster = impl_->Raster();
    if (!raster) return;
    const int w = impl_->width, h = impl_->height;
    const int left = Clamp(X, w), right = Clamp(int64_t{X} + width, w);
    const int top = Clamp(Y, h), bottom = Clamp(int64_t{Y} + metrics.height(), h);
    raster->Fill(QRect(left, top, right - left, bottom - top), ToQColor(Brush.Color).rgb());
  }
  QPainter* p = impl_->Begin();  // the glyphs at device resolution, smoothed as the desktop's are
  if (!p) return;
  p->setFont(font);
  p->setPen(ToQColor(Font.Color));
  p->drawText(QPoint(X, Y + metrics.ascent()), text);
}
