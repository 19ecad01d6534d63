#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <string>
#include <vector>

namespace qj::ui {

class TfrmMainWin;

// The language chooser of the start-up, shown when several shells are present. It stays on
// top while the main window waits disabled. Closing it without a choice ends the program.
class TfrmSelLang : public QWidget {
  Q_OBJECT

 public:
  // `languageNames`: the names stored in the shell files (code page 1251), in file order.
  TfrmSelLang(TfrmMainWin& main, std::vector<std::string> languageNames);

  QComboBox* list() const { return List; }
  QPushButton* okButton() const { return btnOK; }

  void btnOKClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Enter chooses as OK does: the chooser is a plain window, where a default button is not
  // pressed by Enter of itself.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TfrmMainWin& main_;
  std::vector<std::string> names_;
  bool chosen_ = false;
  QLabel* Label1;
  QComboBox* List;
  QPushButton* btnOK;
};

}  // namespace qj::ui
