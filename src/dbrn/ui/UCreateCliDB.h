#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <vector>

namespace qj::ui {

class TfrmMainWin;

// The client addition: lists the level-2 system databases of the catalogue (the menu's scan
// found them) and OK writes the client addition of the chosen one. The dialog stays open
// when the database was refused or its client addition exists already, so the user can
// choose another or cancel. The command sets its caption.
class TfrmCreateCliDB : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmCreateCliDB(TfrmMainWin& main);

  QListWidget* list() const { return List; }
  QPushButton* okButton() const { return btnOK; }
  QPushButton* cancelButton() const { return btnCancel; }

  void btnOKClick();
  void btnCancelClick();

 private:
  void FormCreate();

  TfrmMainWin& main_;
  std::vector<int> ListMap;  // list row to catalogue index
  QListWidget* List;
  QPushButton* btnOK;
  QPushButton* btnCancel;
};

}  // namespace qj::ui
