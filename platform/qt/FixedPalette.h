// The window's colours, for the platform's own widgets only.
#pragma once

#include <QPalette>

// The light palette the program fixes for its window. The picture's colours are designed for a
// light button face (black shares, black outlines), so the window keeps this look under any
// desktop theme; system colours resolve against it, and the label and the button follow it.
// It is Qt's own light palette, the one a desktop without a theme gives, with the face and
// text colours of platform/Colors.h.
const QPalette& FixedPalette();
