#include "reports/ui/title_strip.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace qj::ui {

// The splitter right of a title label: drawn as a bevel, dragged with the mouse.
class TitleHandle : public QWidget {
 public:
  TitleHandle(TitleStrip* strip, int index) : QWidget(strip), strip_(strip), index_(index) {
    setCursor(Qt::SplitHCursor);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    pressX_ = e->globalPosition().toPoint().x();
    pressWidth_ = strip_->titleWidth(index_);
    dragging_ = true;
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (dragging_)
      strip_->setTitleWidth(index_, pressWidth_ + e->globalPosition().toPoint().x() - pressX_);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!dragging_ || e->button() != Qt::LeftButton) return;
    dragging_ = false;
    emit strip_->titleMoved(index_);
  }

 private:
  TitleStrip* strip_;
  int index_;
  bool dragging_ = false;
  int pressX_ = 0, pressWidth_ = 0;
};

TitleStrip::TitleStrip(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
}

int TitleStrip::addTitle(const TitleWidths& widths) {
  const int i = count();
  auto* label = new QLabel(this);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setContentsMargins(0, 0, 0, 0);
  label->setMargin(0);
  titles_.push_back({label, new TitleHandle(this, i), 0, widths.min, widths.max});
  setTitleWidth(i, widths.design);
  return i;
}

void TitleStrip::hideTitle(int i) {
  Title& t = titles_[i];
  t.hidden = true;
  t.min = t.max = 0;
  t.label->hide();
  t.handle->hide();
  setTitleWidth(i, 0);
}

void TitleStrip::fitHeight() {
  int height = fontMetrics().height();
  for (const Title& t : titles_)
    if (!t.hidden) height = std::max(height, t.label->heightForWidth(t.width));
  setFixedHeight(height);
}

void TitleStrip::setLeftOffset(int x) {
  left_ = x;
  relayout();
}

void TitleStrip::dragSplitter(int i, int dx) {
  setTitleWidth(i, titleWidth(i) + dx);
  emit titleMoved(i);
}

void TitleStrip::setTitleWidth(int i, int width) {
  Title& t = titles_[i];
  t.width = std::clamp(width, t.min, t.max);
  relayout();
}

void TitleStrip::relayout() {
  int x = left_;
  for (const Title& t : titles_) {
    if (t.hidden) continue;
    t.label->setGeometry(x, 0, t.width, height());
    x += t.width;
    t.handle->setGeometry(x, 0, kHandleWidth, height());
    x += kHandleWidth;
  }
}

void TitleStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  relayout();
}

}  // namespace qj::ui
