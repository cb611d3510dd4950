// The calculation command fed hostile input: huge and over-long formulas, every control
// character and every upper byte of the code page, numbers at and beyond the ranges of the
// number types in x and the digit count, and formulas whose value overflows or is undefined.
// Each command shows its message or the error box and the next calculation works.

#include "HostileFixture.h"

#include "Calculation.h"
#include "CalculatorState.h"

#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QStringDecoder>
#include <QTest>
#include <QTextCursor>

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
        {"1/(x-x);", {kDivideByZero}, QStringLiteral("Результат=           0.000")},
        {"EXP(-20000);", {}, QStringLiteral("Результат=           0.000")},
        {"10^4000*10^4000;", {kOverflow}, kUnchanged},
        {"(x-x)/(x-x);", {kDivideByZero}, QStringLiteral("Результат=           0.000")},
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

// Typing, pasting or dropping into either memo stops at the most a calculation takes: 65,535
// characters with each line break counted as CR LF. The memo keeps its text and the message
// says why, at once (a line of a megabyte used to hold the window for minutes in its layout).
TEST_F(HostileTest, MemosRefuseTextBeyondTheirLimit) {
    const std::string kMemoFull = "message: Текст не добавлен: в поле помещается не более 65535 "
                                  "символов (перевод строки считается за два).";
    // A text of the given length as the commands count it, in lines of 100 characters.
    const auto filled = [](int length) {
        QString text;
        while (length > 101) {
            text += QString(100, QLatin1Char('1')) + '\n';
            length -= 102;
        }
        return text + QString(length, QLatin1Char('1'));
    };
    const QString megabyteLine(1 << 20, QLatin1Char('7'));
    enum class Way { Type, PasteKey, PasteMenu, Drop, InputMethod };
    const struct {
        const char* name;
        const char* memo;
        int before;   // the memo's length before
        int selected; // characters selected at its end, replaced by the text
        Way way;
        QString text;
        QString added; // what the memo shows of the text when it takes it; null: refused
    } rows[] = {
        {"1 MB pasted into the formula", "Memo1", 0, 0, Way::PasteKey, megabyteLine, {}},
        {"1 MB pasted into the comment", "Memo2", 2, 0, Way::PasteMenu, megabyteLine, {}},
        {"1 MB dropped", "Memo2", 0, 0, Way::Drop, megabyteLine, {}},
        {"a word dropped", "Memo2", 0, 0, Way::Drop, "abc", "abc"},
        {"typed up to the limit", "Memo1", 65534, 0, Way::Type, "2", "2"},
        {"typed beyond it", "Memo2", 65535, 0, Way::Type, "2", {}},
        {"Enter two below it", "Memo1", 65533, 0, Way::Type, "\n", "\n"},
        {"Enter one below it: a line break counts two", "Memo1", 65534, 0, Way::Type, "\n", {}},
        {"CR LF pasted up to it", "Memo2", 65531, 0, Way::PasteKey, "a\r\nb", "a\nb"},
        {"LF pasted beyond it", "Memo2", 65532, 0, Way::PasteKey, "a\nb", {}},
        {"a selection replaced by as much", "Memo1", 65535, 3, Way::PasteMenu, "abc", "abc"},
        {"a selection replaced by more", "Memo1", 65535, 3, Way::PasteMenu, "abcd", {}},
        {"an input method's text beyond it", "Memo2", 65535, 0, Way::InputMethod, "ж", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QPlainTextEdit* memo = control<QPlainTextEdit>(row.memo);
        const QString before = filled(row.before);
        memo->setPlainText(before);
        QTextCursor cursor = memo->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, row.selected);
        memo->setTextCursor(cursor);
        QApplication::clipboard()->setText(row.text);
        const std::size_t mark = Mark();
        switch (row.way) {
        case Way::Type:
            if (row.text == "\n") {
                QTest::keyClick(memo, Qt::Key_Return);
            } else {
                QTest::keyClicks(memo, row.text);
            }
            break;
        case Way::PasteKey:
            QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
            break;
        case Way::PasteMenu:
            memo->paste();
            break;
        case Way::Drop: {
            QMimeData data;
            data.setText(row.text);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(memo->viewport(), &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(memo->viewport(), &drop);
            break;
        }
        case Way::InputMethod: {
            QInputMethodEvent input;
            input.setCommitString(row.text);
            QApplication::sendEvent(memo, &input);
            break;
        }
        }
        if (row.added.isNull()) {
            EXPECT_EQ(memo->toPlainText(), before);
            EXPECT_EQ(ShownSince(mark), std::vector<std::string>{kMemoFull});
        } else {
            EXPECT_EQ(memo->toPlainText(), before.left(before.size() - row.selected) + row.added);
            EXPECT_EQ(ShownSince(mark), std::vector<std::string>{});
        }
    }

    // Lines of thousands of characters wrap anywhere (a search for word boundaries in them
    // would take seconds), the others at word boundaries, also once a long line is gone.
    const struct {
        QString pasted;
        bool clearFirst;
        QTextOption::WrapMode wrap;
    } wraps[] = {
        {QString(4000, QLatin1Char('7')), true, QTextOption::WrapAtWordBoundaryOrAnywhere},
        {QString(200, QLatin1Char('7')), false, QTextOption::WrapAnywhere}, // 4200 in one line
        {QString(5000, QLatin1Char('7')), true, QTextOption::WrapAnywhere},
        {(QString(99, QLatin1Char('7')) + '\n').repeated(60), true,
         QTextOption::WrapAtWordBoundaryOrAnywhere},
    };
    for (const auto& row : wraps) {
        SCOPED_TRACE(row.pasted.size());
        if (row.clearFirst) {
            Memo1()->clear();
        }
        QApplication::clipboard()->setText(row.pasted);
        Memo1()->paste();
        EXPECT_EQ(Memo1()->wordWrapMode(), row.wrap);
    }

    // Pasted inside another command's box: refused without a second box.
    Memo2()->clear();
    QApplication::clipboard()->setText(megabyteLine);
    toolkit.whileOpen = [this](const ScriptedToolkit::Call&) { Memo2()->paste(); };
    const std::size_t mark = Mark();
    Calculate(QStringLiteral("1+;"));
    toolkit.whileOpen = nullptr;
    EXPECT_EQ(ShownSince(mark), std::vector<std::string>{kFormulaError});
    EXPECT_TRUE(Memo2()->toPlainText().isEmpty());
    ExpectNextCalculationWorks();
}

} // namespace
