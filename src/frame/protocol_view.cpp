#include "frame/protocol_view.h"

#include "frame/protocol.h"
#include "frame/task_handover.h"
#include "records/datetime.h"
#include "records/text.h"

namespace qj {

namespace {

// The demonstration tasks that come with the program stay in every protocol.
bool isDemonstrationTask(const std::string& code) {
  return code.find("DEMR") != std::string::npos || code.find("DEME") != std::string::npos;
}

bool queuedSolutionExists(const AppState& state, const std::string& code) {
  const auto paths = taskPaths(state.dirs(), code);
  std::error_code ec;
  return paths && fs::is_regular_file(paths->queuedSolution, ec);
}

}  // namespace

TaskDetails taskDetails(const AppState& state, int record) {
  TaskDetails details;
  if (record < 0 || static_cast<size_t>(record) >= state.protocol.size()) return details;
  const ProtocolRec& r = state.protocol[record];
  const auto moment = [&state](double dateTime) {
    return val(momentText(dateTime, state.langCode));
  };

  details.rows.push_back({shell(745), val(r.code)});
  details.canDelete = !isDemonstrationTask(r.code);
  details.rows.push_back({shell(261), val(r.name)});
  switch (r.status) {
    case InputEntered:
      details.canQueue = true;
      details.canLoad = false;
      details.rows.push_back({shell(648), shell(755).trimmed()});
      break;
    case SentToSolving:
      details.canQueue = false;
      details.canLoad = queuedSolutionExists(state, r.code);
      details.rows.push_back({shell(648), shell(430)});
      break;
    case SolutionLoaded:
      details.canQueue = false;
      details.canLoad = false;
      details.rows.push_back({shell(648), shell(195)});
      break;
    default: break;
  }
  details.rows.push_back({shell(137), moment(r.createdAt)});
  details.rows.push_back({shell(136), moment(r.changedAt)});
  if (r.status == SentToSolving || r.status == SolutionLoaded)
    details.rows.push_back({shell(140), moment(r.sentToSolvingAt)});
  if (r.status == SolutionLoaded) details.rows.push_back({shell(135), moment(r.solutionLoadedAt)});
  return details;
}

bool taskFileExists(const AppState& state, int record) {
  if (record < 0 || static_cast<size_t>(record) >= state.protocol.size()) return false;
  const auto paths = taskPaths(state.dirs(), state.protocol[record].code);
  std::error_code ec;
  return paths && fs::is_regular_file(paths->taskFile, ec);
}

Message deleteTaskQuestion(const ProtocolRec& record) {
  return confirmMessage(shell(90) + " \"" + val(cut(record.name, 70)) + "\"?");
}

Message taskNotDeletedMessage(std::string_view file) {
  return errorMessage(shell(816) + " \"" + val(file) + "\". " + shell(817) + ".");
}

Deletion deleteTask(AppState& state, int record) {
  Deletion deletion;
  if (record < 0 || static_cast<size_t>(record) >= state.protocol.size()) return deletion;
  const auto paths = taskPaths(state.dirs(), state.protocol[record].code);
  if (!paths) return deletion;
  // The queue first, so that no optimiser run takes up a task being deleted; the task file
  // last, since while it is there the task can be deleted again.
  for (const fs::path& file : {paths->queuedSolution, paths->queuedInput, paths->solution,
                               paths->solverInput, paths->taskFile}) {
    std::error_code ec;
    const bool removed = fs::remove(file, ec);
    // The other files may be missing; a task file that was not there to remove leaves
    // nothing deleted that the user chose, and the record stays.
    if (ec || (!removed && file == paths->taskFile)) {
      deletion.messages.push_back(taskNotDeletedMessage(shownFileName(state.dirs(), file)));
      return deletion;
    }
  }
  state.protocol.erase(state.protocol.begin() + record);
  deletion.deleted = true;
  if (auto failure = saveProtocol(state)) deletion.messages.push_back(std::move(*failure));
  return deletion;
}

int rowAfterDeletion(int deletedRow, int rowsLeft) {
  if (rowsLeft <= 0) return -1;
  return deletedRow < rowsLeft ? deletedRow : rowsLeft - 1;
}

}  // namespace qj
