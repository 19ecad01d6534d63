#pragma once
// Progress of a run as readable lines: every shell text shows as its index in brackets.

#include <sstream>
#include <string>
#include <vector>

#include "optimiser/progress.h"

namespace qj::optim::test {

inline const ShellTables& indexShell() {
  static const ShellTables shell = [] {
    ShellTables s;
    for (int k = 0; k < 1200; ++k) {
      std::ostringstream name;
      name << '[' << k << ']';
      s.shellTexts.push_back(name.str());
    }
    for (int k = 0; k < 100; ++k) {
      std::ostringstream name;
      name << "<s" << k << '>';
      s.shortTexts.push_back(name.str());
    }
    return s;
  }();
  return shell;
}

inline const char* labelName(RunLabel label) {
  switch (label) {
    case RunLabel::Line2: return "L2";
    case RunLabel::Line3: return "L3";
    case RunLabel::Line4: return "L4";
    case RunLabel::Line5: return "L5";
    case RunLabel::Line6: return "L6";
    case RunLabel::Line7: return "L7";
    case RunLabel::Failure: return "L8";
    case RunLabel::StartLine: return "Start";
    case RunLabel::EndLine: return "End";
    case RunLabel::Busy: return "Busy";
    case RunLabel::StartButton: return "Button";
  }
  return "?";
}

class ProgressLog : public RunProgress {
 public:
  void setText(RunLabel label, const Text& text) override {
    lines.push_back(std::string(labelName(label)) + ": " + text.utf8(indexShell()));
  }
  void setBusyVisible(bool visible) override {
    lines.push_back(visible ? "Busy shown" : "Busy hidden");
  }

  std::vector<std::string> lines;
};

}  // namespace qj::optim::test
