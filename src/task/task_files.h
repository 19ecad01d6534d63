#pragma once
// The task files on disk: saving the wizard's task as Data/qj_<code>.dat and
// Data/qj_<code>_in.dat with its protocol record, reading a task file back into the wizard,
// and queueing a saved task in Solving/ for the optimiser.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "frame/app_state.h"
#include "frame/task_chooser.h"
#include "frame/task_handover.h"
#include "route/solver_graph.h"
#include "task/wizard_state.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

// The task file's contents from the wizard's header, points and transition lists (the
// solver input is solverInputOf, with the graph). Lists that disagree with the counts they
// are written under are a programming error (std::logic_error): such a file would be misread
// by every reader.
TaskFile taskFileOf(const TaskWizardState& state);

// Adds the task's protocol record (a new task, typed or imported) or renames every record
// of its code and stamps its change (a correction).
void recordTaskInProtocol(std::vector<ProtocolRec>& protocol, const TaskHeader& header,
                          int32_t formMode, double now);

// Replaces both files together, then records the task in the protocol in memory; the caller
// saves the protocol file. A file that cannot be written gives its error message and leaves
// both old files and the protocol unchanged. A saved task whose old contents, kept aside
// during the replacement, could not be deleted gives a warning that names them.
std::optional<Message> saveTaskFiles(const TaskWizardState& state, AppState& app, double now);
Message taskBackupsLeftMessage(const std::vector<std::string>& files);

// Reading a task file into the wizard.
enum class TaskLoadOutcome { Loaded, OtherLanguage, Unreadable };
struct TaskLoad {
  TaskLoadOutcome outcome = TaskLoadOutcome::Unreadable;
  std::optional<Message> message;
  // For a task of database level 2 or 3: the stored approach speed as the speed edit shows it.
  std::optional<std::string> approachSpeedText;
};
// Reads `basePath` + ".dat". Loaded: header, points and (below level 3) the transition lists
// replace the wizard's. Another language: the header alone is taken, the rest is untouched,
// loadFailed is set. A missing or damaged file changes nothing.
TaskLoad loadTaskFile(TaskWizardState& state, const std::string& basePath);

// Messages of the files. A file whose old content could not be put back after a failed save
// is named with the file that keeps that content.
struct KeptFile {
  std::string file, backup;  // names in the task's folder
};
Message taskFileNotWrittenMessage(std::string_view fileName,
                                  const std::vector<KeptFile>& kept = {});

}  // namespace qj
