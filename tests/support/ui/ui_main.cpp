// Window tests run on Qt's offscreen platform unless a display is asked for. The offscreen
// screen is a laptop's, 1366 x 768 pixels, unless QJ_TEST_SCREEN gives another ("1400x900"):
// every window must fit it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QRegularExpression>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ui/desktop.h"
#include "platform/ui/guard.h"
#include "wizard/ui/control_names.h"

namespace {

// The offscreen platform with one screen of the asked size: its configuration is a file that
// the platform reads while the application starts.
std::string offscreenPlatform(const std::filesystem::path& config) {
  int width = 1366, height = 768;
  if (const char* asked = std::getenv("QJ_TEST_SCREEN")) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(QString::fromLatin1(asked));
    if (m.hasMatch()) {
      width = m.captured(1).toInt();
      height = m.captured(2).toInt();
    }
  }
  std::ofstream(config) << "{\"screens\": [{\"name\": \"laptop\", \"x\": 0, \"y\": 0, "
                        << "\"width\": " << width << ", \"height\": " << height
                        << ", \"logicalDpi\": 96}]}";
  return "offscreen:configfile=" + config.string();
}

}  // namespace

int main(int argc, char** argv) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::filesystem::path config = std::filesystem::temp_directory_path() /
                                       ("qj-ui-tests-screen-" + std::to_string(getpid()) + ".json");
  if (!platform || std::string(platform) == "offscreen")
    setenv("QT_QPA_PLATFORM", offscreenPlatform(config).c_str(), 1);
  QApplication app(argc, argv);
  std::filesystem::remove(config);
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
