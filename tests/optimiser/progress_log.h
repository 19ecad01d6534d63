#pragma once
// Progress of a run as readable lines: every shell text shows as its index in brackets.

#include <string>
#include <vector>

#include "optimiser/progress.h"

namespace qj::optim::test {

inline const ShellTables& indexShell() {
  static const ShellTables shell = [] {
    const auto mark = [](std::string open, int k, const char* close) {
      return open.append(std::to_string(k)).append(close);
    };
    ShellTables s;
    for (int k = 0; k < 1360; ++k) s.shellTexts.push_back(mark("[", k, "]"));
    for (int k = 0; k < 100; ++k) s.shortTexts.push_back(mark("<s", k, ">"));
    return s;
  }();
  return shell;
}

class ProgressLog : public RunProgress {
 public:
  void setText(RunLabel label, const Text& text) override {
    static const char* const names[] = {"L2", "L3",    "L4",  "L5",   "L6",    "L7",
                                        "L8", "Start", "End", "Busy", "Button"};
    lines.push_back(std::string(names[static_cast<int>(label)]) + ": " + text.utf8(indexShell()));
  }
  void setBusyVisible(bool visible) override {
    lines.push_back(visible ? "Busy shown" : "Busy hidden");
  }

  std::vector<std::string> lines;
};

}  // namespace qj::optim::test
