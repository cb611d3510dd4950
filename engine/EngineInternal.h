#pragma once
// Helpers shared by the engine's own files; not part of its interface.

#include "Exceptions.h"
#include "FloatErrors.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace engine_detail {

// The message of an evaluation error waits until the evaluation has left the tree: showing it
// runs the box's nested event loop, where anything may happen, a new parse freeing the very
// nodes the evaluation stands on included. Nothing is computed after an evaluation error, so
// the message still comes before anything else the evaluation causes. The engine's entry
// points show it (showHeldMessage) once they are done with the tree.
void holdMessage(const std::string& text);
// Shows the held message, if any, through the installed hook (dropped when none is installed).
void showHeldMessage();
void dropHeldMessage();

// The RANDOM generator's seed: 0 at start-up, never reseeded.
extern std::uint32_t randomSeed;

// Floating-point errors without reading the status flags after every operation. Literals are
// finite, the divisions test their divisor themselves and every result passes through
// checked(), so the only infinity an evaluation can meet is x itself (ParseReal reads
// «1E5120» as +∞). The evaluator therefore runs in one of two modes, chosen once by x:
// - Finite: every operand is finite, so a result that is not finite is an overflow (∞) or an
//   invalid operation (NaN), and the operands need not be looked at. The fast path.
// - MayBeInfinite: the rules of the floating-point unit for infinite operands. An infinite
//   result of an infinite operand is exact and raises nothing (∞ × 2, EXP(∞)); ∞ − ∞, ∞ / ∞
//   and 0 × ∞ are invalid (NaN); an infinity from finite operands is still an overflow.
enum class Operands { Finite, MayBeInfinite };

// A result that is not finite, from finite operands: EInvalidOp for a NaN, EOverflow otherwise.
// The sticky flags are cleared before raising, so that a later check of the status flags
// elsewhere does not report the same error a second time.
[[noreturn]] void raiseFor(long double result);
// A result that is not finite, from the operands a and b (0 for an operation with one operand):
// a NaN raises EInvalidOp; an infinity is returned when a or b is infinite, an overflow otherwise.
long double exactOrRaise(long double result, long double a, long double b);

// Finite exactly when result − result is 0 (it is NaN for an infinity or a NaN). Unlike
// std::isfinite, this needs no 80-bit constant loaded from memory, which costs more than the
// operation it checks.
inline bool isFinite(long double result) {
    return result - result == 0;
}

// result, or the error that an operation with the operands a and b giving it raises. In the
// Finite mode the operands are not used, and the compiler drops them.
template <Operands Mode = Operands::Finite>
inline long double checked(long double result, long double a = 0, long double b = 0) {
    if constexpr (Mode == Operands::Finite) {
        if (!isFinite(result)) [[unlikely]] {
            raiseFor(result);
        }
    } else if (!std::isfinite(result)) {
        // Not r − r here: for an infinity that is exact it would leave the invalid-operation
        // flag set. The comparison that std::isfinite makes raises nothing.
        return exactOrRaise(result, a, b);
    }
    return result;
}

[[noreturn]] inline void raiseZeroDivide() {
    ClearFloatErrors();
    throw EZeroDivide();
}

[[noreturn]] inline void raiseInvalidOp() {
    ClearFloatErrors();
    throw EInvalidOp();
}

// numerator / divisor, raising EZeroDivide for a zero divisor (the engine never divides
// zero by zero) and EOverflow when the quotient overflows.
template <Operands Mode = Operands::Finite>
inline long double divide(long double numerator, long double divisor) {
    if (divisor == 0) [[unlikely]] {
        raiseZeroDivide();
    }
    return checked<Mode>(numerator / divisor, numerator, divisor);
}

// The extended values nearest to these constants (what the x87 loads with fldln2 / fldpi).
inline constexpr long double Ln2 = 0.693147180559945309417232121458176568L;
inline constexpr long double Pi = 3.14159265358979323846264338327950288L;
inline constexpr long double TwoPow63 = 9223372036854775808.0L;

// ln a for a > 0, computed as ln 2 × log2 a.
inline long double lnOf(long double a) {
    return Ln2 * std::log2(a);
}

// An integral value of magnitude below 2^63 as an integer. Below 2^53 through double and
// the SSE conversion: converting the extended value directly makes the x87 switch its
// rounding mode twice, which costs more than the whole power of a small exponent.
inline std::int64_t toInt64(long double integral) {
    if (std::fabs(integral) < 9007199254740992.0L) {
        return static_cast<std::int64_t>(static_cast<double>(integral));
    }
    return static_cast<std::int64_t>(integral);
}

// base^exponent for an exponent with a fraction: e^(exponent × ln base), or the refusal of a
// base <= 0 with its message.
template <Operands Mode> long double fractionalPower(long double base, long double exponent);

// RaisePower, inline so that the evaluator's "^" with a small integer exponent (x^2) costs
// a few multiplications and no call.
template <Operands Mode = Operands::Finite>
inline long double raisePower(long double base, long double exponent) {
    // Round half to even (the default rounding mode) to a signed 64-bit integer; what does
    // not fit is an invalid operation, as the conversion of the floating-point unit reports.
    // An infinite exponent does not fit either.
    const long double rounded = std::rint(exponent);
    if (!(std::fabs(rounded) < TwoPow63)) {
        raiseInvalidOp();
    }
    if (rounded != exponent) {
        return fractionalPower<Mode>(base, exponent);
    }
    // Only the low 32 bits count: an exponent of 2^32 behaves as 0 and gives 1.
    auto k = static_cast<std::int32_t>(static_cast<std::uint32_t>(toInt64(rounded)));
    long double r = 1;
    while (k > 0) {
        while ((k & 1) == 0) {
            k /= 2;
            base = checked<Mode>(base * base, base);
        }
        k -= 1;
        r = checked<Mode>(r * base, r, base);
    }
    return r;
}

} // namespace engine_detail
