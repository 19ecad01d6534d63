#include "platform/ui/desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace qj::ui {

Desktop& desktop() {
  static Desktop d{[](QWidget* parent, const QString& caption, const QString& filter) {
                     return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
                   },
                   [](const QString& path) {
                     // A local file URL: a "#" in the path is not taken for a fragment.
                     return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
                   }};
  return d;
}

}  // namespace qj::ui
