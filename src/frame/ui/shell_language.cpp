#include "frame/ui/shell_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace qj::ui {

void useShellLanguage(const std::string& langCode) {
  static std::unique_ptr<QTranslator> qtTexts;
  const QLocale::Language language = QLocale::codeToLanguage(QString::fromStdString(langCode));
  if (language == QLocale::AnyLanguage) return;
  const QLocale system = QLocale::system();
  const QLocale locale = system.language() == language ? system : QLocale(language);
  QLocale::setDefault(locale);

  if (qtTexts) QCoreApplication::removeTranslator(qtTexts.get());
  qtTexts = std::make_unique<QTranslator>();
  // Qt's English texts are its own; another language needs its translation installed.
  if (language != QLocale::English &&
      qtTexts->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qtTexts.get());
}

}  // namespace qj::ui
