// A value typed by the user for a cell: a decimal number with a comma or a point, read to the
// nearest double, inside the range a strip shows within its frame.
#pragma once

#include <optional>
#include <string>

struct TypedValue {
  std::optional<double> Value;
  std::string Message;  // why it was refused, in Polish, naming the range; empty when taken
};

// "0,3", "0.3", "-,25", " +.5 " are taken; anything else (empty, letters, an exponent, "nan",
// out of the range, over 30 characters) is refused with a message.
TypedValue ReadTypedValue(const std::string& text);
