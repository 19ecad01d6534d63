#pragma once

#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include "wizard/grid.h"
#include "wizard/ui/grid_model.h"
#include "wizard/ui/grid_view.h"

namespace qj::ui {

class AppContext;

// The protocol window: the details of any task of the protocol, and the actions on the
// chosen one: delete it with all its files, queue its input for solving, load its solution
// back from the Solving folder. Every change is written to the protocol file at once.
class TfrmProtocolWin : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmProtocolWin(AppContext& app);

  QComboBox* taskList() const { return TaskList; }
  GridView* valueList() const { return ValueList; }
  // The details as shown: key and value of each row.
  const GridTable& values() const { return values_; }
  QPushButton* deleteButton() const { return btnDeleteTask; }
  QPushButton* queueButton() const { return btnCreateInData; }
  QPushButton* loadButton() const { return btnLoadOutData; }
  QPushButton* closeButton() const { return btnClose; }

  void TaskListChange();
  void btnDeleteTaskClick();
  void btnCreateInDataClick();
  void btnLoadOutDataClick();
  void btnCloseClick();

 private:
  void FormCreate();
  void fillTaskList();
  void selectLine(int line);
  int selectedRecord() const;

  AppContext& app_;
  GridTable values_{2};
  ReadOnlyRules rules_;
  QComboBox* TaskList;
  GridModel* model_;
  GridView* ValueList;
  QPushButton* btnDeleteTask;
  QPushButton* btnCreateInData;
  QPushButton* btnLoadOutData;
  QPushButton* btnClose;
};

}  // namespace qj::ui
