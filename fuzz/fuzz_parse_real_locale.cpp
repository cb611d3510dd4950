// ParseRealLocale on any bytes, with either decimal separator: only EConvertError may be
// raised, the floating-point environment is the same afterwards, and where ParseReal accepts
// the same text (with the separator written as ".") both give the same value, bit for bit:
// the two readers differ in what they accept, never in the number they read.

#include "Exceptions.h"
#include "FuzzCheck.h"
#include "NumberText.h"

#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = data[0] & 1 ? ',' : '.';
    SetRegionalSeparators(separator, data[0] & 1 ? '\xA0' : ',');
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::feclearexcept(FE_ALL_EXCEPT);
    bool accepted = true;
    long double value = 0;
    try {
        value = ParseRealLocale(text);
    } catch (const EConvertError&) {
        accepted = false;
    }
    check(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO) == 0 &&
          std::fegetround() == FE_TONEAREST);
    if (!accepted) {
        return 0;
    }

    // The same number as ParseReal reads it: the separator becomes "." and a "." becomes
    // what the regional reader refused, so that neither reader gains a text.
    std::string plain(text);
    if (separator == ',') {
        for (char& c : plain) {
            c = c == ',' ? '.' : c == '.' ? ',' : c;
        }
    }
    std::int32_t errorPos = -1;
    long double plainValue = 0;
    try {
        plainValue = ParseReal(plain, errorPos);
    } catch (const EOverflow&) {
        check(false); // the regional reader accepted it, so it is in range
    }
    if (errorPos == 0) {
        check(plainValue == value && std::signbit(plainValue) == std::signbit(value));
    }
    return 0;
}
