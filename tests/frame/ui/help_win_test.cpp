#include <gtest/gtest.h>

#include <QPointer>

#include "app/program_windows.h"
#include "frame/ui/UHelpWin.h"
#include "platform/files.h"
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
    MainWindowTest::start({}, programWindows());
  }
  void open(MenuItem item) {
    main->action(item)->trigger();
    settle();
    win = qobject_cast<TfrmHelp*>(QApplication::activeModalWidget());
    ASSERT_TRUE(win);
  }

  QPointer<TfrmHelp> win;
};

// Each page from its menu item: its texts, all paragraphs in one font, over its picture, the main
// window held until it closes.
TEST_F(HelpWin, EachPageOpensFromItsItemOverItsPicture) {
  start();
  const struct {
    MenuItem item;
    HelpPage page;
    const char* title;
    const char* firstText;
    QSize picture;
  } pages[] = {{MenuItem::N101, HelpPage::AboutSystem, " S417", "L0.0L0.1L0.2L0.3", {835, 570}},
               {MenuItem::N102, HelpPage::AboutDeveloper, " S415", "L5.0L5.1", {543, 270}},
               {MenuItem::N103, HelpPage::Notation, " S421", "L6.0L6.1", {842, 503}}};
  for (const auto& p : pages) {
    SCOPED_TRACE(p.title);
    open(p.item);
    EXPECT_EQ(win->page(), p.page);
    EXPECT_EQ(win->windowTitle(), p.title);
    EXPECT_FALSE(main->isEnabled());
    ASSERT_FALSE(win->paragraphs().empty());
    EXPECT_EQ(win->paragraphs()[0]->text(), p.firstText);
    for (const QLabel* paragraph : win->paragraphs())
      EXPECT_EQ(paragraph->font(), win->paragraphs()[0]->font())
          << paragraph->objectName().toStdString();
    EXPECT_EQ(win->groupBox()->picture().size(), p.picture);
    win->close();
    settle();
    EXPECT_FALSE(win);
    EXPECT_TRUE(main->isEnabled());
  }
}

TEST_F(HelpWin, OpensWithoutItsPicture) {
  start(false);
  open(MenuItem::N102);
  EXPECT_TRUE(win->groupBox()->picture().isNull());
  EXPECT_FALSE(win->grab().isNull());
}

}  // namespace
}  // namespace qj::ui
