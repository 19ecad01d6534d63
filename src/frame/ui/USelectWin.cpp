#include "frame/ui/USelectWin.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frame/ui/UMainWin.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmSelectWin::TfrmSelectWin(TfrmMainWin& main)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      main_(main),
      lbTask(new QListWidget(this)),
      btnOK(new QPushButton(QStringLiteral("ОК"), this)),
      btnCancel(new QPushButton(this)) {
  lbTask->setMinimumSize(420, 240);
  lbTask->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbTask);
  auto* buttons = new QHBoxLayout;
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

void TfrmSelectWin::FormCreate() {
  btnCancel->setText(toQt(shell(438).resolve(main_.state().texts)));
  const AppState& state = main_.state();
  RowToRecord = offeredTasks(state.protocol, state.formMode);
  for (const int r : RowToRecord) lbTask->addItem(toQt(taskListLine(state.protocol[r])));
  if (RowToRecord.empty())
    btnOK->setEnabled(false);
  else
    lbTask->setCurrentRow(0);
}

void TfrmSelectWin::btnOKClick() {
  const int row = lbTask->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= RowToRecord.size()) return;
  const TaskChoice choice = chooseTask(main_.state(), RowToRecord[row]);
  if (choice.message) main_.showMessage(*choice.message);
  openNext(choice.target);
}

void TfrmSelectWin::openNext(ChooserTarget target) {
  // A window that is not there (yet), or that refused to open on the task, leaves the
  // chooser open for another choice.
  const WindowFactory& windows = main_.windows();
  QWidget* next = nullptr;
  switch (target) {
    case ChooserTarget::TaskViewer:
      if (windows.taskViewer && (next = windows.taskViewer(main_))) main_.openViewer(next);
      break;
    case ChooserTarget::SolutionViewer:
      if (windows.solutionViewer && (next = windows.solutionViewer(main_))) main_.openViewer(next);
      break;
    case ChooserTarget::TaskWizard:
      // Opened before the chooser closes, so the main window stays disabled for it.
      if (windows.taskWizard && (next = windows.taskWizard(main_))) main_.openWindow(next);
      break;
    case ChooserTarget::None: break;
  }
  if (next) close();
}

void TfrmSelectWin::btnCancelClick() {
  close();
}

}  // namespace qj::ui
