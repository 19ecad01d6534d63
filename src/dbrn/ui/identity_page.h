#pragma once
// Page 1 of the database wizard (gbWindow_0): the database's code, name and kind, the key
// phrases of view mode and, for a new database by import, the import panel pnlImort.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dbrn/ui/wizard_page.h"

namespace qj::ui {

class DbrnIdentityPage : public DbrnWizardPage {
  Q_OBJECT

 public:
  explicit DbrnIdentityPage(TfrmCreateDBRN& wizard);

  void next() override;

  void btnImportClick();
  void btnLoadOutDataClick();
  void RB_1Click();
  void RB_2Click();

 private:
  QWidget* buildKeyPhrase();
  void buildImportPanel();
  void showCaptions();

  QLabel* Label3_1;
  QLabel* Label1_1;
  QLineEdit* txtKod;
  QLabel* Label11_1;
  QRadioButton* RBT1;
  QRadioButton* RBT2;
  QLabel* Label2_1;
  QLineEdit* txtName;

  QLabel* LabelKey;
  QLabel* LabelKey_1;
  QLineEdit* EditKey_1;
  QLabel* LabelKey_2;
  QLineEdit* EditKey_2;

  QFrame* pnlImort;
  QLabel* Label4_1;
  QRadioButton* RB_1;
  QRadioButton* RB_2;
  QComboBox* cbImport;
  QPushButton* btnImport;
  QLabel* Label5_1;
  QLabel* staticBase;
  QPushButton* btnLoadOutData;
  QLabel* Label_ex1;
  QLabel* Label_ex2;
};

}  // namespace qj::ui
