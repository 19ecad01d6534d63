#pragma once
// Database files on disk: their names, reading a whole file or its header, the message that
// tells the user why a file was refused, and the database wizard's load and save with the
// take-over of system databases as user databases.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "frame/form_modes.h"
#include "records/dbrn_file.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

// "<code><kind>_dbrn_<lang>.dat", for example 123use1_dbrn_rus.dat.
std::string dbrnFileName(std::string_view code, std::string_view kind, std::string_view lang);

// The whole file, checked (readDbrn). A file that cannot be opened gives DbrnFault::Unreadable.
DbrnRead readDbrnFile(const fs::path& path);
// The first 148 bytes; nullopt when the file cannot be opened or is shorter than a header.
std::optional<DbrnHeader> readDbrnHeaderFile(const fs::path& path);

// The text that reports a refused database file, naming the file (its name, not its folder)
// and what is wrong with it.
Text dbrnReadFailure(std::string_view fileName, const DbrnError& error);

// The kind a database is edited under: in view mode the kind read; otherwise a system kind
// is taken over as the user kind of its level (sys1 -> use1, sys2 -> use2), so that saving
// writes a user database. Other kinds stay as they are.
std::string takeOverKind(std::string_view kind, int mode);
// The caption of a kind in the database wizard: "use1 (<510>)", "use2 (<511>)",
// "sys1 (<609 trimmed>)", "sys2 (<610>)", "cli2 (<218>)"; empty for any other text.
Text dbrnKindCaption(std::string_view kind);

struct WizardDbrn {
  DbrnFile db;  // as read; the header's kind is replaced by curKind only when step 2 passes
  std::string curKind;
  int level = 0;  // of curKind: 1, 2, or 3 for anything else
  Text kindCaption;
};

struct WizardDbrnLoad {
  std::optional<WizardDbrn> loaded;
  Message message;  // the error to show when nothing was loaded
};

// What the wizard's grids keep at most for the records of a database: a row of the sections,
// turns and accessibility grids for every section, a row of the houses grid for every house,
// one of the streets or street types grid for every street or type, and an item of a picker
// for every street and (level 2) every section, each filled with the longest texts its record
// can give.
uint64_t dbrnGridBytesBound(const DbrnHeldCounts& records, int level);
// What the wizard keeps at most for a database that it views, corrects or imports: its records
// (dbrnKeptBytesBound) and the grids that show them.
uint64_t dbrnWizardBytesBound(const DbrnHeader& header, uint64_t fileBytes);
// The most the wizard may keep for a database: with the program itself, viewing or correcting
// any database admitted takes less than 1 GiB. The largest database that can be entered takes
// some 500 MiB here. A database beyond the bound is still read where the wizard is not needed
// (by the optimiser, the export), whose memory the reader's own bound keeps.
inline constexpr uint64_t kMaxDbrnWizardBytes = 896ull << 20;
// The refusal of a database that the wizard would need `bytes` of memory for.
Text dbrnTooLargeForWizard(std::string_view fileName, uint64_t bytes, uint64_t maxBytes);

// Reads `selectedPath` + ".dat" for the wizard in the given mode; a database whose records and
// grids would take more than `maxBytes` is refused as too large for the wizard.
WizardDbrnLoad loadDbrn(const std::string& selectedPath, int mode,
                        uint64_t maxBytes = kMaxDbrnWizardBytes);

// Writes the wizard's database into `dbrnFolder` as <DbCode><curKindText>_dbrn_<langCode>.dat,
// replacing a file of that name; an interrupted write leaves the old file. Returns the path
// written; throws FileError when the file cannot be written. The header's kind must be
// curKindText (the wizard copies it there at step 2), or the catalogue would refuse the file.
fs::path saveDbrn(const fs::path& dbrnFolder, std::string_view langCode,
                  std::string_view curKindText, const DbrnFile& db);

}  // namespace qj
