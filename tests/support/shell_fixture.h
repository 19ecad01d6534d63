#pragma once
// Language shells for tests: every text names its own index, so a composed message shows
// exactly which texts it used ("S706 \"x\" S296. S691.").

#include <string>
#include <vector>

#include "platform/files.h"
#include "records/cp1251.h"
#include "support/temp_dir.h"
#include "text/shell_texts.h"

namespace qj::test {

inline constexpr int kMarkedShellTexts = 1360;

// A mark and a number; built by appending, which GCC 12 does not misread as an overlapping
// copy the way it does "S" + std::to_string(k).
inline std::string marked(const char* mark, int k) {
  std::string s = mark;
  s += std::to_string(k);
  return s;
}

// Shell text k is "S<k>", short text k "s<k>", line j of long text i "L<i>.<j>".
inline ShellTables markedShell(const std::string& languageName = "eng English") {
  ShellTables t;
  t.languageName = languageName;
  for (int k = 0; k < 63; ++k) t.shortTexts.push_back(marked("s", k));
  for (int k = 0; k < kMarkedShellTexts; ++k) t.shellTexts.push_back(marked("S", k));
  for (int i = 0; i < 8; ++i) {
    t.longTexts.emplace_back();
    for (int j = 0; j < 4; ++j) t.longTexts.back().push_back(marked("L", i) + marked(".", j));
  }
  return t;
}

// Writes Shells/"Shell (QJ 1.6)." + extension (UTF-8) under the program folder; a Russian
// shell carries a note before each short text.
inline void writeShellFile(const TempDir& root, const std::string& extensionUtf8,
                           const ShellTables& tables, bool russian = false) {
  std::vector<std::string> notes;
  if (russian)
    for (size_t k = 0; k < tables.shortTexts.size(); ++k)
      notes.push_back(marked("note ", static_cast<int>(k)));
  root.write("Shells/Shell (QJ 1.6)." + extensionUtf8, writeShell(tables, russian, notes));
}

// The shell the build ships for a language code ("eng", "rus"), to read messages as the user
// reads them.
inline ShellTables shippedShell(const std::string& code) {
  const auto bytes =
      readFile(std::filesystem::path(QJ_PROGRAM_DIR) / "Shells" / ("Shell (QJ 1.6)." + code));
  return readShell(bytes.value_or(""), isRussianShell(code)).tables.value_or(ShellTables{});
}

}  // namespace qj::test
