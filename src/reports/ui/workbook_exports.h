#pragma once
// The output menu's Excel command on the active viewer: its workbook is written into the
// program folder's Export/ and opened with the desktop's spreadsheet program.

namespace qj::ui {

class WindowHost;
class TfrmViewTask;
class TfrmViewSolution;

void ExportTaskToExcel(WindowHost& host, const TfrmViewTask& viewer);
void ExportSolutionToExcel(WindowHost& host, const TfrmViewSolution& viewer);

}  // namespace qj::ui
