// The hit test of a mouse edit: which cell a press picks, and the value its release gives.
#pragma once

#include <optional>

#include "window/ChartLayout.h"

struct CellEdit {
  int Observation = 0;  // table row, 1..20
  int Variable = 0;     // table column, 1..10
  double Value = 0.0;
};

// The edit that a press at (pressX, pressY) and a release at height releaseY make, or nothing
// when the press lies outside the variable strips (their frame lines included).
std::optional<CellEdit> EditFromPress(const ChartLayout& layout, int32_t pressX, int32_t pressY,
                                      int32_t releaseY);
