// Language shells, English and Russian (which carry a note before each short text), and the
// language name at their start. A shell read is written again and read back the same.

#include "fuzz_support.h"
#include "text/shell_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  readLanguageName(bytes);
  for (const bool russian : {false, true}) {
    const ShellReadResult read = readShell(bytes, russian);
    if (!read.tables) continue;
    const ShellTables& t = *read.tables;
    const ShellReadResult again = readShell(writeShell(t, russian, {}), russian);
    fuzz::require(again.tables && again.tables->languageName == t.languageName &&
                      again.tables->shortTexts == t.shortTexts &&
                      again.tables->shellTexts == t.shellTexts &&
                      again.tables->longTexts == t.longTexts,
                  "a shell written is read back otherwise");
  }
  return 0;
}
