// Road-network database files: the whole-file reader and the header alone. A database read
// is written again and read back the same, and its records weighed by themselves never weigh
// more than the file's counts and length promised.

#include "fuzz_support.h"
#include "records/dbrn_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  readDbrnHeaderOnly(bytes);
  const DbrnRead read = readDbrn(bytes);
  if (!read.db) return 0;
  const std::string written = writeDbrn(*read.db);
  fuzz::require(dbrnFileBytes(*read.db) == written.size(), "a database is weighed by other bytes");
  fuzz::require(dbrnKeptBytesBound(read.db->header, written.size()) <=
                    dbrnKeptBytesBound(read.db->header, size),
                "the records read weigh more than the file promised");
  const DbrnRead again = readDbrn(written);
  fuzz::require(again.db && *again.db == *read.db, "a database written is read back otherwise");
  return 0;
}
