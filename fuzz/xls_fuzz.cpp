// Legacy .xls files through the whole path: the reading process on the file, its stream read
// back and checked. What is read is streamed again the same, and comes back from the
// program's .xlsx writer the same.

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  const auto path =
      fuzz::scratchFile("in.xls", std::string_view(reinterpret_cast<const char*>(data), size));
  const office::ReadLimits limits = fuzz::fuzzLimits();
  const office::WorkbookRead read = office::readXls(path, limits);
  fuzz::require(read.book.has_value() != (read.fault != office::ReadFault::None),
                "a read gives a workbook or a fault");
  if (!read.book) return 0;
  fuzz::requireStreamRoundTrip(*read.book, limits);
  fuzz::requireXlsxRoundTrip(*read.book);
  return 0;
}
