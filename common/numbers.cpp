#include "numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <version>

// Where the standard library has no floating-point to_chars and from_chars
// (the WebAssembly build's), the C library makes the same conversions: both
// are correctly rounded, to nearest with ties to even.
#if !defined(__cpp_lib_to_chars)
#include <locale.h>
#endif

namespace molvane {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Decimal digits and exponent of a value rounded to `significant` digits:
// value = 0.d1d2d3... x 10^(exponent + 1), digits without trailing zeros.
struct Decimal {
    std::array<char, 24> digits{};
    int count = 0;     // significant digits kept (0 for zero)
    int exponent = 0;  // power of ten of the first digit
};

Decimal decimalDigits(double magnitude, int significant) {
    Decimal d;
    if (magnitude == 0.0) return d;
    std::array<char, 64> buf{};
#if defined(__cpp_lib_to_chars)
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, std::chars_format::scientific,
                             significant - 1);
    const char* end = res.ptr;
#else
    // The point may be the locale's; only the digits and the exponent are read.
    const int written = std::snprintf(buf.data(), buf.size(), "%.*e", significant - 1, magnitude);
    const char* end = buf.data() + std::clamp(written, 0, static_cast<int>(buf.size()) - 1);
#endif
    const char* p = buf.data();
    for (; p < end && *p != 'e'; ++p) {
        if (isDigit(*p) && d.count < static_cast<int>(d.digits.size())) d.digits[d.count++] = *p;
    }
    if (p < end) d.exponent = std::atoi(p + 1);
    while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
    return d;
}

void appendExponent(std::string& out, int exponent, bool plusSign, int minDigits) {
    if (exponent < 0)
        out += '-';
    else if (plusSign)
        out += '+';
    std::array<char, 8> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::abs(exponent));
    for (int pad = minDigits - static_cast<int>(res.ptr - buf.data()); pad > 0; --pad) out += '0';
    out.append(buf.data(), res.ptr);
}

#if defined(__cpp_lib_to_chars)
// Whether a decimal text that is not zero stands for a magnitude of 1 or more:
// the power of ten of its first significant digit plus its exponent.
bool atLeastOne(std::string_view number) {
    const std::size_t e = number.find('e');
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return false;
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    std::int64_t power = first < point ? static_cast<std::int64_t>(point - first) - 1
                                       : -static_cast<std::int64_t>(first - point);
    if (e != std::string_view::npos) {
        std::size_t k = e + 1;
        const bool minus = k < number.size() && number[k] == '-';
        if (k < number.size() && (number[k] == '+' || number[k] == '-')) ++k;
        std::int64_t exponent = 0;  // saturated: far beyond any digit count a line holds
        for (; k < number.size(); ++k)
            exponent = std::min<std::int64_t>(exponent * 10 + (number[k] - '0'), 1000000000);
        power += minus ? -exponent : exponent;
    }
    return power >= 0;
}
#endif

#if !defined(__cpp_lib_to_chars)
// Reads a text in C syntax, correctly rounded. strtod reads a point by the
// locale's rules: under the C locale here, whatever the program's (a window's
// may write decimals with a comma).
double readC(const char* text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const locale_t previous = uselocale(cLocale);
    const double value = std::strtod(text, nullptr);
    uselocale(previous);
    return value;
}
#endif

// The value of digits, one optional point and an optional exponent ("e",
// optional sign, digits), correctly rounded; beyond the largest double it is
// an infinity and `overflow` is set, below the smallest it is 0.
double decimalValue(const std::string& number, bool& overflow) {
#if defined(__cpp_lib_to_chars)
    double value = 0.0;
    auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec != std::errc::result_out_of_range) return value;
    // from_chars leaves the value alone: tell huge from tiny by the magnitude.
    if (!atLeastOne(number)) return 0.0;
    overflow = true;
    return std::numeric_limits<double>::infinity();
#else
    const double value = readC(number.c_str());
    overflow = std::isinf(value);
    return value;
#endif
}

}  // namespace

NumberRead readLeadingNumber(std::string_view text) {
    NumberRead r;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    std::string number;  // digits, point and exponent in the C syntax
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        number += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && isDigit(text[i])) {
            number += text[i++];
            ++digits;
        }
    }
    if (digits == 0) return r;
    r.found = true;
    r.end = i;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        std::size_t first = j;
        while (j < text.size() && isDigit(text[j])) exponent += text[j++];
        if (j > first) {
            number += exponent;
            r.end = j;
        }
    }
    const double value = decimalValue(number, r.overflow);
    r.value = negative ? -value : value;
    return r;
}

double leadingNumber(std::string_view text) {
    return readLeadingNumber(text).value;
}

std::string numberText(double value, bool leadingBlank) {
    if (!std::isfinite(value)) return {};
    std::string out;
    if (value < 0)
        out += '-';
    else if (leadingBlank)
        out += ' ';
    Decimal d = decimalDigits(std::fabs(value), 15);
    if (d.count == 0) {
        out += '0';
        return out;
    }
    if (d.exponent >= 15 || d.exponent < -4) {
        out += d.digits[0];
        if (d.count > 1) {
            out += '.';
            out.append(d.digits.data() + 1, d.count - 1);
        }
        out += 'E';
        appendExponent(out, d.exponent, true, 2);
        return out;
    }
    if (d.exponent < 0) {
        out += '.';
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out.append(d.digits.data(), d.count);
        return out;
    }
    const int intDigits = d.exponent + 1;
    for (int k = 0; k < intDigits; ++k) out += k < d.count ? d.digits[k] : '0';
    if (d.count > intDigits) {
        out += '.';
        out.append(d.digits.data() + intDigits, d.count - intDigits);
    }
    return out;
}

#if !defined(__cpp_lib_to_chars)
namespace {

// Digits d1d2... and the power of ten of d1 as a text "d1.d2...e<power>".
std::string scientificText(const std::string& digits, int power) {
    std::string text(1, digits[0]);
    if (digits.size() > 1) text += '.' + digits.substr(1);
    return text + 'e' + std::to_string(power);
}

// Moves a run of digits one unit of its last place up or down; false when
// that changes its length (999 up, 100 down), which a caller does not need.
bool stepDigits(std::string& digits, bool up) {
    for (std::size_t k = digits.size(); k-- > 0;) {
        if (up ? digits[k] != '9' : digits[k] != '0') {
            digits[k] = static_cast<char>(digits[k] + (up ? 1 : -1));
            return !(k == 0 && digits[0] == '0');
        }
        digits[k] = up ? '0' : '9';
    }
    return false;
}

}  // namespace
#endif

std::string roundTripText(double value) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
#if defined(__cpp_lib_to_chars)
    std::array<char, 32> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return std::string(buf.data(), res.ptr);
#else
    // The fewest significant digits that read back as the value: at each
    // count the nearest decimal, or failing it the neighbour on the value's
    // other side (around a power of two the gap below is half the gap above).
    const double magnitude = std::fabs(value);
    std::string digits = "0";
    int power = 0;
    for (int count = 1; magnitude != 0.0 && count <= 17; ++count) {
        const Decimal nearest = decimalDigits(magnitude, count);
        std::string candidate(nearest.digits.data(), static_cast<std::size_t>(nearest.count));
        candidate.resize(static_cast<std::size_t>(count), '0');
        power = nearest.exponent;
        const double back = readC(scientificText(candidate, power).c_str());
        if (back == magnitude) {
            digits = candidate;
            break;
        }
        std::string other = candidate;
        if (stepDigits(other, back < magnitude) && readC(scientificText(other, power).c_str()) == magnitude) {
            digits = other;
            break;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const std::string sign = std::signbit(value) ? "-" : "";
    // Exponent form: "d.ddde+XX", at least two exponent digits.
    std::string exponentForm(1, digits[0]);
    if (digits.size() > 1) exponentForm += '.' + digits.substr(1);
    exponentForm += 'e';
    appendExponent(exponentForm, power, true, 2);
    // Plain form: the same digits around a point.
    std::string plain;
    const auto count = static_cast<int>(digits.size());
    if (power < 0) {
        plain = "0." + std::string(static_cast<std::size_t>(-power - 1), '0') + digits;
    } else if (count <= power + 1) {
        // A whole number, written with all its digits as printf's "%.0f"
        // (2^60 is 1152921504606846976, not 1152921504606847000).
        std::array<char, 320> whole{};
        std::snprintf(whole.data(), whole.size(), "%.0f", magnitude);
        plain = whole.data();
    } else {
        plain = digits.substr(0, static_cast<std::size_t>(power + 1)) + '.' +
                digits.substr(static_cast<std::size_t>(power + 1));
    }
    return sign + (plain.size() <= exponentForm.size() ? plain : exponentForm);
#endif
}

namespace {
template <typename Int>
std::optional<Int> roundTo(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);  // default rounding: halves to even
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}
}  // namespace

std::optional<std::int16_t> roundToInt16(double value) {
    return roundTo<std::int16_t>(value);
}
std::optional<std::int32_t> roundToInt32(double value) {
    return roundTo<std::int32_t>(value);
}

namespace {

struct Picture {
    std::string_view integer;  // placeholders and literals before the point
    int fracMin = 0;           // "0" placeholders after the point
    int fracMax = 0;           // all placeholders after the point
    bool point = false;
    bool scientific = false;
    bool expPlus = false;  // "E+": the exponent's sign is always written
    int expDigits = 0;
};

Picture parsePicture(std::string_view p) {
    Picture pic;
    std::size_t e = p.find_first_of("Ee");
    std::string_view mantissa = p.substr(0, e);
    if (e != std::string_view::npos) {
        pic.scientific = true;
        std::size_t k = e + 1;
        if (k < p.size() && (p[k] == '+' || p[k] == '-')) pic.expPlus = p[k++] == '+';
        for (; k < p.size(); ++k)
            if (p[k] == '0' || p[k] == '#') ++pic.expDigits;
    }
    std::size_t dot = mantissa.find('.');
    pic.integer = mantissa.substr(0, dot);
    if (dot != std::string_view::npos) {
        pic.point = true;
        for (char c : mantissa.substr(dot + 1)) {
            if (c == '0') {
                ++pic.fracMin;
                ++pic.fracMax;
            } else if (c == '#')
                ++pic.fracMax;
        }
    }
    return pic;
}

bool isPlaceholder(char c) {
    return c == '0' || c == '#';
}

// Lays integer digits into the integer part of a picture, right to left.
// A literal is written only while digits (or "0" placeholders) remain on its
// left, so "### ##0" writes 5 as "5" and 1234 as "1 234".
void layInteger(std::string& out, std::string_view pic, std::string_view digits) {
    int zerosLeft = 0;
    for (char c : pic) zerosLeft += c == '0';
    const std::size_t start = out.size();  // written right to left, then turned round
    std::size_t next = digits.size();      // digits still to place are [0, next)
    for (std::size_t k = pic.size(); k-- > 0;) {
        char c = pic[k];
        if (isPlaceholder(c)) {
            if (c == '0') --zerosLeft;
            bool leftmost = pic.find_first_of("0#") == k;
            if (next > 0) {
                if (leftmost) {
                    while (next > 0) out += digits[--next];
                } else {
                    out += digits[--next];
                }
            } else if (c == '0') {
                out += '0';
            }
        } else if (next > 0 || zerosLeft > 0) {
            out += c;
        }
    }
    std::reverse(out.begin() + static_cast<std::ptrdiff_t>(start), out.end());
}

}  // namespace

namespace {

// Rounds a run of significant digits to its first `keep` digits, halves and
// above going up (the digits are a magnitude: away from zero). Returns true
// when the carry added a digit in front (999 -> 1000).
bool roundDigits(std::string& digits, std::size_t keep) {
    if (digits.size() < keep) digits.append(keep - digits.size(), '0');
    const bool up = digits.size() > keep && digits[keep] >= '5';
    digits.resize(keep);
    if (!up) return false;
    for (std::size_t k = keep; k-- > 0;) {
        if (digits[k] != '9') {
            ++digits[k];
            return false;
        }
        digits[k] = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

// The value the user reads: 15 significant digits, as numberText writes it.
void readDigits(double magnitude, int& exponent, std::string& digits) {
    const Decimal d = decimalDigits(magnitude, 15);
    exponent = d.exponent;
    digits.assign(d.digits.data(), static_cast<std::size_t>(d.count));
}

}  // namespace

std::string formatPicture(double value, std::string_view picture, char decimalSeparator) {
    if (!std::isfinite(value)) return {};
    const Picture pic = parsePicture(picture);
    const auto places = static_cast<std::size_t>(pic.fracMax);
    // The digits are worked on in a text kept from call to call: once it has
    // grown to a picture's needs, formatting allocates nothing but its result
    // (whatever the standard library's small-text capacity).
    thread_local std::string digits;
    int exponent = 0;
    readDigits(std::fabs(value), exponent, digits);
    std::size_t intLength = 1;  // digits before the point; those after follow them
    if (digits.empty()) {
        digits.assign(places + 1, '0');
        exponent = 0;
    } else if (pic.scientific) {
        // One digit before the point, the picture's places after it.
        if (roundDigits(digits, places + 1)) {
            digits.pop_back();
            ++exponent;
        }
    } else {
        // Digits down to the last place shown: value x 10^places as an integer.
        const long keep = static_cast<long>(exponent) + 1 + pic.fracMax;
        if (keep <= 0) {
            digits.assign(1, keep == 0 && digits[0] >= '5' ? '1' : '0');
        } else {
            roundDigits(digits, static_cast<std::size_t>(keep));
        }
        if (digits.size() > places)
            intLength = digits.size() - places;
        else
            digits.insert(0, places + 1 - digits.size(), '0');
    }
    const std::string_view intDigits = std::string_view(digits).substr(0, intLength);
    const std::string_view fracDigits = std::string_view(digits).substr(intLength);
    std::string_view frac = fracDigits;
    while (static_cast<int>(frac.size()) > pic.fracMin && frac.back() == '0') frac.remove_suffix(1);
    const bool isZero = intDigits.find_first_not_of('0') == std::string::npos &&
                        frac.find_first_not_of('0') == std::string_view::npos;
    std::string out;
    if (value < 0 && !isZero) out += '-';
    // An integer part of "0" is a digit only where the picture asks for one.
    std::string_view whole = intDigits;
    if (whole == "0" && !pic.scientific) whole = {};
    layInteger(out, pic.integer, whole);
    if (pic.point) {
        out += decimalSeparator;
        out += frac;
    }
    if (pic.scientific) {
        out += 'E';
        appendExponent(out, exponent, pic.expPlus, pic.expDigits);
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace molvane
