#include "dbrn/ui/dbrn_workbooks.h"

#include "dbrn/dbrn_export.h"
#include "frame/ui/window_host.h"
#include "office/workbook_export.h"
#include "office/workbook_messages.h"
#include "platform/ui/background_work.h"
#include "platform/ui/desktop.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {
namespace {

void showBusy(QLabel* label, bool shown) {
  if (!label) return;
  label->setVisible(shown);
  label->repaint();
}

// The window of a workbook being written or read, with the rows done; a read can be cancelled.
BackgroundWork workbookWork(const ShellTables& texts, bool writing) {
  return {toQt(office::workbookWorkCaption(writing).resolve(texts)),
          [&texts](int64_t done, int64_t total) {
            return toQt(office::workRowsText(done, total).resolve(texts));
          },
          writing ? QString() : toQt(shell(438).withAccessKeys().resolve(texts))};
}

void open(AppContext& app, const std::optional<fs::path>& workbook) {
  if (workbook && !desktop().openFile(QString::fromStdString(workbook->string())))
    app.showMessage(workbookNotOpenedMessage(*workbook));
}

}  // namespace

bool exportDbrnToWorkbook(WindowHost& host, QLabel* busyLabel) {
  showBusy(busyLabel, true);
  const AppState& state = host.state();
  QWidget* parent = busyLabel ? busyLabel->window() : host.mainWindow();
  const DbrnExport done =
      runInBackground(parent, workbookWork(state.texts, true),
                      [&state](const WorkProgress& p) { return exportDbrnWorkbooks(state, p); });
  showBusy(busyLabel, false);
  open(host, done.mainWorkbook);
  open(host, done.houseWorkbook);
  for (const Message& m : done.messages) host.showMessage(m);
  return done.refused;
}

std::optional<ImportedDbrnWorkbook> chooseDbrnWorkbook(AppContext& app, QWidget* parent,
                                                       QLabel* busyLabel) {
  const AppState& state = app.state();
  const QString path =
      desktop().chooseFile(parent, toQt(shell(207).resolve(state.texts)),
                           toQt(office::workbookFileFilter().resolve(state.texts)));
  if (path.isEmpty()) return std::nullopt;
  if (busyLabel) busyLabel->setText(toQt((shell(114) + " ...").resolve(state.texts)));
  showBusy(busyLabel, true);
  const fs::path file(path.toStdString());
  const std::string langCode = state.langCode;
  ImportedDbrnWorkbook imported =
      runInBackground(parent, workbookWork(state.texts, false),
                      [&](const WorkProgress& p) { return importDbrnWorkbook(file, langCode, p); });
  showBusy(busyLabel, false);
  if (busyLabel) busyLabel->setText(toQt((shell(115) + " ...").resolve(state.texts)));
  return imported;
}

}  // namespace qj::ui
