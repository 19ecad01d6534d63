#pragma once
// The workbook reader a developer would otherwise write: libzip unpacks each part and expat
// parses it as it comes, cell by cell into the same in-memory workbook as our reader fills.
// It reads what our reader reads (worksheets in the workbook's order, found through the
// relationships; shared strings, inline strings, formula strings and numbers; cells placed
// by their reference, or after the one before), and gives the same texts.

#include <filesystem>
#include <stdexcept>

#include "office/workbook.h"

namespace bench {

struct ExpatError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws ExpatError for a file it cannot read.
qj::office::Workbook readWithExpat(const std::filesystem::path& file);

}  // namespace bench
