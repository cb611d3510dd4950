// The readers: accepted texts with their exact values, refused texts with their positions.

#include "Exceptions.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <fpu_control.h>
#include <limits>
#include <string>

namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();

class NumberParse : public ::testing::Test {
protected:
    void SetUp() override { SetRegionalSeparators('.', ','); }
    void TearDown() override { SetRegionalSeparators('.', ','); }
};

TEST_F(NumberParse, RealAcceptsItsForms) {
    struct Row {
        std::string text;
        long double expected;
    };
    const Row rows[] = {
        {"0", 0.0L},
        {"12", 12.0L},
        {" 12", 12.0L},
        {"-3.25", -3.25L},
        {"+7", 7.0L},
        {".", 0.0L},
        {"5.", 5.0L},
        {".5", 0.5L},
        {"+.e1", 0.0L},
        {"E5", 0.0L},
        {"0007", 7.0L},
        {"0.1", 0.1L},
        {"123.456", 123.456L},
        {"2.5E-3", 0.0025L},
        {"1.5e3", 1500.0L},
        {"1E+2", 100.0L},
        {"1E5120", kInf},
        {"-1E5120", -kInf},
        {"1E-5000", 0.0L},
        {"1e99999999999999999999", kInf},
        {"1e-99999999999999999999", 0.0L},
        {"0e99999999999", kInf},
        {"1e4294967297", kInf},
        {std::string("1\0x", 3), 1.0L},
        {"0." + std::string(5000, '0') + "1E5000", 0.1L},
    };
    for (const Row& row : rows) {
        std::int32_t errorPos = -1;
        const long double value = ParseReal(row.text, errorPos);
        EXPECT_EQ(errorPos, 0) << row.text;
        EXPECT_EQ(value, row.expected) << row.text;
    }
    std::int32_t errorPos = -1;
    EXPECT_TRUE(std::signbit(ParseReal("-0", errorPos)));
    const long double denormal = ParseReal("1E-4940", errorPos);
    EXPECT_EQ(errorPos, 0);
    EXPECT_GT(denormal, 0.0L);
    // All fraction digits count in the scale.
    const long double ones = ParseReal("0." + std::string(200, '1') + "E2", errorPos);
    EXPECT_EQ(errorPos, 0);
    EXPECT_NEAR(static_cast<double>(ones), 11.1111111111111, 1e-12);
}

TEST_F(NumberParse, RealRefusesWithPosition) {
    struct Row {
        std::string text;
        std::int32_t position;
    };
    const Row rows[] = {
        {"", 1},
        {"   ", 4},
        {"-", 2},
        {"+", 2},
        {"1x", 2},
        {"1e", 3},
        {"1E+", 4},
        {"1e+x", 4},
        {"1ex", 3},
        {"1.5 ", 4},
        {"12 ", 3},
        {"1,5", 2},
        {"\t1", 1},
        {"--1", 2},
        {"1.2.3", 4},
        {"e", 2},
        {"1e5.", 4},
        {"1E4933x", 7},
        {std::string("\0", 1), 1},
    };
    for (const Row& row : rows) {
        std::int32_t errorPos = 0;
        ParseReal(row.text, errorPos);
        EXPECT_EQ(errorPos, row.position) << '"' << row.text << '"';
    }
}

TEST_F(NumberParse, RealRaisesOverflowBeyondTheRange) {
    std::int32_t errorPos = 0;
    EXPECT_THROW(ParseReal("1E4933", errorPos), EOverflow);
    EXPECT_THROW(ParseReal("-1E4933", errorPos), EOverflow);
    EXPECT_THROW(ParseReal(std::string(5000, '9'), errorPos), EOverflow);
    EXPECT_THROW(ParseReal(std::string(5000, '9') + "E-5000", errorPos), EOverflow);
    EXPECT_TRUE(std::isfinite(ParseReal("1.18E4932", errorPos)));
    // The caller's pending flags are its own: reading neither adds nor removes any.
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(FE_DIVBYZERO);
    EXPECT_THROW(ParseReal("1E4933", errorPos), EOverflow);
    EXPECT_TRUE(std::fetestexcept(FE_DIVBYZERO));
    EXPECT_FALSE(std::fetestexcept(FE_OVERFLOW));
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST_F(NumberParse, IntegerDecimalAndHexadecimal) {
    struct Row {
        std::string text;
        std::int32_t expected;
        std::int32_t position;
    };
    const Row rows[] = {
        {"0", 0, 0},
        {"-0", 0, 0},
        {" 42", 42, 0},
        {"+42", 42, 0},
        {"00012", 12, 0},
        {"2147483647", 2147483647, 0},
        {"-2147483648", std::numeric_limits<std::int32_t>::min(), 0},
        {"x10", 16, 0},
        {"X1f", 31, 0},
        {"0x10", 16, 0},
        {"0XaB", 171, 0},
        {"-$10", -16, 0},
        {"$7fffffff", 2147483647, 0},
        {"$FFFFFFFF", -1, 0},
        {"-$80000000", std::numeric_limits<std::int32_t>::min(), 0},
        {"$123456789", 0, 10},
        {"2147483648", 0, 11},
        {"-2147483649", 0, 12},
        {"99999999999", 0, 10},
        {"0 ", 0, 2},
        {"", 0, 1},
        {"  ", 0, 3},
        {"+", 0, 2},
        {"$", 0, 2},
        {"0x", 0, 3},
        {"12a", 0, 3},
        {"$1G", 0, 3},
        {"1.0", 0, 2},
        {"\t1", 0, 1},
        {std::string("7\0"
                     "8",
                     3),
         7, 0},
    };
    for (const Row& row : rows) {
        std::int32_t errorPos = -1;
        const std::int32_t value = ParseInteger(row.text, errorPos);
        EXPECT_EQ(errorPos, row.position) << '"' << row.text << '"';
        if (row.position == 0) {
            EXPECT_EQ(value, row.expected) << '"' << row.text << '"';
        }
    }
}

TEST_F(NumberParse, RegionalRealAcceptsItsForms) {
    struct Row {
        char separator;
        std::string text;
        long double expected;
    };
    // 1E600 is scaled in three roundings: 10^24 (exact), × 10^64, × 10^512, each entry
    // rounded once. Worked out in exact arithmetic, that ends one unit in the last place below
    // the extended value nearest to 10^600 (0x8EB39714297EFB28p1930).
    const Row rows[] = {
        {'.', " 1E-7 ", 1e-7L}, {'.', "1E", 1.0L},
        {'.', "1e-", 1.0L},     {'.', "1E600", 0x8EB39714297EFB27p1930L},
        {'.', ".", 0.0L},       {'.', "-2.5", -2.5L},
        {'.', "+5.", 5.0L},     {',', ",", 0.0L},
        {',', "0,001", 0.001L}, {',', "-1,5E2", -150.0L},
        {',', "1E-7", 1e-7L},
    };
    for (const Row& row : rows) {
        SetRegionalSeparators(row.separator, ',');
        EXPECT_EQ(ParseRealLocale(row.text), row.expected) << row.text;
    }
}

TEST_F(NumberParse, RegionalRealRefusesWithItsMessage) {
    struct Row {
        char separator;
        std::string text;
    };
    const Row rows[] = {
        {'.', ""},      {'.', "   "},      {'.', "+"},
        {'.', "abc"},   {'.', "1E5000"},   {'.', "1E4999"},
        {'.', "1 2"},   {'.', "1,5"},      {',', "0.001"},
        {'.', "E5"},    {'.', "1x"},       {'.', "\t1"},
        {'.', "1E+-1"}, {'.', "1E-99999"}, {'.', std::string(5000, '9')},
    };
    for (const Row& row : rows) {
        SetRegionalSeparators(row.separator, ',');
        try {
            ParseRealLocale(row.text);
            ADD_FAILURE() << '"' << row.text << "\" was accepted";
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), "'" + row.text + "' is not a valid floating point value");
        }
    }
}

TEST_F(NumberParse, RegionalRealRestoresTheFloatingPointState) {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(FE_DIVBYZERO);
    std::fesetround(FE_TOWARDZERO);
    EXPECT_THROW(ParseRealLocale("1E4999"), EConvertError);
    EXPECT_EQ(ParseRealLocale("0.1"), 0.1L); // read with rounding to nearest
    EXPECT_EQ(std::fegetround(), FE_TOWARDZERO);
    EXPECT_TRUE(std::fetestexcept(FE_DIVBYZERO));
    EXPECT_FALSE(std::fetestexcept(FE_OVERFLOW | FE_INVALID));
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);

    // Read in full precision even when the caller rounds to doubles; the caller's setting
    // comes back.
    fpu_control_t saved;
    _FPU_GETCW(saved);
    fpu_control_t doubles = static_cast<fpu_control_t>((saved & ~_FPU_EXTENDED) | _FPU_DOUBLE);
    _FPU_SETCW(doubles);
    const long double tenth = ParseRealLocale("0.1");
    fpu_control_t after;
    _FPU_GETCW(after);
    _FPU_SETCW(saved);
    EXPECT_EQ(tenth, 0.1L);
    EXPECT_EQ(after, doubles);
}

} // namespace
