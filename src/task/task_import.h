#pragma once
// A new task by import (page 1 of the task wizard in FormMode 2): from the task file of a
// protocol task, or from a task workbook as the task viewer exports it. The import fills the
// wizard's header, points and transition lists and preselects the task's database; the code
// and name the user typed stay. The ordinary steps then check and complete the task.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/app_state.h"
#include "office/workbook.h"
#include "platform/progress.h"
#include "records/task_file.h"
#include "task/wizard_frame.h"
#include "task/wizard_state.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

// A task read from a workbook, not yet the wizard's.
struct ImportedTask {
  TaskHeader header;
  std::vector<TaskPointRec> points;
  std::vector<std::vector<TransitionRec>> toLists, fromLists;  // per point, level 1 only
};

struct TaskWorkbookRead {
  std::optional<ImportedTask> task;
  std::optional<Message> message;  // why nothing was imported
};

// Reads sheet 1 (to row 31), sheet 2 and, for a level-1 task, sheet 3 of a task workbook.
// The header starts as `base` (fields the workbook does not hold keep their values) and
// takes `code` and `name` in place of the workbook's. A workbook of another language, a cell
// that does not convert or a sheet that is missing gives its message and no task.
TaskWorkbookRead readTaskWorkbook(const office::Workbook& book, const TaskHeader& base,
                                  std::string_view langCode, std::string_view code,
                                  std::string_view name);

// What an import changes on page 1 besides the wizard's records: captions (staticTask,
// Label_ex1, Label_ex2), the approach-speed edit Velo, and the database to select.
struct ImportOutcome {
  std::optional<Message> message;
  ControlUpdates updates;
  // The item of list_DBRN to select: the task's database, or 0 ("none"); nothing when the
  // selection stays.
  std::optional<int> dbItem;
};

// btnImport: the task file of protocol record `item` - 1, or with item 0 ("none") a new
// task's header keeping the database of the previous import. Sets SelectedPath to the
// task's base path.
ImportOutcome importProtocolTask(TaskWizardState& state, AppState& app, int item);

// btnLoadOutData: the workbook `file`. The wizard's records change only when the whole
// workbook was read; a task whose database is not in the catalogue is taken with a message
// that names the database.
ImportOutcome importTaskWorkbook(TaskWizardState& state, const AppState& app, const fs::path& file,
                                 std::string_view code, std::string_view name);

// The same in two halves, so that the reading can run on a worker thread: the workbook read
// into a task (touching nothing of the wizard; `base` is a copy of the wizard's header, and
// `progress` hears the rows read), then the task taken over by the wizard.
struct LoadedTaskWorkbook {
  std::string fileName;  // code page 1251
  TaskWorkbookRead read;
};
LoadedTaskWorkbook loadTaskWorkbook(const fs::path& file, const TaskHeader& base,
                                    std::string_view langCode, std::string_view code,
                                    std::string_view name, const WorkProgress& progress = {});
ImportOutcome takeTaskWorkbook(TaskWizardState& state, const AppState& app,
                               LoadedTaskWorkbook loaded);

// The item of list_DBRN that holds the header's database, 0 when none does or the kind is
// not one of the five.
int importedDatabaseItem(const std::vector<DbrnCatalogEntry>& catalog, const TaskHeader& h);

// Messages of the workbook import.
Message workbookOtherLanguageMessage(std::string_view workbookLang, std::string_view langCode);
// The workbook's task asks for a database that the catalogue does not hold:
// "<1200> "code" <1201> "kind", <1202>."
Message workbookDatabaseMissingMessage(std::string_view code, std::string_view kind);
// "<975>: <976> k, <977> row, <978> column <why>." with the spreadsheet's 1-based row and
// its column letters.
enum class CellFault { NotANumber, NotAWholeNumber, NegativeCount };
Message badCellMessage(int sheet, int row, std::string_view column, CellFault fault);
Message missingSheetMessage(int sheet);

}  // namespace qj
