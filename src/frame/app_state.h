#pragma once
// The state that every window reads and writes: the program folder, the loaded shell, the
// decimal separator, the operation code of the last command, the protocol, the database
// catalogue and the hand-over of a task to the optimiser.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/shell_texts.h"
#include "platform/folders.h"

namespace qj {

enum TaskStatus : int32_t { InputEntered = 0, SentToSolving = 1, SolutionLoaded = 2 };

// One task of the protocol (144 bytes in System/protocol.pro).
struct ProtocolRec {
  std::string code;  // up to 6 characters
  std::string name;  // up to 100 characters
  int32_t status = InputEntered;
  double createdAt = 0, changedAt = 0, sentToSolvingAt = 0, solutionLoadedAt = 0;
  bool operator==(const ProtocolRec&) const = default;
};

// One database of the catalogue: its key (code and kind, 7 characters) and name.
struct DbrnCatalogEntry {
  std::string key;
  std::string name;
  bool operator==(const DbrnCatalogEntry&) const = default;
};

struct AppState {
  std::unique_ptr<ProgramFolder> folder;  // set at start-up
  std::string langCode;                   // 3 characters, code page 1251
  std::string shellFileName;              // up to 25 characters
  ShellTables texts;
  char decSep = ',';

  int32_t formMode = 0;
  std::string selectedPath;  // a database file or a task's base path, without ".dat"

  std::vector<ProtocolRec> protocol;
  std::vector<DbrnCatalogEntry> dbrnCatalog;
  int32_t dbCheckFailed = 0;

  int32_t solveAtOnce = 0;
  std::string curTaskCode;

  const ProgramFolder& dirs() const { return *folder; }
};

}  // namespace qj
