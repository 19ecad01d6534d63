#pragma once
// Texts composed of shell texts, literals and values, resolved against the loaded shell
// when they are shown. Checks return these; windows only render them.
//
// shell(k), shortText(k) and longText(i, j) are the program's only ways to name a shell
// text, always with literal indices, so that the shipped shells can be checked for every
// index the code uses.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messages.h"
#include "text/shell_texts.h"

namespace qj {

class Text {
 public:
  Text() = default;

  // Leading and trailing blanks of the shell texts in this text are removed when resolved.
  Text trimmed() const;
  // The caption of a menu item or a button: its shell texts keep their access-key marks
  // (access_keys.h), which every other text is read without.
  Text withAccessKeys() const;
  bool empty() const { return pieces_.empty(); }

  Text& operator+=(const Text& other);
  // A literal of the source, in UTF-8.
  Text& operator+=(const char* literalUtf8);

  // Code-page-1251 text, and the same in UTF-8.
  std::string resolve(const ShellTables& shell) const;
  std::string utf8(const ShellTables& shell) const;

  friend Text shell(int k);
  friend Text shortText(int k);
  friend Text longText(int i, int j);
  friend Text lit(std::string_view utf8);
  friend Text val(std::string_view cp1251);

 private:
  enum class Kind : uint8_t { Shell, Short, Long, Fixed };
  struct Piece {
    Kind kind;
    bool trim = false;
    bool marked = false;
    int index = 0, line = 0;
    std::string fixed;  // code-page-1251 bytes of a literal or value
  };
  std::vector<Piece> pieces_;
};

Text shell(int k);
Text shortText(int k);
Text longText(int i, int j);
// A literal of the source (UTF-8, converted to code page 1251).
Text lit(std::string_view utf8);
// A value that is already code-page-1251 text: a name, a code, a file name.
Text val(std::string_view cp1251);
// An integer in decimal.
Text num(int64_t n);
// A unit in brackets after a caption (" (EUR)"); nothing for an empty unit.
Text unitInBrackets(std::string_view cp1251);

inline Text operator+(Text a, const Text& b) {
  return a += b;
}
inline Text operator+(Text a, const char* literalUtf8) {
  return a += literalUtf8;
}

// A box to show: its kind and its composed text.
struct Message {
  MessageKind kind = MessageKind::Warning;
  Text text;

  std::string utf8(const ShellTables& shell) const { return text.utf8(shell); }
};

inline Message warningMessage(Text t) {
  return {MessageKind::Warning, std::move(t)};
}
inline Message errorMessage(Text t) {
  return {MessageKind::Error, std::move(t)};
}
inline Message confirmMessage(Text t) {
  return {MessageKind::Confirm, std::move(t)};
}

// Shows the message; for a confirmation returns the answer (true for Yes), else true.
bool show(Messages& messages, const Message& message, const ShellTables& shell);
// Shows news that nobody asked for as a notice (Messages::notice).
void showNotice(Messages& messages, const Message& message, const ShellTables& shell);

}  // namespace qj
