#pragma once

#include <QMainWindow>
#include <QMdiArea>

#include "frame/app_state.h"
#include "platform/ui/QtMessages.h"

namespace qj::ui {

// The main window: an MDI frame that holds the shared state for every other window.
class TfrmMainWin : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfrmMainWin(std::filesystem::path programDir, QWidget* parent = nullptr);

  AppState& state() { return state_; }
  Messages& messages() { return *messages_; }
  QMdiArea* mdiArea() const { return mdi_; }

 private:
  AppState state_;
  QMdiArea* mdi_;
  std::unique_ptr<Messages> messages_;
};

}  // namespace qj::ui
