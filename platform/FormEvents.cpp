// The form's events, as every platform delivers them: each handler through the application's
// dispatcher, the activation once and before the first paint.
#include "platform/Application.h"
#include "platform/Form.h"

void TForm::DoCreate() {
  Application->Dispatch([this] { if (OnCreate) OnCreate(this); });
}

// Runs once, at the first showing, whichever comes first: the show event or a paint.
void TForm::DoActivate() {
  if (activated_) return;
  activated_ = true;
  Application->Dispatch([this] { if (OnActivate) OnActivate(this); });
}

void TForm::DoPaint(bool insideWindowPaint) {
  DoActivate();
  Application->Dispatch([this] { if (OnPaint) OnPaint(this); },
                        insideWindowPaint ? TApplication::ReportTiming::AfterWindowPaint
                                          : TApplication::ReportTiming::Now);
}

void TForm::DoResize() {
  Application->Dispatch([this] { if (OnResize) OnResize(this); });
}

void TForm::DoClose() {
  Application->Dispatch([this] { if (OnClose) OnClose(this); });
}

void TForm::DoHelp() {
  Application->Dispatch([this] { if (OnHelp) OnHelp(this); });
}

void TForm::DoUndo() {
  Application->Dispatch([this] { if (OnUndo) OnUndo(this); });
}

void TForm::DoRedo() {
  Application->Dispatch([this] { if (OnRedo) OnRedo(this); });
}

void TForm::DoTable() {
  Application->Dispatch([this] { if (OnTable) OnTable(this); });
}

void TForm::DoCellTyped(int row, int column, const std::string& text) {
  Application->Dispatch([&] { if (OnCellTyped) OnCellTyped(this, row, column, text); });
}
