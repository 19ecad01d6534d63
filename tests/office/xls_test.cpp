// Legacy .xls files: read by the program's own .xls reader in a process of its own, its
// cells handed back as a stream that is checked like any file from outside. A damaged file
// that would make the library take all memory, a reader that crashes, stalls or talks
// nonsense: each ends as a refusal of the file, and the reading process goes on.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <regex>
#include <thread>

#include "office/xls_cells.h"
#include "support/hostile_xls.h"
#include "support/sheet_rows.h"
#include "support/temp_dir.h"

namespace qj::office {
namespace {

using test::rowsOf;
using test::TempDir;
using namespace std::string_literals;

const fs::path kTwoSheets = test::kTwoSheetsXls;

// A legacy workbook of two sheets (a BIFF8 stream in a compound file) is read through the
// same entry as .xlsx files, its kind told by its first bytes, within the same limits.
TEST(XlsReader, ReadsALegacyWorkbookWhateverItsName) {
  TempDir dir;
  fs::copy_file(kTwoSheets, dir / "task.dat");
  const WorkbookRead r = readWorkbook(dir / "task.dat");
  ASSERT_TRUE(r.book) << r.detail;
  ASSERT_EQ(r.book->sheets().size(), 2u);
  EXPECT_EQ(r.book->sheets()[0].name(), "Info");
  EXPECT_EQ(r.book->sheets()[1].name(), "Points");
  EXPECT_EQ(rowsOf(r.book->sheets()[0], 3),
            (std::vector<std::string>{"Language|eng|||", "|  *|||", "|\xd3\xeb\xe8\xf6\xe0|||"}));
  EXPECT_EQ(rowsOf(r.book->sheets()[1], 4),
            (std::vector<std::string>{"12|2.5|||", "||||", "||||", "||last||"}));
  for (const auto& [limit, value] :
       // The sheets' names are text as the cells are.
       {std::pair(&ReadLimits::maxCells, 6), {&ReadLimits::maxTextBytes, 37}}) {
    ReadLimits limits;
    limits.*limit = value;
    EXPECT_EQ(readWorkbook(dir / "task.dat", limits).fault, ReadFault::TooLarge) << value;
    limits.*limit = value + 1;
    EXPECT_TRUE(readWorkbook(dir / "task.dat", limits).book) << value;
  }
}

TEST(XlsReader, AFileThatWouldTakeAllMemoryIsRefusedAndTheProgramGoesOn) {
  TempDir dir;
  dir.write("bomb.xls", test::endlessDifatXls());
  const WorkbookRead r = readWorkbook(dir / "bomb.xls");
  EXPECT_FALSE(r.book);
  // Refused by the library when its memory runs out, or ended by the limit of a sanitizer.
  EXPECT_TRUE(r.fault == ReadFault::TooLarge || r.fault == ReadFault::Damaged) << r.detail;
  // Within a smaller limit, sooner.
  ReadLimits small;
  small.xlsMemoryBytes = 64 << 20;
  EXPECT_FALSE(readWorkbook(dir / "bomb.xls", small).book);
  // The program reads on.
  EXPECT_TRUE(readWorkbook(kTwoSheets).book);
}

// Whether the process ends within a second (ended but not yet reaped by its new parent
// counts).
bool processEnds(pid_t pid) {
  for (int k = 0; k < 100; ++k) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.find(") Z ") != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Readers standing in for the real one: shell scripts that do what a reader must not.
TEST(XlsReader, ARefusalOrAFailureOfTheReaderRefusesTheFile) {
  TempDir dir;
  const std::string stream = xlsCellStream(readWorkbook(kTwoSheets).book.value());
  dir.write("good.stream", stream);
  dir.write("faulty.stream", [] {
    std::string s;
    XlsCellWriter out([&](std::string_view b) { s += b; });
    out.sheet("A");
    out.fault(ReadFault::TooLarge, "no memory");
    return s;
  }());
  const std::string good = (dir / "good.stream").string();
  const std::string left = "sleep 30 & echo $! > '" + (dir / "left.pid").string() + "'; ";
  struct Case {
    const char* what;
    std::string script;  // empty: no reader at all
    ReadFault fault;
    bool cancelled = false;
    const char* head = "#!/bin/sh\n";
  } cases[] = {
      {"no reader", "", ReadFault::ReaderMissing},
      {"a reader that cannot start", "exit 0", ReadFault::ReaderMissing, false, "#!/nowhere/sh\n"},
      {"a reader that crashes", "kill -SEGV $$", ReadFault::Damaged},
      {"a reader killed for its memory", "kill -KILL $$", ReadFault::TooLarge},
      {"a reader out of processor time", "kill -XCPU $$", ReadFault::TooLarge},
      {"a reader that stalls", "exec sleep 30", ReadFault::TooLarge},
      {"a reader that says nothing", "exit 0", ReadFault::Damaged},
      {"a reader that talks nonsense", "echo hello", ReadFault::Damaged},
      {"a stream cut short", "head -c 20 '" + good + "'", ReadFault::Damaged},
      {"a refusal", "cat '" + (dir / "faulty.stream").string() + "'", ReadFault::TooLarge},
      {"a whole stream, then a stall", "cat '" + good + "'; exec sleep 30", ReadFault::None},
      {"a whole stream, then a crash", "cat '" + good + "'; kill -SEGV $$", ReadFault::None},
      // Its error output is read and bounded, never passed on.
      {"a flood of errors, then a failure", "head -c 30000000 /dev/zero | tr '\\0' e >&2; exit 3",
       ReadFault::Damaged},
      {"a flood of errors, then a whole stream",
       "head -c 30000000 /dev/zero >&2; cat '" + good + "'", ReadFault::None},
      // What it starts ends with it, however it ends.
      {"a reader that leaves a stalled process", left + "exec sleep 30", ReadFault::TooLarge},
      {"a reader that leaves a process and a whole stream", left + "cat '" + good + "'",
       ReadFault::None},
      {"a reader that leaves a process and fails", left + "exit 3", ReadFault::Damaged},
      {"a read cancelled", left + "exec sleep 30", ReadFault::Cancelled, true},
      // The limits are set on it whether it sets them or not. The program sets them once the
      // child runs, so a loaded machine may let the script start first: it looks until they
      // stand, and stops looking after a second.
      {"a reader that sets no limits",
       "for i in $(seq 100); do grep -q 'Max cpu time *1 ' /proc/$$/limits && break; "
       "sleep 0.01; done; cat /proc/$$/limits > '" +
           (dir / "limits.txt").string() + "'",
       ReadFault::Damaged},
  };
  for (const Case& c : cases) {
    ReadLimits limits;
    limits.xlsReader = dir / "reader.sh";
    limits.xlsSeconds = 1;
    fs::remove(limits.xlsReader);
    if (!c.script.empty()) {
      dir.write("reader.sh", c.head + c.script + "\n");
      ::chmod(limits.xlsReader.c_str(), 0755);
    }
    std::atomic<bool> cancel{c.cancelled};
    const WorkCancelScope scope(cancel);
    const WorkbookRead r = readXls(kTwoSheets, limits);
    EXPECT_EQ(r.fault, c.fault) << c.what << ": " << r.detail;
    EXPECT_EQ(bool(r.book), c.fault == ReadFault::None) << c.what;
    if (r.book) {
      EXPECT_EQ(xlsCellStream(*r.book), stream) << c.what;
    }
    EXPECT_LT(r.detail.size(), 5000u) << c.what;
    if (fs::exists(dir / "left.pid")) {
      EXPECT_TRUE(processEnds(std::stoi(dir.read("left.pid")))) << c.what;
      fs::remove(dir / "left.pid");
    }
  }
  const std::string limits = dir.read("limits.txt");
  EXPECT_TRUE(std::regex_search(limits, std::regex("Max cpu time +1 +2 "))) << limits;
  EXPECT_EQ(std::regex_search(limits, std::regex("Max address space +1073741824 +1073741824 ")),
            kXlsAddressSpaceLimited);
}

// ---- the stream ----

Workbook sampleBook() {
  Workbook book;
  Sheet& a = book.addSheet("First");
  a.set(0, 0, "a");
  a.set(0, 3, std::string(300, 'x'));
  a.set(70000, kMaxColumns - 1, "last");
  book.addSheet("Empty");
  book.addSheet("").set(2, 1, "\xcf\xf0\xe8");
  return book;
}

// The stream fed in pieces of `piece` bytes.
WorkbookRead readStream(std::string_view stream, size_t piece, const ReadLimits& limits = {}) {
  XlsCellReader reader(limits, {});
  for (size_t at = 0; at < stream.size(); at += piece)
    if (!reader.take(stream.substr(at, piece))) break;
  std::optional<WorkbookRead> r = reader.outcome();
  if (!r) return {std::nullopt, ReadFault::None, "no outcome"};
  return std::move(*r);
}

TEST(XlsCellStream, ComesBackAsItWasWrittenInPiecesOfAnySize) {
  const std::string stream = xlsCellStream(sampleBook());
  for (size_t piece : {size_t{1}, size_t{2}, size_t{7}, size_t{300}, stream.size()}) {
    const WorkbookRead r = readStream(stream, piece);
    ASSERT_TRUE(r.book) << piece << r.detail;
    EXPECT_EQ(xlsCellStream(*r.book), stream) << piece;
    ASSERT_EQ(r.book->sheets().size(), 3u);
    EXPECT_EQ(r.book->sheets()[0].cell(70000, kMaxColumns - 1), "last");
    EXPECT_EQ(r.book->sheets()[2].name(), "");
  }
}

// The stream by hand: a sheet, then a cell at (row, column) with its text.
std::string sheetRecord(std::string_view name) {
  std::string s = "S";
  s += static_cast<char>(name.size() & 0xFF);
  s += static_cast<char>(name.size() >> 8);
  return s + std::string(name);
}
std::string cellRecord(uint32_t row, uint32_t column, std::string_view text,
                       size_t length = std::string::npos) {
  if (length == std::string::npos) length = text.size();
  std::string s = "C";
  for (int k = 0; k < 4; ++k) s += static_cast<char>(row >> (8 * k));
  for (int k = 0; k < 2; ++k) s += static_cast<char>(column >> (8 * k));
  for (int k = 0; k < 2; ++k) s += static_cast<char>(length >> (8 * k));
  return s + std::string(text);
}

TEST(XlsCellStream, RefusesWhatBreaksItsFormOrTheLimits) {
  const std::string start(kXlsStreamStart), sheet = start + sheetRecord("S");
  ReadLimits twoCells;
  twoCells.maxCells = 2;
  ReadLimits fiveBytes;
  fiveBytes.maxTextBytes = 5;
  const ReadLimits none;
  struct Case {
    const char* what;
    std::string stream;
    const ReadLimits& limits;
    ReadFault fault;
  } cases[] = {
      {"another start", "QJXLS2E", none, ReadFault::Damaged},
      {"an unknown record", start + "X", none, ReadFault::Damaged},
      {"a cell before any sheet", start + cellRecord(0, 0, "a") + "E", none, ReadFault::Damaged},
      {"a cell below the last row", sheet + cellRecord(kMaxRows, 0, "a") + "E", none,
       ReadFault::Damaged},
      {"a cell right of the last column", sheet + cellRecord(0, 0xFFFF, "a") + "E", none,
       ReadFault::Damaged},
      {"an empty cell", sheet + cellRecord(0, 0, "") + "E", none, ReadFault::Damaged},
      {"a cell twice", sheet + cellRecord(1, 1, "a") + cellRecord(1, 1, "b") + "E", none,
       ReadFault::Damaged},
      {"a cell left of the one before", sheet + cellRecord(1, 1, "a") + cellRecord(1, 0, "b"), none,
       ReadFault::Damaged},
      {"a row above the one before", sheet + cellRecord(1, 1, "a") + cellRecord(0, 5, "b"), none,
       ReadFault::Damaged},
      {"a refusal without a fault", start + "F\0\0\0"s, none, ReadFault::Damaged},
      {"a refusal with an unknown fault", start + "F\x09\0\0"s, none, ReadFault::Damaged},
      {"a refusal", start + "F\x04\x02\0no"s, none, ReadFault::TooLarge},
      {"three cells of two",
       sheet + cellRecord(0, 0, "a") + cellRecord(0, 1, "b") + cellRecord(0, 2, "c") + "E",
       twoCells, ReadFault::TooLarge},
      {"six bytes of five", sheet + cellRecord(0, 0, "abc") + cellRecord(0, 1, "def") + "E",
       fiveBytes, ReadFault::TooLarge},
      // Sheet names count against the text, and are no longer than an .xls file holds them.
      {"names of six bytes of five", start + sheetRecord("abc") + sheetRecord("def") + "E",
       fiveBytes, ReadFault::TooLarge},
      {"a name longer than a sheet's", start + sheetRecord(std::string(256, 'n')) + "E", none,
       ReadFault::Damaged},
      // A length that promises more than comes: no outcome until the process has ended.
      {"a text cut short", sheet + cellRecord(0, 0, "abc", 60000), none, ReadFault::None},
  };
  for (const Case& c : cases) {
    for (size_t piece : {size_t{1}, c.stream.size()}) {
      const WorkbookRead r = readStream(c.stream, piece, c.limits);
      EXPECT_FALSE(r.book) << c.what;
      EXPECT_EQ(r.fault, c.fault) << c.what << " " << piece << ": " << r.detail;
    }
  }
  const std::string fits =
      start + sheetRecord("") + cellRecord(0, 0, "a") + cellRecord(0, 1, "bcde") + "E";
  EXPECT_TRUE(readStream(fits, 1, twoCells).book);
  EXPECT_TRUE(readStream(fits, 1, fiveBytes).book);
  EXPECT_TRUE(readStream(start + sheetRecord(std::string(255, 'n')) + "E", 1).book);

  // As many sheets as an .xls file can hold, and one more.
  std::string most = start;
  for (int i = 0; i < kMaxXlsSheets; ++i) most += sheetRecord("S");
  EXPECT_TRUE(readStream(most + "E", most.size()).book);
  EXPECT_EQ(readStream(most + sheetRecord("S") + "E", most.size()).fault, ReadFault::Damaged);
}

}  // namespace
}  // namespace qj::office
