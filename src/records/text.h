#pragma once
// Small helpers on code-page-1251 byte strings.

#include <string>
#include <string_view>

namespace qj {

// Leading and trailing blanks and control characters removed.
std::string_view trim(std::string_view s);
std::string trimmed(std::string_view s);
std::string trimRight(std::string_view s);
bool startsWith(std::string_view s, std::string_view prefix);
// ASCII letters without regard to case; other bytes exactly.
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);
// The text cut to at most n bytes (characters of code page 1251).
std::string cut(std::string_view s, size_t n);
// The trimmed text cut to at most n bytes and trimmed again: a cut just after a blank leaves
// none at the end, so the field reads the same when it is written out and read back.
std::string cutTrimmed(std::string_view s, size_t n);
// Left-padded with `fill` to `width`.
std::string padLeft(std::string_view s, size_t width, char fill);

// Character classes of the key filters, on characters and on whole texts.
inline bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool allDigits(std::string_view text);
// Lower-case Cyrillic letters а..я of code page 1251 (bytes 224..255).
bool isCyrillicLower(char c);

}  // namespace qj
