#include "task/ui/identity_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "office/workbook_messages.h"
#include "platform/ui/background_work.h"
#include "platform/ui/design.h"
#include "platform/ui/desktop.h"
#include "platform/ui/guard.h"
#include "task/identity_step.h"
#include "task/task_files.h"
#include "task/task_import.h"
#include "task/ui/UCreateTaskWin.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {

IdentityPage::IdentityPage(TfrmCreateTaskWin& w) : TaskWizardPage(w, 1) {
  const ShellTables& t = w.texts();
  const TaskWizardState& state = w.state();
  const bool correcting = state.formMode == kCorrectTask;

  Label1_1 = makeLabel(this, "Label1_1", (correcting ? shell(746) : shell(56)) + ":", t);
  txtShifr = makeEdit(this, "txtShifr", 90);
  Label2_1 = makeLabel(this, "Label2_1", shell(41) + ":", t);
  txtName = named(new QLineEdit(this), "txtName");
  Label3_1 = makeLabel(this, "Label3_1", shell(91) + ":", t);
  list_DBRN = named(new QComboBox(this), "list_DBRN");
  for (const std::string& item : databaseListItems(w.app().dbrnCatalog, t))
    list_DBRN->addItem(toQt(item));
  list_DBRN->setCurrentIndex(0);
  connect(list_DBRN, &QComboBox::activated, this, [this] { list_DBRNClick(); });

  if (correcting) {
    txtShifr->setText(toQt(state.header.code));
    txtShifr->setEnabled(false);
    txtName->setText(toQt(state.header.name));
    std::vector<std::string> items;
    for (int i = 0; i < list_DBRN->count(); ++i) items.push_back(fromQt(list_DBRN->itemText(i)));
    list_DBRN->setCurrentIndex(databaseItemOf(items, state.header));
  }

  auto* rows = new QGridLayout;
  rows->setHorizontalSpacing(px(15));
  rows->setVerticalSpacing(px(14));
  rows->addWidget(Label1_1, 0, 0);
  rows->addWidget(txtShifr, 0, 1, Qt::AlignLeft);
  rows->addWidget(Label2_1, 1, 0);
  rows->addWidget(txtName, 1, 1);
  rows->addWidget(Label3_1, 2, 0);
  rows->addWidget(list_DBRN, 2, 1);
  rows->setColumnStretch(1, 1);

  buildImportPanel();
  const bool importing = state.formMode == kImportTask;
  pnlImort->setVisible(importing);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(12), 0, px(12), 0);
  // Without the import panel the rows stand lower on the page.
  page->addSpacing(px(importing ? 24 : 100));
  page->addLayout(rows);
  page->addSpacing(px(24));
  page->addWidget(pnlImort);
  page->addStretch(1);
}

void IdentityPage::buildImportPanel() {
  const ShellTables& t = wizard().texts();
  pnlImort = named(new QFrame(this), "pnlImort");
  pnlImort->setFrameShape(QFrame::StyledPanel);

  Label4_1 = makeLabel(pnlImort, "Label4_1", shell(99) + ":", t);
  Label4_1->setAlignment(Qt::AlignHCenter);
  RB_1 = makeRadio(pnlImort, "RB_1", lit("DAT"), t);
  RB_2 = makeRadio(pnlImort, "RB_2", lit("XLS"), t);
  auto* source = new QButtonGroup(pnlImort);
  source->addButton(RB_1);
  source->addButton(RB_2);
  RB_1->setChecked(true);
  connect(RB_1, &QRadioButton::clicked, this, [this] { RB_1Click(); });
  connect(RB_2, &QRadioButton::clicked, this, [this] { RB_2Click(); });

  Label5_1 = makeLabel(pnlImort, "Label5_1", shell(96) + ":", t);
  cbImport = named(new QComboBox(pnlImort), "cbImport");
  cbImport->setFixedWidth(px(330));
  cbImport->addItem(qtText(noneItem(), t));
  for (const ProtocolRec& rec : wizard().app().protocol)
    cbImport->addItem(toQt("[" + rec.code + "] " + rec.name));
  cbImport->setCurrentIndex(0);
  btnImport = makeButton(pnlImort, "btnImport", shell(206), t);
  btnLoadOutData = makeButton(pnlImort, "btnLoadOutData", shell(207), t);
  btnLoadOutData->setEnabled(false);
  connect(btnImport, &QPushButton::clicked, this, guardSlot([this] { btnImportClick(); }));
  connect(btnLoadOutData, &QPushButton::clicked, this,
          guardSlot([this] { btnLoadOutDataClick(); }));
  Label6_1 = makeLabel(pnlImort, "Label6_1", shell(194) + ":", t);
  staticTask = makeLabel(pnlImort, "staticTask", shell(275) + ".", t);
  Label_ex1 = makeLabel(pnlImort, "Label_ex1", {}, t);
  Label_ex2 = makeLabel(pnlImort, "Label_ex2", {}, t);

  auto* grid = new QGridLayout(pnlImort);
  grid->setHorizontalSpacing(px(15));
  grid->setVerticalSpacing(px(10));
  grid->addWidget(Label4_1, 0, 0, 1, 4);
  auto* sources = new QHBoxLayout;
  sources->addWidget(RB_1);
  sources->addSpacing(px(30));
  sources->addWidget(RB_2);
  sources->addStretch(1);
  grid->addLayout(sources, 1, 0, 1, 4);
  grid->addWidget(Label5_1, 2, 0);
  grid->addWidget(cbImport, 2, 1);
  grid->addWidget(btnImport, 2, 2);
  grid->addWidget(Label6_1, 3, 0);
  grid->addWidget(staticTask, 3, 1, 1, 2);
  grid->addWidget(btnLoadOutData, 4, 2);
  // The workbook's name stands apart from its caption, as every value from its label.
  grid->addWidget(Label_ex1, 5, 0);
  grid->addWidget(Label_ex2, 5, 1, 1, 2);
  grid->setColumnStretch(3, 1);
}

void IdentityPage::list_DBRNClick() {
  wizard().state().dbChangedByUser = 1;
}

void IdentityPage::RB_1Click() {
  RB_1->setChecked(true);
  btnLoadOutData->setEnabled(false);
  for (QWidget* w : {static_cast<QWidget*>(btnImport), static_cast<QWidget*>(cbImport),
                     static_cast<QWidget*>(staticTask)})
    w->setEnabled(true);
}

void IdentityPage::RB_2Click() {
  RB_2->setChecked(true);
  btnLoadOutData->setEnabled(true);
  for (QWidget* w : {static_cast<QWidget*>(btnImport), static_cast<QWidget*>(cbImport),
                     static_cast<QWidget*>(staticTask)})
    w->setEnabled(false);
}

void IdentityPage::btnImportClick() {
  TfrmCreateTaskWin& w = wizard();
  showImport(importProtocolTask(w.state(), w.app(), cbImport->currentIndex()));
}

void IdentityPage::btnLoadOutDataClick() {
  TfrmCreateTaskWin& w = wizard();
  const QString path = desktop().chooseFile(&w, qtText(shell(207), w.texts()),
                                            qtText(office::workbookFileFilter(), w.texts()));
  if (path.isEmpty()) return;
  // The worker reads copies: nothing of the wizard is touched until the task is taken over.
  const std::filesystem::path file(path.toStdString());
  const TaskHeader base = w.state().header;
  const std::string langCode = w.state().langCode, code = fromQt(txtShifr->text()),
                    name = fromQt(txtName->text());
  const ShellTables& texts = w.texts();
  const BackgroundWork shown{qtText(office::workbookWorkCaption(false), texts),
                             [&texts](int64_t done, int64_t total) {
                               return qtText(office::workRowsText(done, total), texts);
                             },
                             qtText(shell(438).withAccessKeys(), texts)};
  LoadedTaskWorkbook loaded = runInBackground(&w, shown, [&](const WorkProgress& p) {
    return loadTaskWorkbook(file, base, langCode, code, name, p);
  });
  showImport(takeTaskWorkbook(w.state(), w.app(), std::move(loaded)));
}

void IdentityPage::showImport(const ImportOutcome& outcome) {
  TfrmCreateTaskWin& w = wizard();
  if (outcome.message) w.showMessage(*outcome.message);
  w.applyUpdates(outcome.updates);
  if (outcome.dbItem) list_DBRN->setCurrentIndex(*outcome.dbItem);
}

void IdentityPage::next() {
  TfrmCreateTaskWin& w = wizard();
  const Step1Input input{fromQt(txtShifr->text()), fromQt(txtName->text()),
                         list_DBRN->currentIndex()};
  w.runNext([&] { return w.flow().identityNext(input); });
}

}  // namespace qj::ui
