#pragma once
// Reading a workbook file into memory: .xlsx by our own reader, legacy .xls through the
// freexl library; the kind is told by the file's first bytes, not by its name. What is read
// is the text of every cell, by sheet position (worksheets only, in the workbook's order):
// shared and inline strings as they stand (rich text runs joined, blanks at either end
// kept), numbers in the shortest form ("12", not "12.0"; "2.5" with a point), an absent cell
// as an empty text. Formatting is not read.
//
// A file is never trusted: sizes and positions are checked as they are read, a declared
// dimension is ignored, and a file beyond the limits is refused rather than loaded. The
// parts of an .xlsx file are scanned as they are unpacked: memory grows with the cells kept,
// not with the file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "office/open_file.h"
#include "office/workbook.h"
#include "platform/progress.h"

namespace qj::office {

namespace fs = std::filesystem;

enum class ReadFault {
  None,
  Unreadable,     // the file cannot be opened or read
  NotAWorkbook,   // neither an .xlsx nor an .xls file
  Damaged,        // parts missing, bad XML, cells outside a sheet, broken references
  TooLarge,       // beyond the limits below
  ReaderMissing,  // the program's .xls reader is missing or cannot be started
  Cancelled,      // the user stopped the read (platform/progress.h)
};

struct ReadLimits {
  uint64_t maxFileBytes = 512ull << 20;
  // The parts of an .xlsx file, and so its sheets and the relationships of each part.
  uint64_t maxParts = 0xFFFF;
  // The central directory of an .xlsx file, as any end record in the file's last 64 KiB
  // declares it: libzip holds all of it, every extra field of every entry at several times its
  // size in the file (archive_end.h). The program's own workbooks take under a kilobyte.
  uint64_t maxDirectoryBytes = 4ull << 20;
  // Each part of an .xlsx file, uncompressed: a zip bomb stops here.
  uint64_t maxPartBytes = 192ull << 20;
  // All the parts read, uncompressed together (sheets may share a part): whatever the parts
  // say, a read ends within seconds.
  uint64_t maxTotalBytes = 1ull << 30;
  // Cells holding text, over the whole workbook.
  uint64_t maxCells = 16'000'000;
  // The bytes of their texts, over the whole workbook: shared strings are counted at every
  // cell that shows them.
  uint64_t maxTextBytes = 256ull << 20;
  // The strings of the shared-string table, used or not (their texts are bounded by the
  // part's size). Within these limits a read keeps well under 1 GiB: 12 bytes a cell and
  // its text, four bytes a shared string and its text.
  uint64_t maxSharedStrings = 16'000'000;
  // .xls files are read by a program of their own (xls_cells.h), within this memory and
  // processor time; by default the one beside the running program.
  fs::path xlsReader;
  uint64_t xlsMemoryBytes = 1ull << 30;
  int xlsSeconds = 60;
};

struct WorkbookRead {
  std::optional<Workbook> book;
  ReadFault fault = ReadFault::None;
  std::string detail;  // what went wrong, in English, for logs and tests
};

// `progress` hears the rows read so far (of an unknown total). The file is opened once: its
// kind, its size and all that is unpacked of an .xlsx file are of that one open file, whatever
// is put under its name meanwhile.
WorkbookRead readWorkbook(const fs::path& path, const ReadLimits& limits = {},
                          const WorkProgress& progress = {});

// The readers of either kind, for a file already known to be of it.
WorkbookRead readXlsx(const fs::path& path, const ReadLimits& limits = {},
                      const WorkProgress& progress = {});
WorkbookRead readXls(const fs::path& path, const ReadLimits& limits = {},
                     const WorkProgress& progress = {});
// The .xlsx reader on a file already open.
WorkbookRead readXlsx(const OpenFile& file, const ReadLimits& limits = {},
                      const WorkProgress& progress = {});

// A number as the readers give it: integral values without a fraction ("12", "-3"), others
// with up to 15 significant digits and a point ("2.5", "1e+20").
std::string numberText(double x);

// A code of `digits` digits as a spreadsheet keeps it: "001" typed into a cell becomes the
// number 1, so a whole number of fewer digits gets its leading zeros back. A whole number of
// more digits (1000) is no code and comes back whole; any other text is cut to `digits`.
std::string digitCodeText(std::string_view cell, size_t digits);

// UTF-8 text as spreadsheet files escape it, unescaped: "_xHHHH_" stands for the character
// U+HHHH.
std::string unescapeText(std::string_view s);

}  // namespace qj::office
