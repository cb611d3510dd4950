// The expression engine against the same formulas written by hand in long double, and the
// parse of a statement of the longest formula the calculator accepts (248 characters).
//
// x runs through 1024 values in a cycle, the same in both versions, and every result goes
// through DoNotOptimize, so the compiler can neither hoist the hand-written work out of the
// loop nor drop it.

#include "zorvo3.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// Parses "f(x) = " + body the way the calculation command does.
void parseFormula(const std::string& body) {
    FormulaText = "f(x) = " + body;
    FormulaLen = static_cast<std::uint8_t>(FormulaText.size());
    ScanPos = 0;
    CurChar = ' ';
    ErrAny = ErrRule = ErrEval = false;
    SkipBlanks();
    ParseStatement(TreeRoot);
}

void prepare(const std::string& body) {
    ResetEngineState();
    FillLetterSet();
    parseFormula(body);
    if (ErrAny) {
        std::cerr << "cannot parse " << body << '\n';
        std::abort();
    }
}

// The i-th x of the cycle: start, start + 1/1024, ...
inline long double xAt(long double start, unsigned i) {
    return start + static_cast<long double>(i & 1023u) * (1.0L / 1024);
}

template <typename Formula>
void runFormula(benchmark::State& state, long double start, Formula formula) {
    unsigned i = 0;
    for (auto _ : state) {
        long double y = formula(xAt(start, i++));
        benchmark::DoNotOptimize(y);
    }
}

void BM_Engine_SinSquared(benchmark::State& state) {
    prepare("2*SIN(x)^2+1;");
    runFormula(state, 0.25L, EvalFormula);
}
void BM_Hand_SinSquared(benchmark::State& state) {
    runFormula(state, 0.25L, [](long double x) {
        const long double s = std::sin(x);
        return 2 * (s * s) + 1;
    });
}

void BM_Engine_Square(benchmark::State& state) {
    prepare("x*x-2;");
    runFormula(state, 0.25L, EvalFormula);
}
void BM_Hand_Square(benchmark::State& state) {
    runFormula(state, 0.25L, [](long double x) { return x * x - 2; });
}

// The same, behind a call that the compiler may not inline, with EvalFormula's signature:
// what passing an extended value in and out of any function costs, the floor for EvalFormula.
[[gnu::noinline]] long double squareBehindACall(long double x) {
    return x * x - 2;
}
void BM_Call_Square(benchmark::State& state) {
    runFormula(state, 0.25L, squareBehindACall);
}

void BM_Engine_Mixed(benchmark::State& state) {
    prepare("(x+1)/(x-1)*EXP(-x)+SQRT(ABS(x));");
    runFormula(state, 2.0L, EvalFormula);
}
void BM_Hand_Mixed(benchmark::State& state) {
    runFormula(state, 2.0L, [](long double x) {
        return (x + 1) / (x - 1) * std::exp(-x) + std::sqrt(std::fabs(x));
    });
}

const std::string LongFormula =
    "2*SIN(x)^2+1+(x+1)/(x-1)*EXP(-x)+SQRT(ABS(x))-COS(x/2)*LN(x^2+1)+ARCTAN(x)"
    "+2*SIN(x)^2+1+(x+1)/(x-1)*EXP(-x)+SQRT(ABS(x))-COS(x/2)*LN(x^2+1)+ARCTAN(x)"
    "+2*SIN(x)^2+1+(x+1)/(x-1)*EXP(-x)+SQRT(ABS(x))-COS(x/2)*LN(x^2+1)+ARCTAN(x)"
    "+1.25E-3*TAN(x)+ RAD(x);";

void BM_Engine_Parse248(benchmark::State& state) {
    if (LongFormula.size() != 248) {
        state.SkipWithError("the long formula must have 248 characters");
        return;
    }
    prepare(LongFormula);
    for (auto _ : state) {
        parseFormula(LongFormula);
        benchmark::DoNotOptimize(TreeRoot.get());
    }
    if (ErrAny) {
        state.SkipWithError("the long formula did not parse");
    }
}

} // namespace

BENCHMARK(BM_Engine_SinSquared);
BENCHMARK(BM_Hand_SinSquared);
BENCHMARK(BM_Engine_Square);
BENCHMARK(BM_Hand_Square);
BENCHMARK(BM_Call_Square);
BENCHMARK(BM_Engine_Mixed);
BENCHMARK(BM_Hand_Mixed);
BENCHMARK(BM_Engine_Parse248);

BENCHMARK_MAIN();
