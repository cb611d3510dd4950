#pragma once
// The decimal building blocks the number writers share: a value split into a mantissa and a
// power of ten, and the rounded significant digits of a mantissa. Internal to numtext (and its
// tests).

#include <cstdint>
#include <string>

// The biased exponent field of an extended value (0 for zero and denormals, 32767 for
// infinity and NaN).
int BiasedExponent(long double value);

// a (not negative) as mantissa × 10^exponent with the mantissa in [1, 16); 0 gives (0, 0).
struct ScaledDecimal {
    long double mantissa;
    std::int32_t exponent;
};
ScaledDecimal ScaleDecimal(long double a);

// The n significant digits of a mantissa a in [0, 16) read as a × 10^17: at most 18 real
// digits, rounded half up at the (n+1)-th, further positions zeros; carry is the "1" in front
// (a of 10 or more, or a rounding that ran out of digits).
struct DigitText {
    bool carry;
    std::string digits;
};
DigitText DigitString(long double a, std::int32_t n);
