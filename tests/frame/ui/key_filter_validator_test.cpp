#include "frame/ui/key_filter_validator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace qj::ui {
namespace {

TEST(KeyFilterValidator, DigitEditsIgnoreLettersAndAlwaysTakeBackspace) {
  QLineEdit edit;
  DigitKeyFilter(&edit);
  QTest::keyClicks(&edit, "1a2.3");
  EXPECT_EQ(edit.text(), "123");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "12");
}

TEST(KeyFilterValidator, DecimalEditsTakeOnlyTheirSeparator) {
  QLineEdit comma;
  DecimalKeyFilter(&comma, ',');
  QTest::keyClicks(&comma, "35.,0");
  EXPECT_EQ(comma.text(), "35,0");

  QLineEdit point;
  DecimalKeyFilter(&point, '.');
  QTest::keyClicks(&point, "35.,0");
  EXPECT_EQ(point.text(), "35.0");
}

TEST(KeyFilterValidator, CodeEditsTakeLatinLettersAndDigits) {
  QLineEdit edit;
  CodeKeyFilter(&edit);
  QTest::keyClicks(&edit, "ab-1 2");
  QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QStringLiteral("Ж"), Qt::NoModifier);
  EXPECT_EQ(edit.text(), "ab12");
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
