#include "frame/ui/shell_language.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

namespace qj::ui {
namespace {

// The standard buttons of message boxes and the shown dates speak the shell's language.
TEST(ShellLanguage, QtsOwnTextsAndDatesFollowTheShell) {
  const QLocale before;
  const QDate day(2024, 6, 1);
  const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };

  useShellLanguage("rus");
  EXPECT_EQ(yes(), QString::fromUtf8("&Да"));
  EXPECT_EQ(QLocale().toString(day, QLocale::ShortFormat), "01.06.2024");

  useShellLanguage("eng");
  EXPECT_EQ(yes(), "&Yes");
  EXPECT_EQ(QLocale().language(), QLocale::English);

  // A code Qt does not know changes nothing.
  useShellLanguage("xx?");
  EXPECT_EQ(QLocale().language(), QLocale::English);
  QLocale::setDefault(before);
}

}  // namespace
}  // namespace qj::ui
