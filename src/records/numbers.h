#pragma once
// Numbers as the user types and sees them: integers in decimal, reals in general format
// with up to 15 significant digits and a chosen decimal separator, rounding half to even.
// Every real the program shows, writes or reads as text passes here, and none of it follows
// the C library's locale: the separator is always the one the caller names.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qj {

// Nearest integer, halves to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2).
double roundHalfEven(double x);
// The same, as an int64 clamped to its range; NaN gives 0.
int64_t roundToInt64(double x);

// General format, up to 15 significant digits (as "%.15g" in the "C" locale), with `sep` as
// the decimal point.
std::string formatReal(double x, char sep);
// `decimals` digits after the point (as "%.Nf" in the "C" locale), with `sep` as the point.
std::string formatFixed(double x, int decimals, char sep);

// A real typed by the user with separator `sep`: optional blanks around, optional sign,
// digits with at most one separator, optional exponent. Nothing else; never inf or nan.
std::optional<double> parseReal(std::string_view text, char sep);
// A real stored as text: either "." or "," is taken as the separator.
std::optional<double> parseStoredReal(std::string_view text);
// A number stored as text, as a window or a report shows it: trimmed, with `sep` in place of
// the separator it was typed with; a text that is no number is shown as it is, trimmed.
std::string shownStoredReal(std::string_view text, char sep);
// A decimal int32: optional blanks around, optional sign, digits, within range.
std::optional<int32_t> parseInt(std::string_view text);

}  // namespace qj
