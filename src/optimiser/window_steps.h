#pragma once
// What the optimiser window decides: its captions, the information texts of the solution
// files, the checks of the task code and the four iteration parameters, the summary, the
// texts of an empty queue and of a missing task, and the hand-over of a solution to the
// protocol after a task handed over by the task wizard has been solved.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/app_state.h"
#include "optimiser/task_data.h"
#include "text/key_filters.h"
#include "text/message.h"

namespace qj::optim {

// Captions set when the window is first shown.
struct WindowCaptions {
  Text window;
  Text modeHeading, batchMode, individualMode;  // Label0, Label0_1, Label0_2
  Text codePrompt;                              // Label1
  Text parameterHeading;                        // LOPRM
  Text relaxation, stop, interval, limit;       // LOPT1 .. LOPT4
  Text next, start, reset, end;
};
WindowCaptions windowCaptions(char sep);

// The edit texts of the four parameters as the user typed them (code page 1251).
struct ParameterTexts {
  std::string relaxation, stop, interval, limit;
};
ParameterTexts defaultParameterTexts(char decimalSeparator);

enum class ParameterEdit { None, Relaxation, Stop, Interval, Limit };

struct ParameterCheck {
  std::optional<IterationSettings> settings;  // when every parameter passes
  std::optional<Message> message;             // a value out of range
  ParameterEdit focus = ParameterEdit::None;  // the edit to go back to
};
// The checks in their order; a text that is not a number goes back to its edit silently.
ParameterCheck checkParameters(const ParameterTexts& texts, char decimalSeparator);

// The summary that replaces the parameter edits.
struct SummaryTexts {
  Text heading, relaxation, stop, interval, limit;
};
SummaryTexts summaryTexts(const IterationSettings& settings, char decimalSeparator);

// What the parameter edits ME1 .. ME4 take: the relaxation and the stop criterion are
// decimals, the check interval and the iteration limit whole numbers.
std::array<FieldRule, 4> parameterEditRules(char decimalSeparator);

Text nothingQueuedText();                  // batch mode with an empty queue
Text noInputText(std::string_view code);   // individual mode, no queued file for the code
Text taskLineText(std::string_view code);  // the code step's line once the code is taken

// The three information texts of every solution file: lines 2, 4 and 6 of System/info,
// trimmed; default texts when the file is missing or cannot be read.
struct InfoTexts {
  Text text1, text2, text3;
};
InfoTexts readInfoTexts(const std::filesystem::path& infoFile);

}  // namespace qj::optim
