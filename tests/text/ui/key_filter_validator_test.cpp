#include "text/ui/key_filter_validator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support/shell_fixture.h"
#include "support/ui/grid_driver.h"

namespace qj::ui {
namespace {

using K = KeyFilter;

QLabel* shownTip(const QLineEdit& edit) {
  auto* tip = edit.findChild<QLabel*>("refusalTip");
  return tip && tip->isVisible() ? tip : nullptr;
}

// Keys typed into an edit: a refused key is dropped alone and shows at the edit what it takes,
// the keys after it are taken; either separator key enters the edit's separator. A text the
// program puts in stays whole, however long. Pasted text that the filter refuses is refused
// whole, with the same tip.
TEST(KeyFilterValidator, ARefusedKeyIsDroppedAloneAndNamesWhatTheEditTakes) {
  const ShellTables shell = test::markedShell();
  const std::tuple<FieldRule, const char*, const char*, const char*, bool> rows[] = {
      {{K::Decimal, 7, false, '.'}, "", "32,5", "32.5", false},
      {{K::Decimal, 7, false, ','}, "", "32.5", "32,5", false},
      {{K::Decimal, 7, false, '.'}, "", "2x00", "200", true},
      {{K::Digit, 3, true}, "", "4x2", "42", true},
      {{K::Code, 6, true}, "", "ab-12", "AB12", true},
      {{K::Text, 70}, "", "Город 测试 тест", "Город  тест", true},
      {{K::PointHouse, 4}, "", "12/3", "123", true},
      {{K::Decimal, 5, false, '.'}, "12.345", "", "12.345", false},
      {{K::Decimal, 5, false, '.'}, "12.345", "9", "12.345", true},
      // What the program put in is no reason to refuse a key.
      {{K::Decimal, 7, false, ','}, "40.5", "1.", "40.51,", false},
      {{K::StreetType, 20}, "Street", "s", "Streets", false},
  };
  for (const auto& [rule, preset, typed, shown, refused] : rows) {
    SCOPED_TRACE(typed);
    QLineEdit edit;
    installKeyFilter(&edit, rule, shell);
    edit.setText(QString::fromUtf8(preset));
    edit.show();
    test::typeKeys(&edit, QString::fromUtf8(typed));
    EXPECT_EQ(edit.text(), QString::fromUtf8(shown));
    ASSERT_EQ(shownTip(edit) != nullptr, refused);
    if (refused) {
      EXPECT_EQ(shownTip(edit)->text(), keyFilterTip(rule, shell));
    }
    // Leaving the edit takes the tip away.
    edit.clearFocus();
    edit.hide();
    EXPECT_EQ(shownTip(edit), nullptr);
  }
  QLineEdit edit;
  const FieldRule decimal{K::Decimal, 7, false, '.'};
  installKeyFilter(&edit, decimal, shell);
  edit.show();
  for (const auto& [pasted, result] : {std::pair("32,5", "1"), std::pair("32.5", "132.5")}) {
    edit.setText("1");
    QApplication::clipboard()->setText(pasted);
    edit.paste();
    EXPECT_EQ(edit.text(), result);
  }
  ASSERT_NE(shownTip(edit), nullptr);
  EXPECT_EQ(shownTip(edit)->text(), "S1140 S1142 \".\", S1149 7 S1150.");
}

// A key whose character the edit enters as another (either separator key, a small letter of an
// upper-case edit) is undone as any key is: one step back, to the text before it.
TEST(KeyFilterValidator, AChangedKeyIsUndoneAsAnyKey) {
  const ShellTables shell = test::markedShell();
  const std::tuple<FieldRule, const char*, const char*, const char*> rows[] = {
      {{K::Decimal, 7, false, ','}, "12", ".", "12,"},
      {{K::Decimal, 7, false, '.'}, "1", ",", "1."},
      {{K::Code, 6, true}, "AB", "c", "ABC"},
  };
  for (const auto& [rule, preset, typed, shown] : rows) {
    SCOPED_TRACE(typed);
    QLineEdit edit;
    installKeyFilter(&edit, rule, shell);
    edit.setText(preset);
    edit.show();
    QTest::keyClicks(&edit, typed);
    EXPECT_EQ(edit.text(), shown);
    QTest::keySequence(&edit, QKeySequence::Undo);
    EXPECT_EQ(edit.text(), preset);
  }
  // A paste whose letters become capitals leaves the edit judging the keys after it.
  QLineEdit edit;
  installKeyFilter(&edit, {K::Code, 6, true}, shell);
  edit.show();
  QApplication::clipboard()->setText("ab");
  edit.paste();
  QTest::keyClicks(&edit, "-c");
  EXPECT_EQ(edit.text(), "ABC");
}

// A key pressed with Alt is a command, never text: an Alt+letter that is no access key leaves
// the edit as it was, an access key still reaches its button, and AltGr (a layout's third
// level) types as usual.
TEST(KeyFilterValidator, AKeyWithAltIsNeverTyped) {
  const ShellTables shell = test::markedShell();
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* button = new QPushButton("&Next", &window);
  button->move(0, 40);
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  installKeyFilter(edit, {K::Text, 70}, shell);
  window.show();
  QApplication::setActiveWindow(&window);
  edit->setFocus();
  const struct {
    Qt::Key key;
    const char* text;
    Qt::KeyboardModifiers modifiers;
    const char* shown;
    int clicks;
  } keys[] = {
      {Qt::Key_U, "г", Qt::AltModifier, "12/3", 0},
      {Qt::Key_Q, "q", Qt::AltModifier | Qt::ShiftModifier, "12/3", 0},
      {Qt::Key_5, "5", Qt::AltModifier | Qt::KeypadModifier, "12/3", 0},
      {Qt::Key_N, "n", Qt::AltModifier, "12/3", 1},
      {Qt::Key_U, "г", Qt::GroupSwitchModifier, "12/3г", 0},
      {Qt::Key_U, "г", Qt::NoModifier, "12/3г", 0},
  };
  for (const auto& k : keys) {
    SCOPED_TRACE(k.text);
    edit->setText("12/3");
    clicks = 0;
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), k.key, QString::fromUtf8(k.text),
                        k.modifiers);
    // An access key clicks its button a moment later, as a button pressed and let go.
    if (k.clicks) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return clicks > 0; }, 1000));
    }
    EXPECT_EQ(edit->text(), QString::fromUtf8(k.shown));
    EXPECT_EQ(clicks, k.clicks);
  }
}

}  // namespace
}  // namespace qj::ui
