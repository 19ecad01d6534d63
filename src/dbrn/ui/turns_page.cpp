#include "dbrn/ui/turns_page.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLocale>
#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

namespace tc = turnCol;
namespace ac = accessCol;

// The fixed columns of Table2 and Table3: section number, name text, start and end node.
const std::vector<int> kSectionColumns = {52, 170, 62, 62};

std::vector<int> turnWidths() {
  std::vector<int> widths = kSectionColumns;
  for (int k = 0; k < kMaxTurns; ++k) {
    widths.push_back(46);
    widths.push_back(36);
  }
  return widths;
}

// The title of the pair k, built by appending.
Text pairTitle(int k) {
  return shell(268) + " " + num(k + 1);
}

// Titles of the four fixed columns; the name column's title depends on the level.
void addSectionTitles(WizardGrid* grid, const char* nameTitle, const char* first) {
  using Line = WizardGrid::Line;
  grid->addTitle(first, shell(402), 0, 0, Line::Both, false);
  grid->addTitle(nameTitle, shell(263) + " (*)", 1, 1, Line::Both);
  grid->addTitle(nullptr, shell(399), 2, 2, Line::Both, false);
  grid->addTitle(nullptr, shell(391).trimmed(), 3, 3, Line::Both, false);
}

QString today() {
  return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
}

}  // namespace

QWidget* makeCountLine(QWidget* parent, int step, const ShellTables& texts) {
  const std::string s(dbrnStripSuffix(step));
  auto* line = new QWidget(parent);
  auto* row = new QHBoxLayout(line);
  row->setContentsMargins(0, 0, 0, 0);
  const auto pair = [&](const Text& caption, const std::string& value) {
    row->addWidget(new QLabel(toQt(caption.resolve(texts)), line));
    auto* v = named(new QLabel(line), value.c_str());
    QFont bold = v->font();
    bold.setBold(true);
    v->setFont(bold);
    row->addWidget(v);
    row->addSpacing(px(30));
  };
  pair(shell(737).trimmed() + ":", "ndsum_" + s);
  pair(shell(736).trimmed() + ":", "tlsum_" + s);
  row->addStretch(1);
  return line;
}

// ---- Turns -----------------------------------------------------------------------------------

TurnsPage::TurnsPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 5), rules_(w.state()) {
  const ShellTables& t = texts();
  grid_ = makeGrid(
      "Table2", state().table2, &rules_, turnWidths(), 4,
      [this](GridKey key, int row, int col) { return turnGridKey(state(), key, row, col); });
  addSectionTitles(grid_, "Label10", "Label1_3");
  using Line = WizardGrid::Line;
  for (int k = 0; k < kMaxTurns; ++k) {
    grid_->addTitle(nullptr, pairTitle(k), tc::node(k), tc::direction(k), Line::Group, false);
    grid_->addTitle(nullptr, shell(1006), tc::node(k), tc::node(k), Line::Column, false);
    grid_->addTitle(nullptr, shell(1007), tc::direction(k), tc::direction(k), Line::Column, false);
  }
  QLabel* filter = makeLabel(this, "_L3", {}, t);
  filter->setVisible(state().viewing());

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(makeHeading("Label_3"));
  page->addWidget(filter, 0, Qt::AlignHCenter);
  page->addWidget(makeCountLine(this, 5, t));
  page->addWidget(grid_, 1, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label9_3", lit("<SpaceBar> - ") + shell(186)), 0, Qt::AlignHCenter);
}

void TurnsPage::pageShown() {
  grid_->refresh();
}

void TurnsPage::next() {
  wizard().runNext([this] { return checkTurnsPage(state()); });
}

// ---- Accessibility ---------------------------------------------------------------------------

AccessPage::AccessPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 6) {
  const ShellTables& t = texts();
  std::vector<int> widths = kSectionColumns;
  widths.insert(widths.end(), {86, 150, 150});
  grid_ = makeGrid(
      "Table3", state().table3, &rules_, widths, 5,
      [this](GridKey key, int row, int col) { return accessGridKey(state(), key, row, col); });
  addSectionTitles(grid_, "Title2_T3", "Title1_T3");
  using Line = WizardGrid::Line;
  grid_->addTitle("Title5_T3", shell(1002), ac::kReverse, ac::kReverse, Line::Both, false);
  grid_->addTitle("Title6_T3", shell(537) + " (*)", ac::kPrevClosed, ac::kPrevClosed, Line::Both,
                  false);
  grid_->addTitle("Title7_T3", shell(536) + " (*)", ac::kReverseClosed, ac::kReverseClosed,
                  Line::Both, false);
  QLabel* filter = makeLabel(this, "_L4", {}, t);
  filter->setVisible(state().viewing());

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(makeHeading("Label_4"));
  page->addWidget(filter, 0, Qt::AlignHCenter);
  page->addWidget(makeCountLine(this, 6, t));
  page->addWidget(grid_, 1, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label9_4", lit("<SpaceBar> - ") + shell(1005)), 0, Qt::AlignHCenter);
}

void AccessPage::pageShown() {
  grid_->refresh();
}

void AccessPage::next() {
  const std::string date = fromQt(today());
  wizard().runNext([this, &date] { return checkAccessPage(state(), date); });
}

}  // namespace qj::ui
