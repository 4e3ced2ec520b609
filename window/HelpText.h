// The help window's text: what principal component analysis is, how to read the picture, how to
// change a value and every key, then what the chart shows now.
#pragma once

#include <string>

#include "platform/HelpText.h"

// The help with `summary` (ChartSummary) as its last section.
THelpText HelpFor(const std::string& summary);
