#include "reports/ui/UViewTaskWin.h"

#include "frame/ui/window_host.h"
#include "platform/ui/guard.h"

namespace qj::ui {

TfrmViewTask* TfrmViewTask::create(AppContext& app) {
  TaskViewLoad load = loadTaskView(app.state(), regionalSeparator());
  if (!load.view) {
    app.showMessage(load.message);
    return nullptr;
  }
  return new TfrmViewTask(std::move(*load.view), app.state().texts);
}

TfrmViewTask::TfrmViewTask(TaskView view, const ShellTables& texts, QWidget* parent)
    : ViewerWindow(ViewerKind::Task, view.caption, QSize(1010, 690), parent),
      view_(std::move(view)),
      texts_(texts) {
  const bool transitions = view_.layout == TaskLayout::Transitions;
  const int columns = taskColumnCount(view_.layout);
  VarList = new ParameterList(view_.parameterTitles, view_.parameters, 501, 495, this);
  Table = new TitledGrid(view_.table, columns, this);
  Table->setObjectName(transitions ? QStringLiteral("Table") : QStringLiteral("Table1"));
  Table->grid()->setSelectionBehavior(QAbstractItemView::SelectRows);
  TitleStrip* titles = Table->titles();
  titles->setObjectName(transitions ? QStringLiteral("Title") : QStringLiteral("Title1"));
  std::vector<TitleWidths> widths;
  std::vector<std::string> captions;
  std::vector<bool> applies;
  for (int col = 0; col < columns; ++col) {
    widths.push_back(taskTitleWidths(view_.layout, col));
    captions.push_back(taskColumnTitle(view_.layout, col, view_.header, texts_));
    applies.push_back(taskColumnApplies(view_.layout, col, view_.header));
  }
  // A transition's kind reads in at most two lines.
  std::vector<int> least(static_cast<size_t>(columns), 0);
  if (transitions) least[kTaskTransitionKind] = Table->leastColumnWidth(kTaskTransitionKind, 2);
  Table->addTitles(widths, captions, applies, sizeHint().width(), least);
  for (int col = 0; col < columns; ++col)
    Table->setColumnWidth(col, taskGridColumnWidth(col, titles->titleWidth(col)));
  Table->fitRows();
  connect(titles, &TitleStrip::titleMoved, this,
          [this](int col) { guarded([&] { SplitterMoved(col); }); });
  arrange(VarList, 173, 461, Table);
}

void TfrmViewTask::SplitterMoved(int col) {
  const int width = Table->titles()->titleWidth(col);
  Table->setColumnWidth(col, taskGridColumnWidth(col, width));
  Table->fitTitle(col, taskColumnTitle(view_.layout, col, view_.header, texts_));
  Table->fitRows();
}

}  // namespace qj::ui
