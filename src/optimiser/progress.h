#pragma once
// How an optimisation run reports: the numbered progress lines, the result line, the red
// failure line, the bold start and end lines, the red busy line and the start button's
// caption. The window shows them; tests record them.

#include <string>
#include <utility>
#include <vector>

#include "text/message.h"

namespace qj::optim {

enum class RunLabel {
  Line2,  // "1. " the passes begin
  Line3,  // "2. " state space of a pass
  Line4,  // "3. " transitions of a pass
  Line5,  // "4. " the iteration of a pass has converged
  Line6,  // "5. " route of a pass
  Line7,  // "6. " the task's solution file is written
  Failure,
  StartLine,
  EndLine,
  Busy,
  StartButton,
};

class RunProgress {
 public:
  virtual ~RunProgress() = default;
  virtual void setText(RunLabel label, const Text& text) = 0;
  virtual void setBusyVisible(bool visible) = 0;
};

// Keeps what a pass reported so that it can be shown later, in pass order.
class RecordedProgress : public RunProgress {
 public:
  struct Event {
    bool busy = false;  // a change of the busy line's visibility, else a text
    bool visible = false;
    RunLabel label = RunLabel::Line2;
    Text text;
  };

  void setText(RunLabel label, const Text& text) override {
    events_.push_back({false, false, label, text});
  }
  void setBusyVisible(bool visible) override { events_.push_back({true, visible, {}, {}}); }

  void replay(RunProgress& to) const {
    for (const Event& e : events_) {
      if (e.busy)
        to.setBusyVisible(e.visible);
      else
        to.setText(e.label, e.text);
    }
  }
  void clear() { events_.clear(); }
  const std::vector<Event>& events() const { return events_; }

 private:
  std::vector<Event> events_;
};

// Reports nowhere.
class SilentProgress : public RunProgress {
 public:
  void setText(RunLabel, const Text&) override {}
  void setBusyVisible(bool) override {}
};

}  // namespace qj::optim
