#include "AxisLabels.h"

#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

double RoundHalfEven(double value) {
    // Written out rather than left to nearbyint, so the FPU rounding mode that the formula
    // engine may have touched cannot move a label or a pixel.
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

long double ValueSpan(double minimum, double maximum) {
    const double span = maximum - minimum;
    if (std::isfinite(span))
        return span;
    return static_cast<long double>(maximum) - minimum;
}

namespace {

// range / step as a double. A range that is a double divides as a double, exactly as it always
// has; only a range beyond the doubles divides in extended precision.
double rangeQuotient(long double range, double step) {
    if (std::fabs(range) <= std::numeric_limits<double>::max())
        return static_cast<double>(range) / step;
    return static_cast<double>(range / step);
}

// Each measurement of the widest label walks at most kMaxAxisTicks values, and every further
// step at least doubles, so a handful of measurements reach a step that fits; the bound only
// makes sure of it.
constexpr int kMaxWidestLabelMeasurements = 64;

} // namespace

double NextNiceStep(double step) {
    if (!(step > 0.0) || !std::isfinite(step))
        return step;
    // The same rounding as the recursive definition: scale into [1, 10) one factor of ten at a
    // time, pick 2, 5 or 10, then scale back one factor at a time, each product a double.
    int down = 0;
    int up = 0;
    while (step >= 10.0) {
        step = step * 0.1;
        ++down;
    }
    while (step < 1.0) {
        step = step * 10.0;
        ++up;
    }
    double result = step < 2.0 ? 2.0 : step < 5.0 ? 5.0 : 10.0;
    for (; up > 0; --up)
        result = result * 0.1;
    for (; down > 0; --down)
        result = result * 10.0;
    return result;
}

int LabelCountLimit(int labelSize, int axisLength, int labelsSeparation) {
    if (labelSize <= 0)
        return 1;
    double g = labelSize;
    if (labelsSeparation > 0)
        g += RoundHalfEven(labelsSeparation * 0.01 * labelSize);
    const double m = RoundHalfEven(axisLength / g);
    if (m > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (m < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(m);
}

double ComputeLabelIncrement(long double actualRange, double increment, int labelsSeparation,
                             int labelSize, int axisLength, const WidestLabelSize& widestLabel) {
    const int m = LabelCountLimit(labelSize, axisLength, labelsSeparation);
    if (m < 1)
        return kMinLabelIncrement;
    // A set increment below the smallest label distance starts the search at that distance:
    // the labels come out the same, and far below it (1e-300, the denormals) the products of
    // NextNiceStep round back to the step itself, so the search would never end.
    double step = increment > 0.0                 ? std::max(increment, kMinLabelIncrement)
                  : std::fabs(actualRange) >= 1.0 ? 1.0
                                                  : kMinLabelIncrement;
    if (labelsSeparation > 0) {
        int measurements = 0;
        for (;;) {
            const double q = rangeQuotient(actualRange, step);
            if (std::fabs(q) < kIncrementQuotientGuard) {
                const double n = RoundHalfEven(q);
                // The labels of the two range ends fit; an interior label may be wider ("0.11"
                // between "0" and "0.2") and must fit as well.
                if (n <= m) {
                    if (!widestLabel || measurements == kMaxWidestLabelMeasurements)
                        break;
                    ++measurements;
                    const int widest = widestLabel(step);
                    if (widest <= labelSize ||
                        n <= LabelCountLimit(widest, axisLength, labelsSeparation))
                        break;
                }
            }
            // An infinite or NaN range never gives a small quotient; the search stops when the
            // step itself would leave the doubles, and the label walk then draws nothing.
            const double next = NextNiceStep(step);
            if (!std::isfinite(next))
                break;
            step = next;
        }
    }
    return step > kMinLabelIncrement ? step : kMinLabelIncrement;
}

double FirstLabelValue(double actualMinimum, double actualMaximum, double increment,
                       bool roundFirstLabel) {
    if (actualMinimum == actualMaximum || !roundFirstLabel)
        return actualMaximum;
    // std::trunc equals a cut to a 64-bit integer wherever that fits; beyond 2^63 every double
    // is already whole, so it stays defined where the integer conversion would not be.
    const double q = actualMaximum / increment;
    return std::trunc(q) * increment;
}

void AxisLabelValues(double actualMinimum, double actualMaximum, double increment,
                     bool roundFirstLabel, std::vector<double>& values) {
    values.clear();
    if (!(increment > 0.0))
        return;
    const double count = rangeQuotient(ValueSpan(actualMinimum, actualMaximum), increment);
    if (!(std::fabs(count) < kMaxLabelCount))
        return;
    double v = FirstLabelValue(actualMinimum, actualMaximum, increment, roundFirstLabel);
    while (v > actualMaximum) {
        const double next = v - increment;
        if (!(next < v)) {
            // The increment is below half the spacing of doubles here: start at the top.
            v = actualMaximum;
            break;
        }
        v = next;
    }
    const double lowerLimit = (actualMinimum - 1e-12) / 1.000000000001;
    while (v >= lowerLimit && values.size() < static_cast<std::size_t>(kMaxAxisTicks)) {
        values.push_back(v);
        const double next = v - increment;
        // A constant range at large values (or any increment below half the spacing of
        // doubles at v) would repeat v for ever; every further label would be this one again.
        if (!(next < v))
            break;
        v = next;
    }
}

namespace {

struct NumberPattern {
    std::string prefix;
    std::string suffix;
    int minIntDigits = 0;
    int minFracDigits = 0;
    int maxFracDigits = 0;
    bool grouping = false;
    bool hasDigits = false;
};

bool isPlaceholder(char c) {
    return c == '#' || c == '0' || c == ',' || c == '.';
}

NumberPattern parsePattern(std::string_view pattern) {
    NumberPattern p;
    // Only the first section of a "positive;negative;zero" pattern is used.
    pattern = pattern.substr(0, pattern.find(';'));
    std::size_t first = 0;
    while (first < pattern.size() && !isPlaceholder(pattern[first]))
        ++first;
    std::size_t last = pattern.size();
    while (last > first && !isPlaceholder(pattern[last - 1]))
        --last;
    p.prefix = std::string(pattern.substr(0, first));
    p.suffix = std::string(pattern.substr(last));
    bool fraction = false;
    for (std::size_t i = first; i < last; ++i) {
        const char c = pattern[i];
        if (c == '.') {
            fraction = true;
        } else if (c == ',') {
            p.grouping = p.grouping || !fraction;
        } else if (c == '0' || c == '#') {
            p.hasDigits = true;
            if (!fraction) {
                if (c == '0')
                    ++p.minIntDigits;
            } else {
                ++p.maxFracDigits;
                if (c == '0')
                    p.minFracDigits = p.maxFracDigits;
            }
        }
    }
    return p;
}

// The exact decimal expansion of a finite magnitude below 2^63: `digits`, of which the last
// `fractionDigits` follow the decimal point. A double is m × 2^e, and for e < 0 that is
// m × 5^-e / 10^-e, so its expansion ends after at most 1074 fraction digits.
struct ExactDecimal {
    std::string digits;
    int fractionDigits = 0;
};

ExactDecimal exactDecimal(double magnitude) {
    int binaryExponent = 0;
    const double fraction = std::frexp(magnitude, &binaryExponent);
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    int exponent = binaryExponent - 53;
    if (mantissa == 0)
        return {"0", 0};
    while (exponent < 0 && (mantissa & 1u) == 0) {
        mantissa >>= 1;
        ++exponent;
    }
    if (exponent >= 0)
        return {std::to_string(mantissa << exponent), 0};

    // mantissa × 5^s in limbs of nine decimal digits, least significant first.
    constexpr std::uint64_t limbBase = 1000000000;
    const int s = -exponent;
    std::vector<std::uint64_t> limbs;
    for (std::uint64_t rest = mantissa; rest != 0; rest /= limbBase)
        limbs.push_back(rest % limbBase);
    for (int left = s; left > 0;) {
        const int k = std::min(left, 13); // 5^13 < 2^31: a limb times it stays in 64 bits
        std::uint64_t factor = 1;
        for (int i = 0; i < k; ++i)
            factor *= 5;
        std::uint64_t carry = 0;
        for (std::uint64_t& limb : limbs) {
            const std::uint64_t t = limb * factor + carry;
            limb = t % limbBase;
            carry = t / limbBase;
        }
        for (; carry != 0; carry /= limbBase)
            limbs.push_back(carry % limbBase);
        left -= k;
    }
    std::string digits = std::to_string(limbs.back());
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
        char block[16];
        std::snprintf(block, sizeof block, "%09llu", static_cast<unsigned long long>(limbs[i]));
        digits += block;
    }
    return {digits, s};
}

// round(magnitude × 10^places), halves away from zero, as decimal digits ("0" for zero); the
// magnitude is below 2^63. Rounding the exact expansion once: a cut to 15 significant digits
// first would round twice (123456.78949999... to 123456.79).
std::string roundedDigits(double magnitude, int places) {
    const ExactDecimal exact = exactDecimal(magnitude);
    std::string digits = exact.digits;
    const long cut = static_cast<long>(exact.fractionDigits) - places; // digits to drop
    if (cut <= 0) {
        if (digits != "0")
            digits.append(static_cast<std::size_t>(-cut), '0');
        return digits;
    }
    if (cut > static_cast<long>(digits.size()))
        return "0";
    const char first = digits[digits.size() - static_cast<std::size_t>(cut)];
    digits.resize(digits.size() - static_cast<std::size_t>(cut));
    if (first >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    const std::size_t significant = digits.find_first_not_of('0');
    return significant == std::string::npos ? "0" : digits.substr(significant);
}

// A value beyond the pattern's range rounded to `places` in extended precision: FormatGeneral
// shows 15 digits of it, so the last bits do not matter there.
long double roundedLarge(double value, int places) {
    if (places >= 0)
        return value;
    return ScaleByPowerOfTen(std::round(ScaleByPowerOfTen(value, places)), -places);
}

} // namespace

int LabelFractionDigits(int patternPlaces, const LabelPrecision& precision) {
    const double increment = precision.increment;
    if (!(increment > 0.0) || !std::isfinite(increment))
        return patternPlaces;
    // The increment's leading decimal place: 0.2 gives -1, 5E-5 gives -5, 1E29 gives 29. The
    // nudge keeps a power of ten that lies a hair below its decimal value (1E-12) in its place.
    const int lead = static_cast<int>(std::floor(std::log10(increment) + 1e-9));
    const int distinct = -lead; // neighbours then differ in the last place shown
    if (!precision.multiples)
        return std::max(patternPlaces, distinct);
    return std::max(distinct, std::min(patternPlaces, 6 - lead));
}

std::string FormatPatternNumber(double value, std::string_view pattern, char decimalSeparator,
                                char thousandSeparator, const LabelPrecision& precision) {
    if (pattern.empty() || !std::isfinite(value))
        return FormatGeneral(value);
    const NumberPattern p = parsePattern(pattern);
    const int places = LabelFractionDigits(p.maxFracDigits, precision);
    if (std::fabs(value) >= 1e18) {
        const long double rounded = roundedLarge(value, places);
        if (rounded != 0)
            return FormatGeneral(rounded);
        value = 0; // rounding noise of a walk across zero
    }
    if (!p.hasDigits)
        return p.prefix + p.suffix;

    std::string digits = roundedDigits(std::fabs(value), places);
    const bool zero = digits == "0";
    if (places < 0 && !zero)
        digits.append(static_cast<std::size_t>(-places), '0');
    const std::size_t fractionCount = static_cast<std::size_t>(std::max(places, 0));
    if (digits.size() < fractionCount + 1)
        digits.insert(0, fractionCount + 1 - digits.size(), '0');
    std::string intDigits = digits.substr(0, digits.size() - fractionCount);
    std::string fracDigits = digits.substr(digits.size() - fractionCount);

    const std::size_t firstSignificant = intDigits.find_first_not_of('0');
    intDigits =
        firstSignificant == std::string::npos ? std::string() : intDigits.substr(firstSignificant);
    if (intDigits.size() < static_cast<std::size_t>(p.minIntDigits))
        intDigits.insert(0, p.minIntDigits - intDigits.size(), '0');
    if (fracDigits.size() < static_cast<std::size_t>(p.minFracDigits))
        fracDigits.append(p.minFracDigits - fracDigits.size(), '0');
    while (fracDigits.size() > static_cast<std::size_t>(p.minFracDigits) &&
           fracDigits.back() == '0')
        fracDigits.pop_back();

    std::string text;
    if (value < 0 && !zero)
        text.push_back('-');
    text += p.prefix;
    for (std::size_t i = 0; i < intDigits.size(); ++i) {
        if (p.grouping && i > 0 && (intDigits.size() - i) % 3 == 0)
            text.push_back(thousandSeparator);
        text.push_back(intDigits[i]);
    }
    if (!fracDigits.empty()) {
        text.push_back(decimalSeparator);
        text += fracDigits;
    }
    text += p.suffix;
    return text;
}
