#pragma once
// Helpers shared by the engine's own files; not part of its interface.

#include "Exceptions.h"
#include "FloatErrors.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace engine_detail {

// Shows text through the installed message hook (dropped when none is installed).
void showMessage(const std::string& text);

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

} // namespace engine_detail
