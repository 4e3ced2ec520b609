#include "platform/web/PageBridge.h"

#include <emscripten/emscripten.h>

// Each call hands its arguments to PcaPage (page.js); PcaPage.string reads a string from UTF-8.
EM_JS(int, pca_create_element, (const char* kind), { return PcaPage.createElement(PcaPage.string(kind)); });
EM_JS(void, pca_set_id, (int h, const char* id), { PcaPage.setId(h, PcaPage.string(id)); });
EM_JS(void, pca_bind, (int h, const void* object), { PcaPage.bind(h, object); });
EM_JS(void, pca_place, (int h, int l, int t, int w, int ht, int v), { PcaPage.place(h, l, t, w, ht, !!v); });
EM_JS(void, pca_set_text, (int h, const char* s), { PcaPage.setText(h, PcaPage.string(s)); });
EM_JS(void, pca_set_caption, (int h, const char* s), { PcaPage.setCaption(h, PcaPage.string(s)); });
EM_JS(void, pca_set_font, (int h, const char* n, int px), { PcaPage.setFont(h, PcaPage.string(n), px); });
EM_JS(void, pca_set_cursor, (int h, int cross), { PcaPage.setCursor(h, !!cross); });
EM_JS(void, pca_set_title, (const char* s), { PcaPage.setTitle(PcaPage.string(s)); });
EM_JS(void, pca_set_background, (unsigned rgb), { PcaPage.setBackground(rgb); });
EM_JS(void, pca_show_picture, (int h, const uint32_t* p, int w, int ht), { PcaPage.showPicture(h, p, w, ht); });
EM_JS(void, pca_release_pointer, (), { PcaPage.releasePointer(); });
EM_JS(void, pca_describe, (int h, const char* json), { PcaAccess.describe(h, PcaPage.string(json)); });
EM_JS(void, pca_set_tab_stop, (int h, int on), { PcaAccess.setTabStop(h, !!on); });
EM_JS(int, pca_has_focus, (int h), { return PcaAccess.hasFocus(h) ? 1 : 0; });
EM_JS(void, pca_show_error, (const char* c, const char* m), {
  PcaPage.showError(PcaPage.string(c), PcaPage.string(m));
});
EM_JS(void, pca_show_help, (const char* json), { PcaPage.showHelp(PcaPage.string(json)); });
EM_JS(void, pca_show_table, (const void* form, const char* json, int row, int column, int edit), {
  PcaPage.showTable(form, PcaPage.string(json), row, column, !!edit);
});
EM_JS(void, pca_update_table, (const char* json), { PcaPage.updateTable(PcaPage.string(json)); });
EM_JS(void, pca_set_hint, (int h, const char* s), { PcaPage.setHint(h, PcaPage.string(s)); });
EM_JS(double, pca_viewport_width, (), { return PcaPage.viewportWidth(); });
EM_JS(double, pca_viewport_height, (), { return PcaPage.viewportHeight(); });
EM_JS(double, pca_device_pixel_ratio, (), { return window.devicePixelRatio || 1; });
EM_JS(void, pca_listen_to_viewport, (const void* form), { PcaPage.listenToViewport(form); });
EM_JS(int, pca_text_width, (const char* f, int px, const char* s), {
  return PcaPage.textWidth(PcaPage.string(f), px, PcaPage.string(s));
});
EM_JS(int, pca_font_ascent, (const char* f, int px), {
  return PcaPage.fontMetrics(PcaPage.string(f), px).ascent;
});
EM_JS(int, pca_font_descent, (const char* f, int px), {
  return PcaPage.fontMetrics(PcaPage.string(f), px).descent;
});
EM_JS(void, pca_draw_text, (uint32_t* p, int w, int h, double x, double y, double r, const char* f, int px,
                            const char* s, unsigned rgb), {
  PcaPage.drawText(p, w, h, x, y, r, PcaPage.string(f), px, PcaPage.string(s), rgb);
});

namespace page {

int CreateElement(const char* kind) { return pca_create_element(kind); }
void SetId(int handle, const char* id) { pca_set_id(handle, id); }
void Bind(int handle, const void* object) { pca_bind(handle, object); }
void Place(int handle, int left, int top, int width, int height, bool visible) {
  pca_place(handle, left, top, width, height, visible);
}
void SetText(int handle, const char* text) { pca_set_text(handle, text); }
void SetCaption(int handle, const char* text) { pca_set_caption(handle, text); }
void SetFont(int handle, const char* name, int pixels) { pca_set_font(handle, name, pixels); }
void SetCursor(int handle, bool cross) { pca_set_cursor(handle, cross); }
void SetTitle(const char* title) { pca_set_title(title); }
void SetBackground(uint32_t rgb) { pca_set_background(rgb); }
void ShowPicture(int handle, const uint32_t* pixels, int deviceWidth, int deviceHeight) {
  pca_show_picture(handle, pixels, deviceWidth, deviceHeight);
}
void ReleasePointer() { pca_release_pointer(); }
void Describe(int handle, const char* json) { pca_describe(handle, json); }
void SetTabStop(int handle, bool tabStop) { pca_set_tab_stop(handle, tabStop); }
bool HasFocus(int handle) { return pca_has_focus(handle) != 0; }
void ShowError(const char* caption, const char* message) { pca_show_error(caption, message); }
void ShowHelp(const char* json) { pca_show_help(json); }
void ShowTable(const TForm* form, const char* json, int row, int column, bool edit) {
  pca_show_table(form, json, row, column, edit ? 1 : 0);
}
void UpdateTable(const char* json) { pca_update_table(json); }
void SetHint(int handle, const char* hint) { pca_set_hint(handle, hint); }
double ViewportWidth() { return pca_viewport_width(); }
double ViewportHeight() { return pca_viewport_height(); }
double DevicePixelRatio() { return pca_device_pixel_ratio(); }
void ListenToViewport(const TForm* form) { pca_listen_to_viewport(form); }
int TextWidth(const char* font, int pixels, const char* text) { return pca_text_width(font, pixels, text); }
int FontAscent(const char* font, int pixels) { return pca_font_ascent(font, pixels); }
int FontDescent(const char* font, int pixels) { return pca_font_descent(font, pixels); }
void DrawText(uint32_t* pixels, int deviceWidth, int deviceHeight, double x, double y,
              double ratio, const char* font, int pixels_, const char* text, uint32_t rgb) {
  pca_draw_text(pixels, deviceWidth, deviceHeight, x, y, ratio, font, pixels_, text, rgb);
}

}  // namespace page
