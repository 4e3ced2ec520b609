// The window and its chart as assistive technology sees them, through Qt's accessibility: the
// window by its caption, the chart by what the window says it shows (TPaintBox::OnDescribe).
#pragma once

#include "platform/ChartDescription.h"

class PaintBoxWidget;
class TPaintBox;

// Makes the window and the chart known to Qt's accessibility; once the application exists.
void InstallAccessibility();

// Tells assistive technology what has changed in the chart since it last looked: names, texts,
// parts added or removed, the chosen cell. Does nothing while nobody has asked for the chart.
void ChartMayHaveChanged(PaintBoxWidget* chart);
