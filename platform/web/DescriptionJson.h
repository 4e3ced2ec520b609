// The chart's description as JSON, for the page's script to map to its elements (page-access.js).
#pragma once

#include <string>

#include "platform/ChartDescription.h"

// Every field, with a drawn label's size already in CSS pixels. Non-finite numbers become null.
std::string DescriptionJson(const TChartDescription& d);
