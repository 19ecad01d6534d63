#include "task/ui/header_strip.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <array>

#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "task/wizard_frame.h"
#include "text/message.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// The component names of the strip's captions on each page: code, decimal separator, name,
// database, database code, database date, point count, start and end point.
struct StripNames {
  std::array<const char*, 8> labels;
};

StripNames stripNames(int step) {
  switch (step) {
    case 2: return {{"Label1_2", "Label18_2", "Label2_2", "Label3_2", "Label4_2", "Label5_2"}};
    case 3:
      return {{"Label1_3", "Label11_3", "Label2_3", "Label3_3", "Label4_3", "Label5_3", "Label6_3",
               "Label7_3"}};
    case 4:
      return {{"Label64", "Label65", "Label63", "Label66", "Label4_3a", "Label5_3a", "Label60",
               "Label72"}};
    case 5:
      return {{"Label18", "Label19", "Label17", "Label20", "Label4_34", "Label5_34", "Label37",
               "Label41"}};
    case 6:
      return {{"Label1_4", "Label11_4", "Label2_4", "Label3_4", "Label4_4", "Label5_4", "Label6_4",
               "Label7_4"}};
    case 7:
      return {{"Label1_5", "Label11_5", "Label2_5", "Label3_5", "Label4_5", "Label5_5", "Label6_5",
               "Label7_5"}};
    default:
      return {{"Label2_6", nullptr, "Label3_6", "Label4_6", "Label5_6", "Label6_6", "Label7_6",
               "Label8_6"}};
  }
}

// A caption followed by its value `gap` pixels after its right end.
void addPair(QHBoxLayout* row, QLabel* captionLabel, QLabel* valueLabel, int gap) {
  row->addWidget(captionLabel);
  row->addSpacing(px(gap));
  row->addWidget(valueLabel);
}

}  // namespace

TaskHeaderStrip::TaskHeaderStrip(int step, const ShellTables& texts, char decSep, QWidget* parent)
    : QWidget(parent) {
  const std::string suffix(taskPageSuffix(step));
  const StripNames names = stripNames(step);
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(px(2));

  auto* first = new QHBoxLayout;
  first->setSpacing(0);
  addPair(first, makeLabel(this, names.labels[0], shell(745) + ":", texts),
          makeValueLabel(this, "shifr_" + suffix), 10);
  first->addStretch(1);
  if (names.labels[1]) {
    QLabel* decimal = makeValueLabel(this, "Decimal_" + suffix);
    decimal->setText(QString(QChar::fromLatin1(decSep)));
    addPair(first, makeLabel(this, names.labels[1], shell(141) + " -", texts), decimal, 5);
  }
  rows->addLayout(first);

  auto* second = new QHBoxLayout;
  second->setSpacing(0);
  addPair(second, makeLabel(this, names.labels[2], shell(261) + ":", texts),
          makeValueLabel(this, "name_" + suffix), 10);
  second->addStretch(1);
  rows->addLayout(second);

  auto* third = new QHBoxLayout;
  third->setSpacing(0);
  addPair(third, makeLabel(this, names.labels[3], shell(485) + " -", texts),
          makeValueLabel(this, "DBRN1_" + suffix), 5);
  third->addSpacing(px(2));
  addPair(third, makeLabel(this, names.labels[4], lit(";  ") + shell(227).trimmed() + " -", texts),
          makeValueLabel(this, "DBRN2_" + suffix), 5);
  third->addSpacing(px(2));
  addPair(third, makeLabel(this, names.labels[5], lit(";  ") + shell(138) + " -", texts),
          makeValueLabel(this, "DBRN3_" + suffix), 5);
  third->addStretch(1);
  rows->addLayout(third);

  if (step >= 3) {
    auto* fourth = new QHBoxLayout;
    fourth->setSpacing(0);
    addPair(fourth, makeLabel(this, names.labels[6], shell(740) + ":", texts),
            makeValueLabel(this, "nts_" + suffix), 5);
    fourth->addSpacing(px(20));
    addPair(fourth, makeLabel(this, names.labels[7], shell(412) + ":", texts),
            makeValueLabel(this, "tsf_" + suffix), 5);
    auto* separator = new QLabel(QStringLiteral(" / "), this);
    separator->setObjectName(QString::fromStdString("sep_" + suffix));
    fourth->addWidget(separator);
    fourth->addWidget(makeValueLabel(this, "tsl_" + suffix));
    fourth->addStretch(1);
    rows->addLayout(fourth);
  }
}

}  // namespace qj::ui
