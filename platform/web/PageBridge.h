// The calls from C++ into the page's script (page.js), in one place.
#pragma once

#include <cstdint>

class TForm;

namespace page {

int CreateElement(const char* kind);  // "paintbox", "label" or "button"; returns its handle
void SetId(int handle, const char* id);
// The object that the element's events go to (a paint box or a button).
void Bind(int handle, const void* object);
void Place(int handle, int left, int top, int width, int height, bool visible);
void SetText(int handle, const char* text);    // a label's caption
void SetCaption(int handle, const char* text);  // a button's caption, "&" before its access key
void SetFont(int handle, const char* name, int pixels);
void SetCursor(int handle, bool cross);
void SetTitle(const char* title);
void SetBackground(uint32_t rgb);  // 0x00BBGGRR
void ShowPicture(int handle, const uint32_t* pixels, int deviceWidth, int deviceHeight);
void ReleasePointer();
// The chart's meaning for the elements that lie over the paint box (page-access.js): its
// description as JSON, sent only when it changed.
void Describe(int handle, const char* json);
void SetTabStop(int handle, bool tabStop);  // the chart takes the keyboard focus by Tab
bool HasFocus(int handle);                   // the chart, or one of its cells, has it
void ShowError(const char* caption, const char* message);
void ShowHelp(const char* json);               // the help dialog's text as JSON
// The table dialog: opened with its content as JSON at a cell (row and column from 0, -1 for
// none), editing it when asked; then its content again whenever it changed.
void ShowTable(const TForm* form, const char* json, int row, int column, bool edit);
void UpdateTable(const char* json);
void SetHint(int handle, const char* hint);    // a control's tooltip
double ViewportWidth();
double ViewportHeight();
double DevicePixelRatio();
void ListenToViewport(const TForm* form);  // its changes go to the form
// Text in CSS pixels: advance width, and the font's ascent and descent, rounded.
int TextWidth(const char* font, int pixels, const char* text);
int FontAscent(const char* font, int pixels);
int FontDescent(const char* font, int pixels);
// Draws `text` with its baseline's start at device position (x, y), blending its glyphs in
// `rgb` into the device pixels.
void DrawText(uint32_t* pixels, int deviceWidth, int deviceHeight, double x, double y,
              double ratio, const char* font, int pixels_, const char* text, uint32_t rgb);

}  // namespace page
