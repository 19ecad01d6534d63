// The task protocol. A protocol read is written again and read back the same.

#include "fuzz_support.h"
#include "records/protocol_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  const ProtocolFileContent read =
      readProtocolFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read.headerMatches) return 0;
  const ProtocolFileContent again = readProtocolFile(writeProtocolFile(read.records));
  fuzz::require(
      again.headerMatches && fuzz::sameValues(read.records, again.records, writeProtocolFile),
      "a protocol written is read back otherwise");
  return 0;
}
