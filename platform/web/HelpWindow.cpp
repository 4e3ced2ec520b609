// The help text as the page's dialog "Pomoc" (page.js): handed over as JSON, shown modal, closed by
// Escape or its button, the focus going back where it was.
#include "platform/web/JsonWriter.h"
#include "platform/web/PageBridge.h"
#include "platform/web/WebWidgets.h"

namespace {

std::string HelpJson(const THelpText& help) {
  Json j;
  j.text += '{';
  j.Field("title", help.Title);
  j.Field("close", help.CloseCaption);
  j.Field("table", help.TableCaption);
  j.Key("sections");
  j.text += '[';
  for (size_t i = 0; i < help.Sections.size(); ++i) {
    if (i > 0) j.text += ',';
    j.text += '{';
    j.Field("heading", help.Sections[i].Heading);
    j.Field("paragraphs", help.Sections[i].Paragraphs);
    j.Field("items", help.Sections[i].Items);
    j.text += '}';
  }
  j.text += "]}";
  return j.text;
}

}  // namespace

void TForm::ShowHelp(const THelpText& help) { page::ShowHelp(HelpJson(help).c_str()); }
