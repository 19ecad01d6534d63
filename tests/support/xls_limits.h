#pragma once
// Workbook reads whose .xls files are read by the reader that the build lays out in the
// program folder (the tests do not run from there).

#include "office/workbook_reader.h"
#include "office/xls_cells.h"

namespace qj::test {

inline office::ReadLimits xlsLimits(office::ReadLimits limits = {}) {
  limits.xlsReader = std::filesystem::path(QJ_PROGRAM_DIR) / office::kXlsReaderName;
  return limits;
}

}  // namespace qj::test
