// What a handler failed with, caught so that no error crosses the platform's event loop.
#pragma once

#include <functional>
#include <optional>
#include <string>

// Runs the handler; its error's message, "Unknown error" for anything that is not a
// std::exception, or nothing when it returned normally.
std::optional<std::string> FailureOf(const std::function<void()>& handler);
