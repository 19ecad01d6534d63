#pragma once
// The title panel over a viewer's grid: one word-wrapping label per grid column, left to
// right, each followed by a 2-pixel bevelled splitter. Dragging a splitter resizes its label
// live within the label's width limits and moves the labels right of it along; on release the
// strip reports the move so that the window sets the column's width and fits its title anew.

#include <QLabel>
#include <QWidget>
#include <vector>

#include "reports/report_texts.h"

namespace qj::ui {

class TitleHandle;

class TitleStrip : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHandleWidth = 2;

  explicit TitleStrip(QWidget* parent = nullptr);

  // Appends a title label of the given width with its limits; returns its index.
  int addTitle(const TitleWidths& widths);
  int count() const { return static_cast<int>(titles_.size()); }
  QLabel* label(int i) const { return titles_[i].label; }
  int titleWidth(int i) const { return titles_[i].width; }
  // A column that does not apply: its title takes no room and draws no splitter, however a
  // splitter next to it is dragged.
  void hideTitle(int i);
  // Label i's width, within its limits.
  void setTitleWidth(int i, int width);
  // The strip as tall as its tallest title needs, at least one line: no empty band stands
  // between the titles and the grid.
  void fitHeight();
  // The x at which the first label starts (the grid's frame, so labels stand over columns).
  void setLeftOffset(int x);

  // What a drag of splitter i by dx pixels does, from press to release.
  void dragSplitter(int i, int dx);

 signals:
  // Splitter i was released: label i has its new width.
  void titleMoved(int i);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class TitleHandle;
  struct Title {
    QLabel* label;
    TitleHandle* handle;
    int width, min, max;
    bool hidden = false;
  };
  void relayout();

  std::vector<Title> titles_;
  int left_ = 0;
};

}  // namespace qj::ui
