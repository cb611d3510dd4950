// The writers, the power-of-ten scaling and the regional separators, checked on exact texts.

#include "DecimalDigits.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();
const long double kNan = std::numeric_limits<long double>::quiet_NaN();

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

class NumberFormat : public ::testing::Test {
protected:
    void SetUp() override { SetRegionalSeparators('.', ','); }
};

TEST_F(NumberFormat, FixedFormRoundsAndRightJustifies) {
    struct Row {
        const char* name;
        long double value;
        int width;
        int decimals;
        std::string expected;
    };
    const Row rows[] = {
        {"third", 1.0L / 3, 15, 3, Blanks(10) + "0.333"},
        {"minus two thirds", -2.0L / 3, 15, 3, Blanks(9) + "-0.667"},
        {"half rounds up", 2.5L, 15, 0, Blanks(14) + "3"},
        {"negative half", -2.5L, 15, 0, Blanks(13) + "-3"},
        {"two decimals", 123.456L, 15, 2, Blanks(9) + "123.46"},
        {"negative zero result keeps sign", -0.0001L, 15, 3, Blanks(9) + "-0.000"},
        {"negative zero", -0.0L, 6, 2, Blanks(1) + "-0.00"},
        {"ten to the 30", 1e30L, 15, 3, "1000000000000000000000000000000.000"},
        {"17 digits then zeros", 1.0L / 3, 15, 20, "0.33333333333333333000"},
        {"carry into a new integer digit", 9.9996L, 15, 3, Blanks(9) + "10.000"},
        {"narrow width never cuts", 123.456L, 1, 2, "123.46"},
        {"twelve", 12.0L, 1, 0, "12"},
        {"below 5E-18 is zeros", 4e-18L, 1, 20, "0.00000000000000000000"},
        {"scientific from 1E37", 1e37L, 15, 3, " 1.000000E+0037"},
        {"1E36 stays fixed", 1e36L, 1, 3, "1" + std::string(36, '0') + ".000"},
        {"plus infinity", kInf, 15, 3, Blanks(11) + "+Inf"},
        {"minus infinity", -kInf, 2, 3, "-Inf"},
        {"not a number", kNan, 5, 3, "  Nan"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatFixed(row.value, row.width, row.decimals), row.expected) << row.name;
    }
}

TEST_F(NumberFormat, FixedFormLimitsDecimalsAndWidth) {
    const std::string capped = FormatFixed(1.0L / 3, 15, 216);
    EXPECT_EQ(FormatFixed(1.0L / 3, 15, 65535), capped);
    EXPECT_EQ(capped.size(), 218u);
    // The widest text: 37 integer digits (after a carry), the point and 216 decimals.
    const std::string widest = FormatFixed(-9.9999999999999999e36L, 300, 216);
    EXPECT_EQ(widest.size(), 255u);
    EXPECT_EQ(FormatFixed(1.0L, 400, 0), Blanks(254) + "1");
}

TEST_F(NumberFormat, ScientificFormRoundsToWidth) {
    struct Row {
        const char* name;
        long double value;
        int width;
        std::string expected;
    };
    const Row rows[] = {
        {"third", 1.0L / 3, 12, " 3.333E-0001"},
        {"minus two thirds", -2.0L / 3, 12, "-6.667E-0001"},
        {"zero", 0.0L, 12, " 0.000E+0000"},
        {"negative zero", -0.0L, 10, "-0.0E+0000"},
        {"at least two digits", 1.0L / 3, 9, " 3.3E-0001"},
        {"rounding runs out of digits", 9.9999L, 10, " 1.0E+0001"},
        {"mantissa of ten or more rounds", 10.56L, 10, " 1.1E+0001"},
        {"mantissa of ten or more keeps digits", 12.345L, 12, " 1.235E+0001"},
        {"eighteen digits", 1.0L / 3, 26, " 3.33333333333333333E-0001"},
        {"padded", 1234.5L, 14, " 1.23450E+0003"},
        {"largest", LDBL_MAX, 12, " 1.190E+4932"},
        {"denormal", LDBL_TRUE_MIN, 12, " 3.645E-4951"},
        {"infinity", -kInf, 8, "    -Inf"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatScientific(row.value, row.width), row.expected) << row.name;
    }
    const std::string widest = FormatScientific(1.0L / 3, 65544);
    EXPECT_EQ(widest, Blanks(229) + " 3.33333333333333333E-0001");
    EXPECT_EQ(FormatFixed(2.5L, 12, -1), " 2.500E+0000");
}

TEST_F(NumberFormat, GeneralFormExamples) {
    struct Row {
        const char* name;
        long double value;
        std::string expected;
    };
    const Row rows[] = {
        {"zero", 0.0L, "0"},
        {"negative zero", -0.0L, "0"},
        {"denormal", LDBL_TRUE_MIN, "0"},
        {"hundred", 100.0L, "100"},
        {"minus two and a half", -2.5L, "-2.5"},
        {"third", 1.0L / 3, "0.333333333333333"},
        {"two thirds", 2.0L / 3, "0.666666666666667"},
        {"ten thousandth", 0.0001L, "0.0001"},
        {"hundred thousandth", 0.00001L, "1E-5"},
        {"1E-7", 1e-7L, "1E-7"},
        {"negative small", -1.5e-10L, "-1.5E-10"},
        {"fifteen digits", 123456789012345.0L, "123456789012345"},
        {"1E15", 1e15L, "1E15"},
        {"sixteen digits", 1234567890123456.0L, "1.23456789012346E15"},
        {"rounding carries", 9.9999999999999999L, "10"},
        {"estimate one too high", 9.98e-206L, "9.98E-206"},
        {"largest", LDBL_MAX, "1.18973149535723E4932"},
        {"smallest normal", LDBL_MIN, "3.36210314311209E-4932"},
        {"infinity", kInf, "INF"},
        {"minus infinity", -kInf, "-INF"},
        {"not a number", kNan, "NAN"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatGeneral(row.value), row.expected) << row.name;
    }
}

TEST_F(NumberFormat, GeneralFormReadsBackAcrossTheRange) {
    // Values at every few decades, each just below a power of ten where the first estimate of
    // the decimal exponent can be one too high: the text reads back to 15 digits.
    for (int e = -4930; e <= 4931; e += 7) {
        for (long double mantissa : {9.98L, 1.0L, 3.14159265358979L}) {
            const long double value = ScaleByPowerOfTen(mantissa, e);
            const std::string text = FormatGeneral(value);
            std::int32_t errorPos = 0;
            const long double back = ParseReal(text, errorPos);
            ASSERT_EQ(errorPos, 0) << text;
            ASSERT_LT(std::fabs(back - value) / value, 1e-14L) << e << ": " << text;
        }
    }
}

TEST_F(NumberFormat, GeneralFormStartsWithASignificantDigit) {
    // Powers of two are where the exponent estimate from the binary exponent is most often one
    // too high; the exponent form must still start with a digit other than "0" and keep 15.
    for (int b = -16382; b <= 16383; ++b) {
        const long double value = std::ldexp(1.0L, b);
        const std::string text = FormatGeneral(value);
        if (text.find('E') != std::string::npos) {
            ASSERT_NE(text[0], '0') << b << ": " << text;
        }
    }
    EXPECT_EQ(FormatGeneral(std::ldexp(1.0L, -16382)), "3.36210314311209E-4932");
    EXPECT_EQ(FormatGeneral(std::ldexp(1.0L, 16383)), "5.94865747678616E4931");
}

TEST_F(NumberFormat, GeneralFormUsesTheRegionalSeparator) {
    SetRegionalSeparators(',', '\xA0');
    EXPECT_EQ(FormatGeneral(1.0L / 3), "0,333333333333333");
    EXPECT_EQ(FormatGeneral(-1.5e-10L), "-1,5E-10");
    EXPECT_EQ(FormatFixed(1.5L, 1, 1), "1.5"); // the result fields always use "."
}

TEST_F(NumberFormat, PowerOfTenScaling) {
    // Single table entries: 10^e rounded once to 64 significant bits, and the quotient 1 / that
    // rounded once more, worked out in exact integer arithmetic.
    const struct {
        int e;
        long double power, inverse;
    } rows[] = {
        {1, 0xA000000000000000p-60L, 0xCCCCCCCCCCCCCCCDp-67L},
        {17, 0xB1A2BC2EC5000000p-7L, 0xB877AA3236A4B449p-120L},
        {31, 0xFC6F7C4045812296p39L, 0x81CEB32C4B43FCF5p-166L},
        {32, 0x9DC5ADA82B70B59Ep43L, 0xCFB11EAD453994BAp-170L},
        {480, 0xB83ED8DC0795A262p1531L, 0xB1D983B479007737p-1658L},
        {512, 0xE319A0AEA60E91C7p1637L, 0x9049EE32DB23D21Cp-1764L},
        {4608, 0xAE3511626ED559F0p15244L, 0xBC1905F3E898CCA3p-15371L},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ScaleByPowerOfTen(1.0L, row.e), row.power) << row.e;
        EXPECT_EQ(ScaleByPowerOfTen(1.0L, -row.e), row.inverse) << row.e;
    }
    EXPECT_EQ(ScaleByPowerOfTen(3.5L, 0), 3.5L);
    EXPECT_EQ(ScaleByPowerOfTen(0.0L, 5120), kInf);
    EXPECT_EQ(ScaleByPowerOfTen(-1.0L, 5120), kInf);
    EXPECT_EQ(ScaleByPowerOfTen(1e300L, -5120), 0.0L);
    EXPECT_EQ(ScaleByPowerOfTen(1.0L, 5119), kInf); // beyond the range: overflow
    EXPECT_TRUE(std::isfinite(ScaleByPowerOfTen(1.0L, 4932)));
    EXPECT_GT(ScaleByPowerOfTen(1.0L, -4950), 0.0L); // a denormal
}

TEST_F(NumberFormat, DecimalDigitsOfAMantissa) {
    struct Row {
        long double a;
        int n;
        bool carry;
        std::string digits;
    };
    const Row rows[] = {
        {2.5L, 1, false, "3"},    {2.4999L, 1, false, "2"},
        {9.9999L, 2, true, "00"}, {12.0L, 3, true, "200"},
        {0.0L, 2, false, "00"},   {1.0L / 3, 20, false, "03333333333333333300"},
    };
    for (const Row& row : rows) {
        const DigitText text = DigitString(row.a, row.n);
        EXPECT_EQ(text.carry, row.carry) << row.a << " " << row.n;
        EXPECT_EQ(text.digits, row.digits) << row.a << " " << row.n;
    }
    const ScaledDecimal thousand = ScaleDecimal(1000.0L);
    EXPECT_EQ(thousand.mantissa, 10.0L);
    EXPECT_EQ(thousand.exponent, 2);
    const ScaledDecimal tiny = ScaleDecimal(LDBL_TRUE_MIN);
    EXPECT_GE(tiny.mantissa, 1.0L);
    EXPECT_LT(tiny.mantissa, 16.0L);
}

// Sets the locale variables for one test and puts the old ones back.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char* all, const char* numeric, const char* lang) {
        Set("LC_ALL", all);
        Set("LC_NUMERIC", numeric);
        Set("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        ReloadRegionalSettings();
    }

private:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(RegionalSettings, ReadFromTheLocaleEnvironment) {
    struct Row {
        const char* name;
        const char* all;
        const char* numeric;
        const char* lang;
        char decimal;
        char thousand;
    };
    const Row rows[] = {
        {"nothing set", nullptr, nullptr, nullptr, '.', ','},
        {"Russian language", nullptr, nullptr, "ru_RU.UTF-8", ',', '\xA0'},
        {"Russian numbers", "", "ru_RU.CP1251", "en_US.UTF-8", ',', '\xA0'},
        {"LC_ALL first", "C", "ru_RU", "ru_RU", '.', ','},
        {"C locale", nullptr, nullptr, "C.UTF-8", '.', ','},
        {"unknown locale", nullptr, nullptr, "xx_YY", '.', ','},
        {"not Russian", nullptr, nullptr, "rup", '.', ','},
    };
    for (const Row& row : rows) {
        const LocaleEnvironment environment(row.all, row.numeric, row.lang);
        ReloadRegionalSettings();
        EXPECT_EQ(DecimalSeparator(), row.decimal) << row.name;
        EXPECT_EQ(ThousandSeparator(), row.thousand) << row.name;
    }
    // The process's own locale is left alone.
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

} // namespace
