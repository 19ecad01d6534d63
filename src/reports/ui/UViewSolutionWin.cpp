#include "reports/ui/UViewSolutionWin.h"

#include <limits>

#include "frame/ui/window_host.h"
#include "platform/ui/guard.h"

namespace qj::ui {

TfrmViewSolution* TfrmViewSolution::create(AppContext& app) {
  SolutionViewLoad load = loadSolutionView(app.state(), regionalSeparator());
  if (!load.view) {
    app.showMessage(load.message);
    return nullptr;
  }
  return new TfrmViewSolution(std::move(*load.view), app.state().texts);
}

TfrmViewSolution::TfrmViewSolution(SolutionView view, const ShellTables& texts, QWidget* parent)
    : ViewerWindow(ViewerKind::Solution, view.caption, QSize(1010, 689), parent),
      view_(std::move(view)),
      texts_(texts) {
  VarList = new ParameterList(view_.parameterTitles, view_.parameters, 505, 491, this);
  sgSolution = new TitledGrid(view_.route, kRouteShownColumns, this);
  sgSolution->grid()->setSelectionMode(QAbstractItemView::ContiguousSelection);
  TitleStrip* titles = sgSolution->titles();
  titles->setObjectName(QStringLiteral("TitleSolution"));
  std::vector<TitleWidths> widths;
  std::vector<std::string> captions;
  for (int col = 0; col < kRouteShownColumns; ++col) {
    widths.push_back(routeTitleWidths(col));
    captions.push_back(routeColumnTitle(col, texts_));
  }
  // No word of a turn is cut: "( parking )" is one.
  std::vector<int> least(kRouteShownColumns, 0);
  least[kRouteTurn] = sgSolution->leastColumnWidth(kRouteTurn, std::numeric_limits<int>::max());
  sgSolution->addTitles(widths, captions, std::vector<bool>(kRouteShownColumns, true),
                        sizeHint().width(), least);
  for (int col = 0; col < kRouteShownColumns; ++col)
    sgSolution->setColumnWidth(col, routeGridColumnWidth(col, titles->titleWidth(col)));
  sgSolution->fitRows();
  connect(titles, &TitleStrip::titleMoved, this,
          [this](int col) { guarded([&] { SplitterMoved(col); }); });
  arrange(VarList, 213, 575, sgSolution);
}

void TfrmViewSolution::SplitterMoved(int col) {
  const int width = sgSolution->titles()->titleWidth(col);
  sgSolution->setColumnWidth(col, routeGridColumnWidth(col, width));
  sgSolution->fitTitle(col, routeColumnTitle(col, texts_));
  sgSolution->fitRows();
}

}  // namespace qj::ui
