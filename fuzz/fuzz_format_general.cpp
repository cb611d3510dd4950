// FormatGeneral of any finite value reads back with ParseReal to 15 significant digits (zero
// and denormals print "0"); FormatFixed and FormatScientific never exceed 255 characters.

#include "Exceptions.h"
#include "NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A valid extended value from the bytes: a significand with its integer bit set (or clear
// for a denormal), any exponent, any sign. Invalid encodings are never built.
long double ValueOf(const std::uint8_t* data) {
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 12) {
        return 0;
    }
    SetRegionalSeparators('.', ',');
    const long double value = ValueOf(data);
    const std::int32_t width = static_cast<std::int8_t>(data[10]) * 3;
    const std::int32_t decimals = static_cast<std::int8_t>(data[11]) * 2;
    if (FormatFixed(value, width, decimals).size() > 255 ||
        FormatScientific(value, width).size() > 255) {
        std::abort();
    }

    const std::string text = FormatGeneral(value);
    if (!std::isfinite(value)) {
        return 0;
    }
    if (std::fabs(value) < 3.3621031431120935063e-4932L) { // below the smallest normal
        if (text != "0") {
            std::abort();
        }
        return 0;
    }
    std::int32_t errorPos = -1;
    long double back;
    try {
        back = ParseReal(text, errorPos);
    } catch (const EOverflow&) {
        // Rounded up to 15 digits, the very largest values lie beyond the range.
        if (std::fabs(value) < 1.1897314953572e4932L) {
            std::abort();
        }
        return 0;
    }
    if (errorPos != 0 || std::fabs(back - value) > std::fabs(value) * 1e-14L) {
        std::abort();
    }
    return 0;
}
