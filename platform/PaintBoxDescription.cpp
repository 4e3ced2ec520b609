#include "platform/Controls.h"

bool ReadDescription(TPaintBox& box, TChartDescription& description) {
  if (!box.OnDescribe) return false;
  try {
    description = box.OnDescribe(&box);
    return true;
  } catch (...) {
    return false;
  }
}
