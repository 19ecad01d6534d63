#pragma once
// The state that every window reads and writes: the program folder, the loaded shell, the
// decimal separator, the operation code of the last command, the protocol, the database
// catalogue and the hand-over of a task to the optimiser.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/form_modes.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "records/protocol_file.h"
#include "text/shell_texts.h"

namespace qj {

// One database of the catalogue: its key (code and kind, 7 characters) and name.
struct DbrnCatalogEntry {
  std::string key;
  std::string name;
  bool operator==(const DbrnCatalogEntry&) const = default;
};

struct AppState {
  std::unique_ptr<ProgramFolder> folder;  // set at start-up
  // Held from the start-up on, so that a second copy of the program cannot work in the same
  // folder: each would write its own protocol over the other's.
  std::unique_ptr<FileLock> folderLock;
  std::string langCode;       // 3 characters, code page 1251
  std::string shellFileName;  // up to 25 characters
  ShellTables texts;
  char decSep = ',';

  int32_t formMode = kNoFormMode;  // the operation of the window a command opens
  std::string selectedPath;        // a database file or a task's base path, without ".dat"

  std::vector<ProtocolRec> protocol;
  // True while System/protocol.pro holds the protocol that was loaded (or created) at
  // start-up, so that saving it loses nothing. A foreign file that could not be put aside,
  // or a file that could not be read, is never overwritten.
  bool protocolFileOk = false;
  // What System/protocol.pro held when this program last read or wrote it: a file that holds
  // anything else at a save was put there by someone else, and is kept before it is replaced.
  ContentMark protocolMark;
  std::vector<DbrnCatalogEntry> dbrnCatalog;
  int32_t dbCheckFailed = 0;

  int32_t solveAtOnce = 0;
  std::string curTaskCode;

  const ProgramFolder& dirs() const { return *folder; }
};

}  // namespace qj
