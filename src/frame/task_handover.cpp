#include "frame/task_handover.h"

#include <algorithm>

#include "frame/protocol.h"
#include "platform/files.h"
#include "records/cp1251.h"
#include "records/datetime.h"
#include "records/text.h"

namespace qj {

FieldRule taskCodeRule() {
  return {KeyFilter::Code, 6, true};
}

bool isTaskCode(std::string_view code) {
  // Judged by its characters alone, whatever the edit's key rule comes to take.
  return code.size() == 6 && std::all_of(code.begin(), code.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || isDigit(c);
         });
}

std::optional<TaskPaths> taskPaths(const ProgramFolder& folder, std::string_view code) {
  if (!isTaskCode(code)) return std::nullopt;
  const std::string base = "qj_" + std::string(code);
  return TaskPaths{folder.data() / (base + ".dat"), folder.data() / (base + "_in.dat"),
                   folder.data() / (base + "_out.dat"), folder.solving() / (base + "_in.dat"),
                   folder.solving() / (base + "_out.dat")};
}

std::vector<std::string> queuedInputNames(const fs::path& solving) {
  std::vector<std::string> names = listMatching(solving, "qj_??????_in.dat");
  std::erase_if(names, [](const std::string& name) {
    return !name.starts_with("qj_") || !name.ends_with("_in.dat");
  });
  return names;
}

std::vector<std::string> queuedInputNames(const ProgramFolder& folder) {
  return queuedInputNames(folder.solving());
}

std::string taskBasePath(const ProgramFolder& folder, std::string_view code) {
  return (folder.data() / ("qj_" + std::string(code))).string();
}

std::string shownFileName(const ProgramFolder& folder, const fs::path& file) {
  const fs::path relative = file.lexically_relative(folder.root());
  const fs::path& shown = relative.empty() ? file : relative;
  return cp1251::fromUtf8(shown.generic_string());
}

ProtocolRec* findTask(std::vector<ProtocolRec>& protocol, std::string_view code) {
  const auto it = std::find_if(protocol.begin(), protocol.end(),
                               [code](const ProtocolRec& r) { return r.code == code; });
  return it == protocol.end() ? nullptr : &*it;
}

Message fileNotCopiedMessage(std::string_view from, std::string_view to) {
  return errorMessage(shell(818) + " \"" + val(from) + "\" " + shell(819) + " \"" + val(to) +
                      "\".");
}

Message fileNotDeletedMessage(std::string_view file) {
  return errorMessage(shell(816) + " \"" + val(file) + "\".");
}

Message fileWrittenNotDurableMessage(std::string_view file) {
  return warningMessage(shell(1328) + " \"" + val(file) + "\" " + shell(1329) + ".");
}

namespace {

bool isFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// Copies a task file over its target; false when it was not copied. What is to be said of
// it goes to the messages.
bool copyTaskFile(const ProgramFolder& folder, const fs::path& from, const fs::path& to,
                  std::vector<Message>& messages) {
  try {
    copyFileAtomic(from, to);
    return true;
  } catch (const FileError& e) {
    if (e.inPlace()) {
      messages.push_back(fileWrittenNotDurableMessage(shownFileName(folder, to)));
      return true;
    }
    messages.push_back(
        fileNotCopiedMessage(shownFileName(folder, from), shownFileName(folder, to)));
    return false;
  }
}

// Sets the record's new status with its moment, then writes the protocol file at once.
void markTask(AppState& state, std::string_view code, TaskStatus status, HandoverResult& result) {
  ProtocolRec* record = findTask(state.protocol, code);
  if (!record) return;
  record->status = status;
  (status == SentToSolving ? record->sentToSolvingAt : record->solutionLoadedAt) = nowDateTime();
  if (auto failure = saveProtocol(state)) result.messages.push_back(std::move(*failure));
}

}  // namespace

HandoverResult queueTaskInput(AppState& state, std::string_view code) {
  HandoverResult result;
  const auto paths = taskPaths(state.dirs(), code);
  if (!paths || !isFile(paths->solverInput)) return result;
  if (!copyTaskFile(state.dirs(), paths->solverInput, paths->queuedInput, result.messages)) {
    result.outcome = HandoverOutcome::Failed;
    return result;
  }
  result.outcome = HandoverOutcome::Done;
  markTask(state, code, SentToSolving, result);
  return result;
}

HandoverResult loadTaskSolution(AppState& state, std::string_view code) {
  HandoverResult result;
  const auto paths = taskPaths(state.dirs(), code);
  if (!paths || !isFile(paths->queuedSolution)) return result;
  if (!copyTaskFile(state.dirs(), paths->queuedSolution, paths->solution, result.messages)) {
    result.outcome = HandoverOutcome::Failed;
    return result;
  }
  result.outcome = HandoverOutcome::Done;
  markTask(state, code, SolutionLoaded, result);
  for (const fs::path& queued : {paths->queuedInput, paths->queuedSolution}) {
    std::error_code ec;
    fs::remove(queued, ec);
    if (ec) result.messages.push_back(fileNotDeletedMessage(shownFileName(state.dirs(), queued)));
  }
  return result;
}

}  // namespace qj
