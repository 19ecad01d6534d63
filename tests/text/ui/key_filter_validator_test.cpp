#include "text/ui/key_filter_validator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>

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
    if (refused) EXPECT_EQ(shownTip(edit)->text(), keyFilterTip(rule, shell));
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

}  // namespace
}  // namespace qj::ui
