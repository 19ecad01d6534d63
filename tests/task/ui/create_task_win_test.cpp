// The task wizard's window from the menu: modality, the refusals that stay on their page and
// move the focus, the controls that options show, a correction opened on its saved task and
// the window's one size.

#include <gtest/gtest.h>

#include "records/protocol_file.h"
#include "support/task_fixture.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

TEST_F(TaskWizardWindow, ANewTaskWalksStepsOneAndTwo) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(main->isEnabled());
  EXPECT_FALSE(w->prevButton()->isEnabled());
  EXPECT_FALSE(control("pnlImort")->isVisibleTo(w));
  next();
  EXPECT_EQ(lastMessage(), "S299.");
  EXPECT_EQ(step(), 1);
  fillPageOne();
  messages->clear();
  next();
  ASSERT_EQ(step(), 2) << lastMessage();
  EXPECT_TRUE(onPage(2));
  EXPECT_FALSE(onPage(1));
  EXPECT_EQ(w->windowTitle(), "S64 (S744 2 S200 5)");
  EXPECT_EQ(label("shifr_2"), "ABC123");
  EXPECT_EQ(label("DBRN1_2"), "sys1 (S609)");
  EXPECT_EQ(edit("Velo")->text(), "15,0");

  type("TS_num", "4");
  control<QRadioButton>("fak1")->click();
  messages->clear();
  next();
  EXPECT_EQ(w->focusWidget(), edit("ndol"));  // an empty capacity only moves the focus
  EXPECT_TRUE(messages->shown.empty());
  type("ndol", "10");
  next();
  EXPECT_EQ(lastMessage(), "S302. S202.");
  EXPECT_EQ(step(), 2);
  control<QRadioButton>("prvd_1")->click();
  control<QComboBox>("UnitOfMeasurement")->setCurrentIndex(1);
  messages->clear();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  EXPECT_EQ(label("nts_3"), "4");
  EXPECT_EQ(w->state().header.moneyUnit, "s7");
  EXPECT_EQ(w->state().header.cargoMode, 1);

  // Back keeps what was typed; closing stores nothing.
  back();
  EXPECT_EQ(edit("ndol")->text(), "10");
  back();
  EXPECT_EQ(edit("txtName")->text(), "Deliveries");
  w->closeButton()->click();
  settle();
  EXPECT_EQ(wizard(), nullptr);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(main->state().protocol.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir / "Data"));
}

// Each edit has its key filter; a refused character refuses what is typed after it.
TEST_F(TaskWizardWindow, EditsTakeOnlyTheirCharacters) {
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  const struct {
    const char* edit;
    const char* typed;
    const char* kept;
  } edits[] = {{"txtShifr", "ab12c34", "AB12C3"},      {"txtShifr", "ab-12", "AB"},
               {"txtName", "Склад №1 ✓", "Склад №1 "}, {"TS_num", "123", "12"},
               {"fine1", "1,5x.7654", "1,5"},          {"Velo", "123456", "12345"}};
  for (const auto& e : edits) {
    type(e.edit, QString::fromUtf8(e.typed));
    EXPECT_EQ(edit(e.edit)->text(), QString::fromUtf8(e.kept)) << e.edit << " " << e.typed;
  }
}

// Options show their controls and move the focus there; a refusal naming a control focuses it.
TEST_F(TaskWizardWindow, TheOptionsShowTheirControls) {
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  fillPageOne();
  next();
  ASSERT_EQ(step(), 2);
  const struct {
    const char* option;
    const char* control;
    const char* off;
  } options[] = {{"fak2", "ndol", "fak0"}, {"pro_3", "nprio", "pro_1"}};
  for (const auto& o : options) {
    EXPECT_FALSE(control(o.control)->isVisible()) << o.control;
    control<QRadioButton>(o.option)->click();
    EXPECT_TRUE(control(o.control)->isVisible()) << o.control;
    EXPECT_EQ(wizard()->focusWidget(), control(o.control));
    control<QRadioButton>(o.off)->click();
    EXPECT_FALSE(control(o.control)->isVisible()) << o.control;
  }
  control<QRadioButton>("pro_3")->click();
  type("TS_num", "5");
  type("nprio", "5");
  next();
  EXPECT_EQ(lastMessage(), "S623 <= 4.");
  EXPECT_EQ(wizard()->focusWidget(), control("nprio"));
}

// A task file that is missing or of another language opens no wizard.
TEST_F(TaskWizardWindow, ACorrectionOfAnUnreadableTaskOpensNothing) {
  start();
  test::writeTask(dir, "COR001", "Foreign", "rus");
  for (const char* code : {"GONE01", "COR001"}) {
    chosenTask = code;
    EXPECT_EQ(open(MenuItem::mnuInEditTask), nullptr);
    EXPECT_FALSE(lastMessage().empty());
    EXPECT_TRUE(main->isEnabled());
  }
}

TEST_F(TaskWizardWindow, AFailedSaveKeepsTheWizardOpen) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  TaskWizardState& s = w->state();  // a client-addition task with its points entered
  s.header.language = "eng";
  s.header.code = "ABC123";
  s.header.dbKind = "cli2";
  s.header.pointCount = 2;
  s.points.resize(2);
  w->showStep(8);
  std::filesystem::create_directories(dir / "Data/qj_ABC123.dat");
  next();
  EXPECT_EQ(lastMessage(), "S863 \"qj_ABC123.dat\" S865.");
  EXPECT_EQ(wizard(), w);
  EXPECT_EQ(step(), 8);
  EXPECT_TRUE(main->state().protocol.empty());
  EXPECT_EQ(optimiserFor, "");
}

// Back, Next and Cancel stay where they are: the window keeps one size from page to page,
// whatever each page holds.
TEST_F(TaskWizardWindow, TheWindowKeepsOneSizeFromPageToPage) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  settle();
  const QSize first = w->size();
  const QPoint nextAt = w->nextButton()->pos();
  fillPageOne();
  next();
  ASSERT_EQ(step(), 2);
  type("TS_num", "10");
  type("fine1", "1");
  type("fine2", "10");
  control<QRadioButton>("fak1")->click();  // controls shown and hidden again
  control<QRadioButton>("pro_3")->click();
  settle();
  EXPECT_EQ(w->size(), first);
  control<QRadioButton>("fak0")->click();
  control<QRadioButton>("pro_0")->click();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  settle();
  EXPECT_EQ(w->size(), first);
  EXPECT_EQ(w->nextButton()->pos(), nextAt);
}

}  // namespace
}  // namespace qj::ui
