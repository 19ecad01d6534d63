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

// Opens a file with the program the desktop has registered for its type, `registered`
// telling which one that is (empty: none). The desktop's opener reports success as soon as
// it has started, whether or not anything can show the file; without a registered program
// the file is not handed over and the answer is false.
bool openWithRegisteredProgram(const QString& path,
                               const std::function<QString(const QString& mimeType)>& registered,
                               const std::function<bool(const QString& path)>& open);

// The desktop entry registered as the default program for a MIME type (xdg-mime), or empty.
QString registeredProgram(const QString& mimeType);

}  // namespace qj::ui
