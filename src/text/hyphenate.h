#pragma once
// Fitting a caption into a word-wrapping label of fixed width: lines end between words where
// they can, and only a word wider than the whole label is broken inside, with a hyphen and a
// blank at which the label wraps.

#include <functional>
#include <string>
#include <string_view>

namespace qj {

// The width in pixels of one unwrapped line of code-page-1251 text, in the label's font.
using TextMeasure = std::function<int(std::string_view)>;

// A line is full when the next character would make it reach width - 2 (the text's last
// character only when it would exceed it). A full line that holds a blank ends at its last
// blank: the blank becomes a line break ("\n") and the blanks after it are dropped. A full line
// without a blank is a word wider than the label: it breaks before that character with "- ".
// A text that fits, and any text when width is 2 or less, comes back unchanged; a line always
// keeps at least one character.
std::string hyphenateToWidth(std::string_view text, int width, const TextMeasure& measure);

}  // namespace qj
