#pragma once
// The files the viewers read, checked before a window opens: the task file for both viewers,
// the solution file and the road-network database for the solution viewer. A file that
// cannot be opened, does not hold what its counts announce, or holds values that the
// viewers cannot show gives a message and no window.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "frame/app_state.h"
#include "records/dbrn_file.h"
#include "records/solution_file.h"
#include "records/task_file.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

enum class ViewerFault {
  Unreadable,  // the file cannot be opened
  Damaged,     // its records do not fit its length
  TooLong,     // far longer than any task or solution file (kMaxTaskFileBytes)
  TaskCode,    // the task code is not six of A-Z, 0-9
  DbCode,      // the database code is not three digits
  StartPoint,  // the start point is not one of the points
  EndPoint,    // the end point is neither none nor one of the points
  RoutePoint,  // the route serves a point the task does not have
  RouteTime,   // the route holds a duration that is not a number
};

// "<940> "<file>" <942>." or "<940> "<file>" <943>: <detail>." for the task file.
Message taskFileMessage(std::string_view file, ViewerFault fault);
// The same for the solution file, opening with shell text 941.
Message solutionFileMessage(std::string_view file, ViewerFault fault);
// "<941> "<solution file>" <951> "<database file>".": the route drives sections the
// database does not have.
Message routeDatabaseMessage(std::string_view solutionFile, std::string_view dbFile);

// What the header of a task file holds that the viewers cannot show, if anything.
std::optional<ViewerFault> checkViewedTaskHeader(const TaskHeader& h);

template <typename T>
struct ViewerRead {
  std::optional<T> value;
  Message message;  // why nothing was read
};

// The task file SelectedPath + ".dat", read whole and checked.
ViewerRead<TaskFile> readViewedTask(const AppState& state);

// The task's solution file Data/qj_<code>_out.dat, read with the body of the task's kind.
ViewerRead<SolutionFile> readViewedSolution(const AppState& state, const TaskHeader& task);

// The task's database Dbrn/<DbCode><DbKind>_dbrn_<lang>.dat in the running language (DbCode
// alone for a kind outside the five), read whole and checked.
ViewerRead<DbrnFile> readViewedDatabase(const AppState& state, const TaskHeader& task);

// The file as messages name it: its path under the program folder, code page 1251.
std::string viewerFileName(const ProgramFolder& folder, const fs::path& file);
// Data/qj_<code>_out.dat and the database's path.
fs::path solutionPath(const ProgramFolder& folder, const TaskHeader& task);
fs::path databasePath(const ProgramFolder& folder, const TaskHeader& task,
                      std::string_view langCode);

}  // namespace qj
