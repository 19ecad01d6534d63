#include "text/key_filters.h"

#include <gtest/gtest.h>

#include "records/cp1251.h"
#include "support/shell_fixture.h"

namespace qj {
namespace {

using K = KeyFilter;

// The core's view of what a window hands over: UTF-8 source text, with the characters that
// code page 1251 cannot hold marked as the window marks them.
std::string cp(std::string_view utf8) {
  return cp1251::fromUtf8(utf8, nullptr, kForeignChar);
}

// Keys typed at the end of the field, one at a time ('\b' is Backspace), as a user types them;
// the field's text afterwards and the number of refused keys.
std::pair<std::string, int> typeKeys(const FieldRule& rule, std::string text,
                                     std::string_view keys) {
  int refused = 0;
  for (const char key : keys) {
    const std::string proposed =
        key == '\b' ? text.substr(0, text.empty() ? 0 : text.size() - 1) : text + key;
    const FieldEdit edit = judgeEdit(rule, text, proposed);
    if (edit.taken) {
      text = edit.text;
    } else {
      EXPECT_EQ(edit.text, text);
      ++refused;
    }
  }
  return {cp1251::toUtf8(text), refused};
}

// Each row: the field, the text the program put in, the keys typed, what the field then
// holds and how many keys beeped. A refused key is dropped alone and the keys after it are
// taken; either separator key enters the field's separator; the limit stops typing only.
TEST(KeyFilters, TypedSequencesGiveTheirTexts) {
  struct Row {
    FieldRule rule;
    const char* start;
    const char* keys;
    const char* shown;
    int refused;
  };
  const Row rows[] = {
      // clang-format off
      {{K::Decimal, 7, false, '.'}, "", "32,5", "32.5", 0},
      {{K::Decimal, 7, false, '.'}, "", "32.5", "32.5", 0},
      {{K::Decimal, 7, false, ','}, "", "32.5", "32,5", 0},
      {{K::Decimal, 7, false, ','}, "", "32,5", "32,5", 0},
      {{K::Decimal, 7, false, '.'}, "", "2x00", "200", 1},
      {{K::Decimal, 4, false, '.'}, "", "0,8", "0.8", 0},
      {{K::Decimal, 4, false, ','}, "", "0.9x99", "0,99", 2},
      {{K::Decimal, 6, false, ','}, "", "1,2,3", "1,2,3", 0},  // the field's check judges
      {{K::Decimal, 5, false, '.'}, "12.345", "6", "12.345", 1},
      {{K::Decimal, 5, false, '.'}, "12.345", "\b6", "12.34", 1},
      {{K::Decimal, 5, false, '.'}, "12.345", "\b\b7", "12.37", 0},
      // A stored text that the filter would refuse is no reason to refuse a key.
      {{K::Decimal, 7, false, ','}, "35.0", "5", "35.05", 0},
      {{K::Decimal, 7, false, ','}, "40.5", "x.1", "40.5,1", 1},
      {{K::StreetType, 20}, "Street", "s Ы", "Streets", 2},
      {{K::Code, 6, true}, "ab", "c", "abC", 0},
      {{K::Decimal, 7, false, ','}, "35.0", "\b\b,5", "35,5", 0},
      {{K::Digit, 3, true}, "", "4x2", "42", 1},
      {{K::Digit, 3}, "", "12345", "123", 2},
      {{K::Digit, 2}, "", "-1 5", "15", 2},
      {{K::Code, 6, true}, "", "ab-12cd9", "AB12CD", 2},
      {{K::Code, 6, true}, "", "aбв1", "A1", 2},
      {{K::Text, 70}, "", "Город 测试 тест", "Город  тест", 2},
      {{K::Text, 4}, "", "ул. Мира", "ул. ", 4},
      {{K::HouseNumber, 4}, "", "12/3", "123", 1},
      {{K::HouseNumber, 4}, "", "12Аа", "12а", 1},
      {{K::HouseNumberSlash, 9}, "", "12/3\\b", "12/3\\b", 0},
      {{K::HouseNumberSlash, 9}, "", "12-3B", "123", 2},
      {{K::PointHouse, 4}, "", "12/3", "123", 1},
      {{K::PointHouse, 4}, "", "12a", "12", 1},
      {{K::PointHouse, 4}, "", "12б", "12б", 0},
      {{K::PointHouse, 4}, "", "-1", "-", 1},
      {{K::PointHouse, 4}, "", "1-", "1", 1},
      {{K::StreetType, 4}, "", "Ул. 1", "л.", 3},
      {{K::StreetType, 20}, "", "пр-т", "пр-т", 0},
      // clang-format on
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.start) + " + " + r.keys);
    const auto [shown, refused] = typeKeys(r.rule, cp(r.start), cp(r.keys));
    EXPECT_EQ(shown, r.shown);
    EXPECT_EQ(refused, r.refused);
  }
}

// Pasted text (and any change of more than one character) is taken or refused whole, and
// taken as it is; removing characters always passes, even from a text the filter would
// refuse. Each row: the field, the text before and after the change, and what it holds then.
TEST(KeyFilters, APasteIsTakenOrRefusedWhole) {
  const std::tuple<FieldRule, const char*, const char*, const char*> rows[] = {
      // clang-format off
      {{K::Decimal, 7, false, '.'}, "", "32.5", "32.5"},
      {{K::Decimal, 7, false, '.'}, "", "32,5", ""},
      {{K::Decimal, 7, false, ','}, "1", "1.", "1,"},  // one character: a key
      {{K::Decimal, 7, false, ','}, "", "1,234.5", ""},
      {{K::Digit, 3}, "", "123", "123"},
      {{K::Digit, 3}, "", "1234", ""},
      {{K::Digit, 3}, "1", "1 2", "1"},
      {{K::Digit, 5}, "12345", "1295", "1295"},  // "34" selected, "9" typed over it
      {{K::Digit, 5}, "12345", "12945", "12945"},  // "3" selected, "9" typed over it
      {{K::Code, 6, true}, "A", "Abc1", "ABC1"},
      {{K::Text, 70}, "", "测试", ""},
      {{K::Text, 70}, "", "a\tb", ""},
      {{K::Text, 70}, "Дом", "Дом 5", "Дом 5"},
      {{K::Decimal, 7, false, ','}, "35.0.1", "35.1", "35.1"},
      {{K::Decimal, 7, false, ','}, "35.0", "35.01", "35.01"},
      {{K::Decimal, 7, false, ','}, "35.0", "35.01.5", "35.0"},
      {{K::StreetType, 20}, "Avenue", "Avenue rd", "Avenue"},
      {{K::Decimal, 6, false, ','}, "33,333333333333", "33,333333333332", "33,333333333332"},
      {{K::Decimal, 6, false, ','}, "33,333333333333", "33,3333333333333", "33,333333333333"},
      // clang-format on
  };
  for (const auto& [rule, before, after, result] : rows) {
    const FieldEdit edit = judgeEdit(rule, cp(before), cp(after));
    EXPECT_EQ(cp1251::toUtf8(edit.text), result) << before << " -> " << after;
    EXPECT_EQ(edit.taken, edit.text != cp(before) || std::string_view(before) == after)
        << before << " -> " << after;
  }
}

// The tooltip of a refusal names what the field takes, with its separator and length.
TEST(KeyFilters, TheTipNamesWhatTheFieldTakes) {
  const ShellTables shell = test::markedShell();
  const std::pair<FieldRule, const char*> rows[] = {
      {{K::Digit, 3}, "S1140 S1141, S1149 3 S1150."},
      {{K::Decimal, 5, false, '.'}, "S1140 S1142 \".\", S1149 5 S1150."},
      {{K::Decimal, 0, false, ','}, "S1140 S1142 \",\"."},
      {{K::Code, 6, true}, "S1140 S1143, S1149 6 S1150."},
      {{K::HouseNumber, 4}, "S1140 S1144, S1149 4 S1150."},
      {{K::HouseNumberSlash, 9}, "S1140 S1145, S1149 9 S1150."},
      {{K::PointHouse, 4}, "S1140 S1146, S1149 4 S1150."},
      {{K::StreetType, 20}, "S1140 S1147, S1149 20 S1150."},
      {{K::Text, 70}, "S1140 S1148, S1149 70 S1150."},
  };
  for (const auto& [rule, tip] : rows) EXPECT_EQ(keyFilterTip(rule).resolve(shell), tip);
  EXPECT_EQ(noTypingTip().resolve(shell), "S1220.");
}

}  // namespace
}  // namespace qj
