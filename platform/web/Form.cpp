#include "platform/Application.h"
#include "platform/web/ImageCanvasImpl.h"
#include "platform/web/PageBridge.h"
#include "platform/web/WebWidgets.h"

TForm::TForm() : window_(std::make_unique<Window>()) {}

TForm::~TForm() { controls_.clear(); }

// The page is the client area: the designed position and outer size have nothing to act on.
void TForm::SetBounds(int32_t, int32_t, int32_t, int32_t) {}

void TForm::SetCaption(const std::string& caption) { page::SetTitle(caption.c_str()); }
void TForm::SetColor(TColor color) { page::SetBackground(ResolveColor(color)); }
// The form's font reaches no element: the label and the button set their own.
void TForm::SetFont(const TControlFont&) {}

int32_t TForm::ClientWidth() const { return window_->clientWidth; }
int32_t TForm::ClientHeight() const { return window_->clientHeight; }
// The viewport's size is the browser's to choose.
void TForm::SetClientSize(int32_t, int32_t) {}

namespace {

int32_t WholePixels(double v) {
  if (!(v > 0)) return 0;
  if (!(v < 1e6)) return 1000000;
  return static_cast<int32_t>(v);
}

// Takes the viewport's size and ratio; a change resizes the aligned paint box, runs OnResize and
// repaints. `force` repaints at the same size too (the first showing).
void FollowViewport(TForm& form, bool force) {
  TForm::Window& w = form.window();
  const int32_t width = WholePixels(page::ViewportWidth());
  const int32_t height = WholePixels(page::ViewportHeight());
  double ratio = page::DevicePixelRatio();
  if (!(ratio > 0.0 && ratio <= 16.0)) ratio = 1.0;
  const bool resized = width != w.clientWidth || height != w.clientHeight;
  if (!resized && ratio == w.ratio && !force) return;
  w.clientWidth = width;
  w.clientHeight = height;
  w.ratio = ratio;
  if (w.clientPaintBox) w.clientPaintBox->SetBounds(0, 0, width, height);
  if (resized || force) form.DoResize();
  if (w.clientPaintBox) RepaintBox(*w.clientPaintBox, form);
}

}  // namespace

void RepaintBox(TPaintBox& box, TForm& form) {
  box.Picture().Fill(clBtnFace);
  form.DoPaint(/*insideWindowPaint=*/false);
}

// Shows the page's controls as they are: activation, the size of the viewport, the first paint.
void TForm::Show() {
  if (window_->shown) return;
  window_->shown = true;
  DoActivate();
  FollowViewport(*this, /*force=*/true);
}

void TForm::Close() {}

void ViewportChanged(TForm& form) {
  if (form.window().shown) FollowViewport(form, /*force=*/false);
}
