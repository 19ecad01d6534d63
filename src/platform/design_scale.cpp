#include "platform/design_scale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qj {
namespace {

// The design font's advance of every code-page-1251 character, in pixels; control characters
// take none, characters it draws as an empty box take 3.
constexpr std::array<unsigned char, 256> kDesignAdvances = [] {
  std::array<unsigned char, 256> a{};
  constexpr unsigned char ascii[95] = {3, 3, 5, 7, 6, 8, 6, 2, 3, 3, 4, 6, 3, 3,  3, 5, 6, 6,  6,
                                       6, 6, 6, 6, 6, 6, 6, 3, 3, 6, 6, 6, 6, 11, 7, 7, 7, 8,  7,
                                       6, 8, 8, 3, 5, 7, 6, 9, 8, 8, 7, 8, 8, 7,  7, 8, 7, 11, 7,
                                       7, 7, 3, 5, 3, 6, 6, 3, 6, 6, 6, 6, 6, 3,  6, 6, 2, 2,  6,
                                       2, 8, 6, 6, 6, 6, 3, 5, 3, 6, 6, 8, 5, 5,  5, 4, 2, 4,  7};
  // А..Я and а..я.
  constexpr unsigned char cyrillic[64] = {7, 7, 7, 6, 9,  7, 11, 7, 8, 8,  7, 8,  9, 8, 8, 8,
                                          7, 7, 7, 8, 11, 7, 8,  8, 9, 10, 8, 10, 7, 7, 9, 8,
                                          6, 6, 6, 5, 6,  6, 8,  6, 6, 6,  6, 6,  8, 6, 6, 6,
                                          6, 6, 5, 5, 8,  5, 6,  5, 8, 9,  7, 8,  6, 6, 8, 6};
  for (int c = 0x80; c < 0xC0; ++c) a[c] = 3;
  for (int c = 0; c < 95; ++c) a[32 + c] = ascii[c];
  for (int c = 0; c < 64; ++c) a[0xC0 + c] = cyrillic[c];
  a[0x96] = 5;   // en dash
  a[0x97] = 6;   // em dash
  a[0xA0] = 3;   // no-break space
  a[0xA8] = 7;   // Ё
  a[0xAB] = 6;   // «
  a[0xB0] = 4;   // °
  a[0xB8] = 6;   // ё
  a[0xB9] = 11;  // №
  a[0xBB] = 6;   // »
  return a;
}();

}  // namespace

int designAdvance(std::string_view cp1251) {
  int advance = 0;
  for (const char c : cp1251) advance += kDesignAdvances[static_cast<unsigned char>(c)];
  return advance;
}

double designScale(const FontAdvance& advance) {
  double ratio = 0;
  for (const DesignReference& r : kDesignReferences)
    ratio = std::max(ratio, advance(r.text) / r.designAdvance);
  // An exact eighth stays as it is; the tolerance keeps a measured 1.25 from becoming 1.375.
  return std::max(1.0, std::ceil(ratio * 8 - 1e-6)) / 8;
}

int scaledPixels(int designPixels, double scale) {
  return static_cast<int>(std::lround(designPixels * scale));
}

}  // namespace qj
