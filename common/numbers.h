// Numbers read from and written to text, and rounding to fixed-size integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace molvane {

struct NumberRead {
    double value = 0.0;     // 0 when no number was found
    std::size_t end = 0;    // index just past the characters read (0 when none)
    bool found = false;     // at least one digit was read
    bool overflow = false;  // the number is beyond the range of a double
};

// Reads the number at the start of a text: leading blanks skipped, an optional
// sign, digits with at most one ".", and an optional exponent ("E" or "D",
// either case, optional sign, digits). Reading stops at the first character
// that does not fit; a text with no number reads 0.
NumberRead readLeadingNumber(std::string_view text);

// Just the value of readLeadingNumber (an overflow gives an infinity, which
// every integer conversion below refuses).
double leadingNumber(std::string_view text);

// Shortest decimal text of a value: rounded to 15 significant digits, plain
// notation from .0001 up to below 1E+15 and exponent form outside
// (1E+15, 1.5E-07), no leading zero (.5, -.25), no trailing zeros or point.
// With leadingBlank, values that are not negative get a leading blank (" 50").
std::string numberText(double value, bool leadingBlank = false);

// The shortest text that reads back as the same double, in C syntax ("." and
// "e"): plain or exponent form, whichever is shorter, plain on a tie
// ("0.1", "1234.5", "1e+22", "1e+05", "-2.5e-07"); "inf", "-inf", "nan".
std::string roundTripText(double value);

// Rounding to the nearest integer with halves going to the even neighbour;
// nothing when the result does not fit (or the value is not finite).
std::optional<std::int16_t> roundToInt16(double value);
std::optional<std::int32_t> roundToInt32(double value);

// Formats a value with a picture made of "0" (digit, always shown), "#"
// (digit, shown when significant), one "." (decimal point, always written),
// an optional exponent part "E+00" / "E-00" and literal characters (blanks)
// between the integer digits. The decimal point is written as decimalSeparator.
// The value is rounded as the user reads it: first to 15 significant digits,
// then to the picture's last place with halves away from zero (0.25 with
// "0.0" is "0.3", 0.35 is "0.4", 1125 with "0.##E+00" is "1.13E+03").
//   "### ##0.0"  : 1234.5 -> "1 234.5", 0.4 -> "0.4"
//   "0.##E+00"   : 1600 -> "1.6E+03", 1000 -> "1.E+03"
//   "####0.0###" : 1 -> "1.0", 0.33333 -> "0.3333"
//   "00", "00.0" : 5 -> "05", 5.3 -> "05.3"
//   "#.#######E+00": 1234.5 -> "1.2345E+03", 5 -> "5.E+00"
std::string formatPicture(double value, std::string_view picture, char decimalSeparator = '.');

// Text with leading and trailing blanks removed.
std::string_view trimmed(std::string_view text);

}  // namespace molvane
