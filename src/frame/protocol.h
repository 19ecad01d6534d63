#pragma once
// The task protocol of the running program: loaded from System/protocol.pro at start-up
// (created when missing, replaced when foreign) and written back whole by saveProtocol.

#include <optional>
#include <vector>

#include "frame/app_state.h"
#include "text/message.h"

namespace qj {

fs::path protocolPath(const ProgramFolder& folder);
// Where a foreign or newer protocol file is kept before it is replaced.
fs::path protocolBackupPath(const ProgramFolder& folder);

// Fills state.protocol from the file, or creates or replaces the file. Returns the messages
// to show, in order. Whatever happens, the start-up goes on.
std::vector<Message> loadProtocol(AppState& state);

// Writes the header, the count and every record. The file is only ever replaced, never
// recreated: when it has gone (or cannot be written) the protocol in memory stays and the
// message says the file could not be opened. A file that the start-up could not load is
// never overwritten.
std::optional<Message> saveProtocol(const AppState& state);

// The messages of loading and saving.
Message protocolMissingMessage();
Message protocolNotOpenedMessage();
Message protocolForeignMessage();

}  // namespace qj
