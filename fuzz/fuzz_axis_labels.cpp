// The label increment search and the label walk of a linear axis over any range, increment,
// label size and separation: both end; the increment is never below 1e-12; the walk hands out
// at most 2000 values, each below the previous one, none above the maximum or below the
// minimum (less its tolerance); and every label text can be written.

#include "AxisLabels.h"
#include "FuzzCheck.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

double DoubleAt(const std::uint8_t* data) {
    double value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

std::int32_t IntAt(const std::uint8_t* data) {
    std::int32_t value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 37) {
        return 0;
    }
    double minimum = DoubleAt(data);
    double maximum = DoubleAt(data + 8);
    const double increment = DoubleAt(data + 16);
    const std::uint8_t flags = data[24];
    if (flags & 1) {
        // Ranges the graph window really draws more often than raw bit patterns give them.
        minimum = static_cast<double>(IntAt(data)) / 1000.0;
        maximum = minimum + static_cast<double>(static_cast<std::uint16_t>(IntAt(data + 8))) *
                                std::ldexp(1.0, static_cast<std::int8_t>(data[12]) % 64);
    }
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    std::int32_t labelSize = IntAt(data + 25);
    std::int32_t axisLength = IntAt(data + 29);
    std::int32_t separation = IntAt(data + 33);
    if (flags & 2) {
        labelSize %= 200;
        axisLength %= 2000;
        separation %= 200;
    }
    const bool roundFirst = (flags & 4) != 0;

    const double step =
        ComputeLabelIncrement(maximum - minimum, increment, separation, labelSize, axisLength);
    check(step >= kMinLabelIncrement);
    // The search starts at 1e-12 at least; from there every step of the sequence grows.
    if (increment >= kMinLabelIncrement && std::isfinite(increment)) {
        const double next = NextNiceStep(increment);
        check(!(next <= increment));
    }

    std::vector<double> values;
    AxisLabelValues(minimum, maximum, step, roundFirst, values);
    check(values.size() <= static_cast<std::size_t>(kMaxAxisTicks));
    const double lowerLimit = (minimum - 1e-12) / 1.000000000001;
    for (std::size_t i = 0; i < values.size(); ++i) {
        check(values[i] <= maximum && values[i] >= lowerLimit);
        check(i == 0 || values[i] < values[i - 1]);
    }
    if (!values.empty() && !roundFirst) {
        check(values[0] == maximum);
    }

    // The chart's own pattern, or any pattern from the remaining bytes.
    const std::string_view pattern =
        flags & 8 ? std::string_view(reinterpret_cast<const char*>(data + 37), size - 37)
                  : std::string_view("#,##0.###");
    for (std::size_t i = 0; i < values.size() && i < 8; ++i) {
        const std::string text = FormatPatternNumber(values[i], pattern, ',', '\xA0');
        check(!text.empty() || flags & 8);
    }
    return 0;
}
