// The page's elements behind the form and its controls. Only platform/web/ sources include this.
#pragma once

#include <optional>
#include <string>

#include "platform/Form.h"

// A control's element and the geometry the program gave it, in CSS pixels (the form's logical
// pixels).
struct TControl::Widget {
  int handle = 0;  // the page's number for the element
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  void Place() const;  // moves, sizes and shows or hides the element
  std::optional<TChartDescription> described;  // a paint box's, as last sent to the page
  bool pictureSeen = false;  // the browser has drawn a paint box's first picture
};

// Sends the paint box's description to the page when it differs from the last one sent: after
// every handler, so that the page's elements follow every change and nothing else. Nothing
// before the browser has drawn the first picture: the handlers that set the window up would
// each describe a chart that nobody has seen, and the elements would delay the picture.
void DescribeToPage(TPaintBox& box);

struct TForm::Window {
  int clientWidth = 0, clientHeight = 0;  // the viewport
  double ratio = 1.0;                     // device pixels per CSS pixel
  TPaintBox* clientPaintBox = nullptr;    // a paint box aligned to the client area
  bool shown = false;
  bool tableOpen = false;  // the page's table dialog
  std::string tableSent;   // its content as last sent
};

// Sends the form's table to the page's open table dialog when it changed: after every handler.
void TableMayHaveChanged(TForm& form);

// Erases the paint box's picture, runs the form's OnPaint and shows the result: the window
// paint of the browser, run at the first showing, after a change of size and by Refresh.
void RepaintBox(TPaintBox& box, TForm& form);

// The viewport changed size or device pixel ratio: follow it once the form is shown.
void ViewportChanged(TForm& form);
