#pragma once
// The files of one task and the two steps that move a task between the data folder and the
// optimiser's queue: queueing its input for solving, and loading its solution back. The
// protocol window, the task wizard's solve-now option and the optimiser's automatic run all
// take these steps, so that the files, the protocol in memory and the protocol file always
// change together.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/app_state.h"
#include "text/key_filters.h"
#include "text/message.h"

namespace qj {

// What an edit of a task code takes: letters, upper-cased, and digits, six of them.
FieldRule taskCodeRule();
// A code that may become part of a file name: exactly six of A-Z and 0-9, what a task code's
// edit holds when it is full. A protocol record with any other code (a damaged protocol file)
// has no files the program would touch.
bool isTaskCode(std::string_view code);

// The five files a task may have.
struct TaskPaths {
  fs::path taskFile;        // Data/qj_<code>.dat, the re-editable input
  fs::path solverInput;     // Data/qj_<code>_in.dat
  fs::path solution;        // Data/qj_<code>_out.dat
  fs::path queuedInput;     // Solving/qj_<code>_in.dat
  fs::path queuedSolution;  // Solving/qj_<code>_out.dat
};
// Nothing for a code that is not a task code.
std::optional<TaskPaths> taskPaths(const ProgramFolder& folder, std::string_view code);

// The names of the queued inputs Solving/qj_??????_in.dat, in name order. "qj_" and "_in.dat"
// must match in letter case: the optimiser reads and writes the files by the names it builds
// from the code, and the protocol window looks for those names.
std::vector<std::string> queuedInputNames(const ProgramFolder& folder);
std::vector<std::string> queuedInputNames(const fs::path& solving);

// The base path that SelectedPath holds for a task: Data/qj_<code>, without ".dat".
std::string taskBasePath(const ProgramFolder& folder, std::string_view code);

// A file as messages name it: its path under the program folder ("Data/qj_AB12CD.dat"),
// code page 1251.
std::string shownFileName(const ProgramFolder& folder, const fs::path& file);

// The first record of the protocol with this code, or nothing.
ProtocolRec* findTask(std::vector<ProtocolRec>& protocol, std::string_view code);

// File operations that failed; the names are shownFileName texts.
Message fileNotCopiedMessage(std::string_view from, std::string_view to);
Message fileNotDeletedMessage(std::string_view file);
// A file that replaced another is in place, but the disk did not confirm its folder.
Message fileWrittenNotDurableMessage(std::string_view file);

enum class HandoverOutcome {
  Done,         // the files moved and the record changed
  NothingToDo,  // the file to move is not there: nothing happened, nothing to say
  Failed,       // the copy failed: files and record are as they were
};

struct HandoverResult {
  HandoverOutcome outcome = HandoverOutcome::NothingToDo;
  std::vector<Message> messages;  // to show, in order
};

// Queues a task for the optimiser: copies Data/qj_<code>_in.dat over Solving/qj_<code>_in.dat,
// marks the first record of the code sent for solving now (status 1) and saves the protocol.
HandoverResult queueTaskInput(AppState& state, std::string_view code);

// Loads a solution back: copies Solving/qj_<code>_out.dat over Data/qj_<code>_out.dat, marks
// the first record of the code solution loaded now (status 2), saves the protocol and
// removes both of the task's files from Solving. A file that stays there is reported, but
// the solution is loaded all the same.
HandoverResult loadTaskSolution(AppState& state, std::string_view code);

}  // namespace qj
