#pragma once
// The desktop as a test scripts it: the file the open-file dialog gives, and whether a
// program takes the files handed to it. The program's desktop comes back when it goes.

#include <QString>
#include <vector>

#include "platform/ui/desktop.h"

namespace qj::test {

class ScriptedDesktop {
 public:
  ScriptedDesktop() : saved_(ui::desktop()) {
    ui::desktop().chooseFile = [this](QWidget*, const QString& caption, const QString& filter) {
      captions.push_back(caption);
      filters.push_back(filter);
      return chosen;
    };
    ui::desktop().openFile = [this](const QString& path) {
      opened.push_back(path);
      return opens;
    };
  }
  ~ScriptedDesktop() { ui::desktop() = saved_; }
  ScriptedDesktop(const ScriptedDesktop&) = delete;
  ScriptedDesktop& operator=(const ScriptedDesktop&) = delete;

  QString chosen;     // empty: the dialog is cancelled
  bool opens = true;  // whether a program takes a file
  std::vector<QString> captions, filters, opened;

 private:
  ui::Desktop saved_;
};

}  // namespace qj::test
