// Times the task wizard's state-count estimate on the largest tasks it accepts: ten points,
// the widest time windows (9999 minutes at a tact of 1 minute, so 10000 time steps), with and
// without the return flag and the order rules. The estimate runs on the GUI thread when the
// user presses Next, so it must take milliseconds.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "task/section_choice_step.h"

int main() {
  struct Case {
    const char* name;
    int32_t returnFlag, orderMode, endPoint;
  };
  const Case cases[] = {{"no rules", 0, 0, 0},
                        {"end point", 0, 0, 10},
                        {"return flag", 1, 0, 0},
                        {"return flag, priority classes", 1, 3, 0},
                        {"return flag, next points", 1, 1, 0}};
  for (const Case& c : cases) {
    qj::TaskHeader h;
    h.pointCount = 10;
    h.startPoint = 1;
    h.endPoint = c.endPoint;
    h.returnFlag = c.returnFlag;
    h.orderMode = c.orderMode;
    h.priorityCount = 4;
    h.refusalFlag = 1;
    h.timeFactorFlag = 1;
    h.tactMinutes = 1;
    std::vector<qj::TaskPointRec> points(10);
    for (int i = 1; i < 10; ++i) {
      points[i].windowLow = 100 * i;
      points[i].windowHigh = 9999;
      points[i].refusalAllowed = i % 3 == 0;
      points[i].orderValue = c.orderMode == 3 ? 1 + i % 4 : (i % 2 == 1 ? i + 2 : -1);
      if (points[i].orderValue > 10) points[i].orderValue = -1;
    }
    double best = 1e9, total = 0;
    int64_t count = 0;
    const int runs = 20;
    for (int r = 0; r < runs; ++r) {
      const auto start = std::chrono::steady_clock::now();
      count = qj::estimateStateCount(h, points);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      best = std::min(best, ms);
      total += ms;
    }
    std::printf("%-32s %12lld states: %.3f ms best, %.3f ms mean of %d\n", c.name,
                static_cast<long long>(count), best, total / runs, runs);
  }
  return 0;
}
