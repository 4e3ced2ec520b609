#include "window/TypedValue.h"

#include <clocale>
#include <cstdlib>

namespace {

const char* const kRange = "Wpisz liczbę od -0,5 do 0,5, na przykład 0,3 albo -0,25.";

bool Digit(char c) { return c >= '0' && c <= '9'; }

// The number in the C library's own spelling: its decimal separator for the comma or point, so
// that strtod reads it whatever locale the toolkit has set. Empty when the text is no plain
// decimal number: a sign, digits, one separator, digits, with a digit somewhere.
std::string CanonicalNumber(const std::string& text) {
  size_t b = text.find_first_not_of(" \t"), e = text.find_last_not_of(" \t");
  if (b == std::string::npos) return {};
  const std::string t = text.substr(b, e - b + 1);
  const char* point = std::localeconv()->decimal_point;
  std::string out;
  size_t i = 0;
  if (t[0] == '-' || t[0] == '+') out += t[i++];
  bool digits = false, separator = false;
  for (; i < t.size(); ++i) {
    if (Digit(t[i])) {
      digits = true;
      out += t[i];
    } else if ((t[i] == ',' || t[i] == '.') && !separator) {
      separator = true;
      out += point;
    } else {
      return {};
    }
  }
  return digits ? out : std::string();
}

}  // namespace

TypedValue ReadTypedValue(const std::string& text) {
  if (text.find_first_not_of(" \t") == std::string::npos) return {std::nullopt, std::string("Nic nie wpisano. ") + kRange};
  if (text.size() > 30) return {std::nullopt, std::string("To za długi napis. ") + kRange};
  const std::string number = CanonicalNumber(text);
  if (number.empty()) return {std::nullopt, std::string("To nie jest liczba. ") + kRange};
  const double value = std::strtod(number.c_str(), nullptr);
  if (!(value >= kTypedMinimum && value <= kTypedMaximum))
    return {std::nullopt, std::string("Ta liczba leży poza paskiem. ") + kRange};
  return {value == 0.0 ? 0.0 : value, {}};  // "-0" is zero, drawn and worded as zero
}
