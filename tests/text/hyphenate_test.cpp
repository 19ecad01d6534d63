#include "text/hyphenate.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

// Every character 6 pixels wide but "W", which is twice as wide, and "_", which takes none.
int measure(std::string_view s) {
  int w = 0;
  for (const char c : s) w += c == 'W' ? 12 : c == '_' ? 0 : 6;
  return w;
}

// Each row: the text, the label's width and the text fitted to it. Texts that fit and narrow
// labels are left alone. At limit 24 ("ABCD", 26) the last character may reach it and an
// inner one breaks before itself; at limit 23 the last one exceeds it. Breaks at blanks
// insert a blank, never a hyphen, whether the blank itself or the character after it causes
// the break, and blanks of the text are never removed. Every line keeps a character.
TEST(HyphenateToWidth, BreaksWhereTheNextCharacterWouldPassTheLimit) {
  const std::tuple<const char*, int, const char*> cases[] = {
      // clang-format off
      {"ABCDEFGHIJ", 30, "ABCD- EFGH- IJ"}, {"ABCD EFGH", 30, "ABCD  EFG- H"}, {"ABCD", 30, "ABCD"},
      {"ABCDEFGHIJ", 2, "ABCDEFGHIJ"}, {"ABCDEFGHIJ", 1, "ABCDEFGHIJ"}, {"ABCDEFGHIJ", -5, "ABCDEFGHIJ"},
      {"", 30, ""}, {"ABCD", 26, "ABCD"}, {"ABCDEFG", 26, "ABC- DEFG"}, {"ABCD", 25, "ABC- D"},
      {"ABCD EFGHIJ", 30, "ABCD  EFG- HIJ"}, {"ABC DEFGHIJ", 30, "ABC  DEFG- HIJ"},
      {"AB  CD  EF  GH", 20, "AB    CD    EF    GH"}, {"ABC", 5, "A- B- C"}, {"A", 5, "A"},
      {"xxxxxxxxxxxxxxxxxxxx", 20, "xx- xx- xx- xx- xx- xx- xx- xx- xx- xx"},
      {"WWWWAB", 32, "WW- WW- AB"}, {"ABCD_", 26, "ABCD_"},
      // clang-format on
  };
  for (const auto& [text, width, fitted] : cases)
    EXPECT_EQ(hyphenateToWidth(text, width, measure), fitted) << text << " in " << width;
}

}  // namespace
}  // namespace qj
