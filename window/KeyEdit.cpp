#include "window/KeyEdit.h"

#include <algorithm>

#include "window/DrawSeries.h"
#include "window/PendingEdit.h"

using guarded::Add;
using guarded::Mul;

std::optional<KeyPress> KeyEditPress(const ChartLayout& layout, const ObservationTable& table,
                                     int observation, int variable, int32_t pixels) {
  if (layout.RowHeight < 1) return std::nullopt;
  const int32_t drawnY =
      ValueY(layout, VariableStrip(layout, variable).StripMid(), table[observation][variable]);
  // The rows that a press gives to this strip, as the hit test counts them.
  const int32_t bandTop = Add(Mul(variable - 1, layout.RowHeight), 10);
  const int32_t bandBottom = Add(Mul(variable, layout.RowHeight), 9);
  const KeyPress press{layout.ObservationX(observation), std::clamp(drawnY, bandTop, bandBottom),
                       Add(drawnY, pixels)};
  const auto edit = EditFromPress(layout, press.PressX, press.PressY, press.ReleaseY);
  if (!edit || edit->Observation != observation || edit->Variable != variable) return std::nullopt;
  return press;
}
