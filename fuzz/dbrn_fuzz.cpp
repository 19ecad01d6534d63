// Road-network database files: the whole-file reader and the header alone. A database read
// is written again and read back the same.

#include "fuzz_support.h"
#include "records/dbrn_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  readDbrnHeaderOnly(bytes);
  const DbrnRead read = readDbrn(bytes);
  if (!read.db) return 0;
  const DbrnRead again = readDbrn(writeDbrn(*read.db));
  fuzz::require(again.db && *again.db == *read.db, "a database written is read back otherwise");
  return 0;
}
