#pragma once
// The main menu: its items, their captions from the shell, and what each command does
// before a window opens (the operation code, the catalogue scan, the window's caption).

#include <array>
#include <cstdint>
#include <optional>

#include "frame/app_state.h"
#include "text/message.h"

namespace qj {

// Every named item of the menu in display order; the top items head their sub-items.
// clang-format off
enum class MenuItem {
  mnuIn, mnuInNewTask, mnuInNewTaskExportData, mnuInEditTask, mnuInExit,
  mnuControl, mnuOutViewProtocol,
  mnuSolving, Optim,
  mnuOut, mnuInViewTask, mnuOutViewSolution, mnuOutExpInExcel, mnuOutPrint,
  DBRN, N10, N11, N12, N13, Excel1, N14, N15,
  mnuHelp, N101, N102, N103,
};
// clang-format on
inline constexpr int kMenuItemCount = 26;
std::array<MenuItem, kMenuItemCount> allMenuItems();
bool isTopMenu(MenuItem item);

Text mainWindowCaption();
// An item's caption, with its access key.
Text menuCaption(MenuItem item);

// What a command opens; the windows themselves are plugged into the frame.
enum class MenuTarget {
  Submenu,
  TaskWizard,
  TaskChooser,
  Exit,
  ProtocolWindow,
  Optimiser,
  ExportActiveViewer,
  PrintActiveViewer,
  DatabaseWizard,
  DatabaseChooser,
  ClientAddition,
  Help,
};

enum class CatalogueScanKind { None, Dbrn, DbrnA, SysDbrn };

struct MenuCommand {
  MenuTarget target = MenuTarget::Submenu;
  int32_t formMode = kNoFormMode;  // form_modes.h
  CatalogueScanKind scan = CatalogueScanKind::None;
  std::optional<Text> caption;  // the caption the command gives the window it opens
};
MenuCommand menuCommand(MenuItem item);

// The first part of every command: FormMode, then the catalogue scan. The command ends
// here when the scan rejected a file; the message is returned to be shown.
struct CommandStart {
  bool proceed = true;
  std::optional<Message> message;
};
CommandStart startCommand(AppState& state, MenuItem item);

// Print and Export act on the viewer the user sees; with every viewer minimised they say so.
Message noViewerShownMessage();

// Opening the solving menu clears the solve-at-once hand-over; the optimiser item is
// enabled only while a task waits in the Solving folder.
bool hasQueuedTask(const ProgramFolder& folder);
bool openSolvingMenu(AppState& state);

}  // namespace qj
