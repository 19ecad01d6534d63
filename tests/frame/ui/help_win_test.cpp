#include <gtest/gtest.h>

#include <QPointer>

#include "app/program_windows.h"
#include "frame/ui/UHelpWin.h"
#include "frame/ui/UMainWin.h"
#include "platform/files.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "support/ui/main_window_fixture.h"

namespace qj::ui {
namespace {

using test::settle;

class HelpWin : public test::MainWindowTest {
 protected:
  void start(bool withPictures = true) {
    if (withPictures)
      for (const char* name : {"help1.jpg", "help2.jpg", "help3.jpg"})
        dir.write(std::string("System/") + name,
                  readFile(fs::path(QJ_PROGRAM_DIR) / "System" / name).value_or(""));
    WindowFactory f = programWindows();
    const WindowMaker maker = f.help;
    f.help = [this, maker](WindowHost& m) -> QWidget* {
      QWidget* w = maker(m);
      win = qobject_cast<TfrmHelp*>(w);
      return w;
    };
    MainWindowTest::start({}, std::move(f));
  }
  void open(MenuItem item) {
    main->action(item)->trigger();
    settle();
    ASSERT_TRUE(win);
    ASSERT_TRUE(win->isVisible());
  }

  QPointer<TfrmHelp> win;
};

std::vector<int> heights(const std::vector<QLabel*>& labels) {
  std::vector<int> h;
  for (const QLabel* l : labels) h.push_back(l->height());
  return h;
}

TEST_F(HelpWin, AboutTheSystemStacksItsFiveTextsAndGrowsWithThem) {
  start();
  open(MenuItem::N101);
  EXPECT_EQ(win->page(), HelpPage::AboutSystem);
  EXPECT_EQ(win->windowTitle(), QString(" S417"));
  EXPECT_FALSE(main->isEnabled());
  ASSERT_EQ(win->paragraphs().size(), 5u);
  EXPECT_EQ(win->paragraphs()[0]->objectName(), "Label11");
  EXPECT_EQ(win->paragraphs()[0]->text(), "L0.0L0.1L0.2L0.3");
  EXPECT_EQ(win->paragraphs()[2]->font(), designFont(13));
  EXPECT_EQ(win->paragraphs()[4]->font(), designFont(16));
  int top = px(12);
  for (const QLabel* label : win->paragraphs()) {
    EXPECT_EQ(label->geometry(), QRect(px(17), top, px(792), label->height()))
        << label->objectName().toStdString();
    top += label->height() + px(3);
  }
  const std::vector<int> shortHeights = heights(win->paragraphs());
  const auto windowHeight = [](const std::vector<int>& labels) {
    return aboutSystemHeight(labels) - 62 + px(62);
  };
  EXPECT_EQ(win->size(), QSize(px(830), windowHeight(shortHeights)));
  EXPECT_EQ(win->groupBox()->picture().size(), QSize(835, 570));
  EXPECT_EQ(win->groupBox()->size(), win->size());

  win->close();
  settle();
  EXPECT_FALSE(win);
  EXPECT_TRUE(main->isEnabled());

  // Longer texts: more lines, a taller window, the same rule.
  std::string longLine;
  for (int i = 0; i < 40; ++i) longLine += "words of help ";
  for (auto& line : main->state().texts.longTexts[2]) line = longLine;
  open(MenuItem::N101);
  EXPECT_GT(win->paragraphs()[2]->height(), 3 * shortHeights[2]);
  EXPECT_EQ(win->height(), windowHeight(heights(win->paragraphs())));
  // 12 above the first label, 3 between labels: 38 design pixels are left below the last one.
  EXPECT_EQ(
      win->paragraphs()[4]->y() + win->paragraphs()[4]->height() + px(62) - px(12) - 4 * px(3),
      win->height());
}

TEST_F(HelpWin, AboutTheDeveloperIsWhiteTextSizedToItsLabel) {
  start();
  open(MenuItem::N102);
  EXPECT_EQ(win->windowTitle(), " S415");
  ASSERT_EQ(win->paragraphs().size(), 1u);
  const QLabel* label = win->paragraphs()[0];
  EXPECT_EQ(label->objectName(), "Label2");
  EXPECT_EQ(label->text(), "L5.0L5.1");
  EXPECT_EQ(label->geometry().topLeft(), px(QPoint(19, 13)));
  EXPECT_EQ(label->width(), px(505));
  EXPECT_EQ(label->font(), designFont(19));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_EQ(win->size(), QSize(px(543 + 3), label->height() + px(53)));
  EXPECT_EQ(win->groupBox()->picture().size(), QSize(543, 270));
}

TEST_F(HelpWin, NotationCentresItsHeadingsOverTheTermLines) {
  start();
  main->state().texts.shellTexts[521] = "  A much longer heading of explanations ";
  open(MenuItem::N103);
  EXPECT_EQ(win->windowTitle(), " S421");
  ASSERT_EQ(win->headings().size(), 2u);
  EXPECT_EQ(win->headings()[0]->text(), "S420:");
  EXPECT_EQ(win->headings()[1]->text(), "A much longer heading of explanations:");
  for (const QLabel* heading : win->headings()) {
    EXPECT_TRUE(heading->font().bold());
    EXPECT_EQ(heading->x(), centredLeft(px(421), heading->width()))
        << heading->objectName().toStdString();
  }
  EXPECT_GT(win->headings()[1]->width(), win->headings()[0]->width());
  ASSERT_EQ(win->terms().size(), 7u);
  EXPECT_EQ(win->terms()[0]->text(), "s1 - S17");
  EXPECT_EQ(win->terms()[6]->objectName(), "Label38");
  for (size_t i = 0; i < win->terms().size(); ++i) {
    EXPECT_EQ(win->terms()[i]->x(), px(35));
    if (i > 0) {
      EXPECT_GT(win->terms()[i]->y(), win->terms()[i - 1]->y());
    }
  }
  ASSERT_EQ(win->paragraphs().size(), 2u);
  EXPECT_EQ(win->paragraphs()[1]->text(), "L7.0L7.1");
  EXPECT_EQ(win->paragraphs()[1]->width(), px(782));
  EXPECT_GT(win->paragraphs()[0]->y(), win->headings()[1]->y());
  EXPECT_EQ(win->height(), px(526));
  EXPECT_EQ(win->groupBox()->picture().size(), QSize(842, 503));
}

TEST_F(HelpWin, OpensWithoutItsPicture) {
  start(false);
  open(MenuItem::N102);
  EXPECT_TRUE(win->groupBox()->picture().isNull());
  EXPECT_FALSE(win->grab().isNull());
}

TEST_F(HelpWin, AnotherFormModeOpensNothing) {
  start();
  main->state().formMode = 7;
  EXPECT_EQ(TfrmHelp::create(*main), nullptr);
}

}  // namespace
}  // namespace qj::ui
