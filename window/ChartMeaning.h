// What the picture means, in words: the view, the strips with their values, the loadings, the
// shares and the cell chosen with the keyboard. The platform reads it to a screen reader.
#pragma once

#include <string>

#include "analysis/Jacobi.h"
#include "analysis/ObservationTable.h"
#include "platform/ChartDescription.h"
#include "window/ChartLayout.h"

// What the last paint drew of the components view; Drawn is false when it drew none of it or
// stopped on an error before the shares.
struct DrawnComponents {
  bool Drawn = false;
  Vector10 Shares{};
  Matrix10 Loadings{};
};

// The cell that the keyboard edits; 0 while none has been chosen.
struct ChosenCell {
  int Variable = 0;
  int Observation = 0;
};

// The chart as laid out for a paint box of the given width: in the data view the ten variable
// strips, in the components view also the score strips, the loadings and the shares. Its status
// stays empty until the window has been painted.
TChartDescription DescribeChart(const ChartLayout& layout, int32_t width,
                                const ObservationTable& table, bool componentsView,
                                const DrawnComponents& components, const ChosenCell& chosen,
                                bool painted);

// Where the help is, as the chart's description and the hint's tooltip tell it.
extern const char* const kHelpHint;
// Where the table is, as the chart's description tells it.
extern const char* const kTableHint;

// A point by its place and value: "Zmienna 3, obserwacja 5: 0,12".
std::string CellName(int variable, int observation, double value);

// A value with two decimals and a decimal comma, as Polish writes it: "0,12", "-1,05".
std::string PolishNumber(double value);
