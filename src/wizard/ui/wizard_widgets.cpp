#include "wizard/ui/wizard_widgets.h"

#include <QFontMetrics>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "platform/design_scale.h"
#include "platform/ui/design.h"
#include "text/ui/fit_caption.h"

namespace qj::ui {

namespace {

constexpr const char* kCaption = "qjCaption";
constexpr const char* kFitted = "qjFitted";

int fitWidth(const QLabel* label) {
  return label->minimumWidth() == label->maximumWidth() ? label->maximumWidth() : label->width();
}

bool readsWhole(const QLabel* label, int width) {
  const QString caption = captionOf(label);
  if (!isFitted(label)) {
    const QFontMetrics metrics(label->font());
    for (const QString& word : caption.split(QLatin1Char(' ')))
      if (metrics.horizontalAdvance(word) + 6 > width) return false;
    return true;
  }
  return wordBreaks(label->font(), captionBytes(label), width) == 0;
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

int readableCaptionWidth(const std::vector<const QLabel*>& labels, int from) {
  // At the width of the longest caption on one line every caption reads whole: as the label
  // shows it, and as its fitting measures it in the design font.
  int whole = from;
  for (const QLabel* l : labels) {
    whole = std::max(whole, QFontMetrics(l->font()).horizontalAdvance(captionOf(l)) + 6);
    whole = std::max(
        whole,
        px(static_cast<int>(std::ceil(designAdvance(captionBytes(l)) * designSizeOf(l->font())))) +
            3);
  }
  for (int width = from; width < whole; ++width)
    if (std::all_of(labels.begin(), labels.end(),
                    [width](const QLabel* l) { return readsWhole(l, width); }))
      return width;
  return whole;
}

void showChoice(QComboBox* box, const std::vector<std::string>& items, int row) {
  const QSignalBlocker block(box);
  bool same = box->count() == static_cast<int>(items.size());
  for (int i = 0; same && i < box->count(); ++i) same = box->itemText(i) == toQt(items[i]);
  if (!same) {
    box->clear();
    for (const std::string& item : items) box->addItem(toQt(item));
  }
  box->setCurrentIndex(row);
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
  label->setFixedWidth(px(width));
  setCaption(label, text.resolve(texts), true);
  return label;
}

QLabel* makeValueLabel(QWidget* parent, const std::string& name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromStdString(name));
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace qj::ui
