// FormatScientific of any value and width: n = width − 8 significant digits (at least 2, at
// most 18), the text " d.ddd…E±eeee" (a sign place, four exponent digits) right-justified to
// min(width, 255) and never cut; it reads back with ParseReal to those n digits.

#include "Exceptions.h"
#include "ExtendedFromBytes.h"
#include "FuzzCheck.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool IsDigits(const std::string& text, std::size_t from, std::size_t count) {
    if (from + count > text.size()) {
        return false;
    }
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 14) {
        return 0;
    }
    const long double value = ExtendedFromBytes(data);
    std::int32_t width;
    std::memcpy(&width, data + 10, sizeof width);
    if ((data[13] & 0x40) == 0) {
        // Mostly the widths the calculator uses (digit count + 9) and those around the limits.
        width = static_cast<std::int8_t>(data[10]) + (data[11] & 1 ? 255 : 0);
    }
    const std::string text = FormatScientific(value, width);
    const std::int32_t field = std::clamp(width, 0, 255);
    check(text.size() <= 255);

    if (!std::isfinite(value)) {
        const std::string special = std::isnan(value)     ? "Nan"
                                    : std::signbit(value) ? "-Inf"
                                                          : "+Inf";
        check(text.size() == std::max<std::size_t>(field, special.size()));
        check(text.substr(text.size() - special.size()) == special);
        check(text.find_first_not_of(' ') == text.size() - special.size());
        return 0;
    }
    const std::int32_t n = std::clamp(std::min(width, 255) - 8, 2, 18);
    const std::size_t length = static_cast<std::size_t>(n) + 8;
    check(text.size() == std::max<std::size_t>(field, length));
    const std::size_t blanks = text.size() - length;
    check(text.find_first_not_of(' ') >= blanks);
    const std::string natural = text.substr(blanks);
    check(natural[0] == (std::signbit(value) ? '-' : ' '));
    check(IsDigits(natural, 1, 1) && natural[2] == '.' && IsDigits(natural, 3, n - 1));
    const std::size_t e = static_cast<std::size_t>(n) + 2;
    check(natural[e] == 'E' && (natural[e + 1] == '+' || natural[e + 1] == '-'));
    check(IsDigits(natural, e + 2, 4) && natural.size() == e + 6);
    // The first digit is 0 only for the value 0.
    check((natural[1] == '0') == (value == 0));

    const std::string number = natural.substr(natural[0] == ' ' ? 1 : 0);
    std::int32_t errorPos = -1;
    long double back = 0;
    try {
        back = ParseReal(number, errorPos);
    } catch (const EOverflow&) {
        // Only a value rounded up beyond the extended range may overflow on the way back.
        check(AboveExtendedRange(natural));
        return 0;
    }
    check(errorPos == 0 && ReadsLikeTheLibrary(number, back));
    const long double exact = std::strtold(number.c_str(), nullptr);
    // Half a unit of the n-th digit, the rounding of the 18 digits underneath, and the
    // spacing of the denormals for the tiniest values.
    const long double magnitude = std::fabs(value);
    const long double tolerance =
        magnitude * (0.5L * std::pow(10.0L, 1 - n) + 2e-17L) + kSmallestNormal * 0x1p-62L;
    check(std::fabs(exact - value) <= tolerance);
    return 0;
}
