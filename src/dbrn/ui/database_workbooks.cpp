#include "dbrn/ui/database_workbooks.h"

#include "dbrn/dbrn_export.h"
#include "frame/ui/UMainWin.h"
#include "platform/ui/desktop.h"
#include "platform/ui/qt_text.h"
#include "reports/workbook_export.h"

namespace qj::ui {
namespace {

void showBusy(QLabel* label, bool shown) {
  if (!label) return;
  label->setVisible(shown);
  label->repaint();
}

void open(TfrmMainWin& main, const std::optional<fs::path>& workbook) {
  if (workbook && !desktop().openFile(QString::fromStdString(workbook->string())))
    main.showMessage(workbookNotOpenedMessage(*workbook));
}

}  // namespace

bool exportDbrnToWorkbook(TfrmMainWin& main, QLabel* busyLabel) {
  showBusy(busyLabel, true);
  const DbrnExport done = exportDbrnWorkbooks(main.state());
  showBusy(busyLabel, false);
  open(main, done.mainWorkbook);
  open(main, done.houseWorkbook);
  for (const Message& m : done.messages) main.showMessage(m);
  return done.refused;
}

std::optional<ImportedDbrnWorkbook> chooseDbrnWorkbook(TfrmMainWin& main, QWidget* parent,
                                                       QLabel* busyLabel) {
  const AppState& state = main.state();
  const QString path =
      desktop().chooseFile(parent, toQt(shell(207).resolve(state.texts)),
                           QStringLiteral("Excel file (*.xlsx *.xls *.XLSX *.XLS)"));
  if (path.isEmpty()) return std::nullopt;
  if (busyLabel) busyLabel->setText(toQt((shell(114) + " ...").resolve(state.texts)));
  showBusy(busyLabel, true);
  ImportedDbrnWorkbook imported = importDbrnWorkbook(fs::path(path.toStdString()), state.langCode);
  showBusy(busyLabel, false);
  if (busyLabel) busyLabel->setText(toQt((shell(115) + " ...").resolve(state.texts)));
  return imported;
}

}  // namespace qj::ui
