#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "dbrn/wizard_flow.h"
#include "dbrn/wizard_frame.h"
#include "dbrn/wizard_state.h"
#include "frame/app_state.h"
#include "wizard/ui/wizard_window.h"

namespace qj::ui {

class AppContext;
class TfrmCreateDBRN;

// The import of step 1 from an Excel workbook: asks for the workbook and reads it; nullopt when
// the user cancelled. The wizard shows what came back.
using DbrnExcelImport = std::function<std::optional<DbrnWorkbookImport>(TfrmCreateDBRN& wizard)>;

// The database wizard: eight pages, one per step, with Back, Next and Cancel. It creates a
// database (FormMode 1), creates one by import (2), corrects (3) or views (4) the database of
// SelectedPath. It is an operation window: the main window waits disabled until it closes.
class TfrmCreateDBRN : public WizardWindow {
  Q_OBJECT

 public:
  // The wizard for the main window's FormMode, or nothing when the database to correct or view
  // cannot be read (its message has been shown). Without an Excel import the workbook source
  // of page 1 stays disabled.
  static TfrmCreateDBRN* create(AppContext& context, DbrnExcelImport excelImport = {});

  AppContext& context() const { return context_; }
  AppState& app() const;
  DbrnWizardState& state() { return state_; }
  const DbrnExcelImport& excelImport() const { return excelImport_; }

  DbrnWizardFlow& flow() override { return flow_; }

 protected:
  // Next on the summary: the database written (outside view mode), then the window closes.
  void finish() override;
  // A step works on the wizard's tables on a worker thread.
  StepResult work(const BusyLabel& busy, const std::function<StepResult()>& step) override;

 private:
  TfrmCreateDBRN(AppContext& context, DbrnWizardState state, DbrnExcelImport excelImport);
  QWidget* wrapPage(WizardPage* page);

  AppContext& context_;
  DbrnWizardState state_;
  DbrnWizardFlow flow_{state_};
  DbrnExcelImport excelImport_;
};

}  // namespace qj::ui
