#include "frame/catalogue.h"

#include "platform/files.h"
#include "records/bytes.h"
#include "records/cp1251.h"
#include "records/text.h"

namespace qj {

std::optional<DbrnHeaderKey> readDbrnHeaderKey(std::string_view bytes) {
  if (bytes.size() < kDbrnHeaderSize) return std::nullopt;
  ByteReader in(bytes);
  DbrnHeaderKey key;
  in.seek(4);
  key.dbCode = in.shortString(3);
  key.dbName = in.shortString(70);
  key.dbKind = in.shortString(4);
  return key;
}

bool isDbKind(std::string_view kind) {
  return kind == "sys1" || kind == "sys2" || kind == "use1" || kind == "use2" || kind == "cli2";
}

std::vector<std::string> catalogueItems(const std::vector<DbrnCatalogEntry>& catalog) {
  std::vector<std::string> items;
  items.reserve(catalog.size());
  for (const auto& e : catalog) items.push_back("[" + e.key + "] " + e.name);
  return items;
}

Text noneItem() {
  return shell(445);
}

std::vector<std::string> databaseListItems(const std::vector<DbrnCatalogEntry>& catalog,
                                           const ShellTables& texts) {
  std::vector<std::string> items{noneItem().resolve(texts)};
  for (std::string& item : catalogueItems(catalog)) items.push_back(std::move(item));
  return items;
}

Message foreignDbrnFileMessage(std::string_view fileName) {
  return warningMessage(shell(706) + " \"" + val(fileName) + "\" " + shell(296) + ". " +
                        shell(691) + ".");
}

Message misnamedDbrnFileMessage(std::string_view fileName, std::string_view headerKey,
                                std::string_view langCode) {
  return warningMessage(shell(204) + " \"" + val(fileName) + "\" " + shell(707) + ". " +
                        shell(496) + ": \"" + val(headerKey) + "_dbrn_" + val(langCode) +
                        ".dat\".");
}

CatalogueScan scanCatalogue(const ProgramFolder& folder, std::string_view langCode,
                            const std::vector<std::string_view>& kindMasks) {
  CatalogueScan scan;
  const std::string tail = "_dbrn_" + cp1251::toUtf8(langCode) + ".dat";
  for (const auto kindMask : kindMasks) {
    for (const auto& file : listMatching(folder.dbrn(), "???" + std::string(kindMask) + tail)) {
      // Every later step opens the database by the name built from its key, so a file whose
      // "_dbrn_<language>.dat" differs in letter case is not this language's database: it
      // could be listed but never opened (or would list the database twice).
      if (!std::string_view(file).ends_with(tail)) continue;
      const std::string name = cp1251::fromUtf8(file);
      const std::string key = cut(name, 7);
      // A file that cannot be read, or is shorter than a header, names no kind either.
      const auto head = readFilePrefix(folder.dbrn() / file, kDbrnHeaderSize);
      const auto header = head ? readDbrnHeaderKey(*head) : std::nullopt;
      if (!header || !isDbKind(header->dbKind)) {
        scan.failure = foreignDbrnFileMessage(name);
        return scan;
      }
      const std::string headerKey = header->dbCode + header->dbKind;
      if (key != headerKey) {
        scan.failure = misnamedDbrnFileMessage(name, headerKey, langCode);
        return scan;
      }
      scan.catalog.push_back({key, header->dbName});
    }
  }
  return scan;
}

CatalogueScan DBRNClick(const AppState& state) {
  return scanCatalogue(state.dirs(), state.langCode, {"sys?", "use?", "cli?"});
}

CatalogueScan DBRNaClick(const AppState& state) {
  if (state.formMode == kChooseToCorrect)
    return scanCatalogue(state.dirs(), state.langCode, {"use?"});
  return scanCatalogue(state.dirs(), state.langCode, {"sys?", "use?"});
}

CatalogueScan SysDBRNClick(const AppState& state) {
  return scanCatalogue(state.dirs(), state.langCode, {"sys2"});
}

std::optional<Message> storeCatalogue(AppState& state, CatalogueScan scan) {
  state.dbrnCatalog = std::move(scan.catalog);
  state.dbCheckFailed = scan.failure ? 1 : 0;
  return std::move(scan.failure);
}

}  // namespace qj
