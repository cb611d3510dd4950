#include "AxisLabels.h"

#include "NumberText.h"

#include <algorithm>
#include <cmath>
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

double ComputeLabelIncrement(double actualRange, double increment, int labelsSeparation,
                             int labelSize, int axisLength) {
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
        double n = m + 1.0;
        while (n > m) {
            const double q = actualRange / step;
            if (std::fabs(q) < kIncrementQuotientGuard) {
                n = RoundHalfEven(q);
                if (n <= m)
                    break;
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
    const double range = actualMaximum - actualMinimum;
    if (!(std::fabs(range / increment) < kMaxLabelCount))
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

// round(|value| × 10^fracDigits) as decimal digits: the value is first taken to 15
// significant digits (which hides the last-bit noise of labels reached by repeated
// subtraction), then rounded half away from zero at the last kept place.
std::string scaledDigits(double magnitude, int fracDigits) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", magnitude);
    std::string mantissa;
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            mantissa.push_back(*p);
    const int exponent = std::atoi(p + 1);
    const long keep = static_cast<long>(exponent) + 1 + fracDigits;
    const long have = static_cast<long>(mantissa.size());
    if (keep >= have)
        return mantissa + std::string(static_cast<std::size_t>(keep - have), '0');
    if (keep <= 0)
        return (keep == 0 && mantissa[0] >= '5') ? "1" : "0";
    std::string digits = mantissa.substr(0, static_cast<std::size_t>(keep));
    if (mantissa[static_cast<std::size_t>(keep)] >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    return digits;
}

} // namespace

std::string FormatPatternNumber(double value, std::string_view pattern, char decimalSeparator,
                                char thousandSeparator) {
    if (pattern.empty() || !std::isfinite(value) || std::fabs(value) >= 1e18)
        return FormatGeneral(value);
    const NumberPattern p = parsePattern(pattern);
    if (!p.hasDigits)
        return p.prefix + p.suffix;

    std::string digits = scaledDigits(std::fabs(value), p.maxFracDigits);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    if (digits.size() < static_cast<std::size_t>(p.maxFracDigits) + 1)
        digits.insert(0, static_cast<std::size_t>(p.maxFracDigits) + 1 - digits.size(), '0');
    std::string intDigits = digits.substr(0, digits.size() - p.maxFracDigits);
    std::string fracDigits = digits.substr(digits.size() - p.maxFracDigits);

    const std::size_t firstSignificant = intDigits.find_first_not_of('0');
    intDigits =
        firstSignificant == std::string::npos ? std::string() : intDigits.substr(firstSignificant);
    if (intDigits.size() < static_cast<std::size_t>(p.minIntDigits))
        intDigits.insert(0, p.minIntDigits - intDigits.size(), '0');
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
