// The calculator window's memos at their limit: a pasted line of 65,535 digits and a key typed
// into it, each with the paint it causes, in the memo (which wraps such a line anywhere) and in
// a plain editor of the same size that wraps it by words; and the refusal of a megabyte.

#include "BoundedMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kLimit = 65535;

// A memo as the calculator window shows it: 402 × 97 pixels, wrapped at the widget's width.
template <typename Memo> std::unique_ptr<Memo> shownMemo() {
    auto memo = std::make_unique<Memo>();
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->resize(402, 97);
    memo->show();
    QApplication::processEvents();
    return memo;
}

void settle(QPlainTextEdit& memo) {
    memo.repaint();
    QApplication::processEvents();
}

template <typename Memo> void BM_PasteLineAtTheLimit(benchmark::State& state) {
    const auto memo = shownMemo<Memo>();
    QApplication::clipboard()->setText(QString(kLimit, QLatin1Char('7')));
    for (auto _ : state) {
        state.PauseTiming();
        memo->clear();
        settle(*memo);
        state.ResumeTiming();
        memo->paste();
        settle(*memo);
    }
    if (memo->toPlainText().size() != kLimit) {
        state.SkipWithError("the line was not taken");
    }
}
BENCHMARK_TEMPLATE(BM_PasteLineAtTheLimit, BoundedMemo)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PasteLineAtTheLimit, QPlainTextEdit)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// One key at the end of a line one below the limit, and the backspace that undoes it.
template <typename Memo> void BM_KeyIntoLineAtTheLimit(benchmark::State& state) {
    const auto memo = shownMemo<Memo>();
    QApplication::clipboard()->setText(QString(kLimit - 1, QLatin1Char('7')));
    memo->paste();
    settle(*memo);
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(memo.get(), &key);
        settle(*memo);
        state.PauseTiming();
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(memo.get(), &back);
        settle(*memo);
        state.ResumeTiming();
    }
}
BENCHMARK_TEMPLATE(BM_KeyIntoLineAtTheLimit, BoundedMemo)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_KeyIntoLineAtTheLimit, QPlainTextEdit)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_PasteMegabyteRefused(benchmark::State& state) {
    const auto memo = shownMemo<BoundedMemo>();
    QApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('7')));
    for (auto _ : state) {
        memo->paste();
        settle(*memo);
    }
    if (!memo->toPlainText().isEmpty()) {
        state.SkipWithError("the megabyte was taken");
    }
}
BENCHMARK(BM_PasteMegabyteRefused)->Unit(benchmark::kMillisecond);

} // namespace
