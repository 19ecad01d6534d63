#include "dbrn/ui/identity_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dbrn/identity_step.h"
#include "dbrn/ui/UCreateDBRN.h"
#include "frame/catalogue.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {

DbrnIdentityPage::DbrnIdentityPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 1) {
  const ShellTables& t = texts();
  const DbrnWizardState& s = state();
  Label3_1 = makePageTitle(this, "Label3_1", shell(100) + ":", t);
  Label1_1 = makeLabel(this, "Label1_1", {}, t);
  txtKod = makeEdit(this, "txtKod", 60);
  Label11_1 = makeLabel(this, "Label11_1", {}, t);
  RBT1 = makeRadio(this, "RBT1", shell(427) + " (use1)", t);
  RBT2 = makeRadio(this, "RBT2", shell(597) + " (use2)", t);
  auto* kinds = new QButtonGroup(this);
  kinds->addButton(RBT1);
  kinds->addButton(RBT2);
  RBT1->setChecked(true);
  Label2_1 = makeLabel(this, "Label2_1", {}, t);
  txtName = named(new QLineEdit(this), "txtName");
  txtName->setMaximumWidth(px(560));

  const bool loaded = s.mode == kCorrectDbrn || s.mode == kViewDbrn;
  if (loaded) {
    txtKod->setText(toQt(s.db.header.dbCode));
    txtName->setText(toQt(s.db.header.dbName));
  }
  txtKod->setEnabled(!loaded);
  txtName->setEnabled(!s.viewing());

  auto* rows = new QGridLayout;
  rows->setHorizontalSpacing(px(15));
  rows->setVerticalSpacing(px(16));
  rows->addWidget(Label1_1, 0, 0);
  rows->addWidget(txtKod, 0, 1, Qt::AlignLeft);
  rows->addWidget(Label11_1, 1, 0, Qt::AlignTop);
  auto* kindButtons = new QVBoxLayout;
  kindButtons->addWidget(RBT1);
  kindButtons->addWidget(RBT2);
  rows->addLayout(kindButtons, 1, 1);
  rows->addWidget(Label2_1, 2, 0);
  rows->addWidget(txtName, 2, 1);
  rows->setColumnStretch(1, 1);

  buildImportPanel();
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(40), px(8), px(40), 0);
  page->addWidget(Label3_1);
  page->addSpacing(px(s.mode == kImportDbrn ? 16 : 60));
  page->addLayout(rows);
  page->addSpacing(px(24));
  page->addWidget(buildKeyPhrase());
  page->addWidget(pnlImort);
  page->addStretch(1);
}

QWidget* DbrnIdentityPage::buildKeyPhrase() {
  const ShellTables& t = texts();
  auto* box = new QWidget(this);
  LabelKey = makeLabel(box, "LabelKey", shell(779) + ":", t);
  LabelKey_1 = makeLabel(box, "LabelKey_1", shell(678) + " (" + shortText(53).trimmed() + ")", t);
  EditKey_1 = makeEdit(box, "EditKey_1", 80);
  LabelKey_2 = makeLabel(box, "LabelKey_2", shell(266), t);
  EditKey_2 = makeEdit(box, "EditKey_2", 260);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(px(15));
  grid->addWidget(LabelKey, 1, 0);
  grid->addWidget(LabelKey_1, 0, 1, Qt::AlignHCenter);
  grid->addWidget(LabelKey_2, 0, 2, Qt::AlignHCenter);
  grid->addWidget(EditKey_1, 1, 1, Qt::AlignHCenter);
  grid->addWidget(EditKey_2, 1, 2, Qt::AlignHCenter);
  grid->setColumnStretch(3, 1);
  box->setVisible(state().viewing());
  return box;
}

void DbrnIdentityPage::buildImportPanel() {
  const ShellTables& t = texts();
  pnlImort = named(new QFrame(this), "pnlImort");
  pnlImort->setFrameShape(QFrame::StyledPanel);
  Label4_1 = makeLabel(pnlImort, "Label4_1", shell(92) + ":", t);
  RB_1 = makeRadio(pnlImort, "RB_1", lit("DAT"), t);
  RB_2 = makeRadio(pnlImort, "RB_2", lit("XLS"), t);
  auto* sources = new QButtonGroup(pnlImort);
  sources->addButton(RB_1);
  sources->addButton(RB_2);
  RB_1->setChecked(true);
  // The workbook import works only when it has been plugged in.
  RB_2->setEnabled(static_cast<bool>(wizard().excelImport()));
  connect(RB_1, &QRadioButton::clicked, this, [this] { RB_1Click(); });
  connect(RB_2, &QRadioButton::clicked, this, [this] { RB_2Click(); });

  cbImport = named(new QComboBox(pnlImort), "cbImport");
  cbImport->setMinimumWidth(px(360));
  for (const std::string& item : databaseListItems(wizard().app().dbrnCatalog, t))
    cbImport->addItem(toQt(item));
  cbImport->setCurrentIndex(0);
  btnImport = makeButton(pnlImort, "btnImport", shell(206), t);
  Label5_1 = makeLabel(pnlImort, "Label5_1", shell(18) + ":", t);
  staticBase = makeLabel(pnlImort, "staticBase", shell(275) + ".", t);
  btnLoadOutData = makeButton(pnlImort, "btnLoadOutData", shell(207), t);
  btnLoadOutData->setEnabled(false);
  Label_ex1 = makeLabel(pnlImort, "Label_ex1", {}, t);
  Label_ex2 = makeLabel(pnlImort, "Label_ex2", {}, t);
  connect(btnImport, &QPushButton::clicked, this, [this] { btnImportClick(); });
  connect(btnLoadOutData, &QPushButton::clicked, this, [this] { btnLoadOutDataClick(); });

  auto* grid = new QGridLayout(pnlImort);
  grid->setHorizontalSpacing(px(15));
  grid->setVerticalSpacing(px(10));
  grid->addWidget(Label4_1, 0, 0, 1, 3);
  auto* kinds = new QHBoxLayout;
  kinds->addWidget(RB_1);
  kinds->addSpacing(px(30));
  kinds->addWidget(RB_2);
  kinds->addStretch(1);
  grid->addLayout(kinds, 1, 0, 1, 3);
  grid->addWidget(cbImport, 2, 0, 1, 2);
  grid->addWidget(btnImport, 2, 2);
  grid->addWidget(Label5_1, 3, 0);
  grid->addWidget(staticBase, 3, 1, 1, 2);
  grid->addWidget(btnLoadOutData, 4, 2);
  grid->addWidget(Label_ex1, 5, 0);
  grid->addWidget(Label_ex2, 5, 1, 1, 2);
  grid->setColumnStretch(1, 1);
  pnlImort->setVisible(state().mode == kImportDbrn);
}

void DbrnIdentityPage::showCaptions() {
  wizard().applyUpdates(identityPageCaptions(state()));
}

void DbrnIdentityPage::RB_1Click() {
  RB_1->setChecked(true);
  btnLoadOutData->setEnabled(false);
  for (QWidget* w : {static_cast<QWidget*>(btnImport), static_cast<QWidget*>(cbImport),
                     static_cast<QWidget*>(Label4_1), static_cast<QWidget*>(Label5_1),
                     static_cast<QWidget*>(staticBase)})
    w->setEnabled(true);
}

void DbrnIdentityPage::RB_2Click() {
  RB_2->setChecked(true);
  btnLoadOutData->setEnabled(static_cast<bool>(wizard().excelImport()));
  for (QWidget* w : {static_cast<QWidget*>(btnImport), static_cast<QWidget*>(cbImport),
                     static_cast<QWidget*>(Label4_1), static_cast<QWidget*>(Label5_1),
                     static_cast<QWidget*>(staticBase)})
    w->setEnabled(false);
}

void DbrnIdentityPage::btnImportClick() {
  // The code and name typed on the page stay as they are.
  const DbrnImport imported = importDbrnFile(state(), wizard().app(), cbImport->currentIndex());
  if (imported.message) {
    wizard().showMessage(*imported.message);
    return;
  }
  setCaption(staticBase, imported.source.resolve(texts()), false);
  showCaptions();
}

void DbrnIdentityPage::btnLoadOutDataClick() {
  if (!wizard().excelImport()) return;
  std::optional<DbrnWorkbookImport> imported = wizard().excelImport()(wizard());
  if (!imported) return;
  const std::vector<Message> messages = imported->messages;
  wizard().applyUpdates(installWorkbook(state(), std::move(*imported)));
  for (const Message& m : messages) wizard().showMessage(m);
}

void DbrnIdentityPage::next() {
  const DbrnIdentityInput input{fromQt(txtKod->text()), fromQt(txtName->text()), RBT1->isChecked(),
                                RBT2->isChecked()};
  wizard().runNext([&] { return checkGeneralPage(state(), wizard().app(), input); });
}

}  // namespace qj::ui
