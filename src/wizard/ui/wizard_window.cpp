#include "wizard/ui/wizard_window.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/design.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"
#include "text/ui/key_filter_validator.h"
#include "wizard/ui/control_names.h"
#include "wizard/ui/grid_view.h"
#include "wizard/ui/wizard_grid.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

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

WizardWindow::WizardWindow(MessageHost& host, const char* objectName, QSize pageArea)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), host_(host) {
  setObjectName(QString::fromLatin1(objectName));
  stack_ = new QStackedWidget(this);
  stack_->setMinimumSize(px(pageArea));
}

void WizardWindow::addPage(WizardPage* page, QWidget* shown) {
  pages_.push_back(page);
  stack_->addWidget(shown);
}

void WizardWindow::buildFrame() {
  const ShellTables& t = texts();
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
  // Tab runs from the page's last field to Next, then Back, then Cancel: a user who tabs on
  // from a filled page meets Next first, and Cancel last.
  setTabOrder(btnNext, btnPrev);
  setTabOrder(btnPrev, btnClose);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Label0);
  buttons->addStretch(1);
  for (QPushButton* b : {btnPrev, btnNext, btnClose}) {
    b->setMinimumWidth(px(96));
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(px(10), px(10), px(10), px(10));
  layout->addWidget(stack_);
  layout->addLayout(buttons);
  // The grids fit their columns to their texts within the pages' room.
  for (WizardGrid* grid : findChildren<WizardGrid*>()) {
    grid->setRoom(stack_->minimumWidth() - px(16));
    grid->refresh();
  }
  keepOneSize();
}

void WizardWindow::keepOneSize() {
  // The stack asks for the room of its largest page; the window only ever grows to it, so
  // that Back, Next and Cancel stay where they are from page to page.
  if (!layout()) return;
  const QSize wanted = size().expandedTo(layout()->totalSizeHint());
  if (wanted != minimumSize() || wanted != maximumSize()) setFixedSize(wanted);
}

bool WizardWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::LayoutRequest) keepOneSize();
  return handled;
}

void WizardWindow::applyEditRules(
    const std::function<std::optional<EditRule>(std::string_view)>& ruleOf, char decSep) {
  for (QLineEdit* edit : findChildren<QLineEdit*>()) {
    std::optional<EditRule> rule = ruleOf(fromQt(edit->objectName()));
    if (!rule) continue;
    rule->decSep = decSep;
    installKeyFilter(edit, *rule, texts());
  }
}

WizardPage* WizardWindow::page(int step) const {
  return step >= 1 && step <= static_cast<int>(pages_.size()) ? pages_[step - 1] : nullptr;
}

bool WizardWindow::showMessage(const Message& message) {
  return host_.showMessage(message, this);
}

void WizardWindow::showStep(int step) {
  if (!page(step)) return;
  flow().setCurrentStep(step);
  setWindowTitle(qtText(flow().stepCaption(step), texts()));
  btnNext->setText(
      qtText((step == flow().stepCount() ? shell(129) : shell(80)).withAccessKeys(), texts()));
  showPage(step);
}

void WizardWindow::runNext(const std::function<StepResult()>& step) {
  const std::optional<BusyLabel> busy = flow().busyWhileNext(currentStep());
  follow(busy ? work(*busy, step) : step());
}

StepResult WizardWindow::work(const BusyLabel& busy, const std::function<StepResult()>& step) {
  showBusy(busy);
  StepResult result = step();
  hideBusy();
  return result;
}

void WizardWindow::follow(StepResult result) {
  applyUpdates(result.updates);
  while (result.busy) {
    result = work(*result.busy, [this] { return flow().resume(); });
    applyUpdates(result.updates);
  }
  if (!result.passed()) {
    applyCheck(result.check);
    return;
  }
  showStep(result.nextStep);
  focusControl(result.focus, result.focusRow, result.focusColumn);
}

void WizardWindow::btnNextClick() {
  commitGridEditors();
  if (currentStep() >= flow().stepCount()) {
    finish();
    return;
  }
  if (WizardPage* current = page(currentStep())) current->next();
}

void WizardWindow::btnPrevClick() {
  if (currentStep() <= 1) return;
  // What the user typed into a cell still open is the page's, kept when the page is left.
  commitGridEditors();
  hideBusy();
  follow(flow().back());
}

void WizardWindow::showPage(int step) {
  if (!page(step)) return;
  stack_->setCurrentIndex(step - 1);
  btnPrev->setEnabled(step > 1);
  page(step)->pageShown();
}

void WizardWindow::commitGridEditors() {
  if (WizardPage* current = page(currentStep()))
    for (GridView* grid : current->findChildren<GridView*>()) grid->commitEditor();
}

int WizardWindow::stepOf(const QWidget* control) const {
  for (const QWidget* w = control; w && w != this; w = w->parentWidget())
    if (const auto* p = qobject_cast<const WizardPage*>(w)) return p->step();
  return 0;
}

void WizardWindow::focusControl(const std::string& name, int row, int column) {
  QWidget* w = namedControl(*this, name);
  if (!w) return;
  const int step = stepOf(w);
  if (step > 0 && step != currentStep()) showStep(step);
  auto* grid = qobject_cast<GridView*>(w);
  if (grid && row == kCurrentRow)
    grid->showRowAtTop(std::max(grid->currentRow(), 0));
  else if (grid && row >= 0)
    grid->showRowAtTop(row, column);
  else
    w->setFocus();
}

void WizardWindow::applyCheck(const StepCheck& check) {
  if (check.message) showMessage(*check.message);
  if (check.focus.empty()) return;
  if (auto* grid = control<GridView>(check.focus); grid && check.scrollOnly) {
    grid->scrollRowToTop(check.row);
    return;
  }
  focusControl(check.focus, check.row, check.column);
}

void WizardWindow::applyUpdates(const ControlUpdates& updates) {
  for (const ControlUpdate& u : updates) {
    QWidget* w = namedControl(*this, u.name);
    if (!w) continue;
    if (u.size) w->setFixedSize(px(QSize(u.size->first, u.size->second)));
    if (u.text) {
      const std::string text = u.text->resolve(texts());
      setControlCaption(w, toQt(text), u.fit, text);
    }
    if (u.visible) w->setVisible(*u.visible);
    if (u.checked)
      if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setChecked(*u.checked);
    if (u.enabled) w->setEnabled(*u.enabled);
  }
}

void WizardWindow::showBusy(const BusyLabel& busy) {
  Label0->setFixedSize(px(QSize(busy.width, busy.height)));
  setCaption(Label0, busy.text.resolve(texts()), true);
  Label0->show();
  Label0->repaint();
}

void WizardWindow::hideBusy() {
  Label0->hide();
  Label0->repaint();
}

bool WizardWindow::applyKeyResult(WizardGrid& grid, const GridKeyResult& result) {
  if (result.rowsChanged)
    grid.refresh();
  else if (result.cellsChanged())
    grid.model()->cellsChanged(result.firstRow, result.lastRow);
  if (result.warning) showMessage(*result.warning);
  if (result.focusRow >= 0) grid.view()->showRowAtTop(result.focusRow);
  return result.handled;
}

}  // namespace qj::ui
