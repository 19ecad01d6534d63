#pragma once
// Language shells for tests: every text names its own index, so a composed message shows
// exactly which texts it used ("S706 \"x\" S296. S691.").

#include <string>
#include <vector>

#include "frame/shell_texts.h"
#include "records/cp1251.h"
#include "support/temp_dir.h"

namespace qj::test {

inline constexpr int kMarkedShellTexts = 1000;

// Shell text k is "S<k>", short text k "s<k>", line j of long text i "L<i>.<j>".
inline ShellTables markedShell(const std::string& languageName = "eng English") {
  ShellTables t;
  t.languageName = languageName;
  for (int k = 0; k < 63; ++k) t.shortTexts.push_back("s" + std::to_string(k));
  for (int k = 0; k < kMarkedShellTexts; ++k) t.shellTexts.push_back("S" + std::to_string(k));
  for (int i = 0; i < 8; ++i) {
    t.longTexts.emplace_back();
    for (int j = 0; j < 4; ++j)
      t.longTexts.back().push_back("L" + std::to_string(i) + "." + std::to_string(j));
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
      notes.push_back("note " + std::to_string(k));
  root.write("Shells/Shell (QJ 1.6)." + extensionUtf8, writeShell(tables, russian, notes));
}

}  // namespace qj::test
