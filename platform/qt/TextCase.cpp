#include "platform/TextCase.h"

#include <QString>

std::string ToLowerText(const std::string& text) {
  return QString::fromStdString(text).toLower().toStdString();
}
