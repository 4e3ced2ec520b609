// What the chart shows now, in sentences for a learner: in the components view which variables
// make up each of the two components and which observations stand out on it; in the data view
// how to get the components of the edited table.
#pragma once

#include <string>

#include "analysis/ObservationTable.h"
#include "window/ChartMeaning.h"

// The facts one sentence about component c tells: its share, its two largest loadings by size
// (the first of equal ones first) and its highest and lowest score.
struct ComponentPattern {
  double Share = 0.0;
  int Variables[2] = {0, 0};
  double Loadings[2] = {0.0, 0.0};
  int Highest = 0;
  double HighestScore = 0.0;
  int Lowest = 0;
  double LowestScore = 0.0;
};

ComponentPattern PatternOf(const ObservationTable& table, const DrawnComponents& drawn, int c);

// "59% wariancji": a share as drawn, without the blank that pads it to two characters.
std::string ShareWords(double percent);

// "Składowa 1: 59% wariancji, składowa 2: 10% wariancji": the shares as a reader hears them.
std::string SharesSentence(const DrawnComponents& drawn);

// The whole summary; empty before the first paint.
std::string ChartSummary(const ObservationTable& table, bool componentsView,
                         const DrawnComponents& drawn, bool painted);
