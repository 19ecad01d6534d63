#pragma once
// Page 1 of the task wizard (gbWindow_1): the task's code and name, its road-network
// database and, for a new task by import, the import panel pnlImort.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "task/task_import.h"
#include "task/ui/wizard_page.h"

namespace qj::ui {

class IdentityPage : public TaskWizardPage {
  Q_OBJECT

 public:
  explicit IdentityPage(TfrmCreateTaskWin& wizard);

  void next() override;

  void list_DBRNClick();
  void RB_1Click();
  void RB_2Click();
  void btnImportClick();
  void btnLoadOutDataClick();

 private:
  void buildImportPanel();
  void showImport(const ImportOutcome& outcome);

  QLabel* Label1_1;
  QLineEdit* txtShifr;
  QLabel* Label2_1;
  QLineEdit* txtName;
  QLabel* Label3_1;
  QComboBox* list_DBRN;

  QFrame* pnlImort;
  QLabel* Label4_1;
  QRadioButton* RB_1;
  QRadioButton* RB_2;
  QLabel* Label5_1;
  QComboBox* cbImport;
  QPushButton* btnImport;
  QPushButton* btnLoadOutData;
  QLabel* Label6_1;
  QLabel* staticTask;
  QLabel* Label_ex1;
  QLabel* Label_ex2;
};

}  // namespace qj::ui
