// The client-addition dialog opened by the database menu over the demo city of the build.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>

#include "app/program_windows.h"
#include "dbrn/client_addition.h"
#include "dbrn/dbrn_io.h"
#include "dbrn/ui/UCreateCliDB.h"
#include "support/ui/main_window_fixture.h"

namespace qj::ui {
namespace {

using test::settle;

class CreateCliDB : public test::MainWindowTest {
 protected:
  void copyDemo(const char* file) {
    std::filesystem::create_directories(dir / "Dbrn");
    std::filesystem::copy_file(std::filesystem::path(QJ_PROGRAM_DIR) / "Dbrn" / file,
                               dir / ("Dbrn/" + std::string(file)));
  }
  TfrmCreateCliDB* open() {
    main->action(MenuItem::N14)->trigger();
    settle();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<TfrmCreateCliDB*>(w); d && d->isVisible()) return d;
    return nullptr;
  }
  QStringList lines(const TfrmCreateCliDB* d) const {
    QStringList out;
    for (int i = 0; i < d->list()->count(); ++i) out << d->list()->item(i)->text();
    return out;
  }
};

TEST_F(CreateCliDB, MakesTheClientAdditionOfTheChosenSystemDatabaseOnce) {
  copyDemo("001sys1_dbrn_eng.dat");
  copyDemo("002sys2_dbrn_eng.dat");
  start({}, programWindows());

  QPointer<TfrmCreateCliDB> dialog = open();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->windowTitle(), "S651");
  EXPECT_EQ(dialog->cancelButton()->text(), "S438");
  EXPECT_FALSE(main->isEnabled());
  // Only the level-2 system databases are offered.
  const DbrnFile sys2 = *readDbrnFile(dir / "Dbrn/002sys2_dbrn_eng.dat").db;
  EXPECT_EQ(lines(dialog), QStringList{"[002sys2] " + QString::fromStdString(sys2.header.dbName)});
  EXPECT_EQ(dialog->list()->currentRow(), 0);

  dialog->okButton()->click();
  settle();
  EXPECT_FALSE(dialog);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_EQ(dir.read("Dbrn/002cli2_dbrn_eng.dat"), writeDbrn(clientAdditionOf(sys2)));

  // Once more: refused, the dialog stays open until cancelled.
  dialog = open();
  ASSERT_TRUE(dialog);
  dialog->okButton()->click();
  settle();
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->last().text, "S705 \"002cli2_dbrn_eng.dat\", S31.");
  EXPECT_TRUE(dialog && dialog->isVisible());
  dialog->cancelButton()->click();
  settle();
  EXPECT_FALSE(dialog);
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(CreateCliDB, WithoutSystemDatabasesOfLevelTwoNothingCanBeChosen) {
  copyDemo("001sys1_dbrn_eng.dat");
  start({}, programWindows());
  TfrmCreateCliDB* dialog = open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->list()->count(), 0);
  EXPECT_FALSE(dialog->okButton()->isEnabled());
}

}  // namespace
}  // namespace qj::ui
