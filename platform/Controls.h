// The window's controls: a paint box to draw in, a static label and a push button.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ChartDescription.h"
#include "platform/ImageCanvas.h"

class TForm;

class TObject {
 public:
  virtual ~TObject() = default;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle, mbExtra };

enum TShiftFlag : unsigned {
  ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = unsigned;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;

enum TCursor { crDefault, crCross };

// The keys a paint box passes on; every other key goes to the window as before.
enum TKey { vkLeft, vkRight, vkUp, vkDown, vkPageUp, vkPageDown, vkHome, vkEnd, vkEnter };
using TKeyEvent = std::function<void(TObject* Sender, TKey Key, TShiftState Shift)>;
using TDescribeEvent = std::function<TChartDescription(TObject* Sender)>;

// A control placed on a form. Geometry is in the form's client pixels.
class TControl : public TObject {
 public:
  ~TControl() override;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  int32_t Left() const;
  int32_t Top() const;
  int32_t Width() const;
  int32_t Height() const;
  bool Visible() const;
  void SetVisible(bool visible);
  void SetTop(int32_t top) { SetBounds(Left(), top, Width(), Height()); }
  // The name the form description gives the control; the platform may show it to tools (the
  // browser's element id).
  void SetName(const std::string& name);
  // A short text shown while the pointer rests on the control (a tooltip).
  void SetHint(const std::string& hint);

  struct Widget;  // the toolkit's element behind the control, known to the platform only
  Widget& widget() const { return *widget_; }

  // Forgets the handlers, which belong to a window being destroyed.
  virtual void DropHandlers() {}

 protected:
  TControl(TForm& owner, Widget* widget);
  TForm& owner_;

 private:
  Widget* widget_;  // owned by the form's window
};

// A drawing area without a background of its own. It keeps its picture between paints; the
// form's paint event erases it to clBtnFace and runs the form's OnPaint, and drawing done at any
// other time is shown as it stands.
class TPaintBox final : public TControl {
 public:
  explicit TPaintBox(TForm& owner);
  ~TPaintBox() override;

  // The canvas of the picture, sized to the paint box.
  TCanvas& Canvas() { return Picture(); }
  ImageCanvas& Picture();  // the same canvas, with access to its pixels
  void SetAlignClient();  // fill the form's client area and follow its size
  void SetCursor(TCursor cursor);
  // Erases the picture and runs the form's OnPaint before returning.
  void Refresh();

  // Lets Tab and Shift+Tab reach the paint box after the other controls; a click never gives it
  // the focus.
  void SetTabStop(bool tabStop);
  bool Focused() const;

  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TKeyEvent OnKeyDown;      // while the paint box has the keyboard focus
  TDescribeEvent OnDescribe;  // what the picture means, asked whenever it may have changed
  void DropHandlers() override {
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    OnKeyDown = nullptr;
    OnDescribe = nullptr;
  }

 private:
  ImageCanvas picture_;
};

// The paint box's description, as every platform reads it; false when it has none or describing
// it failed (an arithmetic error: the description stays as it was).
bool ReadDescription(TPaintBox& box, TChartDescription& description);

struct TControlFont {
  std::string Name = "Arial";
  int Height = -13;  // pixels; negative: the character height
};

class TLabel final : public TControl {
 public:
  explicit TLabel(TForm& owner);
  void SetCaption(const std::string& caption);
  void SetFont(const TControlFont& font);
};

// A push button; "&" in the caption marks its access key (Alt + that letter clicks it).
class TButton final : public TControl {
 public:
  explicit TButton(TForm& owner);
  void SetCaption(const std::string& caption);
  void SetFont(const TControlFont& font);
  void SetTabOrder(int order);
  void Click();  // as a click by the user: runs OnClick through the error handler

  TNotifyEvent OnClick;
  void DropHandlers() override { OnClick = nullptr; }
};
