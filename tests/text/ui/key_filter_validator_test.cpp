#include "text/ui/key_filter_validator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace qj::ui {
namespace {

// A refused character beeps and leaves the text as it was; what is typed after it is refused
// too, so that a character dropped from the middle never leaves another valid-looking number.
// A key that is not a character (Backspace here) ends the refusal. Pasted text is filtered
// too, and a field the program filled with another separator can still be shortened.
TEST(KeyFilterValidator, ARefusedCharacterStopsTheTypingUntilTheUserDealsWithIt) {
  using K = KeyFilter;
  const std::tuple<K, char, const char*, const char*, const char*, const char*, const char*>
      cases[] = {{K::Digit, ',', "", "12/3", "12", "3", "13"},
                 {K::Digit, ',', "", "1a2.3", "1", "23", "23"},
                 {K::Decimal, ',', "", "35.5", "35", "5", "35"},
                 {K::Decimal, '.', "", "35.,0", "35.", ",0", "35"},
                 {K::Decimal, ',', "35.0", "", "35.0", "5", "35."},
                 {K::Code, ',', "", "ab-12", "ab", "c", "ac"}};
  for (const auto& [filter, sep, preset, typed, shown, thenTyped, finally] : cases) {
    SCOPED_TRACE(typed);
    QLineEdit edit(preset);
    switch (filter) {
      case K::Digit: DigitKeyFilter(&edit); break;
      case K::Decimal: DecimalKeyFilter(&edit, sep); break;
      case K::Code: CodeKeyFilter(&edit); break;
    }
    QTest::keyClicks(&edit, typed);
    EXPECT_EQ(edit.text(), shown);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, thenTyped);
    EXPECT_EQ(edit.text(), finally);
    edit.setText("");
    QApplication::clipboard()->setText("3-4");
    edit.paste();
    EXPECT_EQ(edit.text(), "");
  }
}

}  // namespace
}  // namespace qj::ui
