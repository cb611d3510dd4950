#include "CoordinateReadout.h"

#include "TextCodec.h"

#include "NumberText.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TChartSeries.h"

#include <cfenv>
#include <cmath>

namespace {

// The readout runs on every mouse move between commands: it leaves the floating-point status
// flags as it found them, so that an overflow of its own arithmetic (an axis zoomed far out)
// can never be taken for an error of the next command.
class KeepFloatFlags {
public:
    KeepFloatFlags() { std::fegetexceptflag(&m_flags, FE_ALL_EXCEPT); }
    ~KeepFloatFlags() { std::fesetexceptflag(&m_flags, FE_ALL_EXCEPT); }
    KeepFloatFlags(const KeepFloatFlags&) = delete;
    KeepFloatFlags& operator=(const KeepFloatFlags&) = delete;

private:
    std::fexcept_t m_flags{};
};

// The value at `pixel`, rounded to the decimal place of the distance between neighbouring
// pixels: the pointer is known to one pixel, and fifteen digits of its position would be noise
// that crowds the strip. A distance of 0.0276 gives two decimals, one of 50 whole tens.
long double ValueAtPixel(const TChartAxis& axis, int pixel) {
    const long double value = axis.PixelToValue(pixel);
    const long double step = std::fabs(axis.PixelToValue(pixel + 1) - value);
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(value))
        return value;
    const int decimals = -int(std::floor(std::log10(step)));
    return ScaleByPowerOfTen(std::rint(ScaleByPowerOfTen(value, decimals)), -decimals);
}

// The index of the point whose x lies nearest to `x`; the series keeps its x ascending.
int NearestPoint(const TChartSeries& series, double x) {
    const TChartValueList& xs = series.XValues();
    int low = 0, high = series.Count(); // the first point at or beyond x lies in [low, high]
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (xs.ValueAt(middle) < x)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == series.Count())
        return low - 1;
    if (low > 0 && x - xs.ValueAt(low - 1) <= xs.ValueAt(low) - x)
        return low - 1;
    return low;
}

QString Number(long double value) {
    return ToQt(FormatGeneral(value));
}

} // namespace

QString CoordinateReadout(const TChart& chart, const TChartSeries& series, int x, int y) {
    if (series.Count() == 0 || !chart.PlotRect().Contains(x, y))
        return {};
    const KeepFloatFlags keep;
    const TChartAxis& bottom = *chart.BottomAxis();
    const TChartAxis& left = *chart.LeftAxis();
    const int nearest = NearestPoint(series, bottom.PixelToValue(x));
    return QStringLiteral("x = %1   y = %2\nf(%3) = %4")
        .arg(Number(ValueAtPixel(bottom, x)), Number(ValueAtPixel(left, y)),
             Number(series.XValues().ValueAt(nearest)), Number(series.YValues().ValueAt(nearest)));
}
