#include "task/task_import.h"

#include <algorithm>

#include "frame/task_handover.h"
#include "office/workbook_messages.h"
#include "office/workbook_reader.h"
#include "records/cp1251.h"
#include "records/numbers.h"
#include "records/text.h"
#include "task/task_files.h"

namespace qj {
namespace {

// The last row of sheet 1 that the import reads: the export writes at most 31 rows.
constexpr int kParameterRows = 31;

// A workbook that stops the import, with the message that says why.
struct ImportStop {
  Message message;
};

// The cells of a task workbook by sheet (1-based), row (1-based) and column letter, as the
// layout names them; each conversion that fails names its cell.
class TaskCells {
 public:
  explicit TaskCells(const office::Workbook& book) : book_(book) {}

  std::string_view text(int sheet, int row, char column) const {
    const office::Sheet* s = book_.sheet(static_cast<size_t>(sheet - 1));
    if (!s) throw ImportStop{missingSheetMessage(sheet)};
    if (sheet == 1 && row > kParameterRows) return {};
    return s->cell(row - 1, column - 'A');
  }
  std::string trimmedText(int sheet, int row, char column) const {
    return trimmed(text(sheet, row, column));
  }
  int32_t integer(int sheet, int row, char column) const {
    const std::optional<int32_t> n = parseInt(text(sheet, row, column));
    if (!n) bad(sheet, row, column, CellFault::NotAWholeNumber);
    return *n;
  }
  double real(int sheet, int row, char column) const {
    const std::optional<double> x = parseStoredReal(text(sheet, row, column));
    if (!x) bad(sheet, row, column, CellFault::NotANumber);
    return *x;
  }
  // A number of records: a whole number of 0 or more.
  int32_t count(int sheet, int row, char column) const {
    const int32_t n = integer(sheet, row, column);
    if (n < 0) bad(sheet, row, column, CellFault::NegativeCount);
    return n;
  }
  // A flag or mode: an integer clamped to lo..hi.
  int32_t clamped(int sheet, int row, char column, int32_t lo, int32_t hi) const {
    return std::clamp(integer(sheet, row, column), lo, hi);
  }

  [[noreturn]] static void bad(int sheet, int row, char column, CellFault fault) {
    throw ImportStop{badCellMessage(sheet, row, std::string(1, column), fault)};
  }

 private:
  const office::Workbook& book_;
};

// Sheet 1: the header from row 15 on, each row read only under its condition.
void readSettings(const TaskCells& cells, TaskHeader& h, int level) {
  int r = 15;
  if (level == 2 || level == 3) h.approachSpeed = cells.real(1, r++, 'B');
  h.refusalFlag = cells.clamped(1, r++, 'B', 0, 1);
  h.servedThreshold = 0;
  if (h.refusalFlag == 1) {
    const int32_t kind = cells.integer(1, r + 1, 'B');
    if (kind == 1) h.servedThreshold = cells.integer(1, r + 2, 'B');
    if (kind >= 2) h.servedThreshold = -cells.integer(1, r + 2, 'B');
    r += 3;
  }
  h.timeFactorFlag = cells.clamped(1, r++, 'B', 0, 1);
  h.tactMinutes = h.timeFactorFlag == 1 ? cells.integer(1, r++, 'B') : 0;
  h.cargoMode = cells.clamped(1, r++, 'B', kNoCargo, kCargoByWeight);
  h.capacity = 0;
  h.returnFlag = 0;
  if (h.cargoMode > kNoCargo) {
    h.capacity = cells.real(1, r, 'B');
    h.returnFlag = cells.clamped(1, r + 1, 'B', 0, 1);
    r += 2;
  }
  h.orderMode = cells.clamped(1, r, 'B', kNoOrder, kPriorityClasses);
  h.priorityCount = h.orderMode == kPriorityClasses ? cells.integer(1, r + 5, 'B') : 0;
}

TaskHeader readHeader(const TaskCells& cells, const TaskHeader& base, std::string_view code,
                      std::string_view name) {
  TaskHeader h = base;
  h.language = cut(cells.trimmedText(1, 1, 'B'), 3);
  h.code = cut(code, 6);
  h.name = cut(name, 70);
  h.dbKind = cutTrimmed(cells.text(1, 5, 'B'), 4);
  h.dbCode = office::digitCodeText(cells.text(1, 6, 'B'), 3);
  h.dbName = cut(cells.text(1, 7, 'B'), 70);
  h.dbDate = cut(cells.text(1, 8, 'B'), 40);
  h.pointCount = cells.count(1, 9, 'B');
  h.startPoint = cells.integer(1, 10, 'B');
  h.endPoint = cells.trimmedText(1, 11, 'B').empty() ? 0 : cells.integer(1, 11, 'B');
  h.moneyUnit = cut(cells.text(1, 12, 'B'), 20);
  h.finePerKm = cells.real(1, 13, 'B');
  h.finePerHour = cells.real(1, 14, 'B');
  readSettings(cells, h, dbLevel(h.dbKind));
  return h;
}

// Sheet 2, row i + 2 for point i (0-based): from column G on, each field takes the next
// column only when the task's settings call for it.
TaskPointRec readPoint(const TaskCells& cells, const TaskHeader& h, int level, int i,
                       const TaskPointRec* previous) {
  const int row = i + 2;
  const int64_t number = static_cast<int64_t>(i) + 1;
  const bool start = number == h.startPoint;
  const bool startOrEnd = start || number == h.endPoint;
  TaskPointRec p;
  // An empty street type or street repeats the previous point's.
  const std::string type = cells.trimmedText(2, row, 'D');
  p.streetType = type.empty() ? (previous ? previous->streetType : "") : cutTrimmed(type, 4);
  const std::string street = cells.trimmedText(2, row, 'E');
  p.street = street.empty() ? (previous ? previous->street : "") : cutTrimmed(street, 30);
  p.house = cut(cells.text(2, row, 'F'), 9);

  char col = 'G';
  // With cargo the start point's times read "-"; without, its service time is its own.
  if (!start || h.cargoMode == kNoCargo) p.serviceTime = cells.real(2, row, col);
  ++col;
  if (h.cargoMode > kNoCargo) {
    if (!start) p.unloadTime = cells.real(2, row, col);
    ++col;
  }
  p.waitPenalty = cells.real(2, row, col++);
  if (h.orderMode > kNoOrder) {
    const std::string order = cells.trimmedText(2, row, col);
    if (order.empty())
      p.orderValue = -1;
    else if (order == "-" && h.orderMode == kPriorityClasses)
      p.orderValue = start ? 0 : h.pointCount;
    else
      p.orderValue = cells.integer(2, row, col);
    ++col;
  }
  if (h.refusalFlag > 0) {
    p.refusalAllowed = !startOrEnd && !cells.trimmedText(2, row, col).empty() ? 1 : 0;
    ++col;
  }
  if (h.cargoMode > kNoCargo) {
    if (!start) p.volume = cells.real(2, row, col);
    ++col;
  }
  if (h.refusalFlag > 0 || h.timeFactorFlag > 0 || h.cargoMode > kNoCargo) {
    if (!start) p.income = cells.real(2, row, col);
    ++col;
  }
  if (h.timeFactorFlag > 0) {
    if (!startOrEnd) {
      p.windowLow = cells.integer(2, row, col);
      p.windowHigh =
          cells.trimmedText(2, row, col + 1).empty() ? 0 : cells.integer(2, row, col + 1);
    }
    col += 2;
  }
  if (level == 1 && !cells.trimmedText(2, row, col).empty() &&
      !cells.trimmedText(2, row, col + 1).empty()) {
    p.toCount = cells.count(2, row, col);
    p.fromCount = cells.count(2, row, col + 1);
  }
  p.sectionIndex = -1;
  return p;
}

// A from-transition's kind: "5: q" names target point q (kind -q); anything else is the
// kind itself.
int32_t fromKind(const TaskCells& cells, int row) {
  std::string kind = cells.trimmedText(3, row, 'D');
  if (kind.empty() || kind[0] != '5') return cells.integer(3, row, 'D');
  kind.erase(0, 1);
  if (!kind.empty() && kind[0] == ':') kind.erase(0, 1);
  if (!kind.empty() && kind[0] == ' ') kind.erase(0, 1);
  const std::optional<int32_t> q = parseInt(kind);
  if (!q) TaskCells::bad(3, row, 'D', CellFault::NotAWholeNumber);
  return -*q;
}

TransitionRec readTransition(const TaskCells& cells, int row, int32_t kind) {
  TransitionRec t;
  t.kind = kind;
  t.dist = cells.real(3, row, 'E');
  t.speed = cells.real(3, row, 'F');
  return t;
}

// Sheet 3 from row 2: the to-block (a point without transitions to it has no row and no
// section), one separator row, the from-block.
void readTransitions(const TaskCells& cells, ImportedTask& task) {
  int row = 2;
  task.toLists.assign(task.points.size(), {});
  task.fromLists.assign(task.points.size(), {});
  for (size_t i = 0; i < task.points.size(); ++i) {
    TaskPointRec& p = task.points[i];
    if (p.toCount == 0) continue;
    p.sectionIndex = cells.integer(3, row, 'B') - 1;
    for (int32_t j = 0; j < p.toCount; ++j, ++row)
      task.toLists[i].push_back(readTransition(cells, row, cells.integer(3, row, 'D')));
  }
  ++row;
  for (size_t i = 0; i < task.points.size(); ++i)
    for (int32_t j = 0; j < task.points[i].fromCount; ++j, ++row)
      task.fromLists[i].push_back(readTransition(cells, row, fromKind(cells, row)));
}

Text importedTaskCaption(const ProtocolRec& rec) {
  return lit("[") + val(rec.code) + "] " + val(rec.name);
}

bool isKnownKind(std::string_view kind) {
  return kind == "use1" || kind == "use2" || kind == "sys1" || kind == "sys2" || kind == "cli2";
}

// The per-point lists of the wizard that the steps build from the points. The imported task
// replaces the one being entered: what was typed for it goes, and the pages are filled again
// from the imported values.
void clearPointWork(TaskWizardState& state) {
  state.pointChanged.clear();
  state.pointSectionInfo.clear();
  state.startSectionDist.clear();
  state.reverseSectionDist.clear();
  for (TypedCells* typed :
       {&state.typed1, &state.typed1a, &state.typed12, &state.typed2, &state.typed3})
    typed->clear();
  ++state.taskRevision;
}

}  // namespace

Message workbookOtherLanguageMessage(std::string_view workbookLang, std::string_view langCode) {
  return warningMessage(shell(785) + " (" + val(workbookLang) + "), " + shell(786).trimmed() +
                        " (" + val(langCode) + "), " + shell(789) + ".");
}

Message workbookDatabaseMissingMessage(std::string_view code, std::string_view kind) {
  return warningMessage(shell(1200) + " \"" + val(code) + "\" " + shell(1201) + " \"" + val(kind) +
                        "\", " + shell(1202) + ".");
}

Message badCellMessage(int sheet, int row, std::string_view column, CellFault fault) {
  Text why;
  switch (fault) {
    case CellFault::NotANumber: why = shell(979); break;
    case CellFault::NotAWholeNumber: why = shell(980); break;
    case CellFault::NegativeCount: why = shell(981); break;
  }
  return office::cellMessage(shell(975), sheet, row, column, why);
}

Message missingSheetMessage(int sheet) {
  return office::missingSheetMessage(shell(975), sheet);
}

TaskWorkbookRead readTaskWorkbook(const office::Workbook& book, const TaskHeader& base,
                                  std::string_view langCode, std::string_view code,
                                  std::string_view name) {
  TaskWorkbookRead result;
  const TaskCells cells(book);
  try {
    const std::string language = cut(cells.trimmedText(1, 1, 'B'), 3);
    if (language != langCode) {
      result.message = workbookOtherLanguageMessage(language, langCode);
      return result;
    }
    ImportedTask task;
    task.header = readHeader(cells, base, code, name);
    const int level = dbLevel(task.header.dbKind);
    // Points are read one by one: a count larger than the sheet stops at the first row
    // that is not there, before anything of that size is held.
    for (int i = 0; i < task.header.pointCount; ++i)
      task.points.push_back(readPoint(cells, task.header, level, i,
                                      task.points.empty() ? nullptr : &task.points.back()));
    if (level == 1) readTransitions(cells, task);
    result.task = std::move(task);
  } catch (const ImportStop& stop) {
    result.message = stop.message;
  }
  return result;
}

int importedDatabaseItem(const std::vector<DbrnCatalogEntry>& catalog, const TaskHeader& h) {
  if (!isKnownKind(h.dbKind)) return 0;
  std::vector<std::string> items{std::string()};  // the none item, never a database
  for (std::string& item : catalogueItems(catalog)) items.push_back(std::move(item));
  return databaseItemOf(items, h);
}

ImportOutcome importProtocolTask(TaskWizardState& state, AppState& app, int item) {
  ImportOutcome out;
  const bool chosen = item > 0 && static_cast<size_t>(item) <= app.protocol.size();
  if (chosen) {
    const ProtocolRec& rec = app.protocol[static_cast<size_t>(item) - 1];
    state.transitionsEntered = 1;
    app.selectedPath = taskBasePath(app.dirs(), rec.code);
    const TaskLoad load =
        taskPaths(app.dirs(), rec.code)
            ? loadTaskFile(state, app.selectedPath)
            : TaskLoad{TaskLoadOutcome::Unreadable,
                       taskFileUnreadableMessage("qj_" + rec.code + ".dat"), std::nullopt};
    out.message = load.message;
    if (load.outcome == TaskLoadOutcome::Loaded) {
      setText(out.updates, "staticTask", importedTaskCaption(rec));
      if (load.approachSpeedText) setText(out.updates, "Velo", val(*load.approachSpeedText));
      clearPointWork(state);
    } else {
      setText(out.updates, "staticTask", shell(275) + ".");
    }
  } else {
    state.transitionsEntered = 0;
    resetToNewTaskHeader(state.header);
    state.points.clear();
    state.toTransitions.clear();
    state.fromTransitions.clear();
    clearPointWork(state);
    setText(out.updates, "staticTask", shell(275) + ".");
  }
  out.dbItem = importedDatabaseItem(app.dbrnCatalog, state.header);
  return out;
}

LoadedTaskWorkbook loadTaskWorkbook(const fs::path& file, const TaskHeader& base,
                                    std::string_view langCode, std::string_view code,
                                    std::string_view name, const WorkProgress& progress) {
  LoadedTaskWorkbook loaded;
  loaded.fileName = cp1251::fromUtf8(file.filename().string());
  const office::WorkbookRead read = office::readWorkbook(file, {}, progress);
  if (!read.book) {
    loaded.read.message = office::workbookReadMessage(loaded.fileName, read.fault);
    return loaded;
  }
  loaded.read = readTaskWorkbook(*read.book, base, langCode, code, name);
  return loaded;
}

ImportOutcome takeTaskWorkbook(TaskWizardState& state, const AppState& app,
                               LoadedTaskWorkbook loaded) {
  ImportOutcome out;
  if (!loaded.read.task) {
    out.message = loaded.read.message;
    return out;
  }
  ImportedTask& t = *loaded.read.task;
  state.header = std::move(t.header);
  state.points = std::move(t.points);
  state.toTransitions = std::move(t.toLists);
  state.fromTransitions = std::move(t.fromLists);
  clearPointWork(state);
  state.loadFailed = 0;
  if (dbLevel(state.header.dbKind) >= 2)
    setText(out.updates, "Velo", val(formatReal(state.header.approachSpeed, state.decSep)));
  setText(out.updates, "Label_ex1", shell(108) + ":");
  setText(out.updates, "Label_ex2", val(loaded.fileName));
  out.dbItem = importedDatabaseItem(app.dbrnCatalog, state.header);
  // A workbook may come from another installation: say which database it asks for.
  if (*out.dbItem == 0)
    out.message = workbookDatabaseMissingMessage(state.header.dbCode, state.header.dbKind);
  return out;
}

ImportOutcome importTaskWorkbook(TaskWizardState& state, const AppState& app, const fs::path& file,
                                 std::string_view code, std::string_view name) {
  return takeTaskWorkbook(state, app,
                          loadTaskWorkbook(file, state.header, state.langCode, code, name));
}

}  // namespace qj
