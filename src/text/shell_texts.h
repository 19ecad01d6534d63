#pragma once
// The language shell: the three text tables that hold nearly every visible text, and the
// binary shell file they are loaded from. Texts are code-page-1251 bytes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qj {

struct ShellTables {
  std::string languageName;
  std::vector<std::string> shortTexts;              // up to 15 characters each
  std::vector<std::string> shellTexts;              // up to 255 characters each
  std::vector<std::vector<std::string>> longTexts;  // lines of up to 255 characters

  // The one lookup of shell texts, read without the access-key marks of the captions
  // (access_keys.h). An index past the end of a table gives an empty text.
  std::string shell(int k) const;
  // A shell text as the shell holds it, its access-key mark included: the caption of a menu
  // item or a button.
  const std::string& markedShell(int k) const;
  const std::string& shortText(int k) const;
  const std::string& longText(int i, int j) const;
  int longTextLines(int i) const;
};

// Slot capacities of the shell file.
inline constexpr int kShortTextMax = 15;
inline constexpr int kNoteMax = 70;
inline constexpr int kShellTextMax = 255;
inline constexpr int kLanguageNameMax = 24;

// A Russian shell carries a note before each short text. Its language code is "rus" or
// "Рус" with that exact letter case (code page 1251 bytes).
bool isRussianShell(std::string_view langCode);

struct ShellReadResult {
  std::optional<ShellTables> tables;
  std::string error;  // UTF-8, set when the file is refused
};

// Reads a whole shell file. Counts that need more bytes than the file holds and negative
// lengths refuse the shell; a text longer than its slot is cut to the slot; a file that ends
// inside the texts leaves the rest of the entries empty.
ShellReadResult readShell(std::string_view bytes, bool russian);

// The language name from the first 25 bytes of a shell file (empty when too short).
std::string readLanguageName(std::string_view bytes);

// Writes a shell file; `notes` (Russian shells only) holds one note per short text.
std::string writeShell(const ShellTables& tables, bool russian,
                       const std::vector<std::string>& notes);

}  // namespace qj
