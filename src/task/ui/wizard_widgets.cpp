#include "task/ui/wizard_widgets.h"

#include <QFontMetrics>
#include <algorithm>

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
  if (isFitted(label)) fitCaption(label, captionBytes(label), fitWidth(label));
}

std::string captionBytes(const QLabel* label) {
  return label->property(kCaption).toByteArray().toStdString();
}

QString captionOf(const QLabel* label) {
  return toQt(captionBytes(label));
}

bool isFitted(const QLabel* label) {
  return label->property(kFitted).toBool();
}

int readableCaptionWidth(const QLabel* label, int from) {
  const QString caption = captionOf(label);
  const QFontMetrics metrics(label->font());
  if (!isFitted(label)) {
    int widest = 0;
    for (const QString& word : caption.split(QLatin1Char(' ')))
      widest = std::max(widest, metrics.horizontalAdvance(word));
    return std::max(from, widest + 6);
  }
  const qsizetype hyphens = caption.count(QStringLiteral("- "));
  const int whole = metrics.horizontalAdvance(caption) + 4;
  for (int width = from; width < whole; ++width)
    if (fittedCaption(label->font(), captionBytes(label), width).count(QStringLiteral("- ")) ==
        hyphens)
      return width;
  return std::max(from, whole);
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
