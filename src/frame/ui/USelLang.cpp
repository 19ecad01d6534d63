#include "frame/ui/USelLang.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frame/startup.h"
#include "frame/ui/UMainWin.h"
#include "platform/ui/design.h"
#include "platform/ui/enter_key.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmSelLang::TfrmSelLang(TfrmMainWin& main, std::vector<std::string> languageNames)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint),
      main_(main),
      names_(std::move(languageNames)),
      Label1(new QLabel(QStringLiteral("Select a language of your program:"), this)),
      List(new QComboBox(this)),
      btnOK(new QPushButton(QStringLiteral("ОК"), this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Selection of program interface language"));

  List->setEditable(false);
  for (const auto& name : names_) List->addItem(toQt(name));
  List->setCurrentIndex(-1);
  List->setMinimumWidth(px(220));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(List);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addStretch();
  layout->addLayout(buttons);
  setFixedSize(withRoomForCaption(this, sizeHint()));

  btnOK->setDefault(true);
  pressDefaultButtonOnEnter(this);
  connect(btnOK, &QPushButton::clicked, this, guardSlot([this] { btnOKClick(); }));
}

void TfrmSelLang::btnOKClick() {
  const int index = List->currentIndex();
  if (index < 0 || static_cast<size_t>(index) >= names_.size()) {
    main_.showMessage(noLanguageChosenMessage(), this);
    List->setFocus();
    return;
  }
  chosen_ = true;
  // What the start-up says next belongs to the main window: its boxes open over it.
  hide();
  main_.languageChosen(names_[index]);
  close();
}

void TfrmSelLang::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!chosen_) {
    // Without a language there is nothing the program could show.
    chosen_ = true;
    main_.terminate();
  }
}

}  // namespace qj::ui
