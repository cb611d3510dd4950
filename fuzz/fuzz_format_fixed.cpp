// FormatFixed of any value, width and decimals: the text is the natural text right-justified
// to min(width, 255) and never cut, at most 255 characters; the natural text has the shape
// [-]digits[.decimals]; and it reads back with ParseReal to the precision the writer kept
// (half a unit of the last decimal, 17 places below 10, 18 significant digits above).

#include "Exceptions.h"
#include "ExtendedFromBytes.h"
#include "FuzzCheck.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Widths and decimals around the interesting limits (0, 15, 216, 255) and far beyond them.
std::int32_t Spread(const std::uint8_t* data) {
    const std::int32_t small = static_cast<std::int8_t>(data[0]);
    switch (data[1] & 3) {
    case 0:
        return small;
    case 1:
        return small * 4;
    case 2:
        return 200 + small / 2;
    default:
        return static_cast<std::int32_t>((static_cast<std::uint32_t>(data[0]) << 24) |
                                         (static_cast<std::uint32_t>(data[1]) << 16));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 14) {
        return 0;
    }
    const long double value = ExtendedFromBytes(data);
    const std::int32_t width = Spread(data + 10);
    // The callers never pass negative decimals (that selects the scientific form).
    const std::int32_t decimals = std::max(0, Spread(data + 12));
    const std::string text = FormatFixed(value, width, decimals);

    const std::size_t field = static_cast<std::size_t>(std::clamp(width, 0, 255));
    check(text.size() <= 255);
    const std::size_t firstNonBlank = text.find_first_not_of(' ');
    check(firstNonBlank != std::string::npos);
    // From 10^36 on the scientific form takes over, with its sign place and n + 8 characters.
    const bool scientific = text.find('E') != std::string::npos;
    const std::int32_t n = std::clamp(std::min(width, 255) - 8, 2, 18);
    const std::size_t naturalLength =
        scientific ? static_cast<std::size_t>(n) + 8 : text.size() - firstNonBlank;
    check(naturalLength <= text.size() && firstNonBlank >= text.size() - naturalLength);
    const std::string natural = text.substr(text.size() - naturalLength);
    // Right-justified, never cut: only as many blanks as the field needs.
    check(text.size() == std::max(field, natural.size()));

    if (!std::isfinite(value)) {
        check(natural == (std::isnan(value) ? "Nan" : std::signbit(value) ? "-Inf" : "+Inf"));
        return 0;
    }
    const long double magnitude = std::fabs(value);
    const std::int32_t d = std::min(decimals, 216);
    if (!scientific) {
        // [-]k digits, then "." and exactly d decimals when d > 0.
        const std::size_t sign = std::signbit(value) ? 1 : 0;
        check(sign == 0 || natural[0] == '-');
        const std::size_t point = natural.find('.');
        check(d == 0 ? point == std::string::npos : point != std::string::npos);
        const std::size_t intEnd = d == 0 ? natural.size() : point;
        check(intEnd > sign && natural.size() - intEnd == (d == 0 ? 0 : 1 + std::size_t(d)));
        check(std::min(natural.find_first_not_of("0123456789", sign), natural.size()) == intEnd);
        if (d > 0) {
            check(natural.find_first_not_of("0123456789", point + 1) == std::string::npos);
        }
        // At most 37 integer digits: from 10^36 on the scientific form takes over.
        check(intEnd - sign <= 37);
    } else {
        check(magnitude >= 1e36L);
    }

    const std::string number = natural.substr(natural[0] == ' ' ? 1 : 0);
    std::int32_t errorPos = -1;
    long double back = 0;
    try {
        back = ParseReal(number, errorPos);
    } catch (const EOverflow&) {
        // Only a value rounded up beyond the extended range may overflow on the way back.
        check(scientific && AboveExtendedRange(natural));
        return 0;
    }
    check(errorPos == 0 && ReadsLikeTheLibrary(number, back));
    // The writer's own precision, measured on the exact decimal value of its text.
    const long double exact = std::strtold(number.c_str(), nullptr);
    long double tolerance;
    if (scientific) {
        tolerance = magnitude * (0.5L * std::pow(10.0L, 1 - n) + 2e-17L);
    } else {
        // Half a unit of the last decimal, the rounding of the 18 digits underneath (17
        // places below 10, the first dropped digit alone decides), and 18 significant digits
        // of a scaled value from 10 upward.
        tolerance = 0.5L * std::pow(10.0L, -std::min(d, 17)) + 1e-17L;
        if (magnitude >= 10) {
            tolerance += magnitude * 1e-16L;
        }
    }
    // The spacing of the denormals, for the tiniest values.
    check(std::fabs(exact - value) <= tolerance + kSmallestNormal * 0x1p-62L);
    return 0;
}
