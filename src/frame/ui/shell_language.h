#pragma once
// The language of the loaded shell for what Qt writes itself: the standard buttons of message
// boxes (Yes, No, OK, Cancel), the file dialogs and the dates the windows show.

#include <string>

#include "text/shell_texts.h"

namespace qj::ui {

// Takes Qt's own texts and the date format in the language of the shell's code ("eng",
// "rus"); the user's regional settings stay where they speak that language. A code Qt does not
// know leaves everything as it was.
void useShellLanguage(const std::string& langCode);

// The few texts of Qt's file dialogs that Qt's translations leave in English (the kinds of
// entry: folder, drive, link) are taken from the shell.
void useShellForQtGaps(const ShellTables& texts);

}  // namespace qj::ui
