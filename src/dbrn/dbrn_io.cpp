#include "dbrn/dbrn_io.h"

#include <stdexcept>

#include "dbrn/wizard_state.h"
#include "platform/files.h"
#include "records/cp1251.h"

namespace qj {

std::string dbrnFileName(std::string_view code, std::string_view kind, std::string_view lang) {
  std::string name;
  name.append(code).append(kind).append("_dbrn_").append(lang).append(".dat");
  return name;
}

DbrnRead readDbrnFile(const fs::path& path) {
  DbrnRead result;
  if (const auto size = fileSize(path); size && *size > kMaxDbrnFileBytes) {
    result.error.fault = DbrnFault::TooLong;
    result.error.value = static_cast<int64_t>(*size);
    result.error.text = "the file " + path.string() + " is far longer than any database needs";
    return result;
  }
  const std::optional<std::string> bytes = readFile(path, kMaxDbrnFileBytes);
  if (!bytes) {
    result.error.fault = DbrnFault::Unreadable;
    result.error.text = "the file " + path.string() + " cannot be opened";
    return result;
  }
  return readDbrn(*bytes);
}

std::optional<DbrnHeader> readDbrnHeaderFile(const fs::path& path) {
  const std::optional<std::string> bytes = readFilePrefix(path, kDbrnHeaderSize);
  if (!bytes) return std::nullopt;
  return readDbrnHeaderOnly(*bytes);
}

namespace {

Text failureDetail(const DbrnError& e) {
  switch (e.fault) {
    case DbrnFault::Unreadable: break;
    case DbrnFault::Truncated: return shell(833);
    case DbrnFault::TooLong: return shell(842);
    case DbrnFault::UnknownKind: return shell(834) + " \"" + val(e.kind) + "\"";
    case DbrnFault::BadCount: return shell(835) + " (" + num(e.value) + ")";
    case DbrnFault::TooManyTurns:
      return shell(836) + " " + num(e.record) + " (" + num(e.value) + " > 10)";
    case DbrnFault::TooManyLinks:
      return shell(837) + " " + num(e.record) + " (" + num(e.value) + " > 4)";
    case DbrnFault::SectionStreet: return shell(838) + " " + num(e.record);
    case DbrnFault::HouseStreet: return shell(839) + " " + num(e.record);
    case DbrnFault::LinkSection:
      return shell(840) + " " + num(e.record) + " (" + num(e.value) + ")";
    case DbrnFault::HouseCountsDisagree: return shell(841);
  }
  return {};
}

}  // namespace

Text dbrnReadFailure(std::string_view fileName, const DbrnError& error) {
  const Text head = shell(830) + " \"" + val(fileName) + "\" ";
  if (error.fault == DbrnFault::Unreadable) return head + shell(831) + ".";
  return head + shell(832) + ": " + failureDetail(error) + ".";
}

std::string takeOverKind(std::string_view kind, int mode) {
  if (mode != kViewDbrn) {
    if (kind == "sys1") return "use1";
    if (kind == "sys2") return "use2";
  }
  return std::string(kind);
}

Text dbrnKindCaption(std::string_view kind) {
  if (kind == "use1") return lit("use1 (") + shell(510) + ")";
  if (kind == "use2") return lit("use2 (") + shell(511) + ")";
  if (kind == "sys1") return lit("sys1 (") + shell(609).trimmed() + ")";
  if (kind == "sys2") return lit("sys2 (") + shell(610) + ")";
  if (kind == "cli2") return lit("cli2 (") + shell(218) + ")";
  return {};
}

namespace {

// A grid row keeps its own string, the allocator's word and rounding, and one length byte
// for every cell before the cell's text.
constexpr uint64_t kGridRow = sizeof(std::string) + 24;
// The longest texts of the cells: row numbers and stored indices (a file holds fewer than ten
// million records of any kind), 32-bit numbers, numbers shown in the user's notation, and the
// street names that a repeated street shows behind two blanks.
constexpr uint64_t kIndexText = 7, kNumberText = 11, kRealText = 22, kNameText = 2 + 30;
constexpr uint64_t kFlagText = kFlagShown.size();
// The section's name in the turns and accessibility grids: type, name, house range and mark.
constexpr uint64_t kSectionNameText = 2 + 4 + 1 + 30 + 2 + 9 + 1 + 9 + 1;
// An item of a picker: its string and value, and the item of the drop-down list that shows it
// (some 300 bytes in the list's model).
constexpr uint64_t kPickerItem = sizeof(std::string) + 48 + 4 + 320;

constexpr uint64_t kTypeRow = kGridRow + typeCol::kCount + kIndexText + 20 + 4 + kNumberText;
constexpr uint64_t kStreetRow = kGridRow + streetCol::kCount + kIndexText + 4 + kNameText +
                                kNumberText + 1 + kIndexText + 2 * kPickerItem;
constexpr uint64_t kSectionRows =
    3 * kGridRow + sectionCol::kCount + kIndexText + 4 + kNameText + 9 + 9 + kFlagText + 5 + 5 +
    2 * kRealText + kFlagText + kIndexText + turnCol::kCount + kIndexText + kSectionNameText + 5 +
    5 + accessCol::kCount + kIndexText + kSectionNameText + 5 + 5 + 6 + 2 * kFlagText;
constexpr uint64_t kTurnCells = 5 + 1;
constexpr uint64_t kHouseRow =
    kGridRow + houseCol::kCount + kIndexText + 4 + kNameText + 9 + kNumberText + kIndexText;
constexpr uint64_t kLinkCells = 3 * kNumberText;

uint64_t mebibytes(uint64_t bytes, bool up) {
  return (bytes + (up ? (1u << 20) - 1 : 0)) >> 20;
}

}  // namespace

uint64_t dbrnGridBytesBound(const DbrnHeldCounts& n, int level) {
  // The rows of every grid are one array of strings, allocated in one block.
  return n.streetTypes * kTypeRow + n.streets * kStreetRow +
         n.sections * (kSectionRows + (level == 2 ? kPickerItem : 0)) + n.turns * kTurnCells +
         n.houses * kHouseRow + n.links * kLinkCells;
}

uint64_t dbrnWizardBytesBound(const DbrnHeader& header, uint64_t fileBytes) {
  return dbrnKeptBytesBound(header, fileBytes) +
         dbrnGridBytesBound(dbrnHeldCounts(header, fileBytes), header.level());
}

Text dbrnTooLargeForWizard(std::string_view fileName, uint64_t bytes, uint64_t maxBytes) {
  return shell(830) + " \"" + val(fileName) + "\" " + shell(1340) + ": " + shell(1341) + " " +
         num(static_cast<int64_t>(mebibytes(bytes, true))) + " " + shell(1342) + " " +
         num(static_cast<int64_t>(mebibytes(maxBytes, false))) + " " + shell(1343) + ".";
}

WizardDbrnLoad loadDbrn(const std::string& selectedPath, int mode, uint64_t maxBytes) {
  const fs::path path(selectedPath + ".dat");
  const std::string fileName = cp1251::fromUtf8(path.filename().string());
  DbrnRead read = readDbrnFile(path);
  WizardDbrnLoad result;
  if (!read.db) {
    result.message = errorMessage(dbrnReadFailure(fileName, read.error));
    return result;
  }
  // Weighed by the records read, not by what a longer file could have held.
  const uint64_t bytes = dbrnWizardBytesBound(read.db->header, dbrnFileBytes(*read.db));
  if (bytes > maxBytes) {
    result.message = errorMessage(dbrnTooLargeForWizard(fileName, bytes, maxBytes));
    return result;
  }
  WizardDbrn w;
  w.curKind = takeOverKind(read.db->header.dbKind, mode);
  const int level = dbLevel(w.curKind);
  w.level = level == 1 || level == 2 ? level : 3;
  w.kindCaption = dbrnKindCaption(w.curKind);
  w.db = std::move(*read.db);
  result.loaded = std::move(w);
  return result;
}

fs::path saveDbrn(const fs::path& dbrnFolder, std::string_view langCode,
                  std::string_view curKindText, const DbrnFile& db) {
  if (db.header.dbKind != curKindText)
    throw std::invalid_argument("the database's kind " + db.header.dbKind +
                                " differs from the kind of its file name");
  const fs::path path = dbrnFolder / dbrnFileName(db.header.dbCode, curKindText, langCode);
  writeFileAtomic(path, writeDbrn(db));
  return path;
}

}  // namespace qj
