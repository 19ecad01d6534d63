#include "reports/viewer_files.h"

#include "dbrn/dbrn_io.h"
#include "platform/files.h"
#include "records/cp1251.h"

namespace qj {
namespace {

bool allOf(std::string_view s, size_t length, bool (*ok)(char)) {
  if (s.size() != length) return false;
  for (char c : s)
    if (!ok(c)) return false;
  return true;
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isCodeChar(char c) {
  return isDigit(c) || (c >= 'A' && c <= 'Z');
}

Text faultDetail(ViewerFault fault) {
  switch (fault) {
    case ViewerFault::Unreadable: break;
    case ViewerFault::Damaged: return shell(944);
    case ViewerFault::TooLong: return shell(954);
    case ViewerFault::StartPoint: return shell(945);
    case ViewerFault::EndPoint: return shell(946);
    case ViewerFault::TaskCode: return shell(947);
    case ViewerFault::DbCode: return shell(948);
    case ViewerFault::RoutePoint: return shell(949);
    case ViewerFault::RouteTime: return shell(950);
  }
  return {};
}

Message fileMessage(Text head, std::string_view file, ViewerFault fault) {
  Text text = head + " \"" + val(file) + "\" ";
  if (fault == ViewerFault::Unreadable)
    text += shell(942) + ".";
  else
    text += shell(943) + ": " + faultDetail(fault) + ".";
  return errorMessage(text);
}

// The kind part of a database file name: the kind, or nothing for a kind outside the five.
std::string_view kindInFileName(const TaskHeader& task) {
  return dbLevel(task.dbKind) == 0 ? std::string_view() : std::string_view(task.dbKind);
}

// A file read whole when its length is within the bound; a longer one is refused unread.
std::optional<std::string> readBounded(const fs::path& path, std::optional<ViewerFault>& fault) {
  if (const auto size = fileSize(path); size && *size > kMaxTaskFileBytes) {
    fault = ViewerFault::TooLong;
    return std::nullopt;
  }
  auto bytes = readFile(path, kMaxTaskFileBytes);
  if (!bytes) fault = ViewerFault::Unreadable;
  return bytes;
}

}  // namespace

Message taskFileMessage(std::string_view file, ViewerFault fault) {
  return fileMessage(shell(940), file, fault);
}

Message solutionFileMessage(std::string_view file, ViewerFault fault) {
  return fileMessage(shell(941), file, fault);
}

Message routeDatabaseMessage(std::string_view solutionFile, std::string_view dbFile) {
  return errorMessage(shell(941) + " \"" + val(solutionFile) + "\" " + shell(951) + " \"" +
                      val(dbFile) + "\".");
}

std::optional<ViewerFault> checkViewedTaskHeader(const TaskHeader& h) {
  // Both codes become parts of file names: the solution's and the database's.
  if (!allOf(h.code, 6, isCodeChar)) return ViewerFault::TaskCode;
  if (!allOf(h.dbCode, 3, isDigit)) return ViewerFault::DbCode;
  if (h.startPoint < 1 || h.startPoint > h.pointCount) return ViewerFault::StartPoint;
  if (h.endPoint > h.pointCount) return ViewerFault::EndPoint;
  return std::nullopt;
}

std::string viewerFileName(const ProgramFolder& folder, const fs::path& file) {
  const fs::path relative = file.lexically_relative(folder.root());
  const fs::path shown = relative.empty() || *relative.begin() == ".." ? file : relative;
  return cp1251::fromUtf8(shown.generic_string());
}

fs::path solutionPath(const ProgramFolder& folder, const TaskHeader& task) {
  return folder.data() / ("qj_" + task.code + "_out.dat");
}

fs::path databasePath(const ProgramFolder& folder, const TaskHeader& task,
                      std::string_view langCode) {
  return folder.dbrn() / cp1251::toUtf8(dbrnFileName(task.dbCode, kindInFileName(task), langCode));
}

ViewerRead<TaskFile> readViewedTask(const AppState& state) {
  const fs::path path(state.selectedPath + ".dat");
  const std::string name = viewerFileName(state.dirs(), path);
  ViewerRead<TaskFile> result;
  std::optional<ViewerFault> unread;
  const std::optional<std::string> bytes = readBounded(path, unread);
  if (!bytes) {
    result.message = taskFileMessage(name, *unread);
    return result;
  }
  TaskFileRead read = readTaskFile(*bytes);
  if (!read.task) {
    result.message = taskFileMessage(name, ViewerFault::Damaged);
    return result;
  }
  if (const auto fault = checkViewedTaskHeader(read.task->header)) {
    result.message = taskFileMessage(name, *fault);
    return result;
  }
  result.value = std::move(read.task);
  return result;
}

ViewerRead<SolutionFile> readViewedSolution(const AppState& state, const TaskHeader& task) {
  const fs::path path = solutionPath(state.dirs(), task);
  const std::string name = viewerFileName(state.dirs(), path);
  ViewerRead<SolutionFile> result;
  std::optional<ViewerFault> unread;
  const std::optional<std::string> bytes = readBounded(path, unread);
  if (!bytes) {
    result.message = solutionFileMessage(name, *unread);
    return result;
  }
  SolutionRead read = readSolutionFile(*bytes, dbLevel(task.dbKind) == 3);
  if (!read.file) {
    result.message = solutionFileMessage(name, ViewerFault::Damaged);
    return result;
  }
  result.value = std::move(read.file);
  return result;
}

ViewerRead<DbrnFile> readViewedDatabase(const AppState& state, const TaskHeader& task) {
  const fs::path path = databasePath(state.dirs(), task, state.langCode);
  ViewerRead<DbrnFile> result;
  DbrnRead read = readDbrnFile(path);
  if (!read.db) {
    result.message =
        errorMessage(dbrnReadFailure(cp1251::fromUtf8(path.filename().string()), read.error));
    return result;
  }
  result.value = std::move(read.db);
  return result;
}

}  // namespace qj
