#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>

#include "frame/app_state.h"
#include "frame/menu.h"
#include "frame/ui/window_factory.h"
#include "frame/ui/window_host.h"
#include "platform/ui/qt_messages.h"
#include "text/message.h"

namespace qj::ui {

class TfrmSelLang;

// The main window: an MDI frame that holds the shared state for every other window. Its
// creation is the program's start-up: it finds the language shells, lets the user choose
// one when there are several, loads it with the task protocol and the decimal separator,
// and gives every caption its text.
class TfrmMainWin : public QMainWindow, public WindowHost {
  Q_OBJECT

 public:
  // `windows`: what the menu commands open. Without `messages` the boxes are the program's
  // own; tests give scripted ones.
  TfrmMainWin(std::filesystem::path programDir, std::unique_ptr<Messages> messages,
              WindowFactory windows, QWidget* parent = nullptr);
  ~TfrmMainWin() override;

  // What every window receives of it (window_host.h).
  AppState& state() override { return state_; }
  const ShellTables& texts() const override { return state_.texts; }
  Messages& messages() override { return *messages_; }
  QWidget* mainWindow() override { return this; }
  const WindowFactory& windows() const override { return windows_; }
  WindowFactory& windows() { return windows_; }
  QMdiArea* mdiArea() const { return mdi_; }

  // The action of a menu item; for a top item, the action that opens its menu.
  QAction* action(MenuItem item) const { return actions_[static_cast<int>(item)]; }
  QMenu* menu(MenuItem topItem) const;

  // The language chooser while it is open.
  TfrmSelLang* languageChooser() const;
  // True once a shell, the protocol and the separator are loaded.
  bool startupComplete() const { return startupComplete_; }
  // True when the start-up ended the program.
  bool terminated() const { return terminated_; }

  // Without `over`, a box stands over the window the user works in (the open operation
  // window, else this one).
  bool showMessage(const Message& message, QWidget* over = nullptr) override;
  void showNotice(const Message& message) override;
  void SaveProtocol() override;
  void openWindow(QWidget* window) override;
  void openViewer(QWidget* viewer) override;
  void openOptimiserFor(const std::string& taskCode) override;

  // The menu's handlers.
  void runCommand(MenuItem item);
  void mnuSolvingClick();
  void mnuOutClick();

  // The language chooser's OK with a language name (code page 1251).
  void languageChosen(const std::string& languageName);
  // Ends the program before or during the start-up; nothing is saved.
  void terminate();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildMenu();
  void FormCreate();
  void LoadShell(const std::string& fileName, const std::string& langCode);
  void setCaptions();
  void openMadeWindow(const WindowMaker& maker, const std::optional<Text>& caption);
  void runOnActiveViewer(const ViewerCommand& onTask, const ViewerCommand& onSolution);
  // The viewer that Print and Export act on: the active one while it is shown, else the one
  // shown that was active last; none when every viewer is minimised.
  QWidget* activeViewer() const;
  bool anyViewer() const;
  // The viewer shown that was active last, other than `except`.
  QMdiSubWindow* lastShownViewer(const QMdiSubWindow* except = nullptr) const;
  void viewerStateChanged(QMdiSubWindow* sub, Qt::WindowStates oldState, Qt::WindowStates newState);
  // Shows the notices held back, unless a window that holds the user is still open.
  void showHeldNotices();

  AppState state_;
  QMdiArea* mdi_;
  std::unique_ptr<Messages> messages_;
  QtMessages* boxes_ = nullptr;  // messages_ when they are the program's own boxes
  WindowFactory windows_;
  std::array<QAction*, kMenuItemCount> actions_{};
  QPointer<TfrmSelLang> chooser_;
  // A viewer opened while another window was active, to become the active one when the main
  // window is active again.
  QPointer<QMdiSubWindow> openedViewer_;
  std::vector<Message> heldNotices_;
  QTimer* noticeWait_;
  // The viewer active when the main window stopped being the active one: the area makes
  // another one active when the main window comes back after a wizard or a box.
  QPointer<QMdiSubWindow> viewerBefore_;
  bool startupComplete_ = false;
  bool terminated_ = false;
};

}  // namespace qj::ui
