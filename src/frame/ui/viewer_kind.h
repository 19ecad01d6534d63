#pragma once
// The two viewers are MDI children of the main window; the output menu's print and
// spreadsheet commands act on the active one. A viewer marks itself when it is created.

#include <QWidget>

namespace qj::ui {

enum class ViewerKind { None, Task, Solution };

void markViewer(QWidget* viewer, ViewerKind kind);
ViewerKind viewerKind(const QWidget* window);

}  // namespace qj::ui
