#include "platform/ui/desktop.h"

#include <gtest/gtest.h>

namespace qj::ui {
namespace {

// The desktop's opener says yes as soon as it starts; whether anything can show the file is
// asked of the desktop's registry of programs first.
TEST(Desktop, AFileIsHandedOverOnlyWhenAProgramIsRegisteredForItsType) {
  struct Case {
    const char* path;
    const char* expectedType;
    const char* registered;
    bool openerSucceeds;
    bool opened;
  } cases[] = {
      {"/tmp/QJ/Print/qj_A_task.pdf", "application/pdf", "", true, false},
      {"/tmp/QJ/Print/qj_A_task.pdf", "application/pdf", "viewer.desktop", true, true},
      {"/tmp/QJ/Export/qj_A.xlsx",
       "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", "sheets.desktop", false,
       false},
      {"/tmp/QJ/Export/qj_A.xlsx",
       "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", "", true, false},
  };
  for (const Case& c : cases) {
    QString askedType;
    int handedOver = 0;
    const bool opened = openWithRegisteredProgram(
        QString::fromLatin1(c.path),
        [&](const QString& type) {
          askedType = type;
          return QString::fromLatin1(c.registered);
        },
        [&](const QString&) {
          ++handedOver;
          return c.openerSucceeds;
        });
    EXPECT_EQ(opened, c.opened) << c.path << " " << c.registered;
    EXPECT_EQ(askedType, QString::fromLatin1(c.expectedType));
    EXPECT_EQ(handedOver, *c.registered ? 1 : 0);
  }
}

}  // namespace
}  // namespace qj::ui
