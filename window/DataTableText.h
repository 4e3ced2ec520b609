// The observation table in words for the window "Tabela danych": the 20 observations by the 10
// variables, and in the components view the two score columns, the two rows of loadings and the
// shares; values worded as the chart words them.
#pragma once

#include <string>

#include "analysis/ObservationTable.h"
#include "platform/DataTable.h"
#include "window/ChartMeaning.h"

TDataTable DataTableFor(const ObservationTable& table, bool componentsView, const DrawnComponents& drawn,
                        bool painted, const std::string& message);
