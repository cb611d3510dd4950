// The writers: the calculator's fixed and scientific result fields and the general form.

#include "DecimalDigits.h"
#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr std::int32_t kMaxWidth = 255;
constexpr std::int32_t kMaxDecimals = 216;

std::string RightJustified(std::string text, std::int32_t width) {
    if (width > static_cast<std::int32_t>(text.size())) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

std::string SpecialValueText(long double value) {
    if (std::isnan(value)) {
        return "Nan";
    }
    return std::signbit(value) ? "-Inf" : "+Inf";
}

std::string ScientificText(long double value, std::int32_t width) {
    auto [a, e] = ScaleDecimal(std::fabs(value));
    const std::int32_t n = std::clamp(width - 8, 2, 18);
    std::string significant;
    if (a >= 10) {
        // The mantissa already carries its leading "1": round the digits after it at n − 1
        // places, or 10.56 would lose its last digit instead of rounding it (1.0 for 1.1).
        const DigitText digits = DigitString(a, n - 1);
        e += 1;
        significant.assign(1, '1').append(digits.digits);
    } else {
        const DigitText digits = DigitString(a, n);
        if (digits.carry) {
            // Rounding ran out of digits (9.9999 to two): the digits are all zeros.
            e += 1;
            significant.assign(1, '1').append(digits.digits, 0, static_cast<std::size_t>(n - 1));
        } else {
            significant = digits.digits;
        }
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(n) + 8);
    text += std::signbit(value) ? '-' : ' ';
    text += significant[0];
    text += '.';
    text.append(significant, 1);
    text += 'E';
    text += e >= 0 ? '+' : '-';
    char exponent[8];
    const int absExponent = e < 0 ? -e : e;
    const auto end = std::to_chars(exponent, exponent + sizeof exponent, absExponent).ptr;
    text.append(static_cast<std::size_t>(4 - std::min<long>(4, end - exponent)), '0');
    text.append(exponent, end);
    return RightJustified(std::move(text), width);
}

// The one routine behind both result fields: decimals < 0 selects the scientific form.
std::string FormatFloat(long double value, std::int32_t width, std::int32_t decimals) {
    width = std::min(width, kMaxWidth);
    if (!std::isfinite(value)) {
        return RightJustified(SpecialValueText(value), width);
    }
    if (decimals < 0) {
        return ScientificText(value, width);
    }
    const std::int32_t d = std::min(decimals, kMaxDecimals);
    // Values below 10 are not scaled: they keep 17 decimal places as a × 10^17.
    ScaledDecimal scaled{std::fabs(value), 0};
    if (scaled.mantissa >= 10) {
        scaled = ScaleDecimal(scaled.mantissa);
        if (scaled.exponent > 35) {
            return ScientificText(value, width);
        }
    }
    std::int32_t k = scaled.exponent + 1;
    const DigitText digits = DigitString(scaled.mantissa, k + d);
    std::string sequence;
    if (digits.carry) {
        ++k;
        sequence += '1';
    }
    sequence += digits.digits;
    std::string text;
    if (std::signbit(value)) {
        text += '-';
    }
    text.append(sequence, 0, static_cast<std::size_t>(k));
    if (d > 0) {
        text += '.';
        text.append(sequence, static_cast<std::size_t>(k), static_cast<std::size_t>(d));
    }
    return RightJustified(std::move(text), width);
}

constexpr long double kTen17 = 1e17L;
constexpr long double kTen18 = 1e18L;

// |value| × 10^(18 − E) rounded to an integer: the 18 digits of the general form.
long double EighteenDigits(long double a, std::int32_t E) {
    return std::rintl(ScaleByPowerOfTen(a, 18 - E));
}

} // namespace

std::string FormatFixed(long double value, std::int32_t width, std::int32_t decimals) {
    return FormatFloat(value, width, decimals);
}

std::string FormatScientific(long double value, std::int32_t width) {
    return FormatFloat(value, width, -1);
}

std::string FormatGeneral(long double value) {
    const int biased = BiasedExponent(value);
    if (biased == 0) {
        return "0"; // zero and denormals
    }
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return std::signbit(value) ? "-INF" : "INF";
    }
    const bool negative = std::signbit(value);
    const long double a = std::fabs(value);
    const int b = biased - 16383;
    std::int32_t E = ((b * 19728) >> 16) + 1;
    long double t = EighteenDigits(a, E);
    if (t < kTen17) {
        // The estimate of E from the binary exponent can be one too high when b · log10 2 lies
        // just above an integer (9.98E-206): the digits would start with "0". One order less.
        --E;
        t = EighteenDigits(a, E);
    }
    if (t >= kTen18) {
        t = std::rintl(t / 10);
        ++E;
    }
    char d[20];
    std::memset(d, '0', sizeof d);
    char number[24];
    const auto end =
        std::to_chars(number, number + sizeof number, static_cast<std::uint64_t>(t)).ptr;
    const long length = std::min<long>(18, end - number);
    std::memcpy(d + 18 - length, number, static_cast<std::size_t>(length));
    std::string digits(d, 15);
    if (d[15] >= '5') {
        int i = 14;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[i];
        } else {
            digits = "1";
            ++E;
        }
    }
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits.empty()) {
        return "0";
    }

    const char separator = DecimalSeparator();
    std::string text;
    if (negative) {
        text += '-';
    }
    if (E > 15 || E < -3) {
        text += digits[0];
        if (digits.size() > 1) {
            text += separator;
            text.append(digits, 1);
        }
        text += 'E';
        text += std::to_string(E - 1);
    } else if (E >= 1) {
        if (static_cast<std::int32_t>(digits.size()) < E) {
            digits.append(static_cast<std::size_t>(E) - digits.size(), '0');
        }
        text.append(digits, 0, static_cast<std::size_t>(E));
        if (static_cast<std::int32_t>(digits.size()) > E) {
            text += separator;
            text.append(digits, static_cast<std::size_t>(E));
        }
    } else {
        text += '0';
        text += separator;
        text.append(static_cast<std::size_t>(-E), '0');
        text += digits;
    }
    return text;
}
