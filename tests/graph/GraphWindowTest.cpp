// The graph window on the offscreen platform: its form, activation and the plotting it starts,
// the pop-up menu, help, closing, and the pictures of its buttons.

#include "ButtonGlyphs.h"
#include "Chart1.h"
#include "FakeGraphHost.h"
#include "FormScale.h"
#include "ImagePixels.h"
#include "PixelArt.h"

#include "NumberText.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"
#include "zorvo3.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

class GraphWindowTest : public ::testing::Test {
protected:
    GraphWindowTest() : graf(host) {
        host.Formula = "x*x-2;";
        graf.show();
    }
    ~GraphWindowTest() override { graf.PopupMenu1->hide(); }

    static void Send(QObject* receiver, QEvent::Type type) {
        QEvent event(type);
        QApplication::sendEvent(receiver, &event);
    }
    // What a box of the application does to the window's activation: it becomes the active
    // window, and when it closes the graph window becomes active again.
    void BoxOpens() {
        Send(&graf, QEvent::WindowDeactivate);
        Send(&box, QEvent::WindowActivate);
    }
    void GraphActivated() { Send(&graf, QEvent::WindowActivate); }
    // Plays the boxes of the host: `echoAtOnce` gives the focus back as each box closes,
    // otherwise only later (the echo then comes through GraphActivated()).
    void PlayBoxes(bool echoAtOnce) {
        host.OnBoxOpened = [this] { BoxOpens(); };
        host.OnBoxClosed = [this, echoAtOnce] {
            if (echoAtOnce) {
                GraphActivated();
            }
        };
    }

    static void Click(QWidget* widget, Qt::MouseButton button, QPoint from, QPoint to) {
        QMouseEvent press(QEvent::MouseButtonPress, from, widget->mapToGlobal(from), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, to, widget->mapToGlobal(to), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }

    FakeGraphHost host;
    TGraf graf;
    QWidget box; // stands for a message box: another window of the application
};

TEST_F(GraphWindowTest, FormFromItsDescription) {
    EXPECT_EQ(graf.objectName(), "Graf");
    EXPECT_EQ(graf.windowTitle(),
              "ВЫЗЫВАЙТЕ  МЕНЮ  ПРАВОЙ  КЛАВИШЕЙ  МЫШИ, А СПРАВКУ - КЛАВИШЕЙ F1.");
    const double scale = DesignScale(&graf, 120);
    EXPECT_EQ(graf.width(), std::lround(691 * scale));
    EXPECT_EQ(graf.height(), std::lround(367 * scale));
    EXPECT_EQ(graf.palette().color(QPalette::Window), QColor(0, 255, 255));
    EXPECT_EQ(graf.Chart1->geometry(), graf.rect());
    // The labels lie on the chart as the window's children, beside the fields they caption
    // (a screen reader's labelled-by); a press on them reaches the chart below.
    EXPECT_EQ(graf.Label1->parentWidget(), &graf);
    EXPECT_EQ(graf.Label2->parentWidget(), &graf);
    EXPECT_EQ(graf.childAt(graf.Label1->geometry().center()), graf.Chart1);
    EXPECT_EQ(graf.childAt(graf.Label2->geometry().center()), graf.Chart1);
    EXPECT_EQ(graf.Label1->text(), "X min ");
    EXPECT_EQ(graf.Label2->text(), "X max");
    EXPECT_EQ(graf.Label1->font().pixelSize(), std::lround(17 * scale));
    EXPECT_EQ(graf.Edit2->text(), "-10");
    EXPECT_EQ(graf.Edit3->text(), "1");
    EXPECT_EQ(graf.Edit2->parentWidget(), &graf);
    EXPECT_EQ(graf.Panel1->geometry().right(), graf.width() - 1);

    const struct {
        QToolButton* button;
        const char* hint;
    } buttons[] = {{graf.SpeedButton1, "Рисовать (перерисовать) график "},
                   {graf.SpeedButton2, "Очистить график "},
                   {graf.SpeedButton3, "Решить уравнение  f ( x ) = 0 "},
                   {graf.SpeedButton4, "Выход"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->parentWidget(), graf.Panel1) << b.hint;
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_FALSE(b.button->icon().isNull()) << b.hint;
    }

    // The four items of the form, then, set off by a separator, the picture's two; their
    // shortcuts work with the menu closed because the window holds them too.
    const struct {
        const char* text; // empty: the separator
        const char* shortcut;
    } items[] = {{"Рисовать график", ""},
                 {"Очистить график", ""},
                 {"Решить уравнение  f ( x ) = 0", ""},
                 {"Выход", ""},
                 {"", ""},
                 {"Сохранить рисунок…", "Ctrl+S"},
                 {"Копировать рисунок", "Ctrl+C"}};
    const QList<QAction*> actions = graf.PopupMenu1->actions();
    ASSERT_EQ(actions.size(), qsizetype(std::size(items)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actions[i]->isSeparator(), *items[i].text == '\0');
        EXPECT_EQ(actions[i]->text(), QString::fromUtf8(items[i].text));
        EXPECT_EQ(actions[i]->shortcut(), QKeySequence(QString::fromLatin1(items[i].shortcut)));
        if (*items[i].shortcut != '\0') {
            EXPECT_TRUE(graf.actions().contains(actions[i]));
        }
    }

    ASSERT_EQ(graf.Chart1->SeriesCount(), 1);
    EXPECT_EQ(graf.Chart1->Series(0), graf.Series1);
    EXPECT_EQ(graf.Series1->SeriesColor(), clBlue);
    EXPECT_EQ(graf.Series1->VertAxis(), TVertAxis::aBothVertAxis);
    EXPECT_EQ(graf.Series1->LinePen.Width, 2);
    EXPECT_EQ(graf.Series1->Title, "f ( x ) ");
    EXPECT_EQ(graf.Series1->XValues().Name, "X");
    EXPECT_EQ(graf.Series1->YValues().Name, "Y");
    EXPECT_EQ(graf.Series1->XValues().Order, TChartListOrder::loAscending);
    EXPECT_EQ(graf.Series1->YValues().Order, TChartListOrder::loNone);
    EXPECT_FALSE(graf.Chart1->LegendVisible);
    EXPECT_EQ(graf.Chart1->Title.Font.Color, clNavy);
}

TEST_F(GraphWindowTest, ChartHasNoBevelAtItsEdges) {
    GraphActivated();
    QImage shown(graf.Chart1->size(), QImage::Format_RGB32);
    graf.Chart1->PaintChart(shown);
    // 691 × 367 designed at 120 pixels per inch, on the 96 of the offscreen screen.
    ASSERT_EQ(shown.size(), QSize(553, 294));
    // The panel's default raised bevel drew white on the left and top, grey on the right and
    // bottom; the window's chart has none, so its edges are the panel's aqua.
    const QPoint edges[] = {{0, 100}, {552, 293}, {0, 0}, {552, 0}, {276, 0}, {0, 293}, {552, 100}};
    for (const QPoint& p : edges) {
        EXPECT_EQ(ColorAt(shown, p.x(), p.y()), clAqua) << p.x() << "," << p.y();
    }
}

TEST_F(GraphWindowTest, ChartAndPanelFollowTheWindowSize) {
    const int gap = graf.width() - graf.Panel1->x();
    graf.resize(graf.width() + 150, graf.height() + 40);
    EXPECT_EQ(graf.Chart1->geometry(), graf.rect());
    EXPECT_EQ(graf.width() - graf.Panel1->x(), gap);
    EXPECT_EQ(graf.Panel1->y(), 0);
}

// Activates `window` as the platform does and waits (a bounded while) until it is active.
bool Activate(QWidget& window) {
    window.show();
    window.activateWindow();
    for (int i = 0; i < 200 && !window.isActiveWindow(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return window.isActiveWindow();
}

TEST_F(GraphWindowTest, RealWindowsActivateItAsTheirEventsDo) {
    // Windows activated by the platform, not events sent by hand: the pop-up menu and a tool
    // tip leave the plot alone; another window of the application and back plots again.
    ASSERT_TRUE(Activate(graf));
    EXPECT_EQ(host.CalculateCount, 1);
    int activations = 0;
    struct Counter : QObject {
        int& count;
        explicit Counter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            count += e->type() == QEvent::WindowActivate ? 1 : 0;
            return false;
        }
    } counter(activations);

    graf.PopupMenu1->installEventFilter(&counter);
    graf.PopupMenu1->popup(graf.mapToGlobal(QPoint(50, 50)));
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    // This platform never activates a pop-up; others do, as this event does.
    if (activations == 0)
        Send(graf.PopupMenu1, QEvent::WindowActivate);
    graf.PopupMenu1->hide();
    ASSERT_TRUE(Activate(graf));
    EXPECT_EQ(host.CalculateCount, 1);

    activations = 0;
    QWidget tip(nullptr, Qt::ToolTip);
    tip.resize(40, 20);
    tip.installEventFilter(&counter);
    Activate(tip);
    tip.hide();
    ASSERT_TRUE(Activate(graf));
    EXPECT_EQ(host.CalculateCount, 1);
    EXPECT_GE(activations, 1) << "the tool tip was never active: nothing was tested";

    ASSERT_TRUE(Activate(box));
    ASSERT_TRUE(Activate(graf));
    EXPECT_EQ(host.CalculateCount, 2);
}

TEST_F(GraphWindowTest, ActivationClearsAndPlots) {
    graf.Series1->AddPoint(-100, 0);
    GraphActivated();
    EXPECT_EQ(host.CalculateCount, 1);
    ASSERT_EQ(graf.Series1->PointCount(), 401);
    EXPECT_EQ(graf.Series1->XValues().ValueAt(0), -10.0);
    EXPECT_TRUE(graf.Chart1->ImageOutOfDate()); // painted once the event loop runs
}

TEST_F(GraphWindowTest, BoxesOfThePlottingDoNotStartItAgain) {
    for (const bool echoAtOnce : {true, false}) {
        SCOPED_TRACE(echoAtOnce ? "focus back at once" : "focus back later");
        host.Formula = "1+;"; // the formula message, then the plotting's own
        host.CalculateCount = 0;
        host.Log.clear();
        PlayBoxes(echoAtOnce);
        BoxOpens(); // the window was opened from another one
        GraphActivated();
        if (!echoAtOnce) {
            GraphActivated(); // the focus comes back from the last box
        }
        EXPECT_EQ(host.CalculateCount, 1);
        EXPECT_EQ(host.Log.size(), 2u);

        // A box of a later command (here the result of solving) does plot again when it
        // closes, and the boxes of that plotting again do not.
        host.Formula = "1/x;";
        graf.Edit2->setText("-200");
        graf.Edit3->setText("199");
        host.Log.clear();
        host.Answers = {false};
        host.ToleranceValue = 1e-7L;
        graf.fx01Click(); // dialog, engine message at 0 (kept for the sign), ...
        if (!echoAtOnce) {
            GraphActivated();
        }
        // However many boxes the solving showed, the window plots once, after it returned.
        EXPECT_EQ(host.CalculateCount, 2);
        const int count = host.CalculateCount;
        GraphActivated(); // nothing more is pending: a switch back from elsewhere
        EXPECT_EQ(host.CalculateCount, count);
        graf.Edit2->setText("-10");
        graf.Edit3->setText("1");
    }
}

TEST_F(GraphWindowTest, TheBoxesOfACommandPlotOnceAfterItHasReturned) {
    PlayBoxes(true);
    host.Formula = "x*x-2;";
    GraphActivated();
    EXPECT_EQ(host.CalculateCount, 1);
    host.Log.clear();
    std::vector<int> plottedBefore; // the plottings so far, as each box opens
    host.OnBoxOpened = [this, &plottedBefore] {
        plottedBefore.push_back(host.CalculateCount);
        BoxOpens();
    };
    graf.fx01Click(); // the tolerance dialog, then the result box; both give the focus back
    ASSERT_EQ(host.Log.size(), 2u);
    EXPECT_EQ(host.Log[0], "dialog");
    EXPECT_EQ(host.Log[1].rfind("message: X1 = -1.41421", 0), 0u) << host.Log[1];
    EXPECT_EQ(plottedBefore, (std::vector<int>{1, 1}));
    EXPECT_EQ(host.CalculateCount, 2);
    EXPECT_EQ(graf.Series1->PointCount(), 401);
}

TEST_F(GraphWindowTest, NothingStartsWhileACommandShowsABox) {
    struct Row {
        const char* name;
        std::function<void()> act; // done while the tolerance dialog is open
        int plottingsAfter = 0;    // once the solving has returned
    };
    const Row rows[] = {
        {"plot button", [this] { graf.SpeedButton1->click(); }},
        {"clear button", [this] { graf.SpeedButton2->click(); }},
        {"solve button", [this] { graf.SpeedButton3->click(); }},
        {"exit button", [this] { graf.SpeedButton4->click(); }},
        {"plot item", [this] { graf.N1->trigger(); }},
        {"clear item", [this] { graf.N2->trigger(); }},
        {"exit item", [this] { graf.N3->trigger(); }},
        {"save picture item", [this] { graf.SavePictureItem->trigger(); }},
        {"close box", [this] { graf.close(); }},
        {"F1",
         [this] {
             QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
             QApplication::sendEvent(&graf, &f1);
         }},
        {"activation", [this] { GraphActivated(); }, 1},
    };
    host.Formula = "x*x-2;";
    GraphActivated();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host.Log.clear();
        host.CalculateCount = 0;
        host.DialogAnswer = false;
        bool acted = false;
        int countInBox = -1;
        host.OnBoxOpened = [&] {
            BoxOpens();
            if (!acted) {
                acted = true;
                row.act();
                countInBox = host.CalculateCount;
            }
        };
        graf.fx01Click();
        EXPECT_EQ(host.Log, std::vector<std::string>{"dialog"});
        EXPECT_EQ(countInBox, 0);
        EXPECT_EQ(host.CalculateCount, row.plottingsAfter);
        EXPECT_EQ(graf.Series1->PointCount(), 401);
        EXPECT_TRUE(graf.isVisible());
    }
}

TEST_F(GraphWindowTest, AnotherProgramOrTheErrorBoxDoesNotPlot) {
    GraphActivated();
    EXPECT_EQ(host.CalculateCount, 1);
    Send(&graf, QEvent::WindowDeactivate); // to another program and back
    GraphActivated();
    EXPECT_EQ(host.CalculateCount, 1);

    QWidget help;
    help.setProperty(TGraf::ForeignWindowProperty, true);
    Send(&graf, QEvent::WindowDeactivate);
    Send(&help, QEvent::WindowActivate);
    GraphActivated();
    EXPECT_EQ(host.CalculateCount, 1);

    // An interval beyond the range of a double: the error box of the default handling shows
    // "Floating point overflow", and its closing does not plot (and fail) again.
    graf.Edit2->setText("-1E400");
    PlayBoxes(false);
    graf.N1Click();
    EXPECT_EQ(host.Log.back(), "error: Floating point overflow");
    GraphActivated();
    EXPECT_EQ(host.CalculateCount, 2);
    EXPECT_EQ(graf.Series1->PointCount(), 0);
}

TEST_F(GraphWindowTest, ButtonsAndMenuItemsRunTheirCommands) {
    graf.SpeedButton1->click();
    EXPECT_EQ(graf.Series1->PointCount(), 401);
    graf.SpeedButton2->click();
    EXPECT_EQ(graf.Series1->PointCount(), 0);
    graf.N1->trigger();
    EXPECT_EQ(graf.Series1->PointCount(), 401);
    graf.N2->trigger();
    EXPECT_EQ(graf.Series1->PointCount(), 0);
    host.DialogAnswer = false;
    graf.SpeedButton3->click();
    graf.fx01->trigger();
    EXPECT_EQ(host.Log, (std::vector<std::string>{"dialog", "dialog"}));
}

TEST_F(GraphWindowTest, ClosingEndsTheModalShowing) {
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        QTimer::singleShot(0, &graf, [this, way] {
            if (way == 0) {
                graf.SpeedButton4->click();
            } else if (way == 1) {
                graf.N3->trigger();
            } else {
                graf.close();
            }
        });
        graf.ShowModal();
        EXPECT_FALSE(graf.isVisible());
    }
}

TEST_F(GraphWindowTest, RightClickOpensTheMenuButARightDragDoesNot) {
    struct Row {
        const char* name;
        QWidget* target;
        Qt::MouseButton button;
        QPoint to;
        bool menu;
    };
    const QPoint from(300, 200);
    const Row rows[] = {
        {"right click on the chart", graf.Chart1, Qt::RightButton, from, true},
        {"right drag on the chart", graf.Chart1, Qt::RightButton, QPoint(340, 230), false},
        {"left click on the chart", graf.Chart1, Qt::LeftButton, from, false},
        {"right click on X min", graf.Edit2, Qt::RightButton, QPoint(5, 5), true},
        {"right click on a label", graf.Label2, Qt::RightButton, QPoint(5, 5), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        graf.PopupMenu1->hide();
        const QPoint start = row.target == graf.Chart1 ? from : QPoint(5, 5);
        Click(row.target, row.button, start, row.to);
        EXPECT_EQ(graf.PopupMenu1->isVisible(), row.menu);
    }
}

TEST_F(GraphWindowTest, F1OpensHelpAtTopicOne) {
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(graf.Edit2, &f1); // the edit box leaves it to the window
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&graf, &escape);
    EXPECT_EQ(host.Log, (std::vector<std::string>{"help: 1"}));
    EXPECT_TRUE(graf.isVisible()); // Esc does not close the window
}

// A mouse move over the chart as the platform delivers it, with the buttons held.
void MoveMouse(TChart* chart, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, at, chart->mapToGlobal(at), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
}

TEST_F(GraphWindowTest, ReadoutTellsThePointerAndTheNearestPointOfTheGraph) {
    SetRegionalSeparators(',', ' ');
    struct Restore {
        ~Restore() { ReloadRegionalSettings(); }
    } restore;
    const double scale = DesignScale(&graf, 120);
    EXPECT_GT(graf.Readout->x(), graf.Edit3->geometry().right());
    EXPECT_LT(graf.Readout->geometry().right(), graf.Panel1->x());
    EXPECT_EQ(graf.Readout->font(), graf.font());
    EXPECT_GE(graf.Readout->width(), std::lround(250 * scale));

    // Four points: the automatic axes run from 0 to 4 and from 0 to 10.
    QApplication::processEvents(); // the showing's plotting first
    graf.Series1->ClearPoints();
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.5, 10.0}, {2.0, 2.25}, {4.0, 0.0}})
        graf.Series1->AddPoint(x, y);
    graf.Chart1->CurrentImage();
    QApplication::processEvents();
    const int plots = host.CalculateCount;
    const int paints = graf.Chart1->FullPaintCount();
    const TChartAxis& bottom = *graf.Chart1->BottomAxis();
    const TChartAxis& left = *graf.Chart1->LeftAxis();
    ASSERT_EQ(bottom.ActualMinimum, 0.0);
    ASSERT_EQ(bottom.ActualMaximum, 4.0);
    ASSERT_EQ(left.ActualMinimum, 0.0);
    ASSERT_EQ(left.ActualMaximum, 10.0);
    const TRect plot = graf.Chart1->PlotRect();
    // Between two pixels the pointer's values are written to the decimal place of one pixel:
    // 4 over some 500 pixels is three decimals, 10 over some 240 two.
    const struct {
        const char* name;
        QPoint at;
        Qt::MouseButtons held;
        const char* text;    // the whole readout, or its second line after "…"
        double x = 0, y = 0; // the first line's values, to within a pixel, for "…" rows
    } rows[] = {
        {"top left end of the axes",
         {bottom.PixelStart, left.PixelStart},
         Qt::NoButton,
         "x = 0   y = 10\nf(0) = 0"},
        {"nearer to 2 than to 1.5",
         {bottom.ValueToPixel(1.8), left.ValueToPixel(2.25)},
         Qt::NoButton,
         "…f(2) = 2,25",
         1.8,
         2.25},
        {"nearer to 1.5 than to 2",
         {bottom.ValueToPixel(1.7), left.ValueToPixel(7.5)},
         Qt::NoButton,
         "…f(1,5) = 10",
         1.7,
         7.5},
        {"beyond the middle of 2 and 4",
         {bottom.ValueToPixel(3.1), left.ValueToPixel(0.5)},
         Qt::NoButton,
         "…f(4) = 0",
         3.1,
         0.5},
        {"a drag runs", {bottom.ValueToPixel(1.8), left.ValueToPixel(2.25)}, Qt::LeftButton, ""},
        {"left of the plot", {plot.Left - 1, plot.Top + 20}, Qt::NoButton, ""},
        {"above the plot", {plot.Left + 20, plot.Top - 1}, Qt::NoButton, ""},
        {"on its right edge", {plot.Right, plot.Top + 20}, Qt::NoButton, ""},
        {"on its bottom edge", {plot.Left + 20, plot.Bottom}, Qt::NoButton, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        MoveMouse(graf.Chart1, {plot.Left + 1, plot.Top + 1}); // a readout to replace
        ASSERT_TRUE(graf.Readout->isVisibleTo(&graf));
        MoveMouse(graf.Chart1, row.at, row.held);
        const QString text = graf.Readout->text();
        const QString expected = QString::fromUtf8(row.text);
        EXPECT_EQ(graf.Readout->isVisibleTo(&graf), !text.isEmpty());
        if (!expected.startsWith(QStringLiteral("…"))) {
            EXPECT_EQ(text, expected);
            continue;
        }
        const QStringList lines = text.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << text.toStdString();
        EXPECT_EQ(lines[1], expected.mid(1));
        const QStringList words = lines[0].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_EQ(words.size(), 6) << lines[0].toStdString();
        EXPECT_EQ(words[0] + words[3], QStringLiteral("xy"));
        const double x = QString(words[2]).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        const double y = QString(words[5]).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        EXPECT_NEAR(x, row.x, 4.0 / bottom.AxisLength()) << lines[0].toStdString();
        EXPECT_NEAR(y, row.y, 10.0 / left.AxisLength()) << lines[0].toStdString();
        EXPECT_LE(words[2].size() - words[2].indexOf(QLatin1Char(',')), 4) << "three decimals";
    }
    // Its name for a screen reader is its text, as a label's is.
    MoveMouse(graf.Chart1, {bottom.PixelStart, left.PixelStart});
    QAccessibleInterface* readout = QAccessible::queryAccessibleInterface(graf.Readout);
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->text(QAccessible::Name), graf.Readout->text());

    // The mouse leaving the chart, or an empty graph, shows nothing.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(graf.Chart1, &leave);
    EXPECT_TRUE(graf.Readout->text().isEmpty());
    EXPECT_FALSE(graf.Readout->isVisibleTo(&graf));
    QApplication::processEvents();
    // All those moves repainted the label over a copy of the image; the chart never painted.
    EXPECT_EQ(graf.Chart1->FullPaintCount(), paints);
    EXPECT_EQ(host.CalculateCount, plots);

    graf.N2->trigger();
    graf.Chart1->CurrentImage();
    MoveMouse(graf.Chart1, {plot.Left + 20, plot.Top + 20});
    EXPECT_TRUE(graf.Readout->text().isEmpty());
}

TEST_F(GraphWindowTest, PictureIsSavedAsPngAskingBeforeAFileIsReplaced) {
    PlayBoxes(true); // a question's or error box's closing gives the focus back
    GraphActivated();
    const int plots = host.CalculateCount;
    const QImage chart = graf.Chart1->CurrentImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(chart.size(), QSize(553, 294)); // the screen's 96 pixels per inch, ratio 1
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("graph.png"));
    const QString missing = dir.filePath(QStringLiteral("no/graph.png"));
    const std::string dialog = "save dialog: Рисунок PNG|*.png png";
    const std::string question =
        "question: Файл " + name.toStdString() + " уже есть. Заменить его?";
    const struct {
        const char* name;
        std::optional<QString> file; // chosen in the dialog
        bool existing;               // the file holds "old" beforehand
        bool replace;                // the answer to the question
        std::vector<std::string> log;
        bool written;
    } rows[] = {
        {"a new file", name, false, false, {dialog}, true},
        {"a file kept", name, true, false, {dialog, question}, false},
        {"a file replaced", name, true, true, {dialog, question}, true},
        {"cancelled", std::nullopt, true, false, {dialog}, false},
        {"no such folder",
         missing,
         false,
         false,
         {dialog,
          "error: Рисунок не сохранён в файл " + missing.toStdString() + ": Invalid filename"},
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(name);
        if (row.existing) {
            QFile old(name);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        host.Log.clear();
        host.SaveNames = {row.file ? std::optional(row.file->toStdString()) : std::nullopt};
        host.Answers = {row.replace};
        graf.SavePictureItem->trigger();
        EXPECT_EQ(host.Log, row.log);
        EXPECT_EQ(host.CalculateCount, plots) << "a picture is no reason to plot";
        EXPECT_EQ(graf.Series1->PointCount(), 401);
        EXPECT_TRUE(graf.isVisible());
        if (!row.written) {
            QFile old(name);
            EXPECT_EQ(old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray(),
                      row.existing ? QByteArray("old") : QByteArray());
            continue;
        }
        const QImage saved(name, "PNG");
        ASSERT_EQ(saved.size(), chart.size());
        const QPoint pixels[] = {{0, 0}, {552, 293}, {276, 147}, {100, 200}};
        for (const QPoint& p : pixels)
            EXPECT_EQ(saved.pixel(p), chart.pixel(p)) << p.x() << "," << p.y();
        EXPECT_EQ(saved.pixel(0, 0), qRgb(0, 255, 255));
        EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), chart);
        EXPECT_EQ(saved.dotsPerMeterX(), 3780); // 96 per inch
    }
}

TEST_F(GraphWindowTest, PictureIsCopiedAndCtrlCInAFieldWithASelectionCopiesItsText) {
    ASSERT_TRUE(Activate(graf));
    const int plots = host.CalculateCount;
    const QImage chart = graf.Chart1->CurrentImage().convertToFormat(QImage::Format_RGB32);
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto copied = [clipboard] {
        return clipboard->image().convertToFormat(QImage::Format_RGB32);
    };

    clipboard->clear();
    graf.CopyPictureItem->trigger();
    EXPECT_EQ(copied(), chart);

    // Ctrl+C in X min: its selection when it has one, otherwise the picture.
    graf.Edit2->setFocus();
    graf.Edit2->selectAll();
    clipboard->clear();
    QTest::keyClick(graf.Edit2, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("-10"));
    EXPECT_TRUE(clipboard->image().isNull());
    graf.Edit2->deselect();
    QTest::keyClick(graf.Edit2, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copied(), chart);

    host.Log.clear();
    QTest::keyClick(graf.Edit3, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(host.Log, std::vector<std::string>{"save dialog: Рисунок PNG|*.png png"});
    EXPECT_EQ(host.CalculateCount, plots);
}

// The icon's pictures for screens of ratio 1, 2 and 3: at 1 the very pixels of the picture; at
// 2 and 3 pictures of the device's size that are finer than the enlarged ones, in the colours
// of the picture (no blending) - the normal and the greyed image alike.
void ExpectDrawnAtEveryRatio(const QIcon& icon, const QImage& normal, const QImage& disabled) {
    for (const auto& [mode, picture] :
         {std::pair{QIcon::Normal, normal}, std::pair{QIcon::Disabled, disabled}}) {
        SCOPED_TRACE(mode == QIcon::Normal ? "normal" : "disabled");
        const QImage atOne =
            icon.pixmap(QSize(16, 16), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(atOne, picture);
        const std::set<QRgb> colours = PixelsOf(picture);
        for (const int ratio : {2, 3}) {
            const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio, mode);
            EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
            const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(image.size(), QSize(16 * ratio, 16 * ratio));
            EXPECT_NE(image,
                      picture.scaled(image.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation))
                << ratio;
            for (const QRgb pixel : PixelsOf(image))
                EXPECT_EQ(colours.count(pixel), 1u) << ratio << ": " << std::hex << pixel;
        }
    }
}

TEST(SpeedButtonPictureTest, NormalAndGreyedImagesSideBySide) {
    struct Row {
        const char* name;
        const GlyphRows& rows;
        std::vector<QRgb> colours; // each must appear, opaque, in the normal image
    };
    const Row rows[] = {
        {"pie", SpeedButtonGlyphs::Plot, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}},
        {"brush", SpeedButtonGlyphs::Clear, {0xFFFF00, 0xFF0000, 0x000000}},
        {"chart", SpeedButtonGlyphs::Solve, {0xFF0000, 0x0000FF, 0x000000}},
        {"exit", SpeedButtonGlyphs::Exit, {0x000080, 0x808000}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QImage bitmap = ButtonBitmap(row.rows);
        ASSERT_EQ(bitmap.size(), QSize(32, 16));
        const std::set<QRgb> normal = PixelsOf(bitmap.copy(0, 0, 16, 16));
        for (const QRgb colour : row.colours)
            EXPECT_EQ(normal.count(0xFF000000 | colour), 1u) << std::hex << colour;
        // The greyed image: transparent, or opaque grey or white.
        const QImage greyed = bitmap.copy(16, 0, 16, 16);
        for (const QRgb pixel : PixelsOf(greyed))
            EXPECT_TRUE(qAlpha(pixel) == 0 || pixel == 0xFF808080 || pixel == 0xFFFFFFFF)
                << std::hex << pixel;
        EXPECT_GT(CountOf(greyed, 0xFF808080), 10u);
        const QIcon icon = ButtonIcon(row.rows);
        EXPECT_EQ(
            icon.pixmap(16, 16, QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32),
            bitmap.copy(16, 0, 16, 16));
        ExpectDrawnAtEveryRatio(icon, bitmap.copy(0, 0, 16, 16), bitmap.copy(16, 0, 16, 16));
    }
}

// Rows of a picture, one character per pixel, '#' opaque black, '.' transparent.
QImage Picture(const std::vector<const char*>& rows) {
    QImage image(int(std::strlen(rows[0])), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[std::size_t(y)][x] == '#' ? 0xFF000000 : 0x00000000);
    return image;
}

TEST(PixelArtTest, DiagonalsBecomeFinerStairsAndFlatAreasStayFlat) {
    const struct {
        const char* name;
        std::vector<const char*> picture;
        int factor;
        std::vector<const char*> expected; // by hand, corner by corner
    } rows[] = {
        {"diagonal, twice", {"#.", ".#"}, 2, {"##..", "#.#.", ".#.#", "..##"}},
        {"diagonal, three times",
         {"#.", ".#"},
         3,
         {"###...", "##.#..", "#..##.", ".##..#", "..#.##", "...###"}},
        {"square, twice", {"##", "##"}, 2, {"####", "####", "####", "####"}},
        {"straight edge, twice", {"#.", "#."}, 2, {"##..", "##..", "##..", "##.."}},
        {"no other factor", {"#.", ".#"}, 4, {"#.", ".#"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ScalePixelArt(Picture(row.picture), row.factor), Picture(row.expected))
            << row.name;
    }
}

} // namespace
