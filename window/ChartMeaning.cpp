#include "window/ChartMeaning.h"

#include <algorithm>
#include <cstdio>

#include "window/ChartSummary.h"
#include "window/ComponentsPicture.h"
#include "window/DrawSeries.h"

using guarded::Add;
using guarded::Mul;
using guarded::Sub;

namespace {

std::string ValuesText(const ObservationTable& table, int column) {
  std::string text;
  for (int i = 1; i <= kObservations; ++i) {
    if (i > 1) text += "; ";
    text += PolishNumber(table[i][column]);
  }
  return text;
}

TBox StripBox(const ChartLayout& layout, const StripRow& strip) {
  return {layout.ChartLeft, strip.StripTop, layout.ChartRight, strip.StripBottom};
}

// The points of variable k, each with its marker, the values a release inside the strip can give
// and the step of one pixel.
std::vector<TDescribedCell> VariableCells(const ChartLayout& layout, const ObservationTable& table,
                                          int k) {
  const int32_t mid = VariableStrip(layout, k).StripMid();
  const int32_t m = layout.MarkerHalfSize;
  const int32_t r = layout.RowHeight;
  std::vector<TDescribedCell> cells;
  for (int i = 1; i <= kObservations; ++i) {
    TDescribedCell cell;
    cell.Value = table[i][k];
    cell.ValueText = PolishNumber(cell.Value);
    cell.Name = CellName(k, i, cell.Value);
    if (r > 0) {  // releases at offsets 0..RowHeight below the first inner row
      cell.Maximum = static_cast<double>(r / 2) / r;
      cell.Minimum = static_cast<double>(r / 2 - r) / r;
      cell.Step = 1.0 / r;
    }
    // A generated value may lie beyond what a release can give; the range still holds it, or a
    // reader would be told of a value outside its own slider.
    cell.Maximum = std::max(cell.Maximum, cell.Value);
    cell.Minimum = std::min(cell.Minimum, cell.Value);
    const int32_t x = layout.ObservationX(i);
    const int32_t y = ValueY(layout, mid, cell.Value);
    cell.Box = {Sub(x, m), Sub(y, m), Add(x, m), Add(y, m)};
    cells.push_back(cell);
  }
  return cells;
}

// The axis of component c and its ten bars.
TDescribedPart LoadingsPart(const ChartLayout& layout, const LoadingLayout& loadings,
                            const Matrix10& V, int c) {
  TDescribedPart part;
  part.Role = TPartRole::Bars;
  part.Name = "Ładunki składowej " + std::to_string(c) + ":";
  const int32_t axis = loadings.LoadingAxisX(c);
  TBox box{axis, 9, Add(axis, 1), Add(Mul(10, layout.RowHeight), 9)};
  for (int v = 1; v <= kVariables; ++v) {
    part.Name += (v > 1 ? "; " : " ") + PolishNumber(V[v][c]);
    part.Text += (v > 1 ? "; " : "") + PolishNumber(V[v][c]);
    const int32_t end = Add(axis, LoadingBarLength(V[v][c]));
    const int32_t centre = LoadingBarCentre(layout, v);
    box.Left = std::min(box.Left, end);
    box.Right = std::max(box.Right, end);
    box.Top = std::min(box.Top, Sub(centre, loadings.BarHalfHeight));
    box.Bottom = std::max(box.Bottom, Add(centre, loadings.BarHalfHeight));
  }
  part.Box = box;
  return part;
}

}  // namespace

const char* const kHelpHint = "Klawisz F1 albo znak zapytania otwiera pomoc.";
const char* const kTableHint = "Klawisz T otwiera tabelę danych, Enter wpisanie wartości punktu.";

TChartDescription DescribeChart(const ChartLayout& layout, int32_t width,
                                const ObservationTable& table, bool componentsView,
                                const DrawnComponents& components, const ChosenCell& chosen,
                                bool painted) {
  TChartDescription d;
  d.Name = componentsView ? "Wykres składowych głównych" : "Wykres danych";

  for (int k = 1; k <= kVariables; ++k) {
    TDescribedPart strip;
    strip.Name = "Zmienna " + std::to_string(k);
    strip.Text = ValuesText(table, k);
    strip.Box = StripBox(layout, VariableStrip(layout, k));
    strip.Cells = VariableCells(layout, table, k);
    d.Parts.push_back(strip);
  }

  if (componentsView && components.Drawn) {
    for (int c = 1; c <= 2; ++c) {
      TDescribedPart scores;
      scores.Name = "Wyniki składowej " + std::to_string(c);
      scores.Text = ValuesText(table, 10 + c);
      scores.Box = StripBox(layout, ComponentStrip(layout, 10 + c));
      d.Parts.push_back(scores);
    }
    const LoadingLayout loadings = LoadingLayout::For(layout, width);
    for (int c = 1; c <= 2; ++c) d.Parts.push_back(LoadingsPart(layout, loadings, components.Loadings, c));
    for (int c = 1; c <= 2; ++c) {
      TDescribedPart share;
      share.Role = TPartRole::Label;
      share.Name = "Składowa " + std::to_string(c) + ": " + ShareWords(components.Shares[c]);
      share.DrawnText = PercentText(components.Shares[c]);
      share.DrawnPoints = 12;
      const TPoint at = ShareTextOrigin(layout, loadings, c);
      share.Box = {at.X, at.Y, at.X, at.Y};
      d.Parts.push_back(share);
    }
  }
  // What the chart shows, and where the help is. The status tells the view alone: "Wykres
  // danych", or "Wykres składowych głównych. Składowa 1: 59% wariancji, składowa 2: …".
  if (painted) {
    d.Description = ChartSummary(table, componentsView, components, painted) + " " + kTableHint + " " + kHelpHint;
    d.Status = componentsView && components.Drawn ? d.Name + ". " + SharesSentence(components) : d.Name;
  }

  if (chosen.Variable >= 1 && chosen.Variable <= kVariables && chosen.Observation >= 1 &&
      chosen.Observation <= kObservations) {
    d.FocusPart = chosen.Variable - 1;
    d.FocusCell = chosen.Observation - 1;
    d.FocusBox = d.Parts[d.FocusPart].Cells[d.FocusCell].Box;
  } else {  // the whole strip area
    d.FocusBox = {layout.ChartLeft, 9, layout.ChartRight, Add(Mul(10, layout.RowHeight), 10)};
  }
  return d;
}

std::string PolishNumber(double value) {
  char buffer[400];  // room for any double written with two decimals
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  std::string text = buffer;
  if (text == "-0.00") text = "0.00";
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

std::string CellName(int variable, int observation, double value) {
  return "Zmienna " + std::to_string(variable) + ", obserwacja " + std::to_string(observation) + ": " +
         PolishNumber(value);
}
