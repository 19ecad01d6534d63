// Times writing and reading back a workbook of the largest size the program exchanges: four
// sheets of 65000 rows of 20 text cells (a database of 200000 transit sections with their
// turns), with the streaming writer and reader against the tree-based ones they replaced
// (bench/legacy/), in one run. Each phase runs in a child process of its own, so that the
// peak memory reported for it (the child's maximum resident set) is its own.
//
//   bench_workbook [rows per sheet] [runs]
//   bench_workbook [rows per sheet] --only PHASE FILE
//
// Each phase runs `runs` times (3 by default); the least wall and processor time and the
// largest peak are reported, so that other work on the machine weighs as little as it can.
// With --only, one phase (write-old, write-new, read-old, read-new) runs once in this
// process on FILE, for a profiler: `perf record -g bench_workbook 65000 --only read-new f`.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "legacy/workbook_reader.h"
#include "legacy/xlsx_writer.h"
#include "office/workbook_reader.h"
#include "office/xlsx_writer.h"

namespace {

namespace fs = std::filesystem;

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

// The whole workbook laid out in memory first, as the old export did, and written by the
// old writer.
bool writeOld(const fs::path& file) {
  qj::legacy::Workbook book;
  for (int s = 0; s < kSheets; ++s) {
    auto& sheet = book.addSheet(sheetName(s));
    for (int r = 0; r < rowsPerSheet; ++r)
      for (int c = 0; c < kColumns; ++c) sheet.set(r, c, cellText(r, c));
    sheet.setBold(qj::legacy::rowRange(0, kColumns));
    sheet.setRowHeight(0, 55);
  }
  qj::legacy::writeXlsx(book, file);
  return true;
}

// Rows handed to the file as they are made, as the export does now.
bool writeNew(const fs::path& file) {
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

template <typename Book>
bool complete(const Book& book) {
  if (book.sheets().size() != kSheets) return false;
  for (const auto& sheet : book.sheets())
    if (sheet.cellCount() != static_cast<size_t>(rowsPerSheet) * kColumns) return false;
  return book.sheets()[3].cell(rowsPerSheet - 1, 3) == cellText(rowsPerSheet - 1, 3);
}

bool readOld(const fs::path& file) {
  const qj::legacy::WorkbookRead read = qj::legacy::readWorkbook(file);
  return read.book && complete(*read.book);
}

bool readNew(const fs::path& file) {
  const qj::office::WorkbookRead read = qj::office::readWorkbook(file);
  return read.book && complete(*read.book);
}

double cpuSeconds(const rusage& u) {
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Run {
  bool ok = false;
  double wall = 0, cpu = 0;
  long peakMb = 0;
};

// Runs `work` in a child process: its wall time, its processor time and its peak memory.
Run child(const std::function<bool()>& work) {
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return {};
  if (pid == 0) {
    bool ok = false;
    try {
      ok = work();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
    }
    std::fflush(stdout);
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return {};
  Run r;
  r.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.cpu = cpuSeconds(usage);
  r.peakMb = usage.ru_maxrss / 1024;
  r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return r;
}

// Runs a phase `runs` times and prints its best figures; false when a run failed.
bool phase(const char* name, const std::function<bool()>& work, const fs::path& file) {
  Run best;
  best.wall = best.cpu = 1e9;
  bool ok = true;
  for (int i = 0; i < runs; ++i) {
    const Run r = child(work);
    ok = ok && r.ok;
    best.wall = std::min(best.wall, r.wall);
    best.cpu = std::min(best.cpu, r.cpu);
    best.peakMb = std::max(best.peakMb, r.peakMb);
  }
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  std::printf("%-26s %7.2f s wall %7.2f s cpu %6ld MB peak  %6.1f MB file%s\n", name, best.wall,
              best.cpu, best.peakMb, ec ? 0.0 : static_cast<double>(size) / (1 << 20),
              ok ? "" : "  FAILED");
  return ok;
}

// One phase by its name in this process; -1 for an unknown name.
int only(const std::string& name, const fs::path& file) {
  const std::pair<const char*, std::function<bool(const fs::path&)>> phases[] = {
      {"write-old", writeOld},
      {"write-new", writeNew},
      {"read-old", readOld},
      {"read-new", readNew}};
  for (const auto& [n, work] : phases) {
    if (name != n) continue;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = work(file);
    std::printf("%s: %.2f s%s\n", n,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                ok ? "" : "  FAILED");
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
  const fs::path oldFile = folder / "old.xlsx", newFile = folder / "new.xlsx";
  std::printf("%d sheets x %d rows x %d text cells, best of %d runs\n", kSheets, rowsPerSheet,
              kColumns, runs);
  bool ok = true;
  ok &= phase(
      "write, before (tree)", [&] { return writeOld(oldFile); }, oldFile);
  ok &= phase(
      "write, after (streamed)", [&] { return writeNew(newFile); }, newFile);
  ok &= phase(
      "read, before (tree)", [&] { return readOld(newFile); }, newFile);
  ok &= phase(
      "read, after (streamed)", [&] { return readNew(newFile); }, newFile);
  ok &= phase(
      "read old file, before", [&] { return readOld(oldFile); }, oldFile);
  ok &= phase(
      "read old file, after", [&] { return readNew(oldFile); }, oldFile);
  fs::remove_all(folder);
  return ok ? 0 : 1;
}
