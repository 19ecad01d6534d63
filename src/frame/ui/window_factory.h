#pragma once
// The plug-in point of the main window: one entry per kind of window that a menu command
// or a hand-over opens. Each entry creates its window, not yet shown, from the shared state
// (FormMode, SelectedPath, SolveAtOnce ...) as that window needs; the frame then sets the
// caption the command gives and opens it (operation windows over the disabled main window,
// viewers as MDI children). An empty entry opens nothing.

#include <QWidget>
#include <functional>

namespace qj::ui {

class WindowHost;

using WindowMaker = std::function<QWidget*(WindowHost& host)>;
using ViewerCommand = std::function<void(WindowHost& host, QWidget* viewer)>;

struct WindowFactory {
  WindowMaker taskWizard;   // FormMode 1 new, 2 new by import, 3 correction
  WindowMaker taskChooser;  // FormMode 1 view input, 2 view solution, 3 correct
  WindowMaker protocolWindow;
  WindowMaker optimiser;        // SolveAtOnce 1: the automatic run of CurTaskCode
  WindowMaker databaseWizard;   // FormMode 1 new, 2 new by import, 3 correct, 4 view
  WindowMaker databaseChooser;  // FormMode 3 correct, 4 view, 5 export, 6 delete
  WindowMaker clientAddition;   // FormMode 7
  WindowMaker help;             // FormMode 1, 2, 3: the three pages
  WindowMaker taskViewer;       // MDI child over SelectedPath
  WindowMaker solutionViewer;   // MDI child over SelectedPath

  // The output menu's commands on the active viewer.
  ViewerCommand printTask;
  ViewerCommand printSolution;
  ViewerCommand exportTask;
  ViewerCommand exportSolution;
};

}  // namespace qj::ui
