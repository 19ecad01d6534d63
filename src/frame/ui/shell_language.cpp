#include "frame/ui/shell_language.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "platform/ui/qt_text.h"

namespace qj::ui {

namespace {

// Answers the texts it holds and leaves every other to the translations installed before it.
class ShellGaps : public QTranslator {
 public:
  void take(const ShellTables& texts) {
    texts_.clear();
    // The context and the English texts are those Qt's icon provider asks for.
    const std::pair<const char*, int> gaps[] = {
        {"Folder", 1281}, {"Drive", 1282}, {"Shortcut", 1283}, {"Unknown", 1284}};
    for (const auto& [source, k] : gaps) texts_.insert(QLatin1String(source), toQt(texts.shell(k)));
  }
  bool isEmpty() const override { return texts_.isEmpty(); }
  QString translate(const char* context, const char* source, const char* = nullptr,
                    int = -1) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
    return texts_.value(QLatin1String(source));
  }

 private:
  QHash<QString, QString> texts_;
};

}  // namespace

void useShellForQtGaps(const ShellTables& texts) {
  static ShellGaps gaps;
  QCoreApplication::removeTranslator(&gaps);
  gaps.take(texts);
  QCoreApplication::installTranslator(&gaps);
}

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
