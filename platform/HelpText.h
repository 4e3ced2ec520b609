// A help text as the window words it, for the platform to show in a window of its own: a title,
// then sections, each a heading with paragraphs and a list of items (keys and what they do).
// No toolkit types here.
#pragma once

#include <string>
#include <vector>

struct THelpSection {
  std::string Heading;
  std::vector<std::string> Paragraphs;
  std::vector<std::string> Items;
  bool operator==(const THelpSection&) const = default;
};

struct THelpText {
  std::string Title;
  std::vector<THelpSection> Sections;
  std::string CloseCaption;  // the button that closes it; Escape does the same
  std::string TableCaption;  // the button that closes it and opens the form's table
  bool operator==(const THelpText&) const = default;
};
