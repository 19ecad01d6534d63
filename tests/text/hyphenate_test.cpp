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
// inner one breaks before itself; at limit 23 the last one exceeds it. Every line keeps a
// character.
TEST(HyphenateToWidth, BreaksAWordWiderThanTheLabelWhereTheNextCharacterWouldPassTheLimit) {
  const std::tuple<const char*, int, const char*> cases[] = {
      // clang-format off
      {"ABCDEFGHIJ", 30, "ABCD- EFGH- IJ"}, {"ABCD", 30, "ABCD"},
      {"ABCDEFGHIJ", 2, "ABCDEFGHIJ"}, {"ABCDEFGHIJ", 1, "ABCDEFGHIJ"}, {"ABCDEFGHIJ", -5, "ABCDEFGHIJ"},
      {"", 30, ""}, {"ABCD", 26, "ABCD"}, {"ABCDEFG", 26, "ABC- DEFG"}, {"ABCD", 25, "ABC- D"},
      {"ABC", 5, "A- B- C"}, {"A", 5, "A"},
      {"xxxxxxxxxxxxxxxxxxxx", 20, "xx- xx- xx- xx- xx- xx- xx- xx- xx- xx"},
      {"WWWWAB", 32, "WW- WW- AB"}, {"ABCD_", 26, "ABCD_"},
      // clang-format on
  };
  for (const auto& [text, width, fitted] : cases)
    EXPECT_EQ(hyphenateToWidth(text, width, measure), fitted) << text << " in " << width;
}

// A full line that holds a blank ends at its last blank, whether the blank or a later
// character fills it; the words after it start the next line without blanks before them. Only
// a word wider than the whole label is broken inside, also after a line break.
TEST(HyphenateToWidth, BreaksBetweenWordsWhenTheLineHoldsABlank) {
  const std::tuple<const char*, int, const char*> cases[] = {
      // clang-format off
      {"ABCD EFGH", 30, "ABCD\nEFGH"}, {"AB CDE", 30, "AB\nCDE"}, {"A BC DE F", 30, "A BC\nDE F"},
      {"AB  CD  EF  GH", 20, "AB\nCD\nEF\nGH"}, {"ABC DEFGHIJ", 30, "ABC\nDEFG- HIJ"},
      {"Ab verylongword cd", 30, "Ab\nvery- long- word\ncd"}, {"AB CD", 26, "AB\nCD"},
      {"AB C", 26, "AB C"}, {"AB CDE", 26, "AB\nCDE"},
      // The task viewer's titles that broke inside their words.
      {"Waiting penalty", 60, "Waiting\npenalty"}, {"Cargo volume", 60, "Cargo\nvolume"},
      {"Income (USD)", 60, "Income\n(USD)"}, {"Approach speed, km / h", 60, "Approach\nspeed, km\n/ h"},
      // clang-format on
  };
  for (const auto& [text, width, fitted] : cases)
    EXPECT_EQ(hyphenateToWidth(text, width, measure), fitted) << text << " in " << width;
}

}  // namespace
}  // namespace qj
