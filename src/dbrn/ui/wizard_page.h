#pragma once
// A page of the database wizard, with the pieces its pages share: the heading, the help lines
// under a grid, a grid over a table of the wizard's state, and the strip that names the
// database at the top of pages 2 to 7.

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <vector>

#include "dbrn/wizard_state.h"
#include "text/message.h"
#include "wizard/ui/wizard_grid.h"
#include "wizard/ui/wizard_window.h"

namespace qj::ui {

class TfrmCreateDBRN;

class DbrnWizardPage : public WizardPage {
  Q_OBJECT

 public:
  DbrnWizardPage(TfrmCreateDBRN& wizard, int step);

  // The page's pickers show the wizard's choices.
  virtual void showPickers() {}

 protected:
  TfrmCreateDBRN& wizard() const { return wizard_; }
  DbrnWizardState& state() const;
  const ShellTables& texts() const;

  // The page's heading (as the operation names it), centred and bold.
  QLabel* makeHeading(const char* name);
  // A line that explains the grid's keys; there are no keys to explain in view mode.
  QLabel* makeHelp(const char* name, const Text& text);
  // A grid over a table of the state; its keys go to `onKey`, which returns what they did.
  WizardGrid* makeGrid(const char* name, GridTable& table, const GridRules* rules,
                       std::vector<int> widths, int fixedColumns,
                       std::function<GridKeyResult(GridKey key, int row, int col)> onKey);
  // A picker of the page with its caption after it.
  QComboBox* makePicker(const char* name, int width);

 private:
  TfrmCreateDBRN& wizard_;
};

// The four fixed columns of Table2 and Table3 (steps 5 and 6): section number, name text,
// start and end node; their widths and their titles (the name column's title depends on the
// level).
inline const std::vector<int> kSectionColumns = {52, 170, 62, 62};
void addSectionTitles(WizardGrid* grid, const char* nameTitle, const char* first);

// The line of counts over the grids of steps 5 and 6: nodes and sections.
QWidget* makeCountLine(QWidget* parent, int step, const ShellTables& texts);

// The strip at the top of pages 2 to 7: the database's code, name, kind and date (the date
// while it has one), and on pages that take numbers the decimal separator.
class DbrnIdentityStrip : public QWidget {
  Q_OBJECT

 public:
  DbrnIdentityStrip(int step, const ShellTables& texts, char decSep, QWidget* parent = nullptr);
};

}  // namespace qj::ui
