#include "records/solution_file.h"

#include "records/bytes.h"

namespace qj {

SolutionBody solutionBodyFor(bool clientAddition, int32_t solutionFound, int64_t sectionCount,
                             int64_t pointCount) {
  if (clientAddition) return solutionFound > 0 ? SolutionBody::Description : SolutionBody::None;
  return sectionCount + pointCount > 0 ? SolutionBody::Route : SolutionBody::None;
}

namespace {

void writeHeader(ByteWriter& out, const SolutionHeader& h, int32_t routeStepCount) {
  out.shortString(h.infoText1, 40);
  out.shortString(h.infoText2, 40);
  out.shortString(h.infoText3, 40);
  out.shortString(h.elapsedText, 40);
  out.shortString(h.finalMessage, 255);
  out.i32(h.checkInterval);
  out.i32(h.iterationLimit);
  out.i32(h.solutionFound);
  out.i32(h.iterationsDone);
  out.zeros(4);
  out.f64(h.finishTime);
  out.f64(h.finishDate);
  out.f64(h.relaxationCoef);
  out.f64(h.stopCriterion);
  out.i32(h.stateCount);
  out.i32(routeStepCount);
  out.f64(h.objective);
}

SolutionHeader readHeader(ByteReader& in) {
  SolutionHeader h;
  h.infoText1 = in.shortString(40);
  h.infoText2 = in.shortString(40);
  h.infoText3 = in.shortString(40);
  h.elapsedText = in.shortString(40);
  h.finalMessage = in.shortString(255);
  h.checkInterval = in.i32();
  h.iterationLimit = in.i32();
  h.solutionFound = in.i32();
  h.iterationsDone = in.i32();
  in.skip(4);
  h.finishTime = in.f64();
  h.finishDate = in.f64();
  h.relaxationCoef = in.f64();
  h.stopCriterion = in.f64();
  h.stateCount = in.i32();
  h.routeStepCount = in.i32();
  h.objective = in.f64();
  return h;
}

void writeLine(ByteWriter& out, const RouteLine& l) {
  out.shortString(l.rowNo, 4);
  out.shortString(l.pointNo, 8);
  out.shortString(l.address, 40);
  out.shortString(l.arrivalTime, 20);
  out.shortString(l.serviceStart, 20);
  out.shortString(l.serviceEnd, 20);
  out.shortString(l.sectionName, 50);
  out.shortString(l.turnText, 14);
  out.shortString(l.endNode, 5);
}

RouteLine readLine(ByteReader& in) {
  RouteLine l;
  l.rowNo = in.shortString(4);
  l.pointNo = in.shortString(8);
  l.address = in.shortString(40);
  l.arrivalTime = in.shortString(20);
  l.serviceStart = in.shortString(20);
  l.serviceEnd = in.shortString(20);
  l.sectionName = in.shortString(50);
  l.turnText = in.shortString(14);
  l.endNode = in.shortString(5);
  return l;
}

// A count followed by that many records: refused when negative or beyond the bytes left.
bool checkCount(const ByteReader& in, int32_t count, size_t size, const char* what,
                std::string& error) {
  if (count >= 0 && in.holds(count, size)) return true;
  error = std::string("the ") + what + " (" + std::to_string(count) + ") at byte " +
          std::to_string(in.pos()) + " do not fit the file";
  return false;
}

}  // namespace

std::string writeSolutionFile(const SolutionFile& file) {
  ByteWriter out;
  const bool route = file.body == SolutionBody::Route;
  writeHeader(out, file.header,
              route ? static_cast<int32_t>(file.steps.size()) : file.header.routeStepCount);
  switch (file.body) {
    case SolutionBody::None: break;
    case SolutionBody::Route:
      for (const RouteStep& s : file.steps) {
        out.i32(s.code);
        out.zeros(4);
        out.f64(s.hours);
      }
      out.i32(static_cast<int32_t>(file.startServiceTimes.size()));
      for (double t : file.startServiceTimes) out.f64(t);
      break;
    case SolutionBody::Description:
      out.f64(file.routeCostTotal);
      out.i32(static_cast<int32_t>(file.lines.size()));
      for (const RouteLine& l : file.lines) writeLine(out, l);
      break;
  }
  return out.take();
}

SolutionRead readSolutionFile(std::string_view bytes, bool clientAddition) {
  SolutionRead result;
  try {
    ByteReader in(bytes);
    SolutionFile file;
    file.header = readHeader(in);
    if (clientAddition) {
      if (file.header.solutionFound >= 1) {
        file.body = SolutionBody::Description;
        file.routeCostTotal = in.f64();
        const int32_t count = in.i32();
        if (!checkCount(in, count, kRouteLineSize, "route lines", result.error)) return result;
        for (int32_t i = 0; i < count; ++i) file.lines.push_back(readLine(in));
      }
    } else if (!(in.atEnd() && file.header.routeStepCount == 0)) {
      file.body = SolutionBody::Route;
      const int32_t steps = file.header.routeStepCount;
      if (!checkCount(in, steps, kRouteStepSize, "route steps", result.error)) return result;
      for (int32_t i = 0; i < steps; ++i) {
        RouteStep s;
        s.code = in.i32();
        in.skip(4);
        s.hours = in.f64();
        file.steps.push_back(s);
      }
      const int32_t times = in.i32();
      if (!checkCount(in, times, 8, "loading times", result.error)) return result;
      for (int32_t i = 0; i < times; ++i) file.startServiceTimes.push_back(in.f64());
    }
    result.file = std::move(file);
  } catch (const ReadError& e) {
    result.error = e.what();
  }
  return result;
}

}  // namespace qj
