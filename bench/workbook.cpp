// Times writing and reading a workbook of the largest size the program exchanges: four
// sheets of 65000 rows of 20 text cells (a database of 200000 transit sections with their
// turns), ours against what a developer would otherwise pick, on the same rows in one run:
// libxlsxwriter's constant_memory writer, and a streaming reader on libzip and expat
// (contenders/expat_reader.h). Each phase runs in a child process of its own, so that the
// peak memory reported for it (the child's maximum resident set) is its own; its wall and
// processor time are those of the work, taken in the child before what it read is checked
// cell by cell against the rows written.
//
//   bench_workbook [rows per sheet] [runs]
//   bench_workbook [rows per sheet] --only PHASE FILE
//
// Each phase runs `runs` times (3 by default); the least wall and processor time and the
// largest peak are reported, so that other work on the machine weighs as little as it can.
// Before the timing, both readers read a small workbook with shared strings, numbers and
// cells apart, and must agree. With --only, one phase (write-ours, write-xlsxwriter,
// read-ours, read-expat) runs once in this process on FILE, for a profiler:
// `perf record -g bench_workbook 65000 --only read-ours f`.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "contenders/expat_reader.h"
#include "office/workbook_reader.h"
#include "office/xlsx_writer.h"
#include "office/zip_codec.h"

namespace {

namespace fs = std::filesystem;
using qj::office::Workbook;

constexpr int kSheets = 4, kColumns = 20;
int rowsPerSheet = 65000;
int runs = 3;

std::string sheetName(int s) {
  return "Sections (" + std::to_string(s + 1) + ")";
}

std::string cellText(int r, int c) {
  return c == 3 ? "Long street name " + std::to_string(r % 977)
                : std::to_string((r * 31 + c) % 100000);
}

// Rows handed to the file as they are made, as the program's exports do.
bool writeOurs(const fs::path& file) {
  qj::office::writeXlsx(
      [](qj::office::WorkbookOutput& out) {
        for (int s = 0; s < kSheets; ++s) {
          qj::office::SheetOutput& sheet = out.addSheet(sheetName(s));
          sheet.setBold(qj::office::rowRange(0, kColumns));
          sheet.setRowHeight(0, 55);
          for (int r = 0; r < rowsPerSheet; ++r)
            for (int c = 0; c < kColumns; ++c) sheet.set(r, c, cellText(r, c));
        }
      },
      file);
  return true;
}

// The same rows and formats, row by row in constant_memory mode (inline strings, each row
// written out as the next one starts).
bool writeXlsxwriter(const fs::path& file) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
  if (!book) return false;
  lxw_format* bold = workbook_add_format(book);
  format_set_bold(bold);
  for (int s = 0; s < kSheets; ++s) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName(s).c_str());
    worksheet_set_row(sheet, 0, 55, nullptr);
    for (int r = 0; r < rowsPerSheet; ++r)
      for (int c = 0; c < kColumns; ++c)
        worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                               cellText(r, c).c_str(), r == 0 ? bold : nullptr);
  }
  return workbook_close(book) == LXW_NO_ERROR;
}

// Every cell of the rows written, and nothing else.
bool complete(const Workbook& book) {
  if (book.sheets().size() != kSheets) return false;
  for (int s = 0; s < kSheets; ++s) {
    const qj::office::Sheet& sheet = book.sheets()[s];
    if (sheet.name() != sheetName(s) ||
        sheet.cellCount() != static_cast<size_t>(rowsPerSheet) * kColumns)
      return false;
    for (const auto& row : sheet.rows())
      for (const auto& cell : row.cells)
        if (cell.text != cellText(row.row, cell.column)) return false;
  }
  return true;
}

Workbook readOurs(const fs::path& file) {
  qj::office::WorkbookRead read = qj::office::readWorkbook(file);
  if (!read.book) throw std::runtime_error(read.detail);
  return std::move(*read.book);
}

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Run {
  bool ok = false;
  double wall = 0, cpu = 0;
  long peakMb = 0;
};

// A phase's work: the file it writes or reads, and the check of what it read (none for a
// writer).
struct Work {
  std::function<Workbook(const fs::path&)> read;
  std::function<bool(const fs::path&)> write;
};

// Runs `work` on `file` in a child process: the wall and processor time of the work alone,
// its peak memory, and whether it did it right.
Run child(const Work& work, const fs::path& file) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid < 0) return {};
  if (pid == 0) {
    close(pipeFds[0]);
    Run r;
    try {
      const auto start = std::chrono::steady_clock::now();
      const double cpu = cpuSeconds();
      if (work.write) {
        r.ok = work.write(file);
        r.wall = since(start);
        r.cpu = cpuSeconds() - cpu;
      } else {
        const Workbook book = work.read(file);
        r.wall = since(start);
        r.cpu = cpuSeconds() - cpu;
        r.ok = complete(book);
      }
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
    }
    (void)!write(pipeFds[1], &r, sizeof r);
    _exit(r.ok ? 0 : 1);
  }
  close(pipeFds[1]);
  Run r;
  if (read(pipeFds[0], &r, sizeof r) != sizeof r) r = {};
  close(pipeFds[0]);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return {};
  r.peakMb = usage.ru_maxrss / 1024;
  r.ok = r.ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return r;
}

// Runs a phase `runs` times and prints its best figures; false when a run failed.
bool phase(const char* name, const Work& work, const fs::path& file) {
  Run best;
  best.wall = best.cpu = 1e9;
  bool ok = true;
  for (int i = 0; i < runs; ++i) {
    const Run r = child(work, file);
    ok = ok && r.ok;
    best.wall = std::min(best.wall, r.wall);
    best.cpu = std::min(best.cpu, r.cpu);
    best.peakMb = std::max(best.peakMb, r.peakMb);
  }
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  std::printf("%-44s %6.2f s wall %6.2f s cpu %5ld MB peak %6.1f MB file%s\n", name, best.wall,
              best.cpu, best.peakMb, ec ? 0.0 : static_cast<double>(size) / (1 << 20),
              ok ? "" : "  FAILED");
  return ok;
}

// Both readers on a workbook with shared strings, numbers, rich text and cells apart, as
// libxlsxwriter writes it outside constant_memory mode: the same cells, or the difference.
bool readersAgree(const fs::path& file) {
  lxw_workbook* book = workbook_new(file.c_str());
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Mixed");
  lxw_format* bold = workbook_add_format(book);
  format_set_bold(bold);
  for (int r = 0; r < 200; r += 1 + r % 3) {
    worksheet_write_string(sheet, r, r % 7, ("street " + std::to_string(r % 11)).c_str(), nullptr);
    worksheet_write_number(sheet, r, 9 + r % 5, r * 2.5 - 100, nullptr);
    worksheet_write_number(sheet, r, 30, 1e20 + r, nullptr);
  }
  lxw_rich_string_tuple first = {bold, const_cast<char*>("rich ")};
  lxw_rich_string_tuple second = {nullptr, const_cast<char*>("text")};
  lxw_rich_string_tuple* rich[] = {&first, &second, nullptr};
  worksheet_write_rich_string(sheet, 250, 2, rich, nullptr);
  workbook_add_worksheet(book, "Empty");
  if (workbook_close(book) != LXW_NO_ERROR) return false;

  const Workbook ours = readOurs(file), expat = bench::readWithExpat(file);
  bool same = ours.sheets().size() == expat.sheets().size();
  for (size_t s = 0; same && s < ours.sheets().size(); ++s) {
    const qj::office::Sheet &a = ours.sheets()[s], &b = expat.sheets()[s];
    same = a.name() == b.name() && a.cellCount() == b.cellCount();
    for (const auto& row : a.rows())
      for (const auto& cell : row.cells)
        if (b.cell(row.row, cell.column) != cell.text) {
          std::printf("cell %d,%d: ours \"%.*s\", expat \"%.*s\"\n", row.row, cell.column,
                      static_cast<int>(cell.text.size()), cell.text.data(),
                      static_cast<int>(b.cell(row.row, cell.column).size()),
                      b.cell(row.row, cell.column).data());
          same = false;
        }
  }
  return same && ours.sheets()[0].cell(250, 2) == "rich text";
}

const std::pair<const char*, Work> kPhases[] = {
    {"write-ours", {nullptr, writeOurs}},
    {"write-xlsxwriter", {nullptr, writeXlsxwriter}},
    {"read-ours", {readOurs, nullptr}},
    {"read-expat", {bench::readWithExpat, nullptr}},
};

// One phase by its name in this process; -1 for an unknown name.
int only(const std::string& name, const fs::path& file) {
  for (const auto& [n, work] : kPhases) {
    if (name != n) continue;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = work.write ? work.write(file) : complete(work.read(file));
    std::printf("%s: %.2f s%s\n", n, since(start), ok ? "" : "  FAILED");
    return ok ? 0 : 1;
  }
  std::fprintf(stderr, "unknown phase %s\n", name.c_str());
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) rowsPerSheet = std::max(1, std::atoi(argv[1]));
  if (argc > 4 && std::string(argv[2]) == "--only") return only(argv[3], argv[4]);
  if (argc > 2) runs = std::max(1, std::atoi(argv[2]));
  const fs::path folder =
      fs::temp_directory_path() / ("qj-bench-workbook-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path ours = folder / "ours.xlsx", theirs = folder / "xlsxwriter.xlsx";
  std::printf("%d sheets x %d rows x %d text cells, best of %d runs; our codec: %s\n", kSheets,
              rowsPerSheet, kColumns, runs,
              std::string(qj::office::zipCodecName(qj::office::defaultZipCodec())).c_str());
  bool ok = readersAgree(folder / "mixed.xlsx");
  if (!ok) std::printf("the readers disagree on a workbook with shared strings: FAILED\n");
  const auto& [writeOurs, writeTheirs, readOurs, readExpat] = kPhases;
  ok &= phase("write, ours", writeOurs.second, ours);
  ok &= phase("write, libxlsxwriter constant_memory", writeTheirs.second, theirs);
  ok &= phase("read, ours", readOurs.second, ours);
  ok &= phase("read, libzip + expat", readExpat.second, ours);
  ok &= phase("read libxlsxwriter's file, ours", readOurs.second, theirs);
  ok &= phase("read libxlsxwriter's file, libzip + expat", readExpat.second, theirs);
  fs::remove_all(folder);
  return ok ? 0 : 1;
}
