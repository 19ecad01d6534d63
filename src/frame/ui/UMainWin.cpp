#include "frame/ui/UMainWin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

#include "frame/protocol.h"
#include "frame/startup.h"
#include "frame/ui/USelLang.h"
#include "frame/ui/operation_window.h"
#include "frame/ui/shell_language.h"
#include "frame/ui/viewer_kind.h"
#include "platform/locale.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmMainWin::TfrmMainWin(std::filesystem::path programDir, std::unique_ptr<Messages> messages,
                         WindowFactory windows, QWidget* parent)
    : QMainWindow(parent),
      mdi_(new QMdiArea(this)),
      windows_(std::move(windows)),
      noticeWait_(new QTimer(this)) {
  if (messages) {
    messages_ = std::move(messages);
  } else {
    auto boxes = std::make_unique<QtMessages>(this);
    boxes_ = boxes.get();
    messages_ = std::move(boxes);
  }
  state_.folder = std::make_unique<ProgramFolder>(std::move(programDir));
  setCentralWidget(mdi_);
  setExceptionSink(messages_.get());
  constexpr int kNoticeWaitMs = 250;
  noticeWait_->setInterval(kNoticeWaitMs);
  connect(noticeWait_, &QTimer::timeout, this, [this] { showHeldNotices(); });
  buildMenu();
  FormCreate();
}

TfrmMainWin::~TfrmMainWin() {
  // The viewers go with the base class, when this window is no TfrmMainWin any more: their
  // last state changes must not reach it.
  for (QMdiSubWindow* sub : mdi_->subWindowList()) sub->disconnect(this);
  if (chooser_) delete chooser_.data();
  setExceptionSink(nullptr);
}

TfrmSelLang* TfrmMainWin::languageChooser() const {
  return chooser_.data();
}

QMenu* TfrmMainWin::menu(MenuItem topItem) const {
  return action(topItem)->menu();
}

void TfrmMainWin::buildMenu() {
  const auto restore = [this] { enableUnlessOperationWindowOpen(this); };
  QMenu* current = nullptr;
  for (const MenuItem item : allMenuItems()) {
    if (isTopMenu(item)) {
      current = menuBar()->addMenu(QString());
      actions_[static_cast<int>(item)] = current->menuAction();
      continue;
    }
    QAction* a = current->addAction(QString());
    actions_[static_cast<int>(item)] = a;
    connect(a, &QAction::triggered, this, guardSlot([this, item] { runCommand(item); }, restore));
    if (item == MenuItem::mnuInEditTask) current->addSeparator();  // N1
  }
  connect(menu(MenuItem::mnuSolving), &QMenu::aboutToShow, this,
          guardSlot([this] { mnuSolvingClick(); }));
  connect(menu(MenuItem::mnuOut), &QMenu::aboutToShow, this, guardSlot([this] { mnuOutClick(); }));
  action(MenuItem::mnuOutExpInExcel)->setEnabled(false);
  action(MenuItem::mnuOutPrint)->setEnabled(false);
  // F10 opens the first menu, as it does on the desktop; the arrows go on from there.
  connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
          [this] { menuBar()->setActiveAction(action(MenuItem::mnuIn)); });
}

void TfrmMainWin::FormCreate() {
  state_.solveAtOnce = 0;
  const std::vector<std::string> files = findShellFiles(state_.dirs());
  if (files.empty()) {
    showMessage(noShellFilesMessage());
    terminate();
    return;
  }
  if (files.size() > 1) {
    // The captions stay empty and the main window disabled until a language is chosen.
    setEnabled(false);
    chooser_ = new TfrmSelLang(*this, languageNames(state_.dirs(), files));
    QTimer::singleShot(0, chooser_, [this] {
      if (!chooser_) return;
      if (isVisible()) centreOn(chooser_, this);
      chooser_->show();
    });
    return;
  }
  LoadShell(files.front(), langCodeOfShellFile(files.front()));
}

void TfrmMainWin::languageChosen(const std::string& languageName) {
  const LanguageChoice choice = chooseLanguage(state_.dirs(), languageName);
  if (choice.failure) {
    showMessage(*choice.failure);
    terminate();
    return;
  }
  LoadShell(choice.fileName, choice.langCode);
  if (!terminated_) setEnabled(true);
}

void TfrmMainWin::LoadShell(const std::string& fileName, const std::string& langCode) {
  const ShellLoad load = loadShell(state_, fileName, langCode, localeDecimalSeparator());
  if (!load.loaded) {
    for (const auto& m : load.messages) showMessage(m);
    terminate();
    return;
  }
  useShellLanguage(langCode);
  useShellForQtGaps(state_.texts);
  setCaptions();
  startupComplete_ = true;
  for (const auto& m : load.messages) showMessage(m);
}

void TfrmMainWin::setCaptions() {
  setWindowTitle(toQt(mainWindowCaption().resolve(state_.texts)));
  for (const MenuItem item : allMenuItems())
    action(item)->setText(toQt(menuCaption(item).resolve(state_.texts)));
}

void TfrmMainWin::terminate() {
  if (terminated_) return;
  terminated_ = true;
  if (chooser_) chooser_->close();
  hide();
  // Once the event loop runs; before it, main() sees terminated() and does not start it.
  QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(1); });
}

bool TfrmMainWin::showMessage(const Message& message, QWidget* over) {
  if (boxes_) boxes_->setOwner(over ? over->window() : nullptr);
  const bool answer = qj::show(*messages_, message, state_.texts);
  if (boxes_) boxes_->setOwner(nullptr);
  return answer;
}

void TfrmMainWin::showNotice(const Message& message) {
  heldNotices_.push_back(message);
  showHeldNotices();
}

void TfrmMainWin::showHeldNotices() {
  // While an operation window or a box is open, the user's keys are meant for it: a notice
  // waits, as it is no answer to anything there.
  if (QApplication::activeModalWidget()) {
    noticeWait_->start();
    return;
  }
  noticeWait_->stop();
  for (const Message& m : std::exchange(heldNotices_, {})) {
    if (boxes_) boxes_->setOwner(this);
    qj::showNotice(*messages_, m, state_.texts);
    if (boxes_) boxes_->setOwner(nullptr);
  }
}

void TfrmMainWin::SaveProtocol() {
  if (const auto failure = saveProtocol(state_)) showMessage(*failure);
}

void TfrmMainWin::closeEvent(QCloseEvent* event) {
  // Notices still held back would go with the program unread: they are shown as boxes now.
  noticeWait_->stop();
  for (const Message& m : std::exchange(heldNotices_, {})) showMessage(m);
  // A protocol that the start-up never loaded must not overwrite the file; closed before a
  // language was chosen, the program ends as it would from the chooser.
  if (startupComplete_)
    SaveProtocol();
  else
    terminate();
  QMainWindow::closeEvent(event);
}

void TfrmMainWin::openWindow(QWidget* window) {
  openOperationWindow(this, window);
}

void TfrmMainWin::openViewer(QWidget* viewer) {
  viewer->setAttribute(Qt::WA_DeleteOnClose);
  QMdiSubWindow* sub = mdi_->addSubWindow(viewer);
  connect(sub, &QMdiSubWindow::windowStateChanged, this,
          [this, sub](Qt::WindowStates oldState, Qt::WindowStates newState) {
            viewerStateChanged(sub, oldState, newState);
          });
  sub->show();
  // Opened from the task chooser, another window is the active one: the area would make the
  // viewer it had before current again when the main window comes back, and Print and Export
  // would act on that one.
  const QWidget* active = QApplication::activeWindow();
  openedViewer_ = active && active != this ? sub : nullptr;
  mdi_->setActiveSubWindow(sub);
}

void TfrmMainWin::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  if (!isActiveWindow()) {
    if (QMdiSubWindow* sub = mdi_->activeSubWindow()) viewerBefore_ = sub;
    return;
  }
  // After the area has made its own choice: the viewer opened meanwhile, else the one that
  // was active before, as long as it is still shown.
  QTimer::singleShot(0, this, [this] {
    if (!isActiveWindow()) return;
    if (openedViewer_) viewerBefore_ = openedViewer_;
    openedViewer_ = nullptr;
    QMdiSubWindow* wanted = viewerBefore_.data();
    if (wanted && !wanted->isHidden() && !wanted->isMinimized()) mdi_->setActiveSubWindow(wanted);
  });
}

void TfrmMainWin::openMadeWindow(const WindowMaker& maker, const std::optional<Text>& caption) {
  if (!maker) return;
  setEnabled(false);
  QWidget* window = maker(*this);
  if (!window) {
    enableUnlessOperationWindowOpen(this);
    return;
  }
  if (caption) window->setWindowTitle(toQt(caption->resolve(state_.texts)));
  openOperationWindow(this, window);
}

void TfrmMainWin::openOptimiserFor(const std::string& taskCode) {
  state_.solveAtOnce = 1;
  state_.curTaskCode = taskCode;
  openMadeWindow(windows_.optimiser, std::nullopt);
}

void TfrmMainWin::runCommand(MenuItem item) {
  const MenuCommand command = menuCommand(item);
  switch (command.target) {
    case MenuTarget::Submenu: return;
    case MenuTarget::Exit: close(); return;
    case MenuTarget::ExportActiveViewer:
      runOnActiveViewer(windows_.exportTask, windows_.exportSolution);
      return;
    case MenuTarget::PrintActiveViewer:
      runOnActiveViewer(windows_.printTask, windows_.printSolution);
      return;
    default: break;
  }

  const CommandStart start = startCommand(state_, item);
  if (start.message) showMessage(*start.message);
  if (!start.proceed) return;

  switch (command.target) {
    case MenuTarget::TaskWizard: openMadeWindow(windows_.taskWizard, command.caption); break;
    case MenuTarget::TaskChooser: openMadeWindow(windows_.taskChooser, command.caption); break;
    case MenuTarget::ProtocolWindow:
      openMadeWindow(windows_.protocolWindow, command.caption);
      break;
    case MenuTarget::Optimiser:
      // The menu's road always lets the user choose what to solve.
      state_.solveAtOnce = 0;
      openMadeWindow(windows_.optimiser, command.caption);
      break;
    case MenuTarget::DatabaseWizard:
      openMadeWindow(windows_.databaseWizard, command.caption);
      break;
    case MenuTarget::DatabaseChooser:
      openMadeWindow(windows_.databaseChooser, command.caption);
      break;
    case MenuTarget::ClientAddition:
      openMadeWindow(windows_.clientAddition, command.caption);
      break;
    case MenuTarget::Help: openMadeWindow(windows_.help, command.caption); break;
    default: break;
  }
}

void TfrmMainWin::mnuSolvingClick() {
  action(MenuItem::Optim)->setEnabled(openSolvingMenu(state_));
}

namespace {

bool shown(const QMdiSubWindow* sub) {
  return sub && !sub->isHidden() && !sub->isMinimized();
}

}  // namespace

QMdiSubWindow* TfrmMainWin::lastShownViewer(const QMdiSubWindow* except) const {
  const QList<QMdiSubWindow*> history = mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
  for (auto it = history.rbegin(); it != history.rend(); ++it)
    if (*it != except && shown(*it) && viewerKind((*it)->widget()) != ViewerKind::None) return *it;
  return nullptr;
}

void TfrmMainWin::viewerStateChanged(QMdiSubWindow* sub, Qt::WindowStates oldState,
                                     Qt::WindowStates newState) {
  const bool minimised =
      newState.testFlag(Qt::WindowMinimized) && !oldState.testFlag(Qt::WindowMinimized);
  if (!minimised || mdi_->activeSubWindow() != sub) return;
  if (openedViewer_ == sub) openedViewer_ = nullptr;
  if (QMdiSubWindow* next = lastShownViewer(sub)) mdi_->setActiveSubWindow(next);
}

QWidget* TfrmMainWin::activeViewer() const {
  QMdiSubWindow* sub = openedViewer_ ? openedViewer_.data() : mdi_->currentSubWindow();
  if (!shown(sub)) sub = lastShownViewer();
  return sub ? sub->widget() : nullptr;
}

bool TfrmMainWin::anyViewer() const {
  for (const QMdiSubWindow* sub : mdi_->subWindowList())
    if (viewerKind(sub->widget()) != ViewerKind::None) return true;
  return false;
}

void TfrmMainWin::mnuOutClick() {
  // With every viewer minimised the commands stay open to say that none is shown.
  const QWidget* viewer = activeViewer();
  const bool onViewer = viewer ? viewerKind(viewer) != ViewerKind::None : anyViewer();
  action(MenuItem::mnuOutExpInExcel)->setEnabled(onViewer);
  action(MenuItem::mnuOutPrint)->setEnabled(onViewer);
}

void TfrmMainWin::runOnActiveViewer(const ViewerCommand& onTask, const ViewerCommand& onSolution) {
  QWidget* viewer = activeViewer();
  if (!viewer && anyViewer()) {
    showMessage(noViewerShownMessage());
    return;
  }
  switch (viewerKind(viewer)) {
    case ViewerKind::Task:
      if (onTask) onTask(*this, viewer);
      break;
    case ViewerKind::Solution:
      if (onSolution) onSolution(*this, viewer);
      break;
    case ViewerKind::None: break;
  }
}

}  // namespace qj::ui
