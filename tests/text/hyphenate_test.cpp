#include "text/hyphenate.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

// Every character 6 pixels wide but "W", which is twice as wide.
int measure(std::string_view s) {
  int w = 0;
  for (const char c : s) w += c == 'W' ? 12 : 6;
  return w;
}

TEST(HyphenateToWidth, BreaksWhereTheNextCharacterWouldPassTheLimit) {
  const struct {
    const char* text;
    int width;
    const char* fitted;
  } cases[] = {
      {"ABCDEFGHIJ", 30, "ABCD- EFGH- IJ"},
      {"ABCD EFGH", 30, "ABCD  EFG- H"},
      // Texts that fit and narrow labels are left alone.
      {"ABCD", 30, "ABCD"},
      {"ABCDEFGHIJ", 2, "ABCDEFGHIJ"},
      {"ABCDEFGHIJ", 1, "ABCDEFGHIJ"},
      {"ABCDEFGHIJ", -5, "ABCDEFGHIJ"},
      {"", 30, ""},
      // Limit 24: the last character may reach it, an inner one breaks before itself...
      {"ABCD", 26, "ABCD"},
      {"ABCDE", 26, "ABC- DE"},
      // ...and at limit 23 the last character exceeds it.
      {"ABCD", 25, "ABC- D"},
      // Breaks at blanks insert a blank, never a hyphen, whether the blank itself or the
      // character after it causes the break; blanks of the text are never removed.
      {"ABCD EFGHIJ", 30, "ABCD  EFG- HIJ"},
      {"ABC DEFGHIJ", 30, "ABC  DEFG- HIJ"},
      {"AB  CD  EF  GH", 20, "AB    CD    EF    GH"},
      {"xxxxxxxxxxxxxxxxxxxx", 20, "xx- xx- xx- xx- xx- xx- xx- xx- xx- xx"},
      // Every line keeps at least one character.
      {"ABC", 5, "A- B- C"},
      {"A", 5, "A"},
      {"WWWWAB", 32, "WW- WW- AB"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(hyphenateToWidth(c.text, c.width, measure), c.fitted) << c.text << " in " << c.width;
}

}  // namespace
}  // namespace qj
