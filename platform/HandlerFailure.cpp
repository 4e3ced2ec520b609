#include "platform/HandlerFailure.h"

#include <exception>

std::optional<std::string> FailureOf(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
  return std::nullopt;
}
