#include "dbrn/ui/USelectDBRN.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frame/catalogue.h"
#include "frame/ui/UMainWin.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmSelectDBRN::TfrmSelectDBRN(TfrmMainWin& main, DbrnExport exportToExcel)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      main_(main),
      exportToExcel_(std::move(exportToExcel)),
      lbTask(new QListWidget(this)),
      Label0(new QLabel(this)),
      btnOK(new QPushButton(QStringLiteral("OK"), this)),
      btnCancel(new QPushButton(this)) {
  setObjectName(QStringLiteral("frmSelectDBRN"));
  lbTask->setObjectName(QStringLiteral("lbTask"));
  Label0->setObjectName(QStringLiteral("Label0"));
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  lbTask->setMinimumSize(460, 260);
  lbTask->setSelectionMode(QAbstractItemView::SingleSelection);
  Label0->setStyleSheet(QStringLiteral("color: red"));
  Label0->setWordWrap(true);
  Label0->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbTask);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Label0, 1);
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  layout->addLayout(buttons);

  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, guardSlot([this] { btnOKClick(); }));
  connect(btnCancel, &QPushButton::clicked, this, guardSlot([this] { btnCancelClick(); }));
  connect(lbTask, &QListWidget::itemActivated, this, guardSlot([this] { btnOKClick(); }));

  FormCreate();
  setFixedSize(sizeHint());
}

void TfrmSelectDBRN::FormCreate() {
  const AppState& state = main_.state();
  btnCancel->setText(toQt(shell(438).resolve(state.texts)));
  Label0->setText(toQt((shell(120) + " ...").resolve(state.texts)));
  for (const std::string& item : catalogueItems(state.dbrnCatalog)) lbTask->addItem(toQt(item));
  if (state.dbrnCatalog.empty())
    btnOK->setEnabled(false);
  else
    lbTask->setCurrentRow(0);
}

void TfrmSelectDBRN::btnOKClick() {
  const ChooserChoice choice = chooseDbrn(main_.state(), lbTask->currentRow());
  if (choice.message) main_.showMessage(*choice.message);
  switch (choice.action) {
    case ChooserAction::Stay: return;
    case ChooserAction::OpenWizard: {
      // Opened before the chooser closes, so the main window stays disabled for it; a
      // database that cannot be read opens nothing and the chooser stays.
      const WindowFactory& windows = main_.windows();
      QWidget* wizard = windows.databaseWizard ? windows.databaseWizard(main_) : nullptr;
      if (!wizard) return;
      main_.openWindow(wizard);
      break;
    }
    case ChooserAction::Export:
      if (!exportToExcel_ || exportToExcel_(*this)) return;
      break;
    case ChooserAction::Delete: DeleteDBRN(choice.key); break;
    case ChooserAction::Close: break;
  }
  close();
}

void TfrmSelectDBRN::DeleteDBRN(const std::string& key) {
  if (!main_.showMessage(deleteDbrnQuestion(key))) return;
  if (const auto failure = deleteDbrnFile(main_.state())) main_.showMessage(*failure);
}

void TfrmSelectDBRN::btnCancelClick() {
  close();
}

}  // namespace qj::ui
