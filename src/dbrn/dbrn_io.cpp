#include "dbrn/dbrn_io.h"

#include <stdexcept>

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

WizardDbrnLoad loadDbrn(const std::string& selectedPath, int mode) {
  const fs::path path(selectedPath + ".dat");
  DbrnRead read = readDbrnFile(path);
  WizardDbrnLoad result;
  if (!read.db) {
    result.message =
        errorMessage(dbrnReadFailure(cp1251::fromUtf8(path.filename().string()), read.error));
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
