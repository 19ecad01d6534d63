#include "dbrn/client_addition.h"

#include <algorithm>

#include "dbrn/dbrn_io.h"
#include "platform/files.h"
#include "records/cp1251.h"

namespace qj {

DbrnFile clientAdditionOf(const DbrnFile& source) {
  DbrnFile cli;
  cli.header = source.header;
  cli.header.dbKind = "cli2";
  std::copy_if(source.streetTypes.begin(), source.streetTypes.end(),
               std::back_inserter(cli.streetTypes),
               [](const StreetTypeRec& t) { return t.streetCount > 0; });
  cli.header.streetTypeCount = static_cast<int32_t>(cli.streetTypes.size());
  cli.streets = source.streets;
  cli.streetHouseCounts = source.streetHouseCounts;
  cli.houses.reserve(source.houses.size());
  for (const HouseRec& h : source.houses) cli.houses.push_back({h.streetIndex, h.houseNo, 0, {}});
  return cli;
}

namespace {

ClientAdditionResult refusal(Message message) {
  ClientAdditionResult result;
  result.message = std::move(message);
  result.stayOpen = true;
  return result;
}

Message levelOneRefusal() {
  return warningMessage(shell(107) + ".");
}

}  // namespace

Message clientAdditionExistsMessage(std::string_view fileName) {
  return warningMessage(shell(705) + " \"" + val(fileName) + "\", " + shell(31) + ".");
}

Message clientAdditionNotWrittenMessage(std::string_view fileName) {
  return errorMessage(shell(1050) + " \"" + val(fileName) + "\".");
}

ClientAdditionResult createClientAddition(AppState& state, const DbrnCatalogEntry& entry) {
  const std::string_view key = entry.key;
  if (key.size() > 3 && key.substr(3) == "sys1") return refusal(levelOneRefusal());

  const fs::path base = state.dirs().dbrn() / cp1251::toUtf8(entry.key + "_dbrn_" + state.langCode);
  state.selectedPath = base.string();
  const fs::path sourcePath(state.selectedPath + ".dat");
  const DbrnRead read = readDbrnFile(sourcePath);
  if (!read.db)
    return refusal(errorMessage(
        dbrnReadFailure(cp1251::fromUtf8(sourcePath.filename().string()), read.error)));
  // The scan offers system databases of level 2 only; a file whose header says otherwise
  // has no houses to keep, or is itself a reduced copy.
  if (read.db->level() != 2) return refusal(levelOneRefusal());

  const DbrnFile cli = clientAdditionOf(*read.db);
  const std::string fileName = dbrnFileName(cli.header.dbCode, "cli2", state.langCode);
  const fs::path target = state.dirs().dbrn() / cp1251::toUtf8(fileName);
  std::error_code ec;
  if (fs::exists(target, ec)) return refusal(clientAdditionExistsMessage(fileName));
  try {
    writeFileAtomic(target, writeDbrn(cli));
  } catch (const FileError& e) {
    // A new file that may vanish at a power loss was not saved.
    if (e.inPlace()) fs::remove(target, ec);
    return refusal(clientAdditionNotWrittenMessage(fileName));
  }
  ClientAdditionResult result;
  result.written = target;
  return result;
}

}  // namespace qj
