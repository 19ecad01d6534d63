#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/messages.h"

namespace qj::ui {

// Message boxes titled with the application's name. A box stands over the window that raised
// it: with a window manager, a box over another window would bring that window to the front
// and hide the one whose row or field the message names.
class QtMessages : public Messages {
 public:
  // `fallback`: the window of boxes that no window claims while no operation window is open.
  explicit QtMessages(QWidget* fallback = nullptr) : fallback_(fallback) {}

  // The window of the boxes that follow; nullptr: the window the user works in (the open
  // operation window, else the fallback).
  void setOwner(QWidget* owner) { owner_ = owner; }
  QWidget* parentOfNextBox() const;

  void warning(const std::string& text) override;
  void error(const std::string& text) override;
  // The default answer is No: every question asks before something is deleted.
  bool confirm(const std::string& text) override;
  void information(const std::string& text) override;
  // A box that stands open beside the window the user works in, without taking the keyboard:
  // it does not become the active window, and nothing in it answers Enter or the SpaceBar until
  // the user moves to it (Tab to OK, or Esc closes it).
  void notice(MessageKind kind, const std::string& text) override;

 private:
  QPointer<QWidget> owner_;
  QPointer<QWidget> fallback_;
};

}  // namespace qj::ui
