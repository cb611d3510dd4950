// The grammar: the trees it builds, the texts it refuses, and what TreeRoot holds afterwards.

#include "EngineTestSupport.h"

#include "Cp1251.h"
#include "Exceptions.h"

namespace {

using ParserTest = EngineTest;

TEST_F(ParserTest, StatementsBuildTheseTrees) {
    const struct {
        const char* text;
        const char* tree;
    } rows[] = {
        {"f(x) = -2*SIN(x)^2+1;", "(+ (neg (* 2 (^ (SIN x) 2))) 1)"},
        {"f(x) = 2^3^2;", "(^ (^ 2 3) 2)"},
        {"f(x) = 2^3*2;", "(* (^ 2 3) 2)"},
        {"f(x) = 8/2/2;", "(/ (/ 8 2) 2)"},
        {"f(x) = 10-3-2;", "(- (- 10 3) 2)"},
        {"f(x) = -2^2;", "(neg (^ 2 2))"},
        {"f(x) = -2*3+1;", "(+ (neg (* 2 3)) 1)"},
        {"f(x) = 2^(-1);", "(^ 2 (neg 1))"},
        {"f(x) = 2*(-3);", "(* 2 (neg 3))"},
        {"f(x)=+x;", "x"},
        {"f(x) = ((x));", "x"},
        {"F(x)=x;", "x"},
        {"f ( x ) = sin ( x ) ;", "(SIN x)"},
        {"f(x) =\r1\r+ x;", "(+ 1 x)"},
        {"f(x) = Sin(x)^2 + COS ( x )^2;", "(+ (^ (SIN x) 2) (^ (COS x) 2))"},
        {"f(x) = random(arcsec(sqrt(x)));", "(RANDOM (ARCSEC (SQRT x)))"},
        {"f(x) = if(rad(x))-sinh(cosh(x))/sec(tan(x));",
         "(- (IF (RAD x)) (/ (SINH (COSH x)) (SEC (TAN x))))"},
        {"f(x) = arcSin(arccos(arctan(abs(exp(ln(x))))));",
         "(ARCSIN (ARCCOS (ARCTAN (ABS (EXP (LN x))))))"},
        {"f(x) = 1.5e1 * x;", "(* 15 x)"},
    };
    for (const auto& row : rows) {
        parse(row.text);
        EXPECT_FALSE(ErrAny) << row.text;
        EXPECT_EQ(printTree(TreeRoot.get()), row.tree) << row.text;
        // The scan stops on the ";" with CurChar made a blank.
        EXPECT_EQ(CurChar, ' ') << row.text;
        EXPECT_EQ(FormulaText[ScanPos - 1], ';') << row.text;
    }
}

TEST_F(ParserTest, SyntaxErrorsSetTheFlagsAndShowNothing) {
    const char* rows[] = {
        "f(x) = ARCTANH(x);", "f(x) = SINX(x);", "f(x) = 2x;",      "f(x) = 2*-x;",
        "f(x) = 2^-1;",       "f(x) = (x;",      "f(x) = x",        "f(x) = X;",
        "f(x) = 1 000;",      "f(x) = 1\t+2;",   "f(x) = 1\n+2;",   "f(y) = x;",
        "f(x) == x;",         "f(x) = ;",        "f(x) = x+;",      "f(x) = sin x;",
        "f(x) = sin();",      "f(x) = 2e+;",     "f(x) = 2exp(1);", "f(x) = .5;",
        "f(x) = s1n(x);",     "f(x) = x)",       "f(x) = ++x;",     "f(x) = ",
        "f(x) = sinsin(x);",  "f(x) = x x;",
    };
    for (const char* text : rows) {
        parse(text);
        EXPECT_TRUE(ErrRule) << text;
        EXPECT_TRUE(ErrAny) << text;
        EXPECT_FALSE(ErrEval) << text;
        EXPECT_EQ(TreeRoot, nullptr) << text;
    }
    // A Cyrillic capital Х is not the variable.
    parse(cp1251("f(x) = Х;"));
    EXPECT_TRUE(ErrRule);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ParserTest, FunctionNamesNeedLetterSet) {
    LetterSet.reset();
    parse("f(x) = SIN(x);");
    EXPECT_TRUE(ErrRule);
}

TEST_F(ParserTest, FunctionNameReadsAtMostSixLetters) {
    const struct {
        const char* text;
        std::uint8_t index;
        bool fails;
        char after;
    } rows[] = {
        {"arcsec (", 10, false, '('}, {"RANDOMX", 8, false, 'X'}, {"ARCTANH", 6, false, 'H'},
        {"If(", 16, false, '('},      {"sqrt2", 5, false, '2'},   {"TANGENT", 17, true, 'T'},
        {"(", 0, true, '('},
    };
    for (const auto& row : rows) {
        startScan(row.text);
        ErrRule = false;
        std::uint8_t index = 0;
        ParseFunctionName(index);
        EXPECT_EQ(ErrRule, row.fails) << row.text;
        if (row.index != 0) {
            EXPECT_EQ(index, row.index) << row.text;
        }
        EXPECT_EQ(CurChar, row.after) << row.text;
    }
}

TEST_F(ParserTest, AFailedParseKeepsThePreviousTreeOnlyWhenNoNodeWasBuilt) {
    parse("f(x) = x+1;");
    ASSERT_EQ(printTree(TreeRoot.get()), "(+ x 1)");

    // Fails in the head or on the first character: the previous tree stays.
    for (const char* text : {"f(y) = 2;", "f(x) = ;", "f(x) = *2;", "f(x) = -;"}) {
        parse(text);
        EXPECT_TRUE(ErrAny) << text;
        EXPECT_EQ(printTree(TreeRoot.get()), "(+ x 1)") << text;
    }
    // A failure after the first node: the remains are not kept as a formula. "2e" fails
    // inside its literal after the constant node was made.
    parse("f(x) = 2e;");
    EXPECT_EQ(TreeRoot, nullptr);
    parse("f(x) = x+1;");
    parse("f(x) = x+1");
    EXPECT_TRUE(ErrAny);
    EXPECT_EQ(TreeRoot, nullptr);

    // An exception leaving the parse is a failure after the first node as well.
    parse("f(x) = x;");
    EXPECT_THROW(parse("f(x) = x*1E5000;"), EOverflow);
    EXPECT_EQ(TreeRoot, nullptr);
}

TEST_F(ParserTest, AStatementWithoutSemicolonWrapsRoundToNulAndFails) {
    parse("f(x) = 1");
    EXPECT_TRUE(ErrRule);
    EXPECT_TRUE(ErrAny);
    EXPECT_EQ(ScanPos, 0);
    EXPECT_EQ(CurChar, '\0');

    // The last digit is read again until position 255: 255 ones from a one-character text.
    startScan("1");
    long double value = 0;
    ParseNumber(value);
    EXPECT_EQ(CurChar, '\0');
    EXPECT_NEAR(static_cast<double>(value / 1.1111111111111111111e254L), 1.0, 1e-15);

    // Trailing blanks and open parentheses end the same way.
    for (const std::string& text : {std::string("f(x) = x   "), "f(x) = " + std::string(248, '('),
                                    std::string("f(x) = sin(")}) {
        parse(text);
        EXPECT_TRUE(ErrRule) << text;
    }
}

TEST_F(ParserTest, TheLongestStatementFitsIn255Characters) {
    // "f(x) = " + 247 characters + ";" is 255: the scan ends on the ";" in the last place.
    std::string body = "1";
    for (int i = 0; i < 123; ++i) {
        body += "+1";
    }
    parse("f(x) = " + body + ";");
    EXPECT_FALSE(ErrAny);
    EXPECT_EQ(ScanPos, 255);
    EXPECT_EQ(EvalFormula(0), 124);
}

} // namespace
