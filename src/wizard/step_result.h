#pragma once
// What the wizards' steps hand to their windows. A step is a core function: it never shows a
// page, a box or a focus itself; it returns its refusal (the box and the control to focus),
// what a grid key changed, the captions it changes on the pages and the page that follows
// (StepResult), and the window acts on them. Controls are named by their component names,
// which are also the widgets' objectNames.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/key_filters.h"
#include "text/message.h"

namespace qj {

// The outcome of a step's check: nothing (the step passed) or the box to show, with the
// control to focus (the component's name, which is also the widget's objectName) and, for
// grids, the row to bring to the top.
struct StepCheck {
  std::optional<Message> message;
  std::string focus;
  int row = -1;
  int column = -1;          // for grids, the table column of the cell to make current
  bool scrollOnly = false;  // the grid's row comes to the top; the focus stays where it was

  bool passed() const { return !message && focus.empty(); }
  static StepCheck ok() { return {}; }
  static StepCheck refuse(Message m, std::string focusControl, int gridRow = -1,
                          int gridColumn = -1) {
    return {std::move(m), std::move(focusControl), gridRow, gridColumn};
  }
  // A number that cannot be read from an edit only moves the focus.
  static StepCheck focusOnly(std::string focusControl) { return {{}, std::move(focusControl), -1}; }
};

// What a grid key did. An unhandled key goes on to the cell editor as usual.
struct GridKeyResult {
  bool handled = false;
  // Rows whose cells the command changed (the model reloads them); -1 when none.
  int firstRow = -1, lastRow = -1;
  bool rowsChanged = false;        // rows were inserted or removed: the grid is read again
  bool pickersChanged = false;     // a picker of the page changed
  std::optional<Message> warning;  // a box to show (after the change is shown)
  int focusRow = -1;               // after the box, this row at the top of the grid
  int focusColumn = -1;            // and the cell of this table column current (its first: -1)
  // A row the command made: its first typable cell becomes current with its editor closed, so
  // that the keys typed next fill the new row and the row the user left keeps its text.
  int newRow = -1;

  bool cellsChanged() const { return firstRow >= 0; }
  void changed(int row) {
    firstRow = firstRow < 0 ? row : std::min(firstRow, row);
    lastRow = std::max(lastRow, row);
  }
};

// The red label that a wizard shows while a long computation runs: its size in design pixels
// and its caption, fitted to its width.
struct BusyLabel {
  int width = 0, height = 0;
  Text text;
};

// A change that a step makes to a named control of a page (a label's caption or an edit's
// text, a control shown or hidden, a button checked, a control enabled). A name that no
// control of the wizard carries is a fault of the step (wizard/ui/control_names.h).
struct ControlUpdate {
  std::string name;
  std::optional<Text> text;
  bool fit = false;  // the caption is fitted to the label's width
  std::optional<bool> visible;
  std::optional<std::pair<int, int>> size;  // width and height in design pixels
  std::optional<bool> checked;
  std::optional<bool> enabled;
};
using ControlUpdates = std::vector<ControlUpdate>;

void setText(ControlUpdates& u, std::string name, Text text);
void setFitted(ControlUpdates& u, std::string name, Text text);
void setShown(ControlUpdates& u, std::string name, bool visible);
void setSized(ControlUpdates& u, std::string name, int width, int height);
void setChecked(ControlUpdates& u, std::string name, bool checked);
void setEnabled(ControlUpdates& u, std::string name, bool enabled);
// The caption and the visibility a control has after the updates (nullopt: unchanged).
std::optional<Text> updatedText(const ControlUpdates& u, std::string_view name);
std::optional<bool> updatedVisibility(const ControlUpdates& u, std::string_view name);

// A grid's focus row that brings the grid's current row to the top.
inline constexpr int kCurrentRow = -2;

// What a wizard's step decided, for either wizard: its caption changes first, then either its
// refusal (the box, the control and row to focus; the wizard stays on its step), or the page
// shown next with a control focused there, or work that follows, announced with the red label
// the window shows while it asks the wizard's flow to do it (WizardFlow::resume).
struct StepResult {
  StepCheck check;
  ControlUpdates updates;
  int nextStep = 0;  // the page that follows; 0 while the step is refused
  std::string focus;
  int focusRow = -1, focusColumn = -1;  // a grid's row at the top (or kCurrentRow), its column
  std::optional<BusyLabel> busy;

  bool passed() const { return nextStep > 0 || busy.has_value(); }
  static StepResult refuse(StepCheck c) {
    StepResult r;
    r.check = std::move(c);
    return r;
  }
  static StepResult show(int step, std::string focusControl, int row = -1, int column = -1) {
    StepResult r;
    r.nextStep = step;
    r.focus = std::move(focusControl);
    r.focusRow = row;
    r.focusColumn = column;
    return r;
  }
  static StepResult work(BusyLabel label) {
    StepResult r;
    r.busy = std::move(label);
    return r;
  }
};

}  // namespace qj
