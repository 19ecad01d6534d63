#pragma once
// The task chooser: which protocol records it offers for the command that opened it, and
// the checks of the chosen task before the viewer or the wizard opens on it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/app_state.h"
#include "text/message.h"

namespace qj {

// A task as lists show it: "[" + code + "] " + name (code page 1251).
std::string taskListLine(const ProtocolRec& record);

// The indices in the protocol of the records offered, in protocol order: every task for
// viewing its input, solved tasks for viewing a solution, tasks not yet handed to solving
// for correction.
std::vector<int> offeredTasks(const std::vector<ProtocolRec>& protocol, int32_t formMode);

// What the chooser says in place of an empty list; nothing where an empty list speaks for
// itself. Only tasks not yet handed to the optimiser can be corrected, so a protocol of solved
// tasks offers none to correct.
std::optional<Text> noTaskOfferedText(int32_t formMode);

// The window that the chooser's OK opens on the chosen task.
enum class ChooserTarget { None, TaskViewer, SolutionViewer, TaskWizard };

struct TaskChoice {
  ChooserTarget target = ChooserTarget::None;  // None: nothing opens, the chooser stays
  std::optional<Message> message;
};

// The chooser's OK on the protocol record `record`: sets SelectedPath to the task's base
// path, reads the task file's header and checks that the task was entered in the running
// language. A task file that is missing or unreadable opens nothing.
TaskChoice chooseTask(AppState& state, int record);

// The task file's language differs from the running one (both codes code page 1251).
Message otherLanguageTaskMessage(std::string_view fileLangCode, std::string_view langCode);
// The task file (a shownFileName text) is missing or shorter than its header.
Message taskFileUnreadableMessage(std::string_view file);
// The task file is longer than the program ever writes one (kMaxTaskFileBytes): it is
// refused unread, as the viewers refuse it.
Message taskFileTooLongMessage(std::string_view file);

}  // namespace qj
