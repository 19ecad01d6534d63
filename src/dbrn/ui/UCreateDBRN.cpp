#include "dbrn/ui/UCreateDBRN.h"

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
#include "wizard/ui/grid_model.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// The least page area: the later pages hold wide grids and grow with the columns their titles
// need.
constexpr int kPageWidth = 980;
constexpr int kPageHeight = 600;

// Holds every grid of the wizard off its table while a step works on the tables on a worker
// thread: whatever asks a grid meanwhile (a paint, a resize that measures cells, a tooltip, an
// accessibility client, an editor that loses the focus) is answered without reading them.
class TableHold {
 public:
  explicit TableHold(const QWidget& window) {
    for (GridModel* model : window.findChildren<GridModel*>()) {
      model->holdTable();
      models_.emplace_back(model);
    }
  }
  ~TableHold() {
    for (const QPointer<GridModel>& model : models_)
      if (model) model->releaseTable();
  }
  TableHold(const TableHold&) = delete;
  TableHold& operator=(const TableHold&) = delete;

 private:
  std::vector<QPointer<GridModel>> models_;
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
  // The page is not redrawn while the step works: its grids show nothing meanwhile, and it
  // keeps the picture it has until the step is done.
  pageArea()->setUpdatesEnabled(false);
  StepResult result;
  try {
    const TableHold hold(*this);
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
