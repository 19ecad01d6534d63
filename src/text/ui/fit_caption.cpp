#include "text/ui/fit_caption.h"

#include <cmath>

#include "platform/design_scale.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "text/hyphenate.h"

namespace qj::ui {

QString fittedCaption(const QFont& font, std::string_view text, int width) {
  // Measured in the design font at the label's size, against the label's width in design
  // pixels: the caption breaks exactly where the design breaks it, and the label, the design's
  // width scaled to the font in use, holds those lines.
  const double size = designSizeOf(font);
  const auto measure = [size](std::string_view line) {
    return static_cast<int>(std::lround(designAdvance(line) * size));
  };
  return toQt(
      hyphenateToWidth(text, static_cast<int>(std::lround(width / designScale())), measure));
}

int wordBreaks(const QFont& font, std::string_view text, int width) {
  // A break between words turns a blank into a line break, which may end a "- " of the text.
  const QString hyphen = QStringLiteral("- ");
  QString fitted = fittedCaption(font, text, width);
  fitted.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return static_cast<int>(fitted.count(hyphen) - toQt(text).count(hyphen));
}

void fitCaption(QLabel* label, std::string_view text, int width) {
  label->setText(fittedCaption(label->font(), text, width));
}

}  // namespace qj::ui
