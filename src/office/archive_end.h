#pragma once
// The end of a zip archive, checked before libzip is given the file, and the file as libzip
// then sees it.
//
// libzip reads the whole central directory when it opens an archive and keeps every entry and
// every extra field of it, at many times their size in the file, before it can be asked
// anything. It looks for the end record in the file's last 65,578 bytes, reads a ZIP64 locator
// in the 20 bytes before any end record it finds, and compares the directories of several end
// records by reading the local header of every entry they list, keeping those headers' extra
// fields too. So the check takes every end record there as libzip could: the file must have
// exactly one, its comment must end where the file ends (the program's exports and the usual
// writers end there), and the directory it declares must be within the limits and filled
// exactly by whole entries. libzip is then handed the bytes the check read, wherever it read
// them, and the rest from the same open file.

#include <zip.h>

#include <cstdint>
#include <string>
#include <vector>

#include "office/open_file.h"
#include "office/workbook_reader.h"

namespace qj::office {

// Bytes of the file as the check read them, from `at` on.
struct CheckedBytes {
  uint64_t at = 0;
  std::string bytes;
};

struct ArchiveEnd {
  ReadFault fault = ReadFault::None;
  std::string detail;  // why it is refused
  // The file's last bytes, the ZIP64 end record and the central directory, as checked.
  std::vector<CheckedBytes> checked;
};

// A file whose last bytes hold no end record is not refused here: libzip tells it is no archive.
ArchiveEnd checkArchiveEnd(const OpenFile& file, const ReadLimits& limits);

// A libzip source of the open file, at the size it had when opened, whose bytes are `checked`
// wherever those say; it reads a descriptor of its own. Nothing, with `error` set, when it
// cannot be made.
zip_source_t* checkedSource(const OpenFile& file, std::vector<CheckedBytes> checked,
                            zip_error_t* error);

}  // namespace qj::office
