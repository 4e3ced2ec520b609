// Editing with the keyboard: the press and release that a key edit of one cell stands for.
#pragma once

#include <cstdint>
#include <optional>

#include "analysis/ObservationTable.h"
#include "window/ChartLayout.h"

struct KeyPress {
  int32_t PressX = 0;
  int32_t PressY = 0;
  int32_t ReleaseY = 0;
};

// A press on the point of (observation, variable) and the release that draws it `pixels` rows
// below the row where it is drawn now (negative: above), as near as the clamps allow. A point
// drawn beyond its strip is pressed on the strip's nearest row, which picks the same cell and
// gives the same value. Nothing when such a press would not edit this cell, as in a window too
// small for the strip area.
std::optional<KeyPress> KeyEditPress(const ChartLayout& layout, const ObservationTable& table,
                                     int observation, int variable, int32_t pixels);
