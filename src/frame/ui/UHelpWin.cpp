#include "frame/ui/UHelpWin.h"

#include <QPainter>
#include <algorithm>

#include "frame/ui/window_host.h"
#include "platform/files.h"
#include "platform/jpeg.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {
namespace {

// The pictures' design sizes; the windows are laid out on them whatever the files hold.
constexpr int kAboutSystemWidth = 830;
constexpr int kAboutSystemLabelWidth = 792;
constexpr int kAboutDeveloperPictureWidth = 543;
constexpr int kAboutDeveloperLabelWidth = 505;
constexpr int kNotationPictureWidth = 842;
constexpr int kNotationCentre = 421;
constexpr int kNotationHeight = 526;
constexpr int kNotationParagraphWidth = 782;
constexpr int kTermLeft = 35;

const QColor kNavy(0, 0, 128);

// The design's fonts of 13, 16 and 19 pixels, in the font in use.
QFont labelFont(int designPixels, bool bold = false) {
  return designFont(designPixels, bold);
}

void setTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

int bottomOf(const QLabel* label) {
  return label->y() + label->height();
}

}  // namespace

QImage loadHelpPicture(const ProgramFolder& folder, HelpPage page) {
  const auto bytes = readFile(helpPicturePath(folder, page), 64u << 20);
  if (!bytes) return {};
  const JpegDecode decoded = decodeJpeg(*bytes);
  if (!decoded.image) return {};
  const RgbImage& rgb = *decoded.image;
  return QImage(rgb.pixels.data(), rgb.width, rgb.height, rgb.width * 3, QImage::Format_RGB888)
      .copy();
}

HelpPicture::HelpPicture(QImage picture, QColor fallback, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)), fallback_(fallback) {}

void HelpPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), fallback_);
    return;
  }
  // A page that grew past its picture gets the picture enlarged to cover it.
  const double scale = std::max({1.0, static_cast<double>(width()) / picture_.width(),
                                 static_cast<double>(height()) / picture_.height()});
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(0, 0, picture_.width() * scale, picture_.height() * scale), picture_);
}

TfrmHelp* TfrmHelp::create(AppContext& app) {
  const auto page = helpPageOf(app.state().formMode);
  return page ? new TfrmHelp(app, *page) : nullptr;
}

TfrmHelp::TfrmHelp(AppContext& app, HelpPage page)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), page_(page) {
  FormCreate(app.state().texts, app.state().dirs());
}

QLabel* TfrmHelp::addLabel(const char* name, const std::string& text, const QFont& font,
                           int width) {
  auto* label = new QLabel(toQt(text), groupBox_);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->setTextFormat(Qt::PlainText);
  if (width > 0) {
    label->setWordWrap(true);
    label->resize(px(width), label->heightForWidth(px(width)));
  } else {
    label->adjustSize();
  }
  return label;
}

void TfrmHelp::FormCreate(const ShellTables& texts, const ProgramFolder& folder) {
  const HelpTexts t = helpTexts(page_, texts);
  const QColor fallback =
      page_ == HelpPage::AboutDeveloper ? QColor(20, 50, 85) : QColor(246, 244, 236);
  groupBox_ = new HelpPicture(loadHelpPicture(folder, page_), fallback, this);
  groupBox_->setObjectName(QStringLiteral("GroupBox%1").arg(static_cast<int>(page_)));
  setWindowTitle(toQt(t.caption));

  switch (page_) {
    case HelpPage::AboutSystem: {
      const char* names[] = {"Label11", "Label12", "Label13", "Label14", "Label15"};
      // One font for every paragraph: a smaller one reads as small print.
      for (size_t i = 0; i < t.paragraphs.size(); ++i)
        paragraphs_.push_back(
            addLabel(names[i], t.paragraphs[i], labelFont(16), kAboutSystemLabelWidth));
      layoutAboutSystem();
      break;
    }
    case HelpPage::AboutDeveloper:
      paragraphs_.push_back(
          addLabel("Label2", t.paragraphs[0], labelFont(19), kAboutDeveloperLabelWidth));
      layoutAboutDeveloper();
      break;
    case HelpPage::Notation: {
      const char* headingNames[] = {"Label31", "Label39"};
      for (size_t i = 0; i < t.headings.size(); ++i) {
        headings_.push_back(addLabel(headingNames[i], t.headings[i], labelFont(19, true), 0));
        setTextColour(headings_.back(), kNavy);
      }
      const char* termNames[] = {"Label32", "Label33", "Label34", "Label35",
                                 "Label36", "Label37", "Label38"};
      // Term lines read as single lines; one that a language makes longer than the page
      // wraps rather than being cut at the window's edge.
      const int termWidth = kNotationPictureWidth - kTermLeft - 17;
      for (size_t i = 0; i < t.terms.size(); ++i)
        terms_.push_back(addLabel(termNames[i], t.terms[i], labelFont(16), termWidth));
      paragraphs_.push_back(
          addLabel("Label310", t.paragraphs[0], labelFont(16), kNotationParagraphWidth));
      paragraphs_.push_back(
          addLabel("Label311", t.paragraphs[1], labelFont(16), kNotationParagraphWidth));
      layoutNotation();
      break;
    }
  }
  groupBox_->resize(size());
}

void TfrmHelp::layoutAboutSystem() {
  std::vector<int> heights;
  for (const QLabel* label : paragraphs_) heights.push_back(label->height());
  const std::vector<int> tops = stackedTops(px(12), heights, px(3));
  for (size_t i = 0; i < paragraphs_.size(); ++i) paragraphs_[i]->move(px(17), tops[i]);
  // The design's 62 pixels besides the labels, scaled like them.
  setFixedSize(px(kAboutSystemWidth),
               aboutSystemHeight(heights) - aboutSystemHeight({}) + px(aboutSystemHeight({})));
}

void TfrmHelp::layoutAboutDeveloper() {
  QLabel* label = paragraphs_.front();
  setTextColour(label, Qt::white);
  label->move(px(QPoint(19, 13)));
  setFixedSize(px(kAboutDeveloperPictureWidth + 3), label->height() + px(53));
}

void TfrmHelp::layoutNotation() {
  const auto centre = [](QLabel* heading, int top) {
    heading->move(centredLeft(px(kNotationCentre), heading->width()), top);
  };
  centre(headings_[0], px(10));
  int top = bottomOf(headings_[0]) + px(10);
  for (QLabel* term : terms_) {
    term->move(px(kTermLeft), top);
    top = bottomOf(term) + px(4);
  }
  centre(headings_[1], top + px(12));
  top = bottomOf(headings_[1]) + px(10);
  const int left = px((kNotationPictureWidth - kNotationParagraphWidth) / 2);
  for (QLabel* paragraph : paragraphs_) {
    paragraph->move(left, top);
    top = bottomOf(paragraph) + px(10);
  }
  // The page keeps its design height unless a language's texts need more.
  setFixedSize(px(kNotationPictureWidth + 3), std::max(px(kNotationHeight), top + px(6)));
}

}  // namespace qj::ui
