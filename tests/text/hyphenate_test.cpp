#include "text/hyphenate.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

// Every character 6 pixels wide.
int sixEach(std::string_view s) {
  return static_cast<int>(s.size()) * 6;
}

std::string fit(std::string_view text, int width) {
  return hyphenateToWidth(text, width, sixEach);
}

TEST(HyphenateToWidth, WorkedExamples) {
  EXPECT_EQ(fit("ABCDEFGHIJ", 30), "ABCD- EFGH- IJ");
  EXPECT_EQ(fit("ABCD EFGH", 30), "ABCD  EFG- H");
}

TEST(HyphenateToWidth, TextsThatFitAndNarrowLabelsAreLeftAlone) {
  EXPECT_EQ(fit("ABCD", 30), "ABCD");  // 24 <= 28
  EXPECT_EQ(fit("ABCDEFGHIJ", 2), "ABCDEFGHIJ");
  EXPECT_EQ(fit("ABCDEFGHIJ", 1), "ABCDEFGHIJ");
  EXPECT_EQ(fit("ABCDEFGHIJ", -5), "ABCDEFGHIJ");
  EXPECT_EQ(fit("", 30), "");
}

TEST(HyphenateToWidth, InnerCharactersBreakAtTheLimitTheLastOnlyBeyondIt) {
  // Limit 24: "ABCD" reaches it with its last character and stays on the line...
  EXPECT_EQ(fit("ABCD", 26), "ABCD");
  // ...but the same character inside the text breaks before itself.
  EXPECT_EQ(fit("ABCDE", 26), "ABC- DE");
  // Limit 23: the last character exceeds it.
  EXPECT_EQ(fit("ABCD", 25), "ABC- D");
}

TEST(HyphenateToWidth, BreaksAtBlanksInsertABlankNeverAHyphen) {
  // The blank itself causes the break.
  EXPECT_EQ(fit("ABCD EFGHIJ", 30), "ABCD  EFG- HIJ");
  // The character after a blank causes the break.
  EXPECT_EQ(fit("ABC DEFGHIJ", 30), "ABC  DEFG- HIJ");
  // Blanks of the text are never removed: each run of two gets one more before and after.
  EXPECT_EQ(fit("AB  CD  EF  GH", 20), "AB    CD    EF    GH");
}

TEST(HyphenateToWidth, ALongWordBreaksOnEveryLine) {
  EXPECT_EQ(fit(std::string(20, 'x'), 20), "xx- xx- xx- xx- xx- xx- xx- xx- xx- xx");
}

TEST(HyphenateToWidth, EveryLineKeepsAtLeastOneCharacter) {
  // A character wider than the label: no empty line before it.
  EXPECT_EQ(fit("ABC", 5), "A- B- C");
  EXPECT_EQ(fit("A", 5), "A");
}

TEST(HyphenateToWidth, MeasuresProportionalText) {
  // "W" is twice as wide as the others.
  const auto measure = [](std::string_view s) {
    int w = 0;
    for (const char c : s) w += c == 'W' ? 12 : 6;
    return w;
  };
  EXPECT_EQ(hyphenateToWidth("WWWWAB", 32, measure), "WW- WW- AB");
}

}  // namespace
}  // namespace qj
