// ParseReal on any bytes: no crash or undefined behaviour; an error position lies inside the
// text or just past it, and only EOverflow may be raised.

#include "Exceptions.h"
#include "NumberText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t errorPos = -1;
    try {
        ParseReal(text, errorPos);
    } catch (const EOverflow&) {
        return 0;
    }
    if (errorPos < 0 || static_cast<std::size_t>(errorPos) > size + 1) {
        std::abort();
    }
    return 0;
}
