// A statement of any bytes (at most 255, as the engine holds them), parsed by the calculation
// command's statement loop (each "f" starts a statement). No crash, no undefined behaviour, no
// leak, no endless loop; the only exceptions are the floating-point errors. When the parse
// succeeds:
// - the tree printed back as a statement, fully parenthesised, parses to the same tree (the
//   constants within the rounding of the engine's own literal reader);
// - every value at a few x, ±∞ included, is 0 after an error or within ±1E30, with at most one
//   message per evaluation;
// - every point that bisection returns lies in its interval.

#include "Exceptions.h"
#include "FuzzCheck.h"
#include "zorvo3.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

void checkValue(long double value) {
    check(!std::isnan(value) && std::fabs(value) <= 1E30L);
    if (ErrEval) {
        check(value == 0 && ErrAny);
    }
}

// Runs what may raise one of the floating-point errors; false when it did.
template <typename Action> bool completes(Action action) {
    try {
        action();
        return true;
    } catch (const EMathError&) {
        return false;
    }
}

// Constants above this are printed close enough to the top of the range that reading them
// back may overflow.
constexpr long double NearTheTop = 1E4931L;

std::string constantText(long double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.21Le", value);
    return text;
}

// The tree as a statement body that the grammar reads back into the same tree: every operator
// in parentheses, negation as a leading sign of a parenthesised expression.
std::string printed(const ExprNode* node, bool& nearTheTop) {
    switch (node->NodeKind) {
    case ExprNodeKind::Variable:
        return "x";
    case ExprNodeKind::Constant:
        nearTheTop = nearTheTop || node->ConstValue > NearTheTop;
        return constantText(node->ConstValue);
    case ExprNodeKind::Function:
        if (node->FuncIndex == NegationIndex) {
            return "(-" + printed(node->LeftNode.get(), nearTheTop) + ")";
        }
        return std::string(FunctionNames.at(node->FuncIndex)) + "(" +
               printed(node->LeftNode.get(), nearTheTop) + ")";
    case ExprNodeKind::Operator:
    default:
        return "(" + printed(node->LeftNode.get(), nearTheTop) + node->OpChar +
               printed(node->RightNode.get(), nearTheTop) + ")";
    }
}

// The printed constant is read back by the engine's own literal reader: its fraction digits and
// its power of 0.1 round a little, and below the normal range only absolute closeness counts.
bool closeConstants(long double a, long double b) {
    return std::fabs(a - b) <= 1E-15L * std::max(std::fabs(a), std::fabs(b)) + 1E-4900L;
}

bool sameTree(const ExprNode* a, const ExprNode* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    if (a->NodeKind != b->NodeKind) {
        return false;
    }
    switch (a->NodeKind) {
    case ExprNodeKind::Variable:
        return true;
    case ExprNodeKind::Constant:
        return closeConstants(a->ConstValue, b->ConstValue);
    case ExprNodeKind::Function:
        return a->FuncIndex == b->FuncIndex && sameTree(a->LeftNode.get(), b->LeftNode.get());
    case ExprNodeKind::Operator:
    default:
        return a->OpChar == b->OpChar && sameTree(a->LeftNode.get(), b->LeftNode.get()) &&
               sameTree(a->RightNode.get(), b->RightNode.get());
    }
}

// Makes text the statement and runs the statement loop on it, as the calculation command does.
bool parses(const std::string& text) {
    FormulaText = text;
    FormulaLen = static_cast<std::uint8_t>(FormulaText.size());
    ScanPos = 0;
    CurChar = ' ';
    ErrAny = false;
    ParseStatements();
    return !ErrAny && TreeRoot != nullptr;
}

void checkReprint() {
    bool nearTheTop = false;
    const std::string body = printed(TreeRoot.get(), nearTheTop);
    if (body.size() + 7 > 255) {
        return; // longer than the engine holds
    }
    std::unique_ptr<ExprNode> original = std::move(TreeRoot);
    const bool read = completes([&] { check(parses("f(x)=" + body + ";")); });
    check(read || nearTheTop);
    check(!read || sameTree(original.get(), TreeRoot.get()));
    TreeRoot = std::move(original);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetEngineState();
    FillLetterSet();
    int messages = 0;
    SetEngineMessageHook([&messages](const std::string& text) {
        check(!text.empty());
        ++messages;
    });

    const std::string text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 255));
    if (completes([&] { parses(text); }) && !ErrAny && TreeRoot != nullptr) {
        checkReprint();
        constexpr long double Inf = std::numeric_limits<long double>::infinity();
        for (const long double x : {0.0L, 1.0L, -2.5L, 1E10L, 3.7E-5L, -1E-300L, Inf, -Inf}) {
            ErrRule = ErrEval = ErrAny = false;
            messages = 0;
            completes([&] { checkValue(EvalFormula(x)); });
            check(messages <= 1);
        }
        // Every point bisection returns lies in its interval, a tolerance of 0 included (which
        // must end as well).
        const struct { long double a, b, eps; } intervals[] = {{-3, 5, 1E-6L}, {0.5L, 1.5L, 0}};
        for (const auto& interval : intervals) {
            ErrRule = ErrEval = ErrAny = false;
            long double x1 = std::numeric_limits<long double>::quiet_NaN(), fx1 = 0;
            if (completes(
                    [&] { Bisect(x1, fx1, EvalFormula, interval.a, interval.b, interval.eps); })) {
                check(x1 >= interval.a && x1 <= interval.b);
                checkValue(fx1);
            }
        }
    }
    SetEngineMessageHook(nullptr);
    return 0;
}
