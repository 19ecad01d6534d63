#pragma once

#include <functional>
#include <string>

#include "dbrn/dbrn_chooser.h"
#include "frame/ui/list_chooser.h"

namespace qj::ui {

class WindowHost;
class TfrmSelectDBRN;

// The export of the chosen database (FormMode 5) to a workbook: true when the database was
// refused, so that the chooser stays open for another choice.
using DbrnExport = std::function<bool(TfrmSelectDBRN& chooser)>;

// The database chooser: the databases of the catalogue for the command that opened it
// (FormMode 3 correct, 4 view, 5 export, 6 delete). It hands a database to the database wizard
// (which keeps the main window disabled until it closes), exports it or deletes it after
// asking. The command sets its caption. Without an export the export command chooses nothing.
class TfrmSelectDBRN : public ListChooser {
  Q_OBJECT

 public:
  explicit TfrmSelectDBRN(WindowHost& host, DbrnExport exportToExcel = {});

  WindowHost& host() const { return host_; }

  void btnOKClick() override;

 private:
  void FormCreate();
  // Asks, deletes SelectedPath + ".dat" and reports a deletion that failed.
  void DeleteDBRN(const std::string& key);

  WindowHost& host_;
  DbrnExport exportToExcel_;
};

}  // namespace qj::ui
