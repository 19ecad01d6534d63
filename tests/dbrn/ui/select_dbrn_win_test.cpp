// The database chooser from the main menu: correcting a user database, viewing a system
// database read-only, deleting a database, and the main window that waits for all of them.

#include <gtest/gtest.h>

#include "dbrn/dbrn_io.h"
#include "dbrn/ui/dbrn_wizard_window.h"
#include "platform/files.h"
#include "records/text.h"

namespace qj::ui {
namespace {

class SelectDbrnWin : public DbrnWizardWindow {
 protected:
  // A user database: the level-2 demo city under code 321.
  void addUserDatabase() {
    DbrnFile db = *readDbrnFile(dir / "Dbrn/002sys2_dbrn_eng.dat").db;
    db.header.dbCode = "321";
    db.header.dbKind = "use2";
    db.header.dbName = "Mine";
    writeFileAtomic(dir / "Dbrn/321use2_dbrn_eng.dat", writeDbrn(db));
  }
  // Next until the summary, then Next once more; true when the wizard closed.
  bool nextToTheEnd() {
    for (int guard = 0; guard < 10 && wizard() && step() < kDbrnSteps; ++guard) next();
    if (!wizard() || step() != kDbrnSteps) return false;
    next();
    return wizard() == nullptr;
  }
};

TEST_F(SelectDbrnWin, ACorrectedDatabaseIsWrittenUnderItsOwnName) {
  addUserDatabase();
  start();
  open(MenuItem::N12);
  ASSERT_NE(chooser(), nullptr);
  EXPECT_EQ(chooser()->windowTitle().toStdString(), "S655");
  // The correction lists user databases only.
  EXPECT_EQ(chooser()->list()->count(), 1);
  chooseInChooser("321use2");
  EXPECT_EQ(chooser(), nullptr);
  ASSERT_NE(wizard(), nullptr);
  EXPECT_FALSE(main->isEnabled());
  EXPECT_EQ(wizard()->windowTitle().toStdString(), "S230 (S744 1 S200 6)");
  EXPECT_FALSE(control<QLineEdit>("txtKod")->isEnabled());
  EXPECT_EQ(control<QLabel>("Label11_1")->text().toStdString(), "S672:   use2 (S511)");
  type("txtName", "Corrected");
  ASSERT_TRUE(nextToTheEnd()) << lastMessage();
  EXPECT_TRUE(main->isEnabled());
  const DbrnRead read = readDbrnFile(dir / "Dbrn/321use2_dbrn_eng.dat");
  ASSERT_TRUE(read.db) << read.error.text;
  EXPECT_EQ(read.db->header.dbName, "Corrected");
  const DbrnFile source = *readDbrnFile(dir / "Dbrn/002sys2_dbrn_eng.dat").db;
  EXPECT_EQ(read.db->sections.size(), source.sections.size());
  EXPECT_EQ(read.db->houses.size(), source.houses.size());
  EXPECT_EQ(read.db->streets.size(), source.streets.size());
}

TEST_F(SelectDbrnWin, ASystemDatabaseIsViewedReadOnlyAndNothingIsWritten) {
  start();
  const std::string before = dir.read("Dbrn/002sys2_dbrn_eng.dat");
  open(MenuItem::N13);
  chooseInChooser("002sys2");
  ASSERT_NE(wizard(), nullptr);
  EXPECT_EQ(wizard()->windowTitle().toStdString(), "S572 (S744 1 S200 6)");
  EXPECT_FALSE(control<QLineEdit>("txtName")->isEnabled());
  EXPECT_TRUE(control<QLineEdit>("EditKey_1")->isVisibleTo(wizard()));
  EXPECT_EQ(control<QLabel>("Label11_1")->text().toStdString(), "S672:   sys2 (S610)");
  next();
  ASSERT_EQ(step(), 2);
  EXPECT_TRUE(control<QLineEdit>("skor")->isReadOnly());
  EXPECT_EQ(control<QLabel>("Label_1")->text().toStdString(), "S652:");
  EXPECT_FALSE(grid("Table0")->gridModel()->flags(grid("Table0")->gridModel()->index(0, 1)) &
               Qt::ItemIsEditable);
  next();
  next();
  ASSERT_EQ(step(), 4);
  // The grids take no keys in view mode.
  const std::string closed = wizard()->state().table1.cell(0, sectionCol::kClosed);
  pressAt("Table1", 0, sectionCol::kClosed, Qt::Key_Space);
  EXPECT_EQ(wizard()->state().table1.cell(0, sectionCol::kClosed), closed);
  EXPECT_NE(control<QLabel>("_L2")->text().toStdString().find("S220."), std::string::npos);
  ASSERT_TRUE(nextToTheEnd()) << lastMessage();
  EXPECT_EQ(dir.read("Dbrn/002sys2_dbrn_eng.dat"), before);
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/002use2_dbrn_eng.dat"));
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(SelectDbrnWin, TheKeyPhraseListsTheSectionsOfTheStreetsItNames) {
  start();
  open(MenuItem::N13);
  chooseInChooser("001sys1");
  type("EditKey_2", "Oak");
  next();
  next();
  next();
  ASSERT_EQ(step(), 4);
  const DbrnWizardState& s = wizard()->state();
  ASSERT_GT(s.table1.rows(), 0);
  for (int r = 0; r < s.table1.rows(); ++r)
    EXPECT_EQ(trimmed(s.table1.cell(r, sectionCol::kName)), "Oak");
  EXPECT_EQ(control<QLabel>("_L2")->text().toStdString(),
            "S219 - \"\" + \"Oak\".   S725 - " + std::to_string(s.table1.rows()) + ".");
}

TEST_F(SelectDbrnWin, DeletingAsksOnceAndDeletesOnlyOnYes) {
  addUserDatabase();
  start();
  open(MenuItem::N15);
  ASSERT_NE(chooser(), nullptr);
  EXPECT_EQ(chooser()->list()->count(), 3);  // system databases first, then user databases
  messages->answers = {false};
  chooseInChooser("321use2");
  EXPECT_EQ(chooser(), nullptr);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->last().kind, MessageKind::Confirm);
  EXPECT_EQ(messages->last().text, "S89 \"321use2\"?");
  EXPECT_TRUE(std::filesystem::exists(dir / "Dbrn/321use2_dbrn_eng.dat"));
  EXPECT_TRUE(main->isEnabled());

  open(MenuItem::N15);
  messages->answers = {true};
  chooseInChooser("321use2");
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/321use2_dbrn_eng.dat"));
  open(MenuItem::N15);
  EXPECT_EQ(chooser()->list()->count(), 2);
}

TEST_F(SelectDbrnWin, AnEmptyCatalogueLeavesOnlyCancel) {
  std::filesystem::remove(dir / "Dbrn/001sys1_dbrn_eng.dat");
  std::filesystem::remove(dir / "Dbrn/002sys2_dbrn_eng.dat");
  start();
  open(MenuItem::N12);
  ASSERT_NE(chooser(), nullptr);
  EXPECT_FALSE(chooser()->okButton()->isEnabled());
  chooser()->cancelButton()->click();
  settle();
  EXPECT_EQ(chooser(), nullptr);
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(SelectDbrnWin, ADatabaseThatCannotBeReadOpensNoWizardAndTheChooserStays) {
  start();
  open(MenuItem::N13);
  // Damaged after the scan: the header stays, the records are cut.
  const std::string bytes = dir.read("Dbrn/001sys1_dbrn_eng.dat");
  dir.write("Dbrn/001sys1_dbrn_eng.dat", bytes.substr(0, 200));
  chooseInChooser("001sys1");
  EXPECT_EQ(wizard(), nullptr);
  ASSERT_NE(chooser(), nullptr);
  EXPECT_EQ(lastMessage().substr(0, 5), "S830 ");
}

}  // namespace
}  // namespace qj::ui
