// The plotting and solving commands, driven without the window: a real engine behind a
// scripted host, the series as the commands leave it.

#include "GraphCommands.h"
#include "Calculation.h"
#include "FakeGraphHost.h"
#include "GraphMessages.h"

#include "Exceptions.h"
#include "NumberText.h"
#include "TLineSeries.h"
#include "zorvo3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const std::string FormulaMessage = "message: " + Utf8Of(BadFormulaMessage());

class GraphCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { SetRegionalSeparators('.', ','); }

    void Plot(const std::string& formula, const std::string& xMin, const std::string& xMax) {
        host.Formula = formula;
        PlotGraph(host, xMin, xMax, series);
    }
    void Solve(const std::string& xMin, const std::string& xMax) {
        SolveEquation(host, xMin, xMax);
    }
    std::vector<std::string> EngineEntries() const {
        std::vector<std::string> entries;
        for (const std::string& entry : host.Log) {
            if (entry.rfind("engine: ", 0) == 0) {
                entries.push_back(entry);
            }
        }
        return entries;
    }

    FakeGraphHost host;
    TLineSeries series;
};

TEST_F(GraphCommandsTest, SamplesEvenlyAt400Or401Points) {
    // Point i lies at i × XStep + XMin in extended, held as a double, with XStep =
    // (XMax − XMin) / 399 held as a double. Worked out by hand for −10 … 1: XStep =
    // 11/399 ≈ 0.02756892230576441, and 399 × XStep + (−10) = 1 − 3·2⁻⁵², just below 1.
    struct Point {
        int i;
        double x;
    };
    struct Row {
        const char* xMin;
        const char* xMax;
        long double min;
        long double max;
        int count;
        std::vector<Point> worked;
    };
    const Row rows[] = {
        {"-10",
         "1",
         -10,
         1,
         401, // point 399 falls just below 1, so one more follows
         {{0, -10}, {1, -9.972431077694235}, {399, 0.9999999999999993}, {400, 1.0275689223057638}}},
        {"0", "1", 0, 1, 400, {{0, 0}, {1, 0.002506265664160401}, {399, 1}}}, // 399 is exactly 1
        {"-200", "199", -200, 199, 400, {{0, -200}, {1, -199}, {200, 0}, {399, 199}}},
        {" 2.5", "3", 2.5L, 3, 400, {{0, 2.5}, {1, 2.50125313283208}, {399, 3}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.xMin) + " .. " + row.xMax);
        Plot("x*x-2;", row.xMin, row.xMax);
        ASSERT_EQ(series.PointCount(), row.count);
        EXPECT_EQ(GraphPointCount, 400);
        EXPECT_EQ(XMin, row.min);
        EXPECT_EQ(XMax, row.max);
        for (const Point& p : row.worked)
            EXPECT_EQ(series.XValues().ValueAt(p.i), p.x) << "point " << p.i;
        for (int i = 0; i < row.count; ++i) {
            const double x = series.XValues().ValueAt(i);
            if (i > 0) {
                ASSERT_GT(x, series.XValues().ValueAt(i - 1)) << "point " << i;
            }
            ASSERT_EQ(series.YValues().ValueAt(i), static_cast<double>(x * 1.0L * x - 2))
                << "point " << i;
            ASSERT_EQ(series.PointColor(i), clChartDefault);
            ASSERT_TRUE(series.PointLabel(i).empty());
        }
        EXPECT_TRUE(host.Log.empty());
    }
}

TEST_F(GraphCommandsTest, InitialIntervalEndsOneStepBeyondXMax) {
    Plot("x;", "-10", "1");
    ASSERT_EQ(series.PointCount(), 401);
    EXPECT_LT(series.XValues().ValueAt(399), 1.0);
    EXPECT_NEAR(series.XValues().ValueAt(400), 1.02757, 1e-5);
    EXPECT_EQ(series.XValues().ValueAt(0), -10.0);
    EXPECT_EQ(series.LowestY(), -10.0);
    EXPECT_EQ(series.HighestY(), series.XValues().ValueAt(400));
}

TEST_F(GraphCommandsTest, ConstantFormulaGivesOneValue) {
    Plot("5;", "0", "1");
    ASSERT_EQ(series.PointCount(), 400);
    EXPECT_EQ(series.LowestY(), 5.0);
    EXPECT_EQ(series.HighestY(), 5.0);
}

TEST_F(GraphCommandsTest, ChecksComeInOrderAndLeaveTheSeriesEmpty) {
    struct Row {
        const char* name;
        const char* formula;
        const char* xText; // not a number: the calculation stops at its own input check
        const char* xMin;
        const char* xMax;
        std::vector<std::string> log;
    };
    const Row rows[] = {
        {"faulty formula", "1+;", "1", "abc", "1", {FormulaMessage, kCalculationMessage}},
        {"no semicolon", "x", "1", "-10", "1", {FormulaMessage, kCalculationMessage}},
        {"empty formula",
         "x",
         "1,5",
         "-10",
         "1",
         {"message: " + Utf8Of(BadXMessage()), "message: Формула пуста"}},
        {"bad X min", "x;", "1", "1,5", "abc", {kBadNumberMessage}},
        {"bad X max", "x;", "1", "-10", "1 ", {kBadNumberMessage}},
        {"equal ends", "x;", "1", "1", "1", {kIntervalMessage}},
        {"reversed ends", "x;", "1", "2", "1", {kIntervalMessage}},
        {"step rounds to 0", "x;", "1", "0", "1E-4000", {kIntervalMessage}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        series.AddPoint(0, 0); // left from an earlier plotting: every stop empties the series
        host.Log.clear();
        host.XText = row.xText;
        ErrAny = false; // the input check keeps the flags of the last calculation
        Plot(row.formula, row.xMin, row.xMax);
        EXPECT_EQ(host.Log, row.log);
        EXPECT_EQ(series.PointCount(), 0);
    }
}

TEST_F(GraphCommandsTest, FailedPointIsAddedAsZeroAndTheQuestionFollows) {
    // -200 .. 199 steps by exactly 1, so point 200 is x = 0, where 1/x fails.
    struct Row {
        bool stop;
        int count;
    };
    for (const Row row : {Row{false, 400}, Row{true, 201}}) {
        SCOPED_TRACE(row.stop ? "Yes" : "No");
        host.Log.clear();
        host.Answers = {row.stop};
        Plot("1/x;", "-200", "199");
        ASSERT_EQ(host.Log.size(), 2u);
        EXPECT_EQ(host.Log[0].rfind("engine: ", 0), 0u); // the engine's own message first
        EXPECT_EQ(host.Log[1], kStopQuestion);
        ASSERT_EQ(series.PointCount(), row.count);
        EXPECT_EQ(series.XValues().ValueAt(200), 0.0);
        EXPECT_EQ(series.YValues().ValueAt(200), 0.0);
        EXPECT_EQ(series.YValues().ValueAt(199), -1.0);
        EXPECT_TRUE(host.Answers.empty());
    }
}

TEST_F(GraphCommandsTest, EveryFailingPointShowsTwoBoxesWhenAnsweredNo) {
    host.DefaultAnswer = false;
    Plot("SQRT(x);", "-10", "1");
    ASSERT_EQ(series.PointCount(), 401);
    int failing = 0;
    for (int i = 0; i < series.PointCount(); ++i) {
        failing += series.XValues().ValueAt(i) < 0 ? 1 : 0;
    }
    EXPECT_EQ(EngineEntries().size(), std::size_t(failing));
    EXPECT_EQ(host.Log.size(), std::size_t(2 * failing));
    for (std::size_t i = 1; i < host.Log.size(); i += 2) {
        ASSERT_EQ(host.Log[i], kStopQuestion) << "entry " << i;
    }
}

TEST_F(GraphCommandsTest, FailureAtTheLastPointAsksNothing) {
    // SQRT(1-x) fails only at point 400, one step beyond X max.
    Plot("SQRT(1-x);", "-10", "1");
    ASSERT_EQ(series.PointCount(), 401);
    EXPECT_EQ(host.Log.size(), 1u);
    EXPECT_EQ(EngineEntries().size(), 1u);
    EXPECT_TRUE(ErrEval);
}

TEST_F(GraphCommandsTest, IntervalBeyondTheDoubleRangeRaises) {
    struct Row {
        const char* xMin;
        const char* xMax;
    };
    // Each row would otherwise give an infinite or non-numeric abscissa.
    const Row rows[] = {{"-1E400", "1"}, {"1", "1E400"}, {"0", "1E5200"}, {"-1E5200", "0"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.xMin) + " .. " + row.xMax);
        EXPECT_THROW(Plot("x;", row.xMin, row.xMax), EMathError);
        EXPECT_EQ(series.PointCount(), 0);
    }
    Plot("x;", "-1E300", "1E300"); // wide, but within the range
    EXPECT_GE(series.PointCount(), 400);
    EXPECT_LE(series.PointCount(), 401);
}

TEST_F(GraphCommandsTest, NarrowIntervalStillEnds) {
    // XMax lies one extended spacing above XMin: the abscissas crawl over it in double steps.
    Plot("x;", "1", "1.0000000000000000001");
    EXPECT_GT(series.PointCount(), 400);
    EXPECT_GE(series.XValues().ValueAt(series.PointCount() - 1), 1.0);
}

// ---- solving -------------------------------------------------------------------------------

// The two numbers of «X1 = a, f(X1)= b».
struct Result {
    long double x1 = 0;
    long double fx1 = 0;
};
Result ParseResult(const std::string& entry) {
    const std::string head = "message: X1 = ";
    const std::string middle = ", f(X1)= ";
    EXPECT_EQ(entry.rfind(head, 0), 0u) << entry;
    const std::size_t at = entry.find(middle);
    EXPECT_NE(at, std::string::npos) << entry;
    Result result;
    std::int32_t errorPos = 0;
    result.x1 = ParseReal(entry.substr(head.size(), at - head.size()), errorPos);
    EXPECT_EQ(errorPos, 0) << entry;
    result.fx1 = ParseReal(entry.substr(at + middle.size()), errorPos);
    EXPECT_EQ(errorPos, 0) << entry;
    return result;
}

TEST_F(GraphCommandsTest, SolvesWithinTheTolerance) {
    struct Row {
        const char* formula;
        const char* xMin;
        const char* xMax;
        long double tolerance;
        long double root;
        long double within;
    };
    const long double sqrt2 = std::sqrt(2.0L);
    const Row rows[] = {
        {"x*x-2;", "-10", "1", 1e-7L, -sqrt2, 1e-7L},
        {"x*x-2;", "0", "10", 1e-3L, sqrt2, 1e-3L},
        {"x;", "0", "1", 1e-7L, 0, 1e-7L},   // a zero at the left end
        {"x-1;", "0", "1", 1e-7L, 1, 1e-7L}, // a zero at the right end
        // Below the spacing of extended values the search goes to the last bit; the result
        // text shows 15 digits of it.
        {"x*x-2;", "-10", "1", 0, -sqrt2, 1e-14L},
        {"x*x-2;", "-10", "1", -1, -sqrt2, 1e-14L},
        {"x*x-2;", "-10", "1", 1e-4000L, -sqrt2, 1e-14L},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.formula) + " on " + row.xMin + " .. " + row.xMax +
                     ", tolerance " + FormatGeneral(row.tolerance));
        Plot(row.formula, row.xMin, row.xMax);
        host.Log.clear();
        host.ToleranceValue = row.tolerance;
        Solve(row.xMin, row.xMax);
        ASSERT_EQ(host.Log.size(), 2u);
        EXPECT_EQ(host.Log[0], "dialog");
        const Result result = ParseResult(host.Log[1]);
        EXPECT_NEAR(double(result.x1), double(row.root), double(row.within));
        EXPECT_LE(std::fabs(result.fx1), 4 * std::fabs(row.within) + 1e-15L);
    }
}

TEST_F(GraphCommandsTest, ResultTextIsWrittenInTheGeneralFormat) {
    Plot("x-0.25;", "0", "1");
    host.Log.clear();
    host.ToleranceValue = 0.6L; // one halving: the midpoint 0.5
    Solve("0", "1");
    EXPECT_EQ(host.Log.back(), "message: X1 = 0.5, f(X1)= 0.25");
    SetRegionalSeparators(',', ' ');
    Solve("0", "1");
    EXPECT_EQ(host.Log.back(), "message: X1 = 0,5, f(X1)= 0,25");
}

TEST_F(GraphCommandsTest, IntervalWithinTheToleranceAnswersWithItsLeftEnd) {
    Plot("x;", "-1", "1");
    host.Log.clear();
    host.ToleranceValue = 10;
    Solve("-1", "1");
    EXPECT_EQ(host.Log, (std::vector<std::string>{"dialog", "message: X1 = -1, f(X1)= -1"}));
}

TEST_F(GraphCommandsTest, RefusalsAndTheirMessages) {
    struct Row {
        const char* name;
        const char* formula;
        const char* xMin;
        const char* xMax;
        bool dialogAnswer;
        std::vector<std::string> log;
    };
    const Row rows[] = {
        {"cancelled", "x;", "-1", "1", false, {"dialog"}},
        {"bad X min", "x;", "-1x", "1", true, {"dialog", "message: X min записано неверно "}},
        {"bad X max", "x;", "-1", "", true, {"dialog", "message: X max записано неверно "}},
        {"same sign", "x*x+1;", "-1", "1", true, {"dialog", kSignMessage}},
        {"even root", "(x+1)*(x+1);", "-10", "1", true, {"dialog", kSignMessage}},
        {"zero at both ends", "x*(x-1);", "0", "1", true, {"dialog", kSignMessage}},
        {"reversed ends", "x;", "1", "-1", true, {"dialog", kIntervalMessage}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Plot(row.formula, "-10", "1");
        host.Log.clear();
        host.DialogAnswer = row.dialogAnswer;
        Solve(row.xMin, row.xMax);
        EXPECT_EQ(host.Log, row.log);
    }
}

TEST_F(GraphCommandsTest, FailureAtTheLastPlottedPointDoesNotSpoilTheSolution) {
    // The plotting's last point, 1.02757, lies beyond X max, where SQRT fails; the equation
    // SQRT(1-x) = 0.5 still has its root at 0.75 inside -10 .. 1.
    Plot("SQRT(1-x)-0.5;", "-10", "1");
    ASSERT_TRUE(ErrEval);
    host.Log.clear();
    Solve("-10", "1");
    ASSERT_EQ(host.Log.size(), 2u);
    EXPECT_NEAR(double(ParseResult(host.Log[1]).x1), 0.75, 1e-7);
}

TEST_F(GraphCommandsTest, FailureAtAnEndShowsTheEngineMessageAndTheSignMessage) {
    Plot("SQRT(x);", "0", "1");
    host.Log.clear();
    Solve("-1", "1");
    ASSERT_EQ(host.Log.size(), 3u);
    EXPECT_EQ(host.Log[1].rfind("engine: ", 0), 0u);
    EXPECT_EQ(host.Log[2], kSignMessage);
}

TEST_F(GraphCommandsTest, SolvingWithoutAnyTreeRefuses) {
    ResetEngineState(); // nothing parsed since start-up
    Solve("-1", "1");
    EXPECT_EQ(host.Log, (std::vector<std::string>{"dialog", kSignMessage}));
}

TEST_F(GraphCommandsTest, OverflowInsideTheSearchLeavesTheCommand) {
    Plot("EXP(x)-2;", "0", "1");
    host.Log.clear();
    EXPECT_THROW(Solve("0", "100000"), EOverflow);
}

} // namespace
