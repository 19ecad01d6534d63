#pragma once
// Reading and patching fields of a written record at a byte offset, for layout tests.

#include <cstdint>
#include <cstring>
#include <string>

namespace qj::test {

inline int32_t i32At(const std::string& b, size_t at) {
  int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
inline double f64At(const std::string& b, size_t at) {
  double v;
  std::memcpy(&v, b.data() + at, 8);
  return v;
}
// The text of the short string whose length byte is at `at`.
inline std::string strAt(const std::string& b, size_t at) {
  return b.substr(at + 1, static_cast<uint8_t>(b[at]));
}
inline void putI32(std::string& b, size_t at, int32_t v) {
  std::memcpy(b.data() + at, &v, 4);
}

}  // namespace qj::test
