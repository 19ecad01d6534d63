#pragma once
// A legacy .xls file that makes the library that reads such files allocate without end.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qj::test {

inline const std::filesystem::path kTwoSheetsXls =
    std::filesystem::path(QJ_SOURCE_DIR) / "tests/office/two_sheets.xls";

// The compound-file header of the two-sheet sample made to chain its DIFAT sectors without
// end: a huge DIFAT sector count, the first DIFAT sector and the MiniFAT count zeroed, and
// sector 0 (the FAT) zeroed, so that the DIFAT chain runs through sector 0 again and again.
// The library allocates for every lap: gigabytes within seconds.
inline std::string endlessDifatXls() {
  std::ifstream in(kTwoSheetsXls, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), {}};
  const uint32_t count = 0x7FFFFFFF;
  std::memcpy(&bytes[0x48], &count, 4);
  std::memset(&bytes[0x40], 0, 8);
  std::memset(&bytes[0x200], 0, 0x200);
  return bytes;
}

}  // namespace qj::test
