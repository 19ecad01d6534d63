#pragma once
// The workbook model, reader and writer as the program had them before it streamed its
// workbooks (a tree per sheet part, libxlsxwriter), kept only so that the benchmark measures
// old and new in one run.
// Writing a workbook as an .xlsx file. Every cell is written as text; a cell of a formatted
// range that holds no text is written blank so that it still shows its format. The file
// appears whole under its name or not at all.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "legacy/workbook.h"

namespace qj::legacy {

namespace fs = std::filesystem;

// A workbook that could not be written; what() says why, in English.
class OfficeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes `book` to `path`, replacing a file of that name. Throws OfficeError.
void writeXlsx(const Workbook& book, const fs::path& path);

// Writes `book` into `folder` under the first free name of "<stem>.xlsx", "<stem> (2).xlsx",
// "<stem> (3).xlsx" ..., never replacing a file, and returns its path. Throws OfficeError.
fs::path writeXlsxUnique(const Workbook& book, const fs::path& folder, std::string_view stem);

// Workbooks with more cells than this are written row by row with little memory.
inline constexpr size_t kConstantMemoryCells = 200000;

}  // namespace qj::legacy
