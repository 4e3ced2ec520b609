// The help text as the page's dialog "Pomoc" (page.js): handed over as JSON, shown modal, closed by
// Escape or its button, the focus going back where it was.
#include <vector>

#include "platform/web/JsonWriter.h"
#include "platform/web/PageBridge.h"
#include "platform/web/WebWidgets.h"

namespace {

void Strings(Json& j, const char* name, const std::vector<std::string>& items) {
  j.Key(name);
  j.text += '[';
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) j.text += ',';
    j.String(items[i]);
  }
  j.text += ']';
}

std::string HelpJson(const THelpText& help) {
  Json j;
  j.text += '{';
  j.Field("title", help.Title);
  j.Field("close", help.CloseCaption);
  j.Key("sections");
  j.text += '[';
  for (size_t i = 0; i < help.Sections.size(); ++i) {
    if (i > 0) j.text += ',';
    j.text += '{';
    j.Field("heading", help.Sections[i].Heading);
    Strings(j, "paragraphs", help.Sections[i].Paragraphs);
    Strings(j, "items", help.Sections[i].Items);
    j.text += '}';
  }
  j.text += "]}";
  return j.text;
}

}  // namespace

void TForm::ShowHelp(const THelpText& help) { page::ShowHelp(HelpJson(help).c_str()); }
