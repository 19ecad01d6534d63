#pragma once
// The language of the loaded shell for what Qt writes itself: the standard buttons of message
// boxes (Yes, No, OK, Cancel) and the dates the windows show.

#include <string>

namespace qj::ui {

// Takes Qt's own texts and the date format in the language of the shell's code ("eng",
// "rus"); the user's regional settings stay where they speak that language. A code Qt does not
// know leaves everything as it was.
void useShellLanguage(const std::string& langCode);

}  // namespace qj::ui
