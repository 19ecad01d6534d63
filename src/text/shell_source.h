#pragma once
// The text source of a language shell: UTF-8, one entry per line, compiled at build time
// into the binary shell file. Lines:
//
//   # comment                       (blank lines are ignored too)
//   language = eng English
//   short.<k> = text                (up to 15 characters)
//   note.<k> = text                 (shells with notes only: the note of short text k)
//   shell.<k> = text                (up to 255 characters)
//   long.<i>.<j> = text             (line j of long text i, up to 255 characters)
//
// The text is everything after the "=" and its blanks, up to the end of the line without
// trailing blanks. A text that must keep leading or trailing blanks is written between
// double quotes; the outer quotes are removed and nothing else is escaped. Indices that
// have no entry are empty texts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/shell_texts.h"

namespace qj {

struct ShellSource {
  ShellTables tables;              // code-page-1251 texts
  std::vector<std::string> notes;  // one per short text (empty in shells without notes)
};

struct ShellSourceError {
  int line = 0;         // 1-based; 0 when the fault belongs to the whole source
  std::string message;  // UTF-8
};

struct ShellSourceResult {
  std::optional<ShellSource> source;     // set only when there are no errors
  std::vector<ShellSourceError> errors;  // in line order
};

// Parses a shell source for the language `code` (the file's extension: "eng", "rus").
// The shell carries notes when the code is a Russian one. Refused: a malformed line, an
// unknown key, an index given twice, a text that code page 1251 cannot hold, a text over
// its slot, a note in a shell without notes, a short text without its note in a shell
// with notes, a missing language line and a language name that does not begin with
// the code (the language chooser takes the code from the name's first characters).
ShellSourceResult parseShellSource(std::string_view utf8, std::string_view code);

// Upper bound of an index in a source, so a typo cannot make the tables huge.
inline constexpr int kMaxSourceIndex = 9999;

}  // namespace qj
