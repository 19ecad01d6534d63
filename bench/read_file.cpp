// bench_read_file KIND PATH: reads one file from outside as the program reads it and says what
// came of it and the peak memory the process took, to measure what a reader keeps (the same
// figure as /usr/bin/time -v gives for the whole run).
//   workbook FILE    an .xlsx or .xls workbook (.xls files by the reader beside this program)
//   dbrn FILE        a road-network database
//   dbrn-view FILE   a road-network database loaded into the database wizard to be viewed, with
//                    the grids of every page filled (the pickers' window lists left out)
//   protocol FOLDER  the protocol of a program folder, loaded as at start-up
//   protocol-save FOLDER  the same, then saved back ten times, as after ten status changes
//   task FILE        a task file;  input FILE: a solver input as the optimiser reads it
//   solution FILE    a solution file (of a task on its own graph)
//   shell FILE       a language shell;  jpeg FILE: a help picture

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "dbrn/dbrn_io.h"
#include "dbrn/houses_step.h"
#include "dbrn/sections_step.h"
#include "dbrn/street_types_step.h"
#include "dbrn/streets_step.h"
#include "frame/protocol.h"
#include "office/workbook_reader.h"
#include "optimiser/task_input.h"
#include "platform/files.h"
#include "platform/jpeg.h"
#include "records/solution_file.h"
#include "records/task_file.h"
#include "text/shell_texts.h"

namespace {

namespace fs = std::filesystem;

std::string outcome(const std::optional<std::string>& bytes, const std::string& error) {
  if (!bytes) return "refused unread";
  return error.empty() ? "read" : "refused: " + error;
}

std::string readKind(const std::string& kind, const fs::path& path) {
  using namespace qj;
  if (kind == "workbook") {
    const office::WorkbookRead r = office::readWorkbook(path);
    return r.book ? "read" : "refused: " + r.detail;
  }
  if (kind == "dbrn") {
    const DbrnRead r = readDbrnFile(path);
    return r.db ? "read" : "refused: " + r.error.text;
  }
  if (kind == "dbrn-view") {
    fs::path base = path;
    WizardDbrnLoad load = loadDbrn(base.replace_extension().string(), kViewDbrn);
    if (!load.loaded) return "refused";
    DbrnWizardState s = newDbrnWizard(kViewDbrn, ',', "eng", ShellTables());
    installDbrn(s, std::move(*load.loaded));
    fillTable0(s);
    prepareStreetsPage(s);
    if (s.level <= 2) prepareSectionsPage(s, 0);
    if (s.level >= 2) prepareHousesPage(s);
    return "viewed, " + std::to_string(s.table1.rows() + s.table4.rows()) +
           " rows of sections and houses";
  }
  if (kind == "protocol" || kind == "protocol-save") {
    AppState state;
    state.folder = std::make_unique<ProgramFolder>(path);
    size_t messages = loadProtocol(state).size();
    for (int i = 0; kind == "protocol-save" && i < 10; ++i) messages += saveProtocol(state) ? 1 : 0;
    return std::to_string(state.protocol.size()) + " records, " + std::to_string(messages) +
           " messages";
  }
  if (kind == "task") {
    const auto bytes = readFile(path, kMaxTaskFileBytes);
    return outcome(bytes, bytes ? readTaskFile(*bytes).error : "");
  }
  if (kind == "input") {
    const auto bytes = readFile(path, kMaxTaskFileBytes);
    if (!bytes) return "refused unread";
    const optim::TaskInput r = optim::readTaskInput(*bytes, "BENCH1", "input", {}, ',');
    return r.failure ? "refused" : "read";
  }
  if (kind == "solution") {
    const auto bytes = readFile(path, kMaxTaskFileBytes);
    return outcome(bytes, bytes ? readSolutionFile(*bytes, false).error : "");
  }
  if (kind == "lines") {
    const auto bytes = readFile(path, kMaxTaskFileBytes);
    return outcome(bytes, bytes ? readSolutionFile(*bytes, true).error : "");
  }
  if (kind == "shell") {
    const auto bytes = readFile(path, 64 << 20);  // as the start-up reads a shell
    return outcome(bytes, bytes ? readShell(*bytes, false).error : "");
  }
  if (kind == "jpeg") {
    const auto bytes = readFile(path, 64 << 20);
    return outcome(bytes, bytes ? decodeJpeg(*bytes).error : "");
  }
  return "unknown kind " + kind;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_read_file KIND PATH\n");
    return 2;
  }
  const std::string result = readKind(argv[1], argv[2]);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%s: %s; peak memory %.1f MiB\n", argv[1], result.c_str(),
              static_cast<double>(usage.ru_maxrss) / 1024);
  return 0;
}
