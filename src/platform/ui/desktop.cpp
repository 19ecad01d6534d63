#include "platform/ui/desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace qj::ui {

QString registeredProgram(const QString& mimeType) {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"), mimeType});
  if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit ||
      query.exitCode() != 0) {
    query.kill();
    return {};
  }
  return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

bool openWithRegisteredProgram(const QString& path,
                               const std::function<QString(const QString& mimeType)>& registered,
                               const std::function<bool(const QString& path)>& open) {
  const QString type = QMimeDatabase().mimeTypeForFile(path).name();
  if (registered(type).isEmpty()) return false;
  return open(path);
}

Desktop& desktop() {
  static Desktop d{[](QWidget* parent, const QString& caption, const QString& filter) {
                     return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
                   },
                   [](const QString& path) {
                     return openWithRegisteredProgram(
                         path, registeredProgram, [](const QString& file) {
                           // A local file URL: a "#" in the path
                           // is not taken for a fragment.
                           return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
                         });
                   }};
  return d;
}

}  // namespace qj::ui
