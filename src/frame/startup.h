#pragma once
// The decisions of the program's start-up: which language shell to load (or whether to let
// the user choose, or to end the program), and loading it with the protocol and the
// decimal separator into the shared state.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/app_state.h"
#include "text/message.h"

namespace qj {

inline constexpr std::string_view kShellFilePrefix = "Shell (QJ 1.6).";
inline constexpr std::string_view kShellFileMask = "Shell (QJ 1.6).???";
inline constexpr size_t kShellFileNameMax = 25;

// The shell files of the Shells folder (UTF-8 names, sorted).
std::vector<std::string> findShellFiles(const ProgramFolder& folder);

// The language code of a shell file: the last three characters of its name (its
// extension), in code page 1251.
std::string langCodeOfShellFile(std::string_view fileNameUtf8);

// The language name stored at the head of each file, in the order of the files, for the
// language chooser. A file that cannot be read offers an empty name.
std::vector<std::string> languageNames(const ProgramFolder& folder,
                                       const std::vector<std::string>& files);

// The chooser's OK with a language name: the language code is the name's first three
// characters, and the shell loaded is the file with that extension (whichever file the
// name came from).
struct LanguageChoice {
  std::string langCode;            // code page 1251
  std::string fileName;            // UTF-8, the file to load; empty with a failure
  std::optional<Message> failure;  // that file is missing: the program ends
};
LanguageChoice chooseLanguage(const ProgramFolder& folder, std::string_view languageName);

// Loads the shell (file name in UTF-8, language code in code page 1251) into the state,
// takes the program folder's lock, then loads the protocol and the decimal separator. The
// messages come in the order they are shown. A shell that cannot be read or is damaged gives
// its message and leaves the state without texts and without a protocol; a folder that
// another copy of the program holds gives the message in the shell's language, without a
// protocol. The program then ends.
struct ShellLoad {
  bool loaded = false;
  std::vector<Message> messages;
};
ShellLoad loadShell(AppState& state, std::string_view fileNameUtf8, std::string_view langCode,
                    char decSep);

// The lock file of the program folder; the system frees its lock when its holder ends. The
// System folder is locked with it, so that removing the file frees nothing.
fs::path folderLockPath(const ProgramFolder& folder);
// Takes the program folder's lock into the state unless it holds it. The message to end with
// when another copy of the program holds it, or when it cannot be taken (a link or something
// else than a file at its name, a file this user may not open, a file system without locks)
// while this user may write in the folder. A folder that no copy can write is used unlocked.
std::optional<Message> holdProgramFolder(AppState& state);
// True when this user may create files in the program folder or one of its data folders.
bool isWritableProgramFolder(const ProgramFolder& folder);
Message alreadyRunningMessage(const ProgramFolder& folder);
// `error` is the system's error number of the failed lock (FileLock::error()).
Message lockUnavailableMessage(const ProgramFolder& folder, int error);
// Removes the hidden temporary files that saves killed mid-way left in the program's
// folders. Only for the holder of the folder's lock; a folder shared with another program
// folder (a link to it) keeps the temporaries of the saves that run there.
void removeLeftTemporaries(const ProgramFolder& folder);

// The start-up's own messages; no shell is loaded when they are shown, so they are written
// out in full.
Message noShellFilesMessage();
Message noLanguageChosenMessage();
Message chosenShellMissingMessage(std::string_view fileNameCp1251);
Message shellUnreadableMessage(std::string_view fileNameCp1251, std::string_view reasonUtf8);

}  // namespace qj
