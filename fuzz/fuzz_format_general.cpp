// FormatGeneral of any finite value reads back with ParseReal to 15 significant digits (zero
// and denormals print "0"); FormatFixed and FormatScientific never exceed 255 characters.

#include "Exceptions.h"
#include "ExtendedFromBytes.h"
#include "NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 12) {
        return 0;
    }
    SetRegionalSeparators('.', ',');
    const long double value = ExtendedFromBytes(data);
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
