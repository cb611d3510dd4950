// The formula as a function of x (error value, clamping), SignOf and the bisection.

#include "EngineTestSupport.h"

#include "Exceptions.h"

#include <cmath>
#include <limits>

namespace {

using RootFinderTest = EngineTest;

TEST_F(RootFinderTest, EvalFormulaClampsToPlusMinus1E30) {
    const struct {
        const char* body;
        long double expected;
    } rows[] = {
        {"1E31;", 1E30L},   {"-1E31;", -1E30L}, {"1E30;", 1E30L}, {"-1E30;", -1E30L},
        {"1E4000;", 1E30L}, {"-x;", -1E30L},    {"0.5;", 0.5L},   {"1E30*1.0000000001;", 1E30L},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(evaluate(row.body, 1E100L), row.expected) << row.body;
    }
}

TEST_F(RootFinderTest, SignOfValues) {
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const struct {
        long double value;
        std::int32_t sign;
    } rows[] = {{-0.0L, 0}, {0.0L, 0}, {1E-4000L, 1}, {-1E-4000L, -1}, {5, 1}, {-5, -1}, {nan, -1}};
    for (const auto& row : rows) {
        EXPECT_EQ(SignOf(row.value), row.sign) << row.value;
    }
}

// A function that counts its evaluations.
struct Counted {
    int calls = 0;
    RealFunction of(RealFunction f) {
        return [this, f](long double x) {
            ++calls;
            return f(x);
        };
    }
};

TEST_F(RootFinderTest, BisectHalvesUntilTheIntervalIsNoWiderThanEps) {
    Counted counted;
    long double x1 = -1, fx1 = -1;
    Bisect(x1, fx1, counted.of([](long double x) { return x - 2; }), 0, 10, 1E-7L);
    EXPECT_EQ(counted.calls, 1 + 27);
    EXPECT_EQ(x1, 2 - 3 / 67108864.0L);
    EXPECT_EQ(fx1, -3 / 67108864.0L);
}

TEST_F(RootFinderTest, BisectTakesNoStepWhenTheIntervalIsNotWiderThanEps) {
    const struct {
        long double a, b, eps;
    } rows[] = {{5, 1, 1E-7L}, {0, 1E-8L, 1E-7L}, {0, 1, 1}, {0, 1, std::nanl("")}};
    for (const auto& row : rows) {
        Counted counted;
        long double x1 = 42, fx1 = 43;
        Bisect(x1, fx1, counted.of([](long double x) { return x - 0.5L; }), row.a, row.b, row.eps);
        EXPECT_EQ(counted.calls, 1) << row.a << " " << row.b;
        EXPECT_EQ(x1, 42);
        EXPECT_EQ(fx1, 43);
    }
}

TEST_F(RootFinderTest, BisectEndsWhenTheEndsBecomeNeighbours) {
    // Eps 0, negative, or below the spacing of extended values near the root.
    for (const long double eps : {0.0L, -1.0L, 1E-30L}) {
        Counted counted;
        long double x1 = 0, fx1 = 0;
        Bisect(x1, fx1, counted.of([](long double x) { return x * x - 2; }), 0, 2, eps);
        EXPECT_LE(counted.calls, 1 + 70) << eps;
        EXPECT_LE(std::fabs(x1 - std::sqrt(2.0L)), 2 * std::numeric_limits<long double>::epsilon())
            << eps;
        EXPECT_EQ(fx1, x1 * x1 - 2) << eps; // the last midpoint and its value
    }
    // A root at an end of [1, 1 + ulp] with Eps 0: one midpoint, which equals an end.
    Counted counted;
    long double x1 = 0, fx1 = 7;
    const long double b = std::nextafter(1.0L, 2.0L);
    Bisect(x1, fx1, counted.of([](long double x) { return x - 1; }), 1, b, 0);
    EXPECT_EQ(counted.calls, 2);
    EXPECT_TRUE(x1 == 1 || x1 == b);
}

TEST_F(RootFinderTest, BisectWithFZeroAtTheStartClosesInOnA) {
    long double x1 = 0, fx1 = 0;
    Bisect(
        x1, fx1, [](long double x) { return x; }, 0, 1, 1E-6L);
    EXPECT_LT(x1, 1E-6L);
    EXPECT_GT(x1, 0);
}

TEST_F(RootFinderTest, BisectOverEvalFormulaAndItsErrors) {
    parse("f(x) = x*x-2;");
    long double x1 = 0, fx1 = 0;
    Bisect(x1, fx1, EvalFormula, -10, 1, 1E-10L);
    EXPECT_NEAR(static_cast<double>(x1), -std::sqrt(2.0), 1e-9);

    // An evaluation error at the first midpoint: one message, then 0 everywhere; every
    // later step moves B, so the search ends near A with FX1 = 0.
    parse("f(x) = 1/(x-1);");
    Bisect(x1, fx1, EvalFormula, 0, 2, 1E-3L);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(ErrEval && ErrAny);
    EXPECT_LT(x1, 1E-3L);
    EXPECT_EQ(fx1, 0);

    // ErrEval already set: every value is 0, every step moves A, the search ends near B.
    Bisect(x1, fx1, EvalFormula, 0, 2, 1E-3L);
    EXPECT_GT(x1, 2 - 1E-3L);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(RootFinderTest, BisectOverflowsOnEndsBeyondHalfTheRange) {
    long double x1 = 0, fx1 = 0;
    EXPECT_THROW(Bisect(
                     x1, fx1, [](long double x) { return x; }, -1E4932L, 1E4932L, 1),
                 EOverflow);
    // Ends typed as «-1E5120» and «1E5120»: their width is ∞, exactly; their sum −∞ + ∞ is
    // an invalid operation.
    const long double inf = std::numeric_limits<long double>::infinity();
    EXPECT_THROW(Bisect(
                     x1, fx1, [](long double x) { return x; }, -inf, inf, 1),
                 EInvalidOp);
}

} // namespace
