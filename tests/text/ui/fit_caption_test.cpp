#include "text/ui/fit_caption.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/design_scale.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "text/hyphenate.h"

namespace qj::ui {
namespace {

// The caption breaks where the design breaks it in a label of the design's width, whatever
// the font in use and its size: a title that fits the design is not broken, and one that the
// design breaks is broken at the same characters.
TEST(FitCaption, BreaksWhereTheDesignBreaks) {
  // "Улица" (street) twice, in code page 1251, last.
  const std::pair<const char*, int> cases[] = {{"Point No.", 46},
                                               {"Section No.", 37},
                                               {"Transition kind", 55},
                                               {"Transitsectionnumber of the street", 60},
                                               {"\xD3\xEB\xE8\xF6\xE0\xD3\xEB\xE8\xF6\xE0", 30}};
  const QFont before = QApplication::font();
  for (const double points : {8.0, 11.0}) {
    QApplication::setFont(QFont("DejaVu Sans", points));
    resetDesignScale();
    for (const auto& [text, width] : cases) {
      const std::string design = hyphenateToWidth(text, width, designAdvance);
      QLabel label;
      label.setWordWrap(true);
      fitCaption(&label, text, px(width));
      EXPECT_EQ(fromQt(label.text()), design) << text << " at " << points;
    }
  }
  QApplication::setFont(before);
  resetDesignScale();
  EXPECT_EQ(fittedCaption(QApplication::font(), "Point No.", px(46)), "Point No.");
}

}  // namespace
}  // namespace qj::ui
