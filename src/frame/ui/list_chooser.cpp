#include "frame/ui/list_chooser.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frame/ui/window_host.h"
#include "platform/ui/design.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

ListChooser::ListChooser(AppContext& app, const char* listName, QSize listSize, bool withBusyLabel,
                         const QString& okCaption)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      list_(new QListWidget(this)),
      btnOK(new QPushButton(okCaption, this)),
      btnCancel(new QPushButton(this)) {
  list_->setObjectName(QString::fromLatin1(listName));
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  list_->setMinimumSize(px(listSize));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  btnCancel->setText(toQt(shell(438).withAccessKeys().resolve(app.state().texts)));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  auto* buttons = new QHBoxLayout;
  if (withBusyLabel) {
    busy_ = new QLabel(this);
    busy_->setObjectName(QStringLiteral("Label0"));
    busy_->setStyleSheet(QStringLiteral("color: red"));
    busy_->setWordWrap(true);
    busy_->hide();
    buttons->addWidget(busy_, 1);
  }
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  layout->addLayout(buttons);

  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, guardSlot([this] { btnOKClick(); }));
  connect(btnCancel, &QPushButton::clicked, this, guardSlot([this] { btnCancelClick(); }));
  connect(list_, &QListWidget::itemActivated, this, guardSlot([this] { btnOKClick(); }));
}

void ListChooser::setLines(const std::vector<std::string>& lines, const std::string& whenEmpty) {
  list_->clear();
  for (const std::string& line : lines) list_->addItem(toQt(line));
  btnOK->setEnabled(!lines.empty());
  if (!lines.empty()) {
    list_->setCurrentRow(0);
  } else if (!whenEmpty.empty()) {
    auto* item = new QListWidgetItem(toQt(whenEmpty), list_);
    item->setFlags(Qt::NoItemFlags);
  }
}

}  // namespace qj::ui
