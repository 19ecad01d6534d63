#include "frame/ui/fit_caption.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "frame/hyphenate.h"

namespace qj::ui {
namespace {

TEST(FitCaption, MeasuresInTheLabelsOwnFont) {
  QLabel label;
  QFont font("DejaVu Sans");
  font.setPixelSize(11);
  label.setFont(font);
  label.setWordWrap(true);
  const std::string text = "Transitsectionnumber of the street";
  const int width = 60;
  fitCaption(&label, text, width);

  const QFontMetrics metrics(font);
  const std::string expected = hyphenateToWidth(text, width, [&](std::string_view s) {
    return metrics.horizontalAdvance(QString::fromLatin1(s.data(), static_cast<int>(s.size())));
  });
  EXPECT_EQ(label.text().toStdString(), expected);
  EXPECT_NE(label.text().indexOf("- "), -1);
  // Every line the label can break into fits the width.
  for (const QString& line : label.text().split(' ', Qt::SkipEmptyParts))
    EXPECT_LE(metrics.horizontalAdvance(line), width);
}

TEST(FitCaption, CyrillicTextIsMeasuredAsItIsShown) {
  QFont font("DejaVu Sans");
  font.setPixelSize(11);
  // "Улица" (street) in code page 1251 fits a wide label unchanged.
  EXPECT_EQ(fittedCaption(font, "\xD3\xEB\xE8\xF6\xE0", 200), "Улица");
  EXPECT_NE(fittedCaption(font, "\xD3\xEB\xE8\xF6\xE0\xD3\xEB\xE8\xF6\xE0", 30).indexOf("- "), -1);
}

}  // namespace
}  // namespace qj::ui
