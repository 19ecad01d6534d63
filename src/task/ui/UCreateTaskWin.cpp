#include "task/ui/UCreateTaskWin.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValidator>

#include "frame/task_handover.h"
#include "frame/ui/UMainWin.h"
#include "frame/ui/fit_caption.h"
#include "frame/ui/key_filter_validator.h"
#include "platform/ui/GridView.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"
#include "records/datetime.h"
#include "task/auto_transitions.h"
#include "task/placement.h"
#include "task/task_files_io.h"
#include "task/ui/header_strip.h"
#include "task/ui/task_wizard_page.h"
#include "task/ui/wizard_grid.h"
#include "task/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// Plain text edits take only what code page 1251 can hold.
class Cp1251Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return representable(input) ? Acceptable : Invalid;
  }
};

// The least page area: the later pages hold a grid with its pickers or titles, and grow with
// the columns their titles need.
constexpr int kPageWidth = 900;
constexpr int kPageHeight = 560;
// The first column of the transition grids that the user types into.
constexpr int kDistanceColumn = 9;

void setControlCaption(QWidget* w, const QString& text, bool fit, const std::string& cp1251) {
  if (auto* label = qobject_cast<QLabel*>(w)) {
    setCaption(label, cp1251, fit);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(text);
  } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
    box->setTitle(text);
  }
}

}  // namespace

TfrmCreateTaskWin* TfrmCreateTaskWin::create(TfrmMainWin& main, TaskPageMakers pages) {
  TaskWizardState state;
  state.formMode = main.state().formMode;
  state.decSep = main.state().decSep;
  state.langCode = main.state().langCode;
  std::optional<std::string> approachSpeed;
  if (state.formMode == kCorrectTask) {
    // A task that cannot be read in this language opens no wizard.
    const TaskLoad load = loadTaskFile(state, main.state().selectedPath);
    if (load.message) main.showMessage(*load.message);
    if (load.outcome != TaskLoadOutcome::Loaded) return nullptr;
    approachSpeed = load.approachSpeedText;
  }
  auto* wizard = new TfrmCreateTaskWin(main, std::move(state), std::move(pages));
  if (approachSpeed)
    if (auto* velo = wizard->control<QLineEdit>("Velo")) velo->setText(toQt(*approachSpeed));
  return wizard;
}

TfrmCreateTaskWin::TfrmCreateTaskWin(TfrmMainWin& main, TaskWizardState state, TaskPageMakers pages)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      main_(main),
      state_(std::move(state)),
      titleText_(taskWizardTitle(state_.formMode)) {
  setObjectName(QStringLiteral("frmCreateTaskWin"));
  const ShellTables& t = texts();
  stack_ = new QStackedWidget(this);
  stack_->setMinimumSize(kPageWidth, kPageHeight);
  for (int step = 1; step <= kTaskSteps; ++step) {
    pages_[step - 1] = pages[step - 1](*this);
    stack_->addWidget(wrapPage(pages_[step - 1]));
  }

  Label0 = named(new QLabel(this), "Label0");
  Label0->setWordWrap(true);
  Label0->setStyleSheet(QStringLiteral("color: red"));
  Label0->hide();
  btnPrev = makeButton(this, "btnPrev", shell(258), t);
  btnNext = makeButton(this, "btnNext", shell(80), t);
  btnClose = makeButton(this, "btnClose", shell(438), t);
  connect(btnPrev, &QPushButton::clicked, this, guardSlot([this] { btnPrevClick(); }));
  connect(btnNext, &QPushButton::clicked, this, guardSlot([this] { btnNextClick(); }));
  connect(btnClose, &QPushButton::clicked, this, guardSlot([this] { btnCloseClick(); }));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Label0);
  buttons->addStretch(1);
  for (QPushButton* b : {btnPrev, btnNext, btnClose}) {
    b->setMinimumWidth(96);
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addWidget(stack_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  applyEditRules();
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
  layout->setSpacing(6);
  auto* strip = new TaskHeaderStrip(page->step(), texts(), state_.decSep, container);
  layout->addWidget(strip);
  auto* rule = new QFrame(container);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(rule);
  layout->addWidget(page, 1);
  return container;
}

void TfrmCreateTaskWin::applyEditRules() {
  for (QLineEdit* edit : findChildren<QLineEdit*>()) {
    const std::optional<EditRule> rule = taskEditRule(fromQt(edit->objectName()));
    if (!rule) continue;
    edit->setMaxLength(rule->maxLength);
    if (!rule->filter) {
      edit->setValidator(new Cp1251Validator(edit));
      continue;
    }
    switch (*rule->filter) {
      case KeyFilter::Digit: DigitKeyFilter(edit); break;
      case KeyFilter::Decimal: DecimalKeyFilter(edit, state_.decSep); break;
      case KeyFilter::Code: CodeKeyFilter(edit); break;
    }
    if (rule->upperCase)
      connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
      });
  }
}

AppState& TfrmCreateTaskWin::app() const {
  return main_.state();
}

const ShellTables& TfrmCreateTaskWin::texts() const {
  return main_.state().texts;
}

TaskWizardPage* TfrmCreateTaskWin::page(int step) const {
  return step >= 1 && step <= kTaskSteps ? pages_[step - 1] : nullptr;
}

bool TfrmCreateTaskWin::showMessage(const Message& message) {
  return main_.showMessage(message);
}

void TfrmCreateTaskWin::showStep(int step) {
  if (!page(step)) return;
  stack_->setCurrentIndex(step - 1);
  state_.wizardStep = step;
  setWindowTitle(qtText(taskStepCaption(state_, step), texts()));
  btnPrev->setEnabled(step > 1);
  page(step)->pageShown();
}

int TfrmCreateTaskWin::stepOf(const QWidget* control) const {
  for (const QWidget* w = control; w && w != this; w = w->parentWidget())
    if (const auto* p = qobject_cast<const TaskWizardPage*>(w)) return p->step();
  return 0;
}

void TfrmCreateTaskWin::focusControl(const std::string& name, int row, int column) {
  QWidget* w = control(name);
  if (!w) return;
  const int step = stepOf(w);
  if (step > 0 && step != state_.wizardStep) showStep(step);
  if (auto* grid = qobject_cast<GridView*>(w); grid && row >= 0)
    grid->showRowAtTop(row, column);
  else
    w->setFocus();
}

void TfrmCreateTaskWin::applyCheck(const StepCheck& check) {
  if (check.message) showMessage(*check.message);
  if (!check.focus.empty()) focusControl(check.focus, check.row);
}

void TfrmCreateTaskWin::applyUpdates(const ControlUpdates& updates) {
  for (const ControlUpdate& u : updates) {
    QWidget* w = control(u.name);
    if (!w) continue;
    if (u.size) w->setFixedSize(u.size->first, u.size->second);
    if (u.text) {
      const std::string text = u.text->resolve(texts());
      setControlCaption(w, toQt(text), u.fit, text);
    }
    if (u.visible) w->setVisible(*u.visible);
  }
}

void TfrmCreateTaskWin::btnNextClick() {
  TaskWizardPage* current = page(state_.wizardStep);
  // What is typed into a cell counts even when Next did not take the focus from the grid.
  if (current)
    for (GridView* grid : current->findChildren<GridView*>()) grid->commitEditor();
  if (state_.wizardStep >= kTaskSteps) {
    finishTask();
    return;
  }
  if (current) current->next();
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
      btnNext->setText(qtText(shell(129), texts()));
      btnNext->setFocus();
      break;
  }
}

void TfrmCreateTaskWin::follow(const StepOutcome& outcome) {
  if (!outcome.check.passed())
    applyCheck(outcome.check);
  else
    advance(outcome.next);
}

void TfrmCreateTaskWin::showBusy(const BusyLabel& busy) {
  Label0->setFixedSize(busy.width, busy.height);
  setCaption(Label0, busy.text.resolve(texts()), true);
  Label0->show();
  Label0->repaint();
}

void TfrmCreateTaskWin::hideBusy() {
  Label0->hide();
  Label0->repaint();
}

bool TfrmCreateTaskWin::applyKeyResult(WizardGrid& grid, const GridKeyResult& result) {
  if (result.cellsChanged()) grid.model()->cellsChanged(result.firstRow, result.lastRow);
  if (result.warning) showMessage(*result.warning);
  return result.handled;
}

void TfrmCreateTaskWin::btnPrevClick() {
  if (state_.wizardStep <= 1) return;
  const BackMove move = backFrom(state_);
  if (move.resetWarnedRow) state_.warnedRow = -1;
  if (move.restoreNextCaption) btnNext->setText(qtText(shell(80), texts()));
  showStep(move.toStep);
  if (move.disablePrev) btnPrev->setEnabled(false);
  focusControl(move.focus);
}

void TfrmCreateTaskWin::btnCloseClick() {
  close();
}

bool TfrmCreateTaskWin::SaveTaskFiles() {
  if (const auto failure = saveTaskFiles(state_, app(), nowDateTime())) {
    showMessage(*failure);
    return false;
  }
  main_.SaveProtocol();
  return true;
}

void TfrmCreateTaskWin::finishTask() {
  const auto* order1 = control<QRadioButton>("Order1");
  const bool solveNow = order1 && order1->isChecked();
  if (!SaveTaskFiles()) return;
  TfrmMainWin& main = main_;
  const std::string code = state_.header.code;
  close();
  handOverToOptimiser(main, solveNow, code);
}

void handOverToOptimiser(TfrmMainWin& main, bool solveNow, const std::string& code) {
  AppState& app = main.state();
  if (!solveNow) {
    app.solveAtOnce = 0;
    return;
  }
  app.solveAtOnce = 1;
  app.curTaskCode = code;
  const HandoverResult queued = queueTaskInput(app, code);
  for (const Message& m : queued.messages) main.showMessage(m);
  if (queued.outcome != HandoverOutcome::Done) {
    app.solveAtOnce = 0;
    return;
  }
  main.openOptimiserFor(code);
}

}  // namespace qj::ui
