#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/messages.h"

namespace qj::ui {

// Message boxes over a parent window, titled with the application's name.
class QtMessages : public Messages {
 public:
  explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  void warning(const std::string& text) override;
  void error(const std::string& text) override;
  bool confirm(const std::string& text) override;
  void information(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace qj::ui
