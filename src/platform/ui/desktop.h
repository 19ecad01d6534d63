#pragma once
// What the program asks of the desktop: a file chosen in the open-file dialog, and a file
// opened with the program the desktop has for it. Tests replace both, so that no dialog
// waits for a user and no other program starts.

#include <QString>
#include <QWidget>
#include <functional>

namespace qj::ui {

struct Desktop {
  // The chosen file's path, empty when the dialog was cancelled.
  std::function<QString(QWidget* parent, const QString& caption, const QString& filter)> chooseFile;
  // True when a program took the file.
  std::function<bool(const QString& path)> openFile;
};

// The program's desktop: QFileDialog and QDesktopServices unless a test replaced them.
Desktop& desktop();

}  // namespace qj::ui
