#include "frame/menu.h"

#include "frame/catalogue.h"
#include "frame/task_handover.h"

namespace qj {

std::array<MenuItem, kMenuItemCount> allMenuItems() {
  std::array<MenuItem, kMenuItemCount> items{};
  for (int i = 0; i < kMenuItemCount; ++i) items[i] = static_cast<MenuItem>(i);
  return items;
}

bool isTopMenu(MenuItem item) {
  switch (item) {
    case MenuItem::mnuIn:
    case MenuItem::mnuControl:
    case MenuItem::mnuSolving:
    case MenuItem::mnuOut:
    case MenuItem::DBRN:
    case MenuItem::mnuHelp: return true;
    default: return false;
  }
}

Text mainWindowCaption() {
  return shell(419);
}

namespace {

Text menuText(MenuItem item) {
  switch (item) {
    case MenuItem::mnuIn: return shell(65).trimmed();
    case MenuItem::mnuInNewTask: return shell(66);
    case MenuItem::mnuInNewTaskExportData: return shell(67);
    case MenuItem::mnuInEditTask: return shell(232);
    case MenuItem::mnuInExit: return shell(121);
    case MenuItem::mnuControl: return shell(701);
    case MenuItem::mnuOutViewProtocol: return shell(584);
    case MenuItem::mnuSolving: return shell(600);
    case MenuItem::Optim: return shell(113);
    case MenuItem::mnuOut: return shell(109).trimmed();
    case MenuItem::mnuInViewTask: return shell(575);
    case MenuItem::mnuOutViewSolution: return shell(576);
    case MenuItem::mnuOutExpInExcel: return shell(753);
    case MenuItem::mnuOutPrint: return shell(503);
    case MenuItem::DBRN: return shell(583);
    case MenuItem::N10: return shell(642);
    case MenuItem::N11: return shell(643);
    case MenuItem::N12: return shell(231);
    case MenuItem::N13: return shell(573);
    case MenuItem::Excel1: return shell(752);
    case MenuItem::N14: return shell(641);
    case MenuItem::N15: return shell(689);
    case MenuItem::mnuHelp: return shell(513);
    case MenuItem::N101: return shell(417);
    case MenuItem::N102: return shell(415);
    case MenuItem::N103: return shell(421);
  }
  return {};
}

}  // namespace

Text menuCaption(MenuItem item) {
  return menuText(item).withAccessKeys();
}

MenuCommand menuCommand(MenuItem item) {
  using T = MenuTarget;
  using S = CatalogueScanKind;
  switch (item) {
    case MenuItem::mnuInNewTask: return {T::TaskWizard, kNewTask, S::Dbrn, {}};
    case MenuItem::mnuInNewTaskExportData: return {T::TaskWizard, kImportTask, S::Dbrn, {}};
    case MenuItem::mnuInEditTask: return {T::TaskChooser, kChooserCorrectTask, S::Dbrn, shell(656)};
    case MenuItem::mnuInExit: return {T::Exit, kNoFormMode, S::None, {}};
    case MenuItem::mnuOutViewProtocol: return {T::ProtocolWindow, kNoFormMode, S::None, {}};
    case MenuItem::Optim: return {T::Optimiser, kNoFormMode, S::None, {}};
    case MenuItem::mnuInViewTask: return {T::TaskChooser, kChooserViewInput, S::None, shell(653)};
    case MenuItem::mnuOutViewSolution:
      return {T::TaskChooser, kChooserViewSolution, S::None, shell(657)};
    case MenuItem::mnuOutExpInExcel: return {T::ExportActiveViewer, kNoFormMode, S::None, {}};
    case MenuItem::mnuOutPrint: return {T::PrintActiveViewer, kNoFormMode, S::None, {}};
    case MenuItem::N10: return {T::DatabaseWizard, kCreateDbrn, S::DbrnA, {}};
    case MenuItem::N11: return {T::DatabaseWizard, kImportDbrn, S::DbrnA, {}};
    case MenuItem::N12: return {T::DatabaseChooser, kChooseToCorrect, S::DbrnA, shell(655)};
    case MenuItem::N13: return {T::DatabaseChooser, kChooseToView, S::Dbrn, shell(650)};
    case MenuItem::Excel1: return {T::DatabaseChooser, kChooseToExport, S::DbrnA, shell(650)};
    case MenuItem::N14:
      return {T::ClientAddition, kMakeClientAddition, S::SysDbrn, shell(651).trimmed()};
    case MenuItem::N15: return {T::DatabaseChooser, kChooseToDelete, S::Dbrn, shell(650)};
    case MenuItem::N101: return {T::Help, kHelpAboutSystem, S::None, {}};
    case MenuItem::N102: return {T::Help, kHelpAboutDeveloper, S::None, {}};
    case MenuItem::N103: return {T::Help, kHelpNotation, S::None, {}};
    default: return {};
  }
}

CommandStart startCommand(AppState& state, MenuItem item) {
  const MenuCommand command = menuCommand(item);
  if (command.formMode != kNoFormMode) state.formMode = command.formMode;
  std::optional<Message> failure;
  switch (command.scan) {
    case CatalogueScanKind::None: return {};
    case CatalogueScanKind::Dbrn: failure = storeCatalogue(state, DBRNClick(state)); break;
    case CatalogueScanKind::DbrnA: failure = storeCatalogue(state, DBRNaClick(state)); break;
    case CatalogueScanKind::SysDbrn: failure = storeCatalogue(state, SysDBRNClick(state)); break;
  }
  return {state.dbCheckFailed == 0, std::move(failure)};
}

bool hasQueuedTask(const ProgramFolder& folder) {
  return !queuedInputNames(folder).empty();
}

bool openSolvingMenu(AppState& state) {
  state.solveAtOnce = 0;
  return hasQueuedTask(state.dirs());
}

Message noViewerShownMessage() {
  return {MessageKind::Information, shell(966)};
}

}  // namespace qj
