#include "wizard/ui/wizard_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/design.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/screen_fit.h"
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

// The pages: they ask for the room of the largest of them and of the design's page area, so
// that the window keeps one size, and need only what the page shown needs: a small page does
// not scroll because a larger one would.
class PageStack : public QStackedWidget {
 public:
  PageStack(QSize design, QWidget* parent) : QStackedWidget(parent), design_(design) {}
  QSize sizeHint() const override { return QStackedWidget::sizeHint().expandedTo(design_); }
  QSize minimumSizeHint() const override {
    const QWidget* page = currentWidget();
    if (!page) return {};
    QSize least = page->minimumSizeHint().expandedTo({0, 0});
    if (page->minimumWidth() > 0) least.setWidth(page->minimumWidth());
    if (page->minimumHeight() > 0) least.setHeight(page->minimumHeight());
    return least;
  }

 private:
  QSize design_;
};

// The pages' area: it asks for the room of the pages, and where the window is smaller (on a
// small screen) the page scrolls inside it while the buttons under it stay in view. What
// takes the focus on a page is scrolled into view.
class PageArea : public QScrollArea {
 public:
  explicit PageArea(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The area is no stop of the tab order; the controls on the page are.
    setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      if (!now || !widget() || !widget()->isAncestorOf(now)) return;
      if (auto* grid = qobject_cast<GridView*>(now))
        showCell(grid, grid->currentIndex());
      else
        ensureWidgetVisible(now);
    });
  }

  QSize sizeHint() const override {
    const int f = 2 * frameWidth();
    const QWidget* w = widget();
    return (w ? w->sizeHint().expandedTo(w->minimumSizeHint()) : QSize()) + QSize(f, f);
  }

  // A grid's current cell, wherever the grid stands on the page.
  void showCell(GridView* grid, const QModelIndex& index) {
    if (!widget() || !index.isValid()) return;
    const QRect cell = grid->visualRect(index);
    const QPoint centre = grid->viewport()->mapTo(widget(), cell.center());
    ensureVisible(centre.x(), centre.y(), cell.width() / 2 + 4, cell.height() / 2 + 4);
  }

 protected:
  bool event(QEvent* e) override {
    // A page that asks for more room asks the window.
    if (e->type() == QEvent::LayoutRequest) updateGeometry();
    return QScrollArea::event(e);
  }
};

}  // namespace

WizardWindow::WizardWindow(MessageHost& host, const char* objectName, QSize pageArea)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host),
      pageArea_(px(pageArea)) {
  setObjectName(QString::fromLatin1(objectName));
  // A child of the window from the start, so that the pages come first in its tab order.
  stack_ = new PageStack(pageArea_, this);
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

  // The row of the buttons keeps its height when the busy label shows: the page area above
  // it keeps its size while a step works on what the page shows.
  auto* row = new QWidget(this);
  auto* buttons = new QHBoxLayout(row);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->addWidget(Label0);
  buttons->addStretch(1);
  for (QPushButton* b : {btnPrev, btnNext, btnClose}) {
    b->setMinimumWidth(px(96));
    buttons->addWidget(b);
  }
  row->setFixedHeight(std::max(row->sizeHint().height(), px(kBusyLabelHeight)));
  auto* area = new PageArea(this);
  area->setObjectName(QStringLiteral("pageArea"));
  area->setWidget(stack_);
  area_ = area;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(px(10), px(10), px(10), px(10));
  layout->addWidget(area, 1);
  layout->addWidget(row);
  // The grids fit their columns to their texts within the design's page area.
  for (WizardGrid* grid : findChildren<WizardGrid*>()) {
    grid->setRoom(pageArea_.width() - px(16));
    grid->refresh();
    GridView* view = grid->view();
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, area,
            [area, view](const QModelIndex& index) {
              if (view->hasFocus()) area->showCell(view, index);
            });
  }
  keepOneSize();
}

void WizardWindow::keepOneSize() {
  // The pages ask for the room of the largest page; the window only ever grows to it, so
  // that Back, Next and Cancel stay where they are from page to page, and never beyond the
  // room its screen has: there the page scrolls. The room is known once the window manager has
  // framed the window; a window that grows then stays on the screen.
  if (!layout()) return;
  const QSize wanted = size().expandedTo(layout()->totalSizeHint()).boundedTo(windowRoom(this));
  if (wanted == minimumSize() && wanted == maximumSize()) return;
  setFixedSize(wanted);
  if (isVisible()) keepOnScreen(this);
}

bool WizardWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::LayoutRequest) keepOneSize();
  return handled;
}

void WizardWindow::applyEditRules(
    const std::function<std::optional<FieldRule>(std::string_view)>& ruleOf, char decSep) {
  for (QLineEdit* edit : findChildren<QLineEdit*>()) {
    std::optional<FieldRule> rule = ruleOf(fromQt(edit->objectName()));
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
  btnNext->setText(qtText(flow().nextCaption(step).withAccessKeys(), texts()));
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
  // The page shown decides how far the area scrolls.
  stack_->updateGeometry();
  btnPrev->setEnabled(WizardFlow::backEnabled(step));
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

void WizardWindow::showPageOf(const QWidget* control) {
  const int step = stepOf(control);
  if (step > 0 && step != currentStep()) showStep(step);
}

void WizardWindow::focusControl(const std::string& name, int row, int column) {
  QWidget* w = namedControl(*this, name);
  if (!w) return;
  showPageOf(w);
  auto* grid = qobject_cast<GridView*>(w);
  if (grid && row == kCurrentRow)
    grid->showRowAtTop(std::max(grid->currentRow(), 0), grid->currentTableColumn());
  else if (grid && row >= 0)
    grid->showRowAtTop(row, column);
  else
    w->setFocus();
  // A field is entered as Tab enters it, its text selected: what is typed next replaces the
  // value that a refusal speaks of, as typing replaces the text of a cell made current.
  if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
}

void WizardWindow::applyCheck(const StepCheck& check) {
  if (check.message) showMessage(*check.message);
  if (check.focus.empty()) return;
  auto* grid = control<GridView>(check.focus);
  if (grid && check.scrollOnly) {
    grid->scrollRowToTop(check.row);
    return;
  }
  if (!grid) {
    focusControl(check.focus, check.row, check.column);
    return;
  }
  // The cell the refusal names becomes current with its editor closed, so that a key typed
  // after the box goes into that cell and no other text is selected to be typed over.
  showPageOf(grid);
  grid->setFocus();  // also where the grid has no row to make current
  if (check.row >= 0)
    grid->enterCell(check.row, check.column, true);
  else
    grid->enterCell(std::max(grid->currentRow(), 0), grid->currentTableColumn());
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
  Label0->setFixedSize(px(busy.width), std::min(px(busy.height), px(kBusyLabelHeight)));
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
  if (result.focusRow >= 0) grid.view()->enterCell(result.focusRow, result.focusColumn, true);
  if (result.newRow >= 0) grid.view()->enterRow(result.newRow);
  return result.handled;
}

}  // namespace qj::ui
