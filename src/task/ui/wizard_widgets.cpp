#include "task/ui/wizard_widgets.h"

#include "frame/ui/fit_caption.h"

namespace qj::ui {

namespace {

constexpr const char* kCaption = "qjCaption";
constexpr const char* kFitted = "qjFitted";

int fitWidth(const QLabel* label) {
  return label->minimumWidth() == label->maximumWidth() ? label->maximumWidth() : label->width();
}

}  // namespace

void setCaption(QLabel* label, std::string_view cp1251, bool fit) {
  label->setProperty(kCaption, QByteArray(cp1251.data(), static_cast<qsizetype>(cp1251.size())));
  label->setProperty(kFitted, fit);
  if (fit)
    refitCaption(label);
  else
    label->setText(toQt(cp1251));
}

void refitCaption(QLabel* label) {
  if (!label->property(kFitted).toBool()) return;
  const QByteArray caption = label->property(kCaption).toByteArray();
  fitCaption(label, std::string_view(caption.constData(), caption.size()), fitWidth(label));
}

QLabel* makePageTitle(QWidget* parent, const char* name, const Text& text,
                      const ShellTables& texts) {
  QLabel* label = makeLabel(parent, name, text, texts);
  label->setAlignment(Qt::AlignHCenter);
  label->setWordWrap(true);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

QLabel* makeFittedLabel(QWidget* parent, const char* name, const Text& text, int width,
                        const ShellTables& texts) {
  auto* label = named(new QLabel(parent), name);
  label->setWordWrap(true);
  label->setFixedWidth(width);
  setCaption(label, text.resolve(texts), true);
  return label;
}

}  // namespace qj::ui
