#include "GraphCommands.h"

#include "GraphHost.h"
#include "TextCodec.h"

#include "FloatErrors.h"
#include "NumberText.h"
#include "TChartSeries.h"
#include "zorvo3.h"

#include <cmath>
#include <limits>
#include <string>

long double XMin = 0;
long double XMax = 0;
std::int32_t GraphPointCount = 0;

namespace {

// The messages of the two commands, converted once.
struct Messages {
    std::string CalculationError = Cp("Ошибка в вычислениях - недопустимое значение аргумента");
    std::string EmptyFormula = Cp("Формула пуста");
    std::string BadNumber = Cp("неверно записано число");
    std::string BadInterval = Cp("Ошибка: X_max должно быть больше, чем X_min ");
    std::string StopQuestion =
        Cp("Произошла ошибка в вычислениях. Остановить построение графика ?");
    std::string BadXMin = Cp("X min записано неверно ");
    std::string BadXMax = Cp("X max записано неверно ");
    std::string NoSignChange =
        Cp("Не выполнено необходимое условие: F(Xmin)*F(Xmin) < 0 ! \n\rНе могу решить уравнение");
};

const Messages& Texts() {
    static const Messages messages;
    return messages;
}

void ClearEngineErrors() {
    ErrRule = false;
    ErrEval = false;
    ErrAny = false;
}

// The floating-point unit reports an overflow or an invalid operation of the interval
// arithmetic (an end beyond the double range, infinite ends) as the runtime's errors. The
// results pass through volatile variables so that the operations stay between the clearing
// and the test of the status flags.
double RoundToDouble(long double value) {
    ClearFloatErrors();
    const volatile double rounded = static_cast<double>(value);
    RaiseFloatErrors();
    return rounded;
}

// (XMax − XMin) / (count − 1), subtracted and divided in extended, then held as a double.
double StepOf(long double xMin, long double xMax, std::int32_t count) {
    ClearFloatErrors();
    const volatile long double exact = (xMax - xMin) / static_cast<long double>(count - 1);
    const volatile double step = static_cast<double>(exact);
    RaiseFloatErrors();
    return step;
}

// i × XStep + XMin, computed afresh from i in extended and held as a double, so that no error
// accumulates from point to point. XMin and XStep are finite doubles here, so the extended
// arithmetic is exact enough never to overflow or be invalid; only the rounding to a double
// can overflow, and then gives infinity. Testing the result costs far less than testing the
// status flags at every point.
double AbscissaOf(std::int32_t i, double step, long double xMin) {
    const double x = static_cast<double>(static_cast<long double>(i) * step + xMin);
    if (std::isinf(x)) {
        ClearFloatErrors();
        throw EOverflow();
    }
    return x;
}

} // namespace

void PlotGraph(GraphHost& host, std::string_view xMinText, std::string_view xMaxText,
               TChartSeries& series) {
    const Messages& text = Texts();
    series.ClearPoints();
    host.Calculate();
    if (ErrAny) {
        host.ShowMessage(text.CalculationError);
        return;
    }
    if (host.FormulaBody().find(';') == std::string::npos) {
        host.ShowMessage(text.EmptyFormula);
        return;
    }
    std::int32_t errorPos = 0;
    XMin = ParseReal(xMinText, errorPos);
    if (errorPos != 0) {
        host.ShowMessage(text.BadNumber);
        return;
    }
    XMax = ParseReal(xMaxText, errorPos);
    if (errorPos != 0) {
        host.ShowMessage(text.BadNumber);
        return;
    }

    GraphPointCount = 400;
    const double step = StepOf(XMin, XMax, GraphPointCount);
    if (!(step > 0)) {
        host.ShowMessage(text.BadInterval);
        return;
    }

    // The test looks at the abscissa of the previous pass, so the loop ends after the first
    // point at or beyond XMax: 400 points, or 401 when rounding leaves point 399 just below it.
    // It ends for every interval: XStep is at least a few extended spacings of XMax, so the
    // abscissa passes XMax within some hundred thousand points at the very worst; the bound
    // on i only keeps the index from overflowing.
    std::int32_t i = 0;
    double x = RoundToDouble(XMin);
    if (std::isinf(x) || std::isinf(step)) {
        // An infinite end (a text such as "1E5000") or step: the first abscissa, 0 × ∞ or
        // ∞ − ∞, would be an invalid operation.
        throw EInvalidOp();
    }
    while (XMax > x && i < std::numeric_limits<std::int32_t>::max()) {
        x = AbscissaOf(i, step, XMin);
        // ErrAny is cleared before every evaluation, so it is set here only when the previous
        // point failed (its own message has been shown already).
        if (ErrAny && host.Confirm(text.StopQuestion)) {
            return;
        }
        ClearEngineErrors();
        const double y = static_cast<double>(EvalFormula(x));
        series.AddPoint(x, y, std::string(), clChartDefault);
        ++i;
    }
    series.RequestRepaint();
}

std::optional<std::string> SolveEquation(GraphHost& host, std::string_view xMinText,
                                         std::string_view xMaxText) {
    const Messages& text = Texts();
    if (!host.ShowToleranceDialog()) {
        return std::nullopt;
    }
    std::int32_t errorPos = 0;
    XMin = ParseReal(xMinText, errorPos);
    if (errorPos != 0) {
        host.ShowMessage(text.BadXMin);
        return std::nullopt;
    }
    XMax = ParseReal(xMaxText, errorPos);
    if (errorPos != 0) {
        host.ShowMessage(text.BadXMax);
        return std::nullopt;
    }

    // The last plotting clears the flags before each point only, so a failure at its last
    // point (which lies beyond X max) would still be recorded here and make every value 0:
    // a solvable equation would be refused. The ends are judged on their own.
    ClearEngineErrors();
    const long double fMin = EvalFormula(XMin);
    const std::int32_t s1 = SignOf(fMin);
    const std::int32_t s2 = SignOf(EvalFormula(XMax));
    if (s1 == s2) {
        host.ShowMessage(text.NoSignChange);
        return std::nullopt;
    }
    // Reversed ends would bisect nothing; they are the same mistake that the plotting refuses.
    if (XMin > XMax) {
        host.ShowMessage(text.BadInterval);
        return std::nullopt;
    }
    // An infinite end (a text such as "1E5120") has no midpoint: ∞ − ∞ is an invalid operation,
    // and the search would end with "X1 = NAN" as if it had found a root.
    if (std::isinf(XMin) || std::isinf(XMax)) {
        throw EInvalidOp();
    }
    // An interval already within the tolerance takes no halving step: its left end, whose
    // value is known, is then the answer (the root lies within the tolerance of it). Bisect
    // ends for any tolerance, also 0, a negative one or one below the spacing of extended
    // values: it stops when the midpoint can no longer leave the ends.
    long double x1 = XMin;
    long double fx1 = fMin;
    Bisect(x1, fx1, EvalFormula, XMin, XMax, host.Tolerance());
    std::string solution = "X1 = " + FormatGeneral(x1) + ", f(X1)= " + FormatGeneral(fx1);
    host.ShowMessage(solution);
    return solution;
}
