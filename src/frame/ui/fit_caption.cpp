#include "frame/ui/fit_caption.h"

#include <QFontMetrics>

#include "frame/hyphenate.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

QString fittedCaption(const QFont& font, std::string_view text, int width) {
  const QFontMetrics metrics(font);
  const auto measure = [&metrics](std::string_view line) {
    return metrics.horizontalAdvance(toQt(line));
  };
  return toQt(hyphenateToWidth(text, width, measure));
}

void fitCaption(QLabel* label, std::string_view text, int width) {
  label->setText(fittedCaption(label->font(), text, width));
}

}  // namespace qj::ui
