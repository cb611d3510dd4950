// The readers of numbers typed by the user. ParseReal and ParseInteger report a bad text by its
// 1-based error position; ParseRealLocale raises EConvertError.

#include "FloatErrors.h"
#include "NumberText.h"

#include <algorithm>
#include <cfenv>
#include <cstdint>
#include <limits>
#include <string>

#if __has_include(<fpu_control.h>)
#include <fpu_control.h>
#define NUMTEXT_HAS_FPU_CONTROL 1
#endif

namespace {

// A text is read up to its end or up to its first NUL.
std::string_view UpToNul(std::string_view text) {
    const auto nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// The 1-based position of index i (held in 32 bits even for absurdly long texts).
std::int32_t Position(std::size_t i) {
    return static_cast<std::int32_t>(
        std::min<std::size_t>(i + 1, std::numeric_limits<std::int32_t>::max()));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponent digits saturate here: far beyond ±5120, where every scale gives infinity or 0,
// yet far from the 64-bit limit, so an exponent of any length neither wraps nor overflows.
constexpr std::int64_t kExponentLimit = 1'000'000'000;

std::int32_t ClampedScale(std::int64_t exponent, std::size_t fractionDigits) {
    const std::int64_t f =
        static_cast<std::int64_t>(std::min<std::size_t>(fractionDigits, kExponentLimit));
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(exponent - f, -5120, 5120));
}

// Keeps the caller's floating-point status flags out of a reader's own arithmetic: they are
// saved and cleared on entry and put back on every way out.
class SavedFloatFlags {
public:
    SavedFloatFlags() {
        std::fegetexceptflag(&m_flags, FE_ALL_EXCEPT);
        std::feclearexcept(FE_ALL_EXCEPT);
    }
    ~SavedFloatFlags() { std::fesetexceptflag(&m_flags, FE_ALL_EXCEPT); }
    SavedFloatFlags(const SavedFloatFlags&) = delete;
    SavedFloatFlags& operator=(const SavedFloatFlags&) = delete;

private:
    std::fexcept_t m_flags{};
};

// ParseRealLocale's masked section: the whole environment (rounding, flags) is saved, flags are
// cleared and no exception may trap; the environment comes back on every way out, so the
// flags raised here never reach the caller.
class MaskedFloatEnvironment {
public:
    MaskedFloatEnvironment() {
        std::feholdexcept(&m_environment);
        std::fesetround(FE_TONEAREST);
#ifdef NUMTEXT_HAS_FPU_CONTROL
        // The x87 unit's precision control: full 64-bit significands whatever the caller set.
        fpu_control_t control;
        _FPU_GETCW(control);
        control = static_cast<fpu_control_t>((control & ~_FPU_EXTENDED) | _FPU_EXTENDED);
        _FPU_SETCW(control);
#endif
    }
    ~MaskedFloatEnvironment() {
        std::fesetenv(&m_environment);
    }
    MaskedFloatEnvironment(const MaskedFloatEnvironment&) = delete;
    MaskedFloatEnvironment& operator=(const MaskedFloatEnvironment&) = delete;

private:
    std::fenv_t m_environment{};
};

} // namespace

long double ParseReal(std::string_view text, std::int32_t& errorPos) {
    text = UpToNul(text);
    errorPos = 0;
    const std::size_t end = text.size();
    if (end == 0) {
        errorPos = 1;
        return 0;
    }
    std::size_t i = 0;
    while (i < end && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == end) {
        errorPos = Position(end);
        return 0;
    }
    // The syntax is checked first and the digits are taken in afterwards, so a badly formed
    // text is always an error position and never an overflow.
    const std::size_t integerStart = i;
    while (i < end && IsDigit(text[i])) {
        ++i;
    }
    const std::size_t integerEnd = i;
    std::size_t fractionStart = i;
    std::size_t fractionEnd = i;
    if (i < end && text[i] == '.') {
        ++i;
        fractionStart = i;
        while (i < end && IsDigit(text[i])) {
            ++i;
        }
        fractionEnd = i;
    }
    std::int64_t exponent = 0;
    if (i < end && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i == end || !IsDigit(text[i])) {
            errorPos = Position(i);
            return 0;
        }
        while (i < end && IsDigit(text[i])) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentLimit);
            ++i;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (i != end) {
        errorPos = Position(i);
        return 0;
    }

    bool overflow = false;
    long double value = 0;
    {
        const SavedFloatFlags saved;
        for (std::size_t k = integerStart; k < integerEnd; ++k) {
            value = value * 10 + (text[k] - '0');
        }
        for (std::size_t k = fractionStart; k < fractionEnd; ++k) {
            value = value * 10 + (text[k] - '0');
        }
        value = ScaleByPowerOfTen(value, ClampedScale(exponent, fractionEnd - fractionStart));
        overflow = std::fetestexcept(FE_OVERFLOW) != 0;
    }
    if (overflow) {
        throw EOverflow();
    }
    return negative ? -value : value;
}

std::int32_t ParseInteger(std::string_view text, std::int32_t& errorPos) {
    text = UpToNul(text);
    errorPos = 0;
    const std::size_t end = text.size();
    if (end == 0) {
        errorPos = 1;
        return 0;
    }
    std::size_t i = 0;
    while (i < end && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    auto fail = [&](std::size_t at) {
        errorPos = Position(at);
        return 0;
    };
    const auto at = [&](std::size_t k) { return k < end ? text[k] : '\0'; };

    std::size_t prefix = 0;
    if (at(i) == '$' || at(i) == 'x' || at(i) == 'X') {
        prefix = 1;
    } else if (at(i) == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X')) {
        prefix = 2;
    }
    if (prefix != 0) {
        i += prefix;
        if (i == end) {
            return fail(end);
        }
        std::uint32_t v = 0;
        for (; i < end; ++i) {
            const char c = text[i];
            std::uint32_t digit;
            if (IsDigit(c)) {
                digit = static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<std::uint32_t>(c - 'A' + 10);
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<std::uint32_t>(c - 'a' + 10);
            } else {
                return fail(i);
            }
            if (v > 268'435'455u) {
                return fail(i);
            }
            v = v * 16 + digit;
        }
        // The 32 bits are the value as they stand ($FFFFFFFF is −1); negation wraps likewise.
        return static_cast<std::int32_t>(negative ? 0u - v : v);
    }

    if (i + 1 == end && text[i] == '0') {
        return 0; // a lone "0"
    }
    if (i == end) {
        return fail(end);
    }
    std::uint32_t v = 0;
    for (; i < end; ++i) {
        if (!IsDigit(text[i])) {
            return fail(i);
        }
        if (v > 214'748'364u) {
            return fail(i);
        }
        v = v * 10 + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) {
        if (v > 2'147'483'648u) {
            return fail(end);
        }
        return static_cast<std::int32_t>(0u - v);
    }
    if (v > 2'147'483'647u) {
        return fail(end);
    }
    return static_cast<std::int32_t>(v);
}

long double ParseRealLocale(std::string_view whole) {
    const std::string_view text = UpToNul(whole);
    const char separator = DecimalSeparator();
    bool ok = false;
    long double value = 0;
    {
        const MaskedFloatEnvironment masked;
        const std::size_t end = text.size();
        std::size_t i = 0;
        while (i < end && text[i] == ' ') {
            ++i;
        }
        bool negative = false;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            ++i;
        }
        const std::size_t numberStart = i;
        while (i < end && IsDigit(text[i])) {
            value = value * 10 + (text[i] - '0');
            ++i;
        }
        std::size_t fractionDigits = 0;
        if (i < end && text[i] == separator) {
            ++i;
            while (i < end && IsDigit(text[i])) {
                value = value * 10 + (text[i] - '0');
                ++fractionDigits;
                ++i;
            }
        }
        ok = i != numberStart;
        std::int64_t exponent = 0;
        if (ok && i < end && (text[i] == 'E' || text[i] == 'e')) {
            ++i;
            bool negativeExponent = false;
            if (i < end && (text[i] == '+' || text[i] == '-')) {
                negativeExponent = text[i] == '-';
                ++i;
            }
            // Reading stops once the exponent reaches 500: any digit left fails below.
            while (i < end && IsDigit(text[i]) && exponent < 500) {
                exponent = exponent * 10 + (text[i] - '0');
                ++i;
            }
            if (negativeExponent) {
                exponent = -exponent;
            }
        }
        while (i < end && text[i] == ' ') {
            ++i;
        }
        if (ok && i == end) {
            value = ScaleByPowerOfTen(value, ClampedScale(exponent, fractionDigits));
            if (negative) {
                value = -value;
            }
            ok = std::fetestexcept(FE_OVERFLOW | FE_INVALID) == 0;
        } else {
            ok = false;
        }
    }
    if (!ok) {
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    }
    return value;
}
