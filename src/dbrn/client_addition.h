#pragma once
// Client additions: a reduced copy of a level-2 database that keeps the street types that
// have streets, every street and every house, and drops the transit sections, turns and
// house links. Tasks entered against it take their road graph from the system database of
// the same code, so the streets and houses keep their order: house i of the client addition
// is house i of its source.

#include <filesystem>
#include <optional>
#include <string_view>

#include "frame/app_state.h"
#include "records/dbrn_file.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

// The client addition of a level-2 database: the source's header with kind cli2 and the
// number of kept street types (its node and section counts still describe the source's
// network), the street types whose StreetCount is above 0 in source order, every street and
// house count unchanged, and every house with its street and number only.
DbrnFile clientAdditionOf(const DbrnFile& source);

struct ClientAdditionResult {
  std::optional<Message> message;  // the box to show
  bool stayOpen = false;           // the dialog stays open for another choice
  std::optional<fs::path> written;
};

// The dialog's OK on a catalogue entry: SelectedPath becomes the source's base path; a
// level-1 source is refused; the source is read and checked; a client addition that already
// exists is reported and never overwritten; otherwise Dbrn/<code>cli2_dbrn_<lang>.dat is
// written. The dialog stays open after every refusal and failure.
ClientAdditionResult createClientAddition(AppState& state, const DbrnCatalogEntry& entry);

// The client addition (its file name, code page 1251) exists already, or cannot be written.
Message clientAdditionExistsMessage(std::string_view fileName);
Message clientAdditionNotWrittenMessage(std::string_view fileName);

}  // namespace qj
