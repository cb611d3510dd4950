// The tolerance dialog: its form, OK, Cancel and a text that is not a number; and the graph
// window's host, through which the graph window reaches the calculator, the dialog and the
// toolkit.

#include "AppTestSupport.h"

#include "CalculatorState.h"
#include "Chart1.h"
#include "Epsa.h"
#include "Exceptions.h"
#include "FormScale.h"
#include "GraphHostAdapter.h"
#include "NumberText.h"
#include "Startup.h"
#include "TLineSeries.h"
#include "Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <functional>

namespace {

class EpsaTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RegisterFontSubstitutions();
        SetRegionalSeparators('.', ',');
        Tolerance = 0; // as at start-up
    }
    void TearDown() override {
        SetRegionalSeparators('.', ',');
        AppTest::TearDown();
    }

    // Shows the dialog modally and does `action` once it is up; returns the modal result.
    int Run(const std::function<void()>& action) {
        QTimer::singleShot(0, &dialog, action);
        return dialog.ShowModal();
    }
    void Key(Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dialog.Edit1, &press);
    }

    TForm2 dialog{toolkit};
};

TEST_F(EpsaTest, FormFromItsDescription) {
    EXPECT_EQ(dialog.objectName(), "Form2");
    EXPECT_EQ(dialog.windowTitle(), " Решаем уравнение  f ( x ) = 0 методом дихотомии.");
    EXPECT_EQ(dialog.Label1->text(),
              "Если X min   и  X max подобраны так, что график пересекает ось Х один раз "
              "( между  X min и  X max ), то уравнение будет решено с заданной допустимой "
              "погрешностью, т е будет найден такой Х1, что F( X1 ) = 0 ( приближенно )");
    // "ось Х" and "такой Х1" carry the Cyrillic capital letter; the other X are Latin.
    const QString text = dialog.Label1->text();
    EXPECT_EQ(text.count(QChar(0x0425)), 2);
    EXPECT_EQ(text.count(QLatin1Char('X')), 5);
    EXPECT_EQ(dialog.StaticText1->text(), "Введите допустимую погрешность");
    EXPECT_EQ(dialog.Edit1->text(), "1E-7");
    EXPECT_EQ(dialog.BitBtn1->text(), "OK");
    EXPECT_EQ(dialog.BitBtn2->text(), "Отмена");
    EXPECT_TRUE(dialog.BitBtn1->isDefault());
    EXPECT_FALSE(dialog.BitBtn1->icon().isNull());
    EXPECT_FALSE(dialog.BitBtn2->icon().isNull());

    // The layout of 120 pixels per inch, carried to the screen's density.
    const double scale = DesignScale(&dialog, 120);
    EXPECT_EQ(dialog.size(), QSize(std::lround(506 * scale), std::lround(216 * scale)));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // not resizable
    const auto at = [scale](int v) { return int(std::lround(v * scale)); };
    EXPECT_EQ(dialog.Edit1->geometry().topLeft(), QPoint(at(315), at(134)));
    EXPECT_EQ(dialog.BitBtn1->geometry().topLeft(), QPoint(at(394), at(174)));
    EXPECT_EQ(dialog.BitBtn2->geometry().topLeft(), QPoint(at(266), at(174)));
    // Edit1 lies over the right end of the prompt, whose text ends before it.
    EXPECT_LT(dialog.Edit1->x(), dialog.StaticText1->geometry().right());
    const QFontMetrics prompt(dialog.StaticText1->font());
    EXPECT_LT(dialog.StaticText1->x() + 2 + prompt.horizontalAdvance(dialog.StaticText1->text()),
              dialog.Edit1->x());
    // The explanation fits its label.
    EXPECT_LE(dialog.Label1->heightForWidth(dialog.Label1->width()), dialog.Label1->height());
}

TEST_F(EpsaTest, OkStoresTheValueAndABadTextKeepsThePreviousOne) {
    struct Row {
        const char* name;
        const char* text;
        char separator;
        bool enterKey; // Enter instead of a click on OK
        long double tolerance;
        const char* error; // the error box's text, or none
    };
    const Row rows[] = {
        {"initial text", "1E-7", '.', false, 1e-7L, nullptr},
        {"Enter", "0.25", '.', true, 0.25L, nullptr},
        {"Russian settings", " 0,5 ", ',', false, 0.5L, nullptr},
        {"point with Russian settings", "0.001", ',', false, 0.5L,
         "'0.001' is not a valid floating point value."},
        {"not a number", "abc", '.', false, 0.5L, "'abc' is not a valid floating point value."},
        {"zero is taken as it is", "0", '.', false, 0, nullptr},
        {"negative is taken as it is", "-1", '.', true, -1, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        toolkit.calls.clear();
        SetRegionalSeparators(row.separator, ' ');
        dialog.Edit1->setText(QString::fromUtf8(row.text));
        const int result = Run([this, &row] {
            if (row.enterKey) {
                Key(Qt::Key_Return);
            } else {
                dialog.BitBtn1->click();
            }
        });
        EXPECT_EQ(result, TForm2::mrOk);
        EXPECT_EQ(Tolerance, row.tolerance);
        EXPECT_EQ(toolkit.Errors(),
                  row.error ? std::vector<std::string>{row.error} : std::vector<std::string>{});
        EXPECT_EQ(dialog.Edit1->text(), QString::fromUtf8(row.text)); // kept for next time
    }
}

TEST_F(EpsaTest, TheOpeningWindowGetsTheFocusBack) {
    QWidget opener;
    opener.show();
    opener.activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &opener; }));
    Run([this] {
        WaitFor([this] { return QApplication::activeWindow() == &dialog; }, 500);
        dialog.BitBtn2->click();
    });
    EXPECT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &opener; }));
}

TEST_F(EpsaTest, BadTextBeforeAnyAcceptedValueLeavesZero) {
    dialog.Edit1->setText("abc");
    EXPECT_EQ(Run([this] { dialog.BitBtn1->click(); }), TForm2::mrOk);
    EXPECT_EQ(Tolerance, 0);
    EXPECT_EQ(toolkit.Errors().size(), 1u);
}

TEST_F(EpsaTest, CancelEscAndTheCloseBoxChangeNothing) {
    Tolerance = 0.125L;
    dialog.Edit1->setText("7");
    const std::function<void()> ways[] = {
        [this] { dialog.BitBtn2->click(); },
        [this] { Key(Qt::Key_Escape); },
        [this] { dialog.close(); },
    };
    for (const auto& way : ways) {
        EXPECT_EQ(Run(way), TForm2::mrCancel);
        EXPECT_EQ(Tolerance, 0.125L);
    }
    EXPECT_TRUE(toolkit.calls.empty());
}

// ---- the graph window's host -----------------------------------------------------------

class GraphHostTest : public EpsaTest {
protected:
    void SetUp() override {
        EpsaTest::SetUp();
        calculator.FormActivate();
        calculator.findChild<QPlainTextEdit*>("Memo1")->setPlainText("x*x-2;");
        host.SetToleranceDialog(&dialog);
    }

    TForm1 calculator{toolkit};
    GraphHostAdapter host{calculator, toolkit};
};

TEST_F(GraphHostTest, ReachesTheCalculatorTheDialogAndTheToolkit) {
    host.Calculate();
    EXPECT_EQ(host.FormulaBody(), "x*x-2;");
    EXPECT_EQ(&host.FormulaBody(), &FormulaBody);

    QTimer::singleShot(0, &dialog, [this] { dialog.BitBtn1->click(); });
    EXPECT_TRUE(host.ShowToleranceDialog());
    EXPECT_EQ(host.Tolerance(), 1e-7L);
    QTimer::singleShot(0, &dialog, [this] { dialog.BitBtn2->click(); });
    EXPECT_FALSE(host.ShowToleranceDialog());

    toolkit.confirmAnswers = {true};
    host.ShowMessage("m");
    EXPECT_TRUE(host.Confirm("q"));
    host.ShowHelp(1);
    host.Guard([] { throw EOverflow(); });
    ASSERT_EQ(toolkit.calls.size(), 4u);
    EXPECT_EQ(toolkit.calls[2].text, "Zorvo_d.hlp");
    EXPECT_EQ(toolkit.calls[2].context, 1);
    EXPECT_EQ(toolkit.Errors(), std::vector<std::string>{"Floating point overflow."});

    GraphHostAdapter alone(calculator, toolkit);
    EXPECT_FALSE(alone.ShowToleranceDialog()); // no dialog attached yet
}

TEST_F(GraphHostTest, MenuShowsTheGraphWindowModallyUntilItCloses) {
    TGraf graf(host);
    calculator.SetShowGraphWindow([&graf] { graf.ShowModal(); });
    int points = -1;
    QTimer::singleShot(0, &graf, [&] {
        EXPECT_TRUE(graf.isVisible());
        EXPECT_TRUE(graf.isModal());
        // The window has been activated and has plotted the calculator's formula.
        WaitFor([&] { return graf.Series1->PointCount() > 0; }, 1000);
        points = graf.Series1->PointCount();
        graf.SpeedButton4->click();
    });
    calculator.N5Click();
    EXPECT_FALSE(graf.isVisible());
    EXPECT_EQ(points, 401);
    EXPECT_TRUE(toolkit.Messages().empty());
}

} // namespace
