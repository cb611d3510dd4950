// The graph window's plotting command without painting: the calculation (a real parse of the
// formula), 401 evaluations at the abscissas of -10 .. 1 and their insertion into the chart's
// series, which only marks the hidden chart for repainting.

#include "FakeGraphHost.h"
#include "GraphCommands.h"

#include "TChart.h"
#include "TLineSeries.h"
#include "zorvo3.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_PlotGraph401Points(benchmark::State& state) {
    FakeGraphHost host;
    host.Formula = "2*SIN(x)^2+1;";
    TChart chart;
    TLineSeries* series = chart.AddSeries<TLineSeries>();
    for (auto _ : state) {
        PlotGraph(host, "-10", "1", *series);
        benchmark::DoNotOptimize(series->PointCount());
    }
    if (series->PointCount() != 401 || !host.Log.empty()) {
        state.SkipWithError("the plotting did not give 401 points without messages");
    }
    state.counters["points"] = series->PointCount();
}
BENCHMARK(BM_PlotGraph401Points)->Unit(benchmark::kMicrosecond);

// The sampling alone, for comparison: the same 401 evaluations and insertions written by hand,
// without the calculation, the checks and the floating-point status tests.
void BM_HandWrittenSampling401Points(benchmark::State& state) {
    FakeGraphHost host;
    host.Formula = "2*SIN(x)^2+1;";
    host.Calculate();
    TChart chart;
    TLineSeries* series = chart.AddSeries<TLineSeries>();
    const double step = static_cast<double>(11.0L / 399);
    for (auto _ : state) {
        series->ClearPoints();
        for (int i = 0; i <= 400; ++i) {
            const double x = static_cast<double>(i * step - 10.0L);
            series->AddPoint(x, static_cast<double>(EvalFormula(x)));
        }
        benchmark::DoNotOptimize(series->PointCount());
    }
}
BENCHMARK(BM_HandWrittenSampling401Points)->Unit(benchmark::kMicrosecond);

// The parts: the evaluations alone, and the insertions alone.
void BM_Evaluations401(benchmark::State& state) {
    FakeGraphHost host;
    host.Formula = "2*SIN(x)^2+1;";
    host.Calculate();
    const double step = static_cast<double>(11.0L / 399);
    for (auto _ : state) {
        long double sum = 0;
        for (int i = 0; i <= 400; ++i) {
            sum += EvalFormula(static_cast<double>(i * step - 10.0L));
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_Evaluations401)->Unit(benchmark::kMicrosecond);

void BM_Insertions401(benchmark::State& state) {
    TChart chart;
    TLineSeries* series = chart.AddSeries<TLineSeries>();
    for (auto _ : state) {
        series->ClearPoints();
        for (int i = 0; i <= 400; ++i) {
            series->AddPoint(i, i);
        }
        benchmark::DoNotOptimize(series->PointCount());
    }
}
BENCHMARK(BM_Insertions401)->Unit(benchmark::kMicrosecond);

void BM_Calculation(benchmark::State& state) {
    FakeGraphHost host;
    host.Formula = "2*SIN(x)^2+1;";
    for (auto _ : state) {
        host.Calculate();
    }
}
BENCHMARK(BM_Calculation)->Unit(benchmark::kMicrosecond);

} // namespace
