// The calculation command fed hostile input: huge and over-long formulas, every control
// character and every upper byte of the code page, numbers at and beyond the ranges of the
// number types in x and the digit count, and formulas whose value overflows or is undefined.
// Each command shows its message or the error box and the next calculation works.

#include "HostileFixture.h"

#include "Calculation.h"
#include "CalculatorState.h"

#include <QStringDecoder>

namespace {

const QString kUnchanged = QStringLiteral("<unchanged>");

TEST_F(HostileTest, OverlongFormulasAreRefusedAsFaultyFormulas) {
    // The body "x+1+1…;" of 248 characters makes a statement of exactly 255, the most that
    // the engine's counters hold; one blank more is refused.
    const QString body255 = QStringLiteral("x") + QStringLiteral("+1").repeated(123) + ';';
    ASSERT_EQ(body255.size() + 7, 255);
    const QString body256 = QStringLiteral("x") + QStringLiteral("+1").repeated(123) + " ;";
    // A memo of 1 MB: a statement that would fit once the text is cut at its first ";", and
    // lines without any ";". (Lines of 1 KB: the memo lays out one line of 1 MB for seconds.)
    const QString megabyte =
        QStringLiteral("1;") + (QString(1023, QLatin1Char('7')) + '\n').repeated(1024);
    const QString megabyteNoSemicolon =
        (QString(99, QLatin1Char('+')) + '\n').repeated((1 << 20) / 100);

    const struct {
        const char* name;
        QString formula;
        std::vector<std::string> shown;
        QString caption;
    } rows[] = {
        {"statement of 255", body255, {}, QStringLiteral("Результат=         124.000")},
        {"statement of 256", body256, {kFormulaError}, QStringLiteral("Результат= ")},
        {"1 MB memo", megabyte, {kFormulaError}, QStringLiteral("Результат= ")},
        {"1 MB without ;", megabyteNoSemicolon, {kFormulaError}, QStringLiteral("Результат= ")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::size_t mark = Mark();
        Calculate(row.formula);
        EXPECT_EQ(ShownSince(mark), row.shown);
        EXPECT_EQ(Caption(), row.caption);
        // The memo keeps what was typed, all of it.
        EXPECT_EQ(Memo1()->toPlainText().size(), row.formula.size());
        ExpectNextCalculationWorks();
    }
}

TEST_F(HostileTest, ControlCharactersAreBlanksAndUpperBytesAreFaultyFormulas) {
    for (int code = 0; code < 32; ++code) {
        SCOPED_TRACE("control character " + std::to_string(code));
        const std::size_t mark = Mark();
        Calculate(QStringLiteral("1+") + QChar(code) + QStringLiteral("2;"));
        EXPECT_EQ(ShownSince(mark), std::vector<std::string>{});
        EXPECT_EQ(Caption(), QStringLiteral("Результат=           3.000"));
    }
    // A byte of the code page's upper half is never a blank, a digit or a letter of a
    // function name: the formula is faulty, whatever the byte.
    QStringDecoder decode("windows-1251");
    for (int code = 128; code < 256; ++code) {
        SCOPED_TRACE("byte " + std::to_string(code));
        const char byte = static_cast<char>(code);
        const QString character = decode(QByteArrayView(&byte, 1));
        const std::size_t mark = Mark();
        Calculate(QStringLiteral("1+") + character + QStringLiteral("2;"));
        EXPECT_EQ(ShownSince(mark), std::vector<std::string>{kFormulaError});
        EXPECT_EQ(Caption(), QStringLiteral("Результат= "));
        // The text that the command took holds the byte as it was typed.
        EXPECT_EQ(FormulaLine, std::string("1+") + byte + "2;");
    }
    ExpectNextCalculationWorks();
}

TEST_F(HostileTest, NumbersAtAndBeyondTheirRangesInXAndTheDigitCount) {
    const struct {
        const char* x;
        const char* digits;
        const char* formula;
        std::vector<std::string> shown;
        QString caption; // kUnchanged: the command ended before it wrote the result
    } rows[] = {
        // x: the extended range ends near 1.19E4932; beyond it ParseReal overflows, and a
        // scale of 5120 or more gives infinity.
        {"1E4932", "3", "x*0+5;", {}, QStringLiteral("Результат=           5.000")},
        {"-1.18E4932", "3", "x*0+5;", {}, QStringLiteral("Результат=           5.000")},
        {"1E309", "3", "x*0+5;", {}, QStringLiteral("Результат=           5.000")},
        {"1E-5000", "3", "x+5;", {}, QStringLiteral("Результат=           5.000")},
        {"1.2E4932", "3", "x;", {kOverflow}, kUnchanged},
        {"-1E5000", "3", "x;", {kOverflow}, kUnchanged},
        {"1E4932", "3", "x*10;", {kOverflow}, kUnchanged},
        {"1E5120", "3", "x*0+5;", {kInvalidOp}, kUnchanged},
        {"1E5120", "3", "x;", {}, QStringLiteral("Результат= 1000000000000000000000000000000.000")},
        {"1E99999999999", "3", "x*0+5;", {kInvalidOp}, kUnchanged},
        {"1E-99999999999", "3", "x+5;", {}, QStringLiteral("Результат=           5.000")},
        {"1E", "3", "x;", {kBadX}, kUnchanged},
        // The digit count: reduced to 16 bits; beyond 32 bits it is not a number.
        {"1", "2147483648", "x;", {kBadDigits}, kUnchanged},
        {"1", "-2147483649", "x;", {kBadDigits}, kUnchanged},
        {"1", "1E5", "x;", {kBadDigits}, kUnchanged},
        {"1", "-2147483648", "x/4;", {}, QStringLiteral("Результат=               0")},
        {"1", "65536", "x/4;", {}, QStringLiteral("Результат=               0")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.x) + " / " + row.digits + " / " + row.formula);
        control<QLabel>("StaticText1")->setText(QStringLiteral("before"));
        Edit3()->setText(QString::fromUtf8(row.digits));
        const std::size_t mark = Mark();
        Calculate(QString::fromUtf8(row.formula), QString::fromUtf8(row.x));
        EXPECT_EQ(ShownSince(mark), row.shown);
        EXPECT_EQ(Caption(), row.caption == kUnchanged ? QStringLiteral("before") : row.caption);
        ExpectNextCalculationWorks();
    }

    // The largest digit counts: 216 decimals at most in the fixed form, a field of 255
    // characters in the exponential one.
    for (const char* digits : {"65535", "-1", "$FFFFFFFF", "2147483647"}) {
        SCOPED_TRACE(digits);
        for (const bool exponential : {false, true}) {
            Edit3()->setText(QString::fromUtf8(digits));
            CheckBox1()->setChecked(exponential);
            const std::size_t mark = Mark();
            Calculate(QStringLiteral("1/3;"));
            EXPECT_EQ(ShownSince(mark), std::vector<std::string>{});
            const QString value = Caption().mid(QStringLiteral("Результат= ").size());
            if (exponential) {
                EXPECT_EQ(value.size(), 255);
                EXPECT_TRUE(value.endsWith(QStringLiteral(" 3.33333333333333333E-0001")));
            } else {
                EXPECT_EQ(value.size(), 218);
                // The digits beyond the extended precision are zeros.
                EXPECT_TRUE(value.startsWith(QStringLiteral("0.333333333333333330")));
            }
        }
        ExpectNextCalculationWorks();
    }
}

TEST_F(HostileTest, FormulasThatOverflowOrAreUndefinedInTheCalculator) {
    const struct {
        const char* formula;
        std::vector<std::string> shown;
        QString caption;
    } rows[] = {
        {"EXP(20000);", {kOverflow}, kUnchanged},
        // 1 divided by a power that underflowed to 0.
        {"0.5^(-20000);", {"error: Floating point division by zero."}, kUnchanged},
        {"TAN(1E30);", {kInvalidOp}, kUnchanged},
        {"1/(x-x);",
         {"message: Ошибка:  деление на 0 "},
         QStringLiteral("Результат=           0.000")},
        {"EXP(-20000);", {}, QStringLiteral("Результат=           0.000")},
        {"10^4000*10^4000;", {kOverflow}, kUnchanged},
        {"(x-x)/(x-x);",
         {"message: Ошибка:  деление на 0 "},
         QStringLiteral("Результат=           0.000")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.formula);
        control<QLabel>("StaticText1")->setText(QStringLiteral("before"));
        const std::size_t mark = Mark();
        Calculate(QString::fromUtf8(row.formula));
        EXPECT_EQ(ShownSince(mark), row.shown);
        EXPECT_EQ(Caption(), row.caption == kUnchanged ? QStringLiteral("before") : row.caption);
        ExpectNextCalculationWorks();
    }
}

} // namespace
