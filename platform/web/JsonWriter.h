// A small JSON writer for what the program hands the page's script.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/ChartDescription.h"

class Json {
 public:
  std::string text;

  void String(const std::string& s) {
    text += '"';
    for (const char c : s) {
      const auto u = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        text += '\\';
        text += c;
      } else if (u < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
        text += escaped;
      } else {
        text += c;  // UTF-8 passes as it is
      }
    }
    text += '"';
  }
  void Number(double v) {
    if (!std::isfinite(v)) {
      text += "null";
      return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    text += buffer;
  }
  void Int(long long v) { text += std::to_string(v); }
  void Key(const char* name) {
    if (!text.empty() && text.back() != '{' && text.back() != '[') text += ',';
    String(name);
    text += ':';
  }
  void Box(const TBox& b) {
    text += "[" + std::to_string(b.Left) + "," + std::to_string(b.Top) + "," +
            std::to_string(b.Right) + "," + std::to_string(b.Bottom) + "]";
  }
  void Strings(const std::vector<std::string>& items) {
    text += '[';
    for (size_t i = 0; i < items.size(); ++i) {
      if (i > 0) text += ',';
      String(items[i]);
    }
    text += ']';
  }
  // A member: its key, then its value.
  void Field(const char* name, const std::string& s) { Key(name); String(s); }
  void Field(const char* name, double v) { Key(name); Number(v); }
  void Field(const char* name, int v) { Key(name); Int(v); }
  void Field(const char* name, const TBox& b) { Key(name); Box(b); }
  void Field(const char* name, const std::vector<std::string>& items) { Key(name); Strings(items); }
};
