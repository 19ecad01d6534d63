#include "frame/protocol.h"

#include "frame/task_handover.h"
#include "platform/files.h"

namespace qj {

fs::path protocolPath(const ProgramFolder& folder) {
  return folder.system() / std::string(kProtocolFileName);
}

Message protocolMissingMessage() {
  return warningMessage(shell(294) + "...");
}

Message protocolNotOpenedMessage() {
  return warningMessage(shell(301) + " !!!");
}

Message protocolForeignMessage(ProtocolRefusal why, std::string_view keptAs) {
  Text text = shell(why == ProtocolRefusal::TooLarge ? 1326 : 464) + " !!!";
  if (!keptAs.empty())
    text += lit(" ") + shell(1131) + " \"" + val(kProtocolFileName) + "\" " + shell(1132) + " \"" +
            val(keptAs) + "\".";
  return errorMessage(std::move(text));
}

Message protocolChangedMessage(std::string_view keptAs, const std::optional<Message>& saving) {
  if (keptAs.empty()) return warningMessage(shell(1331) + "; " + shell(1333) + ".");
  const Text kept = shell(1331) + ". " + shell(1131) + " \"" + val(kProtocolFileName) + "\" " +
                    shell(1132) + " \"" + val(keptAs) + "\"";
  if (!saving) return warningMessage(kept + "; " + shell(1332) + ".");
  return {saving->kind, kept + ". " + saving->text};
}

namespace {

// Writes an empty protocol over (or in place of) the file; false when it cannot.
bool writeEmptyProtocol(AppState& state, const fs::path& path) {
  const std::string bytes = writeProtocolFile({});
  try {
    writeFileAtomic(path, bytes);
  } catch (const FileError& e) {
    if (!e.inPlace()) return false;
  }
  state.protocolMark = contentMark(bytes);
  return true;
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
    if (writeEmptyProtocol(state, path))
      state.protocolFileOk = true;
    else
      messages.push_back(protocolNotOpenedMessage());
    return messages;
  }

  // A file longer than any protocol is not read; its header tells whether it is one.
  const std::optional<uint64_t> size = fileSize(path);
  ProtocolRefusal why = ProtocolRefusal::Foreign;
  if (size && *size > kMaxProtocolFileBytes) {
    const auto head = readFilePrefix(path, kProtocolHeaderSize);
    if (head && readProtocolFile(*head).headerMatches) why = ProtocolRefusal::TooLarge;
  } else {
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
      state.protocolMark = contentMark(*bytes);
      return messages;
    }
  }

  // Its bytes are kept beside it, under a name no earlier copy holds, before an empty
  // protocol takes its place. When they cannot be kept, the file stays as it is.
  fs::path kept;
  try {
    kept = keepUnderFreeName(path);
  } catch (const FileError&) {
    messages.push_back(protocolForeignMessage(why, {}));
    messages.push_back(protocolNotOpenedMessage());
    return messages;
  }
  messages.push_back(protocolForeignMessage(why, kept.filename().string()));
  if (writeEmptyProtocol(state, path))
    state.protocolFileOk = true;
  else
    messages.push_back(protocolNotOpenedMessage());
  return messages;
}

std::optional<Message> saveProtocol(AppState& state) {
  const fs::path path = protocolPath(state.dirs());
  // An atomic write would create the file anew; a file that has gone stays gone.
  if (!state.protocolFileOk || !isWritableFile(path)) return protocolNotOpenedMessage();
  const std::string bytes = writeProtocolFile(state.protocol);
  fs::path kept;
  std::optional<Message> saving;
  try {
    AtomicFile file(path);
    file.write(bytes);
    // Looked at once the new file is ready, so that as little time as possible passes before
    // it takes the old one's place.
    if (fileContentMark(path, state.protocolMark.size) != state.protocolMark) {
      try {
        kept = keepUnderFreeName(path);
      } catch (const FileError&) {
        return protocolChangedMessage({}, {});
      }
      // Kept once: should this save fail, the next one does not keep it again.
      state.protocolMark = fileContentMark(kept, kMaxProtocolFileBytes).value_or(ContentMark{});
    }
    file.commit();
    state.protocolMark = contentMark(bytes);
  } catch (const FileError& e) {
    if (e.inPlace()) state.protocolMark = contentMark(bytes);
    saving = e.inPlace() ? fileWrittenNotDurableMessage(shownFileName(state.dirs(), path))
                         : protocolNotOpenedMessage();
  }
  if (kept.empty()) return saving;
  return protocolChangedMessage(kept.filename().string(), saving);
}

}  // namespace qj
