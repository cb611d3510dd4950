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

std::vector<std::string> texts(const std::vector<double>& values) {
    std::vector<std::string> out;
    for (double v : values)
        out.push_back(FormatPatternNumber(v, "#,##0.###", '.', ','));
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
        double range, increment;
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
    EXPECT_TRUE(walk(-1e308, 1e308, ComputeLabelIncrement(inf, 0, 10, 10, 220)).empty());
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
        {"constant 0", 0, 0, 1e-12, true, {"0"}},
        {"constant below -1", -5, -5, 1e-12, true, {}},
        {"10000 increments: no labels", 0, 10000, 1, true, {}},
        {"no increment", 0, 1, 0, true, {}},
    };
    SeparatorsGuard separators;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(texts(walk(r.min, r.max, r.inc, r.roundFirst)), r.expected);
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
        {1.0005, "#,##0.###", "1.001"},
        {-2.0005, "#,##0.###", "-2.001"},
        {999999.9996, "#,##0.###", "1,000,000"},
        {0.00005, "#,##0.###", "0"},
        {123456789012345678.0, "#,##0.###", "123,456,789,012,346,000"},
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
    // Russian settings: decimal comma, no-break blank between the groups (code page 1251).
    EXPECT_EQ(FormatPatternNumber(1234567.25, "#,##0.###", ',', '\xA0'), "1\xA0"
                                                                         "234\xA0"
                                                                         "567,25");
}
