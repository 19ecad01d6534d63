#include "platform/ui/guard.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <stdexcept>

namespace qj::ui {
namespace {

TEST(SlotGuard, AnExceptionBecomesAnErrorBoxAndTheRestoreStepRuns) {
  ScriptedMessages box;
  setExceptionSink(&box);
  QWidget window;
  window.setEnabled(false);
  QPushButton button;
  QObject::connect(&button, &QPushButton::clicked,
                   guardSlot([] { throw std::runtime_error("the file is damaged"); },
                             [&] { window.setEnabled(true); }));
  button.click();
  setExceptionSink(nullptr);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.last().kind, MessageKind::Error);
  EXPECT_EQ(box.last().text, "the file is damaged");
  EXPECT_TRUE(window.isEnabled());
}

// A display name of the program's own would be appended to every window title; without
// one it follows the application's name.
TEST(Application, SetsNoDisplayNameThatTitlesWouldCarry) {
  const QString name = QApplication::applicationName();
  EXPECT_EQ(name, "Lite_Orvel_QJ");
  QApplication::setApplicationName("probe");
  EXPECT_EQ(QApplication::applicationDisplayName(), "probe");
  QApplication::setApplicationName(name);
}

}  // namespace
}  // namespace qj::ui
