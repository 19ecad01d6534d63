#include "dbrn/ui/UCreateDBRN.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFrame>
#include <QPointer>
#include <QVBoxLayout>
#include <vector>

#include "dbrn/identity_step.h"
#include "dbrn/summary_step.h"
#include "dbrn/ui/access_page.h"
#include "dbrn/ui/houses_page.h"
#include "dbrn/ui/identity_page.h"
#include "dbrn/ui/sections_page.h"
#include "dbrn/ui/street_types_page.h"
#include "dbrn/ui/streets_page.h"
#include "dbrn/ui/summary_page.h"
#include "dbrn/ui/turns_page.h"
#include "frame/ui/window_host.h"
#include "platform/ui/background_work.h"
#include "platform/ui/design.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// The least page area: the later pages hold wide grids and grow with the columns their titles
// need.
constexpr int kPageWidth = 980;
constexpr int kPageHeight = 600;

// Holds back every paint of the wizard's item views while a step works on their tables on a
// worker thread. A page whose updates are off is still drawn when the window itself is
// repainted (a box shown over it, an expose), and a view that paints reads its table.
class ViewPaintHold : public QObject {
 public:
  explicit ViewPaintHold(QWidget* window) {
    for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>()) {
      view->viewport()->installEventFilter(this);
      viewports_.emplace_back(view->viewport());
    }
  }
  ~ViewPaintHold() override {
    for (const QPointer<QWidget>& viewport : viewports_)
      if (viewport) {
        viewport->removeEventFilter(this);
        viewport->update();
      }
  }
  ViewPaintHold(const ViewPaintHold&) = delete;
  ViewPaintHold& operator=(const ViewPaintHold&) = delete;

 protected:
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint; }

 private:
  std::vector<QPointer<QWidget>> viewports_;
};

}  // namespace

TfrmCreateDBRN* TfrmCreateDBRN::create(AppContext& context, DbrnExcelImport excelImport) {
  DbrnWizardOpen open = openDbrnWizard(context.state());
  if (open.message) context.showMessage(*open.message);
  if (!open.state) return nullptr;
  return new TfrmCreateDBRN(context, std::move(*open.state), std::move(excelImport));
}

AppState& TfrmCreateDBRN::app() const {
  return context_.state();
}

TfrmCreateDBRN::TfrmCreateDBRN(AppContext& context, DbrnWizardState state,
                               DbrnExcelImport excelImport)
    : WizardWindow(context, "frmCreateDBRN", QSize(kPageWidth, kPageHeight)),
      context_(context),
      state_(std::move(state)),
      excelImport_(std::move(excelImport)) {
  const std::vector<WizardPage*> pages = {new DbrnIdentityPage(*this), new StreetTypesPage(*this),
                                          new StreetsPage(*this),      new SectionsPage(*this),
                                          new TurnsPage(*this),        new AccessPage(*this),
                                          new HousesPage(*this),       new DbrnSummaryPage(*this)};
  for (WizardPage* page : pages) addPage(page, wrapPage(page));
  buildFrame();
  applyEditRules(dbrnEditRule, state_.decSep);
  applyUpdates(identityPageCaptions(state_));
  applyUpdates(levelTitleUpdates(state_.level));
  showStep(1);
}

QWidget* TfrmCreateDBRN::wrapPage(WizardPage* page) {
  const std::string_view suffix = dbrnPageSuffix(page->step());
  page->setObjectName(QStringLiteral("gbWindow_") +
                      QString::fromLatin1(suffix.data(), static_cast<qsizetype>(suffix.size())));
  if (page->step() == 1 || page->step() == kDbrnSteps) return page;
  auto* container = new QWidget;
  auto* layout = new QVBoxLayout(container);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(px(6));
  layout->addWidget(new DbrnIdentityStrip(page->step(), texts(), state_.decSep, container));
  auto* rule = new QFrame(container);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(rule);
  layout->addWidget(page, 1);
  return container;
}

StepResult TfrmCreateDBRN::work(const BusyLabel& busy, const std::function<StepResult()>& step) {
  showBusy(busy);
  // The step works on the wizard's tables on a worker thread: the wizard must not read them
  // meanwhile. Its grids lay themselves out now rather than on a timer during the step, and
  // its page is not painted: it keeps the picture it has and is redrawn when the step is done.
  for (QAbstractItemView* view : findChildren<QAbstractItemView*>()) view->doItemsLayout();
  pageArea()->setUpdatesEnabled(false);
  const ViewPaintHold hold(this);
  StepResult result;
  try {
    result = runInBackground(this, {qtText(busy.text, texts()), {}},
                             [&step](const WorkProgress&) { return step(); });
  } catch (...) {
    pageArea()->setUpdatesEnabled(true);
    hideBusy();
    throw;
  }
  pageArea()->setUpdatesEnabled(true);
  hideBusy();
  return result;
}

void TfrmCreateDBRN::finish() {
  if (const auto message = finishDbrn(state_, app())) {
    showMessage(*message);
    // A warning comes with a saved database.
    if (message->kind == MessageKind::Error) return;
  }
  close();
}

}  // namespace qj::ui
