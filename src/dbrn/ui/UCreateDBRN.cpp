#include "dbrn/ui/UCreateDBRN.h"

#include <QFrame>
#include <QVBoxLayout>

#include "dbrn/identity_step.h"
#include "dbrn/ui/dbrn_identity_page.h"
#include "dbrn/ui/houses_page.h"
#include "dbrn/ui/sections_page.h"
#include "dbrn/ui/street_types_page.h"
#include "dbrn/ui/streets_page.h"
#include "dbrn/ui/turns_page.h"
#include "frame/ui/window_host.h"
#include "platform/ui/design.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// The least page area: the later pages hold wide grids and grow with the columns their titles
// need.
constexpr int kPageWidth = 980;
constexpr int kPageHeight = 600;

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

void TfrmCreateDBRN::showStep(int step) {
  if (!page(step)) return;
  state_.wizardStep = step;
  setWindowTitle(qtText(dbrnStepCaption(state_, step), texts()));
  nextButton()->setText(qtText(step == kDbrnSteps ? shell(129) : shell(80), texts()));
  showPage(step);
}

void TfrmCreateDBRN::follow(const DbrnStepResult& result) {
  applyUpdates(result.updates);
  if (!result.passed()) {
    applyCheck(result.check);
    return;
  }
  showStep(result.nextStep);
  focusControl(result.focus, result.focusRow, result.focusColumn);
}

void TfrmCreateDBRN::btnNextClick() {
  commitGridEditors();
  if (state_.wizardStep >= kDbrnSteps) {
    finish();
    return;
  }
  if (WizardPage* current = page(state_.wizardStep)) current->next();
}

void TfrmCreateDBRN::btnPrevClick() {
  if (state_.wizardStep <= 1) return;
  commitGridEditors();
  hideBusy();
  const DbrnBackMove move = dbrnBack(state_);
  showStep(move.toStep);
  auto* grid = control<GridView>(move.focus);
  if (grid && move.scrollToCurrent)
    grid->showRowAtTop(std::max(grid->currentRow(), 0));
  else
    focusControl(move.focus);
}

void TfrmCreateDBRN::finish() {
  if (const auto failure = finishDbrn(state_, app())) {
    showMessage(*failure);
    return;
  }
  close();
}

}  // namespace qj::ui
