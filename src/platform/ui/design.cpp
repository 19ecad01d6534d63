#include "platform/ui/design.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <optional>

#include "platform/design_scale.h"

namespace qj::ui {
namespace {

std::optional<double>& cachedScale() {
  static std::optional<double> scale;
  return scale;
}

}  // namespace

double designScale() {
  std::optional<double>& scale = cachedScale();
  if (!scale) {
    const QFontMetricsF metrics(QApplication::font());
    scale = qj::designScale([&metrics](std::string_view utf8) {
      return metrics.horizontalAdvance(
          QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    });
  }
  return *scale;
}

void resetDesignScale() {
  cachedScale().reset();
}

int px(int designPixels) {
  return scaledPixels(designPixels, designScale());
}

QPoint px(QPoint design) {
  return {px(design.x()), px(design.y())};
}

QSize px(QSize design) {
  return {px(design.width()), px(design.height())};
}

QRect px(QRect design) {
  return {px(design.topLeft()), px(design.size())};
}

std::vector<int> px(const std::vector<int>& design) {
  std::vector<int> scaled;
  scaled.reserve(design.size());
  for (const int d : design) scaled.push_back(px(d));
  return scaled;
}

double designSizeOf(const QFont& font) {
  const QFont application = QApplication::font();
  if (font.pointSizeF() > 0 && application.pointSizeF() > 0)
    return font.pointSizeF() / application.pointSizeF();
  return static_cast<double>(QFontInfo(font).pixelSize()) / QFontInfo(application).pixelSize();
}

QSize withRoomForCaption(const QWidget* window, QSize size) {
  QString caption = window->windowTitle();
  if (!QGuiApplication::applicationDisplayName().isEmpty())
    caption += QStringLiteral(" \u2014 ") + QGuiApplication::applicationDisplayName();
  QFont bold = QApplication::font();
  bold.setBold(true);
  // The frame's icon and its three buttons take about as much as twelve design characters.
  const int needed = QFontMetrics(bold).horizontalAdvance(caption) + px(90);
  return {std::max(size.width(), needed), size.height()};
}

QFont designFont(int designPixels, bool bold) {
  QFont font = QApplication::font();
  if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * designPixels / kDesignFontPixels);
  else
    font.setPixelSize(font.pixelSize() * designPixels / kDesignFontPixels);
  font.setBold(bold);
  return font;
}

}  // namespace qj::ui
