#include "text/ui/key_filter_validator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace qj::ui {
namespace {

// A refused character beeps and leaves the text as it was; what is typed after it is refused
// too, so that a character dropped from the middle never leaves another valid-looking number.
// A key that is not a character (Backspace here) ends the refusal.
TEST(KeyFilterValidator, ARefusedCharacterStopsTheTypingUntilTheUserDealsWithIt) {
  struct Case {
    KeyFilter filter;
    char sep;
    const char* typed;
    const char* shown;
    const char* thenTyped;  // after a Backspace
    const char* finally;
  };
  for (const Case& c : {
           Case{KeyFilter::Digit, ',', "12/3", "12", "3", "13"},
           Case{KeyFilter::Digit, ',', "1a2.3", "1", "23", "23"},
           Case{KeyFilter::Decimal, ',', "35.5", "35", "5", "35"},
           Case{KeyFilter::Decimal, ',', "35,0", "35,0", "", "35,"},
           Case{KeyFilter::Decimal, '.', "35.,0", "35.", ",0", "35"},
           Case{KeyFilter::Code, ',', "ab-12", "ab", "c", "ac"},
       }) {
    SCOPED_TRACE(c.typed);
    QLineEdit edit;
    switch (c.filter) {
      case KeyFilter::Digit: DigitKeyFilter(&edit); break;
      case KeyFilter::Decimal: DecimalKeyFilter(&edit, c.sep); break;
      case KeyFilter::Code: CodeKeyFilter(&edit); break;
    }
    QTest::keyClicks(&edit, c.typed);
    EXPECT_EQ(edit.text(), c.shown);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, c.thenTyped);
    EXPECT_EQ(edit.text(), c.finally);
  }
  QLineEdit code;
  CodeKeyFilter(&code);
  QTest::sendKeyEvent(QTest::Click, &code, Qt::Key_unknown, QStringLiteral("Ж"), Qt::NoModifier);
  QTest::keyClicks(&code, "1");
  EXPECT_EQ(code.text(), "");
}

TEST(KeyFilterValidator, PastedTextIsFilteredToo) {
  QLineEdit edit;
  DigitKeyFilter(&edit);
  edit.insert("12");
  edit.insert("3x4");
  EXPECT_EQ(edit.text(), "12");
  QApplication::clipboard()->setText("345");
  edit.paste();
  EXPECT_EQ(edit.text(), "12345");
}

TEST(KeyFilterValidator, AFieldSetByTheProgramCanStillBeShortened) {
  QLineEdit edit;
  DecimalKeyFilter(&edit, ',');
  edit.setText("35.0");  // stored with another separator
  edit.end(false);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "35.");
  QTest::keyClicks(&edit, "5");
  EXPECT_EQ(edit.text(), "35.");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClicks(&edit, ",5");
  EXPECT_EQ(edit.text(), "35,5");
}

}  // namespace
}  // namespace qj::ui
