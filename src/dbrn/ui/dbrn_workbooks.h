#pragma once
// The windows' side of the database workbooks: the database chooser's export and the
// database wizard's import. Both show the red busy label of their window while they work and
// the messages of the core.

#include <QLabel>
#include <QWidget>
#include <optional>

#include "dbrn/dbrn_workbook_import.h"

namespace qj::ui {

class AppContext;
class WindowHost;

// The database chooser's export (FormMode 5) of the database at SelectedPath: its workbooks
// are written into Export/ and handed to the desktop's spreadsheet program; a workbook that
// nothing opens is named in a message. `busyLabel` is shown while the export runs. True when
// the database was refused: the chooser then stays open for another choice.
bool exportDbrnToWorkbook(WindowHost& host, QLabel* busyLabel = nullptr);

// The database wizard's import from a workbook: the open-file dialog, then the workbook and
// (level 2) its house workbook read. Nothing when the dialog was cancelled. `busyLabel` shows
// shell text 114 while the workbooks are read and keeps shell text 115, hidden, afterwards.
std::optional<ImportedDbrnWorkbook> chooseDbrnWorkbook(AppContext& app, QWidget* parent,
                                                       QLabel* busyLabel = nullptr);

}  // namespace qj::ui
