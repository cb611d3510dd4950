// Power-of-ten scaling and the decimal digits of a mantissa.

#include "DecimalDigits.h"
#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

// Each power is rounded to the nearest extended value exactly once: the C library's reader
// rounds correctly, which repeated multiplication would not. The texts carry no decimal point,
// so the reading does not depend on any locale.
long double ExactPowerOfTen(int exponent) {
    const std::string text = "1e" + std::to_string(exponent);
    return std::strtold(text.c_str(), nullptr);
}

struct PowerTables {
    std::array<long double, 32> small{};  // 10^0 .. 10^31
    std::array<long double, 16> medium{}; // medium[k] = 10^(32k), k = 1..15
    std::array<long double, 10> large{};  // large[k] = 10^(512k), k = 1..9

    PowerTables() {
        for (int i = 0; i < 32; ++i) {
            small[i] = ExactPowerOfTen(i);
        }
        medium[0] = 1;
        for (int k = 1; k < 16; ++k) {
            medium[k] = ExactPowerOfTen(32 * k);
        }
        large[0] = 1;
        for (int k = 1; k < 10; ++k) {
            large[k] = ExactPowerOfTen(512 * k);
        }
    }
};

const PowerTables& Tables() {
    static const PowerTables tables;
    return tables;
}

constexpr std::uint64_t kTen18 = 1'000'000'000'000'000'000ULL;

} // namespace

long double ScaleByPowerOfTen(long double value, std::int32_t e) {
    if (e == 0) {
        return value;
    }
    if (e >= 5120) {
        return std::numeric_limits<long double>::infinity();
    }
    if (e <= -5120) {
        return 0;
    }
    const PowerTables& t = Tables();
    const int a = e < 0 ? -e : e;
    const int mediumIndex = (a / 32) % 16;
    const int largeIndex = a / 512;
    // Smallest factor first: a growing product reaches overflow only when the result does.
    if (e > 0) {
        value *= t.small[a % 32];
        if (mediumIndex != 0) {
            value *= t.medium[mediumIndex];
        }
        if (largeIndex != 0) {
            value *= t.large[largeIndex];
        }
    } else {
        value /= t.small[a % 32];
        if (mediumIndex != 0) {
            value /= t.medium[mediumIndex];
        }
        if (largeIndex != 0) {
            value /= t.large[largeIndex];
        }
    }
    return value;
}

int BiasedExponent(long double value) {
    // x87 extended layout: 64-bit significand, then 15 exponent bits and the sign.
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof bytes);
    return ((bytes[9] & 0x7F) << 8) | bytes[8];
}

ScaledDecimal ScaleDecimal(long double a) {
    ScaledDecimal result{a, 0};
    if (a == 0) {
        return {0, 0};
    }
    // Each pass takes out floor(b · log10 2) decimal orders (19728 / 65536 ≈ log10 2), leaving
    // a mantissa whose binary exponent is 0..3. Two or three passes always suffice (a denormal
    // needs the most); the bound only guarantees the loop ends.
    for (int pass = 0; pass < 16; ++pass) {
        const int b = BiasedExponent(result.mantissa) - 16383;
        const int k = (b * 19728) >> 16; // arithmetic shift: rounds negative b down
        if (k == 0) {
            break;
        }
        result.exponent += k;
        result.mantissa = ScaleByPowerOfTen(result.mantissa, -k);
    }
    return result;
}

DigitText DigitString(long double a, std::int32_t n) {
    DigitText result{false, {}};
    // One multiplication, one rounding to an integer (the current mode: nearest, ties to even)
    // and one conversion: a < 16 keeps the integer below 1.6 × 10^18 < 2^63.
    std::uint64_t t = static_cast<std::uint64_t>(std::rintl(a * 1e17L));
    if (t >= kTen18) {
        t -= kTen18;
        result.carry = true;
    }
    char d[18];
    std::memset(d, '0', sizeof d);
    char text[20];
    const auto end = std::to_chars(text, text + sizeof text, t).ptr;
    const auto length = end - text;
    std::memcpy(d + 18 - length, text, static_cast<std::size_t>(length));

    if (n >= 18) {
        result.digits.assign(d, 18);
        result.digits.append(static_cast<std::size_t>(n - 18), '0');
        return result;
    }
    result.digits.assign(d, static_cast<std::size_t>(n));
    if (d[n] >= '5') {
        int i = n - 1;
        while (i >= 0 && result.digits[i] == '9') {
            result.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++result.digits[i];
        } else {
            result.carry = true;
        }
    }
    return result;
}
