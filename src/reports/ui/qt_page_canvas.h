#pragma once
// The page canvas of the printed reports on a Qt paint device: a PDF writer whose document
// goes to the printer or to a file. Reports are laid out at a fixed 600 pixels per inch on
// the paper they are printed on, whatever the device's own resolution, so that a report looks
// the same on every printer and in a PDF.

#include <QFont>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include "platform/print_system.h"
#include "reports/page_canvas.h"

namespace qj::ui {

inline constexpr int kReportDpi = 600;

// The paper, portrait, with margins that no printer needs to refuse.
QPageLayout reportPageLayout(const PaperSize& paper);

class QtPageCanvas : public PageCanvas {
 public:
  // `painter` must be active on `device`; the canvas scales it to 600 pixels per inch.
  QtPageCanvas(QPainter& painter, QPagedPaintDevice& device);

  int pageWidth() const override { return page_.width(); }
  int pageHeight() const override { return page_.height(); }
  int textWidth(std::string_view text) const override;
  int textHeight() const override;
  void text(int x, int y, std::string_view text) override;
  void line(int x1, int y1, int x2, int y2) override;
  void setBold(bool bold) override;
  void setTextScale(double scale) override;
  void newPage() override;

 private:
  QPainter& painter_;
  QPagedPaintDevice& device_;
  QSize page_;
  QFont font_;
};

}  // namespace qj::ui
