#pragma once
// What number and code edits accept. The rules judge the text an edit would hold after a
// key or a paste, so pasted text is filtered like typed text.

#include <string_view>

namespace qj {

enum class KeyFilter {
  Digit,    // 0-9
  Decimal,  // 0-9 and the decimal separator (any number of them: the field's check judges)
  Code,     // a-z, A-Z, 0-9
};

// True when every character of the code-page-1251 text is allowed.
bool keyFilterAccepts(KeyFilter filter, std::string_view text, char decSep);

// An edit from `before` to `after` passes when the result holds only allowed characters,
// or when it only removed characters (Backspace and Delete always work, even on a text
// that was filled with other characters).
bool keyFilterAcceptsEdit(KeyFilter filter, std::string_view before, std::string_view after,
                          char decSep);

}  // namespace qj
