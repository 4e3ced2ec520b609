// A top-level window with its controls and the window events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/DataTable.h"
#include "platform/HelpText.h"

class TForm : public TObject {
 public:
  TForm();
  ~TForm() override;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // Position and outer size as designed; the client area is what the window frame leaves.
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  void SetCaption(const std::string& caption);
  void SetColor(TColor color);
  void SetFont(const TControlFont& font);
  int32_t ClientWidth() const;
  int32_t ClientHeight() const;
  void SetClientSize(int32_t width, int32_t height);
  void Show();
  void Close();
  // Shows a help text in a window of its own over this one, modal; Escape or its button closes it
  // and the keyboard focus goes back where it was.
  void ShowHelp(const THelpText& help);
  // Opens the table window, or brings it to the front, at the given cell; its content comes from
  // OnDescribeTable, again after every event while it is open. Escape closes it.
  void ShowTable(const TTableCell& at);

  TNotifyEvent OnCreate;
  TNotifyEvent OnActivate;  // once, when first shown, before the first paint
  TNotifyEvent OnPaint;
  TNotifyEvent OnResize;
  TNotifyEvent OnClose;
  TNotifyEvent OnHelp;  // F1 or "?" anywhere in the window
  TNotifyEvent OnUndo;  // Ctrl+Z anywhere in the window
  TNotifyEvent OnRedo;  // Ctrl+Shift+Z or Ctrl+Y anywhere in the window
  TNotifyEvent OnTable;  // T anywhere in the window, or the help's button "Tabela danych"
  TTableEvent OnDescribeTable;
  TCellTypedEvent OnCellTyped;  // a value typed in the table window

  // Creates a control on this form; controls created later lie above earlier ones.
  template <typename T>
  T* CreateControl() {
    auto control = std::make_unique<T>(*this);
    T* raw = control.get();
    controls_.push_back(std::move(control));
    return raw;
  }

  // For the platform: the events as the window system delivers them.
  void DoCreate();
  void DoActivate();
  void DoPaint(bool insideWindowPaint);
  void DoResize();
  void DoClose();
  void DoHelp();
  void DoUndo();
  void DoRedo();
  void DoTable();
  void DoCellTyped(int row, int column, const std::string& text);

  struct Window;
  Window& window() const { return *window_; }

 private:
  std::unique_ptr<Window> window_;
  std::vector<std::unique_ptr<TControl>> controls_;
  bool activated_ = false;
};
