#pragma once
// Code page 1251 is the text encoding of every record, grid and shell text; one byte is
// one character. UTF-8 appears only at the edges (Qt, source literals, file names).

#include <string>
#include <string_view>

namespace qj::cp1251 {

// Every byte becomes its character; the one unassigned byte (0x98) becomes U+FFFD.
std::string toUtf8(std::string_view text);

// Characters that code page 1251 cannot hold become `unheld`, and *ok is set false.
// Malformed UTF-8 is treated the same way.
std::string fromUtf8(std::string_view utf8, bool* ok = nullptr, char unheld = '?');

// True when every character of the UTF-8 text has a code-page-1251 byte.
bool representable(std::string_view utf8);

// ASCII and Cyrillic letters folded to upper case (а..я, ё to А..Я, Ё).
char upper(char c);
std::string upper(std::string_view text);

}  // namespace qj::cp1251
