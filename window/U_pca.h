// The program's one window: the strip charts of the observation table, the components view with
// its scores, loadings and shares of variance, and editing values with the mouse.
#pragma once

#include <cstdint>

#include "analysis/ObservationTable.h"
#include "platform/Form.h"
#include "window/ChartLayout.h"
#include "window/ChartMeaning.h"
#include "window/EditHistory.h"

class TF_PCA : public TForm {
 public:
  TF_PCA();

  TPaintBox* Ramka{};  // the drawing area, filling the client area
  TButton* Kl_A{};     // shown in the data view; brings the components view
  TLabel* Label1{};    // the fixed hint

  // The last press and release on Ramka. PressX < 0: no press pending.
  int32_t PressX{};
  int32_t ReleaseX{};
  int32_t PressY{};
  int32_t ReleaseY{};
  ObservationTable Table{};

  // A pending press becomes an edit only once its own release has been recorded, so that a paint
  // between the two, or a resize after a press outside the strips, writes nothing nobody chose.
  bool PressReleased{};

  // Set when a paint has failed and its error was shown. A failed components-view paint fails
  // again at every repaint (resize, uncovering, closing the box itself), so repeats stay silent
  // until the user acts again with a press or the button: one box per failure the user caused.
  bool FailureShown{};

  // The cell that the keyboard moves between and edits.
  ChosenCell Chosen{};
  // What the last paint drew of the components view, for the chart's description.
  DrawnComponents Drawn{};
  // Set by the first paint: until then the window shows nothing a reader should be told of.
  bool Painted{};

  // The edits since the start, for undo and redo. PressFromComponents: the pending press was
  // released in the components view, which undoing its edit brings back.
  EditHistory History{};
  bool PressFromComponents{};
  // What the last undo or redo did ("Cofnięto: Zmienna 3, obserwacja 5: 0,12"), told before the
  // view until the user presses or brings the components view.
  std::string LastChange{};
  // Why the last value typed in the table was refused; empty once one is taken.
  std::string TableMessage{};

  // Handlers, as wired by the form description.
  void Resize(TObject* Sender);
  void Rysuj(TObject* Sender);
  void Punkt(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void PunktU(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void Aktywacja(TObject* Sender);
  void FC(TObject* Sender);
  void PCA(TObject* Sender);
  void FormCreate(TObject* Sender);
  void Klawisz(TObject* Sender, TKey Key, TShiftState Shift);
  TChartDescription Opis(TObject* Sender);
  void Pomoc(TObject* Sender);
  void Cofnij(TObject* Sender);
  void Ponow(TObject* Sender);
  void Tabela(TObject* Sender);
  TDataTable OpisTabeli(TObject* Sender);
  void Wpis(TObject* Sender, int Row, int Column, const std::string& Text);

  // The paint routine on any canvas of the given size (Rysuj passes Ramka's).
  void Paint(TCanvas& canvas, int32_t width, int32_t height);

 private:
  void PaintSteps(TCanvas& canvas, int32_t width, int32_t height);
  void ApplyPendingEdit(const ChartLayout& layout);
  void KeyEdit(int32_t pixels);
  bool PressPending() const;
  void ShowEdit(const UndoableEdit& edit, double value, bool componentsView, const char* done);
};

extern TF_PCA* F_PCA;
