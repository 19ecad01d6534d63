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
// never overwritten. A file that holds something else than this program last read or wrote
// there (a protocol copied in by the user) is first kept beside it under a free name, as at
// start-up, and the message says so; when it cannot be kept, it is not overwritten.
std::optional<Message> saveProtocol(AppState& state);

// The messages of loading and saving.
Message protocolMissingMessage();
Message protocolNotOpenedMessage();
enum class ProtocolRefusal { Foreign, TooLarge };
// The file was replaced by an empty protocol; its content is kept in the file `keptAs` (a
// name in System/; empty when it could not be kept, and the file was left alone).
Message protocolForeignMessage(ProtocolRefusal why, std::string_view keptAs);
// Before a save, the file held something else than this program last read or wrote there.
// Its content is kept in the file `keptAs` (a name in System/; empty when it could not be
// kept, and the file was left alone); `saving` is what the save itself had to say, nothing
// when the file now holds this program's protocol.
Message protocolChangedMessage(std::string_view keptAs, const std::optional<Message>& saving);

}  // namespace qj
