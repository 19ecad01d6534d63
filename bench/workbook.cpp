// Times writing and reading back a workbook of the largest size the program exchanges: four
// sheets of 65000 rows of 20 text cells (a database of 200000 transit sections with their
// turns), and reports the peak memory of the process after each step.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "office/workbook_reader.h"
#include "office/xlsx_writer.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long peakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  using qj::office::Workbook;
  const fs::path folder = fs::temp_directory_path() / "qj-bench-workbook";
  fs::create_directories(folder);
  const fs::path file = folder / "sections.xlsx";

  Workbook book;
  constexpr int kSheets = 4, kRows = 65000, kColumns = 20;
  for (int s = 0; s < kSheets; ++s) {
    auto& sheet = book.addSheet("Sections (" + std::to_string(s + 1) + ")");
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c)
        sheet.set(r, c,
                  c == 3 ? "Long street name " + std::to_string(r % 977)
                         : std::to_string((r * 31 + c) % 100000));
    sheet.setBold(qj::office::rowRange(0, kColumns));
    sheet.setRowHeight(0, 55);
  }
  std::printf("laid out: %ld MB peak\n", peakMegabytes());

  auto start = std::chrono::steady_clock::now();
  qj::office::writeXlsx(book, file);
  std::printf("write: %.2f s, %.1f MB file, %ld MB peak\n", seconds(start),
              static_cast<double>(fs::file_size(file)) / (1 << 20), peakMegabytes());

  book = Workbook();  // the reader's own memory is measured below
  start = std::chrono::steady_clock::now();
  const qj::office::WorkbookRead read = qj::office::readWorkbook(file);
  std::printf("read: %.2f s, %zu sheets, %s, %ld MB peak\n", seconds(start),
              read.book ? read.book->sheets().size() : 0, read.book ? "ok" : read.detail.c_str(),
              peakMegabytes());
  fs::remove_all(folder);
  return read.book ? 0 : 1;
}
