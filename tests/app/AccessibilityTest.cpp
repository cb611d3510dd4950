// What a screen reader finds in the three windows: every control has a name (a label's is its
// own text), every field is labelled by its caption, the result is read whole and announced,
// the graph window's chart describes the formula, the interval, the axis ranges and the
// solution it shows, and the open pop-up menu can be reached from its window.

#include "AppTestSupport.h"

#include "Chart1.h"
#include "Epsa.h"
#include "GraphHostAdapter.h"
#include "NumberText.h"
#include "Startup.h"
#include "TChart.h"
#include "TLineSeries.h"
#include "Unit1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <string>
#include <utility>
#include <vector>

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

QString NameOf(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// The widgets of a window that a screen reader reaches and whose name, as a screen reader
// reads it (a label's own text, a field's given name), is empty.
std::string Unnamed(const QWidget& window) {
    QStringList unnamed;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        const QString name = child->objectName();
        if (InsideQtPart(child, window))
            continue;
        // A control that its window keeps hidden (the graph's readout while the mouse is off
        // the plot) is not shown to a screen reader; a pop-up menu is a window of its own.
        if (!child->isWindow() && child->isHidden())
            continue;
        if (NameOf(child).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(
                name.isEmpty() ? QStringLiteral("<no object name>") : name,
                QString::fromLatin1(child->metaObject()->className()));
    }
    return unnamed.join(QStringLiteral(", ")).toStdString();
}

// The objects that the screen reader is told are related to `object` in the given way.
std::vector<QObject*> Related(QObject* object, QAccessible::Relation relation) {
    std::vector<QObject*> related;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    for (const auto& [other, kind] : iface->relations(relation))
        related.push_back(other->object());
    return related;
}

// The accessibility events that the windows send, as a screen reader's bridge would get them.
// Qt sends none until a screen reader is there: the platform's accessibility is switched on,
// as a bridge does when a reader connects.
class EventSpy {
public:
    EventSpy() {
        Events().clear();
        QAccessible::installUpdateHandler(&Record);
        Platform()->setActive(true);
    }
    ~EventSpy() {
        Platform()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
    }
    EventSpy(const EventSpy&) = delete;
    EventSpy& operator=(const EventSpy&) = delete;

    // How many events of `type` were sent for `object` since the last call; forgets them.
    int Take(const QObject* object, QAccessible::Event type) {
        int count = 0;
        for (const auto& [sender, kind] : Events())
            count += sender == object && kind == type ? 1 : 0;
        Events().clear();
        return count;
    }

private:
    static QPlatformAccessibility* Platform() {
        return QGuiApplicationPrivate::platformIntegration()->accessibility();
    }
    static std::vector<std::pair<const QObject*, QAccessible::Event>>& Events() {
        static std::vector<std::pair<const QObject*, QAccessible::Event>> events;
        return events;
    }
    static void Record(QAccessibleEvent* event) {
        Events().emplace_back(event->object(), event->type());
    }
};

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

    // A label is read as the caption that a sighted user reads: no name of its own hides it.
    for (const auto& w : windows) {
        for (QLabel* label : w.widget.findChildren<QLabel*>()) {
            if (InsideQtPart(label, w.widget))
                continue;
            EXPECT_EQ(label->accessibleName().toStdString(), "")
                << label->objectName().toStdString();
            EXPECT_EQ(NameOf(label).toStdString(), label->text().toStdString())
                << label->objectName().toStdString();
        }
    }
}

TEST_F(AccessibilityTest, EveryFieldIsLabelledByItsCaption) {
    const auto in = [](const QWidget& window, const char* name) {
        return window.findChild<QWidget*>(QString::fromLatin1(name));
    };
    const struct {
        const char* field;
        QWidget* edit;
        QWidget* caption;
    } rows[] = {
        {"formula", in(calculator, "Memo1"), in(calculator, "Label1")},
        {"comment", in(calculator, "Memo2"), in(calculator, "Label4")},
        {"x", in(calculator, "Edit1"), in(calculator, "Label3")},
        {"fraction digits", in(calculator, "Edit3"), in(calculator, "StaticText3")},
        {"X min", graf.Edit2, graf.Label1},
        {"X max", graf.Edit3, graf.Label2},
        {"tolerance", dialog.Edit1, dialog.StaticText1},
    };
    for (const auto& row : rows) {
        ASSERT_NE(row.edit, nullptr) << row.field;
        ASSERT_NE(row.caption, nullptr) << row.field;
        EXPECT_EQ(Related(row.edit, QAccessible::Label), std::vector<QObject*>{row.caption})
            << row.field;
        EXPECT_EQ(Related(row.caption, QAccessible::Labelled), std::vector<QObject*>{row.edit})
            << row.field;
    }
}

TEST_F(AccessibilityTest, ButtonNamesStartWithTheirCaptions) {
    int checked = 0;
    for (const QWidget* window :
         {static_cast<const QWidget*>(&calculator), static_cast<const QWidget*>(&graf),
          static_cast<const QWidget*>(&dialog)}) {
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (button->text().isEmpty() || InsideQtPart(button, *window))
                continue; // a speed button shows only its picture
            ++checked;
            EXPECT_TRUE(NameOf(button).startsWith(button->text()))
                << button->objectName().toStdString() << ": " << NameOf(button).toStdString();
        }
    }
    EXPECT_EQ(checked, 6); // three buttons and the check box; OK and Cancel
}

TEST_F(AccessibilityTest, ResultIsReadWholeAndEachNewOneIsAnnounced) {
    auto* result = calculator.findChild<QLabel*>("StaticText1");
    auto* exponential = calculator.findChild<QCheckBox*>("CheckBox1");
    EventSpy spy;
    const struct {
        const char* formula;
        bool exponential;
        const char* read;
    } rows[] = {
        {"1/3;", false, "Результат=           0.333"},
        {"1/3;", true, "Результат=  3.333E-0001"},
        // The same result once more is a new answer too: the user must hear that it came.
        {"2/6;", true, "Результат=  3.333E-0001"},
        // A faulty formula empties the result, and that is told as well.
        {"1/;", true, "Результат= "},
    };
    for (const auto& row : rows) {
        SetFormula(QString::fromUtf8(row.formula));
        exponential->setChecked(row.exponential);
        spy.Take(result, QAccessible::NameChanged);
        calculator.BitBtn1Click();
        EXPECT_EQ(NameOf(result).toStdString(), row.read) << row.formula;
        EXPECT_EQ(spy.Take(result, QAccessible::NameChanged), 1) << row.formula;
    }
    // A value of x that is not a number stops before any result: nothing is announced.
    SetFormula("1/3;");
    calculator.findChild<QLineEdit*>("Edit1")->setText("abc");
    calculator.BitBtn1Click();
    EXPECT_EQ(NameOf(result).toStdString(), "Результат= ");
    EXPECT_EQ(spy.Take(result, QAccessible::NameChanged), 0);
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

TEST_F(AccessibilityTest, ChartTellsTheSolutionAsItWasShown) {
    SetFormula("x*x-2;");
    graf.Edit2->setText("0");
    graf.Edit3->setText("2");
    graf.PlotGraph();
    EventSpy spy;
    QTimer::singleShot(0, &dialog, [this] { dialog.BitBtn1->click(); });
    graf.fx01Click();
    const std::vector<std::string> shown = toolkit.Messages();
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_EQ(shown[0].rfind("X1 = 1.4142135", 0), 0u) << shown[0];
    const std::string solved = "График f(x) = x*x-2; на интервале от 0 до 2. " + shown[0];
    EXPECT_EQ(Description(graf), solved);
    EXPECT_EQ(spy.Take(graf.Chart1, QAccessible::DescriptionChanged), 1);

    // The window plots again when the message box closes: the solution stays with the graph
    // it belongs to, and the paint adds the axes.
    graf.FormActivate();
    graf.Chart1->PaintImage();
    EXPECT_EQ(Description(graf), solved + ". Ось X: от 0 до 2; ось Y: от -2 до 2.");

    // Another interval is another graph: the old solution does not belong to it.
    graf.Edit3->setText("3");
    graf.PlotGraph();
    EXPECT_EQ(Description(graf), "График f(x) = x*x-2; на интервале от 0 до 3");

    // The command "Очистить график" takes the solution away with the graph.
    QTimer::singleShot(0, &dialog, [this] { dialog.BitBtn1->click(); });
    graf.fx01Click();
    ASSERT_EQ(toolkit.Messages().size(), 2u);
    graf.N2Click();
    graf.PlotGraph();
    EXPECT_EQ(Description(graf), "График f(x) = x*x-2; на интервале от 0 до 3");
}

TEST_F(AccessibilityTest, OpenPopUpMenuIsAWindowOfTheApplication) {
    graf.show();
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(graf.PopupMenu1);
    const auto listed = [application, menu] {
        for (int i = 0; i < application->childCount(); ++i)
            if (application->child(i) == menu)
                return true;
        return false;
    };
    EXPECT_FALSE(listed()); // closed, it is nowhere
    const int windows = application->childCount();

    graf.PopupMenu1->popup(graf.mapToGlobal(QPoint(300, 200)));
    ASSERT_TRUE(WaitFor([&] { return graf.PopupMenu1->isVisible(); }));
    // Walked down from the application, as a screen reader that starts now does, and up from
    // the menu: the same tree both ways.
    EXPECT_TRUE(listed());
    EXPECT_EQ(application->childCount(), windows + 1);
    EXPECT_EQ(menu->parent(), application);
    EXPECT_EQ(application->child(application->indexOfChild(menu)), menu);
    EXPECT_EQ(menu->role(), QAccessible::PopupMenu);
    EXPECT_EQ(menu->text(QAccessible::Name).toStdString(), "Меню графика");
    QStringList items;
    for (int i = 0; i < menu->childCount(); ++i) {
        // The picture's items are set off from the graph's commands by a separator.
        EXPECT_EQ(menu->child(i)->role(), i == 4 ? QAccessible::Separator : QAccessible::MenuItem);
        EXPECT_EQ(menu->child(i)->parent(), menu);
        items << menu->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(items.join('/').toStdString(),
              "Рисовать график/Очистить график/Решить уравнение  f ( x ) = 0/Выход//"
              "Сохранить рисунок…/Копировать рисунок");

    graf.PopupMenu1->hide();
    EXPECT_FALSE(listed());
    EXPECT_EQ(application->childCount(), windows);
    graf.hide();
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
