#pragma once
// A valid 80-bit extended value from ten fuzzer bytes: a significand with its integer bit set
// (or clear for a denormal), any exponent, any sign. Invalid encodings are never built.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

inline long double ExtendedFromBytes(const std::uint8_t* data) {
    std::uint64_t significand;
    std::memcpy(&significand, data, sizeof significand);
    const int exponentField = (data[8] | (data[9] << 8)) & 0x7FFF;
    const bool negative = (data[9] & 0x80) != 0;
    long double value;
    if (exponentField == 0) {
        significand &= ~(std::uint64_t{1} << 63);
        value = std::ldexp(static_cast<long double>(significand), -16382 - 63);
    } else if (exponentField == 0x7FFF) {
        value = significand & 1 ? std::nanl("") : HUGE_VALL;
    } else {
        significand |= std::uint64_t{1} << 63;
        value = std::ldexp(static_cast<long double>(significand), exponentField - 16383 - 63);
    }
    return negative ? -value : value;
}

// The smallest normal extended value; below it lie the denormals.
inline constexpr long double kSmallestNormal = 3.3621031431120935063e-4932L;

// Whether a scientific text "[-| ]d.ddd…E±eeee" stands for a magnitude beyond the largest
// extended value, 1.18973149535723176502E+4932: only such a text may overflow on reading.
inline bool AboveExtendedRange(const std::string& text) {
    const std::size_t e = text.find('E');
    if (e == std::string::npos || text.compare(e, 6, "E+4932") != 0) {
        return e != std::string::npos && text[e + 1] == '+' && text.substr(e + 2) > "4932";
    }
    std::string digits;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits += text[i];
        }
    }
    const std::string largest = "118973149535723176502";
    return digits.compare(0, std::string::npos, largest, 0, digits.size()) > 0;
}

// ParseReal takes in one digit at a time in extended and then scales by at most three powers
// of ten, rounding once at each step, so it may stray from the correctly rounded reading of
// the C library by that many roundings; the denormals have a fixed spacing of their own.
inline bool ReadsLikeTheLibrary(const std::string& number, long double back) {
    const long double exact = std::strtold(number.c_str(), nullptr);
    const long double roundings = static_cast<long double>(number.size() + 8);
    return std::fabs(back - exact) <=
           std::fabs(exact) * roundings * 0x1p-64L + kSmallestNormal * 0x1p-62L;
}
