// Evaluation of the expression tree, the formula as a function of x, and the root finder.
//
// Evaluation errors (refused arguments, division by zero, zero to a non-positive power, a
// non-integer power of a base <= 0) set ErrEval and ErrAny, show their message (once the
// evaluation has left the tree, see holdMessage) and give the error result 0. ErrEval is tested
// after every operand and before every operation, so the first error ends the evaluation of the
// whole tree and each evaluation shows at most one message. Overflow and invalid operations raise
// through checked() (EngineInternal.h), in the mode that x selects: every function below is built
// twice, for a finite x (the fast path) and for x = ±∞, where the floating-point unit's rules for
// infinite operands apply.

#include "zorvo3.h"

#include "EngineInternal.h"
#include "NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstring>

using namespace engine_detail;

namespace {

constexpr long double ErrorResult = 0;
constexpr long double TinyHyperbolic = 1E-16L;

// The messages, in code page 1251.
// «Ошибка: аргумент логарифма = »
constexpr const char* LnMessage = "\xCE\xF8\xE8\xE1\xEA\xE0: \xE0\xF0\xE3\xF3\xEC\xE5\xED\xF2 "
                                  "\xEB\xEE\xE3\xE0\xF0\xE8\xF4\xEC\xE0 = ";
// «Ошибка:  отрицательный аргумент корня квадратного »
constexpr const char* SqrtMessage =
    "\xCE\xF8\xE8\xE1\xEA\xE0:  \xEE\xF2\xF0\xE8\xF6\xE0\xF2\xE5\xEB\xFC\xED\xFB\xE9 "
    "\xE0\xF0\xE3\xF3\xEC\xE5\xED\xF2 \xEA\xEE\xF0\xED\xFF \xEA\xE2\xE0\xE4\xF0\xE0\xF2\xED\xEE"
    "\xE3\xEE ";
// «Ошибка:  Аргумент ArcCos должен быть меньше или равен 1.»
constexpr const char* ArcCosMessage =
    "\xCE\xF8\xE8\xE1\xEA\xE0:  \xC0\xF0\xE3\xF3\xEC\xE5\xED\xF2 ArcCos \xE4\xEE\xEB\xE6\xE5\xED "
    "\xE1\xFB\xF2\xFC \xEC\xE5\xED\xFC\xF8\xE5 \xE8\xEB\xE8 \xF0\xE0\xE2\xE5\xED 1.";
// «Ошибка: Аргумент ArcSec должен быть больше или равен 1.»
constexpr const char* ArcSecMessage =
    "\xCE\xF8\xE8\xE1\xEA\xE0: \xC0\xF0\xE3\xF3\xEC\xE5\xED\xF2 ArcSec \xE4\xEE\xEB\xE6\xE5\xED "
    "\xE1\xFB\xF2\xFC \xE1\xEE\xEB\xFC\xF8\xE5 \xE8\xEB\xE8 \xF0\xE0\xE2\xE5\xED 1.";
// «Ошибка: Аргумент ArcSin должен быть меньше или равен 1. »
constexpr const char* ArcSinMessage =
    "\xCE\xF8\xE8\xE1\xEA\xE0: \xC0\xF0\xE3\xF3\xEC\xE5\xED\xF2 ArcSin \xE4\xEE\xEB\xE6\xE5\xED "
    "\xE1\xFB\xF2\xFC \xEC\xE5\xED\xFC\xF8\xE5 \xE8\xEB\xE8 \xF0\xE0\xE2\xE5\xED 1. ";
// «Ошибка:  деление на 0 »
constexpr const char* DivisionMessage = "\xCE\xF8\xE8\xE1\xEA\xE0:  \xE4\xE5\xEB\xE5\xED\xE8\xE5 "
                                        "\xED\xE0 0 ";
// «Ошибка: 0 в степени »
constexpr const char* ZeroPowerMessage = "\xCE\xF8\xE8\xE1\xEA\xE0: 0 \xE2 "
                                         "\xF1\xF2\xE5\xEF\xE5\xED\xE8 ";

// How a message shows the refused number after its text.
enum class Shown { Nothing, General, Fixed3, Fixed5 };

// Sets ErrEval and ErrAny, shows the message and gives the error result. Kept out of line:
// the evaluation of a valid formula never comes here and should not pay for the strings.
[[gnu::cold, gnu::noinline]] long double
evaluationError(const char* text, Shown shown = Shown::Nothing, long double number = 0) {
    ErrEval = true;
    ErrAny = true;
    std::string message = text;
    switch (shown) {
    case Shown::General:
        message += FormatGeneral(number);
        break;
    case Shown::Fixed3:
        message += FormatFixed(number, 1, 3);
        break;
    case Shown::Fixed5:
        message += FormatFixed(number, 1, 5);
        break;
    case Shown::Nothing:
        break;
    }
    holdMessage(message);
    return ErrorResult;
}

// ARCCOS of a, |a| <= 1: the angle of the point (a, √(1 − a²)).
long double arcCos(long double a) {
    return std::atan2(std::sqrt(1 - a * a), a);
}

// (e^a ± e^−a) / 2 for COSH ('+') and SINH ('-').
template <Operands Mode> long double hyperbolic(long double a, char sign) {
    const long double up = checked<Mode>(std::exp(a), a);
    const long double down = checked<Mode>(std::exp(-a), a);
    const long double sum = sign == '+' ? up + down : up - down;
    return checked<Mode>(sum, up, down) / 2;
}

long double nextRandom() {
    randomSeed = randomSeed * 134775813u + 1u; // modulo 2^32 by unsigned arithmetic
    return static_cast<long double>(randomSeed) / 4294967296.0L;
}

// The sine and cosine instructions refuse an infinite argument as an invalid operation;
// beyond 2^63 they only leave a finite argument unreduced.
template <Operands Mode> inline void refuseInfiniteAngle(long double a) {
    if constexpr (Mode == Operands::MayBeInfinite) {
        if (std::isinf(a)) {
            raiseInvalidOp();
        }
    }
}

// The function of the table at index for the argument a. Inlined where the index is known,
// so that a library function receives its argument straight from the evaluation.
template <Operands Mode>
[[gnu::always_inline]] inline long double applyFunction(std::uint8_t index, long double a) {
    switch (index) {
    case 0: // SIN: the x87 cannot reduce such arguments and the result is taken as 0
        refuseInfiniteAngle<Mode>(a);
        return std::fabs(a) >= TwoPow63 ? 0 : std::sin(a);
    case 1: // COS
        refuseInfiniteAngle<Mode>(a);
        return std::fabs(a) >= TwoPow63 ? 0 : std::cos(a);
    case 2: // LN
        return a <= 0 ? evaluationError(LnMessage, Shown::General, a) : lnOf(a);
    case 3: // EXP
        return checked<Mode>(std::exp(a), a);
    case 4: // ABS
        return std::fabs(a);
    case 5: // SQRT
        return a < 0 ? evaluationError(SqrtMessage, Shown::Fixed5, a) : std::sqrt(a);
    case 6: // ARCTAN: the angle of the point (1, a)
        return std::atan(a);
    case 7: // TAN: beyond 2^63 the tangent cannot be reduced and is an invalid operation
        if (std::fabs(a) >= TwoPow63) {
            raiseInvalidOp();
        }
        return checked(std::tan(a));
    case 8: { // RANDOM
        const long double r = nextRandom();
        return checked<Mode>(r * a, r, a);
    }
    case 9: // ARCCOS
        return std::fabs(a) > 1 ? evaluationError(ArcCosMessage) : arcCos(a);
    case 10: // ARCSEC
        return std::fabs(a) < 1 ? evaluationError(ArcSecMessage) : arcCos(1 / a);
    case 11: // ARCSIN: the angle of the point (√(1 − a²), a)
        return std::fabs(a) > 1 ? evaluationError(ArcSinMessage)
                                : std::atan2(a, std::sqrt(1 - a * a));
    case 12: // COSH
        if (std::fabs(a) <= TinyHyperbolic) {
            return 1;
        }
        return hyperbolic<Mode>(a, '+');
    case 13: // SEC
        refuseInfiniteAngle<Mode>(a);
        return divide<Mode>(1, std::fabs(a) >= TwoPow63 ? a : std::cos(a));
    case 14: // SINH: the first power minus the second
        if (std::fabs(a) <= TinyHyperbolic) {
            return 0;
        }
        return hyperbolic<Mode>(a, '-');
    case 15: // RAD: the product first
        return checked<Mode>(Pi * a, a) / 180;
    case 16: // IF
        return a >= 0 ? 1 : 0;
    default: // 17: negation, made only for a leading minus sign
        return -a;
    }
}

template <Operands Mode> inline long double power(long double left, long double right) {
    // A square, the commonest power, is RaisePower's integer path for k = 2 (base × base,
    // then 1 × that, which changes nothing): one checked multiplication, without the
    // rounding of the exponent to an integer, which costs more than the product.
    if (right == 2) {
        return checked<Mode>(left * left, left);
    }
    if (right > 0) {
        const long double result = raisePower<Mode>(left, right);
        if (ErrEval) {
            ErrAny = true;
            return ErrorResult;
        }
        return result;
    }
    if (left == 0) {
        return evaluationError(ZeroPowerMessage, Shown::Fixed3, right);
    }
    const long double result = raisePower<Mode>(left, -right);
    if (ErrEval) {
        ErrAny = true;
        return ErrorResult;
    }
    // A power that underflowed to 0 makes this a division by zero.
    return divide<Mode>(1, result);
}

template <Operands Mode>
inline long double applyOperator(char op, long double left, long double right) {
    switch (op) {
    case '+':
        return checked<Mode>(left + right, left, right);
    case '-':
        return checked<Mode>(left - right, left, right);
    case '*':
        return checked<Mode>(left * right, left, right);
    case '/':
        return right == 0 ? evaluationError(DivisionMessage)
                          : checked<Mode>(left / right, left, right);
    default: // '^'
        return power<Mode>(left, right);
    }
}

// The functions that formulas use most, and those that are one instruction, are computed in
// the evaluation itself; the others behind this call.
template <Operands Mode>
[[gnu::noinline]] long double applyRareFunction(std::uint8_t index, long double a) {
    return applyFunction<Mode>(index, a);
}

// The evaluation below is entered only while ErrEval is clear (EvalNode and EvalFormula test
// it first), and then only an evaluation error inside it can set ErrEval. So an operand that
// is a leaf cannot have failed, and ErrEval is tested only after an operand that is a node
// with children: the first error still ends the evaluation of the whole tree.
template <Operands Mode> long double evalNode(const ExprNode* node, const long double& x);

// Evaluation of one node, with the nodes up to Depth levels below it evaluated in place.
// Leaves are taken in place at every level, and the operators just above them are computed
// without a call: most formulas are shallow, and the calls, with the extended values they
// move through memory, cost more than the arithmetic. x is passed by reference for the same
// reason: an extended value passed by value is stored and loaded again at every call.
template <int Depth, Operands Mode>
[[gnu::always_inline]] inline long double evalInPlace(const ExprNode* node, const long double& x);

// Stores the value of the operand under node into value; false when its evaluation failed
// (ErrEval and ErrAny are then set).
template <int Depth, Operands Mode>
[[gnu::always_inline]] inline bool operand(const ExprNode* node, const long double& x,
                                           long double& value) {
    if (node != nullptr) {
        if (node->NodeKind == ExprNodeKind::Constant) {
            value = node->ConstValue;
            return true;
        }
        if (node->NodeKind == ExprNodeKind::Variable) {
            value = x;
            return true;
        }
    }
    if constexpr (Depth > 0) {
        value = evalInPlace<Depth - 1, Mode>(node, x);
    } else {
        value = evalNode<Mode>(node, x);
    }
    if (ErrEval) {
        ErrAny = true;
        return false;
    }
    return true;
}

template <int Depth, Operands Mode>
inline long double evalInPlace(const ExprNode* node, const long double& x) {
    if (node == nullptr) [[unlikely]] {
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
        long double a;
        if (!operand<Depth, Mode>(node->LeftNode.get(), x, a)) {
            return ErrorResult;
        }
        switch (node->FuncIndex) {
        case 0:
            return applyFunction<Mode>(0, a);
        case 1:
            return applyFunction<Mode>(1, a);
        case 2:
            return applyFunction<Mode>(2, a);
        case 3:
            return applyFunction<Mode>(3, a);
        case 4:
            return applyFunction<Mode>(4, a);
        case 5:
            return applyFunction<Mode>(5, a);
        case 6:
            return applyFunction<Mode>(6, a);
        case NegationIndex:
            return applyFunction<Mode>(NegationIndex, a);
        default:
            return applyRareFunction<Mode>(node->FuncIndex, a);
        }
    }
    case ExprNodeKind::Operator:
    default: {
        long double left;
        if (!operand<Depth, Mode>(node->LeftNode.get(), x, left)) {
            return ErrorResult;
        }
        long double right;
        if (!operand<Depth, Mode>(node->RightNode.get(), x, right)) {
            return ErrorResult;
        }
        return applyOperator<Mode>(node->OpChar, left, right);
    }
    }
}

template <Operands Mode> long double evalNode(const ExprNode* node, const long double& x) {
    return evalInPlace<2, Mode>(node, x);
}

// Selects the evaluation for x: true for every finite x. Read from the exponent field of x as
// it lies in memory (an extended argument is passed there): no operation on the value, so no
// flag for an infinity (x − x would raise one), and no 80-bit constant to load.
inline bool finiteX(const long double& x) {
    std::uint16_t signAndExponent;
    std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&x) + 8,
                sizeof signAndExponent);
    return (signAndExponent & 0x7FFF) != 0x7FFF;
}

// The evaluation at x = ±∞ is a call of its own, out of the way of the finite one: inlined
// beside it in EvalFormula, it made the whole function larger and the finite path slower.
template <>
[[gnu::cold, gnu::noinline]] long double evalNode<Operands::MayBeInfinite>(const ExprNode* node,
                                                                           const long double& x) {
    return evalInPlace<2, Operands::MayBeInfinite>(node, x);
}

} // namespace

long double EvalNode(const ExprNode* node, long double x) {
    if (ErrEval) {
        // After an error nothing is computed: a leaf gives its value, and every other node
        // stops at its first operand with the error result.
        if (node != nullptr && node->NodeKind == ExprNodeKind::Constant) {
            return node->ConstValue;
        }
        if (node != nullptr && node->NodeKind == ExprNodeKind::Variable) {
            return x;
        }
        ErrAny = true;
        return ErrorResult;
    }
    const long double v = finiteX(x) ? evalNode<Operands::Finite>(node, x)
                                     : evalNode<Operands::MayBeInfinite>(node, x);
    if (ErrEval) {
        showHeldMessage();
    }
    return v;
}

std::string DivisionByZeroMessage() {
    return DivisionMessage;
}

std::string LogarithmMessage() {
    return LnMessage;
}

long double EvalFormula(long double x) {
    if (ErrEval) {
        ErrAny = true;
        return 0;
    }
    // x = ±∞ («1E5120») is the only infinity an evaluation can meet; for every other x the
    // evaluation needs no look at the operands of a result that is not finite.
    const long double v = finiteX(x) ? evalInPlace<2, Operands::Finite>(TreeRoot.get(), x)
                                     : evalNode<Operands::MayBeInfinite>(TreeRoot.get(), x);
    if (ErrEval) {
        ErrAny = true;
        showHeldMessage();
        return 0;
    }
    // Most values lie well inside the bound; this test needs no 80-bit constant from memory.
    if (std::fabs(v) < 1E29f) {
        return v;
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

void Bisect(long double& X1, long double& FX1, const RealFunction& F, long double A, long double B,
            long double Eps) {
    const std::int32_t s = SignOf(F(A));
    // The ends may be infinite (X min «-1E5120»): their difference and sum follow the rules
    // for infinite operands, so −∞ + ∞ is an invalid operation.
    while (checked<Operands::MayBeInfinite>(B - A, A, B) > Eps) {
        const long double mid = checked<Operands::MayBeInfinite>(A + B, A, B) * 0.5L;
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
