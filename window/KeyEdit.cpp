#include "window/KeyEdit.h"

#include <algorithm>
#include <cstdlib>

#include "window/DrawSeries.h"
#include "window/PendingEdit.h"

using guarded::Add;
using guarded::Mul;
using guarded::Sub;

std::optional<KeyPress> KeyEditPress(const ChartLayout& layout, const ObservationTable& table,
                                     int observation, int variable, int32_t pixels) {
  if (layout.RowHeight < 1) return std::nullopt;
  const int32_t mid = VariableStrip(layout, variable).StripMid();
  const int32_t drawnY = ValueY(layout, mid, table[observation][variable]);
  // The rows that a press gives to this strip, as the hit test counts them.
  const int32_t bandTop = Add(Mul(variable - 1, layout.RowHeight), 10);
  const int32_t bandBottom = Add(Mul(variable, layout.RowHeight), 9);
  KeyPress press{layout.ObservationX(observation), std::clamp(drawnY, bandTop, bandBottom),
                 Add(drawnY, pixels)};
  const auto edit = EditFromPress(layout, press.PressX, press.PressY, press.ReleaseY);
  if (!edit || edit->Observation != observation || edit->Variable != variable) return std::nullopt;

  // A release draws the point on its own row when RowHeight is odd, but one row above it when it
  // is even; a release one row below the point would then leave it where it is. So the release
  // is moved by what the first one would draw, when that brings the point nearer the row aimed at
  // (at a clamp it does not, and the first release stands).
  const int32_t target = Add(drawnY, pixels);
  const int32_t missed = Sub(target, ValueY(layout, mid, edit->Value));
  if (missed != 0) {
    const int32_t corrected = Add(press.ReleaseY, missed);
    const auto second = EditFromPress(layout, press.PressX, press.PressY, corrected);
    if (second && std::abs(Sub(target, ValueY(layout, mid, second->Value))) < std::abs(missed))
      press.ReleaseY = corrected;
  }
  return press;
}
