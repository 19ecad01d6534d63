#pragma once
// The program's choosers (tasks, databases, the source of a client addition): a list of
// "[key] name" lines with OK and Cancel, and optionally a red line beside the buttons for long
// work. OK, Enter and a double click act on the current line; Cancel closes.

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <string>
#include <vector>

namespace qj::ui {

class AppContext;

class ListChooser : public QDialog {
  Q_OBJECT

 public:
  AppContext& app() const { return app_; }
  QListWidget* list() const { return list_; }
  QPushButton* okButton() const { return btnOK; }
  QPushButton* cancelButton() const { return btnCancel; }
  // The red line shown while a long operation runs; nullptr when the chooser has none.
  QLabel* busyLabel() const { return busy_; }

  virtual void btnOKClick() = 0;
  void btnCancelClick() { close(); }

 protected:
  ListChooser(AppContext& app, const char* listName, QSize listSize, bool withBusyLabel = false,
              const QString& okCaption = QStringLiteral("OK"));
  // Fills the list with code-page-1251 lines; OK is enabled only when there is one, and the
  // first is chosen. An empty list shows `whenEmpty` (code page 1251), if given, as a line
  // that cannot be chosen.
  void setLines(const std::vector<std::string>& lines, const std::string& whenEmpty = {});
  // The lines are set: the dialog takes its size.
  void finishLayout() { setFixedSize(sizeHint()); }

  AppContext& app_;

 private:
  QListWidget* list_;
  QLabel* busy_ = nullptr;

 protected:
  QPushButton* btnOK;
  QPushButton* btnCancel;
};

}  // namespace qj::ui
