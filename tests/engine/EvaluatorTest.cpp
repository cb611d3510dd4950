// Evaluation: values of the operators and functions, the messages of refused arguments, the
// floating-point errors that raise, and the RANDOM generator.

#include "EngineTestSupport.h"

#include "Cp1251.h"
#include "Exceptions.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

using EvaluatorTest = EngineTest;

constexpr long double Pi = 3.14159265358979323846264338327950288L;
// x typed as «1E5120» or «-1E5120».
constexpr long double Inf = std::numeric_limits<long double>::infinity();

TEST_F(EvaluatorTest, FormulaValues) {
    const struct {
        const char* body;
        long double x, expected, tolerance; // tolerance 0: exactly
    } rows[] = {
        {"x;", 3, 3, 0},
        {"2*x+1;", 1, 3, 0},
        {"-x^2;", 3, -9, 0},
        {"2^3^2;", 0, 64, 0},
        {"8/2/2;", 0, 2, 0},
        {"10-3-2;", 0, 5, 0},
        {"-2*3+1;", 0, -5, 0},
        {"(-2)^3;", 0, -8, 0},
        {"2^0;", 0, 1, 0},
        {"(-5)^0;", 0, 1, 0},
        {"2^(-2);", 0, 0.25L, 0},
        {"x^(1-1);", -7, 1, 0},
        {"4^0.5;", 0, 2, 1e-18L},
        {"sin(x)^2 + COS ( x )^2;", 0.7L, 1, 1e-18L},
        {"sin(x)^2 + COS ( x )^2;", -123.25L, 1, 1e-18L},
        {"RAD(180);", 0, Pi, 0},
        {"IF(0);", 0, 1, 0},
        {"IF(-1E-30);", 0, 0, 0},
        {"ARCSEC(2);", 0, Pi / 3, 1e-18L},
        {"ARCCOS(-1);", 0, Pi, 1e-18L},
        {"ARCCOS(0.5);", 0, Pi / 3, 1e-18L},
        {"ARCSIN(1);", 0, Pi / 2, 1e-18L},
        {"ARCSIN(-0.5);", 0, -Pi / 6, 1e-18L},
        {"ARCTAN(1);", 0, Pi / 4, 1e-18L},
        {"LN(EXP(1));", 0, 1, 1e-18L},
        {"LN(8);", 0, 2.07944154167983592825L, 1e-18L},
        {"SQRT(16);", 0, 4, 0},
        {"ABS(-x);", 3, 3, 0},
        {"TAN(x);", 0.5L, std::tan(0.5L), 0},
        {"SIN(1E19);", 0, 0, 0}, // |a| >= 2^63
        {"COS(-1E19);", 0, 0, 0},
        {"SEC(1E19);", 0, 1 / 1E19L, 0},
        {"SEC(0);", 0, 1, 0},
        {"COSH(1E-17);", 0, 1, 0},
        {"COSH(1);", 0, 1.5430806348152437785L, 1e-18L},
        {"SINH(-1E-17);", 0, 0, 0},
        {"SINH(1);", 0, 1.1752011936438014569L, 1e-18L},
        {"EXP(-20000);", 0, 0, 0}, // underflow is silent
        // x = ±∞: an infinite result of an infinite operand raises nothing, and EvalFormula
        // clamps it to ±1E30; a finite result of one is exact.
        {"x*2;", Inf, 1E30L, 0},
        {"x^11357;", Inf, 1E30L, 0},
        {"1E-4933*x;", Inf, 1E30L, 0},
        {"x + x*x;", Inf, 1E30L, 0},
        {"1/(x^2-1);", Inf, 0, 0},
        {"x^4933;", -Inf, -1E30L, 0},
        {"x*2;", -Inf, -1E30L, 0},
        {"(1-x)^0.5;", -Inf, 1E30L, 0},
        {"x^(-3);", -Inf, 0, 0},
        {"x^0;", Inf, 1, 0},
        {"EXP(x);", Inf, 1E30L, 0},
        {"EXP(x);", -Inf, 0, 0},
        {"LN(x);", Inf, 1E30L, 0},
        {"ARCTAN(x);", Inf, Pi / 2, 1e-18L},
        {"ARCTAN(x);", -Inf, -Pi / 2, 1e-18L},
        {"ARCSEC(x);", -Inf, Pi / 2, 1e-18L},
        {"COSH(x);", -Inf, 1E30L, 0},
        {"SINH(x);", -Inf, -1E30L, 0},
        {"RAD(x)-ABS(x);", -Inf, -1E30L, 0},
        {"IF(x)-IF(-x);", -Inf, -1, 0},
        {"RANDOM(x);", Inf, 1E30L, 0},
    };
    for (const auto& row : rows) {
        ErrEval = false;
        messages.clear();
        std::feclearexcept(FE_ALL_EXCEPT);
        long double value = 0;
        EXPECT_NO_THROW(value = evaluate(row.body, row.x)) << row.body << " at " << row.x;
        // A value returned raised nothing, and leaves no error flag for a later check.
        EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0)
            << row.body << " at " << row.x;
        if (row.tolerance == 0) {
            EXPECT_EQ(value, row.expected) << row.body << " at " << row.x;
        } else {
            EXPECT_NEAR(static_cast<double>(value - row.expected), 0.0,
                        static_cast<double>(row.tolerance))
                << row.body << " at " << row.x;
        }
    }
}

TEST_F(EvaluatorTest, RefusedArgumentsShowTheirMessageOnce) {
    const struct {
        const char* body;
        long double x;
        const char* message;
    } rows[] = {
        {"LN(0);", 0, "Ошибка: аргумент логарифма = 0"},
        {"LN(x);", -2.5L, "Ошибка: аргумент логарифма = -2.5"},
        {"SQRT(-4);", 0, "Ошибка:  отрицательный аргумент корня квадратного -4.00000"},
        {"1/(x-x);", 5, "Ошибка:  деление на 0 "},
        {"1/x;", 0, "Ошибка:  деление на 0 "},
        {"1/0.5^20000;", 0, "Ошибка:  деление на 0 "},
        {"0^0;", 0, "Ошибка: 0 в степени 0.000"},
        {"0^(-1);", 0, "Ошибка: 0 в степени -1.000"},
        {"0^0.5;", 0, " Нецелая степень отрицательного числа "},
        {"(-8)^(1/3);", 0, " Нецелая степень отрицательного числа "},
        {"(-8)^(-1/3);", 0, " Нецелая степень отрицательного числа "},
        {"ARCCOS(x);", 1.5L, "Ошибка:  Аргумент ArcCos должен быть меньше или равен 1."},
        {"ARCSEC(0.5);", 0, "Ошибка: Аргумент ArcSec должен быть больше или равен 1."},
        {"ARCSEC(0);", 0, "Ошибка: Аргумент ArcSec должен быть больше или равен 1."},
        {"ARCSIN(-1.5);", 0, "Ошибка: Аргумент ArcSin должен быть меньше или равен 1. "},
        {"LN(x);", -Inf, "Ошибка: аргумент логарифма = -INF"},
        {"SQRT(x);", -Inf, "Ошибка:  отрицательный аргумент корня квадратного -Inf"},
        // The right operand is not evaluated after the left one has failed.
        {"1/0 + LN(-1);", 0, "Ошибка:  деление на 0 "},
        {"SIN(SQRT(-4)/0);", 0, "Ошибка:  отрицательный аргумент корня квадратного -4.00000"},
    };
    for (const auto& row : rows) {
        messages.clear();
        ErrEval = false;
        EXPECT_EQ(evaluate(row.body, row.x), 0) << row.body;
        EXPECT_TRUE(ErrEval) << row.body;
        EXPECT_TRUE(ErrAny) << row.body;
        EXPECT_EQ(messages, std::vector<std::string>{cp1251(row.message)}) << row.body;
    }
}

TEST_F(EvaluatorTest, NoMessageWhileErrEvalIsSet) {
    parse("f(x) = LN(x);");
    ErrEval = true;
    EXPECT_EQ(EvalFormula(0), 0);
    EXPECT_EQ(EvalFormula(2), 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(ErrAny);
}

TEST_F(EvaluatorTest, NothingIsComputedWhileErrEvalIsSet) {
    // x*x at 1E4000 would overflow; with ErrEval set no operation takes place.
    parse("f(x) = x*x;");
    ErrEval = true;
    EXPECT_EQ(EvalFormula(1E4000L), 0);
    EXPECT_EQ(EvalNode(TreeRoot.get(), 1E4000L), 0);
    EXPECT_TRUE(ErrAny);
    // A leaf gives its value, as its evaluation tests nothing.
    ErrAny = false;
    EXPECT_EQ(EvalNode(TreeRoot->LeftNode.get(), 5), 5);
    parse("f(x) = 2.5;");
    ErrEval = true;
    ErrAny = false;
    EXPECT_EQ(EvalNode(TreeRoot.get(), 5), 2.5L);
    EXPECT_FALSE(ErrAny);
    EXPECT_EQ(EvalFormula(5), 0);
    EXPECT_TRUE(ErrAny);
    EXPECT_TRUE(messages.empty());
}

// "^" on every path of the power routine, with values worked by hand: a square (one product),
// other integer exponents by repeated squaring, negative exponents as 1 / power, fractional
// ones through e^(exponent × ln base). Results that leave the range are in the table below.
TEST_F(EvaluatorTest, PowersGiveWorkedValuesOnEveryPath) {
    const long double twoTo8191 = std::ldexp(1.0L, 8191);
    const struct {
        const char* body;
        long double x, expected, tolerance; // tolerance 0: exactly, sign of zero included
    } rows[] = {
        // Squares, spelt three ways.
        {"x^2;", 3, 9, 0},
        {"x^(5-3);", -7.25L, 52.5625L, 0},
        {"(x)^(4/2);", -0.0L, 0, 0},
        {"x^2;", -1.5E-3000L, 0, 0},                                    // underflows to +0
        {"x^2;", std::ldexp(1.0L, -8200), std::ldexp(1.0L, -16400), 0}, // a denormal
        {"x^2;", -twoTo8191, 1E30L, 0}, // 2^16382 still fits: clamped, not an overflow
        // Repeated squaring: 13 is 1101 in binary.
        {"x^13;", 2, 8192, 0},
        {"x^5;", 1.5L, 7.59375L, 0},
        {"(-3)^3;", 0, -27, 0},
        {"x^10;", -2, 1024, 0},
        {"x^4294967297;", -1, -1, 0}, // only the low 32 bits of the exponent count: 1
        {"0^3;", 0, 0, 0},
        // Negative exponents: 1 / power.
        {"x^(-2);", 4, 0.0625L, 0},
        {"x^(-3);", -2, -0.125L, 0},
        {"10^(-2);", 0, 0.01L, 0}, // 1 / 100, rounded once
        // Fractional exponents.
        {"x^0.5;", 2, 1.41421356237309504880L, 1e-18L},
        {"x^1.5;", 4, 8, 1e-17L},
        {"x^(-0.5);", 4, 0.5L, 1e-18L},
        {"8^(1/3);", 0, 2, 2e-18L},
        {"0.5^20000;", 0, 0, 0}, // underflow is silent
    };
    for (const auto& row : rows) {
        long double value = 0;
        EXPECT_NO_THROW(value = evaluate(row.body, row.x)) << row.body << " at " << row.x;
        if (row.tolerance == 0) {
            EXPECT_EQ(value, row.expected) << row.body << " at " << row.x;
            EXPECT_EQ(std::signbit(value), std::signbit(row.expected))
                << row.body << " at " << row.x;
        } else {
            EXPECT_NEAR(static_cast<double>(value - row.expected), 0.0,
                        static_cast<double>(row.tolerance))
                << row.body << " at " << row.x;
        }
        EXPECT_FALSE(ErrEval || ErrAny) << row.body << " at " << row.x;
    }
}

TEST_F(EvaluatorTest, FloatingPointErrorsRaiseAndSetNoFlag) {
    const long double big = 1E4000L;
    const struct {
        const char* body;
        long double x;
        int kind; // 0 EOverflow, 1 EZeroDivide, 2 EInvalidOp
    } rows[] = {
        {"EXP(20000);", 0, 0},
        {"10^5000;", 0, 0},
        {"10^5000.5;", 0, 0},
        {"x*x;", big, 0},
        {"x+x;", 1.1E4932L, 0},
        {"-x-x;", 1.1E4932L, 0},
        {"x/1E-4000;", big, 0},
        {"COSH(20000);", 0, 0},
        {"COSH(-20000);", 0, 0},
        {"SINH(-20000);", 0, 0},
        {"RAD(x);", 1.1E4932L, 0},
        {"x^(-2);", 1E-2470L, 0},
        {"x^2;", 1E2467L, 0},
        {"x^(6-4);", -1.1E4932L, 0},
        {"x^3;", 1E1700L, 0},
        {"x^2.5;", 1E2000L, 0},
        {"0.5^(-20000);", 0, 1},
        {"x^(-1);", 1E-4940L, 0},
        {"TAN(1E19);", 0, 2},
        {"TAN(-x);", 9223372036854775808.0L, 2},
        {"2^1E19;", 0, 2},
        {"2^(-1E19);", 0, 2},
        // x = ±∞: ∞/∞, ∞ − ∞, 0·∞ and an exponent too large to round are invalid; the
        // sine, cosine and tangent refuse an infinite angle; a finite operation beside an
        // infinite x still overflows.
        {"x/(x-3);", Inf, 2},
        {"0.5^(-x*10);", Inf, 2},
        {"x-x;", Inf, 2},
        {"x + x*x;", -Inf, 2},
        {"x-x;", -Inf, 2},
        {"0*x;", Inf, 2},
        {"SIN(x);", Inf, 2},
        {"COS(x);", -Inf, 2},
        {"SEC(x);", Inf, 2},
        {"TAN(x);", -Inf, 2},
        {"x^x;", Inf, 2},
        {"x+EXP(20000);", Inf, 0},
        {"x*(2^16383*2);", Inf, 0},
        {"x*0.5^(-20000);", Inf, 1},
    };
    for (const auto& row : rows) {
        parse(std::string("f(x) = ") + row.body);
        ASSERT_FALSE(ErrAny) << row.body;
        switch (row.kind) {
        case 0:
            EXPECT_THROW(EvalFormula(row.x), EOverflow) << row.body;
            break;
        case 1:
            EXPECT_THROW(EvalFormula(row.x), EZeroDivide) << row.body;
            break;
        default:
            EXPECT_THROW(EvalFormula(row.x), EInvalidOp) << row.body;
        }
        EXPECT_FALSE(ErrEval || ErrAny) << row.body;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(EvaluatorTest, RandomStartsFromSeedZero) {
    parse("f(x) = RANDOM(1);");
    EXPECT_EQ(EvalFormula(0), 1 / 4294967296.0L);
    EXPECT_EQ(EvalFormula(0), (134775813.0L + 1) / 4294967296.0L);
    ResetEngineState();
    LetterSet.set('R').set('A').set('N').set('D').set('O').set('M');
    parse("f(x) = RANDOM(x);");
    EXPECT_EQ(EvalFormula(8), 8 / 4294967296.0L);
}

TEST_F(EvaluatorTest, AnIncompleteTreeIsAnEvaluationErrorWithoutMessage) {
    // A function node whose argument was never stored, and no tree at all.
    ExprNode sine;
    sine.NodeKind = ExprNodeKind::Function;
    sine.FuncIndex = 0;
    EXPECT_EQ(EvalNode(&sine, 1), 0);
    EXPECT_TRUE(ErrEval && ErrAny);

    ErrEval = ErrAny = false;
    EXPECT_EQ(EvalFormula(1), 0);
    EXPECT_TRUE(ErrEval && ErrAny);
    EXPECT_TRUE(messages.empty());
}

// The message box of an evaluation error runs a nested event loop, where another command may
// parse a new formula and free the tree. The message comes once the evaluation has left the
// tree, so it never goes on in freed nodes (here the "+1" after the failed division).
TEST_F(EvaluatorTest, TheMessageComesAfterTheEvaluationHasLeftTheTree) {
    const struct {
        const char* body;
        long double x;
        bool whole; // EvalFormula, or EvalNode on the tree
        const char* message;
    } rows[] = {
        {"1/x+1;", 0, true, "Ошибка:  деление на 0 "},
        {"1/x+1;", 0, false, "Ошибка:  деление на 0 "},
        {"2*SQRT(x)+x;", -4, true, "Ошибка:  отрицательный аргумент корня квадратного -4.00000"},
        {"(LN(x)+1)*(x+1);", 0, false, "Ошибка: аргумент логарифма = 0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.body);
        parse(std::string("f(x) = ") + row.body);
        ASSERT_FALSE(ErrAny);
        messages.clear();
        long double inHook = -1;
        SetEngineMessageHook([&](const std::string& text) {
            messages.push_back(text);
            parse("f(x) = 2*x+5;");
            inHook = EvalFormula(2);
        });
        const long double value = row.whole ? EvalFormula(row.x) : EvalNode(TreeRoot.get(), row.x);
        SetEngineMessageHook([this](const std::string& text) { messages.push_back(text); });
        EXPECT_EQ(value, 0);
        EXPECT_EQ(messages, std::vector<std::string>{cp1251(row.message)});
        // The hook found the engine free: its own formula evaluated in full.
        EXPECT_EQ(inHook, 9);
        ErrEval = false;
        EXPECT_EQ(EvalFormula(1), 7);
    }
}

} // namespace
