#include <algorithm>
#include <utility>

#include "platform/Application.h"
#include "platform/web/DescriptionJson.h"
#include "platform/web/ImageCanvasImpl.h"
#include "platform/web/PageBridge.h"
#include "platform/web/WebWidgets.h"

namespace {

TControl::Widget* NewElement(const char* kind) {
  auto* widget = new TControl::Widget;
  widget->handle = page::CreateElement(kind);
  return widget;
}

}  // namespace

void TControl::Widget::Place() const { page::Place(handle, left, top, width, height, visible); }

// ---- TControl ---------------------------------------------------------------------------------

TControl::TControl(TForm& owner, Widget* widget) : owner_(owner), widget_(widget) { widget_->Place(); }
TControl::~TControl() { delete widget_; }

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  widget_->left = left;
  widget_->top = top;
  widget_->width = std::max(width, 0);
  widget_->height = std::max(height, 0);
  widget_->Place();
}
int32_t TControl::Left() const { return widget_->left; }
int32_t TControl::Top() const { return widget_->top; }
int32_t TControl::Width() const { return widget_->width; }
int32_t TControl::Height() const { return widget_->height; }
bool TControl::Visible() const { return widget_->visible; }
void TControl::SetVisible(bool visible) {
  widget_->visible = visible;
  widget_->Place();
}
void TControl::SetName(const std::string& name) { page::SetId(widget_->handle, name.c_str()); }
void TControl::SetHint(const std::string& hint) { page::SetHint(widget_->handle, hint.c_str()); }

// ---- TPaintBox --------------------------------------------------------------------------------

TPaintBox::TPaintBox(TForm& owner) : TControl(owner, NewElement("paintbox")) {
  page::Bind(widget().handle, this);
  Application->RegisterPaintBox(this);
}

TPaintBox::~TPaintBox() { Application->UnregisterPaintBox(this); }

// The picture follows the control's size and the page's device pixel ratio (it changes with the
// browser's zoom and when the window moves to another screen); either change starts from an
// erased picture, which the window paint that follows draws.
ImageCanvas& TPaintBox::Picture() {
  const double ratio = owner_.window().ratio;
  if (picture_.ImageWidth() != Width() || picture_.ImageHeight() != Height() ||
      picture_.Ratio() != ratio)
    picture_.SetSize(Width(), Height(), ratio);
  return picture_;
}

void TPaintBox::SetAlignClient() {
  TForm::Window& window = owner_.window();
  window.clientPaintBox = this;
  SetBounds(0, 0, window.clientWidth, window.clientHeight);
}

void TPaintBox::SetCursor(TCursor cursor) { page::SetCursor(widget().handle, cursor == crCross); }

void TPaintBox::Refresh() { RepaintBox(*this, owner_); }

// Tab reaches the chart after the other controls; a click never gives it the focus.
void TPaintBox::SetTabStop(bool tabStop) { page::SetTabStop(widget().handle, tabStop); }
bool TPaintBox::Focused() const { return page::HasFocus(widget().handle); }

void DescribeToPage(TPaintBox& box) {
  TChartDescription now;
  if (!box.widget().pictureSeen || !ReadDescription(box, now) || now == box.widget().described) return;
  page::Describe(box.widget().handle, DescriptionJson(now).c_str());
  box.widget().described = std::move(now);
}

// ---- TLabel -----------------------------------------------------------------------------------

TLabel::TLabel(TForm& owner) : TControl(owner, NewElement("label")) {}

void TLabel::SetCaption(const std::string& caption) { page::SetText(widget().handle, caption.c_str()); }

void TLabel::SetFont(const TControlFont& font) {
  page::SetFont(widget().handle, font.Name.c_str(), font.Height < 0 ? -font.Height : std::max(1, font.Height));
}

// ---- TButton ----------------------------------------------------------------------------------

TButton::TButton(TForm& owner) : TControl(owner, NewElement("button")) { page::Bind(widget().handle, this); }

void TButton::SetCaption(const std::string& caption) {
  page::SetCaption(widget().handle, caption.c_str());
}

void TButton::SetFont(const TControlFont& font) {
  page::SetFont(widget().handle, font.Name.c_str(), font.Height < 0 ? -font.Height : std::max(1, font.Height));
}

// The page's keyboard order is the order of its elements; the button is the only one that takes
// the focus, so its tab order needs nothing here.
void TButton::SetTabOrder(int) {}

void TButton::Click() { Application->Dispatch([this] { if (OnClick) OnClick(this); }); }
