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
#include "task/task_files.h"
#include "task/ui/from_transitions_page.h"
#include "task/ui/header_strip.h"
#include "task/ui/identity_page.h"
#include "task/ui/parameters_page.h"
#include "task/ui/point_options_page.h"
#include "task/ui/points_page.h"
#include "task/ui/section_choice_page.h"
#include "task/ui/summary_page.h"
#include "task/ui/to_transitions_page.h"
#include "task/ui/wizard_page.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// The least page area: the later pages hold a grid with its pickers or titles, and grow with
// the columns their titles need.
constexpr int kPageWidth = 960;
constexpr int kPageHeight = 560;

}  // namespace

TfrmCreateTaskWin* TfrmCreateTaskWin::create(WindowHost& host) {
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
  auto* wizard = new TfrmCreateTaskWin(host, std::move(state));
  if (approachSpeed)
    if (auto* velo = wizard->control<QLineEdit>("Velo")) velo->setText(toQt(*approachSpeed));
  return wizard;
}

AppState& TfrmCreateTaskWin::app() const {
  return host_.state();
}

TfrmCreateTaskWin::TfrmCreateTaskWin(WindowHost& host, TaskWizardState state)
    : WizardWindow(host, "frmCreateTaskWin", QSize(kPageWidth, kPageHeight)),
      host_(host),
      state_(std::move(state)),
      flow_(state_, host.state()),
      titleText_(taskWizardTitle(state_.formMode)) {
  const std::vector<TaskWizardPage*> pages = {
      new IdentityPage(*this),        new ParametersPage(*this),    new PointsPage(*this),
      new PointOptionsPage(*this),    new SectionChoicePage(*this), new ToTransitionsPage(*this),
      new FromTransitionsPage(*this), new SummaryPage(*this)};
  for (TaskWizardPage* page : pages) addPage(page, wrapPage(page));
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

bool TfrmCreateTaskWin::SaveTaskFiles() {
  if (const auto message = saveTaskFiles(state_, app(), nowDateTime())) {
    showMessage(*message);
    // A warning comes with a saved task.
    if (message->kind == MessageKind::Error) return false;
  }
  host_.SaveProtocol();
  return true;
}

void TfrmCreateTaskWin::finish() {
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
