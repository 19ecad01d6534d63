#pragma once
// The strip at the top of the task wizard's pages 2 to 6: the task's code and name, its
// database (kind, code, date), the decimal separator and, from page 3 on, the number of
// points with the start and end point. Step 1 and step 2 fill its values by name
// (shifr_<page>, name_<page>, DBRN1_<page> ... tsl_<page>).

#include <QLabel>
#include <QWidget>
#include <string_view>

#include "text/shell_texts.h"

namespace qj::ui {

class TaskHeaderStrip : public QWidget {
  Q_OBJECT

 public:
  // `step`: the wizard step of the page the strip heads (2 to 8).
  TaskHeaderStrip(int step, const ShellTables& texts, char decSep, QWidget* parent = nullptr);
};

}  // namespace qj::ui
