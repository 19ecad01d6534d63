#pragma once
// Tasks on disk for tests: the task file and the solver input of a small level-3 task in
// the Data folder of a program folder, and protocol records to list them.

#include <string>

#include "records/protocol_file.h"
#include "records/task_file.h"
#include "support/temp_dir.h"

namespace qj::test {

inline TaskHeader taskHeader(const std::string& code, const std::string& name,
                             const std::string& language = "eng") {
  TaskHeader h;
  h.language = language;
  h.code = code;
  h.name = name;
  h.dbKind = "cli2";
  h.dbCode = "001";
  h.dbName = "Demo city";
  h.pointCount = 2;
  h.startPoint = 1;
  h.endPoint = 2;
  h.moneyUnit = "EUR";
  return h;
}

// Writes Data/qj_<code>.dat and Data/qj_<code>_in.dat.
inline void writeTask(const TempDir& root, const std::string& code, const std::string& name,
                      const std::string& language = "eng") {
  TaskFile task;
  task.header = taskHeader(code, name, language);
  task.points.resize(2);
  root.write("Data/qj_" + code + ".dat", writeTaskFile(task));
  SolverInput input;
  input.header = task.header;
  input.points = task.points;
  root.write("Data/qj_" + code + "_in.dat", writeSolverInput(input, "Shell (QJ 1.6).eng"));
}

inline ProtocolRec protocolRecord(const std::string& code, const std::string& name,
                                  int32_t status = InputEntered) {
  ProtocolRec r;
  r.code = code;
  r.name = name;
  r.status = status;
  r.createdAt = 46000.25;  // 9 December 2025, 06:00
  r.changedAt = 46001;     // 10 December 2025, midnight
  if (status >= SentToSolving) r.sentToSolvingAt = 46001.5;
  if (status >= SolutionLoaded) r.solutionLoadedAt = 46002.75;
  return r;
}

}  // namespace qj::test
