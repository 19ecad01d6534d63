#include <QDir>

#include "app/program_windows.h"
#include "frame/ui/UMainWin.h"
#include "platform/ui/guard.h"

int main(int argc, char* argv[]) {
  qj::ui::GuardedApplication app(argc, argv);
  qj::ui::setUpApplication();

  qj::ui::TfrmMainWin window(QDir(QApplication::applicationDirPath()).absolutePath().toStdString(),
                             nullptr, qj::ui::programWindows());
  // No usable language shell: the start-up has said so, and the program ends.
  if (window.terminated()) return 1;
  window.showMaximized();
  return QApplication::exec();
}
