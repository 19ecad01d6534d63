#pragma once
// The first rows of a sheet as text, for tests that compare what a reader gave.

#include <string>
#include <vector>

#include "office/workbook.h"

namespace qj::test {

// The first `rows` rows, the first five cells of each joined by '|'.
inline std::vector<std::string> rowsOf(const office::Sheet& s, int rows) {
  std::vector<std::string> out;
  for (int r = 0; r < rows; ++r) {
    out.emplace_back();
    for (int c = 0; c < 5; ++c) out.back() += (c ? "|" : "") + std::string(s.cell(r, c));
  }
  return out;
}

}  // namespace qj::test
