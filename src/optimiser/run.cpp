#include "optimiser/run.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>

#include "frame/task_handover.h"
#include "optimiser/client_task.h"
#include "optimiser/task_input.h"
#include "optimiser/texts.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "records/datetime.h"

namespace qj::optim {

std::string taskCodeOfFileName(std::string_view fileName) {
  return std::string(fileName.substr(3, 6));
}

std::vector<std::string> queuedTaskCodes(const std::filesystem::path& solving) {
  std::vector<std::string> codes;
  for (const std::string& name : queuedInputNames(solving))
    codes.push_back(taskCodeOfFileName(name));
  return codes;
}

std::string inputFileName(std::string_view code) {
  return "qj_" + std::string(code) + "_in.dat";
}

std::string solutionFileName(std::string_view code) {
  return "qj_" + std::string(code) + "_out.dat";
}

std::string formatElapsed(double seconds) {
  const int64_t total = seconds > 0 ? static_cast<int64_t>(seconds) : 0;
  char buf[48];
  std::snprintf(buf, sizeof buf, "%lld:%02d:%02d", static_cast<long long>(total / 3600),
                static_cast<int>(total / 60 % 60), static_cast<int>(total % 60));
  return buf;
}

namespace {

// Reads, checks and solves a task; the passes report their own failure line.
struct TaskWork {
  PassesResult passes;
  std::optional<Text> failure;
  bool failureShown = false;
  bool clientAddition = false;
  int64_t sectionCount = 0, pointCount = 0;
  RouteDescription description;  // of a solved client-addition task
};

TaskWork readAndSolve(const RunEnvironment& env, const IterationSettings& settings,
                      std::string_view code, RunProgress& progress) {
  TaskWork s;
  const std::string fileName = inputFileName(code);
  const auto bytes = readFile(env.solving / fileName, kMaxTaskFileBytes);
  if (!bytes) {
    const auto size = fileSize(env.solving / fileName);
    const int head = size && *size > kMaxTaskFileBytes ? 1327 : 911;
    s.failure = validationHead(code) + shell(head) + " \"" + val(fileName) + "\".";
    return s;
  }
  TaskInput input = readTaskInput(*bytes, code, fileName, settings, env.decimalSeparator);
  s.clientAddition = input.clientAddition;
  s.sectionCount = input.header.sectionCount;
  s.pointCount = input.header.pointCount;
  if (input.failure) {
    s.failure = input.failure;
    return s;
  }
  OptimTask& task = *input.task;
  // A client-addition task is solved on the network of its system database, read once.
  std::optional<DbrnFile> system;
  if (input.clientAddition) {
    const std::string dbName = systemDatabaseName(task.header, env.langCode);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(env.dbrn / dbName, ec)) {
      s.failure = validationHead(code) + shell(567).trimmed() + " \"" + val(dbName) + "\", " +
                  shell(368) + ".";
      return s;
    }
    SystemDatabase read = readSystemDatabase(task, env.dbrn / dbName);
    if (read.failure) {
      s.failure = read.failure;
      return s;
    }
    system = std::move(read.db);
    loadRoadNetworkTask(task, *system, progress);
    s.failure = checkTaskRules(task, settings, env.decimalSeparator);
    if (!s.failure) s.failure = checkGraph(task);
    if (s.failure) return s;
  }
  s.passes = solvePasses(task, settings, {env.threads, env.decimalSeparator}, progress);
  s.failure = s.passes.failure;
  s.failureShown = true;
  if (system && s.passes.solutionFound > 0)
    s.description = buildRouteDescription(task, s.passes.routeSteps, s.passes.startServiceTimes,
                                          *system, *env.shell, env.decimalSeparator);
  return s;
}

int32_t toInt32(int64_t n) {
  return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

}  // namespace

TaskOutcome runTask(const RunEnvironment& env, const IterationSettings& settings,
                    std::string_view code, RunProgress& progress) {
  TaskOutcome out;
  out.code = std::string(code);
  const auto now = [&env] { return env.now ? env.now() : nowDateTime(); };
  const double startedAt = now();
  const CivilDateTime started = fromDateTime(startedAt);
  progress.setText(RunLabel::StartLine,
                   startLine(code, clockText(started), dateText(started, env.langCode)));
  const auto began = std::chrono::steady_clock::now();

  const TaskWork solved = readAndSolve(env, settings, code, progress);
  if (solved.failure && !solved.failureShown) progress.setText(RunLabel::Failure, *solved.failure);

  // Ending the task: its solution file, whatever happened.
  const double finishedAt = now();
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  const std::string elapsed = formatElapsed(out.seconds);
  const PassesResult& res = solved.passes;
  SolutionFile& file = out.file;
  SolutionHeader& h = file.header;
  h.infoText1 = env.infoTexts[0];
  h.infoText2 = env.infoTexts[1];
  h.infoText3 = env.infoTexts[2];
  h.elapsedText = elapsed;
  h.finalMessage = solved.failure ? solved.failure->resolve(*env.shell) : std::string(255, ' ');
  h.checkInterval = settings.checkInterval;
  h.iterationLimit = settings.iterationLimit;
  h.solutionFound = res.solutionFound;
  h.iterationsDone = res.iterationsDone;
  h.finishDate = std::floor(finishedAt);
  h.finishTime = finishedAt - h.finishDate;
  h.relaxationCoef = settings.relaxationCoef;
  h.stopCriterion = settings.stopCriterion;
  h.stateCount = toInt32(res.stateCount);
  h.routeStepCount = static_cast<int32_t>(res.routeSteps.size());
  h.objective = res.objective;
  file.body = solutionBodyFor(solved.clientAddition, res.solutionFound, solved.sectionCount,
                              solved.pointCount);
  if (file.body == SolutionBody::Route) {
    file.steps = res.routeSteps;
    file.startServiceTimes = res.startServiceTimes;
  }
  if (file.body == SolutionBody::Description) {
    file.routeCostTotal = solved.description.routeCostTotal;
    file.lines = solved.description.lines;
  }
  const std::string outName = solutionFileName(code);
  try {
    writeFileAtomic(env.solving / outName, writeSolutionFile(file));
    out.written = true;
  } catch (const FileError& e) {
    out.written = e.inPlace();
    progress.setText(RunLabel::Failure,
                     e.inPlace() ? taskPrefix(code) + fileWrittenNotDurableMessage(outName).text
                                 : taskPrefix(code) + shell(919) + " \"" + val(outName) + "\".");
  }
  if (out.written) progress.setText(RunLabel::Line7, solutionWrittenLine(code));
  progress.setText(RunLabel::EndLine, endLine(code, elapsed));
  progress.setBusyVisible(false);
  return out;
}

std::vector<TaskOutcome> runOptimisation(const RunEnvironment& env, const RunSettings& settings,
                                         RunProgress& progress) {
  progress.setText(RunLabel::StartButton, shell(582));
  for (RunLabel label : {RunLabel::Line2, RunLabel::Line3, RunLabel::Line4, RunLabel::Line5,
                         RunLabel::Line6, RunLabel::Line7, RunLabel::Failure, RunLabel::EndLine})
    progress.setText(label, Text{});
  std::vector<TaskOutcome> outcomes;
  for (const std::string& code : settings.taskCodes)
    outcomes.push_back(runTask(env, settings.iteration, code, progress));
  progress.setText(RunLabel::StartButton, shell(0).trimmed().withAccessKeys());
  return outcomes;
}

}  // namespace qj::optim
