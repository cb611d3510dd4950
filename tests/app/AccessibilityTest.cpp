// What a screen reader finds in the three windows: every control has a name that says what
// it is for, and the graph window's chart describes the formula, the interval and the axis
// ranges it shows.

#include "AppTestSupport.h"

#include "Chart1.h"
#include "Epsa.h"
#include "GraphHostAdapter.h"
#include "NumberText.h"
#include "Startup.h"
#include "TChart.h"
#include "TLineSeries.h"
#include "Unit1.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStringList>
#include <QToolButton>
#include <string>

namespace {

// Qt's own inner parts of a control (named "qt_...", such as a scroll area's viewport and
// the scroll bars in it) speak through the control that holds them.
// The menu bar's overflow menu belongs to its "qt_" button in the same way.
bool InsideQtPart(const QWidget* widget, const QWidget& window) {
    for (const QToolButton* button : window.findChildren<QToolButton*>())
        if (button->objectName().startsWith(QLatin1String("qt_")) &&
            static_cast<const QWidget*>(button->menu()) == widget)
            return true;
    for (; widget && widget != &window; widget = widget->parentWidget())
        if (widget->objectName().startsWith(QLatin1String("qt_")))
            return true;
    return false;
}

// The widgets of a window that a screen reader reaches and that have no accessible name.
std::string Unnamed(const QWidget& window) {
    QStringList unnamed;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        const QString name = child->objectName();
        if (InsideQtPart(child, window))
            continue;
        if (child->accessibleName().trimmed().isEmpty())
            if (child->accessibleName().trimmed().isEmpty())
                unnamed << QStringLiteral("%1 (%2)").arg(
                    name.isEmpty() ? QStringLiteral("<no object name>") : name,
                    QString::fromLatin1(child->metaObject()->className()));
    }
    return unnamed.join(QStringLiteral(", ")).toStdString();
}

std::string Description(const TGraf& graf) {
    return graf.Chart1->accessibleDescription().toStdString();
}

class AccessibilityTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RegisterFontSubstitutions();
        SetRegionalSeparators('.', ',');
        host.SetToleranceDialog(&dialog);
    }

    void SetFormula(const QString& formula) {
        calculator.findChild<QPlainTextEdit*>("Memo1")->setPlainText(formula);
        calculator.findChild<QLineEdit*>("Edit1")->setText("1");
    }

    TForm1 calculator{toolkit};
    GraphHostAdapter host{calculator, toolkit};
    TGraf graf{host};
    TForm2 dialog{toolkit};
};

TEST_F(AccessibilityTest, EveryControlOfTheThreeWindowsHasAName) {
    const struct {
        const char* window;
        const QWidget& widget;
        int atLeast; // the controls of the form description, so that none goes unchecked
    } windows[] = {{"calculator", calculator, 16},
                   {"tolerance dialog", dialog, 5},
                   {"graph window", graf, 11}};
    for (const auto& w : windows) {
        EXPECT_EQ(Unnamed(w.widget), "") << w.window;
        EXPECT_GE(w.widget.findChildren<QWidget*>().size(), w.atLeast) << w.window;
    }
    // The names say what the control is for, in Russian.
    EXPECT_EQ(calculator.findChild<QPlainTextEdit*>("Memo1")->accessibleName().toStdString(),
              "Формула");
    EXPECT_EQ(dialog.Edit1->accessibleName().toStdString(), "Допустимая погрешность");
    EXPECT_EQ(graf.SpeedButton3->accessibleName().toStdString(), "Решить уравнение f(x) = 0");
}

TEST_F(AccessibilityTest, ChartDescribesTheFormulaTheIntervalAndTheAxes) {
    SetFormula("2*x+1;");
    graf.Edit2->setText("-10");
    graf.Edit3->setText("1");
    graf.PlotGraph();
    ASSERT_GT(graf.Series1->Count(), 0);
    EXPECT_TRUE(toolkit.Messages().empty());
    // Right after the plot: the formula and the interval.
    EXPECT_EQ(Description(graf), "График f(x) = 2*x+1; на интервале от -10 до 1");

    // The paint adds the ranges that the axes took from the points (the last of the 401
    // points lies a little beyond X max).
    graf.Chart1->PaintImage();
    EXPECT_EQ(Description(graf), "График f(x) = 2*x+1; на интервале от -10 до 1. "
                                 "Ось X: от -10 до 1.02757; ось Y: от -19 до 3.05514.");

    // A new formula and interval replace the old ones.
    SetFormula("x*x;");
    graf.Edit2->setText("0");
    graf.Edit3->setText("2");
    graf.PlotGraph();
    graf.Chart1->PaintImage();
    EXPECT_EQ(Description(graf),
              "График f(x) = x*x; на интервале от 0 до 2. Ось X: от 0 до 2; ось Y: от 0 до 4.");

    // Cleared, the chart says that it shows nothing.
    graf.N2Click();
    graf.Chart1->PaintImage();
    EXPECT_EQ(Description(graf), "График пуст. Точек нет.");
}

TEST_F(AccessibilityTest, PlotThatFailsLeavesNoStaleDescription) {
    SetFormula("2*x+1;");
    graf.PlotGraph();
    ASSERT_GT(graf.Series1->Count(), 0);
    graf.Edit2->setText("abc"); // not a number: the plot stops with a message, no points
    graf.PlotGraph();
    EXPECT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(graf.Series1->Count(), 0);
    EXPECT_EQ(Description(graf), "График пуст");
}

} // namespace
