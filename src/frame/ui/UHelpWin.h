#pragma once
// The help window: one of three fixed pages, chosen by the help menu through FormMode,
// whose texts come from the language shell and lie over a background picture.

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <vector>

#include "frame/help_pages.h"

namespace qj::ui {

class AppContext;

// A group box of the help window: the page's picture from its top-left corner, stretched
// to cover a page that has grown beyond it; a plain colour when the picture is missing.
class HelpPicture : public QWidget {
  Q_OBJECT

 public:
  HelpPicture(QImage picture, QColor fallback, QWidget* parent);
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QColor fallback_;
};

class TfrmHelp : public QDialog {
  Q_OBJECT

 public:
  // The page of FormMode 1, 2 or 3; nullptr for any other FormMode.
  static TfrmHelp* create(AppContext& app);

  TfrmHelp(AppContext& app, HelpPage page);

  HelpPage page() const { return page_; }
  // The page's group box with its picture.
  HelpPicture* groupBox() const { return groupBox_; }
  // About the system: Label11 .. Label15; about the developer: Label2; notation: Label310
  // and Label311.
  const std::vector<QLabel*>& paragraphs() const { return paragraphs_; }
  // Notation: Label31 and Label39, and the term lines Label32 .. Label38.
  const std::vector<QLabel*>& headings() const { return headings_; }
  const std::vector<QLabel*>& terms() const { return terms_; }

 private:
  void FormCreate(const ShellTables& texts, const ProgramFolder& folder);
  // A label of the page; word-wrapping at `width`, or as wide as its text when width is 0.
  QLabel* addLabel(const char* name, const std::string& text, const QFont& font, int width);
  void layoutAboutSystem();
  void layoutAboutDeveloper();
  void layoutNotation();

  HelpPage page_;
  HelpPicture* groupBox_ = nullptr;
  std::vector<QLabel*> paragraphs_;
  std::vector<QLabel*> headings_;
  std::vector<QLabel*> terms_;
};

// The picture of a help page from the program folder, or a null image when it is missing
// or damaged.
QImage loadHelpPicture(const ProgramFolder& folder, HelpPage page);

}  // namespace qj::ui
