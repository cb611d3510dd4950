// The label arithmetic of an axis: step sequence, increment search, label walk, label texts.
#include "AxisLabels.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

struct SeparatorsGuard {
    SeparatorsGuard() { SetRegionalSeparators('.', ','); }
    ~SeparatorsGuard() { ReloadRegionalSettings(); }
};

std::vector<double> walk(double min, double max, double inc, bool roundFirst = true) {
    std::vector<double> values;
    AxisLabelValues(min, max, inc, roundFirst, values);
    return values;
}

std::vector<std::string> texts(const std::vector<double>& values,
                               const LabelPrecision& precision = {}) {
    std::vector<std::string> out;
    for (double v : values)
        out.push_back(FormatPatternNumber(v, "#,##0.###", '.', ',', precision));
    return out;
}

using Texts = std::vector<std::string>;

} // namespace

TEST(AxisLabels, NextNiceStepFollowsOneTwoFive) {
    struct Row {
        double step, expected;
    };
    const Row rows[] = {{1, 2},    {2, 5},       {5, 10},      {10, 20},     {3, 5},
                        {7, 10},   {0.5, 1},     {0.1, 0.2},   {1.5, 2},     {20, 50},
                        {99, 100}, {1e29, 2e29}, {5e28, 1e29}, {0.02, 0.05}, {4e-5, 5e-5}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.step);
        EXPECT_NEAR(NextNiceStep(r.step), r.expected, r.expected * 1e-14);
    }
    // 1e-12 lies a little below its decimal value, so it steps to a hair above it.
    const double tiny = NextNiceStep(1e-12);
    EXPECT_GT(tiny, 1e-12);
    EXPECT_LT(tiny, 1.0000001e-12);
    // Not a positive finite number: returned as it is (no endless scaling).
    EXPECT_TRUE(std::isinf(NextNiceStep(std::numeric_limits<double>::infinity())));
    EXPECT_EQ(NextNiceStep(0.0), 0.0);
}

TEST(AxisLabels, LabelCountLimitCountsLabelPlusSeparation) {
    struct Row {
        int size, length, separation, expected;
    };
    const Row rows[] = {
        {17, 600, 10, 32}, // g = 17 + round(1.7) = 19; 600 / 19 = 31.58
        {0, 600, 10, 1},   {-3, 600, 10, 1}, {17, 600, 0, 35}, {10, 220, 10, 20},
        {100, 10, 10, 0},  {15, 30, 0, 2},   {20, 30, 0, 2}, // 1.5 rounds to the even 2
        {20, 50, 0, 2},                                      // 2.5 rounds to the even 2
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.size << " " << r.length << " " << r.separation);
        EXPECT_EQ(LabelCountLimit(r.size, r.length, r.separation), r.expected);
    }
}

TEST(AxisLabels, IncrementIsTheFirstNiceStepThatFits) {
    struct Row {
        const char* name;
        long double range;
        double increment;
        int separation, size, length;
        double expected;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {"initial bottom axis", 11.02757, 0, 10, 17, 600, 1},
        {"range 100, m 20", 100, 0, 10, 10, 220, 5},
        {"range 0.001, m 20", 0.001, 0, 10, 10, 220, 5e-5},
        {"range 2e30 passes huge quotients", 2e30, 0, 10, 10, 220, 1e29},
        {"constant range", 0, 0, 10, 10, 220, 1e-12},
        {"axis too short", 100, 0, 10, 100, 10, 1e-12},
        {"no label size: one label", 10, 0, 10, 0, 600, 10},
        {"wanted increment grows", 100, 3, 10, 10, 220, 5},
        {"wanted increment kept", 100, 20, 10, 10, 220, 20},
        {"no separation keeps start", 100, 0, 0, 10, 220, 1},
        {"no separation, small range", 0.5, 0, 0, 10, 220, 1e-12},
        {"negative range", -100, 0, 10, 10, 220, 1},
        {"y 1..3 on a 300 pixel axis", 2, 0, 10, 13, 300, 1},
        // Set increments far below 1e-12 once stalled the search (the step no longer grew).
        {"set increment 1e-300", 100, 1e-300, 10, 10, 220, 5},
        {"set increment a denormal", 0.001, 5e-324, 10, 10, 220, 5e-5},
        {"set increment 1e-20, no separation", 100, 1e-20, 0, 10, 220, 1e-12},
        // -1E308 … 1E308: the range exists only in extended precision; 2E308 / 1E307 = 20.
        {"range wider than a double", 2e308L, 0, 10, 10, 220, 1e307},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const double got =
            ComputeLabelIncrement(r.range, r.increment, r.separation, r.size, r.length);
        EXPECT_NEAR(got, r.expected, r.expected * 1e-12);
    }
    // Ranges that are not finite end the search with a finite step; the walk then draws nothing.
    for (double range : {inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(range);
        const double inc = ComputeLabelIncrement(range, 0, 10, 10, 220);
        EXPECT_TRUE(std::isfinite(inc));
        EXPECT_GE(inc, 1e-12);
    }
    EXPECT_TRUE(walk(-inf, inf, ComputeLabelIncrement(inf, 0, 10, 10, 220)).empty());

    // The widest label of the walk must fit too. 481 pixels, 10 % separation: the range ends
    // «0» and «0.5» (15 pixels) allow m = round(481 / 17) = 28 labels, the interior «0.46»
    // (21 pixels) only round(481 / 23) = 21.
    struct WidestRow {
        const char* name;
        double range;
        int size, length, widest;
        double expected;
    };
    const WidestRow widestRows[] = {
        {"0 … 0.2: 20 labels of 21 pixels fit", 0.2, 15, 481, 21, 0.01},
        {"0 … 0.5: 25 do not, 10 do", 0.5, 15, 481, 21, 0.05},
        {"interior no wider than the ends", 100, 10, 220, 8, 5},
        // m = round(220 / 330) = 1: 5, 10, 20, 50 give 20, 10, 5, 2 labels.
        {"room for one wide label", 100, 10, 220, 300, 100},
        // m = 0: only a step above twice the range, 100 / 200 = 0.5 rounding to 0, fits.
        {"room for none", 100, 10, 220, 1000000, 200},
    };
    for (const WidestRow& r : widestRows) {
        SCOPED_TRACE(r.name);
        int measured = 0;
        const auto widest = [&](double) {
            ++measured;
            return r.widest;
        };
        const double got = ComputeLabelIncrement(r.range, 0, 10, r.size, r.length, widest);
        EXPECT_NEAR(got, r.expected, r.expected * 1e-12);
        EXPECT_GE(measured, 1);
    }
}

TEST(AxisLabels, WalkRunsFromTheTopDownToTheLowerLimit) {
    struct Row {
        const char* name;
        double min, max, inc;
        bool roundFirst;
        Texts expected;
    };
    const Row rows[] = {
        {"initial bottom axis: no label at -10",
         -10,
         1.02757,
         1,
         true,
         {"1", "0", "-1", "-2", "-3", "-4", "-5", "-6", "-7", "-8", "-9"}},
        {"label exactly at a minimum above -1",
         0,
         1,
         0.2,
         true,
         {"1", "0.8", "0.6", "0.4", "0.2", "0"}},
        {"y of 2sin(x)^2+1 at its exact extremes", 1, 3, 1, true, {"3", "2", "1"}},
        {"y of 2sin(x)^2+1 as sampled", 1.0000123, 2.9999877, 1, true, {"2"}},
        {"negative top rounds toward zero, steps down",
         -5.5,
         -1.5,
         1,
         true,
         {"-2", "-3", "-4", "-5"}},
        {"first label not rounded", 0, 1.5, 0.5, false, {"1.5", "1", "0.5", "0"}},
        {"range 100 by 5", 0, 100, 5, true, {"100", "95", "90", "85", "80", "75", "70",
                                             "65",  "60", "55", "50", "45", "40", "35",
                                             "30",  "25", "20", "15", "10", "5",  "0"}},
        {"large values take the general form; a minimum below -1 gets no label",
         -1e30,
         1e30,
         5e29,
         true,
         {"1E30", "5E29", "0", "-5E29"}},
        // 1E30 - 10 × 1E29 leaves 2^46 or so where 0 belongs, and the ticks beside it miss
        // ±1E29 in the 15th digit: each label is rounded to the increment's precision.
        {"the tick at 0 of -1E30 … 1E30 reads 0",
         -1e30,
         1e30,
         1e29,
         true,
         {"1E30", "9E29",  "8E29",  "7E29",  "6E29",  "5E29",  "4E29",  "3E29",  "2E29",  "1E29",
          "0",    "-1E29", "-2E29", "-3E29", "-4E29", "-5E29", "-6E29", "-7E29", "-8E29", "-9E29"}},
        {"-1E308 … 1E308, wider than a double",
         -1e308,
         1e308,
         1e307,
         true,
         {"1E308",  "9E307",  "8E307",  "7E307",  "6E307",  "5E307",  "4E307",
          "3E307",  "2E307",  "1E307",  "0",      "-1E307", "-2E307", "-3E307",
          "-4E307", "-5E307", "-6E307", "-7E307", "-8E307", "-9E307"}},
        // trunc(1.7E308 / 2E307) = 8: the first label is 1.6E308.
        {"-1.7E308 … 1.7E308",
         -1.7e308,
         1.7e308,
         2e307,
         true,
         {"1.6E308", "1.4E308", "1.2E308", "1E308", "8E307", "6E307", "4E307", "2E307", "0",
          "-2E307", "-4E307", "-6E307", "-8E307", "-1E308", "-1.2E308", "-1.4E308", "-1.6E308"}},
        // An increment below 0.001 needs its own places, or neighbours read alike.
        {"x/1000 on 0 … 0.002 by 2E-4",
         0,
         0.002,
         2e-4,
         true,
         {"0.002", "0.0018", "0.0016", "0.0014", "0.0012", "0.001", "0.0008", "0.0006", "0.0004",
          "0.0002", "0"}},
        {"first label not rounded, by 5E-5",
         0,
         0.00012,
         5e-5,
         false,
         {"0.00012", "0.00007", "0.00002"}},
        {"constant 0", 0, 0, 1e-12, true, {"0"}},
        {"constant below -1", -5, -5, 1e-12, true, {}},
        {"10000 increments: no labels", 0, 10000, 1, true, {}},
        {"no increment", 0, 1, 0, true, {}},
    };
    SeparatorsGuard separators;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        // As an axis writes them: a constant range keeps the pattern's places.
        const LabelPrecision precision{r.inc, r.roundFirst && r.min != r.max};
        EXPECT_EQ(texts(walk(r.min, r.max, r.inc, r.roundFirst), precision), r.expected);
    }
    // The values carry the rounding of the repeated subtraction.
    const std::vector<double> fifths = walk(0, 1, 0.2);
    ASSERT_EQ(fifths.size(), 6u);
    EXPECT_EQ(fifths[2], 1.0 - 0.2 - 0.2);
    EXPECT_NE(fifths[5], 0.0);
}

TEST(AxisLabels, WalkOfAConstantRangeEndsWithinTheTickList) {
    struct Row {
        const char* name;
        double value;
        std::size_t expectedCount;
        std::string text;
    };
    const Row rows[] = {
        // L = 5 - 6.0005e-12, so 5 - k*1e-12 for k = 0..6 lie on or above it.
        {"f(x) = 5: seven values at one place", 5, 7, "5"},
        {"f(x) = 5000: capped at the tick list", 5000, kMaxAxisTicks, "5,000"},
        {"f(x) = 20000: subtraction stalls", 20000, 1, "20,000"},
        {"f(x) = 1E20", 1e20, 1, "1E20"},
        {"f(x) = -1E20: below its lower limit", -1e20, 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const double inc = ComputeLabelIncrement(0, 0, 10, 20, 300);
        const std::vector<double> values = walk(r.value, r.value, inc);
        EXPECT_EQ(values.size(), r.expectedCount);
        if (!values.empty()) {
            EXPECT_EQ(values.front(), r.value);
            EXPECT_EQ(FormatPatternNumber(values.back(), "#,##0.###", '.', ','), r.text);
        }
    }
    // A range of a few doubles at a large value: the increment is below half their spacing.
    const double top = std::nextafter(1e20, 2e20);
    const double inc = ComputeLabelIncrement(top - 1e20, 0, 10, 20, 300);
    const std::vector<double> values = walk(1e20, top, inc);
    EXPECT_GE(values.size(), 1u);
    EXPECT_LE(values.size(), std::size_t(kMaxAxisTicks));
}

TEST(AxisLabels, PatternWritesGroupedDigitsAndAtMostThreeDecimals) {
    struct Row {
        double value;
        const char* pattern;
        std::string expected;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {0, "#,##0.###", "0"},
        {1, "#,##0.###", "1"},
        {-1, "#,##0.###", "-1"},
        {-10, "#,##0.###", "-10"},
        {1234.5, "#,##0.###", "1,234.5"},
        {1234567.891, "#,##0.###", "1,234,567.891"},
        {0.6000000000000001, "#,##0.###", "0.6"},
        {5.551115123125783e-17, "#,##0.###", "0"},
        {-5.551115123125783e-17, "#,##0.###", "0"},
        {-0.0004, "#,##0.###", "0"},
        {0.0004, "#,##0.###", "0"},
        {0.0006, "#,##0.###", "0.001"},
        // The double of 1.0005 is 1.000499999999999944…, of 2.0005 2.000500000000000166…
        {1.0005, "#,##0.###", "1"},
        {-2.0005, "#,##0.###", "-2.001"},
        {999999.9996, "#,##0.###", "1,000,000"},
        {0.00005, "#,##0.###", "0"},
        // The double's exact value, not its first 15 digits: doubles near 1.2E17 lie 16 apart.
        {123456789012345678.0, "#,##0.###", "123,456,789,012,345,680"},
        // 123456.7895 is 123456.789499999998952… as a double: rounded once, not at 15 digits
        // first (which gave «123,456.79»).
        {123456.7895, "#,##0.###", "123,456.789"},
        // Doubles near 1E15 lie 0.125 apart, so these are exact.
        {1000000000000095.0, "#,##0.###", "1,000,000,000,000,095"},
        {1000000000000085.0, "#,##0.###", "1,000,000,000,000,085"},
        // Near 1E12 the doubles lie 2^-13 apart: 1000000000000.005 is 1000000000000.0050048828125.
        {1000000000000.005, "#,##0.###", "1,000,000,000,000.005"},
        {1e18, "#,##0.###", "1E18"},
        {-2e30, "#,##0.###", "-2E30"},
        {inf, "#,##0.###", "INF"},
        {std::numeric_limits<double>::quiet_NaN(), "#,##0.###", "NAN"},
        {1.5, "0.00", "1.50"},
        {0.5, "#.##", ".5"},
        {1234.5, "0", "1235"},
        {12.5, "0.0 %", "12.5 %"},
        {2.5, "", "2.5"},
    };
    SeparatorsGuard separators;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << " with \"" << r.pattern << "\"");
        EXPECT_EQ(FormatPatternNumber(r.value, r.pattern, '.', ','), r.expected);
    }
    // Rounded to a walk's increment: finer than the pattern where it is below 0.001, and for
    // multiples of it, no finer than its seventh significant place.
    struct PrecisionRow {
        double value, increment;
        bool multiples;
        std::string expected;
    };
    const PrecisionRow precisionRows[] = {
        {0.00015, 5e-5, true, "0.00015"},
        {-0.0000018, 2e-7, true, "-0.0000018"},
        {1.00001, 1e-5, false, "1.00001"},
        {0.6000000000000001, 0.2, true, "0.6"},
        {1234.5678, 2.5, true, "1,234.568"}, // a set increment of 2.5 keeps three places
        {70368744177664.0, 1e29, true, "0"}, // what the walk leaves where 0 belongs
        {-9.99999999999999e28, 1e29, true, "-1E29"},
        {1.4e284, 2e299, true, "0"},
        {70368744177664.0, 1e29, false, "70,368,744,177,664"}, // not a multiple: kept
    };
    for (const PrecisionRow& r : precisionRows) {
        SCOPED_TRACE(testing::Message() << r.value << " by " << r.increment);
        EXPECT_EQ(FormatPatternNumber(r.value, "#,##0.###", '.', ',', {r.increment, r.multiples}),
                  r.expected);
    }
    // Russian settings: decimal comma, no-break blank between the groups (code page 1251).
    EXPECT_EQ(FormatPatternNumber(1234567.25, "#,##0.###", ',', '\xA0'), "1\xA0"
                                                                         "234\xA0"
                                                                         "567,25");
}
