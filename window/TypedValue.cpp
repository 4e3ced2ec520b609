#include "window/TypedValue.h"


namespace {

const char* const kRange = "Wpisz liczbę od -0,5 do 0,5, na przykład 0,3 albo -0,25.";

bool Digit(char c) { return c >= '0' && c <= '9'; }

constexpr int kDigits = 15;  // significant digits read: every such integer is a double exactly

struct Decimal {
  double value = 0.0;
  bool beyondHalf = false;  // its magnitude is over 0.5, exactly, whatever its digits
};

// A plain decimal number (a sign, digits, one comma or point, digits, a digit somewhere) as
// integer / 10^scale, its significant digits rounded half up to kDigits; nothing when it is none.
// An integer below 10^15 and a power of ten up to 10^22 are doubles exactly, so their quotient is
// the double nearest the number read (past 22 decimals, within a unit of its last place); a number
// of more digits is read to fifteen of them, far beyond the two the chart words. Whether it lies
// beyond 0.5 is told from all its digits.
std::optional<Decimal> PlainDecimal(const std::string& t) {
  size_t i = 0;
  const bool negative = t[0] == '-';
  if (t[0] == '-' || t[0] == '+') ++i;
  bool digits = false, separator = false, roundUp = false;
  Decimal d;
  double integer = 0.0;
  int significant = 0, scale = 0, fraction = 0;
  bool whole = false, later = false;  // a digit other than 0 before the separator, after the first decimal
  char first = '0';                   // the first decimal
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (Digit(c)) {
      digits = true;
      if (!separator) whole = whole || c != '0';
      else if (++fraction == 1) first = c;
      else later = later || c != '0';
      if (significant == 0 && c == '0') {
        if (separator) ++scale;
        continue;
      }
      if (significant < kDigits) {
        integer = integer * 10 + (c - '0');
        if (separator) ++scale;
      } else {
        if (significant == kDigits) roundUp = c >= '5';
        if (!separator) --scale;
      }
      ++significant;
    } else if ((c == ',' || c == '.') && !separator) {
      separator = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  d.beyondHalf = whole || first > '5' || (first == '5' && later);
  if (roundUp) integer += 1;  // 10^15 at most: still exact
  if (scale < 0) return d;  // a whole part of more than fifteen digits: beyond 0.5
  double value = integer;
  for (; scale > 22; scale -= 22) value /= 1e22;
  double power = 1.0;
  for (int k = 0; k < scale; ++k) power *= 10;
  d.value = negative ? -(value / power) : value / power;
  return d;
}

}  // namespace

TypedValue ReadTypedValue(const std::string& text) {
  if (text.find_first_not_of(" \t") == std::string::npos) return {std::nullopt, std::string("Nic nie wpisano. ") + kRange};
  if (text.size() > 30) return {std::nullopt, std::string("To za długi napis. ") + kRange};
  const size_t b = text.find_first_not_of(" \t"), e = text.find_last_not_of(" \t");
  const std::optional<Decimal> number = PlainDecimal(text.substr(b, e - b + 1));
  if (!number) return {std::nullopt, std::string("To nie jest liczba. ") + kRange};
  if (number->beyondHalf) return {std::nullopt, std::string("Ta liczba leży poza paskiem. ") + kRange};
  return {number->value == 0.0 ? 0.0 : number->value, {}};  // "-0" is zero, drawn and worded as zero
}
