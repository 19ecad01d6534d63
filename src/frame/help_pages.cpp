#include "frame/help_pages.h"

#include <numeric>

#include "frame/form_modes.h"
#include "records/numbers.h"
#include "text/message.h"

namespace qj {

std::optional<HelpPage> helpPageOf(int32_t formMode) {
  switch (formMode) {
    case kHelpAboutSystem: return HelpPage::AboutSystem;
    case kHelpAboutDeveloper: return HelpPage::AboutDeveloper;
    case kHelpNotation: return HelpPage::Notation;
    default: return std::nullopt;
  }
}

namespace {

HelpTexts aboutSystem(const ShellTables& t) {
  HelpTexts h;
  h.caption = (lit(" ") + shell(417)).resolve(t);
  h.paragraphs = {
      (longText(0, 0) + longText(0, 1) + longText(0, 2) + longText(0, 3)).resolve(t),
      (longText(1, 0) + longText(1, 1)).resolve(t),
      (longText(2, 0) + longText(2, 1) + longText(2, 2) + longText(2, 3)).resolve(t),
      (longText(3, 0) + longText(3, 1)).resolve(t),
      longText(4, 0).resolve(t),
  };
  return h;
}

HelpTexts aboutDeveloper(const ShellTables& t) {
  HelpTexts h;
  h.caption = (lit(" ") + shell(415)).resolve(t);
  h.paragraphs = {(longText(5, 0) + longText(5, 1)).resolve(t)};
  return h;
}

HelpTexts notation(const ShellTables& t) {
  HelpTexts h;
  h.caption = (lit(" ") + shell(421)).resolve(t);
  h.headings = {(shell(420) + ":").resolve(t), (shell(521).trimmed() + ":").resolve(t)};
  h.terms = {
      (shortText(1) + " - " + shell(17).trimmed()).resolve(t),
      (shortText(13).trimmed() + " - " + shell(216).trimmed()).resolve(t),
      (shortText(49) + " - " + shell(608).trimmed()).resolve(t),
      (shortText(59) + " - " + shell(688)).resolve(t),
      (shortText(58) + " - " + shell(687)).resolve(t),
      (shortText(47) + " - " + shell(598)).resolve(t),
      (shortText(61) + " - " + shell(714)).resolve(t),
  };
  h.paragraphs = {(longText(6, 0) + longText(6, 1)).resolve(t),
                  (longText(7, 0) + longText(7, 1)).resolve(t)};
  return h;
}

}  // namespace

HelpTexts helpTexts(HelpPage page, const ShellTables& texts) {
  switch (page) {
    case HelpPage::AboutSystem: return aboutSystem(texts);
    case HelpPage::AboutDeveloper: return aboutDeveloper(texts);
    case HelpPage::Notation: return notation(texts);
  }
  return {};
}

std::string helpPictureName(HelpPage page) {
  return "help" + std::to_string(static_cast<int>(page)) + ".jpg";
}

std::filesystem::path helpPicturePath(const ProgramFolder& folder, HelpPage page) {
  return folder.system() / helpPictureName(page);
}

std::vector<int> stackedTops(int firstTop, const std::vector<int>& heights, int gap) {
  std::vector<int> tops;
  int top = firstTop;
  for (const int h : heights) {
    tops.push_back(top);
    top += h + gap;
  }
  return tops;
}

int aboutSystemHeight(const std::vector<int>& labelHeights) {
  return std::accumulate(labelHeights.begin(), labelHeights.end(), 0) + 62;
}

int centredLeft(int centre, int width) {
  return static_cast<int>(roundHalfEven(centre - width / 2.0));
}

}  // namespace qj
