// The cells of a task workbook as the task import takes them: sheets from the stream of the
// .xls reading process (any bytes at all), read into a task or refused with a message. A task
// read holds no more points and transitions than the sheets have rows; exported again by the
// task viewer's workbook and read back, it gives the same workbook.

#include "fuzz_support.h"
#include "reports/report_workbooks.h"
#include "reports/task_view.h"
#include "task/task_import.h"

namespace {

using namespace qj;

const ShellTables& exportTexts() {
  static const ShellTables texts = [] {
    ShellTables t;
    t.languageName = "eng English";
    for (int k = 0; k < 100; ++k) t.shortTexts.push_back("s" + std::to_string(k));
    for (int k = 0; k < 1400; ++k) t.shellTexts.push_back("S" + std::to_string(k));
    return t;
  }();
  return texts;
}

std::optional<ImportedTask> importTask(const office::Workbook& book) {
  return readTaskWorkbook(book, {}, "eng", "FUZZ01", "Fuzzed").task;
}

office::Workbook exported(const ImportedTask& t) {
  const TaskFile task{t.header, t.points, t.toLists, t.fromLists};
  const TaskView view = makeTaskView(task, "eng", exportTexts(), ',');
  return taskWorkbook(view, exportTexts(), ',');
}

size_t rowsOf(const office::Workbook& book, size_t sheet) {
  return sheet < book.sheets().size() ? static_cast<size_t>(book.sheets()[sheet].rowCount()) : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  office::ReadLimits limits = fuzz::fuzzLimits();
  limits.maxCells = 4000;
  limits.maxTextBytes = 64 << 10;
  office::XlsCellReader reader(limits, {});
  reader.take(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::optional<office::WorkbookRead> read = reader.outcome();
  if (!read || !read->book) return 0;
  const std::optional<ImportedTask> task = importTask(*read->book);
  if (!task) return 0;

  size_t transitions = 0;
  for (const auto* lists : {&task->toLists, &task->fromLists})
    for (const auto& list : *lists) transitions += list.size();
  fuzz::require(
      task->points.size() <= rowsOf(*read->book, 1) && transitions <= rowsOf(*read->book, 2),
      "a task holds more points or transitions than its sheets have rows");

  const office::Workbook first = exported(*task);
  const std::optional<ImportedTask> again = importTask(first);
  fuzz::require(again && office::xlsCellStream(exported(*again)) == office::xlsCellStream(first),
                "a task workbook exported is read back otherwise");
  return 0;
}
