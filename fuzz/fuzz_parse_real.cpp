// ParseReal on any bytes. A text is accepted exactly when it fits the reader's grammar, read up
// to its first NUL:
//     blank* [sign] digit* ["." digit*] [("E" | "e") [sign] digit+]
// with something after the blanks and the sign. A refused text's error position lies inside the
// text or just past it. An accepted value is ±∞ for a scale of 5120 or more, ±0 for −5120 or
// less, and otherwise lies within (2n + 8) units in the last place of the C library's reading
// of the same number, n being the number of digits taken (each digit rounds twice, the scaling
// at most six times, the library once), plus a few denormals for results below the normal
// range. EOverflow only where the digits or the value exceed the extended range.

#include "Exceptions.h"
#include "FuzzCheck.h"
#include "NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

// The grammar, read independently of the reader.
struct Reading {
    bool fits = false;
    bool negative = false;
    std::string integerDigits, fractionDigits;
    std::int64_t exponent = 0; // saturated far beyond ±5120
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

Reading read(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    Reading r;
    std::size_t i = 0;
    const auto digits = [&](std::string& into) {
        while (i < text.size() && isDigit(text[i])) {
            into += text[i++];
        }
    };
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        r.negative = text[i++] == '-';
    }
    if (i == text.size()) {
        return r;
    }
    digits(r.integerDigits);
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits(r.fractionDigits);
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negative = text[i++] == '-';
        }
        std::string exponentDigits;
        digits(exponentDigits);
        if (exponentDigits.empty()) {
            return r;
        }
        for (const char c : exponentDigits) {
            r.exponent = std::min<std::int64_t>(r.exponent * 10 + (c - '0'), 1'000'000'000);
        }
        r.exponent = negative ? -r.exponent : r.exponent;
    }
    r.fits = i == text.size();
    return r;
}

// Digits after the leading zeros: what the extended range must hold as an integer.
std::size_t significantDigits(const std::string& digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? 0 : digits.size() - first;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Reading r = read(text);
    std::int32_t errorPos = -1;
    long double value = 0;
    bool overflow = false;
    try {
        value = ParseReal(text, errorPos);
    } catch (const EOverflow&) {
        overflow = true;
    }
    if (!r.fits) {
        check(!overflow && errorPos >= 1 && static_cast<std::size_t>(errorPos) <= size + 1);
        return 0;
    }
    check(errorPos == 0);

    const std::string digits = r.integerDigits + r.fractionDigits;
    const std::int64_t scale = r.exponent - static_cast<std::int64_t>(r.fractionDigits.size());
    constexpr long double Max = std::numeric_limits<long double>::max();
    if (scale >= 5120) {
        check(!overflow && std::isinf(value) && std::signbit(value) == r.negative);
        return 0;
    }
    if (scale <= -5120) {
        check(!overflow && value == 0 && std::signbit(value) == r.negative);
        return 0;
    }
    const std::string canonical = std::string(r.negative ? "-" : "") +
                                  (r.integerDigits.empty() ? "0" : r.integerDigits) + "." +
                                  r.fractionDigits + "0e" + std::to_string(r.exponent);
    const long double library = std::strtold(canonical.c_str(), nullptr);
    const long double bound = static_cast<long double>(2 * digits.size() + 8) *
                              std::numeric_limits<long double>::epsilon() / 2;
    if (overflow) {
        check(std::fabs(library) >= Max * (1 - bound) || significantDigits(digits) > 4932);
        return 0;
    }
    check(std::isfinite(value) && std::signbit(value) == r.negative);
    if (std::isinf(library)) {
        check(std::fabs(value) >= Max * (1 - bound));
        return 0;
    }
    const long double denormal = std::numeric_limits<long double>::denorm_min();
    check(std::fabs(value - library) <= bound * std::fabs(library) + 8 * denormal);
    return 0;
}
