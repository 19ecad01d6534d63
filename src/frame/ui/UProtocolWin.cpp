#include "frame/ui/UProtocolWin.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "frame/protocol_view.h"
#include "frame/task_chooser.h"
#include "frame/task_handover.h"
#include "frame/ui/window_host.h"
#include "platform/ui/design.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {
namespace {

constexpr int kKeyWidth = 170;
constexpr int kValueWidth = 400;
constexpr int kDetailRows = 7;

}  // namespace

TfrmProtocolWin::TfrmProtocolWin(AppContext& app)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      TaskList(new QComboBox(this)),
      model_(new GridModel(values_, &rules_, this)),
      ValueList(new GridView(this)),
      btnDeleteTask(new QPushButton(this)),
      btnCreateInData(new QPushButton(this)),
      btnLoadOutData(new QPushButton(this)),
      btnClose(new QPushButton(this)) {
  TaskList->setEditable(false);
  TaskList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  TaskList->setMinimumContentsLength(30);
  model_->setFixedColumns(1);
  ValueList->setGridModel(model_);
  ValueList->setColumnWidths({px(kKeyWidth), px(kValueWidth)});
  ValueList->setSelectionMode(QAbstractItemView::NoSelection);
  ValueList->setFocusPolicy(Qt::NoFocus);
  ValueList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ValueList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int frame = 2 * ValueList->frameWidth();
  ValueList->setFixedSize(px(kKeyWidth + kValueWidth) + frame,
                          kDetailRows * ValueList->verticalHeader()->defaultSectionSize() + frame);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TaskList);
  layout->addWidget(ValueList);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnDeleteTask);
  buttons->addWidget(btnCreateInData);
  buttons->addWidget(btnLoadOutData);
  buttons->addStretch();
  buttons->addWidget(btnClose);
  layout->addLayout(buttons);

  // Enter closes the window; deleting a task takes a click or a deliberate move to its button.
  btnClose->setDefault(true);

  connect(TaskList, &QComboBox::activated, this, guardSlot([this] { TaskListChange(); }));
  connect(btnDeleteTask, &QPushButton::clicked, this, guardSlot([this] { btnDeleteTaskClick(); }));
  connect(btnCreateInData, &QPushButton::clicked, this,
          guardSlot([this] { btnCreateInDataClick(); }));
  connect(btnLoadOutData, &QPushButton::clicked, this,
          guardSlot([this] { btnLoadOutDataClick(); }));
  connect(btnClose, &QPushButton::clicked, this, guardSlot([this] { btnCloseClick(); }));

  FormCreate();
  setFixedSize(withRoomForCaption(this, sizeHint()));
}

void TfrmProtocolWin::FormCreate() {
  const ShellTables& texts = app_.state().texts;
  setWindowTitle(toQt(shell(578).resolve(texts)));
  btnDeleteTask->setText(toQt(shell(692).withAccessKeys().resolve(texts)));
  btnCreateInData->setText(toQt(shell(110).withAccessKeys().resolve(texts)));
  btnLoadOutData->setText(toQt(shell(180).withAccessKeys().resolve(texts)));
  btnClose->setText(toQt(shell(196).withAccessKeys().resolve(texts)));

  fillTaskList();
  if (TaskList->count() > 0) {
    selectLine(0);
    TaskList->setFocus();
    return;
  }
  values_.clear();
  model_->reload();
  for (QWidget* w : {static_cast<QWidget*>(ValueList), static_cast<QWidget*>(btnDeleteTask),
                     static_cast<QWidget*>(btnCreateInData), static_cast<QWidget*>(btnLoadOutData),
                     static_cast<QWidget*>(TaskList)})
    w->setEnabled(false);
  btnClose->setFocus();
}

void TfrmProtocolWin::fillTaskList() {
  const QSignalBlocker quiet(TaskList);
  TaskList->clear();
  for (const ProtocolRec& r : app_.state().protocol) TaskList->addItem(toQt(taskListLine(r)));
}

void TfrmProtocolWin::selectLine(int line) {
  {
    const QSignalBlocker quiet(TaskList);
    TaskList->setCurrentIndex(line);
  }
  TaskListChange();
}

int TfrmProtocolWin::selectedRecord() const {
  const int line = TaskList->currentIndex();
  return line >= 0 && static_cast<size_t>(line) < app_.state().protocol.size() ? line : -1;
}

void TfrmProtocolWin::TaskListChange() {
  const int record = selectedRecord();
  values_.clear();
  if (record < 0) {
    model_->reload();
    for (QPushButton* b : {btnDeleteTask, btnCreateInData, btnLoadOutData}) b->setEnabled(false);
    return;
  }
  const TaskDetails details = taskDetails(app_.state(), record);
  const ShellTables& texts = app_.state().texts;
  values_.setRows(static_cast<int>(details.rows.size()));
  for (size_t i = 0; i < details.rows.size(); ++i) {
    values_.set(static_cast<int>(i), 0, details.rows[i].key.resolve(texts));
    values_.set(static_cast<int>(i), 1, details.rows[i].value.resolve(texts));
  }
  model_->reload();
  btnDeleteTask->setEnabled(details.canDelete);
  if (details.canQueue) btnCreateInData->setEnabled(*details.canQueue);
  if (details.canLoad) btnLoadOutData->setEnabled(*details.canLoad);
}

void TfrmProtocolWin::btnDeleteTaskClick() {
  const int record = selectedRecord();
  if (record < 0 || !taskFileExists(app_.state(), record)) return;
  if (!app_.showMessage(deleteTaskQuestion(app_.state().protocol[record]), this)) return;
  const Deletion deletion = deleteTask(app_.state(), record);
  for (const Message& m : deletion.messages) app_.showMessage(m, this);
  if (!deletion.deleted) return;
  fillTaskList();
  selectLine(rowAfterDeletion(record, TaskList->count()));
}

void TfrmProtocolWin::btnCreateInDataClick() {
  const int record = selectedRecord();
  if (record < 0) return;
  const HandoverResult result = queueTaskInput(app_.state(), app_.state().protocol[record].code);
  for (const Message& m : result.messages) app_.showMessage(m, this);
  TaskListChange();
}

void TfrmProtocolWin::btnLoadOutDataClick() {
  const int record = selectedRecord();
  if (record < 0) return;
  const HandoverResult result = loadTaskSolution(app_.state(), app_.state().protocol[record].code);
  for (const Message& m : result.messages) app_.showMessage(m, this);
  TaskListChange();
}

void TfrmProtocolWin::btnCloseClick() {
  close();
}

}  // namespace qj::ui
