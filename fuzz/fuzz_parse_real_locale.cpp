// ParseRealLocale on any bytes, with either decimal separator: only EConvertError may be
// raised, and the floating-point environment is the same afterwards.

#include "Exceptions.h"
#include "NumberText.h"

#include <cfenv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    SetRegionalSeparators(data[0] & 1 ? ',' : '.', data[0] & 1 ? '\xA0' : ',');
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::feclearexcept(FE_ALL_EXCEPT);
    try {
        ParseRealLocale(text);
    } catch (const EConvertError&) {
    }
    if (std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO) != 0 ||
        std::fegetround() != FE_TONEAREST) {
        std::abort();
    }
    return 0;
}
