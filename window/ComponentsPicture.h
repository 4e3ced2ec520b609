// The parts of the components view drawn from the analysis: loadings bars and variance shares.
#pragma once

#include <string>

#include "analysis/Jacobi.h"
#include "platform/Canvas.h"
#include "window/ChartLayout.h"

// Two gray axes, and on each a black-outlined, olive cross-hatched bar per variable, 30 pixels
// per unit of loading: right of the axis for a positive entry, left for a negative one.
void DrawLoadings(TCanvas& canvas, const ChartLayout& layout, const LoadingLayout& loadings,
                  const Matrix10& V);

// The shares of components 1 and 2, beside their score strips, in 12-point Arial.
void DrawShares(TCanvas& canvas, const ChartLayout& layout, const LoadingLayout& loadings,
                const Vector10& P);

// Where the bars of the loadings go: the middle row of variable v's bar, and a bar's signed length.
int32_t LoadingBarCentre(const ChartLayout& layout, int v);
int32_t LoadingBarLength(double loading);  // 30 pixels per unit, right of the axis when positive

// The top-left corner of the share of component c.
TPoint ShareTextOrigin(const ChartLayout& layout, const LoadingLayout& loadings, int c);

// A share in whole percent, an exact half away from zero, at least two characters: " 5%", "59%".
std::string PercentText(double percent);
