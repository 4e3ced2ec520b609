#include "platform/ImageCanvasImpl.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <algorithm>
#include <cstdint>

QColor ToQColor(TColor color) {
  const TColor plain = ResolveColor(color);
  return QColor(RedOf(plain), GreenOf(plain), BlueOf(plain));
}

TColor ResolveColor(TColor c) {
  if (!IsSystemColor(c)) return c & 0xFFFFFF;
  const QPalette palette = QApplication::palette();
  QColor q = palette.color(QPalette::Button);
  if (c == clWindowText) q = palette.color(QPalette::WindowText);
  return RGB(q.red(), q.green(), q.blue());
}

QPainter* ImageCanvas::Impl::Begin() {
  if (image.isNull()) return nullptr;
  if (!painter) {
    painter.emplace(&image);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBackgroundMode(Qt::TransparentMode);  // hatch gaps keep what is beneath
  }
  drawn = true;
  return &*painter;
}

ImageCanvas::ImageCanvas() : impl_(std::make_unique<Impl>()) {}
ImageCanvas::~ImageCanvas() = default;

void ImageCanvas::SetSize(int32_t width, int32_t height) {
  Finish();
  impl_->image = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  if (!impl_->image.isNull()) impl_->image.fill(ToQColor(clBtnFace));
}

int32_t ImageCanvas::ImageWidth() const { return impl_->image.width(); }
int32_t ImageCanvas::ImageHeight() const { return impl_->image.height(); }

void ImageCanvas::Fill(TColor color) {
  Finish();
  if (!impl_->image.isNull()) impl_->image.fill(ToQColor(color));
  impl_->drawn = true;
}

TColor ImageCanvas::PixelAt(int32_t x, int32_t y) {
  Finish();
  impl_->drawn = true;  // reading does not undo a pending "drawn" report
  if (!impl_->image.valid(x, y)) return ResolveColor(clBtnFace);
  const QRgb p = impl_->image.pixel(x, y);
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

void ImageCanvas::LineTo(int32_t X, int32_t Y) {
  const TPoint from = penPos_;
  penPos_ = {X, Y};
  if (from == penPos_) return;  // Qt would still set the end pixel of a zero-length line
  QPainter* p = impl_->Begin();
  if (!p) return;
  QPen pen(ToQColor(Pen.Color));
  pen.setWidth(1);
  pen.setCapStyle(Qt::FlatCap);  // leaves the end point out
  p->setPen(pen);
  p->drawLine(QPoint(from.X, from.Y), QPoint(X, Y));
}

void ImageCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  QPainter* p = impl_->Begin();
  if (!p) return;
  const int w = impl_->image.width(), h = impl_->image.height();
  const int left = Clamp(std::min(X1, X2), w), right = Clamp(std::max(X1, X2), w);
  const int top = Clamp(std::min(Y1, Y2), h), bottom = Clamp(std::max(Y1, Y2), h);
  if (left == right || top == bottom) return;
  if (right - left > 2 && bottom - top > 2) {
    const QRect inside(left + 1, top + 1, right - left - 2, bottom - top - 2);
    if (Brush.Style == bsSolid)
      p->fillRect(inside, ToQColor(Brush.Color));
    else
      p->fillRect(inside, QBrush(ToQColor(Brush.Color), Qt::DiagCrossPattern));
  }
  const QColor outline = ToQColor(Pen.Color);
  p->fillRect(QRect(left, top, right - left, 1), outline);
  p->fillRect(QRect(left, bottom - 1, right - left, 1), outline);
  p->fillRect(QRect(left, top, 1, bottom - top), outline);
  p->fillRect(QRect(right - 1, top, 1, bottom - top), outline);
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
  QPainter* p = impl_->Begin();
  if (!p) return;
  if (Brush.Style == bsSolid) p->fillRect(QRect(X, Y, width, metrics.height()), ToQColor(Brush.Color));
  p->setFont(font);
  p->setPen(ToQColor(Font.Color));
  p->drawText(QPoint(X, Y + metrics.ascent()), text);
}
