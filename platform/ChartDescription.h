// What a chart shows, told in words and boxes for assistive technology (a screen reader, a
// magnifier). The window fills it in; each platform maps it to its own accessibility tree. No
// toolkit types here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A box in paint-box pixels; Right and Bottom lie just outside it.
struct TBox {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const TBox&) const = default;
};

// One point that the user can move: a slider, raised and lowered one step at a time. Its place
// and value in words, and its marker.
struct TDescribedCell {
  std::string Name;  // "Zmienna 3, obserwacja 5: 0,12"
  std::string ValueText;  // "0,12": the value as the name words it
  double Value = 0.0;
  double Minimum = 0.0;  // the range a release inside the strip can give
  double Maximum = 0.0;
  double Step = 0.0;  // one pixel of the strip
  TBox Box;
  bool operator==(const TDescribedCell&) const = default;
};

enum class TPartRole { Series, Bars, Label };

// One part of the picture: a strip, a column of bars or a drawn label.
struct TDescribedPart {
  TPartRole Role = TPartRole::Series;
  std::string Name;
  std::string Text;  // the values, for a reader of text
  TBox Box;
  // A drawn label: the platform measures this text at this size (points, Arial) from the box's
  // top-left corner, as the canvas draws it.
  std::string DrawnText;
  int DrawnPoints = 0;
  std::vector<TDescribedCell> Cells;
  bool operator==(const TDescribedPart&) const = default;
};

struct TChartDescription {
  std::string Name;
  std::string Description;
  // What the window shows, in a sentence a reader speaks whenever it changes (a live status): the
  // view, and in the components view the shares. Empty before the first paint, and its first
  // text is not spoken: it tells of no change.
  std::string Status;
  std::vector<TDescribedPart> Parts;
  // The chosen cell, Parts[FocusPart].Cells[FocusCell]; -1 while none is chosen.
  int FocusPart = -1;
  int FocusCell = -1;
  // What the focus mark surrounds while the chart has the keyboard focus.
  TBox FocusBox;
  bool operator==(const TChartDescription&) const = default;
};
