// The stream of the .xls reading process as the program reads it, in pieces (of a size the
// input's first byte gives): any bytes at all, as a failing or hostile process could write
// them. A workbook read is streamed again the same.

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  if (size == 0) return 0;
  office::ReadLimits limits = fuzz::fuzzLimits();
  limits.maxCells = 1000;
  limits.maxTextBytes = 64 << 10;
  const size_t piece = 1 + data[0] % 32;
  const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
  office::XlsCellReader reader(limits, {});
  for (size_t at = 0; at < stream.size(); at += piece)
    if (!reader.take(stream.substr(at, piece))) break;
  const std::optional<office::WorkbookRead> read = reader.outcome();
  if (read && read->book) fuzz::requireStreamRoundTrip(*read->book, limits);
  return 0;
}
