#include "frame/protocol.h"

#include "platform/files.h"

namespace qj {

fs::path protocolPath(const ProgramFolder& folder) {
  return folder.system() / "protocol.pro";
}

fs::path protocolBackupPath(const ProgramFolder& folder) {
  return folder.system() / "protocol.pro.bak";
}

Message protocolMissingMessage() {
  return warningMessage(shell(294) + "...");
}

Message protocolNotOpenedMessage() {
  return warningMessage(shell(301) + " !!!");
}

Message protocolForeignMessage() {
  return errorMessage(shell(464) + " !!!");
}

namespace {

// Writes an empty protocol over (or in place of) the file; false when it cannot.
bool writeEmptyProtocol(const fs::path& path) {
  try {
    writeFileAtomic(path, writeProtocolFile({}));
    return true;
  } catch (const FileError&) {
    return false;
  }
}

}  // namespace

std::vector<Message> loadProtocol(AppState& state) {
  std::vector<Message> messages;
  state.protocol.clear();
  state.protocolFileOk = false;
  const fs::path path = protocolPath(state.dirs());

  std::error_code ec;
  if (!fs::exists(path, ec)) {
    messages.push_back(protocolMissingMessage());
    if (writeEmptyProtocol(path))
      state.protocolFileOk = true;
    else
      messages.push_back(protocolNotOpenedMessage());
    return messages;
  }

  // A file longer than any protocol is foreign: it is not read.
  const std::optional<uint64_t> size = fileSize(path);
  if (!size || *size <= kMaxProtocolFileBytes) {
    const auto bytes = readFile(path, kMaxProtocolFileBytes);
    if (!bytes) {
      // Not readable: left alone, and never overwritten by this run.
      messages.push_back(protocolNotOpenedMessage());
      return messages;
    }
    ProtocolFileContent content = readProtocolFile(*bytes);
    if (content.headerMatches) {
      state.protocol = std::move(content.records);
      state.protocolFileOk = true;
      return messages;
    }
  }

  // A foreign file, or one of another version: its bytes are kept beside it before an empty
  // protocol takes its place. When they cannot be kept, the file stays as it is.
  messages.push_back(protocolForeignMessage());
  try {
    copyFileAtomic(path, protocolBackupPath(state.dirs()));
  } catch (const FileError&) {
    messages.push_back(protocolNotOpenedMessage());
    return messages;
  }
  if (writeEmptyProtocol(path))
    state.protocolFileOk = true;
  else
    messages.push_back(protocolNotOpenedMessage());
  return messages;
}

std::optional<Message> saveProtocol(const AppState& state) {
  const fs::path path = protocolPath(state.dirs());
  // An atomic write would create the file anew; a file that has gone stays gone.
  if (!state.protocolFileOk || !isWritableFile(path)) return protocolNotOpenedMessage();
  try {
    writeFileAtomic(path, writeProtocolFile(state.protocol));
  } catch (const FileError&) {
    return protocolNotOpenedMessage();
  }
  return std::nullopt;
}

}  // namespace qj
