#pragma once
// A page canvas that records what is drawn, page by page, in a font where every character is
// `charWidth` pixels wide (two more in bold) and a line is `lineHeight` pixels high, both times
// the text scale.

#include <algorithm>
#include <string>
#include <vector>

#include "reports/page_canvas.h"

namespace qj::test {

struct DrawnText {
  int page, x, y;
  std::string text;
  bool bold;
  double scale;  // the text's size, as a share of the canvas's own
};

struct DrawnLine {
  int page, x1, y1, x2, y2;
  bool vertical() const { return x1 == x2 && y1 != y2; }
  bool horizontal() const { return y1 == y2; }
};

class RecordingCanvas : public PageCanvas {
 public:
  RecordingCanvas(int width, int height, int charWidth = 10, int lineHeight = 20)
      : width_(width), height_(height), charWidth_(charWidth), lineHeight_(lineHeight) {}

  int pageWidth() const override { return width_; }
  int pageHeight() const override { return height_; }
  int textWidth(std::string_view text) const override {
    return static_cast<int>(text.size()) * (charWidth() + (bold_ ? 2 : 0));
  }
  int textHeight() const override { return static_cast<int>(lineHeight_ * scale); }
  void text(int x, int y, std::string_view text) override {
    texts.push_back({pages, x, y, std::string(text), bold_, scale});
  }
  void line(int x1, int y1, int x2, int y2) override { lines.push_back({pages, x1, y1, x2, y2}); }
  void setBold(bool bold) override { bold_ = bold; }
  void setTextScale(double s) override { scale = s; }
  int charWidth() const { return static_cast<int>(charWidth_ * scale); }
  void newPage() override { ++pages; }

  // The first text drawn with exactly this content.
  const DrawnText* find(const std::string& text) const {
    const auto it = std::find_if(texts.begin(), texts.end(),
                                 [&](const DrawnText& t) { return t.text == text; });
    return it == texts.end() ? nullptr : &*it;
  }

  int pages = 1;
  double scale = 1;
  std::vector<DrawnText> texts;
  std::vector<DrawnLine> lines;

 private:
  int width_, height_, charWidth_, lineHeight_;
  bool bold_ = false;
};

}  // namespace qj::test
