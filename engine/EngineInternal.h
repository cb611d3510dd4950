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

// Floating-point errors without reading the status flags after every operation. Every value
// the engine computes with is finite: literals, x and every result pass through here, and
// the divisions test their divisor themselves. So a result that is not finite can only come
// from finite operands, and then an infinity is an overflow and a NaN an invalid operation.
// The sticky flags are cleared before raising, so that a later check of the status flags
// elsewhere does not report the same error a second time.
[[noreturn]] void raiseFor(long double result);

// Finite exactly when result − result is 0 (it is NaN for an infinity or a NaN). Unlike
// std::isfinite, this needs no 80-bit constant loaded from memory, which costs more than the
// operation it checks.
inline bool isFinite(long double result) {
    return result - result == 0;
}

inline long double checked(long double result) {
    if (!isFinite(result)) [[unlikely]] {
        raiseFor(result);
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
inline long double divide(long double numerator, long double divisor) {
    if (divisor == 0) [[unlikely]] {
        raiseZeroDivide();
    }
    return checked(numerator / divisor);
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
long double fractionalPower(long double base, long double exponent);

// RaisePower, inline so that the evaluator's "^" with a small integer exponent (x^2) costs
// a few multiplications and no call.
inline long double raisePower(long double base, long double exponent) {
    // Round half to even (the default rounding mode) to a signed 64-bit integer; what does
    // not fit is an invalid operation, as the conversion of the floating-point unit reports.
    const long double rounded = std::rint(exponent);
    if (!(std::fabs(rounded) < TwoPow63)) {
        raiseInvalidOp();
    }
    if (rounded != exponent) {
        return fractionalPower(base, exponent);
    }
    // Only the low 32 bits count: an exponent of 2^32 behaves as 0 and gives 1.
    auto k = static_cast<std::int32_t>(static_cast<std::uint32_t>(toInt64(rounded)));
    long double r = 1;
    while (k > 0) {
        while ((k & 1) == 0) {
            k /= 2;
            base = checked(base * base);
        }
        k -= 1;
        r = checked(r * base);
    }
    return r;
}

} // namespace engine_detail
