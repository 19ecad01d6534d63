#include "text/key_filters.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

using K = KeyFilter;

// Each row: the filter, the decimal separator, the text before and after an edit, and whether
// the filter lets the edit through. Typed and pasted text is judged as a whole; removing
// characters always passes, even a separator the filter would not let in.
TEST(KeyFilters, EachKindPassesItsCharactersAndEveryRemoval) {
  const std::tuple<K, char, const char*, const char*, bool> cases[] = {
      // clang-format off
      {K::Digit, ',', "", "0123456789", true}, {K::Digit, ',', "", "12a", false},
      {K::Digit, ',', "", "1,5", false}, {K::Digit, ',', "", "-1", false},
      {K::Decimal, ',', "", "35,0", true}, {K::Decimal, ',', "", "35.0", false},
      {K::Decimal, '.', "", "35.0", true}, {K::Decimal, '.', "", "35,0", false},
      {K::Decimal, ',', "", "1,2,3", true}, {K::Code, ',', "", "AZaz09", true},
      {K::Code, ',', "", "AB-12", false}, {K::Code, ',', "", "AB 12", false},
      {K::Code, ',', "", "\xC0\xC1", false}, {K::Digit, ',', "12", "1456782", true},
      {K::Digit, ',', "12", "1 000 2", false}, {K::Decimal, ',', "35.0", "35.", true},
      {K::Decimal, ',', "35.0", "5.0", true}, {K::Decimal, ',', "35.0", "30", true},
      {K::Decimal, ',', "35.0", "35.01", false}, {K::Decimal, ',', "35.0", "3x", false},
      {K::Code, ',', "A-B", "", true}, {K::Code, ',', "A-B", "A-B", false},
      // clang-format on
  };
  for (const auto& [filter, sep, before, after, passes] : cases) {
    EXPECT_EQ(keyFilterAcceptsEdit(filter, before, after, sep), passes)
        << before << " -> " << after;
    EXPECT_TRUE(*before || keyFilterAccepts(filter, after, sep) == passes) << after;
  }
}

}  // namespace
}  // namespace qj
