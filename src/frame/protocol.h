#pragma once
// The task protocol of the running program: loaded from System/protocol.pro at start-up
// (created when missing, replaced when foreign) and written back whole by saveProtocol.

#include <optional>
#include <string_view>
#include <vector>

#include "frame/app_state.h"
#include "text/message.h"

namespace qj {

inline constexpr std::string_view kProtocolFileName = "protocol.pro";
fs::path protocolPath(const ProgramFolder& folder);

// Fills state.protocol from the file, or creates or replaces the file. A file that is no
// protocol of this version, or one too large to read, is first kept beside it as
// "protocol.pro.bak" (or ".bak2" ..., never replacing an earlier copy). Returns the messages
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
enum class ProtocolRefusal { Foreign, TooLarge };
// The file was replaced by an empty protocol; its content is kept in the file `keptAs` (a
// name in System/; empty when it could not be kept, and the file was left alone).
Message protocolForeignMessage(ProtocolRefusal why, std::string_view keptAs);

}  // namespace qj
