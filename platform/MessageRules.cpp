// The error handler's title and message rules, declared in platform/Application.h.
#include "platform/Application.h"
#include "platform/TextCase.h"

namespace {

// The length of the UTF-8 sequence that `lead` starts (a stray byte counts as one).
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string TitleFromProgramPath(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  if (name.empty()) return name;
  const size_t first = std::min(SequenceLength(static_cast<unsigned char>(name[0])), name.size());
  return name.substr(0, first) + ToLowerText(name.substr(first));
}

std::string WithFullStop(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}
