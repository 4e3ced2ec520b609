#include "platform/web/DescriptionJson.h"

#include <cmath>
#include <cstdio>

#include "platform/Canvas.h"

namespace {

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
  // A member: its key, then its value.
  void Field(const char* name, const std::string& s) { Key(name); String(s); }
  void Field(const char* name, double v) { Key(name); Number(v); }
  void Field(const char* name, int v) { Key(name); Int(v); }
  void Field(const char* name, const TBox& b) { Key(name); Box(b); }
};

const char* RoleName(TPartRole role) {
  switch (role) {
    case TPartRole::Series: return "series";
    case TPartRole::Bars: return "bars";
    case TPartRole::Label: return "label";
  }
  return "series";
}

}  // namespace

std::string DescriptionJson(const TChartDescription& d) {
  Json j;
  j.text += '{';
  j.Field("name", d.Name);
  j.Field("description", d.Description);
  j.Field("status", d.Status);
  j.Field("focusPart", d.FocusPart);
  j.Field("focusCell", d.FocusCell);
  j.Field("focusBox", d.FocusBox);
  j.Key("parts");
  j.text += '[';
  for (size_t p = 0; p < d.Parts.size(); ++p) {
    const TDescribedPart& part = d.Parts[p];
    if (p > 0) j.text += ',';
    j.text += '{';
    j.Field("role", RoleName(part.Role));
    j.Field("name", part.Name);
    j.Field("text", part.Text);
    j.Field("box", part.Box);
    j.Field("drawnText", part.DrawnText);
    j.Field("drawnPixels", part.DrawnPoints > 0 ? PointsToPixels(part.DrawnPoints) : 0);
    j.Key("cells");
    j.text += '[';
    for (size_t c = 0; c < part.Cells.size(); ++c) {
      const TDescribedCell& cell = part.Cells[c];
      if (c > 0) j.text += ',';
      j.text += '{';
      j.Field("name", cell.Name);
      j.Field("valueText", cell.ValueText);
      j.Field("value", cell.Value);
      j.Field("min", cell.Minimum);
      j.Field("max", cell.Maximum);
      j.Field("step", cell.Step);
      j.Field("box", cell.Box);
      j.text += '}';
    }
    j.text += "]}";
  }
  j.text += "]}";
  return j.text;
}
