#pragma once
// The database catalogue: the road-network database files of the running language in the
// Dbrn folder, each checked against its header before it is listed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/app_state.h"
#include "records/dbrn_file.h"  // kDbrnHeaderSize
#include "text/message.h"

namespace qj {

// The three texts of a database header that the catalogue reads.
struct DbrnHeaderKey {
  std::string dbCode;  // offset 4, up to 3 characters
  std::string dbName;  // offset 8, up to 70 characters
  std::string dbKind;  // offset 79, up to 4 characters
};
// Nothing when the bytes are fewer than a header.
std::optional<DbrnHeaderKey> readDbrnHeaderKey(std::string_view bytes);

// The five kinds of database file.
bool isDbKind(std::string_view kind);

struct CatalogueScan {
  std::vector<DbrnCatalogEntry> catalog;  // complete only without a failure
  std::optional<Message> failure;         // the file that stopped the scan
};

// Scans the masks "???" + kind + "_dbrn_" + language + ".dat" in the given order; within a
// mask the files come in name order. The part "_dbrn_" + language + ".dat" must match in
// letter case too, so that the name every later step builds from the key is the name found.
CatalogueScan scanCatalogue(const ProgramFolder& folder, std::string_view langCode,
                            const std::vector<std::string_view>& kindMasks);

// The three scans of the frame: every database; the databases a new or corrected database
// can start from (user databases only for a correction, FormMode 3); the level-2 system
// databases for a client addition.
CatalogueScan DBRNClick(const AppState& state);
CatalogueScan DBRNaClick(const AppState& state);
CatalogueScan SysDBRNClick(const AppState& state);

// The catalogue as the database lists show it: "[" + key + "] " + name per entry.
std::vector<std::string> catalogueItems(const std::vector<DbrnCatalogEntry>& catalog);
// The first item of a list of databases or tasks to choose from: nothing chosen.
Text noneItem();
// A list that begins with the none item, then the catalogue items.
std::vector<std::string> databaseListItems(const std::vector<DbrnCatalogEntry>& catalog,
                                           const ShellTables& texts);

// Keeps a scan's catalogue and DbCheckFailed in the state; returns its message.
std::optional<Message> storeCatalogue(AppState& state, CatalogueScan scan);

// A file whose header names no kind of database, and one whose name disagrees with its
// header (the message names the file name that would match). Names are code page 1251.
Message foreignDbrnFileMessage(std::string_view fileName);
Message misnamedDbrnFileMessage(std::string_view fileName, std::string_view headerKey,
                                std::string_view langCode);

}  // namespace qj
