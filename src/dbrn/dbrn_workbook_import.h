#pragma once
// A new database by import from a database workbook (the database wizard's workbook source):
// the main workbook as the export lays it out and, for a level-2 database, its house workbook
// beside it under the main workbook's name with "#" before the extension. The database is
// read into a scratch copy and handed over whole; a system kind is imported as the user kind
// of its level. The wizard's steps then check it as they check typed data.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbrn/dbrn_io.h"
#include "office/workbook.h"
#include "platform/progress.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

struct ImportedDbrnWorkbook {
  // The database read: its header with the kind as read (a system kind stays until the
  // wizard's step 2 writes curKind into it), curKind use1 or use2, its level and its kind's
  // caption. Streets whose referenced cell is empty come with the state "2" (deleted).
  std::optional<WizardDbrn> loaded;
  // The boxes to show, in order: why nothing was imported; or, beside `loaded`, that the
  // house workbook was not found (the streets and sections are imported, the houses not).
  std::vector<Message> messages;
  std::string workbookName;  // the main workbook's file name (code page 1251), for Label_ex2
};

// Reads the workbook `file` (.xlsx or .xls) and, for level 2, its house workbook. A workbook
// of another language, of a kind other than sys1, use1, sys2 and use2, with a count outside
// its limits, with a cell that does not convert or refers to nothing, or without a sheet the
// layout needs gives its message and no database.
// Touches nothing but the files, so that it can run on a worker thread; `progress` hears the
// rows read.
ImportedDbrnWorkbook importDbrnWorkbook(const fs::path& file, std::string_view langCode,
                                        const WorkProgress& progress = {});

// The main workbook already read: the database without its houses, or why it was refused.
struct DbrnWorkbookRead {
  std::optional<DbrnFile> db;
  std::optional<Message> message;
};
// `fileName` (code page 1251) is the workbook's file, which a message about a cell names.
DbrnWorkbookRead readDbrnWorkbook(const office::Workbook& book, std::string_view fileName,
                                  std::string_view langCode);
// Reads the houses of a level-2 database whose main workbook was read into `db`; nothing
// when they were read, else why not (the houses of `db` are then left as they were).
std::optional<Message> readDbrnHouseWorkbook(const office::Workbook& book,
                                             std::string_view fileName, DbrnFile& db);

// The house workbook beside a main workbook: "<name>#<extension>" in the same folder.
fs::path houseWorkbookPath(const fs::path& mainWorkbook);

// The refusals of the import.
Message workbookLanguageMessage(std::string_view workbookLang, std::string_view langCode);
Message houseWorkbookMissingMessage(std::string_view houseWorkbookName);

}  // namespace qj
