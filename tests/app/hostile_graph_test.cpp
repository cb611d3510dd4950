// The graph window's plotting and solving fed hostile input: interval ends at and beyond the
// ranges of the extended and double types, ends a hair apart, tolerances that the halving
// cannot reach, and formulas that overflow or are undefined at some or all points. Each
// command shows its message or the error box, and the next calculation and plotting work.

#include "GraphMessages.h"
#include "HostileFixture.h"

#include "TChart.h"
#include "zorvo3.h"

#include <QImage>
#include <QTest>

#include <algorithm>

namespace {

const std::string kZeroDivide = "error: Floating point division by zero.";

class HostileGraphTest : public HostileTest {
protected:
    // The default interval plots 401 points without a box.
    void ExpectNextPlotWorks() {
        Memo1()->setPlainText(QStringLiteral("x*x-2;"));
        const std::size_t mark = Mark();
        Plot(QStringLiteral("-10"), QStringLiteral("1"));
        EXPECT_EQ(graf->Series1->PointCount(), 401);
        EXPECT_EQ(ShownSince(mark), std::vector<std::string>{});
    }
};

TEST_F(HostileGraphTest, IntervalEndsAtAndBeyondTheRanges) {
    const struct {
        const char* xMin;
        const char* xMax;
        std::vector<std::string> shown;
        int minPoints, maxPoints;
    } rows[] = {
        {"1E4933", "1", {kOverflow}, 0, 0},
        {"-1", "1E4933", {kOverflow}, 0, 0},
        {"-1E308", "1E308", {}, 400, 401},
        {"-1.7976E308", "1.7976E308", {}, 400, 401},
        // Beyond the double range: the first abscissa, or a later one, overflows.
        {"-1E309", "1", {kOverflow}, 0, 0},
        {"1", "1E309", {kOverflow}, 1, 399},
        // Infinite ends (a scale of 5120 or more).
        {"-1E5120", "1", {kInvalidOp}, 0, 0},
        {"1", "1E5120", {kInvalidOp}, 0, 0},
        {"1", "-1E5120", {kIntervalMessage}, 0, 0},
        {"1E-5000", "-1E-5000", {kIntervalMessage}, 0, 0},
        {"5", "5", {kIntervalMessage}, 0, 0},
        {"abc", "1", {kBadNumberMessage}, 0, 0},
        {"1", "1E", {kBadNumberMessage}, 0, 0},
        {"1", "", {kBadNumberMessage}, 0, 0},
        // A hair apart: the step rounds to 0 in doubles and the interval is refused; or the
        // ends lie closer than two neighbouring doubles, and the abscissas, held as doubles,
        // pass X max only after up to 2048 × 200 points more (the ratio of the spacings of
        // extended and double values): the plotting still ends.
        {"0", "1E-4940", {kIntervalMessage}, 0, 0},
        {"1", "1.0000000000000000001", {}, 400, 410000},
        {"1E18", "1000000000000000001", {}, 400, 410000},
        {"-1E-320", "1E-320", {}, 400, 410000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.xMin) + " .. " + row.xMax);
        Memo1()->setPlainText(QStringLiteral("x;"));
        const std::size_t mark = Mark();
        Plot(QString::fromUtf8(row.xMin), QString::fromUtf8(row.xMax));
        EXPECT_EQ(ShownSince(mark), row.shown);
        EXPECT_GE(graf->Series1->PointCount(), row.minPoints);
        EXPECT_LE(graf->Series1->PointCount(), row.maxPoints);
        // The chart paints whatever it holds: a whole paint, and the window shows its image.
        TChart& chart = *graf->Chart1;
        const int paints = chart.FullPaintCount();
        chart.Invalidate();
        const QImage shown = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(chart.FullPaintCount(), paints + 1);
        EXPECT_EQ(shown, chart.OffscreenImage());
        ExpectNextCalculationWorks();
        ExpectNextPlotWorks();
    }
}

TEST_F(HostileGraphTest, TolerancesTheHalvingCannotReach) {
    const std::string root = "message: X1 = -1.4142135623731";
    const struct {
        const char* tolerance;
        std::vector<std::string> shownBefore; // the boxes before the result
        std::string resultStart;
    } rows[] = {
        {"0", {}, root},
        {"-1", {}, root},
        {"1E-4000", {}, root},
        {"-1E4932", {}, root},
        {"abc", {"error: 'abc' is not a valid floating point value."}, root},
        {"1E5000", {"error: '1E5000' is not a valid floating point value."}, root},
        // Wider than the interval: no halving; the left end is the answer.
        {"1E4932", {}, "message: X1 = -10, f(X1)= 98"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tolerance);
        Tolerance = -1; // a refused text leaves the last accepted value
        Calculate(QStringLiteral("x*x-2;"));
        graf->Edit2->setText(QStringLiteral("-10"));
        graf->Edit3->setText(QStringLiteral("1"));
        const std::size_t mark = Mark();
        Solve(QString::fromUtf8(row.tolerance));
        const std::vector<std::string> shown = ShownSince(mark);
        ASSERT_EQ(shown.size(), row.shownBefore.size() + 1);
        EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.end() - 1), row.shownBefore);
        EXPECT_EQ(shown.back().substr(0, row.resultStart.size()), row.resultStart);
        ExpectNextCalculationWorks();
    }
}

TEST_F(HostileGraphTest, FormulasThatFailInThePlotting) {
    const struct {
        const char* formula;
        const char* xMin;
        const char* xMax;
        std::vector<std::string> shown;
        int points;
    } rows[] = {
        {"EXP(20000);", "-10", "1", {kOverflow}, 0},
        {"0.5^(-20000);", "-10", "1", {kZeroDivide}, 0},
        {"TAN(1E30);", "-10", "1", {kInvalidOp}, 0},
        {"1/(x-x);", "-10", "1", {kDivideByZero, kCalculationMessage}, 0},
        // Good at the calculator's x = 1, failing somewhere in the interval.
        {"EXP(-x*2000);", "-10", "1", {kOverflow}, 0},
        {"0.5^(x*20000);", "-10", "1", {kZeroDivide}, 0},
        {"TAN(x*1E18);", "-10", "1", {kInvalidOp}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.formula);
        Memo1()->setPlainText(QString::fromUtf8(row.formula));
        const std::size_t mark = Mark();
        Plot(QString::fromUtf8(row.xMin), QString::fromUtf8(row.xMax));
        EXPECT_EQ(ShownSince(mark), row.shown);
        EXPECT_EQ(graf->Series1->PointCount(), row.points);
        ExpectNextCalculationWorks();
        ExpectNextPlotWorks();
    }
}

TEST_F(HostileGraphTest, AFormulaThatFailsAtEveryPointAsksEachTime) {
    // SQRT(x) is good at the calculator's x = 1 and fails at every point of -10 .. -1.
    Memo1()->setPlainText(QStringLiteral("SQRT(x);"));

    // Yes stops at once: the one failed point stays.
    toolkit.confirmAnswers = {true};
    std::size_t mark = Mark();
    Plot(QStringLiteral("-10"), QStringLiteral("-1"));
    std::vector<std::string> shown = ShownSince(mark);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], kStopQuestion);
    EXPECT_EQ(graf->Series1->PointCount(), 1);

    // No every time: all 401 points, each with the engine's message, and the question before
    // every point after the first.
    toolkit.confirmAnswers.clear();
    mark = Mark();
    Plot(QStringLiteral("-10"), QStringLiteral("-1"));
    shown = ShownSince(mark);
    EXPECT_EQ(graf->Series1->PointCount(), 401);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), kStopQuestion), 400);
    EXPECT_EQ(shown.size(), 801u);
    ExpectNextCalculationWorks();
    ExpectNextPlotWorks();
}

TEST_F(HostileGraphTest, SolvingIntervalEndsAtAndBeyondTheRanges) {
    const struct {
        const char* xMin;
        const char* xMax;
        std::vector<std::string> shown;
    } rows[] = {
        {"abc", "1", {"message: X min записано неверно "}},
        {"-1", "1E", {"message: X max записано неверно "}},
        {"1E4933", "1", {kOverflow}},
        {"-1", "1E4933", {kOverflow}},
        // Wider than the extended range, or with infinite ends.
        {"-1E4932", "1E4932", {kOverflow}},
        {"-1E5120", "1E5120", {kInvalidOp}},
        {"-1E5120", "1", {kInvalidOp}},
        {"-1", "1E5120", {kInvalidOp}},
        {"1", "-1", {kIntervalMessage}},
        {"-1E-4940", "1E-4940", {"message: X1 = 0, f(X1)= 0"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.xMin) + " .. " + row.xMax);
        Calculate(QStringLiteral("x;"));
        graf->Edit2->setText(QString::fromUtf8(row.xMin));
        graf->Edit3->setText(QString::fromUtf8(row.xMax));
        const std::size_t mark = Mark();
        Solve(QStringLiteral("0"));
        EXPECT_EQ(ShownSince(mark), row.shown);
        ExpectNextCalculationWorks();
    }
}

TEST_F(HostileGraphTest, FormulasThatFailInTheSolving) {
    const struct {
        const char* formula;
        const char* xMin;
        const char* xMax;
        std::vector<std::string> shown;
    } rows[] = {
        // Failing at the ends: the value there counts as 0.
        {"1/(x-x);", "-10", "1", {kDivideByZero, kSignMessage}},
        {"EXP(-x*2000);", "-10", "1", {kOverflow}},
        {"0.5^(x*20000);", "-10", "1", {kZeroDivide}},
        {"TAN(x*1E18);", "-10", "1", {kInvalidOp}},
        {"EXP(x*2000);", "-1", "10", {kOverflow}},
        // Failing at the first midpoint: every later value is 0, so the search closes in on
        // X min and ends.
        {"1/x;", "-1", "1", {kDivideByZero, "message: X1 = -0.999999940395355, f(X1)= 0"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.formula);
        // The tree to solve is the one of the last calculation (good at x = 0.5).
        Calculate(QString::fromUtf8(row.formula), QStringLiteral("0.5"));
        graf->Edit2->setText(QString::fromUtf8(row.xMin));
        graf->Edit3->setText(QString::fromUtf8(row.xMax));
        const std::size_t mark = Mark();
        Solve();
        EXPECT_EQ(ShownSince(mark), row.shown);
        ExpectNextCalculationWorks();
    }
}

// A box runs a nested event loop, and what arrives while it is open (above all the graph
// window's activation, which plots anew) must wait until the command that showed it has
// returned: the plotting parses a new tree and frees the one the command is evaluating.
TEST_F(HostileGraphTest, AnActivationInsideABoxWaitsForTheCommandToReturn) {
    // Halving [0, 1] for f(x) = x moves only the right end, down to 2^-24 ≤ 1E-7.
    const std::string kSolvedNearZero =
        "message: X1 = 5.96046447753906E-8, f(X1)= 5.96046447753906E-8";
    struct Row {
        const char* name;
        const char* formula;
        const char* xMin;
        bool solve;        // solve, or plot from the speed button
        std::string inBox; // the box that receives the activation
        std::vector<std::string> shown;
        int points; // after the command and the plotting it may be owed
    };
    const Row rows[] = {
        // The solve's first evaluation fails and shows the engine's message; the activation
        // inside it plots once the solve has ended, and that plotting's question is answered
        // «Нет».
        {"solve, activation in the engine's message",
         "1/x+1;",
         "0",
         true,
         kDivideByZero,
         {kDivideByZero, kSignMessage, kDivideByZero, kStopQuestion},
         400},
        {"solve, activation in the result",
         "x;",
         "0",
         true,
         kSolvedNearZero,
         {kSolvedNearZero},
         400},
        // The error box's closing never plots.
        {"solve, activation in the error box", "x;", "-1E4933", true, kOverflow, {kOverflow}, 0},
        // Nor do the plotting's own boxes.
        {"plot, activation in the question",
         "1/x+1;",
         "0",
         false,
         kStopQuestion,
         {kDivideByZero, kStopQuestion},
         400},
        {"plot, activation in the engine's message",
         "1/x+1;",
         "0",
         false,
         kDivideByZero,
         {kDivideByZero, kStopQuestion},
         400},
    };
    graf->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(graf.get()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // What the window system still has to say (the focus coming back from the last
        // tolerance dialog) is said before the row begins.
        QCoreApplication::processEvents();
        Calculate(QString::fromUtf8(row.formula));
        graf->Edit2->setText(QString::fromUtf8(row.xMin));
        graf->Edit3->setText(QStringLiteral("1"));
        graf->SpeedButton2->click();
        bool activated = false;
        toolkit.whileOpen = [&](const ScriptedToolkit::Call& call) {
            if (!activated && Shown(call) == row.inBox) {
                activated = true;
                FocusComesBackTo(graf.get());
            }
        };
        toolkit.confirmAnswers = {false};
        const std::size_t mark = Mark();
        if (row.solve) {
            Solve();
        } else {
            graf->SpeedButton1->click();
        }
        toolkit.whileOpen = nullptr;
        EXPECT_TRUE(activated);
        EXPECT_EQ(ShownSince(mark), row.shown);
        EXPECT_EQ(graf->Series1->PointCount(), row.points);
        ExpectNextCalculationWorks();
    }
}

} // namespace
