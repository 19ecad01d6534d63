#pragma once
// The protocol window's content and its one change of its own, deleting a task: the
// details shown for a task, which of its actions are open, and the deletion of the task
// with its files.

#include <optional>
#include <string>
#include <vector>

#include "frame/app_state.h"
#include "text/message.h"

namespace qj {

struct DetailRow {
  Text key;
  Text value;
};

struct TaskDetails {
  std::vector<DetailRow> rows;
  bool canDelete = false;
  // Nothing: a record of an unknown status leaves the buttons as they were.
  std::optional<bool> canQueue, canLoad;
};

// The details of protocol record `record` and the state of the window's buttons for it; its
// date-times are written in the interface language's date format.
TaskDetails taskDetails(const AppState& state, int record);

// Whether the task's input file is there; without it a task cannot be deleted.
bool taskFileExists(const AppState& state, int record);

// The question before a task is deleted, with the first 70 characters of its name.
Message deleteTaskQuestion(const ProtocolRec& record);
// A file of the task could not be deleted (a shownFileName text): the task stays.
Message taskNotDeletedMessage(std::string_view file);

struct Deletion {
  bool deleted = false;
  std::vector<Message> messages;  // to show, in order
};

// Deletes the task's files (those that are missing are passed over) and then its record,
// and saves the protocol. The task file goes last, and the first file that cannot be
// deleted stops the deletion: the task then keeps its record and its input, and can be
// deleted again later.
Deletion deleteTask(AppState& state, int record);

// The line selected after line `deletedRow` was deleted and `rowsLeft` lines remain: the
// same position, or the last line; -1 when none is left.
int rowAfterDeletion(int deletedRow, int rowsLeft);

}  // namespace qj
