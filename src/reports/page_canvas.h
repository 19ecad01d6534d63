#pragma once
// The page that a printed report is drawn on: a printer, a PDF file, or a recording in
// tests. Measures are device pixels of the printable page; texts are code page 1251.

#include <string_view>

namespace qj {

class PageCanvas {
 public:
  virtual ~PageCanvas() = default;

  // The printable page.
  virtual int pageWidth() const = 0;
  virtual int pageHeight() const = 0;

  // Measures in the current style: the width of a text, and the height of one line.
  virtual int textWidth(std::string_view text) const = 0;
  virtual int textHeight() const = 0;

  // A text whose top-left corner is (x, y).
  virtual void text(int x, int y, std::string_view text) = 0;
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  virtual void setBold(bool bold) = 0;
  // Sets the size of the text as a share of the canvas's own size (1: its own size); the
  // measures above follow it.
  virtual void setTextScale(double scale) = 0;
  // Ends the page and begins the next one.
  virtual void newPage() = 0;
};

}  // namespace qj
