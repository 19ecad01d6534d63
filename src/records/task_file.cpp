#include "records/task_file.h"

#include <algorithm>

namespace qj {

int dbLevel(std::string_view dbKind) {
  if (dbKind == "sys1" || dbKind == "use1") return 1;
  if (dbKind == "sys2" || dbKind == "use2") return 2;
  if (dbKind == "cli2") return 3;
  return 0;
}

void writeTaskHeader(ByteWriter& out, const TaskHeader& h) {
  out.shortString(h.language, 3);
  out.shortString(h.code, 6);
  out.shortString(h.name, 70);
  out.shortString(h.dbKind, 4);
  out.shortString(h.dbCode, 3);
  out.shortString(h.dbName, 70);
  out.shortString(h.dbDate, 40);
  out.zeros(1);
  out.i32(h.sectionCount);
  out.i32(h.pointCount);
  out.i32(h.startPoint);
  out.i32(h.endPoint);
  out.shortString(h.moneyUnit, 20);
  out.zeros(7);
  out.f64(h.finePerKm);
  out.f64(h.finePerHour);
  out.f64(h.approachSpeed);
  out.i32(h.refusalFlag);
  out.i32(h.servedThreshold);
  out.i32(h.timeFactorFlag);
  out.i32(h.tactMinutes);
  out.i32(h.cargoMode);
  out.zeros(4);
  out.f64(h.capacity);
  out.i32(h.returnFlag);
  out.i32(h.orderMode);
  out.i32(h.priorityCount);
  out.i32(h.stateCount2);
}

TaskHeader readTaskHeader(ByteReader& in) {
  TaskHeader h;
  h.language = in.shortString(3);
  h.code = in.shortString(6);
  h.name = in.shortString(70);
  h.dbKind = in.shortString(4);
  h.dbCode = in.shortString(3);
  h.dbName = in.shortString(70);
  h.dbDate = in.shortString(40);
  in.skip(1);
  h.sectionCount = in.i32();
  h.pointCount = in.i32();
  h.startPoint = in.i32();
  h.endPoint = in.i32();
  h.moneyUnit = in.shortString(20);
  in.skip(7);
  h.finePerKm = in.f64();
  h.finePerHour = in.f64();
  h.approachSpeed = in.f64();
  h.refusalFlag = in.i32();
  h.servedThreshold = in.i32();
  h.timeFactorFlag = in.i32();
  h.tactMinutes = in.i32();
  h.cargoMode = in.i32();
  in.skip(4);
  h.capacity = in.f64();
  h.returnFlag = in.i32();
  h.orderMode = in.i32();
  h.priorityCount = in.i32();
  h.stateCount2 = in.i32();
  return h;
}

void writeTaskPoint(ByteWriter& out, const TaskPointRec& p) {
  out.shortString(p.streetType, 4);
  out.shortString(p.street, 30);
  out.shortString(p.house, 9);
  out.zeros(2);
  out.f64(p.serviceTime);
  out.f64(p.unloadTime);
  out.f64(p.waitPenalty);
  out.i32(p.orderValue);
  out.i32(p.refusalAllowed);
  out.f64(p.volume);
  out.f64(p.income);
  out.i32(p.windowLow);
  out.i32(p.windowHigh);
  out.i32(p.toCount);
  out.i32(p.fromCount);
  out.i32(p.vertexNo);
  out.i32(p.sectionIndex);
  out.i32(p.reverseSectionIndex);
  out.i32(p.houseIndex);
}

TaskPointRec readTaskPoint(ByteReader& in) {
  TaskPointRec p;
  p.streetType = in.shortString(4);
  p.street = in.shortString(30);
  p.house = in.shortString(9);
  in.skip(2);
  p.serviceTime = in.f64();
  p.unloadTime = in.f64();
  p.waitPenalty = in.f64();
  p.orderValue = in.i32();
  p.refusalAllowed = in.i32();
  p.volume = in.f64();
  p.income = in.f64();
  p.windowLow = in.i32();
  p.windowHigh = in.i32();
  p.toCount = in.i32();
  p.fromCount = in.i32();
  p.vertexNo = in.i32();
  p.sectionIndex = in.i32();
  p.reverseSectionIndex = in.i32();
  p.houseIndex = in.i32();
  return p;
}

void writeTransition(ByteWriter& out, const TransitionRec& t) {
  out.f64(t.dist);
  out.f64(t.speed);
  out.i32(t.kind);
}

TransitionRec readTransition(ByteReader& in) {
  TransitionRec t;
  t.dist = in.f64();
  t.speed = in.f64();
  t.kind = in.i32();
  return t;
}

void writeTaskArc(ByteWriter& out, const TaskArc& a) {
  out.i32(a.target);
  out.zeros(4);
  out.f64(a.time);
  out.f64(a.cost);
}

TaskArc readTaskArc(ByteReader& in) {
  TaskArc a;
  a.target = in.i32();
  in.skip(4);
  a.time = in.f64();
  a.cost = in.f64();
  return a;
}

std::string writeTaskFile(const TaskFile& task) {
  ByteWriter out;
  writeTaskHeader(out, task.header);
  for (const auto& p : task.points) writeTaskPoint(out, p);
  if (dbLevel(task.header.dbKind) < 3) {
    for (const auto& list : task.toLists)
      for (const auto& t : list) writeTransition(out, t);
    for (const auto& list : task.fromLists)
      for (const auto& t : list) writeTransition(out, t);
  }
  return out.take();
}

std::string writeSolverInput(const SolverInput& input, std::string_view shellFileName) {
  ByteWriter out;
  writeTaskHeader(out, input.header);
  for (const auto& p : input.points) writeTaskPoint(out, p);
  if (dbLevel(input.header.dbKind) < 3) {
    for (int32_t n : input.arcCounts) out.i32(n);
    for (const auto& a : input.arcs) writeTaskArc(out, a);
  }
  // The first 25 bytes of a string[25]: the length byte and up to 24 characters.
  out.u8(static_cast<uint8_t>(std::min<size_t>(shellFileName.size(), 25)));
  const std::string_view chars = shellFileName.substr(0, kShellNameTrailerSize - 1);
  out.raw(chars);
  out.zeros(kShellNameTrailerSize - 1 - chars.size());
  return out.take();
}

namespace {

std::string countError(const char* what, int64_t count, size_t at) {
  return std::string("the ") + what + " (" + std::to_string(count) + ") at byte " +
         std::to_string(at) + " do not fit the file";
}

// Reads `count` records of `size` bytes after checking that they are present.
template <typename Read>
bool readRecords(ByteReader& in, int64_t count, size_t size, const char* what, Read read,
                 std::string& error) {
  if (!in.holds(count, size)) {
    error = countError(what, count, in.pos());
    return false;
  }
  for (int64_t i = 0; i < count; ++i) read();
  return true;
}

bool readPoints(ByteReader& in, const TaskHeader& h, std::vector<TaskPointRec>& points,
                std::string& error) {
  return readRecords(
      in, h.pointCount, kTaskPointSize, "target points",
      [&] { points.push_back(readTaskPoint(in)); }, error);
}

}  // namespace

TaskFileRead readTaskFile(std::string_view bytes) {
  TaskFileRead result;
  try {
    ByteReader in(bytes);
    TaskFile task;
    task.header = readTaskHeader(in);
    if (!readPoints(in, task.header, task.points, result.error)) return result;
    if (dbLevel(task.header.dbKind) < 3) {
      for (auto* lists : {&task.toLists, &task.fromLists}) {
        const bool to = lists == &task.toLists;
        lists->resize(task.points.size());
        for (size_t i = 0; i < task.points.size(); ++i) {
          const int32_t n = to ? task.points[i].toCount : task.points[i].fromCount;
          auto& list = (*lists)[i];
          if (!readRecords(
                  in, n, kTransitionSize,
                  to ? "transitions to a point" : "transitions from a point",
                  [&] { list.push_back(readTransition(in)); }, result.error))
            return result;
        }
      }
    }
    result.task = std::move(task);
  } catch (const ReadError& e) {
    result.error = e.what();
  }
  return result;
}

SolverInputRead readSolverInput(std::string_view bytes) {
  SolverInputRead result;
  try {
    ByteReader in(bytes);
    SolverInput input;
    input.header = readTaskHeader(in);
    if (!readPoints(in, input.header, input.points, result.error)) return result;
    if (dbLevel(input.header.dbKind) < 3) {
      const int64_t vertices =
          static_cast<int64_t>(input.header.sectionCount) + input.header.pointCount;
      if (input.header.sectionCount < 0 ||
          !readRecords(
              in, vertices, 4, "arc counts", [&] { input.arcCounts.push_back(in.i32()); },
              result.error)) {
        if (result.error.empty())
          result.error = countError("sections", input.header.sectionCount, 204);
        return result;
      }
      int64_t arcTotal = 0;
      for (int32_t n : input.arcCounts) {
        if (n < 0) {
          result.error = "a negative arc count (" + std::to_string(n) + ")";
          return result;
        }
        arcTotal += n;
      }
      if (!readRecords(
              in, arcTotal, kTaskArcSize, "arcs", [&] { input.arcs.push_back(readTaskArc(in)); },
              result.error))
        return result;
    }
    input.shellNameTrailer = in.raw(kShellNameTrailerSize);
    result.input = std::move(input);
  } catch (const ReadError& e) {
    result.error = e.what();
  }
  return result;
}

}  // namespace qj
