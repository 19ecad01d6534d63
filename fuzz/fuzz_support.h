#pragma once
// What the fuzz targets share: a scratch folder of the process for readers that take a path,
// the check that stops a run on a broken round trip, and workbooks compared cell by cell.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "office/workbook.h"
#include "office/workbook_reader.h"
#include "office/xls_cells.h"
#include "office/xlsx_writer.h"

namespace qj::fuzz {

namespace fs = std::filesystem;

// A folder of this process under the temporary folder, removed when the process ends
// normally (several fuzzing processes run side by side).
inline const fs::path& scratchFolder() {
  static const fs::path folder = [] {
    const fs::path f = fs::temp_directory_path() / ("qj-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(f);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(scratchFolder(), ec);
    });
    return f;
  }();
  return folder;
}

// The file `name` in the scratch folder, holding `bytes`.
inline fs::path scratchFile(const std::string& name, std::string_view bytes) {
  const fs::path path = scratchFolder() / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// A round trip that does not give back what it was given: the run stops and libFuzzer keeps
// the input.
inline void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "round trip broken: %s\n", what);
  std::abort();
}

// What a reader gave and what it gave again from the writer's bytes are the same values, as
// == says or, where it cannot (a NaN read comes back as the same NaN), as the writer writes
// them.
template <typename T, typename Write>
bool sameValues(const T& first, const T& again, Write write) {
  return first == again || write(first) == write(again);
}

// Limits of a workbook read while fuzzing: the same code as the program's limits, reached
// with smaller inputs.
inline office::ReadLimits fuzzLimits() {
  office::ReadLimits limits;
  limits.maxPartBytes = 8 << 20;
  limits.maxCells = 1 << 20;
  limits.maxTextBytes = 8 << 20;
  // The .xls reader of this build, or another build's (QJ_FUZZ_XLS_READER): the reader runs
  // in a process of its own, and one built without the sanitizers starts many times faster.
  const char* reader = std::getenv("QJ_FUZZ_XLS_READER");
  limits.xlsReader = reader ? fs::path(reader) : fs::path(QJ_PROGRAM_DIR) / office::kXlsReaderName;
  limits.xlsMemoryBytes = 256 << 20;
  limits.xlsSeconds = 10;
  return limits;
}

// The same sheets (names by `sameName`) holding the same cells.
template <typename SameName>
bool sameCells(const office::Workbook& a, const office::Workbook& b, SameName sameName) {
  if (a.sheets().size() != b.sheets().size()) return false;
  for (size_t s = 0; s < a.sheets().size(); ++s) {
    const office::Sheet &x = a.sheets()[s], &y = b.sheets()[s];
    if (!sameName(s, x.name(), y.name()) || x.cellCount() != y.cellCount()) return false;
    for (const office::Sheet::Row row : x.rows())
      for (const office::Sheet::Cell cell : row.cells)
        if (y.cell(row.row, cell.column) != cell.text) return false;
  }
  return true;
}

// A workbook that a reader gave, written by the program's .xlsx writer and read back: the same
// cells, the sheets named as the writer names them.
inline void requireXlsxRoundTrip(const office::Workbook& book) {
  const fs::path path = scratchFolder() / "again.xlsx";
  office::writeXlsx(book, path);
  const office::WorkbookRead again = office::readWorkbook(path);
  require(again.book.has_value(), "a workbook written is not read back");
  // A workbook holds at least one sheet: the writer gives one without any its empty "Sheet1".
  office::Workbook expected = book;
  if (expected.sheets().empty()) expected.addSheet("Sheet1");
  std::vector<std::string> names;
  for (const office::Sheet& sheet : expected.sheets()) names.push_back(sheet.name());
  const std::vector<std::string> written = office::validSheetNames(names);
  require(sameCells(expected, *again.book,
                    [&](size_t s, const std::string&, const std::string& name) {
                      return written[s] == name;
                    }),
          "a workbook written is read back with other cells or names");
}

// A workbook that the .xls path gave, streamed and read back: the same cells.
inline void requireStreamRoundTrip(const office::Workbook& book, const office::ReadLimits& limits) {
  const std::string stream = office::xlsCellStream(book);
  office::XlsCellReader again(limits, {});
  again.take(stream);
  const std::optional<office::WorkbookRead> back = again.outcome();
  require(back && back->book && office::xlsCellStream(*back->book) == stream,
          "a workbook streamed is read back with other cells");
}

}  // namespace qj::fuzz
