// Back on every page of the task wizard, as the window shows it: the page it leads to, the
// control focused there, the window caption, Next's caption and whether Back can be pressed
// again. Tasks of the three database levels walk from page 1 to the summary; on each page Back
// is pressed and Next brings the user forward again.

#include <gtest/gtest.h>

#include <functional>

#include "dbrn/client_addition.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

class TaskWizardBack : public TaskWizardWindow {
 protected:
  // A task to walk: its database, its addresses (a house number "-" leaves the point on one of
  // several sections) and whether refusals of service are allowed (which adds page 3a).
  struct Task {
    const char* code;
    const char* database;
    int level;
    std::vector<Address> points;
    bool refusals = false;
  };

  // What Back from `from` showed: "<from>><step> <focus> | <caption> | <Next> [no Back]".
  std::string backSeen(int from) const {
    std::string focus;
    for (QWidget* w = wizard()->focusWidget(); w && focus.empty(); w = w->parentWidget())
      if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
        focus = w->objectName().toStdString();
    return std::to_string(from) + ">" + std::to_string(step()) + " " + focus + " | " +
           wizard()->windowTitle().toStdString() + " | " +
           wizard()->nextButton()->text().toStdString() +
           (wizard()->prevButton()->isEnabled() ? "" : " no Back");
  }

  // Fills the page of a step as the task needs it.
  void fill(const Task& task, int at) {
    switch (at) {
      case 1:
        type("txtShifr", task.code);
        type("txtName", "Back and forth");
        choose("list_DBRN", task.database);
        break;
      case 2:
        type("TS_num", QString::number(task.points.size()));
        type("fine1", "1");
        if (task.refusals) control<QRadioButton>("ref_1")->click();
        break;
      case 3:
        for (size_t i = 0; i < task.points.size(); ++i)
          enterAddress(static_cast<int>(i), task.points[i], task.level);
        break;
      case 5: {
        // The point without a number goes on the first of its sections.
        const TaskWizardState& s = wizard()->state();
        for (int r = 0; r < s.table12.rows(); ++r)
          if (!trimmed(s.table12.cell(r, t12::kPoint)).empty()) {
            goTo("Table12", r, t12::kMark);
            press("Table12", Qt::Key_Space);
          }
        break;
      }
      default: break;
    }
  }

  // From page 1 to the summary, Back pressed on every page on the way and on the summary;
  // Next comes forward again to the page Back was pressed on.
  std::vector<std::string> walk(const Task& task, MenuItem opening = MenuItem::mnuInNewTask) {
    std::vector<std::string> seen;
    if (!open(opening)) return {"no wizard"};
    if (!wizard()->prevButton()->isEnabled()) seen.push_back("1 no Back");
    if (opening == MenuItem::mnuInNewTask) fill(task, 1);
    next();
    for (int guard = 0; guard < 8 && step() > 1; ++guard) {
      const int at = step();
      back();
      seen.push_back(backSeen(at));
      for (int again = 0; again < 8 && step() < at; ++again) next();
      if (step() != at || at == 8) break;
      if (opening == MenuItem::mnuInNewTask) fill(task, at);
      messages->clear();
      next();
      if (step() <= at) {
        seen.push_back("refused on " + std::to_string(at) + ": " + lastMessage());
        break;
      }
    }
    return seen;
  }

  Address oak(int section) const {
    return houseOfSection(demoCity("001sys1_dbrn_eng.dat"), "Oak", section);
  }
  Address house(int n) const { return singleLinkHouse(demoCity("002sys2_dbrn_eng.dat"), n); }
};

TEST_F(TaskWizardBack, EveryPageLeadsBackWhereTheTaskCameFrom) {
  // The client addition of the level-2 demo city: the houses of its system database.
  dir.write("Dbrn/002cli2_dbrn_eng.dat",
            writeDbrn(clientAdditionOf(demoCity("002sys2_dbrn_eng.dat"))));
  start();
  const Address kings{"av.", "Kings", "-"};  // on several sections: page 34 is shown
  // Back from a page: the page and the control it leads to, and the page's number there.
  struct Back {
    int from, to;
    const char* focus;
    const char* n;
  };
  // What a walk shows: page 1, then Back from page 2 and from page 3 as every task has them,
  // then from the later pages.
  const auto expected = [](const char* title, const char* first, const char* total,
                           const std::vector<Back>& later) {
    const std::string t(title);
    std::vector<std::string> lines = {
        "1 no Back", std::string("2>1 ") + first + " | " + t + " (S744 1) | S80 no Back"};
    std::vector<Back> backs = {{3, 2, "TS_num", "2"}};
    backs.insert(backs.end(), later.begin(), later.end());
    for (const Back& b : backs)
      lines.push_back(std::to_string(b.from) + ">" + std::to_string(b.to) + " " + b.focus + " | " +
                      t + " (S744 " + b.n + " S200 " + total + ") | S80");
    return lines;
  };
  const Back toTransitions[] = {{7, 6, "Table2", "4"}, {8, 7, "Table3", "5"}};
  const auto withTransitions = [&](std::vector<Back> backs) {
    backs.insert(backs.end(), std::begin(toTransitions), std::end(toTransitions));
    return expected("S64", "txtShifr", "5", backs);
  };
  const struct {
    const char* name;
    Task task;
    std::vector<std::string> backs;
  } walks[] = {
      {"level 1, every page",
       {"BACK01", "[001sys1]", 1, {oak(0), kings}, true},
       withTransitions({{4, 3, "Table1", "3"}, {5, 4, "Table1a", "S3"}, {6, 5, "Table12", "S4"}})},
      {"level 1, the section choice without page 3a",
       {"BACK02", "[001sys1]", 1, {oak(0), kings}},
       withTransitions({{5, 3, "Table1", "3"}, {6, 5, "Table12", "S3"}})},
      {"level 1, page 3a without the section choice",
       {"BACK03", "[001sys1]", 1, {oak(0), oak(3)}, true},
       withTransitions({{4, 3, "Table1", "3"}, {6, 4, "Table1a", "S3"}})},
      {"level 1, addresses only",
       {"BACK04", "[001sys1]", 1, {oak(0), oak(3)}},
       withTransitions({{6, 3, "Table1", "3"}})},
      {"level 2, addresses only",
       {"BACK05", "[002sys2]", 2, {house(0), house(40)}},
       expected("S64", "txtShifr", "3", {{8, 3, "Table1", "3"}})},
      {"level 3, with page 3a",
       {"BACK06", "[002cli2]", 3, {house(0), house(40)}, true},
       expected("S64", "txtShifr", "3", {{4, 3, "Table1", "3"}, {8, 4, "Table1a", "S3"}})},
  };
  for (const auto& w : walks) {
    SCOPED_TRACE(w.name);
    messages->clear();
    EXPECT_EQ(walk(w.task), w.backs);
    ASSERT_NE(wizard(), nullptr);
    ASSERT_EQ(step(), 8);
    // On the summary Next finishes.
    EXPECT_EQ(wizard()->nextButton()->text().toStdString(), "S129");
    control<QRadioButton>("Order2")->click();
    wizard()->nextButton()->click();
    settle();
    ASSERT_EQ(wizard(), nullptr) << lastMessage();
  }

  // Corrected, the level-3 task goes back from page 2 to its name: its code is fixed.
  chosenTask = "BACK06";
  EXPECT_EQ(walk({}, MenuItem::mnuInEditTask),
            expected("S233", "txtName", "3", {{4, 3, "Table1", "3"}, {8, 4, "Table1a", "S3"}}));
}

}  // namespace
}  // namespace qj::ui
