// The task wizard's window from the menu: modality, the refusals that stay on their page and
// move the focus, the controls that options show, the window's one size and a save that fails.

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
  type("txtShifr", "ab-12");  // the refused "-" alone is dropped, and says why
  EXPECT_EQ(edit("txtShifr")->text(), "AB12");
  auto* tip = wizard()->findChild<QLabel*>("refusalTip");
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->isVisible());
  EXPECT_EQ(tip->text(), "S1140 S1143, S1149 6 S1150.");
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
  EXPECT_EQ(label("shifr_2"), "ABC123");
  EXPECT_EQ(edit("Velo")->text(), "15,0");
  // The page's first field is entered with its text selected, to be typed over.
  EXPECT_EQ(w->focusWidget(), edit("TS_num"));
  EXPECT_EQ(edit("TS_num")->selectedText(), "2");

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
  EXPECT_EQ(edit("nprio")->selectedText(), "10");
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

// The summary of a client-addition task whose file cannot be written: the wizard stays.
// On the point options page a rule stands only between two things it separates: with the time
// factor alone no rule and no empty room stand left of the tact box, with refusals too a rule
// stands between the threshold and the tact.
TEST_F(TaskWizardWindow, ARuleOnThePointOptionsPageSeparatesWhatIsShown) {
  start();
  const DbrnFile db = demoCity("002sys2_dbrn_eng.dat");
  for (const bool refusals : {false, true}) {
    ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
    type("txtShifr", refusals ? "RUL002" : "RUL001");
    type("txtName", "Rules");
    choose("list_DBRN", "[002sys2]");
    next();
    type("TS_num", "2");
    type("fine1", "1");
    control<QRadioButton>("tm_1")->click();
    if (refusals) control<QRadioButton>("ref_1")->click();
    next();
    ASSERT_EQ(step(), 3) << lastMessage();
    for (int r = 0; r < 2; ++r) enterAddress(r, singleLinkHouse(db, 30 * r), 2);
    messages->clear();
    next();
    ASSERT_EQ(step(), 4) << lastMessage();
    QWidget* page = wizard()->page(4);
    int rules = 0;
    for (const QFrame* rule : page->findChildren<QFrame*>()) {
      if (rule->frameShape() != QFrame::VLine || !rule->isVisible()) continue;
      ++rules;
      const QRect at(rule->mapTo(page, QPoint()), rule->size());
      bool left = false, right = false;
      for (const QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible() || w == rule || w->isAncestorOf(rule) ||
            !w->findChildren<QWidget*>().empty())
          continue;
        const QRect r(w->mapTo(page, QPoint()), w->size());
        if (r.bottom() < at.top() || r.top() > at.bottom()) continue;
        left = left || r.right() < at.left();
        right = right || r.left() > at.right();
      }
      EXPECT_TRUE(left && right) << rule->objectName().toStdString() << " refusals " << refusals;
    }
    EXPECT_EQ(rules, refusals ? 1 : 0);
    // Without the threshold the tact box starts at the page's margin, as the grid does.
    if (!refusals) {
      EXPECT_EQ(control("Bevel50")->mapTo(page, QPoint()).x(),
                control("Table1a")->parentWidget()->mapTo(page, QPoint()).x());
    }
    wizard()->closeButton()->click();
    settle();
  }
}

TEST_F(TaskWizardWindow, AFailedSaveKeepsTheWizardOpen) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  w->state().header = test::taskHeader("ABC123", "Client round");  // its points entered
  w->state().points.resize(2);
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
