#include "platform/Colors.h"

TColor ResolveColor(TColor c) {
  if (!IsSystemColor(c)) return c & 0xFFFFFF;
  return c == clWindowText ? kLightWindowText : kLightButtonFace;
}
