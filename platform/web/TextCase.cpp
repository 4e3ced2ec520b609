#include "platform/TextCase.h"

#include <emscripten/emscripten.h>
#include <cstdlib>
#include <new>

// The browser's Unicode case mapping; the result is handed back in memory the caller frees.
EM_JS(char*, pca_to_lower, (const char* text), {
  return PcaPage.newString(PcaPage.string(text).toLowerCase());
});

std::string ToLowerText(const std::string& text) {
  char* lower = pca_to_lower(text.c_str());
  if (lower == nullptr) throw std::bad_alloc();
  std::string result(lower);
  std::free(lower);
  return result;
}
