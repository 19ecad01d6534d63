#pragma once
// What the edits and grid cells take, and what a key or a paste makes of a field's text.
// A change is judged by the text the field would hold, so pasted text is filtered like typed
// text. A refused change leaves the text as it was and the next key is judged afresh: a
// refused character is dropped alone, never the characters typed after it.

#include <string>
#include <string_view>

#include "text/message.h"

namespace qj {

enum class KeyFilter {
  Digit,             // 0-9
  Decimal,           // 0-9 and the decimal separator (any number of them: the field's check judges)
  Code,              // a-z, A-Z, 0-9
  HouseNumber,       // 0-9, a-z and the lower-case Cyrillic letters
  HouseNumberSlash,  // as HouseNumber, and "/" and "\"
  PointHouse,        // 0-9 and the lower-case Cyrillic letters, or "-" alone
  StreetType,        // anything but digits, capitals and blanks
  Text,              // what code page 1251 holds
};

// What one field takes.
struct FieldRule {
  KeyFilter filter = KeyFilter::Text;
  // How long typing may make the text; 0: no limit. A longer text that the program put in
  // stays whole: the user may shorten it or type over it, not lengthen it.
  size_t maxLength = 0;
  bool upperCase = false;  // typed Latin letters become capitals
  char decSep = ',';
};

// How a window hands over a character that code page 1251 cannot hold: the one byte that the
// code page leaves unassigned, which no filter takes.
inline constexpr char kForeignChar = '\x98';

// True when every character of the code-page-1251 text is one the filter takes.
bool keyFilterAccepts(KeyFilter filter, std::string_view text, char decSep);

// What a field holds after the user changed `before` into `proposed` (a key, a paste, a drop,
// a deletion). A change that only removes characters is always taken, even from a text
// that holds characters the filter refuses (the program's own). Otherwise the change must keep
// within the length, and the text must pass the filter whole, or, where the text before did
// not (the program put it in), the characters the change brings in must; a key that types "," or
// "." into a decimal field enters the separator, and typed Latin letters of an upper-case field
// become capitals. A refused change is refused whole and the field keeps `before`.
struct FieldEdit {
  bool taken = false;
  std::string text;
};
FieldEdit judgeEdit(const FieldRule& rule, std::string_view before, std::string_view proposed);

// The character that a key typing `c` enters into a field of `rule`: the field's separator for
// either separator key of a decimal field, a capital for a Latin letter of an upper-case field.
char typedCharacter(const FieldRule& rule, char c);

// What a field that refused a change tells the user it takes.
Text keyFilterTip(const FieldRule& rule);
// What a grid cell that takes no typing tells the user who types into it.
Text noTypingTip();

}  // namespace qj
