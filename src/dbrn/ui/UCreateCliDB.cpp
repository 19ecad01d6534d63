#include "dbrn/ui/UCreateCliDB.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dbrn/client_addition.h"
#include "frame/catalogue.h"
#include "frame/ui/UMainWin.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmCreateCliDB::TfrmCreateCliDB(TfrmMainWin& main)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      main_(main),
      List(new QListWidget(this)),
      btnOK(new QPushButton(QStringLiteral("ОК"), this)),
      btnCancel(new QPushButton(this)) {
  List->setMinimumSize(420, 200);
  List->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(List);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  layout->addLayout(buttons);

  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, guardSlot([this] { btnOKClick(); }));
  connect(btnCancel, &QPushButton::clicked, this, guardSlot([this] { btnCancelClick(); }));
  connect(List, &QListWidget::itemActivated, this, guardSlot([this] { btnOKClick(); }));

  FormCreate();
  setFixedSize(sizeHint());
}

void TfrmCreateCliDB::FormCreate() {
  const AppState& state = main_.state();
  btnCancel->setText(toQt(shell(438).resolve(state.texts)));
  const std::vector<std::string> items = catalogueItems(state.dbrnCatalog);
  for (size_t i = 0; i < items.size(); ++i) {
    List->addItem(toQt(items[i]));
    ListMap.push_back(static_cast<int>(i));
  }
  if (ListMap.empty())
    btnOK->setEnabled(false);
  else
    List->setCurrentRow(0);
}

void TfrmCreateCliDB::btnOKClick() {
  const int row = List->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= ListMap.size()) return;
  AppState& state = main_.state();
  const ClientAdditionResult result =
      createClientAddition(state, state.dbrnCatalog.at(ListMap[row]));
  if (result.message) main_.showMessage(*result.message);
  if (!result.stayOpen) close();
}

void TfrmCreateCliDB::btnCancelClick() {
  close();
}

}  // namespace qj::ui
