#include <QDir>
#include <QFont>

#include "frame/ui/UMainWin.h"
#include "platform/ui/guard.h"

int main(int argc, char* argv[]) {
  qj::ui::GuardedApplication app(argc, argv);
  QApplication::setApplicationName("Lite_Orvel_QJ");
  QApplication::setApplicationDisplayName("Lite_Orvel_QJ");
  // The design's 8 points; windows scale their design pixels to what this font needs.
  QApplication::setFont(QFont("DejaVu Sans", 8));

  qj::ui::TfrmMainWin window(QDir(QApplication::applicationDirPath()).absolutePath().toStdString());
  // No usable language shell: the start-up has said so, and the program ends.
  if (window.terminated()) return 1;
  window.showMaximized();
  return QApplication::exec();
}
