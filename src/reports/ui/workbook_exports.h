#pragma once
// The output menu's Excel command on the active viewer: its workbook is written into the
// program folder's Export/ and opened with the desktop's spreadsheet program.

namespace qj::ui {

class TfrmMainWin;
class TfrmViewTask;
class TfrmViewSolution;

void ExportTaskToExcel(TfrmMainWin& main, const TfrmViewTask& viewer);
void ExportSolutionToExcel(TfrmMainWin& main, const TfrmViewSolution& viewer);

}  // namespace qj::ui
