#include "dbrn/ui/wizard_page.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {

DbrnWizardPage::DbrnWizardPage(TfrmCreateDBRN& wizard, int step)
    : WizardPage(step), wizard_(wizard) {}

DbrnWizardState& DbrnWizardPage::state() const {
  return wizard_.state();
}

const ShellTables& DbrnWizardPage::texts() const {
  return wizard_.texts();
}

QLabel* DbrnWizardPage::makeHeading(const char* name) {
  return makePageTitle(this, name, dbrnPageHeading(state().mode, step()), texts());
}

QLabel* DbrnWizardPage::makeHelp(const char* name, const Text& text) {
  QLabel* help = makeLabel(this, name, text, texts());
  help->setVisible(!state().viewing());
  return help;
}

WizardGrid* DbrnWizardPage::makeGrid(
    const char* name, GridTable& table, const GridRules* rules, std::vector<int> widths,
    int fixedColumns, std::function<GridKeyResult(GridKey key, int row, int col)> onKey) {
  auto* grid = new WizardGrid(this, name, table, rules, std::move(widths), texts());
  grid->model()->setFixedColumns(fixedColumns);
  grid->view()->setKeyHandler([this, grid, onKey](GridKey key, int row, int col) {
    const GridKeyResult r = onKey(key, row, col);
    if (r.pickersChanged) showPickers();
    return wizard().applyKeyResult(*grid, r);
  });
  // A grid that is only looked at is no place to tab through.
  if (state().viewing()) grid->view()->setTabKeyNavigation(false);
  return grid;
}

QComboBox* DbrnWizardPage::makePicker(const char* name, int width) {
  auto* box = named(new QComboBox(this), name);
  box->setFixedWidth(px(width));
  box->setMaxVisibleItems(20);
  return box;
}

// ---- The section grids of steps 5 and 6 ------------------------------------------------------

void addSectionTitles(WizardGrid* grid, const char* nameTitle, const char* first) {
  using Line = WizardGrid::Line;
  grid->addTitle(first, shell(402), 0, 0, Line::Both, false);
  grid->addTitle(nameTitle, shell(263) + " (*)", 1, 1, Line::Both);
  grid->addTitle(nullptr, shell(399), 2, 2, Line::Both, false);
  grid->addTitle(nullptr, shell(391).trimmed(), 3, 3, Line::Both, false);
}

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

// ---- The identity strip ---------------------------------------------------------------------

namespace {

bool takesNumbers(int step) {
  return step == 2 || (step >= 4 && step <= 7);
}

}  // namespace

DbrnIdentityStrip::DbrnIdentityStrip(int step, const ShellTables& texts, char decSep,
                                     QWidget* parent)
    : QWidget(parent) {
  const std::string s(dbrnStripSuffix(step));
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(px(2));
  const auto pair = [&](QHBoxLayout* row, const std::string& captionName, const Text& text,
                        const std::string& valueName) {
    row->addWidget(makeLabel(this, captionName.c_str(), text, texts));
    row->addSpacing(px(8));
    row->addWidget(makeValueLabel(this, valueName));
  };

  auto* first = new QHBoxLayout;
  first->setSpacing(0);
  pair(first, "Label1_" + s, shell(223).trimmed() + ":", "kod_" + s);
  first->addSpacing(px(30));
  pair(first, "Label3_" + s, shell(672) + ":", "DBRN1_" + s);
  first->addStretch(1);
  if (takesNumbers(step)) {
    pair(first, "Label8_" + s, shell(141) + " -", "Decimal_" + s);
    findChild<QLabel*>(QString::fromStdString("Decimal_" + s))
        ->setText(QString(QChar::fromLatin1(decSep)));
  }
  rows->addLayout(first);

  auto* second = new QHBoxLayout;
  second->setSpacing(0);
  pair(second, "Label2_" + s, shell(260) + ":", "name_" + s);
  second->addSpacing(px(30));
  pair(second, "Label4_" + s, shell(139) + ":", "DBRN2_" + s);
  second->addStretch(1);
  rows->addLayout(second);
}

}  // namespace qj::ui
