#pragma once
// The windows are designed in pixels for the program's design font, an 8-point sans-serif at
// 96 dots per inch. The font in use (at any resolution) is wider or narrower; every design
// position, width, limit and window size is scaled by one factor: the ratio of the font in use
// to the design font, measured on reference texts whose advance in the design font is known.

#include <functional>
#include <string_view>

namespace qj {

// A reference text (UTF-8) and its advance in pixels in the design font.
struct DesignReference {
  std::string_view text;
  int designAdvance;
};

// The lower-case letters of both scripts of the shells and the digits: what captions are made
// of. (Capitals are relatively narrower in any font we may use than in the design font.)
inline constexpr DesignReference kDesignReferences[] = {
    {"abcdefghijklmnopqrstuvwxyz", 135},
    {"\xd0\xb0\xd0\xb1\xd0\xb2\xd0\xb3\xd0\xb4\xd0\xb5\xd0\xb6\xd0\xb7\xd0\xb8\xd0\xb9\xd0\xba"
     "\xd0\xbb\xd0\xbc\xd0\xbd\xd0\xbe\xd0\xbf\xd1\x80\xd1\x81\xd1\x82\xd1\x83\xd1\x84\xd1\x85"
     "\xd1\x86\xd1\x87\xd1\x88\xd1\x89\xd1\x8a\xd1\x8b\xd1\x8c\xd1\x8d\xd1\x8e\xd1\x8f",
     203},
    {"0123456789", 60},
};

// The design font's line height in pixels (its 8 points at 96 dots per inch).
inline constexpr int kDesignFontPixels = 11;

// The advance in pixels of a UTF-8 text in the font in use.
using FontAdvance = std::function<double(std::string_view utf8)>;

// The factor: the largest ratio of a reference's advance in the font in use to its advance in
// the design font, rounded up to the next eighth. Single words vary around their script's
// average (narrow letters such as i, l and t are relatively wider in most fonts than in the
// design font); the eighth covers that spread, and keeps the layout from changing with the
// last fraction of a pixel. Never below 1/8.
double designScale(const FontAdvance& advance);

// The advance in pixels of a code-page-1251 text in the design font: where the design breaks
// a caption.
int designAdvance(std::string_view cp1251);

// A design length in pixels of the font in use, rounded to the nearest pixel.
int scaledPixels(int designPixels, double scale);

}  // namespace qj
