// The page's events as they enter the program; page.js calls these with the handles and
// pointers it was given.
#include <emscripten/emscripten.h>

#include <cmath>

#include "platform/Application.h"
#include "platform/web/WebWidgets.h"

namespace {

// Whole logical pixels, clamped so that no page coordinate can overflow a 32-bit handler. The
// position is floored, not rounded: at a device pixel ratio above 1 a press on any device pixel
// of a logical pixel is a press on that logical pixel, the one the picture shows there.
int32_t Pixel(double v) {
  if (!(v > -1e9)) return -1000000000;
  if (!(v < 1e9)) return 1000000000;
  return static_cast<int32_t>(std::floor(v));
}

}  // namespace

extern "C" {

// A press (down != 0) or release of mouse button `button` (0 left, 1 middle, 2 right, others
// extra, as the page numbers them) at (x, y) CSS pixels from the paint box's top-left.
EMSCRIPTEN_KEEPALIVE void pca_pointer(TPaintBox* box, int down, int button, unsigned shift, double x,
                                      double y) {
  const TMouseButton b = button == 0 ? mbLeft : button == 1 ? mbMiddle : button == 2 ? mbRight : mbExtra;
  const int32_t px = Pixel(x), py = Pixel(y);
  const TMouseEvent& handler = down ? box->OnMouseDown : box->OnMouseUp;
  Application->Dispatch([&] { if (handler) handler(box, b, shift, px, py); });
}

EMSCRIPTEN_KEEPALIVE void pca_click(TButton* button) { button->Click(); }

// A key for the chart while it has the focus: `key` in TKey's order (left, right, up, down,
// page up, page down, home, end, enter), `shift` the Shift key held (bit 1) and Ctrl (bit 4).
EMSCRIPTEN_KEEPALIVE void pca_key(TPaintBox* box, int key, int shift) {
  if (key < vkLeft || key > vkEnter) return;
  const TKey k = static_cast<TKey>(key);
  const TShiftState s = static_cast<TShiftState>(shift) & (ssShift | ssCtrl);
  Application->Dispatch([&] { if (box->OnKeyDown) box->OnKeyDown(box, k, s); });
}

// The browser has drawn the paint box's first picture: the chart is described from now on.
EMSCRIPTEN_KEEPALIVE void pca_picture_seen(TPaintBox* box) {
  box->widget().pictureSeen = true;
  DescribeToPage(*box);
}

// F1 or "?" on the page, wherever its focus is: the form's help.
EMSCRIPTEN_KEEPALIVE void pca_help(TForm* form) { form->DoHelp(); }

// Ctrl+Z, and Ctrl+Shift+Z or Ctrl+Y, on the page wherever its focus is: the form's undo and redo.
EMSCRIPTEN_KEEPALIVE void pca_undo(TForm* form) { form->DoUndo(); }
EMSCRIPTEN_KEEPALIVE void pca_redo(TForm* form) { form->DoRedo(); }

EMSCRIPTEN_KEEPALIVE void pca_viewport_changed(TForm* form) { ViewportChanged(*form); }

// Erases and paints the form's client paint box as a window paint does, for measuring.
EMSCRIPTEN_KEEPALIVE void pca_repaint(TForm* form) {
  if (TPaintBox* box = form->window().clientPaintBox) box->Refresh();
}

}  // extern "C"
