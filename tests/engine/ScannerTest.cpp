// The scanner: characters past the end of the text, blanks, literals and RaisePower.

#include "EngineTestSupport.h"

#include "Exceptions.h"

#include <cmath>

namespace {

using ScannerTest = EngineTest;

TEST_F(ScannerTest, NextCharKeepsTheLastCharacterAndWrapsToNulAfter255) {
    startScan("ab");
    EXPECT_EQ(CurChar, 'a');
    NextChar();
    EXPECT_EQ(CurChar, 'b');
    for (int pos = 3; pos <= 255; ++pos) {
        NextChar();
        ASSERT_EQ(CurChar, 'b') << "position " << pos;
    }
    NextChar();
    EXPECT_EQ(ScanPos, 0);
    EXPECT_EQ(CurChar, '\0');
    NextChar();
    EXPECT_EQ(CurChar, 'a');

    // Only FormulaLen characters are read, whatever the text holds beyond them.
    startScan("xyz");
    FormulaLen = 1;
    NextChar();
    EXPECT_EQ(CurChar, 'x');
}

TEST_F(ScannerTest, SkipBlanksSkipsOnlyBlankAndCarriageReturn) {
    const struct {
        const char* text;
        char stop;
    } rows[] = {{" \r \rA", 'A'}, {" \tA", '\t'}, {" \nA", '\n'}, {"A", 'A'}};
    for (const auto& row : rows) {
        startScan(row.text);
        SkipBlanks();
        EXPECT_EQ(CurChar, row.stop) << row.text;
    }
}

TEST_F(ScannerTest, LiteralsAndTheCharacterAfterThem) {
    const struct {
        const char* text;
        long double value;
        char after;
    } rows[] = {
        {"12.5e+2;", 1250, ';'}, {"12.5E2;", 1250, ';'},   {"1250;", 1250, ';'},
        {"3.;", 3, ';'},         {"0.5)", 5 * 0.1L, ')'},  {"1 000", 1, ' '},
        {"7e0+", 7, '+'},        {"2E-0*", 2, '*'},        {"007.25x", 7.25L, 'x'},
        {"1e+3;", 1000, ';'},    {"65536.0^", 65536, '^'},
    };
    for (const auto& row : rows) {
        startScan(row.text);
        long double value = -1;
        ParseNumber(value);
        EXPECT_FALSE(ErrRule) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
        EXPECT_EQ(CurChar, row.after) << row.text;
    }
}

TEST_F(ScannerTest, NegativeExponentsArePowersOfOneTenthNotDivisions) {
    // 1E-n is 1 × 0.1^n by repeated squaring: not the extended value nearest to 10^-n; the
    // error of 0.1 itself grows with each product, to about n units in the last place.
    for (int n = 2; n <= 30; ++n) {
        const std::string text = "1e-" + std::to_string(n);
        startScan(text + ";");
        long double value = 0;
        ParseNumber(value);
        const long double nearest = std::strtold(text.c_str(), nullptr);
        EXPECT_NE(value, nearest) << text;
        EXPECT_LE(std::fabs(value - nearest), n * (std::nextafter(nearest, 1.0L) - nearest))
            << text;
    }
}

TEST_F(ScannerTest, ExponentWithoutDigitsFailsTheRule) {
    for (const char* text : {"2e;", "2E+;", "2e-x", "2exp(1)"}) {
        startScan(text);
        long double value = 0;
        ParseNumber(value);
        EXPECT_TRUE(ErrRule) << text;
        EXPECT_TRUE(ErrAny) << text;
        ErrRule = ErrAny = false;
    }
}

TEST_F(ScannerTest, ALiteralBeyondTheExtendedRangeOverflows) {
    for (const char* text : {"1E5000;", "2e4932;", "9999e4929;"}) {
        startScan(text);
        long double value = 0;
        EXPECT_THROW(ParseNumber(value), EOverflow) << text;
        EXPECT_FALSE(ErrAny) << text;
    }
    // Underflow is silent.
    startScan("1E-5000;");
    long double value = 1;
    ParseNumber(value);
    EXPECT_EQ(value, 0);
}

TEST_F(ScannerTest, RaisePowerIntegerAndFractionalExponents) {
    const struct {
        long double base, exponent, expected;
    } rows[] = {
        {2, 10, 1024},
        {-2, 3, -8},
        {5, 0, 1},
        {0, 0, 1},
        {0, 4294967296.0L, 1},    // the low 32 bits of 2^32 are 0
        {2, 4294967297.0L, 2},    // ... and of 2^32 + 1 are 1
        {2, 2147483648.0L, 1},    // 2^31 is negative as a 32-bit integer: no step
        {3, 1099511627776.0L, 1}, // 2^40: the low 32 bits are 0 again
        {10, 3, 1000},
        {0.5L, 2, 0.25L},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RaisePower(row.base, row.exponent), row.expected)
            << row.base << "^" << row.exponent;
    }
    // Fractional exponents go through e^(exponent × ln base).
    EXPECT_NEAR(static_cast<double>(RaisePower(2, 0.5L)), std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(RaisePower(4, 2.5L)), 32.0, 1e-14);
    EXPECT_NEAR(static_cast<double>(RaisePower(3, 2.5L)), std::pow(3.0, 2.5), 1e-13); // n = 2
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(ErrAny);
}

TEST_F(ScannerTest, RaisePowerRefusesANonIntegerPowerOfABaseNotPositive) {
    // The message that the evaluator's table spells out for «(-8)^(1/3)».
    evaluate("(-8)^(1/3);");
    ASSERT_EQ(messages.size(), 1u);
    const std::string message = messages[0];
    for (const long double base : {-8.0L, 0.0L, -0.0L}) {
        messages.clear();
        ErrEval = ErrAny = false;
        EXPECT_EQ(RaisePower(base, 1.0L / 3), 0) << base;
        EXPECT_TRUE(ErrEval && ErrAny) << base;
        EXPECT_EQ(messages, std::vector<std::string>{message}) << base;
    }
}

TEST_F(ScannerTest, RaisePowerRaisesForHugeExponentsAndResults) {
    const long double two63 = 9223372036854775808.0L;
    EXPECT_THROW(RaisePower(2, two63), EInvalidOp);
    EXPECT_THROW(RaisePower(2, -two63), EInvalidOp);
    EXPECT_THROW(RaisePower(2, two63 - 0.5L), EInvalidOp); // rounds to 2^63 (even)
    EXPECT_THROW(RaisePower(10, 5000), EOverflow);
    EXPECT_THROW(RaisePower(10, 5000.5L), EOverflow);
    EXPECT_EQ(RaisePower(0.1L, 5000), 0); // underflow is silent
    EXPECT_FALSE(ErrAny);
}

} // namespace
