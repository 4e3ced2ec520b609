// The table the window shows and analyses: 20 observations (rows) by 13 columns, both from 1.
// Columns 1..10 hold the variables, 11 and 12 the scores of components 1 and 2, 13 stays 0.0.
#pragma once

#include "analysis/Guarded.h"

constexpr int kObservations = 20;
constexpr int kVariables = 10;
constexpr int kTableColumns = 13;

using ObservationRow = guarded::Array<double, kTableColumns>;
using ObservationTable = guarded::Array<ObservationRow, kObservations>;  // table[row][column]
