#include "TChartCanvas3D.h"

#include "TextCodec.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

// Splits a text into its lines at "\n" (a "\r" before it is dropped).
template <class F> void ForEachLine(std::string_view text, F f) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? text.npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        f(line);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
}

// On/off run lengths, in pixels, of the styled pens of width 1; the pattern restarts at every
// MoveTo and runs on across the LineTo calls that follow it.
struct DashPattern {
    int count;
    int runs[6];
    int period;
};
constexpr DashPattern kDash{2, {18, 6}, 24};
constexpr DashPattern kDot{2, {3, 3}, 6};
constexpr DashPattern kDashDot{4, {9, 6, 3, 6}, 24};
constexpr DashPattern kDashDotDot{6, {9, 3, 3, 3, 3, 3}, 24};
constexpr DashPattern kSmallDots{2, {1, 1}, 2};

// The dash pattern of a pen, or none for a solid one; wider pens are always solid, as the
// toolkit's are (the width is the logical one: a dotted line stays dotted at any ratio).
const DashPattern* DashOf(const TChartPen& pen) {
    if (pen.Width > 1)
        return nullptr;
    if (pen.SmallDots && pen.Style != TPenStyle::psSolid)
        return &kSmallDots;
    switch (pen.Style) {
    case TPenStyle::psDash:
        return &kDash;
    case TPenStyle::psDot:
        return &kDot;
    case TPenStyle::psDashDot:
        return &kDashDot;
    case TPenStyle::psDashDotDot:
        return &kDashDotDot;
    default:
        return nullptr;
    }
}

// 8 × 8 hatch patterns, one byte per row, bit 7 the leftmost pixel; aligned to the image.
constexpr std::uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // backward diagonal
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}, // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // diagonal cross
};

// Every dash period divides this, so the phase can be kept modulo it however long the lines.
constexpr int kDashCycle = 24;
static_assert(kDashCycle % kDash.period == 0 && kDashCycle % kDot.period == 0 &&
              kDashCycle % kDashDot.period == 0 && kDashCycle % kDashDotDot.period == 0 &&
              kDashCycle % kSmallDots.period == 0);

// Products of two pixel distances of up to 2^61 need more than 64 bits.
__extension__ using Int128 = __int128;

// A range of steps of a walk, both ends included; empty when first > last.
struct StepSpan {
    std::int64_t first, last;
};

// The offsets from `start`, counted in the direction `sign`, of the coordinates lo … hi.
StepSpan OffsetsAlong(std::int64_t start, int sign, std::int64_t lo, std::int64_t hi) {
    return sign > 0 ? StepSpan{lo - start, hi - start} : StepSpan{start - hi, start - lo};
}

// The Bresenham walk of a line `major` pixels long along its major axis and `minor`
// (0 ≤ minor ≤ major) across. Its error term starts at 2·minor − major; at every step it
// moves one pixel along, and one across when the error is positive. After k steps it has
// therefore moved j(k) = ⌊(2·minor·k + major − 1) / (2·major)⌋ pixels across (the exact line
// rounded to the nearest pixel, halves towards the start), and its error is
// 2·minor·(k + 1) − major − 2·major·j(k). So the walk can start at any step with the state
// the full walk would have there.
struct BresenhamWalk {
    std::int64_t major, minor;

    std::int64_t MinorAt(std::int64_t k) const {
        return std::int64_t((Int128(2) * minor * k + major - 1) / (Int128(2) * major));
    }
    std::int64_t ErrorAt(std::int64_t k, std::int64_t across) const {
        return std::int64_t(Int128(2) * minor * (k + 1) - major - Int128(2) * major * across);
    }
    // The steps 0 … major − 1 whose offset along lies in `along` and whose offset across lies
    // in `across`. j(k) never decreases, so the steps with j(k) ≥ lo start at the least k with
    // 2·minor·k ≥ 2·major·lo − major + 1, and those with j(k) ≤ hi end at the greatest k with
    // 2·minor·k ≤ 2·major·(hi + 1) − major.
    StepSpan StepsWithin(StepSpan along, StepSpan across) const {
        StepSpan s{std::max<std::int64_t>(along.first, 0),
                   std::min<std::int64_t>(along.last, major - 1)};
        if (s.first > s.last || across.first > across.last || across.last < 0 ||
            (minor == 0 && across.first > 0))
            return {1, 0};
        if (minor == 0)
            return s; // j(k) = 0 throughout, which lies within `across`
        const Int128 twiceMinor = Int128(2) * minor;
        if (across.first > 0) {
            const Int128 n = Int128(2) * major * across.first - major + 1;
            const Int128 k = (n + twiceMinor - 1) / twiceMinor;
            if (k > s.last)
                return {1, 0};
            s.first = std::max(s.first, std::int64_t(k));
        }
        const Int128 k = (Int128(2) * major * (Int128(across.last) + 1) - major) / twiceMinor;
        if (k < s.first)
            return {1, 0};
        s.last = std::int64_t(std::min<Int128>(k, s.last));
        return s;
    }
};

std::string Hex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", unsigned(c));
    return buf;
}

} // namespace

TChartCanvas3D::TChartCanvas3D() {
    AssignFont(TChartFont{});
}

TChartCanvas3D::~TChartCanvas3D() {
    EndDraw();
}

bool TChartCanvas3D::PrepareImage(int width, int height, double ratio) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    // A ratio that is not a sensible number is taken as 1 rather than making a huge image.
    if (!(ratio >= 0.25 && ratio <= 16))
        ratio = 1.0;
    if (!m_image.isNull() && m_logicalWidth == width && m_logicalHeight == height &&
        m_ratio == ratio)
        return false;
    EndDraw();
    m_logicalWidth = width;
    m_logicalHeight = height;
    m_ratio = ratio;
    m_image = QImage(Dev(width), Dev(height), QImage::Format_RGB32);
    // The window copies the image 1:1 to its device pixels, and the text painter draws in
    // logical pixels at device resolution.
    m_image.setDevicePixelRatio(ratio);
    UpdateClipBox();
    return true;
}

int TChartCanvas3D::Dev(int logical) const {
    // Round half away from zero on both sides, so that a rectangle keeps its width wherever
    // it lies: at 1.5 the pixels 1 and 2 become 2 and 3 device pixels from the left.
    if (m_ratio == 1.0)
        return logical;
    const long device = std::lround(logical * m_ratio);
    return int(std::clamp<long>(device, INT_MIN, INT_MAX));
}

void TChartCanvas3D::SetLogicalDpi(int dpi) {
    dpi = dpi > 0 ? dpi : 96;
    if (dpi == m_dpi)
        return;
    m_dpi = dpi;
    m_fonts.clear(); // their pixel sizes were taken at the old density
    AssignFont(TChartFont(m_font));
}

void TChartCanvas3D::BeginDraw() {
    if (m_drawing)
        return;
    m_drawing = true;
    m_bits = m_image.isNull() ? nullptr : reinterpret_cast<std::uint32_t*>(m_image.bits());
    m_stride = m_image.isNull() ? 0 : int(m_image.bytesPerLine() / 4);
}

void TChartCanvas3D::EndDraw() {
    if (m_painter.isActive())
        m_painter.end();
    m_drawing = false;
    m_bits = nullptr;
}

// The painter is needed only for text; it starts on the first text of a paint.
void TChartCanvas3D::EnsurePainter() {
    if (m_painter.isActive() || m_image.isNull())
        return;
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, false);
    m_painterFontStale = true;
    ApplyPainterClip();
}

void TChartCanvas3D::ApplyPainterClip() {
    if (!m_painter.isActive())
        return;
    if (m_clipped)
        m_painter.setClipRect(QRect(m_clip.Left, m_clip.Top, std::max(m_clip.Width(), 0),
                                    std::max(m_clip.Height(), 0)));
    else
        m_painter.setClipping(false);
}

void TChartCanvas3D::Log(std::string line) {
    if (m_log)
        m_log->push_back(std::move(line));
}

// --- pen, brush, font --------------------------------------------------------------------

void TChartCanvas3D::SetPen(TColor colour, int width, TPenStyle style, TPenMode mode) {
    m_pen.Color = colour;
    m_pen.Width = width < 1 ? 1 : width;
    m_pen.Style = style;
    m_pen.Mode = mode;
    m_pen.Visible = true;
    m_pen.SmallDots = false;
}

void TChartCanvas3D::AssignPen(const TChartPen& pen) {
    SetPen(pen.Color, pen.Width, pen.Visible ? pen.Style : TPenStyle::psClear, pen.Mode);
    m_pen.SmallDots = pen.SmallDots;
}

void TChartCanvas3D::SetBrush(TColor colour, TBrushStyle style) {
    m_brush.Color = colour;
    m_brush.Style = style;
}

namespace {
bool SameGlyphs(const TChartFont& a, const TChartFont& b, int dpi) {
    return a.Name == b.Name && a.PixelSize(dpi) == b.PixelSize(dpi) && a.Bold == b.Bold &&
           a.Italic == b.Italic && a.Underline == b.Underline;
}
} // namespace

void TChartCanvas3D::AssignFont(const TChartFont& font) {
    m_font = font; // the colour and the charset change no glyph
    if (!m_fonts.empty() && SameGlyphs(m_fonts[m_fontIndex].key, font, m_dpi))
        return;
    m_painterFontStale = true;
    for (std::size_t k = 0; k < m_fonts.size(); ++k)
        if (SameGlyphs(m_fonts[k].key, font, m_dpi)) {
            m_fontIndex = k;
            return;
        }
    QFont q(QString::fromStdString(font.Name));
    q.setPixelSize(std::max(font.PixelSize(m_dpi), 1));
    q.setBold(font.Bold);
    q.setItalic(font.Italic);
    q.setUnderline(font.Underline);
    // Monochrome glyphs: the chart's pixels are exactly the font's, with no blending.
    q.setStyleStrategy(QFont::NoAntialias);
    if (m_fonts.size() >= 16)
        m_fonts.erase(m_fonts.begin()); // a bound for programs that keep changing fonts
    m_fonts.push_back(FontEntry{font, q, QFontMetrics(q)});
    m_fontIndex = m_fonts.size() - 1;
}

void TChartCanvas3D::SetFontSize(int points) {
    TChartFont f = m_font;
    f.Size = points;
    f.Height = 0;
    AssignFont(f);
}

const QFontMetrics& TChartCanvas3D::Metrics() {
    return m_fonts[m_fontIndex].metrics;
}

int TChartCanvas3D::TextWidth(std::string_view text) {
    int widest = 0;
    ForEachLine(text, [&](std::string_view line) {
        widest = std::max(widest, int(Metrics().horizontalAdvance(ToQt(line))));
    });
    return widest;
}

int TChartCanvas3D::TextHeight(std::string_view text) {
    int lines = 0;
    ForEachLine(text, [&](std::string_view) { ++lines; });
    return lines * Metrics().height();
}

void TChartCanvas3D::SetTextAlign(TTextAlignH horizontal, TTextAlignV vertical) {
    m_alignH = horizontal;
    m_alignV = vertical;
}

void TChartCanvas3D::TextOut(int x, int y, std::string_view text) {
    Log("TextOut " + std::to_string(x) + "," + std::to_string(y) + " \"" + std::string(text) +
        "\"");
    if (!m_drawing || m_image.isNull())
        return;
    EnsurePainter();
    if (m_painterFontStale) {
        m_painter.setFont(m_fonts[m_fontIndex].font);
        m_painterFontStale = false;
    }
    m_painter.setPen(QColor::fromRgb(ToArgb(m_font.Color)));
    const QFontMetrics& fm = Metrics();
    const int lineHeight = fm.height();
    int lines = 0;
    ForEachLine(text, [&](std::string_view) { ++lines; });
    int top = y;
    if (m_alignV == TTextAlignV::Bottom)
        top = y - lines * lineHeight;
    else if (m_alignV == TTextAlignV::Baseline)
        top = y - fm.ascent();
    ForEachLine(text, [&](std::string_view line) {
        // No glyph is wider than the font's widest, so a line whose every possible box lies
        // wholly outside the image is left unshaped (a thousand labels beyond an axis's end).
        const std::int64_t most = std::int64_t(line.size()) * fm.maxWidth() + lineHeight;
        if (!ColumnsReachImage(x - most, x + most) ||
            !RowsReachImage(top - lineHeight, top + 2 * lineHeight)) {
            top += lineHeight;
            return;
        }
        const QString s = ToQt(line);
        const int w = int(fm.horizontalAdvance(s));
        int left = x;
        if (m_alignH == TTextAlignH::Right)
            left = x - w;
        else if (m_alignH == TTextAlignH::Center)
            left = x - w / 2;
        if (!m_transparent)
            FillBox(left, top, left + w, top + lineHeight, ToArgb(m_backColor));
        m_painter.drawText(QPoint(left, top + fm.ascent()), s);
        top += lineHeight;
    });
}

bool TChartCanvas3D::RowsReachImage(std::int64_t top, std::int64_t bottom) const {
    if (!m_drawing || m_image.isNull())
        return true;
    return DevFar(bottom) > m_box.top && DevFar(top) < m_box.bottom;
}

bool TChartCanvas3D::ColumnsReachImage(std::int64_t left, std::int64_t right) const {
    if (!m_drawing || m_image.isNull())
        return true;
    return DevFar(right) > m_box.left && DevFar(left) < m_box.right;
}

// --- pixels and fills --------------------------------------------------------------------

void TChartCanvas3D::UpdateClipBox() {
    ClipBox b{0, 0, m_image.width(), m_image.height()};
    if (m_clipped) {
        b.left = std::max(b.left, Dev(m_clip.Left));
        b.top = std::max(b.top, Dev(m_clip.Top));
        b.right = std::min(b.right, Dev(m_clip.Right));
        b.bottom = std::min(b.bottom, Dev(m_clip.Bottom));
    }
    m_box = b;
}

void TChartCanvas3D::PutPixel(int x, int y, std::uint32_t argb) {
    const ClipBox b = m_box; // a copy: the pixel stores cannot change it
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom || !m_bits)
        return;
    std::uint32_t& p = m_bits[std::size_t(y) * std::size_t(m_stride) + std::size_t(x)];
    p = m_pen.Mode == TPenMode::pmNotXor ? (~(argb ^ p)) | 0xFF000000u : argb;
}

void TChartCanvas3D::FillBox(int left, int top, int right, int bottom, std::uint32_t argb) {
    FillDeviceBox(Dev(left), Dev(top), Dev(right), Dev(bottom), argb);
}

void TChartCanvas3D::FillDeviceBox(int left, int top, int right, int bottom, std::uint32_t argb) {
    const ClipBox b = m_box; // a copy: the pixel stores cannot change it
    left = std::max(left, b.left);
    top = std::max(top, b.top);
    right = std::min(right, b.right);
    bottom = std::min(bottom, b.bottom);
    if (left >= right || top >= bottom || !m_bits)
        return;
    const std::size_t stride = std::size_t(m_stride);
    if (right - left < 16) {
        for (int y = top; y < bottom; ++y) {
            std::uint32_t* row = m_bits + std::size_t(y) * stride;
            std::fill(row + left, row + right, argb);
        }
        return;
    }
    // Long runs go through the C library's vectorised fill of 32-bit units (wchar_t here),
    // whatever the optimisation level; whole rows are one run.
    static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
    wchar_t unit;
    std::memcpy(&unit, &argb, sizeof unit);
    if (left == 0 && std::size_t(right) == stride) {
        std::wmemset(reinterpret_cast<wchar_t*>(m_bits + std::size_t(top) * stride), unit,
                     std::size_t(bottom - top) * stride);
        return;
    }
    for (int y = top; y < bottom; ++y)
        std::wmemset(reinterpret_cast<wchar_t*>(m_bits + std::size_t(y) * stride + left), unit,
                     std::size_t(right - left));
}

void TChartCanvas3D::FillPattern(int left, int top, int right, int bottom) {
    const ClipBox b = m_box; // a copy: the pixel stores cannot change it
    left = Dev(left);
    top = Dev(top);
    right = Dev(right);
    bottom = Dev(bottom);
    left = std::max(left, b.left);
    top = std::max(top, b.top);
    right = std::min(right, b.right);
    bottom = std::min(bottom, b.bottom);
    if (left >= right || top >= bottom || !m_bits)
        return;
    const auto& hatch = kHatch[int(m_brush.Style) - int(TBrushStyle::bsHorizontal)];
    const std::uint32_t fore = ToArgb(m_brush.Color);
    const std::uint32_t back = ToArgb(m_backColor);
    // The hatch is 8 × 8 logical pixels: a device pixel takes the bit of the logical pixel
    // that covers it.
    auto logical = [this](int device) {
        return m_ratio == 1.0 ? device : int(std::floor(device / m_ratio));
    };
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = m_bits + std::size_t(y) * std::size_t(m_stride);
        const std::uint8_t bits = hatch[logical(y) & 7];
        for (int x = left; x < right; ++x) {
            if (bits & (0x80 >> (logical(x) & 7)))
                row[x] = fore;
            else if (!m_transparent)
                row[x] = back;
        }
    }
}

int TChartCanvas3D::DevFar(std::int64_t logical) const {
    // Far beyond the image every position is as good as the image's edge plus a margin.
    constexpr std::int64_t kMargin = std::int64_t(1) << 28;
    const long double device = std::roundl(static_cast<long double>(logical) * m_ratio);
    return int(std::clamp<long double>(device, -kMargin, kMargin));
}

void TChartCanvas3D::PaintDeviceBox(int left, int top, int right, int bottom, std::uint32_t argb) {
    if (m_pen.Mode != TPenMode::pmNotXor) {
        FillDeviceBox(left, top, right, bottom, argb);
        return;
    }
    const ClipBox b = m_box; // a copy: the pixel stores cannot change it
    left = std::max(left, b.left);
    top = std::max(top, b.top);
    right = std::min(right, b.right);
    bottom = std::min(bottom, b.bottom);
    if (!m_bits)
        return;
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = m_bits + std::size_t(y) * std::size_t(m_stride);
        for (int x = left; x < right; ++x)
            row[x] = (~(argb ^ row[x])) | 0xFF000000u;
    }
}

void TChartCanvas3D::StrokeStraight(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                                    std::int64_t y1) {
    const bool horizontal = y0 == y1;
    const std::int64_t start = horizontal ? x0 : y0, end = horizontal ? x1 : y1;
    const std::int64_t across = horizontal ? y0 : x0;
    const std::int64_t n = end > start ? end - start : start - end;
    const int phase = m_dashPhase % kDashCycle; // logical pixels, as at ratio 1
    m_dashPhase = int((phase + n % kDashCycle) % kDashCycle);
    if (n == 0 || !m_bits)
        return;
    const int w = m_pen.Width < 1 ? 1 : m_pen.Width, o = w / 2;
    const int sign = end > start ? 1 : -1;
    // Only the logical pixels whose square can reach the drawable area are walked.
    const ClipBox b = m_box;
    const std::int64_t lo = std::int64_t(std::floor((horizontal ? b.left : b.top) / m_ratio)) - w;
    const std::int64_t hi =
        std::int64_t(std::ceil((horizontal ? b.right : b.bottom) / m_ratio)) + w;
    std::int64_t first = sign > 0 ? lo - start : start - hi;
    std::int64_t last = sign > 0 ? hi - start : start - lo;
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, n - 1);
    if (first > last)
        return;
    // The logical pixels first … last − 1 of the walk, as one device box.
    auto paintRun = [&](std::int64_t k0, std::int64_t k1, std::uint32_t argb) {
        std::int64_t p0 = start + sign * k0, p1 = start + sign * (k1 - 1);
        if (p0 > p1)
            std::swap(p0, p1);
        const int a0 = DevFar(p0 - o), a1 = DevFar(p1 - o + w);
        const int c0 = DevFar(across - o), c1 = DevFar(across - o + w);
        if (horizontal)
            PaintDeviceBox(a0, c0, a1, c1, argb);
        else
            PaintDeviceBox(c0, a0, c1, a1, argb);
    };
    const std::uint32_t fore = ToArgb(m_pen.Color);
    const DashPattern* dash = DashOf(m_pen);
    if (!dash) {
        paintRun(first, last + 1, fore);
        return;
    }
    const std::uint32_t back = ToArgb(m_backColor);
    // Run by run of the pattern; every pass moves k on by at least one pixel.
    std::int64_t k = first;
    while (k <= last) {
        int pos = int((phase + k % kDashCycle) % dash->period), run = 0;
        while (pos >= dash->runs[run])
            pos -= dash->runs[run++];
        const std::int64_t runEnd = std::min<std::int64_t>(k + dash->runs[run] - pos, last + 1);
        if (run % 2 == 0)
            paintRun(k, runEnd, fore);
        else if (!m_transparent)
            paintRun(k, runEnd, back);
        k = runEnd;
    }
}

void TChartCanvas3D::FillRect(const TRect& r) {
    Log("FillRect " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
        std::to_string(r.Right) + "," + std::to_string(r.Bottom) + " brush " + Hex(m_brush.Color));
    if (!m_drawing || m_brush.Style == TBrushStyle::bsClear)
        return;
    if (m_brush.Style == TBrushStyle::bsSolid)
        FillBox(r.Left, r.Top, r.Right, r.Bottom, ToArgb(m_brush.Color));
    else
        FillPattern(r.Left, r.Top, r.Right, r.Bottom);
}

void TChartCanvas3D::FillSolid(const TRect& r, TColor colour) {
    Log("FillSolid " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
        std::to_string(r.Right) + "," + std::to_string(r.Bottom) + " " + Hex(colour));
    if (m_drawing)
        FillBox(r.Left, r.Top, r.Right, r.Bottom, ToArgb(colour));
}

void TChartCanvas3D::Rectangle(int left, int top, int right, int bottom) {
    Log("Rectangle " + std::to_string(left) + "," + std::to_string(top) + "," +
        std::to_string(right) + "," + std::to_string(bottom) + " pen " + Hex(m_pen.Color) +
        (m_pen.Style == TPenStyle::psClear ? " clear" : "") + " brush " + Hex(m_brush.Color) +
        (m_brush.Style == TBrushStyle::bsClear ? " clear" : ""));
    if (!m_drawing)
        return;
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    const bool outline = m_pen.Style != TPenStyle::psClear;
    if (m_brush.Style != TBrushStyle::bsClear) {
        // The inside: within the outline, or one pixel short at the far edges without one.
        const TRect inside = outline ? TRect{left + 1, top + 1, right - 1, bottom - 1}
                                     : TRect{left, top, right - 1, bottom - 1};
        const TChartPen pen = m_pen;
        FillRect(inside);
        m_pen = pen;
    }
    if (outline && right - left >= 1 && bottom - top >= 1) {
        const std::int64_t savedX = m_penX, savedY = m_penY;
        const int r = right - 1, b = bottom - 1;
        MoveTo(left, top);
        if (r == left || b == top) {
            // A single row or column: the whole run, both ends included.
            Stroke(left, top, r + (b == top ? 1 : 0), b + (b == top ? 0 : 1));
        } else {
            Stroke(left, top, r, top);
            Stroke(r, top, r, b);
            Stroke(r, b, left, b);
            Stroke(left, b, left, top);
        }
        m_penX = savedX;
        m_penY = savedY;
    }
}

void TChartCanvas3D::MoveTo(std::int64_t x, std::int64_t y) {
    m_penX = x;
    m_penY = y;
    m_dashPhase = 0;
}

void TChartCanvas3D::LineTo(std::int64_t x, std::int64_t y) {
    if (m_log)
        Log("LineTo " + std::to_string(m_penX) + "," + std::to_string(m_penY) + "->" +
            std::to_string(x) + "," + std::to_string(y) + " pen " + Hex(m_pen.Color) + " w" +
            std::to_string(m_pen.Width));
    if (m_drawing && m_pen.Style != TPenStyle::psClear)
        Stroke(m_penX, m_penY, x, y);
    m_penX = x;
    m_penY = y;
}

// At ratio 1 a line is the Bresenham walk between its ends. At another ratio a horizontal or
// vertical line covers the device pixels of its logical pixels, like a fill; a slanted one is
// walked between the device positions of its ends with the pen as wide as the ratio makes it,
// so that it climbs one device pixel at a time instead of in blocks.
void TChartCanvas3D::Stroke(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    const int w = m_pen.Width < 1 ? 1 : m_pen.Width;
    if (m_ratio == 1.0) {
        RasterLine(x0, y0, x1, y1, w, w / 2);
    } else if (x0 == x1 || y0 == y1) {
        StrokeStraight(x0, y0, x1, y1);
    } else {
        // The square of a centre pixel, [x − w/2, x − w/2 + w), keeps its device extent.
        const int deviceWidth = std::max(1, int(std::lround(w * m_ratio)));
        const int deviceOffset = int(std::lround((w / 2) * m_ratio));
        // Device positions keep 64 bits: the walk clips them exactly.
        auto device = [this](std::int64_t logical) {
            const long double d = std::roundl(static_cast<long double>(logical) * m_ratio);
            return std::int64_t(std::clamp<long double>(d, -kFarthestPixel, kFarthestPixel));
        };
        RasterLine(device(x0), device(y0), device(x1), device(y1), deviceWidth, deviceOffset);
    }
}

// Bresenham from (x0, y0) towards (x1, y1) in device pixels, the end pixel excluded. A pen of
// width w paints a w × w square around each pixel of the centre line (from `o` left/above of
// it, w/2 at ratio 1), which gives the two-pixel line of the series the same rows and columns
// as the toolkit's. Only the steps whose square reaches the drawable area are walked, entered
// with the exact state the full walk would have there.
void TChartCanvas3D::RasterLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                                int w, int o) {
    x0 = std::clamp(x0, -kFarthestPixel, kFarthestPixel);
    y0 = std::clamp(y0, -kFarthestPixel, kFarthestPixel);
    x1 = std::clamp(x1, -kFarthestPixel, kFarthestPixel);
    y1 = std::clamp(y1, -kFarthestPixel, kFarthestPixel);
    const std::int64_t dx = x1 > x0 ? x1 - x0 : x0 - x1;
    const std::int64_t dy = y1 > y0 ? y1 - y0 : y0 - y1;
    const bool xMajor = dx >= dy;
    const BresenhamWalk walk{xMajor ? dx : dy, xMajor ? dy : dx};
    if (walk.major == 0 || !m_bits)
        return;
    const ClipBox b = m_box; // a copy: the pixel stores cannot change it
    const int phase = m_dashPhase;
    m_dashPhase = int((m_dashPhase + walk.major % kDashCycle) % kDashCycle);
    if (b.left >= b.right || b.top >= b.bottom)
        return;

    // The centre pixels whose square reaches the drawable area: a line with both ends among
    // them is walked whole (its pixels lie between its ends); any other only over the steps
    // that have them, counted as offsets along the walk.
    const int sx = x1 > x0 ? 1 : -1, sy = y1 > y0 ? 1 : -1;
    const std::int64_t xLo = std::int64_t(b.left) - (w - 1 - o),
                       xHi = std::int64_t(b.right) - 1 + o;
    const std::int64_t yLo = std::int64_t(b.top) - (w - 1 - o),
                       yHi = std::int64_t(b.bottom) - 1 + o;
    StepSpan steps{0, walk.major - 1};
    if (std::min(x0, x1) < xLo || std::max(x0, x1) > xHi || std::min(y0, y1) < yLo ||
        std::max(y0, y1) > yHi) {
        const StepSpan xs = OffsetsAlong(x0, sx, xLo, xHi), ys = OffsetsAlong(y0, sy, yLo, yHi);
        steps = walk.StepsWithin(xMajor ? xs : ys, xMajor ? ys : xs);
        if (steps.first > steps.last)
            return; // wholly outside: costs nothing
    }

    const DashPattern* dash = nullptr;
    if (w == 1) { // wider pens are always solid, as the toolkit's are
        if (m_pen.SmallDots && m_pen.Style != TPenStyle::psSolid)
            dash = &kSmallDots;
        else if (m_pen.Style == TPenStyle::psDash)
            dash = &kDash;
        else if (m_pen.Style == TPenStyle::psDot)
            dash = &kDot;
        else if (m_pen.Style == TPenStyle::psDashDot)
            dash = &kDashDot;
        else if (m_pen.Style == TPenStyle::psDashDotDot)
            dash = &kDashDotDot;
    }
    const std::uint32_t fore = ToArgb(m_pen.Color);
    const std::uint32_t back = ToArgb(m_backColor);
    const bool invert = m_pen.Mode == TPenMode::pmNotXor;
    const bool paintGaps = !m_transparent;

    // Where in the dash pattern the first walked pixel lies: the run and the pixels left in it.
    int run = 0, runLeft = 0;
    if (dash) {
        int pos = int((phase + steps.first % kDashCycle) % dash->period);
        while (pos >= dash->runs[run])
            pos -= dash->runs[run++];
        runLeft = dash->runs[run] - pos;
    }

    const bool wideXor = w > 1 && invert;
    if (wideXor)
        m_wideXorPixels.clear();
    // The walk's state at its first visible step. Every walked centre pixel lies within a pen
    // width of the drawable area, so it is an int.
    const std::int64_t across = steps.first == 0 ? 0 : walk.MinorAt(steps.first);
    int x = int(x0 + sx * (xMajor ? steps.first : across));
    int y = int(y0 + sy * (xMajor ? across : steps.first));
    std::int64_t err = walk.ErrorAt(steps.first, across);
    const std::int64_t twiceMajor = 2 * walk.major, twiceMinor = 2 * walk.minor;
    const std::size_t stride = std::size_t(m_stride);
    for (std::int64_t left = steps.last - steps.first + 1; left > 0; --left) {
        if (w == 1) {
            const bool on = run % 2 == 0; // always true without a dash pattern
            if ((on || paintGaps) && x >= b.left && x < b.right && y >= b.top && y < b.bottom) {
                std::uint32_t& p = m_bits[std::size_t(y) * stride + std::size_t(x)];
                const std::uint32_t c = on ? fore : back;
                p = invert ? (~(c ^ p)) | 0xFF000000u : c;
            }
            if (dash && --runLeft == 0) {
                run = (run + 1) % dash->count;
                runLeft = dash->runs[run];
            }
        } else if (wideXor) {
            for (int yy = y - o; yy < y - o + w; ++yy)
                for (int xx = x - o; xx < x - o + w; ++xx)
                    m_wideXorPixels.push_back((std::uint64_t(std::uint32_t(yy)) << 32) |
                                              std::uint32_t(xx));
        } else if (w == 2 && o == 1 && x - 1 >= b.left && x < b.right && y - 1 >= b.top &&
                   y < b.bottom) {
            // The series' pen, its square wholly drawable, as for all but the edge steps.
            std::uint32_t* rowBits = m_bits + std::size_t(y - 1) * stride + std::size_t(x - 1);
            rowBits[0] = rowBits[1] = rowBits[stride] = rowBits[stride + 1] = fore;
        } else {
            for (int yy = y - o; yy < y - o + w; ++yy) {
                if (yy < b.top || yy >= b.bottom)
                    continue;
                std::uint32_t* rowBits = m_bits + std::size_t(yy) * stride;
                for (int xx = x - o; xx < x - o + w; ++xx)
                    if (xx >= b.left && xx < b.right)
                        rowBits[xx] = fore;
            }
        }
        if (xMajor) {
            if (err > 0) {
                y += sy;
                err -= twiceMajor;
            }
            err += twiceMinor;
            x += sx;
        } else {
            if (err > 0) {
                x += sx;
                err -= twiceMajor;
            }
            err += twiceMinor;
            y += sy;
        }
    }
    if (wideXor) {
        // Each pixel of a wide inverting line is inverted once, however many squares
        // cover it.
        std::sort(m_wideXorPixels.begin(), m_wideXorPixels.end());
        m_wideXorPixels.erase(std::unique(m_wideXorPixels.begin(), m_wideXorPixels.end()),
                              m_wideXorPixels.end());
        for (const std::uint64_t p : m_wideXorPixels)
            PutPixel(int(std::int32_t(std::uint32_t(p))), int(std::int32_t(p >> 32)), fore);
    }
}

// --- gradient ----------------------------------------------------------------------------

void TChartCanvas3D::FillGradient(const TRect& rect, TColor startColour, TColor endColour,
                                  TGradientDirection direction) {
    Log("FillGradient " + std::to_string(rect.Left) + "," + std::to_string(rect.Top) + "," +
        std::to_string(rect.Right) + "," + std::to_string(rect.Bottom) + " " + Hex(startColour) +
        "->" + Hex(endColour));
    m_gradientBrushes = 0;
    if (!m_drawing)
        return;
    TRect r = rect;
    if (r.Right < r.Left)
        std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top)
        std::swap(r.Top, r.Bottom);
    const int W = r.Right - r.Left, H = r.Bottom - r.Top;
    if (W <= 0 || H <= 0)
        return; // an empty rectangle paints nothing
    const TColor s = startColour & 0x00FFFFFF, e = endColour & 0x00FFFFFF;
    const int dr = RedOf(e) - RedOf(s), dg = GreenOf(e) - GreenOf(s), db = BlueOf(e) - BlueOf(s);

    // The band colour for index n of `steps`; a brush is made only when it changes.
    long long cached = -1;
    std::uint32_t brush = 0;
    auto setColour = [&](int n, int steps) {
        const TColor c = FromRgb(RedOf(s) + MulDiv(n, dr, steps), GreenOf(s) + MulDiv(n, dg, steps),
                                 BlueOf(s) + MulDiv(n, db, steps));
        if (static_cast<long long>(c) != cached) {
            cached = c;
            brush = ToArgb(c);
            ++m_gradientBrushes;
        }
    };

    switch (direction) {
    case TGradientDirection::gdFromTopLeft:
    case TGradientDirection::gdFromBottomLeft: {
        const bool fromBottom = direction == TGradientDirection::gdFromBottomLeft;
        // Rows are counted from the start corner; a bottom-left start mirrors them.
        auto row = [&](int y) { return fromBottom ? r.Top + r.Bottom - 1 - y : y; };
        if (s == e) {
            // Every band has the same colour: the bands together cover the columns
            // Left … Right and the rows Top … Bottom − 1, so one fill paints the same pixels.
            setColour(0, W + H);
            FillBox(r.Left, r.Top, r.Right + 1, r.Bottom, brush);
            break;
        }
        // Nested L-shaped bands around the start corner: band k holds the pixels whose
        // larger offset from the corner is k; its colour runs from start to end.
        int i = 0, j = 0, y = r.Top;
        do {
            setColour(i + j, W + H);
            if (y > r.Top) {
                const int x = r.Left + i;
                if (fromBottom)
                    FillBox(x, row(y - 1), x + 1, row(r.Top) + 1, brush);
                else
                    FillBox(x, r.Top, x + 1, y, brush);
            }
            if (j < H) {
                ++j;
                FillBox(r.Left, row(y), r.Left + i + 1, row(y) + 1, brush);
                if (y < r.Bottom)
                    ++y;
            }
            if (i < W)
                ++i;
        } while (!(j >= H && i >= W));
        break;
    }
    case TGradientDirection::gdTopBottom:
    case TGradientDirection::gdBottomTop:
        for (int k = 0; k < H; ++k) {
            setColour(k, H);
            const int y =
                direction == TGradientDirection::gdTopBottom ? r.Top + k : r.Bottom - 1 - k;
            FillBox(r.Left, y, r.Right, y + 1, brush);
        }
        break;
    case TGradientDirection::gdLeftRight:
    case TGradientDirection::gdRightLeft:
        for (int k = 0; k < W; ++k) {
            setColour(k, W);
            const int x =
                direction == TGradientDirection::gdLeftRight ? r.Left + k : r.Right - 1 - k;
            FillBox(x, r.Top, x + 1, r.Bottom, brush);
        }
        break;
    case TGradientDirection::gdFromCenter: {
        // Nested rectangles, the end colour outside and the start colour at the centre.
        const int steps = std::max((std::min(W, H) + 1) / 2, 1);
        for (int k = 0; k < steps; ++k) {
            setColour(steps - 1 - k, steps);
            const int inset = MulDiv(k, std::min(W, H), 2 * steps);
            FillBox(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset, brush);
        }
        break;
    }
    }
}

// --- clipping ----------------------------------------------------------------------------

void TChartCanvas3D::ClipRectangle(const TRect& rect) {
    Log("ClipRectangle " + std::to_string(rect.Left) + "," + std::to_string(rect.Top) + "," +
        std::to_string(rect.Right) + "," + std::to_string(rect.Bottom));
    TRect c = rect;
    if (m_clipped) {
        c.Left = std::max(c.Left, m_clip.Left);
        c.Top = std::max(c.Top, m_clip.Top);
        c.Right = std::min(c.Right, m_clip.Right);
        c.Bottom = std::min(c.Bottom, m_clip.Bottom);
    }
    if (c.Right < c.Left)
        c.Right = c.Left;
    if (c.Bottom < c.Top)
        c.Bottom = c.Top;
    m_clip = c;
    m_clipped = true;
    UpdateClipBox();
    ApplyPainterClip();
}

void TChartCanvas3D::UnClipRectangle() {
    Log("UnClipRectangle");
    m_clipped = false;
    UpdateClipBox();
    ApplyPainterClip();
}
