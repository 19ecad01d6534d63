// Whole .xlsx files: the zip archive, its relationships, workbook, shared strings and
// sheets. What is read comes back from the program's writer the same.

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  const auto path =
      fuzz::scratchFile("in.xlsx", std::string_view(reinterpret_cast<const char*>(data), size));
  const office::WorkbookRead read = office::readXlsx(path, fuzz::fuzzLimits());
  fuzz::require(read.book.has_value() != (read.fault != office::ReadFault::None),
                "a read gives a workbook or a fault");
  if (read.book) fuzz::requireXlsxRoundTrip(*read.book);
  return 0;
}
