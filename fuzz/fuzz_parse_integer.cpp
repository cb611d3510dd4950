// ParseInteger on any bytes: never raises, and an error position lies inside the text or just
// past it; a decimal text it accepts reads back from its own formatting.

#include "NumberText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t errorPos = -1;
    const std::int32_t value = ParseInteger(text, errorPos);
    if (errorPos < 0 || static_cast<std::size_t>(errorPos) > size + 1) {
        std::abort();
    }
    if (errorPos == 0) {
        std::int32_t again = -1;
        if (ParseInteger(std::to_string(value), again) != value || again != 0) {
            std::abort();
        }
    }
    return 0;
}
