// The task wizard's window from the menu: modality, the refusals that stay on their page and
// move the focus, the controls that options show, the window's one size, the key filters of
// the edits and a save that fails.

#include <gtest/gtest.h>

#include "support/task_fixture.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

// Pages 1 and 2 of a new task. Back, Next and Cancel stay where they are: the window keeps one
// size whatever each page and its options show.
TEST_F(TaskWizardWindow, ANewTaskWalksStepsOneAndTwo) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(main->isEnabled());
  EXPECT_FALSE(w->prevButton()->isEnabled());
  EXPECT_FALSE(control("pnlImort")->isVisibleTo(w));
  settle();
  const QSize size = w->size();
  const QPoint nextAt = w->nextButton()->pos();
  next();
  EXPECT_EQ(lastMessage(), "S299.");
  EXPECT_EQ(step(), 1);
  fillPageOne();
  messages->clear();
  next();
  ASSERT_EQ(step(), 2) << lastMessage();
  EXPECT_EQ(w->windowTitle(), "S64 (S744 2 S200 5)");
  EXPECT_EQ(label("shifr_2"), "ABC123");
  EXPECT_EQ(edit("Velo")->text(), "15,0");

  // Options show their controls and move the focus there.
  const struct {
    const char* option;
    const char* control;
    const char* off;
  } options[] = {{"fak2", "ndol", "fak0"}, {"pro_3", "nprio", "pro_0"}};
  for (const auto& o : options) {
    EXPECT_FALSE(control(o.control)->isVisible()) << o.control;
    control<QRadioButton>(o.option)->click();
    EXPECT_TRUE(control(o.control)->isVisible()) << o.control;
    EXPECT_EQ(w->focusWidget(), control(o.control));
    settle();
    EXPECT_EQ(w->size(), size);
    control<QRadioButton>(o.off)->click();
    EXPECT_FALSE(control(o.control)->isVisible()) << o.control;
  }

  // A refusal naming a control focuses it; an empty capacity only moves the focus.
  control<QRadioButton>("pro_3")->click();
  type("TS_num", "10");  // the most rows page 3 can have
  type("nprio", "10");
  next();
  EXPECT_EQ(lastMessage(), "S623 <= 9.");
  EXPECT_EQ(w->focusWidget(), control("nprio"));
  control<QRadioButton>("pro_0")->click();
  control<QRadioButton>("fak1")->click();
  messages->clear();
  next();
  EXPECT_EQ(w->focusWidget(), edit("ndol"));
  EXPECT_TRUE(messages->shown.empty());
  type("ndol", "10");
  next();
  EXPECT_EQ(lastMessage(), "S302. S202.");
  EXPECT_EQ(step(), 2);
  control<QRadioButton>("prvd_1")->click();
  messages->clear();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  EXPECT_EQ(label("nts_3"), "10");
  EXPECT_EQ(w->state().header.cargoMode, 1);
  settle();
  EXPECT_EQ(w->size(), size);
  EXPECT_EQ(w->nextButton()->pos(), nextAt);

  // Closing stores nothing.
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

}  // namespace
}  // namespace qj::ui
