// Evaluation of the expression tree, the formula as a function of x, and the root finder.
//
// Evaluation errors (refused arguments, division by zero, zero to a non-positive power, a
// non-integer power of a base <= 0) set ErrEval and ErrAny, show their message and give the
// error result 0. ErrEval is tested after every operand and before every operation, so the
// first error ends the evaluation of the whole tree and each evaluation shows at most one
// message. Overflow and invalid operations raise through checked() (EngineInternal.h).

#include "zorvo3.h"

#include "EngineInternal.h"
#include "NumberText.h"

#include <cmath>

using namespace engine_detail;

namespace {

constexpr long double ErrorResult = 0;
constexpr long double TinyHyperbolic = 1E-16L;

long double evaluationError(const std::string& message) {
    ErrEval = true;
    ErrAny = true;
    showMessage(message);
    return ErrorResult;
}

// ARCCOS of a, |a| <= 1: the angle of the point (a, √(1 − a²)).
long double arcCos(long double a) {
    return std::atan2(std::sqrt(1 - a * a), a);
}

long double nextRandom() {
    randomSeed = randomSeed * 134775813u + 1u; // modulo 2^32 by unsigned arithmetic
    return static_cast<long double>(randomSeed) / 4294967296.0L;
}

long double applyFunction(std::uint8_t index, long double a) {
    switch (index) {
    case 0: // SIN: the x87 cannot reduce such arguments and the result is taken as 0
        return std::fabs(a) >= TwoPow63 ? 0 : std::sin(a);
    case 1: // COS
        return std::fabs(a) >= TwoPow63 ? 0 : std::cos(a);
    case 2: // LN
        if (a <= 0) {
            // «Ошибка: аргумент логарифма = »
            return evaluationError("\xCE\xF8\xE8\xE1\xEA\xE0: \xE0\xF0\xE3\xF3\xEC\xE5\xED\xF2 "
                                   "\xEB\xEE\xE3\xE0\xF0\xE8\xF4\xEC\xE0 = " +
                                   FormatGeneral(a));
        }
        return lnOf(a);
    case 3: // EXP
        return checked(std::exp(a));
    case 4: // ABS
        return std::fabs(a);
    case 5: // SQRT
        if (a < 0) {
            // «Ошибка:  отрицательный аргумент корня квадратного »
            return evaluationError(
                "\xCE\xF8\xE8\xE1\xEA\xE0:  \xEE\xF2\xF0\xE8\xF6\xE0\xF2\xE5\xEB\xFC\xED\xFB\xE9 "
                "\xE0\xF0\xE3\xF3\xEC\xE5\xED\xF2 \xEA\xEE\xF0\xED\xFF "
                "\xEA\xE2\xE0\xE4\xF0\xE0\xF2\xED\xEE\xE3\xEE " +
                FormatFixed(a, 1, 5));
        }
        return std::sqrt(a);
    case 6: // ARCTAN: the angle of the point (1, a)
        return std::atan(a);
    case 7: // TAN: beyond 2^63 the tangent cannot be reduced and is an invalid operation
        if (std::fabs(a) >= TwoPow63) {
            raiseInvalidOp();
        }
        return checked(std::tan(a));
    case 8: // RANDOM
        return checked(nextRandom() * a);
    case 9: // ARCCOS
        if (std::fabs(a) > 1) {
            // «Ошибка:  Аргумент ArcCos должен быть меньше или равен 1.»
            return evaluationError("\xCE\xF8\xE8\xE1\xEA\xE0:  \xC0\xF0\xE3\xF3\xEC\xE5\xED\xF2 "
                                   "ArcCos \xE4\xEE\xEB\xE6\xE5\xED \xE1\xFB\xF2\xFC "
                                   "\xEC\xE5\xED\xFC\xF8\xE5 \xE8\xEB\xE8 \xF0\xE0\xE2\xE5\xED 1.");
        }
        return arcCos(a);
    case 10: // ARCSEC
        if (std::fabs(a) < 1) {
            // «Ошибка: Аргумент ArcSec должен быть больше или равен 1.»
            return evaluationError("\xCE\xF8\xE8\xE1\xEA\xE0: \xC0\xF0\xE3\xF3\xEC\xE5\xED\xF2 "
                                   "ArcSec \xE4\xEE\xEB\xE6\xE5\xED \xE1\xFB\xF2\xFC "
                                   "\xE1\xEE\xEB\xFC\xF8\xE5 \xE8\xEB\xE8 \xF0\xE0\xE2\xE5\xED 1.");
        }
        return arcCos(1 / a);
    case 11: // ARCSIN: the angle of the point (√(1 − a²), a)
        if (std::fabs(a) > 1) {
            // «Ошибка: Аргумент ArcSin должен быть меньше или равен 1. »
            return evaluationError(
                "\xCE\xF8\xE8\xE1\xEA\xE0: \xC0\xF0\xE3\xF3\xEC\xE5\xED\xF2 "
                "ArcSin \xE4\xEE\xEB\xE6\xE5\xED \xE1\xFB\xF2\xFC "
                "\xEC\xE5\xED\xFC\xF8\xE5 \xE8\xEB\xE8 \xF0\xE0\xE2\xE5\xED 1. ");
        }
        return std::atan2(a, std::sqrt(1 - a * a));
    case 12: // COSH
        if (std::fabs(a) <= TinyHyperbolic) {
            return 1;
        }
        return checked(checked(std::exp(a)) + checked(std::exp(-a))) / 2;
    case 13: // SEC
        return divide(1, std::fabs(a) >= TwoPow63 ? a : std::cos(a));
    case 14: // SINH: the first power minus the second
        if (std::fabs(a) <= TinyHyperbolic) {
            return 0;
        }
        return checked(checked(std::exp(a)) - checked(std::exp(-a))) / 2;
    case 15: // RAD: the product first
        return checked(Pi * a) / 180;
    case 16: // IF
        return a >= 0 ? 1 : 0;
    default: // 17: negation, made only for a leading minus sign
        return -a;
    }
}

long double applyOperator(char op, long double left, long double right) {
    switch (op) {
    case '+':
        return checked(left + right);
    case '-':
        return checked(left - right);
    case '*':
        return checked(left * right);
    case '/':
        if (right == 0) {
            // «Ошибка:  деление на 0 »
            return evaluationError("\xCE\xF8\xE8\xE1\xEA\xE0:  \xE4\xE5\xEB\xE5\xED\xE8\xE5 "
                                   "\xED\xE0 0 ");
        }
        return checked(left / right);
    default: { // '^'
        if (right > 0) {
            const long double power = RaisePower(left, right);
            if (ErrEval) {
                ErrAny = true;
                return ErrorResult;
            }
            return power;
        }
        if (left == 0) {
            // «Ошибка: 0 в степени »
            return evaluationError(
                "\xCE\xF8\xE8\xE1\xEA\xE0: 0 \xE2 \xF1\xF2\xE5\xEF\xE5\xED\xE8 " +
                FormatFixed(right, 1, 3));
        }
        const long double power = RaisePower(left, -right);
        if (ErrEval) {
            ErrAny = true;
            return ErrorResult;
        }
        // A power that underflowed to 0 makes this a division by zero.
        return divide(1, power);
    }
    }
}

long double evalNode(const ExprNode* node, long double x);

// Leaves are taken in place: most operands are constants or x, and a call per leaf would
// cost more than the arithmetic.
inline long double operand(const ExprNode* node, long double x) {
    if (node != nullptr) {
        if (node->NodeKind == ExprNodeKind::Constant) {
            return node->ConstValue;
        }
        if (node->NodeKind == ExprNodeKind::Variable) {
            return x;
        }
    }
    return evalNode(node, x);
}

long double evalNode(const ExprNode* node, long double x) {
    if (node == nullptr) {
        // No tree, or the remains of a failed parse: an evaluation error without a message of
        // its own; the callers report the failed formula.
        ErrEval = true;
        ErrAny = true;
        return ErrorResult;
    }
    switch (node->NodeKind) {
    case ExprNodeKind::Constant:
        return node->ConstValue;
    case ExprNodeKind::Variable:
        return x;
    case ExprNodeKind::Function: {
        const long double a = operand(node->LeftNode.get(), x);
        if (ErrEval) {
            ErrAny = true;
            return ErrorResult;
        }
        return applyFunction(node->FuncIndex, a);
    }
    case ExprNodeKind::Operator:
    default: {
        const long double left = operand(node->LeftNode.get(), x);
        if (ErrEval) {
            ErrAny = true;
            return ErrorResult;
        }
        const long double right = operand(node->RightNode.get(), x);
        if (ErrEval) {
            ErrAny = true;
            return ErrorResult;
        }
        return applyOperator(node->OpChar, left, right);
    }
    }
}

} // namespace

long double EvalNode(const ExprNode* node, long double x) {
    return evalNode(node, x);
}

long double EvalFormula(long double x) {
    const long double v = evalNode(TreeRoot.get(), x);
    if (ErrEval) {
        ErrAny = true;
        return 0;
    }
    constexpr long double Bound = 1E30L;
    if (v < -Bound) {
        return -Bound;
    }
    if (v > Bound || std::isnan(v)) {
        return Bound;
    }
    return v;
}

std::int32_t SignOf(long double v) {
    if (v > 0) {
        return 1;
    }
    if (v == 0) {
        return 0;
    }
    return -1; // negative, or not a number
}

namespace {
// An infinite difference or sum of two finite ends overflowed.
long double checkedFromFinite(long double result, long double a, long double b) {
    return std::isfinite(a) && std::isfinite(b) ? checked(result) : result;
}
} // namespace

void Bisect(long double& X1, long double& FX1, const RealFunction& F, long double A, long double B,
            long double Eps) {
    const std::int32_t s = SignOf(F(A));
    while (checkedFromFinite(B - A, A, B) > Eps) {
        const long double mid = checkedFromFinite(A + B, A, B) * 0.5L;
        X1 = mid;
        FX1 = F(mid);
        // Ends that are neighbouring extended values have no value between them: the
        // interval cannot shrink further, whatever Eps asks for (0, negative, or below the
        // spacing of the values near the root). Stop with this midpoint as the result.
        if (mid == A || mid == B) {
            return;
        }
        if (SignOf(FX1) == s) {
            A = mid;
        } else {
            B = mid;
        }
    }
}
