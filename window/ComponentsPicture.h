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

// A share in whole percent, an exact half away from zero, at least two characters: " 5%", "59%".
std::string PercentText(double percent);
