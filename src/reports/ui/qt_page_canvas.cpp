#include "reports/ui/qt_page_canvas.h"

#include <QFontMetricsF>
#include <cmath>

#include "platform/ui/qt_text.h"

namespace qj::ui {
namespace {

// The report's one typeface: DejaVu Sans at 9 points.
constexpr double kFontPoints = 9;
// Rules of a quarter of a point: finer than the strokes of the text, yet whole on any printer.
constexpr double kPenWidth = 2;

}  // namespace

QPageLayout reportPageLayout(const PaperSize& paper) {
  // A size within a millimetre of a known one takes its name (A4, Letter).
  const QPageSize size(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter);
  return QPageLayout(size, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

QtPageCanvas::QtPageCanvas(QPainter& painter, QPagedPaintDevice& device)
    : painter_(painter),
      device_(device),
      page_(device.pageLayout().paintRectPixels(kReportDpi).size()),
      font_(QStringLiteral("DejaVu Sans")) {
  setTextScale(1);
  font_.setHintingPreference(QFont::PreferNoHinting);
  // Letters stay letters: a ligature glyph ("fi", "ffi") would make a PDF's text unsearchable
  // for the words that hold it.
  font_.setStyleStrategy(QFont::PreferNoShaping);
  painter_.scale(static_cast<double>(device.logicalDpiX()) / kReportDpi,
                 static_cast<double>(device.logicalDpiY()) / kReportDpi);
  painter_.setFont(font_);
  painter_.setPen(QPen(Qt::black, kPenWidth));
}

int QtPageCanvas::textWidth(std::string_view text) const {
  return static_cast<int>(std::ceil(QFontMetricsF(font_, &device_).horizontalAdvance(toQt(text))));
}

int QtPageCanvas::textHeight() const {
  return static_cast<int>(std::ceil(QFontMetricsF(font_, &device_).height()));
}

void QtPageCanvas::text(int x, int y, std::string_view text) {
  // Qt places a text by its baseline, the report by its top-left corner.
  painter_.drawText(QPointF(x, y + QFontMetricsF(font_, &device_).ascent()), toQt(text));
}

void QtPageCanvas::line(int x1, int y1, int x2, int y2) {
  painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtPageCanvas::setBold(bool bold) {
  font_.setBold(bold);
  painter_.setFont(font_);
}

void QtPageCanvas::setTextScale(double scale) {
  font_.setPixelSize(static_cast<int>(std::lround(scale * kFontPoints * kReportDpi / 72)));
  painter_.setFont(font_);
}

void QtPageCanvas::newPage() {
  device_.newPage();
}

}  // namespace qj::ui
