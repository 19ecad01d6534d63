// Window tests run on Qt's offscreen platform unless a display is asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/ui/desktop.h"
#include "platform/ui/guard.h"
#include "wizard/ui/control_names.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  qj::ui::setUpApplication();
  // No test waits in a file dialog or starts another program: the desktop cancels every
  // dialog and opens nothing unless a test scripts it (support/ui/scripted_desktop.h).
  qj::ui::desktop() = {[](QWidget*, const QString&, const QString&) { return QString(); },
                       [](const QString&) { return false; }};
  // A name that a wizard's step hands to its window and no widget carries fails the test
  // that ran it, in any build.
  qj::ui::setMissingControlHandler([](const QWidget& window, std::string_view name) {
    ADD_FAILURE() << "no control \"" << name << "\" in " << window.objectName().toStdString();
  });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
