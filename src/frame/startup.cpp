#include "frame/startup.h"

#include <cerrno>
#include <cstring>

#include "frame/protocol.h"
#include "platform/files.h"
#include "records/cp1251.h"
#include "records/text.h"

namespace qj {
namespace {

// Shell files are small; anything this large is not one.
constexpr uint64_t kShellFileLimit = 64ull << 20;

constexpr std::string_view kEmergencyExit =
    ". In this regard, there will an emergency exit from the program.";

// The last n characters of a UTF-8 text (a malformed byte counts as one character).
std::string_view lastCharacters(std::string_view s, size_t n) {
  size_t start = s.size();
  for (size_t count = 0; count < n && start > 0; ++count) {
    --start;
    while (start > 0 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) --start;
  }
  return s.substr(start);
}

}  // namespace

std::vector<std::string> findShellFiles(const ProgramFolder& folder) {
  return listMatching(folder.shells(), kShellFileMask);
}

std::string langCodeOfShellFile(std::string_view fileNameUtf8) {
  return cp1251::fromUtf8(lastCharacters(fileNameUtf8, 3));
}

std::vector<std::string> languageNames(const ProgramFolder& folder,
                                       const std::vector<std::string>& files) {
  std::vector<std::string> names;
  names.reserve(files.size());
  for (const auto& file : files) {
    const auto head = readFilePrefix(folder.shells() / file, 25);
    names.push_back(head ? readLanguageName(*head) : std::string());
  }
  return names;
}

LanguageChoice chooseLanguage(const ProgramFolder& folder, std::string_view languageName) {
  LanguageChoice choice;
  choice.langCode = cut(languageName, 3);
  const std::string wanted = cp1251::toUtf8(std::string(kShellFilePrefix) + choice.langCode);
  // A program folder may have come from a file system that ignores letter case in names, so
  // the look-up ignores it too, preferring the exact name.
  for (const auto& file : findShellFiles(folder)) {
    if (file == wanted) {
      choice.fileName = file;
      return choice;
    }
    if (choice.fileName.empty() && equalsIgnoreAsciiCase(file, wanted)) choice.fileName = file;
  }
  if (choice.fileName.empty())
    choice.failure = chosenShellMissingMessage(std::string(kShellFilePrefix) + choice.langCode);
  return choice;
}

ShellLoad loadShell(AppState& state, std::string_view fileNameUtf8, std::string_view langCode,
                    char decSep) {
  ShellLoad load;
  state.langCode = std::string(langCode);
  state.shellFileName = cut(cp1251::fromUtf8(fileNameUtf8), kShellFileNameMax);

  const auto bytes = readFile(state.dirs().shells() / std::string(fileNameUtf8), kShellFileLimit);
  if (!bytes) {
    load.messages.push_back(
        shellUnreadableMessage(state.shellFileName, "the file cannot be opened or read"));
    return load;
  }
  ShellReadResult shellRead = readShell(*bytes, isRussianShell(state.langCode));
  if (!shellRead.tables) {
    load.messages.push_back(shellUnreadableMessage(state.shellFileName, shellRead.error));
    return load;
  }
  state.texts = std::move(*shellRead.tables);
  // Before the protocol is read: another copy would overwrite it at its next save.
  if (auto refused = holdProgramFolder(state)) {
    load.messages.push_back(std::move(*refused));
    return load;
  }
  load.loaded = true;
  if (state.folderLock) removeLeftTemporaries(state.dirs());

  for (auto& m : loadProtocol(state)) load.messages.push_back(std::move(m));
  // The locale stands in for the system's setting; it always gives a separator.
  state.decSep = decSep;
  return load;
}

fs::path folderLockPath(const ProgramFolder& folder) {
  return folder.system() / "qj.lock";
}

bool isWritableProgramFolder(const ProgramFolder& folder) {
  for (const fs::path& f :
       {folder.root(), folder.system(), folder.dbrn(), folder.data(), folder.solving()})
    if (isWritableFolder(f)) return true;
  return false;
}

std::optional<Message> holdProgramFolder(AppState& state) {
  if (state.folderLock) return std::nullopt;
  auto lock = std::make_unique<FileLock>(folderLockPath(state.dirs()));
  switch (lock->state()) {
    case FileLock::State::Held: state.folderLock = std::move(lock); return std::nullopt;
    case FileLock::State::HeldElsewhere: return alreadyRunningMessage(state.dirs());
    case FileLock::State::Unavailable: break;
  }
  // Where no copy can write, none can lose what another wrote.
  if (!isWritableProgramFolder(state.dirs())) return std::nullopt;
  return lockUnavailableMessage(state.dirs(), lock->error());
}

void removeLeftTemporaries(const ProgramFolder& folder) {
  for (const fs::path& f :
       {folder.root(), folder.shells(), folder.system(), folder.dbrn(), folder.data(),
        folder.solving(), folder.root() / "Print", folder.root() / "Export"})
    removeLeftTemporaries(f);
}

Message alreadyRunningMessage(const ProgramFolder& folder) {
  return warningMessage(shell(1130) + " \"" + val(cp1251::fromUtf8(folder.root().string())) +
                        "\", " + shell(1133) + ".");
}

Text lockFailureReason(int error) {
  switch (error) {
    case ELOOP: return shell(1322);
    case EACCES:
    case EPERM: return shell(1323);
    case ENOLCK:
    case EOPNOTSUPP:
    case ENOSYS: return shell(1324);
    case EISDIR: return shell(1325);
    default: return lit(std::strerror(error));
  }
}

Message lockUnavailableMessage(const ProgramFolder& folder, int error) {
  return warningMessage(shell(1320) + " \"" +
                        val(cp1251::fromUtf8(folderLockPath(folder).string())) + "\" " +
                        shell(1321) + " (" + lockFailureReason(error) + "), " + shell(1133) + ".");
}

Message noShellFilesMessage() {
  return warningMessage(lit("There are no files of language shells in the folder \"Shells\"") +
                        lit(kEmergencyExit));
}

Message noLanguageChosenMessage() {
  return warningMessage(lit("A shell language is not selected."));
}

Message chosenShellMissingMessage(std::string_view fileNameCp1251) {
  return warningMessage(lit("The chosen file \"") + val(fileNameCp1251) +
                        "\" of language shell is missing in the folder \"Shells\"" +
                        lit(kEmergencyExit));
}

Message shellUnreadableMessage(std::string_view fileNameCp1251, std::string_view reasonUtf8) {
  while (!reasonUtf8.empty() && reasonUtf8.back() == '.') reasonUtf8.remove_suffix(1);
  return errorMessage(lit("The language shell \"") + val(fileNameCp1251) +
                      "\" cannot be used: " + lit(reasonUtf8) + lit(kEmergencyExit));
}

}  // namespace qj
