#pragma once
// Colours, rectangles and small enumerations shared by every part of the chart control.

#include <cstdint>

// A colour as the toolkit stores it: 0x00BBGGRR, red in the low byte. Two values are markers,
// not colours: clChartDefault (use the element's default colour) and clNone (a null point).
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clMaroon = 0x00000080;
inline constexpr TColor clGreen = 0x00008000;
inline constexpr TColor clOlive = 0x00008080;
inline constexpr TColor clNavy = 0x00800000;
inline constexpr TColor clPurple = 0x00800080;
inline constexpr TColor clTeal = 0x00808000;
inline constexpr TColor clGray = 0x00808080;
inline constexpr TColor clSilver = 0x00C0C0C0;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clLime = 0x0000FF00;
inline constexpr TColor clYellow = 0x0000FFFF;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clFuchsia = 0x00FF00FF;
inline constexpr TColor clAqua = 0x00FFFF00;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clChartDefault = 0x20000000;
inline constexpr TColor clNone = 0x1FFFFFFF;

// True for a plain 0x00BBGGRR colour, false for the marker values.
constexpr bool IsPlainColor(TColor c) {
    return (c & 0xFF000000u) == 0;
}
// The colour as 0xAARRGGBB with full alpha, the layout of a QImage::Format_RGB32 pixel.
constexpr std::uint32_t ToArgb(TColor c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr TColor FromRgb(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int RedOf(TColor c) {
    return int(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
    return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
    return int((c >> 16) & 0xFF);
}

// A rectangle in the toolkit's convention: Left and Top are the first pixel inside, Right and
// Bottom the first pixel outside for fills (outlines drawn on them are the caller's choice).
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// The axes a series is drawn against.
enum class THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum class TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// How a value list places new values.
enum class TChartListOrder { loNone, loAscending, loDescending };

// a·b/c in 64 bits, rounded to the nearest integer with halves away from zero: the rule of the
// percentage-to-pixel conversions (1.5 gives 2, 0.5 gives 1, -0.5 gives -1). c = 0 gives -1,
// the toolkit's answer for an impossible division.
constexpr int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t p = std::int64_t(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const std::uint64_t ap = std::uint64_t(p < 0 ? -p : p);
    const std::uint64_t ac = std::uint64_t(c < 0 ? -std::int64_t(c) : std::int64_t(c));
    const std::uint64_t q = (2 * ap + ac) / (2 * ac);
    return negative ? -int(q) : int(q);
}
