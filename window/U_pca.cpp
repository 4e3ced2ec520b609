#include "window/U_pca.h"

#include <algorithm>

#include "analysis/Components.h"
#include "analysis/SyntheticData.h"
#include "window/ComponentsPicture.h"
#include "window/ChartSummary.h"
#include "window/DataTableText.h"
#include "window/DrawSeries.h"
#include "window/HelpText.h"
#include "window/KeyEdit.h"
#include "window/PendingEdit.h"
#include "window/TypedValue.h"

TF_PCA* F_PCA = nullptr;

namespace {

const TControlFont kControlFont{"Arial", -13};

}  // namespace

// The form description.
TF_PCA::TF_PCA() {
  F_PCA = this;
  SetBounds(276, 172, 555, 526);
  SetCaption("Analiza Składowych Głównych");
  SetColor(clBtnFace);
  SetFont({"System", -14});

  Ramka = CreateControl<TPaintBox>();
  Ramka->SetName("Ramka");
  Ramka->SetBounds(0, 0, 547, 492);
  Ramka->SetAlignClient();
  Ramka->SetCursor(crCross);
  Ramka->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int32_t x, int32_t y) {
    Punkt(s, b, sh, x, y);
  };
  Ramka->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int32_t x, int32_t y) {
    PunktU(s, b, sh, x, y);
  };
  Ramka->OnKeyDown = [this](TObject* s, TKey k, TShiftState sh) { Klawisz(s, k, sh); };
  Ramka->OnDescribe = [this](TObject* s) { return Opis(s); };

  Label1 = CreateControl<TLabel>();
  Label1->SetName("Label1");
  Label1->SetBounds(0, 0, 121, 16);
  Label1->SetCaption(" Klikaj na zmiennych");
  Label1->SetFont(kControlFont);
  Label1->SetHint(kHelpHint);

  Kl_A = CreateControl<TButton>();
  Kl_A->SetName("Kl_A");
  Kl_A->SetBounds(8, 448, 193, 33);
  Kl_A->SetCaption("&Oblicz składowe główne");
  Kl_A->SetFont(kControlFont);
  Kl_A->SetTabOrder(0);
  Kl_A->SetVisible(false);
  Kl_A->OnClick = [this](TObject* s) { PCA(s); };
  Ramka->SetTabStop(true);  // after the button, which keeps the first place

  OnActivate = [this](TObject* s) { Aktywacja(s); };
  OnClose = [this](TObject* s) { FC(s); };
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnPaint = [this](TObject* s) { Rysuj(s); };
  OnResize = [this](TObject* s) { Resize(s); };
  OnHelp = [this](TObject* s) { Pomoc(s); };
  OnUndo = [this](TObject* s) { Cofnij(s); };
  OnRedo = [this](TObject* s) { Ponow(s); };
  OnTable = [this](TObject* s) { Tabela(s); };
  OnDescribeTable = [this](TObject* s) { return OpisTabeli(s); };
  OnCellTyped = [this](TObject* s, int r, int c, const std::string& t) { Wpis(s, r, c, t); };
}

void TF_PCA::FormCreate(TObject*) { PressX = -1; }

// Fills the table once, when the window first shows, before its first paint.
void TF_PCA::Aktywacja(TObject*) { GenerateObservations(Table); }

void TF_PCA::FC(TObject*) {}

// Keeps the button's bottom edge 4 pixels above the bottom of the client area.
void TF_PCA::Resize(TObject*) {
  Kl_A->SetTop(guarded::Sub(guarded::Sub(ClientHeight(), Kl_A->Height()), 4));
}

void TF_PCA::Rysuj(TObject*) { Paint(Ramka->Canvas(), Ramka->Width(), Ramka->Height()); }

void TF_PCA::Paint(TCanvas& canvas, int32_t width, int32_t height) {
  try {
    PaintSteps(canvas, width, height);
  } catch (const guarded::ArithmeticError&) {
    if (FailureShown) return;  // the same failure as before: the picture stops where it did
    FailureShown = true;
    throw;
  }
}

// The whole picture, top to bottom, from the current table and size.
void TF_PCA::PaintSteps(TCanvas& canvas, int32_t width, int32_t height) {
  const ChartLayout layout = ChartLayout::For(width, height);
  Painted = true;

  canvas.Pen.Color = clBlack;
  canvas.Pen.Width = 1;
  canvas.Brush.Color = clWhite;
  canvas.Font.Size = 8;
  canvas.Font.Color = clBlack;
  canvas.Font.Name = "Arial";
  canvas.Font.Style = 0;
  canvas.Brush.Style = bsSolid;

  ApplyPendingEdit(layout);
  Drawn.Drawn = false;

  for (int k = 1; k <= kVariables; ++k)
    DrawSeries(canvas, layout, VariableStrip(layout, k), Table, k, clRed);

  if (Kl_A->Visible()) return;  // the data view

  Vector10 P;
  Matrix10 V;
  ComputeComponents(Table, P, V);

  for (int k = 11; k <= 12; ++k) DrawSeries(canvas, layout, ComponentStrip(layout, k), Table, k, clBlack);
  const LoadingLayout loadings = LoadingLayout::For(layout, width);
  DrawLoadings(canvas, layout, loadings, V);
  DrawShares(canvas, layout, loadings, P);
  Drawn = {true, P, V};
}

void TF_PCA::ApplyPendingEdit(const ChartLayout& layout) {
  if (PressX < 0 || !PressReleased) return;  // no press, or its release is still to come
  if (const auto edit = EditFromPress(layout, PressX, PressY, ReleaseY)) {
    double& cell = Table[edit->Observation][edit->Variable];
    History.Record({edit->Observation, edit->Variable, cell, edit->Value, PressFromComponents});
    cell = edit->Value;
  }
  PressX = -1;
  PressReleased = false;
}

void TF_PCA::Punkt(TObject*, TMouseButton, TShiftState, int32_t X, int32_t Y) {
  PressX = X;
  PressY = Y;
  PressReleased = false;
  FailureShown = false;
  LastChange.clear();
}

// Ends a press: records the release, leaves the components view and paints at once.
void TF_PCA::PunktU(TObject*, TMouseButton, TShiftState, int32_t X, int32_t Y) {
  if (PressX < 0) return;
  ReleaseX = X;
  ReleaseY = Y;
  PressReleased = true;
  PressFromComponents = !Kl_A->Visible();
  if (PressFromComponents) {  // wipe the scores, loadings and shares
    TCanvas& canvas = Ramka->Canvas();
    canvas.Pen.Color = clBtnFace;
    canvas.Brush.Color = clBtnFace;
    canvas.Pen.Width = 1;
    canvas.Brush.Style = bsSolid;
    canvas.Rectangle(0, 0, Ramka->Width(), Ramka->Height());
  }
  Kl_A->SetVisible(true);
  Rysuj(Ramka);
}

// Brings the components view of the current table.
void TF_PCA::PCA(TObject*) {
  Kl_A->SetVisible(false);
  FailureShown = false;
  LastChange.clear();
  Ramka->Refresh();
}

// Keys on Ramka: the arrows choose the cell (the first key chooses variable 1, observation 1),
// Home / End the first / last observation of its variable, Ctrl+Home / Ctrl+End the first / last
// variable at its observation; Page Up / Page Down and Shift+Up / Shift+Down move its value one
// pixel up or down, Shift+Page Up / Shift+Page Down ten; Enter opens the table to type its value.
void TF_PCA::Klawisz(TObject*, TKey Key, TShiftState Shift) {
  if (Chosen.Variable == 0) {
    Chosen = {1, 1};
    return;
  }
  const bool shifted = (Shift & ssShift) != 0;
  const bool control = (Shift & ssCtrl) != 0;
  switch (Key) {
    case vkLeft: Chosen.Observation = std::max(Chosen.Observation - 1, 1); break;
    case vkRight: Chosen.Observation = std::min(Chosen.Observation + 1, kObservations); break;
    case vkUp:
      if (shifted) KeyEdit(-1);
      else Chosen.Variable = std::max(Chosen.Variable - 1, 1);
      break;
    case vkDown:
      if (shifted) KeyEdit(1);
      else Chosen.Variable = std::min(Chosen.Variable + 1, kVariables);
      break;
    case vkPageUp: KeyEdit(shifted ? -10 : -1); break;
    case vkPageDown: KeyEdit(shifted ? 10 : 1); break;
    case vkHome:
      if (control) Chosen.Variable = 1;
      else Chosen.Observation = 1;
      break;
    case vkEnd:
      if (control) Chosen.Variable = kVariables;
      else Chosen.Observation = kObservations;
      break;
    case vkEnter: ShowTable({Chosen.Observation - 1, Chosen.Variable - 1, true}); break;
  }
}

// A key edit is a press on the chosen point and its release `pixels` rows from where the point is
// drawn, handled as the mouse's are: the value, the clamps and the view change are theirs.
void TF_PCA::KeyEdit(int32_t pixels) {
  if (PressPending()) return;
  const ChartLayout layout = ChartLayout::For(Ramka->Width(), Ramka->Height());
  const auto press = KeyEditPress(layout, Table, Chosen.Observation, Chosen.Variable, pixels);
  if (!press) return;
  Punkt(Ramka, mbLeft, 0, press->PressX, press->PressY);
  PunktU(Ramka, mbLeft, 0, press->PressX, press->ReleaseY);
}

// A mouse press waiting for its release: undo, redo and key edits wait for it too.
bool TF_PCA::PressPending() const { return PressX >= 0 && !PressReleased; }

TChartDescription TF_PCA::Opis(TObject*) {
  TChartDescription d = DescribeChart(ChartLayout::For(Ramka->Width(), Ramka->Height()),
                                      Ramka->Width(), Table, !Kl_A->Visible(), Drawn, Chosen, Painted);
  if (!LastChange.empty() && !d.Status.empty()) d.Status = LastChange + ". " + d.Status;
  return d;
}

// Ctrl+Z: takes the latest edit back, with the view it was made in; the picture is then the one
// before it.
void TF_PCA::Cofnij(TObject*) {
  if (PressPending()) return;
  if (const auto edit = History.Undo()) ShowEdit(*edit, edit->Before, edit->FromComponents, "Cofnięto");
}

// Ctrl+Shift+Z or Ctrl+Y: makes the latest undone edit again, in the data view, as it was made.
void TF_PCA::Ponow(TObject*) {
  if (PressPending()) return;
  if (const auto edit = History.Redo()) ShowEdit(*edit, edit->After, false, "Ponowiono");
}

// Puts `value` in the edit's cell, which the keyboard then has chosen, shows the view and paints
// the whole picture anew.
void TF_PCA::ShowEdit(const UndoableEdit& edit, double value, bool componentsView, const char* done) {
  Table[edit.Observation][edit.Variable] = value;
  Chosen = {edit.Variable, edit.Observation};
  LastChange = std::string(done) + ": " + CellName(edit.Variable, edit.Observation, value);
  Kl_A->SetVisible(!componentsView);
  FailureShown = false;
  Ramka->Refresh();
}

// Opens the help, with what the chart shows now.
void TF_PCA::Pomoc(TObject*) {
  ShowHelp(HelpFor(ChartSummary(Table, !Kl_A->Visible(), Drawn, Painted)));
}

// T, or the help's button: the table, at the chosen cell.
void TF_PCA::Tabela(TObject*) { ShowTable({Chosen.Observation - 1, Chosen.Variable - 1, false}); }

TDataTable TF_PCA::OpisTabeli(TObject*) {
  return DataTableFor(Table, !Kl_A->Visible(), Drawn, Painted, TableMessage);
}

// A value typed in the table: an edit like the mouse's, shown in the data view; a refused one
// changes nothing but the table's message.
void TF_PCA::Wpis(TObject*, int Row, int Column, const std::string& Text) {
  if (Row < 0 || Row >= kObservations || Column < 0 || Column >= kVariables || PressPending()) return;
  const TypedValue typed = ReadTypedValue(Text);
  TableMessage = typed.Message;
  if (!typed.Value) return;
  const int observation = Row + 1, variable = Column + 1;
  double& cell = Table[observation][variable];
  History.Record({observation, variable, cell, *typed.Value, !Kl_A->Visible()});
  cell = *typed.Value;
  Chosen = {variable, observation};
  LastChange = "Wpisano: " + CellName(variable, observation, cell);
  Kl_A->SetVisible(true);
  FailureShown = false;
  Ramka->Refresh();
}
