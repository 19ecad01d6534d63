#include "frame/task_chooser.h"

#include "frame/task_handover.h"
#include "platform/files.h"
#include "records/task_file.h"

namespace qj {

std::string taskListLine(const ProtocolRec& record) {
  return "[" + record.code + "] " + record.name;
}

namespace {

bool offered(const ProtocolRec& record, int32_t formMode) {
  switch (formMode) {
    case kChooserViewInput: return true;
    case kChooserViewSolution: return record.status == SolutionLoaded;
    case kChooserCorrectTask: return record.status == InputEntered;
    default: return false;
  }
}

ChooserTarget targetOf(int32_t formMode) {
  switch (formMode) {
    case kChooserViewInput: return ChooserTarget::TaskViewer;
    case kChooserViewSolution: return ChooserTarget::SolutionViewer;
    case kChooserCorrectTask: return ChooserTarget::TaskWizard;
    default: return ChooserTarget::None;
  }
}

}  // namespace

std::vector<int> offeredTasks(const std::vector<ProtocolRec>& protocol, int32_t formMode) {
  std::vector<int> rows;
  for (size_t i = 0; i < protocol.size(); ++i)
    if (offered(protocol[i], formMode)) rows.push_back(static_cast<int>(i));
  return rows;
}

std::optional<Text> noTaskOfferedText(int32_t formMode) {
  if (formMode == kChooserCorrectTask) return shell(1120) + ".";
  return std::nullopt;
}

Message otherLanguageTaskMessage(std::string_view fileLangCode, std::string_view langCode) {
  return warningMessage(shell(790) + " (" + val(fileLangCode) + "), " + shell(786).trimmed() +
                        " (" + val(langCode) + "), " + shell(791) + ".");
}

Message taskFileUnreadableMessage(std::string_view file) {
  return warningMessage(shell(815) + " \"" + val(file) + "\".");
}

Message taskFileTooLongMessage(std::string_view file) {
  return errorMessage(shell(940) + " \"" + val(file) + "\" " + shell(943) + ": " + shell(954) +
                      ".");
}

TaskChoice chooseTask(AppState& state, int record) {
  TaskChoice choice;
  if (record < 0 || static_cast<size_t>(record) >= state.protocol.size()) return choice;
  const std::string& code = state.protocol[record].code;
  const auto paths = taskPaths(state.dirs(), code);
  if (!paths) {
    // A damaged protocol's code names no file the program may open.
    choice.message = taskFileUnreadableMessage(shownFileName(state.dirs(), state.dirs().data()) +
                                               "/qj_" + code + ".dat");
    return choice;
  }
  state.selectedPath = taskBasePath(state.dirs(), code);

  const auto head = readFilePrefix(paths->taskFile, kTaskHeaderSize);
  if (!head || head->size() < kTaskHeaderSize) {
    choice.message = taskFileUnreadableMessage(shownFileName(state.dirs(), paths->taskFile));
    return choice;
  }
  ByteReader in(*head);
  const TaskHeader header = readTaskHeader(in);
  if (header.language != state.langCode) {
    choice.message = otherLanguageTaskMessage(header.language, state.langCode);
    return choice;
  }
  choice.target = targetOf(state.formMode);
  return choice;
}

}  // namespace qj
