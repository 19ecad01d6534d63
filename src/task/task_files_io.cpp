#include "task/task_files_io.h"

#include <stdexcept>

#include "platform/files.h"
#include "records/numbers.h"

namespace qj {

fs::path taskBasePath(const ProgramFolder& folder, std::string_view code) {
  return folder.data() / ("qj_" + std::string(code));
}

fs::path taskFilePath(const ProgramFolder& folder, std::string_view code) {
  return folder.data() / ("qj_" + std::string(code) + ".dat");
}

fs::path solverInputPath(const ProgramFolder& folder, std::string_view code) {
  return folder.data() / ("qj_" + std::string(code) + "_in.dat");
}

fs::path queuedInputPath(const ProgramFolder& folder, std::string_view code) {
  return folder.solving() / ("qj_" + std::string(code) + "_in.dat");
}

Message taskFileUnreadableMessage(std::string_view fileName) {
  return errorMessage(shell(863) + " \"" + val(fileName) + "\" " + shell(864) + ".");
}

Message taskFileNotWrittenMessage(std::string_view fileName) {
  return errorMessage(shell(863) + " \"" + val(fileName) + "\" " + shell(865) + ".");
}

Message taskNotQueuedMessage(std::string_view fileName) {
  return errorMessage(shell(863) + " \"" + val(fileName) + "\" " + shell(866) + ".");
}

Message taskOtherLanguageMessage(std::string_view fileLanguage, std::string_view langCode) {
  return warningMessage(shell(790) + " (" + val(fileLanguage) + "), " + shell(786).trimmed() +
                        " (" + val(langCode) + "), " + shell(791) + ".");
}

namespace {

[[noreturn]] void inconsistent(const std::string& what) {
  throw std::logic_error("task files not written: " + what);
}

// Point i's list, which must hold exactly `count` transitions (an absent list is empty).
const std::vector<TransitionRec>& listOf(const std::vector<std::vector<TransitionRec>>& lists,
                                         size_t i, int32_t count, const char* what) {
  static const std::vector<TransitionRec> kNone;
  const auto& list = i < lists.size() ? lists[i] : kNone;
  if (static_cast<int64_t>(list.size()) != count)
    inconsistent(std::string("point ") + std::to_string(i + 1) + " has " +
                 std::to_string(list.size()) + " " + what + " under a count of " +
                 std::to_string(count));
  return list;
}

void requirePointCount(const TaskWizardState& state) {
  if (state.header.pointCount < 0 ||
      static_cast<size_t>(state.header.pointCount) != state.points.size())
    inconsistent("the header counts " + std::to_string(state.header.pointCount) +
                 " points, the wizard holds " + std::to_string(state.points.size()));
}

}  // namespace

TaskFile taskFileOf(const TaskWizardState& state) {
  requirePointCount(state);
  TaskFile task;
  task.header = state.header;
  task.points = state.points;
  if (dbLevel(state.header.dbKind) < 3) {
    for (size_t i = 0; i < state.points.size(); ++i) {
      const TaskPointRec& p = state.points[i];
      task.toLists.push_back(listOf(state.toTransitions, i, p.toCount, "transitions to it"));
      task.fromLists.push_back(
          listOf(state.fromTransitions, i, p.fromCount, "transitions from it"));
    }
  }
  return task;
}

SolverInput solverInputOf(const TaskWizardState& state) {
  requirePointCount(state);
  SolverInput input;
  input.header = state.header;
  input.points = state.points;
  if (dbLevel(state.header.dbKind) >= 3) return input;

  const int32_t m = state.header.sectionCount;
  if (m < 0 || static_cast<size_t>(m) != state.sectionVertices.size())
    inconsistent("the header counts " + std::to_string(m) + " sections, the graph holds " +
                 std::to_string(state.sectionVertices.size()));
  for (const auto& v : state.sectionVertices) input.arcCounts.push_back(v.arcCount);
  for (const auto& p : state.points) input.arcCounts.push_back(p.fromCount);

  static const std::vector<TaskArc> kNone;
  for (size_t v = 0; v < input.arcCounts.size(); ++v) {
    const auto& arcs = v < state.arcs.size() ? state.arcs[v] : kNone;
    if (static_cast<int64_t>(arcs.size()) != input.arcCounts[v])
      inconsistent("vertex " + std::to_string(v) + " has " + std::to_string(arcs.size()) +
                   " arcs under a count of " + std::to_string(input.arcCounts[v]));
    input.arcs.insert(input.arcs.end(), arcs.begin(), arcs.end());
  }
  return input;
}

void recordTaskInProtocol(std::vector<ProtocolRec>& protocol, const TaskHeader& header,
                          int32_t formMode, double now) {
  if (formMode == 1 || formMode == 2) {
    ProtocolRec rec;
    rec.code = header.code;
    rec.name = header.name;
    rec.status = InputEntered;
    rec.createdAt = now;
    rec.changedAt = now;
    protocol.push_back(std::move(rec));
    return;
  }
  for (auto& rec : protocol) {
    if (rec.code != header.code) continue;
    rec.name = header.name;
    rec.changedAt = now;
  }
}

std::optional<Message> saveTaskFiles(const TaskWizardState& state, AppState& app, double now) {
  // Both contents are built before anything is written, so a wizard state that cannot be
  // written leaves the disk alone.
  const std::string task = writeTaskFile(taskFileOf(state));
  const std::string input = writeSolverInput(solverInputOf(state), app.shellFileName);
  const std::string& code = state.header.code;
  const std::pair<fs::path, const std::string*> files[] = {
      {taskFilePath(app.dirs(), code), &task}, {solverInputPath(app.dirs(), code), &input}};
  for (const auto& [path, bytes] : files) {
    try {
      writeFileAtomic(path, *bytes);
    } catch (const FileError&) {
      return taskFileNotWrittenMessage(path.filename().string());
    }
  }
  recordTaskInProtocol(app.protocol, state.header, state.formMode, now);
  return std::nullopt;
}

TaskLoad loadTaskFile(TaskWizardState& state, const std::string& basePath) {
  const fs::path path(basePath + ".dat");
  const std::string fileName = path.filename().string();
  TaskLoad result;
  const std::optional<std::string> bytes = readFile(path);
  if (!bytes || bytes->size() < kTaskHeaderSize) {
    state.loadFailed = 1;
    result.message = taskFileUnreadableMessage(fileName);
    return result;
  }

  // The language is judged on the header alone: a file of another language is not read on.
  ByteReader in(*bytes);
  TaskHeader header = readTaskHeader(in);
  if (header.language != state.langCode) {
    result.outcome = TaskLoadOutcome::OtherLanguage;
    result.message = taskOtherLanguageMessage(header.language, state.langCode);
    state.header = std::move(header);
    state.loadFailed = 1;
    return result;
  }

  TaskFileRead read = readTaskFile(*bytes);
  if (!read.task) {
    state.loadFailed = 1;
    result.message = taskFileUnreadableMessage(fileName);
    return result;
  }
  TaskFile& task = *read.task;
  state.header = std::move(task.header);
  state.points = std::move(task.points);
  state.toTransitions = std::move(task.toLists);
  state.fromTransitions = std::move(task.fromLists);
  state.loadFailed = 0;
  result.outcome = TaskLoadOutcome::Loaded;
  if (dbLevel(state.header.dbKind) > 1)
    result.approachSpeedText = formatReal(state.header.approachSpeed, state.decSep);
  return result;
}

std::optional<Message> queueTaskForSolving(AppState& app, std::string_view code, double now) {
  const fs::path from = solverInputPath(app.dirs(), code);
  try {
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) throw FileError("missing");
    copyFileAtomic(from, queuedInputPath(app.dirs(), code));
  } catch (const FileError&) {
    return taskNotQueuedMessage(from.filename().string());
  }
  for (auto& rec : app.protocol) {
    if (rec.code != code) continue;
    rec.status = SentToSolving;
    rec.sentToSolvingAt = now;
    break;
  }
  return std::nullopt;
}

}  // namespace qj
