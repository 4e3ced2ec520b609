// A canvas that writes down every operation with the pen and brush it was drawn in.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "platform/Canvas.h"

struct CanvasOp {
  std::string text;  // e.g. "Rectangle 10 9 390 47", "TextOut 422 389 59%"
  TColor pen;
  TColor brush;
  TBrushStyle style;
  int fontSize;
};

class RecordingCanvas : public TCanvas {
 public:
  std::vector<CanvasOp> ops;

  void MoveTo(int32_t X, int32_t Y) override {
    TCanvas::MoveTo(X, Y);
    Record("MoveTo", {X, Y});
  }
  void LineTo(int32_t X, int32_t Y) override {
    penPos_ = {X, Y};
    Record("LineTo", {X, Y});
  }
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override {
    Record("Rectangle", {X1, Y1, X2, Y2});
  }
  void TextOut(int32_t X, int32_t Y, const std::string& Text) override {
    Record("TextOut", {X, Y}, Text);
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const CanvasOp& op : ops) out.push_back(op.text);
    return out;
  }
  // Index of the first operation reading `text` at or after `from`, or -1.
  int Find(const std::string& text, size_t from = 0) const {
    for (size_t i = from; i < ops.size(); ++i)
      if (ops[i].text == text) return static_cast<int>(i);
    return -1;
  }

 private:
  void Record(const char* name, std::initializer_list<int32_t> args, const std::string& extra = "") {
    std::ostringstream s;
    s << name;
    for (int32_t a : args) s << ' ' << a;
    if (!extra.empty()) s << ' ' << extra;
    ops.push_back({s.str(), Pen.Color, Brush.Color, Brush.Style, Font.Size});
  }
};
