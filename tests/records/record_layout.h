#pragma once
// Layout tables for the record tests: each field of a record at its offset.

#include <gtest/gtest.h>

#include <algorithm>
#include <variant>
#include <vector>

#include "support/bytes_at.h"

namespace qj::test {

// One field of a record layout: at its offset an int32, a double, a short string (length
// byte first) or a run of zero bytes.
struct Zeros {
  size_t count;
  bool operator==(const Zeros&) const = default;
};
struct Field {
  size_t at;
  std::variant<int32_t, double, const char*, Zeros> value;
};
// What the record holds at `at`, read as the field's kind.
struct FieldReader {
  const std::string& b;
  size_t at;
  int32_t operator()(int32_t) const { return i32At(b, at); }
  double operator()(double) const { return f64At(b, at); }
  std::string operator()(const char*) const { return strAt(b, at); }
  Zeros operator()(Zeros z) const {
    return {std::min(z.count, b.find_first_not_of('\0', at) - at)};
  }
};

// Checks a layout table against the bytes of a record that starts at `base`.
inline void expectFields(const std::string& b, const std::vector<Field>& fields, size_t base = 0) {
  for (const Field& f : fields)
    std::visit(
        [&](auto v) {
          EXPECT_EQ((FieldReader{b, base + f.at}(v)), v) << "at " << f.at;
        },
        f.value);
}

}  // namespace qj::test
