#include "text/key_filters.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

TEST(KeyFilters, EachKindPassesItsCharacters) {
  EXPECT_TRUE(keyFilterAccepts(KeyFilter::Digit, "0123456789", ','));
  EXPECT_FALSE(keyFilterAccepts(KeyFilter::Digit, "12a", ','));
  EXPECT_FALSE(keyFilterAccepts(KeyFilter::Digit, "1,5", ','));
  EXPECT_FALSE(keyFilterAccepts(KeyFilter::Digit, "-1", ','));

  EXPECT_TRUE(keyFilterAccepts(KeyFilter::Decimal, "35,0", ','));
  EXPECT_FALSE(keyFilterAccepts(KeyFilter::Decimal, "35.0", ','));
  EXPECT_TRUE(keyFilterAccepts(KeyFilter::Decimal, "35.0", '.'));
  EXPECT_FALSE(keyFilterAccepts(KeyFilter::Decimal, "35,0", '.'));
  // The number of separators is the field's check, not the filter's.
  EXPECT_TRUE(keyFilterAccepts(KeyFilter::Decimal, "1,2,3", ','));

  EXPECT_TRUE(keyFilterAccepts(KeyFilter::Code, "AB12cd", ','));
  EXPECT_FALSE(keyFilterAccepts(KeyFilter::Code, "AB-12", ','));
  EXPECT_FALSE(keyFilterAccepts(KeyFilter::Code, "AB 12", ','));
  EXPECT_FALSE(keyFilterAccepts(KeyFilter::Code, "\xC0\xC1", ','));  // Cyrillic letters

  for (const KeyFilter f : {KeyFilter::Digit, KeyFilter::Decimal, KeyFilter::Code})
    EXPECT_TRUE(keyFilterAccepts(f, "", ','));
}

TEST(KeyFilters, TypedAndPastedTextIsJudgedAsAWhole) {
  EXPECT_TRUE(keyFilterAcceptsEdit(KeyFilter::Digit, "12", "123", ','));
  EXPECT_FALSE(keyFilterAcceptsEdit(KeyFilter::Digit, "12", "12a", ','));
  EXPECT_TRUE(keyFilterAcceptsEdit(KeyFilter::Digit, "12", "1456782", ','));  // pasted digits
  EXPECT_FALSE(keyFilterAcceptsEdit(KeyFilter::Digit, "12", "1 000 2", ','));
}

TEST(KeyFilters, RemovingCharactersAlwaysPasses) {
  // A field filled by the program with a separator the filter does not pass.
  EXPECT_TRUE(keyFilterAcceptsEdit(KeyFilter::Decimal, "35.0", "35.", ','));  // Backspace
  EXPECT_TRUE(keyFilterAcceptsEdit(KeyFilter::Decimal, "35.0", "5.0", ','));  // Delete
  EXPECT_TRUE(keyFilterAcceptsEdit(KeyFilter::Decimal, "35.0", "30", ','));   // a selection
  EXPECT_FALSE(keyFilterAcceptsEdit(KeyFilter::Decimal, "35.0", "35.01", ','));
  // A replacement is no removal.
  EXPECT_FALSE(keyFilterAcceptsEdit(KeyFilter::Decimal, "35.0", "3x", ','));
  EXPECT_TRUE(keyFilterAcceptsEdit(KeyFilter::Code, "A-B", "", ','));
}

}  // namespace
}  // namespace qj
