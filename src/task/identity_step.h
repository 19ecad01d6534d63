#pragma once
// Step 1 of the task wizard: the task's code and name and the road-network database it is
// entered against. The database is loaded for the task only within the task limits.

#include <filesystem>
#include <optional>
#include <string>

#include "frame/app_state.h"
#include "task/wizard_frame.h"
#include "task/wizard_state.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

// A task's database: at most this many nodes and transit sections.
inline constexpr int32_t kTaskMaxNodes = 2500;
inline constexpr int32_t kTaskMaxSections = 10000;

// The page-1 values that step 1 reads.
struct Step1Input {
  std::string code;  // txtShifr
  std::string name;  // txtName
  int dbItem = 0;    // the item of list_DBRN; 0 is "none"
};

// Page 2 as step 1 fills it from the task header.
struct Page2Values {
  std::string pointCount, startPoint, endPoint;  // TS_num, TS_first, TS_last
  std::string moneyUnit;                         // the item to select; none when no item equals it
  std::string finePerKm, finePerHour;            // fine1, fine2
  int32_t cargoMode = 0;                         // fak0, fak1, fak2
  std::string capacity;                          // ndol, with cargo
  int32_t orderMode = 0;                         // pro_0 .. pro_3
  std::string priorityCount;                     // nprio, empty unless order mode 3
  bool refusals = false;                         // ref_1 / ref_2
  bool timeFactor = false;                       // tm_1 / tm_2
  bool returnToStart = false;                    // prvd_1 / prvd_2
  std::optional<std::string> tact;               // txtDT, with the time factor
};

struct Step1Result {
  StepCheck check;
  // When the step passed and page 2 is to be filled from the header: the first time, and
  // after an import replaced the task. Otherwise page 2 keeps what the user typed on it.
  std::optional<Page2Values> page2;
  ControlUpdates updates;  // the header strips of pages 2 to 6
};

// The database of catalogue key `key` in the running language, for a task: the header is
// read and checked against the task limits before the rest of the file is read.
struct TaskDbrnLoad {
  std::optional<DbrnFile> db;
  std::optional<Message> message;
};
fs::path taskDbrnBasePath(const ProgramFolder& folder, std::string_view key,
                          std::string_view langCode);
TaskDbrnLoad loadDbrnForTask(const fs::path& file);

Message tooManyNodesMessage(int32_t nodes);
Message tooManySectionsMessage(int32_t sections);

// Next on page 1. On success the database is the wizard's, the header holds the code and
// name (and a new task's defaults), and WizardStep is 2. A database that is refused leaves
// the one loaded before.
Step1Result checkStep1(TaskWizardState& state, AppState& app, const Step1Input& input);

}  // namespace qj
