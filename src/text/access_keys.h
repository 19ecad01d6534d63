#pragma once
// Captions of menu items and buttons mark their access key in the shell: "&" stands before the
// character that chooses the item with Alt, "&&" stands for one ampersand. The marks belong to
// those captions alone; wherever else the same text is shown, printed or exported it is read
// without them (ShellTables::shell).

#include <string>
#include <string_view>

namespace qj {

// The caption as plain text: "&Next" gives "Next", "R&&D" gives "R&D".
std::string withoutAccessKeys(std::string_view caption);

// The character the caption marks, folded to upper case (code page 1251), or 0 when it marks
// none. The first mark counts, as it does for the windows.
char accessKey(std::string_view caption);

}  // namespace qj
