#include "task/ui/UCreateTaskWin.h"

#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "frame/task_handover.h"
#include "frame/ui/window_host.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "records/datetime.h"
#include "task/auto_transitions.h"
#include "task/placement.h"
#include "task/task_files_io.h"
#include "task/ui/header_strip.h"
#include "task/ui/task_wizard_page.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// The least page area: the later pages hold a grid with its pickers or titles, and grow with
// the columns their titles need.
constexpr int kPageWidth = 960;
constexpr int kPageHeight = 560;
// The first column of the transition grids that the user types into.
constexpr int kDistanceColumn = 9;

}  // namespace

TfrmCreateTaskWin* TfrmCreateTaskWin::create(WindowHost& host, TaskPageMakers pages) {
  TaskWizardState state;
  state.formMode = host.state().formMode;
  state.decSep = host.state().decSep;
  state.langCode = host.state().langCode;
  std::optional<std::string> approachSpeed;
  if (state.formMode == kCorrectTask) {
    // A task that cannot be read in this language opens no wizard.
    const TaskLoad load = loadTaskFile(state, host.state().selectedPath);
    if (load.message) host.showMessage(*load.message);
    if (load.outcome != TaskLoadOutcome::Loaded) return nullptr;
    approachSpeed = load.approachSpeedText;
  }
  auto* wizard = new TfrmCreateTaskWin(host, std::move(state), std::move(pages));
  if (approachSpeed)
    if (auto* velo = wizard->control<QLineEdit>("Velo")) velo->setText(toQt(*approachSpeed));
  return wizard;
}

AppState& TfrmCreateTaskWin::app() const {
  return host_.state();
}

TfrmCreateTaskWin::TfrmCreateTaskWin(WindowHost& host, TaskWizardState state, TaskPageMakers pages)
    : WizardWindow(host, "frmCreateTaskWin", QSize(kPageWidth, kPageHeight)),
      host_(host),
      state_(std::move(state)),
      titleText_(taskWizardTitle(state_.formMode)) {
  for (int step = 1; step <= kTaskSteps; ++step) {
    TaskWizardPage* made = pages[step - 1](*this);
    addPage(made, wrapPage(made));
  }
  buildFrame();
  applyEditRules(taskEditRule, state_.decSep);
  showStep(1);
}

QWidget* TfrmCreateTaskWin::wrapPage(TaskWizardPage* page) {
  const QString suffix =
      QString::fromLatin1(taskPageSuffix(page->step()).data(), taskPageSuffix(page->step()).size());
  if (page->objectName().isEmpty()) page->setObjectName(QStringLiteral("gbWindow_") + suffix);
  if (page->step() == 1) return page;
  auto* container = new QWidget;
  auto* layout = new QVBoxLayout(container);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(px(6));
  auto* strip = new TaskHeaderStrip(page->step(), texts(), state_.decSep, container);
  layout->addWidget(strip);
  auto* rule = new QFrame(container);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(rule);
  layout->addWidget(page, 1);
  return container;
}

TaskWizardPage* TfrmCreateTaskWin::page(int step) const {
  return static_cast<TaskWizardPage*>(WizardWindow::page(step));
}

void TfrmCreateTaskWin::showStep(int step) {
  if (!page(step)) return;
  state_.wizardStep = step;
  setWindowTitle(qtText(taskStepCaption(state_, step), texts()));
  showPage(step);
}

void TfrmCreateTaskWin::btnNextClick() {
  commitGridEditors();
  if (state_.wizardStep >= kTaskSteps) {
    finishTask();
    return;
  }
  if (TaskWizardPage* current = page(state_.wizardStep)) current->next();
}

void TfrmCreateTaskWin::advance(WizardNext next) {
  switch (next) {
    case WizardNext::Stay: break;
    case WizardNext::ShowStep4Page:
      showStep(4);
      focusControl("Table1a", 0);
      break;
    case WizardNext::ShowSectionChoicePage:
      showStep(5);
      focusControl("Table12", 0);
      break;
    case WizardNext::RunStep5: page(5)->next(); break;
    case WizardNext::PlaceLevelOnePoints:
      if (const StepCheck placed = placeLevel1Points(state_, texts()); !placed.passed()) {
        applyCheck(placed);
        break;
      }
      showStep(6);
      focusControl("Table2", 0, kDistanceColumn);
      break;
    case WizardNext::AutoTransitions: {
      showBusy(graphBusyLabel());
      const StepCheck check = autoTransitions(state_);
      hideBusy();
      if (!check.passed()) {
        applyCheck(check);
        break;
      }
      advance(WizardNext::ShowSummary);
      break;
    }
    case WizardNext::ShowStep7Page:
      showStep(7);
      focusControl("Table3", 0, kDistanceColumn);
      break;
    case WizardNext::ShowSummary:
      showStep(8);
      nextButton()->setText(qtText(shell(129), texts()));
      nextButton()->setFocus();
      break;
  }
}

void TfrmCreateTaskWin::follow(const StepOutcome& outcome) {
  if (!outcome.check.passed())
    applyCheck(outcome.check);
  else
    advance(outcome.next);
}

void TfrmCreateTaskWin::btnPrevClick() {
  if (state_.wizardStep <= 1) return;
  // What the user typed into a cell still open is the page's, kept when the page is left.
  commitGridEditors();
  const BackMove move = backFrom(state_);
  if (move.resetWarnedRow) state_.warnedRow = -1;
  if (move.restoreNextCaption) nextButton()->setText(qtText(shell(80), texts()));
  showStep(move.toStep);
  if (move.disablePrev) prevButton()->setEnabled(false);
  focusControl(move.focus);
}

bool TfrmCreateTaskWin::SaveTaskFiles() {
  if (const auto failure = saveTaskFiles(state_, app(), nowDateTime())) {
    showMessage(*failure);
    return false;
  }
  host_.SaveProtocol();
  return true;
}

void TfrmCreateTaskWin::finishTask() {
  const auto* order1 = control<QRadioButton>("Order1");
  const bool solveNow = order1 && order1->isChecked();
  if (!SaveTaskFiles()) return;
  WindowHost& host = host_;
  const std::string code = state_.header.code;
  close();
  handOverToOptimiser(host, solveNow, code);
}

void handOverToOptimiser(WindowHost& host, bool solveNow, const std::string& code) {
  AppState& app = host.state();
  if (!solveNow) {
    app.solveAtOnce = 0;
    return;
  }
  app.solveAtOnce = 1;
  app.curTaskCode = code;
  const HandoverResult queued = queueTaskInput(app, code);
  for (const Message& m : queued.messages) host.showMessage(m);
  if (queued.outcome != HandoverOutcome::Done) {
    app.solveAtOnce = 0;
    return;
  }
  host.openOptimiserFor(code);
}

}  // namespace qj::ui
