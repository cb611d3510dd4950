#pragma once
// The arithmetic behind axis labels, free of any widget: the 1-2-5 step sequence, the label
// increment search, the label values walked from the top of the range down, and the
// "#,##0.###"-style number pattern of the label texts.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The smallest label distance an axis ever uses.
inline constexpr double kMinLabelIncrement = 1e-12;
// Quotients of the increment search that do not fit a 32-bit integer are skipped.
inline constexpr double kIncrementQuotientGuard = 2147483647.0;
// An axis whose range holds this many increments or more gets no labels at all.
inline constexpr double kMaxLabelCount = 10000.0;
// The tick list of one axis: at most this many label values are handed out per paint.
inline constexpr int kMaxAxisTicks = 2000;

// Round to the nearest integer, halves to the even neighbour (independent of the FPU mode).
double RoundHalfEven(double value);

// maximum − minimum: the double difference where it is finite, else the extended one, so that
// an axis from −1E308 to 1E308 still has a range to divide by.
long double ValueSpan(double minimum, double maximum);

// The next step of the sequence 1, 2, 5, 10, 20, 50, ... after `step` (> 0): 1 → 2, 2 → 5,
// 3 → 5, 5 → 10, 7 → 10, 0.5 → 1. Every intermediate value is a double. A step that is not
// a positive finite number is returned unchanged.
double NextNiceStep(double step);

// How many labels fit: 1 when labelSize <= 0, else round(axisLength / g) with g the label size
// plus labelsSeparation per cent of it.
int LabelCountLimit(int labelSize, int axisLength, int labelsSeparation);

// The size in pixels of the widest (or, on a vertical axis, highest) label that a walk with the
// given increment would draw.
using WidestLabelSize = std::function<int(double increment)>;

// The label distance for a range: the first of start, NextNiceStep(start), ... that gives at
// most LabelCountLimit labels; start is `increment` when positive (at least 1e-12), else 1 or
// 1e-12. With `widestLabel`, a step must also leave room for the widest label it would draw,
// not only for the labelSize of the two range ends. Never below 1e-12; always ends, also for
// infinite or NaN ranges.
double ComputeLabelIncrement(long double actualRange, double increment, int labelsSeparation,
                             int labelSize, int axisLength,
                             const WidestLabelSize& widestLabel = {});

// The label values of a linear axis from the largest one down, as the axis draws them. Empty
// when the range holds 10000 increments or more or `increment` is not positive. Ends after
// kMaxAxisTicks values, and as soon as a subtraction no longer lowers the value (a constant
// range at large magnitudes), so the walk always ends within the tick list.
void AxisLabelValues(double actualMinimum, double actualMaximum, double increment,
                     bool roundFirstLabel, std::vector<double>& values);

// The first label value of a walk (trunc(max / inc) × inc, or max), before stepping down.
double FirstLabelValue(double actualMinimum, double actualMaximum, double increment,
                       bool roundFirstLabel);

// What a label text is rounded to beyond its pattern: the increment of the walk it belongs to
// (0: the pattern alone decides), and whether the walk's values are multiples of it.
struct LabelPrecision {
    double increment = 0;
    bool multiples = false;
};

// The fraction places a label is rounded to, for a pattern with `patternPlaces` of them: more
// where the increment is finer than the pattern (neighbours would read alike: 5E-5 gives 5);
// for multiples of the increment, none finer than its seventh significant place (1E29 gives
// −23), so that the rounding left by the walk's subtractions reads as 0. A negative count
// rounds to tens, hundreds, ...
int LabelFractionDigits(int patternPlaces, const LabelPrecision& precision);

// `value` written with a number pattern such as "#,##0.###" (digits '0' always shown, '#'
// shown when significant, ',' groups the integer digits in threes, '.' starts the fraction,
// other characters copied), with the given separators. Below 1E18 in magnitude the exact value
// of the double is rounded, halves away from zero, to LabelFractionDigits places; places
// beyond the pattern's are shown like '#'. From 1E18 and for values that are not finite the
// text is FormatGeneral's. A value that rounds to zero shows no sign.
std::string FormatPatternNumber(double value, std::string_view pattern, char decimalSeparator,
                                char thousandSeparator, const LabelPrecision& precision = {});
