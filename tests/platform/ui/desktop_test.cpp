#include "platform/ui/desktop.h"

#include <gtest/gtest.h>

namespace qj::ui {
namespace {

// The desktop's opener says yes as soon as it starts; whether anything can show the file is
// asked of the desktop's registry of programs first.
TEST(Desktop, AFileIsHandedOverOnlyWhenAProgramIsRegisteredForItsType) {
  const QString pdf = "application/pdf",
                xlsx = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
  const struct {
    const char* path;
    QString type;
    const char* registered;
    bool openerSucceeds, opened;
  } cases[] = {{"/tmp/QJ/Print/qj_A_task.pdf", pdf, "", true, false},
               {"/tmp/QJ/Print/qj_A_task.pdf", pdf, "viewer.desktop", true, true},
               {"/tmp/QJ/Export/qj_A.xlsx", xlsx, "sheets.desktop", false, false},
               {"/tmp/QJ/Export/qj_A.xlsx", xlsx, "", true, false}};
  for (const auto& c : cases) {
    QString askedType;
    int handedOver = 0;
    const bool opened = openWithRegisteredProgram(
        c.path, [&](const QString& type) { return askedType = type, QString(c.registered); },
        [&](const QString&) { return ++handedOver, c.openerSucceeds; });
    EXPECT_EQ(opened, c.opened) << c.path << " " << c.registered;
    EXPECT_EQ(askedType, c.type);
    EXPECT_EQ(handedOver, *c.registered ? 1 : 0);
  }
}

}  // namespace
}  // namespace qj::ui
