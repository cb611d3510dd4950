// The calculation command on the engine's real state: normalisation, result texts, messages.

#include "Calculation.h"
#include "AppTestSupport.h"
#include "CalculatorState.h"
#include "Cp1251.h"
#include "Exceptions.h"
#include "zorvo3.h"

#include <optional>

namespace {

class CalculationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The calculator window fills the letters on activation; the command relies on it.
        FillLetterSet();
    }
    std::optional<std::string> run(const std::string& memo, const std::string& x = "1",
                                   const std::string& digits = "3", bool exponential = false) {
        return Calculate({cp1251(memo), cp1251(x), cp1251(digits), exponential}, toolkit);
    }
};

TEST_F(CalculationTest, NormalisesTheMemoIntoTheStatement) {
    struct Row {
        const char* memo;
        const char* formulaText;
    };
    const Row rows[] = {
        {"2*X;", "f(x) = 2*x;"}, {"1+\r\n2;", "f(x) = 1+  2;"},
        {"1;2;", "f(x) = 1;"},   {"x+1", "f(x) = "},
        {"\tx;", "f(x) =  x;"},  {"2*Х;", "f(x) = 2*Х;"}, // Cyrillic capital Х stays
    };
    for (const Row& row : rows) {
        run(row.memo);
        EXPECT_EQ(fromCp1251(FormulaText), row.formulaText) << row.memo;
        EXPECT_EQ(fromCp1251(FormulaLine), row.memo) << row.memo;
        EXPECT_EQ(FormulaLen, FormulaText.size()) << row.memo;
    }
}

TEST_F(CalculationTest, ResultTextsFollowTheDigitCountAndForm) {
    struct Row {
        const char* memo;
        const char* x;
        const char* digits;
        bool exponential;
        const char* caption;
    };
    const Row rows[] = {
        {"1/3;", "1", "3", false, "Результат=           0.333"},
        {"1/3;", "1", "3", true, "Результат=  3.333E-0001"},
        {"-2/3;", "1", "3", false, "Результат=          -0.667"},
        {"-2/3;", "1", "3", true, "Результат= -6.667E-0001"},
        {"1/3;", "1", "0", false, "Результат=               0"},
        {"1/3;", "1", "0", true, "Результат=  3.3E-0001"},
        {"1/3;", "1", "$A", false, "Результат=    0.3333333333"},
        {"1/3;", "1", "x10", false, "Результат= 0.3333333333333333"},
        {"2*x+1;", " 1.5", "2", false, "Результат=            4.00"},
        {"2*X + 1;", "2", "1", false, "Результат=             5.0"},
        {"sin(x)^2 + COS ( x )^2;", "0.7", "3", false, "Результат=           1.000"},
        // An evaluation error shows its message; the value is the error result 0.
        {"1/(x-x);", "1", "3", false, "Результат=           0.000"},
    };
    for (const Row& row : rows) {
        const std::optional<std::string> caption =
            run(row.memo, row.x, row.digits, row.exponential);
        ASSERT_TRUE(caption.has_value()) << row.memo << " " << row.digits;
        EXPECT_EQ(fromCp1251(*caption), row.caption) << row.memo << " " << row.digits;
    }
}

TEST_F(CalculationTest, DigitCountMinusOneWrapsTo65535) {
    std::optional<std::string> caption = run("1/3;", "1", "-1");
    EXPECT_EQ(DigitCount, 65535);
    ASSERT_TRUE(caption);
    // "Результат= " (11 characters) + "0." + 216 decimals.
    EXPECT_EQ(caption->size(), 11u + 2u + 216u);
    caption = run("1/3;", "1", "-1", true);
    ASSERT_TRUE(caption);
    ASSERT_EQ(caption->size(), 11u + 255u);
    const std::string field = caption->substr(11);
    EXPECT_EQ(field.find_first_not_of(' '), 230u); // 229 blanks and the sign place
    EXPECT_EQ(field.substr(230, 4), "3.33");
    EXPECT_EQ(field.substr(field.size() - 6), "E-0001");
}

TEST_F(CalculationTest, EachInputErrorShowsItsMessageAndKeepsTheResultField) {
    struct Row {
        const char* memo;
        const char* x;
        const char* digits;
        const char* message;
        bool captionChanges;
    };
    const Row rows[] = {
        {"1;", "1.5 ", "3", "Неверно записано число Х", false},
        {"1;", "1,5", "3", "Неверно записано число Х", false},
        {"1;", "", "3", "Неверно записано число Х", false},
        {"1;", "1", "3.5", "Неверно записано число цифр дробной части", false},
        {"1;", "1", "", "Неверно записано число цифр дробной части", false},
        {"x+1", "1", "3", "Где-то в выражении ошибка...Исправьте и повторите попытку", true},
        {"2x;", "1", "3", "Где-то в выражении ошибка...Исправьте и повторите попытку", true},
        {"2*-x;", "1", "3", "Где-то в выражении ошибка...Исправьте и повторите попытку", true},
        {"ARCTANH(x);", "1", "3", "Где-то в выражении ошибка...Исправьте и повторите попытку",
         true},
    };
    for (const Row& row : rows) {
        toolkit.calls.clear();
        const std::optional<std::string> caption = run(row.memo, row.x, row.digits);
        ASSERT_EQ(toolkit.Messages().size(), 1u) << row.memo << " " << row.x << " " << row.digits;
        EXPECT_EQ(fromCp1251(toolkit.Messages()[0]), row.message) << row.memo << " " << row.x;
        EXPECT_EQ(caption.has_value(), row.captionChanges) << row.memo << " " << row.x;
        if (caption) {
            EXPECT_EQ(fromCp1251(*caption), "Результат= ");
            EXPECT_TRUE(ErrAny);
        }
    }
}

TEST_F(CalculationTest, NumberFieldErrorLeavesThePreviousTreeAndErrAny) {
    ASSERT_TRUE(run("x*2;", "4"));
    const ExprNode* tree = TreeRoot.get();
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(run("x*3;", "bad"));
    EXPECT_EQ(TreeRoot.get(), tree);
    EXPECT_FALSE(ErrAny);
    // Steps before the check have run: the statement text is already the new one.
    EXPECT_EQ(FormulaText, "f(x) = x*3;");
    EXPECT_FALSE(run("x*3;", "1", "z"));
    EXPECT_EQ(TreeRoot.get(), tree);
}

TEST_F(CalculationTest, EvaluationErrorLeavesErrAnySetForTheGraphWindow) {
    const std::optional<std::string> caption = run("LN(x-1);", "1");
    ASSERT_TRUE(caption);
    EXPECT_TRUE(ErrAny);
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0], LogarithmMessage() + "0");
}

TEST_F(CalculationTest, OverlongTextsAreRefusedAsAFaultyFormula) {
    // The longest statement the engine's 8-bit counters hold: "f(x) = " and 248 characters.
    std::string longest = "x";
    while (longest.size() < 245) {
        longest += "+x";
    }
    longest += "+1;"; // 248 characters
    ASSERT_EQ(longest.size(), 248u);
    std::optional<std::string> caption = run(longest, "1", "0");
    ASSERT_TRUE(caption);
    EXPECT_EQ(fromCp1251(*caption), "Результат=             124");
    EXPECT_EQ(FormulaLen, 255);

    const struct {
        std::string memo;
        const char* why;
    } refused[] = {
        {"1+" + longest, "statement of 257 characters"},
        {"1;" + std::string(65534, ' '), "memo of 65,536 characters"},
    };
    for (const auto& row : refused) {
        toolkit.calls.clear();
        caption = run(row.memo);
        ASSERT_TRUE(caption) << row.why;
        EXPECT_EQ(fromCp1251(*caption), "Результат= ") << row.why;
        ASSERT_EQ(toolkit.Messages().size(), 1u) << row.why;
        EXPECT_EQ(toolkit.Messages()[0], BadFormulaMessage()) << row.why;
        EXPECT_TRUE(ErrAny) << row.why;
    }
    // A memo of exactly 65,535 characters with a short statement is still calculated.
    caption = run("1;" + std::string(65533, ' '));
    ASSERT_TRUE(caption);
    EXPECT_EQ(fromCp1251(*caption), "Результат=           1.000");
}

TEST_F(CalculationTest, OverflowingXLeavesTheCommandAsAnException) {
    EXPECT_THROW(run("x;", "1E5000"), EOverflow);
    EXPECT_TRUE(toolkit.Messages().empty());
}

} // namespace
