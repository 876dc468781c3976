#include "numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

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
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, std::chars_format::scientific,
                             significant - 1);
    const char* p = buf.data();
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (isDigit(*p) && d.count < static_cast<int>(d.digits.size())) d.digits[d.count++] = *p;
    }
    if (p < res.ptr) d.exponent = std::atoi(p + 1);
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

}  // namespace

NumberRead readLeadingNumber(std::string_view text) {
    NumberRead r;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    std::string number;  // digits, point and exponent in from_chars' own syntax
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
    double value = 0.0;
    auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone: tell huge from tiny by the exponent's sign.
        auto e = number.find('e');
        bool tiny = e != std::string::npos && e + 1 < number.size() && number[e + 1] == '-';
        if (tiny)
            value = 0.0;
        else {
            value = std::numeric_limits<double>::infinity();
            r.overflow = true;
        }
    }
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
    std::string reversed;
    std::size_t next = digits.size();  // digits still to place are [0, next)
    for (std::size_t k = pic.size(); k-- > 0;) {
        char c = pic[k];
        if (isPlaceholder(c)) {
            if (c == '0') --zerosLeft;
            bool leftmost = pic.find_first_of("0#") == k;
            if (next > 0) {
                if (leftmost) {
                    while (next > 0) reversed += digits[--next];
                } else {
                    reversed += digits[--next];
                }
            } else if (c == '0') {
                reversed += '0';
            }
        } else if (next > 0 || zerosLeft > 0) {
            reversed += c;
        }
    }
    out.append(reversed.rbegin(), reversed.rend());
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
std::string readDigits(double magnitude, int& exponent) {
    const Decimal d = decimalDigits(magnitude, 15);
    exponent = d.exponent;
    return std::string(d.digits.data(), static_cast<std::size_t>(d.count));
}

}  // namespace

std::string formatPicture(double value, std::string_view picture, char decimalSeparator) {
    if (!std::isfinite(value)) return {};
    const Picture pic = parsePicture(picture);
    const auto places = static_cast<std::size_t>(pic.fracMax);
    int exponent = 0;
    std::string digits = readDigits(std::fabs(value), exponent);
    std::string intDigits, fracDigits;
    if (digits.empty()) {
        intDigits = "0";
        fracDigits.assign(places, '0');
        exponent = 0;
    } else if (pic.scientific) {
        // One digit before the point, the picture's places after it.
        if (roundDigits(digits, places + 1)) {
            digits.pop_back();
            ++exponent;
        }
        intDigits = digits.substr(0, 1);
        fracDigits = digits.substr(1);
    } else {
        // Digits down to the last place shown: value x 10^places as an integer.
        const long keep = static_cast<long>(exponent) + 1 + pic.fracMax;
        if (keep <= 0) {
            digits = keep == 0 && digits[0] >= '5' ? "1" : "0";
        } else {
            roundDigits(digits, static_cast<std::size_t>(keep));
        }
        if (digits.size() > places) {
            intDigits = digits.substr(0, digits.size() - places);
            fracDigits = digits.substr(digits.size() - places);
        } else {
            intDigits = "0";
            fracDigits = std::string(places - digits.size(), '0') + digits;
        }
    }
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
