#pragma once
// Fitting a caption into a word-wrapping label of fixed width: the label breaks lines only
// at blanks, so a hyphen and a blank (or just a blank) are inserted wherever a line would
// reach the label's width.

#include <functional>
#include <string>
#include <string_view>

namespace qj {

// The width in pixels of one unwrapped line of code-page-1251 text, in the label's font.
using TextMeasure = std::function<int(std::string_view)>;

// A break falls before the character that makes the line reach width - 2 (the last
// character only when its line would exceed it); before or after a blank the inserted
// separator is " ", otherwise "- ". A text that fits, and any text when width is 2 or
// less, comes back unchanged. A line never breaks before its first character.
std::string hyphenateToWidth(std::string_view text, int width, const TextMeasure& measure);

}  // namespace qj
