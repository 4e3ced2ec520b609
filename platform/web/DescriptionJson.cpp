#include "platform/web/DescriptionJson.h"

#include "platform/Canvas.h"
#include "platform/web/JsonWriter.h"

namespace {

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
