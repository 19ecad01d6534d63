#pragma once
// The help window's three pages: their texts from the language shell, their background
// pictures and the arithmetic of their layout. The window measures its labels and places
// them as these functions say.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/folders.h"
#include "text/shell_texts.h"

namespace qj {

// The page that the help menu's FormMode chooses.
enum class HelpPage { AboutSystem = 1, AboutDeveloper = 2, Notation = 3 };
std::optional<HelpPage> helpPageOf(int32_t formMode);

struct HelpTexts {
  std::string caption;  // a blank, then the page's shell text
  // About the system: the five paragraphs Label11 .. Label15; about the developer: Label2;
  // notation: the two explanations Label310 and Label311.
  std::vector<std::string> paragraphs;
  // Notation only: the headings Label31 and Label39, and the term lines Label32 .. Label38.
  std::vector<std::string> headings;
  std::vector<std::string> terms;
};

// The texts of a page; the lines of each long text are joined without a separator, and a
// line that the shell lacks is empty.
HelpTexts helpTexts(HelpPage page, const ShellTables& texts);

// The page's background picture in the program's System folder (a JPEG file).
std::string helpPictureName(HelpPage page);
std::filesystem::path helpPicturePath(const ProgramFolder& folder, HelpPage page);

// The tops of labels stacked `gap` pixels apart, the first at `firstTop`.
std::vector<int> stackedTops(int firstTop, const std::vector<int>& heights, int gap);

// About the system: the window is as high as its five labels together plus 62.
int aboutSystemHeight(const std::vector<int>& labelHeights);

// The left edge that centres a label `width` pixels wide on x = centre, to the nearest
// pixel (a half to the even neighbour).
int centredLeft(int centre, int width);

}  // namespace qj
