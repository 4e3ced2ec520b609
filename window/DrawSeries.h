// One strip chart: a gray frame filled white, the 20 values of one table column as a polyline
// in `colour`, and a yellow square marker on every point.
#pragma once

#include "analysis/ObservationTable.h"
#include "platform/Canvas.h"
#include "window/ChartLayout.h"

// Expects a solid brush. Leaves the pen in `colour`, the brush yellow and the pen position on the
// last point.
void DrawSeries(TCanvas& canvas, const ChartLayout& layout, const StripRow& strip,
                const ObservationTable& table, int column, TColor colour);

// y at which `value` is drawn in a strip whose zero line is `mid`: RowHeight pixels per unit,
// rounded half to even from the extended product.
int32_t ValueY(const ChartLayout& layout, int32_t mid, double value);
