#include "task/task_files.h"

#include <stdexcept>

#include "platform/files.h"
#include "records/numbers.h"

namespace qj {

Message taskFileNotWrittenMessage(std::string_view fileName, const std::vector<KeptFile>& kept) {
  Text text = shell(863) + " \"" + val(fileName) + "\" " + shell(865) + ".";
  for (const KeptFile& k : kept)
    text += lit(" ") + shell(1131) + " \"" + val(k.file) + "\" " + shell(1132) + " \"" +
            val(k.backup) + "\".";
  return errorMessage(std::move(text));
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

void recordTaskInProtocol(std::vector<ProtocolRec>& protocol, const TaskHeader& header,
                          int32_t formMode, double now) {
  if (formMode == kNewTask || formMode == kImportTask) {
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
  const auto paths = taskPaths(app.dirs(), state.header.code);
  if (!paths) throw std::logic_error("task files not written: the code is not a task code");
  // The two files describe one task: a new task file beside an old solver input would be
  // solved as another task. They are replaced together or not at all.
  std::vector<fs::path> left;
  try {
    left = replaceFilesTogether({{paths->taskFile, [&](AtomicFile& f) { f.write(task); }},
                                 {paths->solverInput, [&](AtomicFile& f) { f.write(input); }}});
  } catch (const FileError& e) {
    std::vector<KeptFile> kept;
    for (const FileError::Kept& k : e.kept())
      kept.push_back({k.file.filename().string(), k.backup.filename().string()});
    return taskFileNotWrittenMessage(e.path().filename().string(), kept);
  }
  recordTaskInProtocol(app.protocol, state.header, state.formMode, now);
  if (left.empty()) return std::nullopt;
  std::vector<std::string> names;
  for (const fs::path& p : left) names.push_back(p.filename().string());
  return taskBackupsLeftMessage(names);
}

Message taskBackupsLeftMessage(const std::vector<std::string>& files) {
  Text text = shell(1330);
  for (size_t i = 0; i < files.size(); ++i) text += lit(i ? ", \"" : " \"") + val(files[i]) + "\"";
  return warningMessage(text + ".");
}

TaskLoad loadTaskFile(TaskWizardState& state, const std::string& basePath) {
  const fs::path path(basePath + ".dat");
  const std::string fileName = path.filename().string();
  TaskLoad result;
  if (const auto size = fileSize(path); size && *size > kMaxTaskFileBytes) {
    state.loadFailed = 1;
    result.message = taskFileTooLongMessage(fileName);
    return result;
  }
  const std::optional<std::string> bytes = readFile(path, kMaxTaskFileBytes);
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
    result.message = otherLanguageTaskMessage(header.language, state.langCode);
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

}  // namespace qj
