#pragma once
// Numbers as the user types and sees them: integers in decimal, reals in general format
// with up to 15 significant digits and a chosen decimal separator, rounding half to even.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qj {

// Nearest integer, halves to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2).
double roundHalfEven(double x);
// The same, as an int64 clamped to its range; NaN gives 0.
int64_t roundToInt64(double x);

// General format, up to 15 significant digits ("%.15g"), with `sep` as the decimal point.
std::string formatReal(double x, char sep);
// "%-.2f" with `sep` as the decimal point (times and money in the reports).
std::string formatFixed2(double x, char sep);

// A real typed by the user with separator `sep`: optional blanks around, optional sign,
// digits with at most one separator, optional exponent. Nothing else; never inf or nan.
std::optional<double> parseReal(std::string_view text, char sep);
// A real stored as text: either "." or "," is taken as the separator.
std::optional<double> parseStoredReal(std::string_view text);
// A decimal int32: optional blanks around, optional sign, digits, within range.
std::optional<int32_t> parseInt(std::string_view text);

}  // namespace qj
