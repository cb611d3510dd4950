// The chart's canvas: exact pixels of fills, outlines, lines of each width and style, pen
// modes, clipping, text and the background gradient.

#include "ImagePixels.h"
#include "TChartCanvas3D.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr TColor kPaper = clWhite;

// A 40 × 30 canvas painted white, ready to draw; at `ratio` its image has that many device
// pixels per logical pixel.
struct Canvas {
    TChartCanvas3D c;
    explicit Canvas(double ratio = 1.0) {
        c.PrepareImage(40, 30, ratio);
        c.BeginDraw();
        c.FillSolid({0, 0, 40, 30}, kPaper);
    }
    TColor At(int x, int y) const { return ColorAt(c.Image(), x, y); }
    // The pixels of colour `colour` as "x,y" strings, row by row.
    std::set<std::pair<int, int>> PixelsOf(TColor colour) {
        std::set<std::pair<int, int>> s;
        for (int y = 0; y < c.Image().height(); ++y)
            for (int x = 0; x < c.Image().width(); ++x)
                if (At(x, y) == colour)
                    s.insert({x, y});
        return s;
    }
};

using Pixels = std::set<std::pair<int, int>>;

Pixels Box(int left, int top, int right, int bottom) { // right, bottom exclusive
    Pixels s;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            s.insert({x, y});
    return s;
}

Pixels Unite(Pixels a, const Pixels& b) {
    a.insert(b.begin(), b.end());
    return a;
}

} // namespace

TEST(ChartCanvas, ShapesPaintExactlyTheirPixels) {
    struct Row {
        const char* name;
        std::function<void(TChartCanvas3D&)> draw;
        TColor colour;
        Pixels expected;
    };
    const std::vector<Row> rows = {
        {"solid fill, far edges excluded",
         [](TChartCanvas3D& c) {
             c.SetBrush(clRed);
             c.FillRect({2, 3, 6, 5});
         },
         clRed, Box(2, 3, 6, 5)},
        {"clear brush fills nothing",
         [](TChartCanvas3D& c) {
             c.SetBrush(clRed, TBrushStyle::bsClear);
             c.FillRect({2, 3, 6, 5});
         },
         clRed,
         {}},
        {"rectangle outline on left, top, right-1, bottom-1",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlack);
             c.SetBrush(clWhite, TBrushStyle::bsClear);
             c.Rectangle(2, 2, 6, 5);
         },
         clBlack,
         Unite(Unite(Box(2, 2, 6, 3), Box(2, 4, 6, 5)), Unite(Box(2, 2, 3, 5), Box(5, 2, 6, 5)))},
        {"rectangle inside filled by the brush",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlack);
             c.SetBrush(clRed);
             c.Rectangle(2, 2, 7, 6);
         },
         clRed, Box(3, 3, 6, 5)},
        {"rectangle without pen is one pixel short",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlack, 1, TPenStyle::psClear);
             c.SetBrush(clRed);
             c.Rectangle(2, 2, 7, 6);
         },
         clRed, Box(2, 2, 6, 5)},
        {"horizontal line, end pixel excluded",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlue);
             c.Line(3, 4, 8, 4);
         },
         clBlue, Box(3, 4, 8, 5)},
        {"line drawn backwards",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlue);
             c.Line(8, 4, 3, 4);
         },
         clBlue, Box(4, 4, 9, 5)},
        {"diagonal line",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlue);
             c.Line(1, 1, 4, 4);
         },
         clBlue,
         {{1, 1}, {2, 2}, {3, 3}}},
        {"two-pixel line covers the row above",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlue, 2);
             c.Line(3, 4, 6, 4);
         },
         clBlue, Box(2, 3, 6, 5)},
        {"two-pixel vertical line",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlue, 2);
             c.Line(5, 1, 5, 4);
         },
         clBlue, Box(4, 0, 6, 4)},
        {"zero-length line paints nothing",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlue, 2);
             c.Line(5, 5, 5, 5);
         },
         clBlue,
         {}},
        {"clear pen paints nothing",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlue, 1, TPenStyle::psClear);
             c.Line(1, 1, 9, 1);
         },
         clBlue,
         {}},
        {"dotted: three on, three off, transparent gaps",
         [](TChartCanvas3D& c) {
             c.SetPen(clGray, 1, TPenStyle::psDot);
             c.SetBackMode(true);
             c.Line(0, 2, 14, 2);
         },
         clGray, Unite(Unite(Box(0, 2, 3, 3), Box(6, 2, 9, 3)), Box(12, 2, 14, 3))},
        {"dotted: opaque gaps take the background colour",
         [](TChartCanvas3D& c) {
             c.SetPen(clGray, 1, TPenStyle::psDot);
             c.SetBackMode(false);
             c.SetBackColor(clRed);
             c.Line(0, 2, 12, 2);
         },
         clRed, Unite(Box(3, 2, 6, 3), Box(9, 2, 12, 3))},
        {"dotted pattern runs on across LineTo, restarts at MoveTo",
         [](TChartCanvas3D& c) {
             c.SetPen(clGray, 1, TPenStyle::psDot);
             c.MoveTo(0, 1);
             c.LineTo(2, 1);
             c.LineTo(8, 1); // pixels 2..7: phase 2..7
             c.MoveTo(0, 3);
             c.LineTo(2, 3);
         },
         clGray, Unite(Unite(Box(0, 1, 3, 2), Box(6, 1, 8, 2)), Box(0, 3, 2, 4))},
        {"clipping keeps lines and fills inside",
         [](TChartCanvas3D& c) {
             c.ClipRectangle({2, 2, 6, 6});
             c.SetPen(clBlue, 2);
             c.Line(0, 3, 20, 3);
             c.SetBrush(clBlue);
             c.FillRect({0, 5, 20, 20});
             c.UnClipRectangle();
         },
         clBlue, Unite(Box(2, 2, 6, 4), Box(2, 5, 6, 6))},
        {"nested clipping intersects",
         [](TChartCanvas3D& c) {
             c.ClipRectangle({2, 2, 6, 6});
             c.ClipRectangle({4, 0, 20, 20});
             c.SetBrush(clBlue);
             c.FillRect({0, 0, 40, 30});
             c.UnClipRectangle();
         },
         clBlue, Box(4, 2, 6, 6)},
        {"far away segment costs nothing and paints nothing",
         [](TChartCanvas3D& c) {
             c.SetPen(clBlue, 2);
             c.Line(-30000, -30000, -20000, 32000);
         },
         clBlue,
         {}},
    };
    for (const Row& row : rows) {
        Canvas canvas;
        row.draw(canvas.c);
        EXPECT_EQ(canvas.PixelsOf(row.colour), row.expected) << row.name;
    }
}

// At a higher device pixel ratio the geometry stays in logical pixels: the logical span
// [l, r) covers the device pixels [round(l·ratio), round(r·ratio)), a pen is as wide as the
// ratio makes it, dots are 3 logical pixels on and 3 off, and a slanted line is rasterised
// between the device positions of its ends, not as a staircase of blocks.
TEST(ChartCanvas, ShapesAtAHigherRatioCoverTheirLogicalPixels) {
    struct Row {
        const char* name;
        double ratio;
        std::function<void(TChartCanvas3D&)> draw;
        TColor colour;
        Pixels expected; // device pixels
    };
    auto diagonal = [] {
        Pixels s;
        for (int k = 0; k < 6; ++k)
            s = Unite(s, Box(k, k, k + 2, k + 2));
        return s;
    }();
    const std::vector<Row> rows = {
        {"fill at 1.5 rounds halves away from zero", 1.5,
         [](TChartCanvas3D& c) {
             c.SetBrush(clRed);
             c.FillRect({1, 1, 3, 2});
         },
         clRed, Box(2, 2, 5, 3)},
        {"one-pixel pen at 2 is two device pixels", 2,
         [](TChartCanvas3D& c) {
             c.SetPen(clRed);
             c.Line(2, 3, 6, 3);
         },
         clRed, Box(4, 6, 12, 8)},
        {"two-pixel pen at 2 is four device pixels", 2,
         [](TChartCanvas3D& c) {
             c.SetPen(clRed, 2);
             c.Line(2, 3, 5, 3);
         },
         clRed, Box(2, 4, 10, 8)},
        {"dots at 2: six device pixels on, six off", 2,
         [](TChartCanvas3D& c) {
             c.SetPen(clRed, 1, TPenStyle::psDot);
             c.Line(0, 1, 12, 1);
         },
         clRed, Unite(Box(0, 2, 6, 4), Box(12, 2, 18, 4))},
        {"dots at 1.5 keep the logical pattern", 1.5,
         [](TChartCanvas3D& c) {
             c.SetPen(clRed, 1, TPenStyle::psDot);
             c.Line(0, 0, 12, 0);
         },
         clRed, Unite(Box(0, 0, 5, 2), Box(9, 0, 14, 2))},
        {"vertical dots at 2 go on across LineTo", 2,
         [](TChartCanvas3D& c) {
             c.SetPen(clRed, 1, TPenStyle::psDot);
             c.MoveTo(1, 0);
             c.LineTo(1, 2);
             c.LineTo(1, 8);
         },
         clRed, Unite(Box(2, 0, 4, 6), Box(2, 12, 4, 16))},
        {"slanted line at 2 steps one device pixel at a time", 2,
         [](TChartCanvas3D& c) {
             c.SetPen(clRed);
             c.Line(0, 0, 3, 3);
         },
         clRed, diagonal},
        {"rectangle outline at 2", 2,
         [](TChartCanvas3D& c) {
             c.SetPen(clRed);
             c.SetBrush(clWhite, TBrushStyle::bsClear);
             c.Rectangle(2, 2, 5, 5);
         },
         clRed,
         Unite(Unite(Box(4, 4, 10, 6), Box(4, 8, 10, 10)),
               Unite(Box(4, 4, 6, 10), Box(8, 4, 10, 10)))},
        {"clipping at 1.5 in logical pixels", 1.5,
         [](TChartCanvas3D& c) {
             c.ClipRectangle({1, 1, 3, 3});
             c.SetPen(clRed, 3);
             c.Line(0, 2, 10, 2);
         },
         clRed, Box(2, 2, 5, 5)},
    };
    for (const Row& row : rows) {
        Canvas canvas(row.ratio);
        ASSERT_EQ(canvas.c.Image().width(), int(40 * row.ratio + 0.5)) << row.name;
        row.draw(canvas.c);
        EXPECT_EQ(canvas.PixelsOf(row.colour), row.expected) << row.name;
    }
}

TEST(ChartCanvas, NotXorTwiceRestoresThePixels) {
    Canvas canvas;
    canvas.c.SetBrush(clAqua);
    canvas.c.FillRect({0, 0, 40, 30});
    const QImage before = canvas.c.Image().copy();
    canvas.c.SetPen(clAqua, 1, TPenStyle::psSolid, TPenMode::pmNotXor);
    canvas.c.SetBrush(clWhite, TBrushStyle::bsClear);
    canvas.c.Rectangle(3, 3, 20, 15);
    EXPECT_EQ(canvas.At(3, 3), clWhite); // not (aqua xor aqua) is white: the band shows white
    EXPECT_EQ(canvas.At(10, 10), clAqua);
    canvas.c.Rectangle(3, 3, 20, 15);
    EXPECT_EQ(canvas.c.Image(), before);
    // A wide inverting line inverts each pixel once.
    canvas.c.SetPen(clAqua, 3, TPenStyle::psSolid, TPenMode::pmNotXor);
    canvas.c.Line(5, 5, 12, 9);
    canvas.c.Line(5, 5, 12, 9);
    EXPECT_EQ(canvas.c.Image(), before);
}

TEST(ChartCanvas, TextIsMonochromeAndAligned) {
    TChartCanvas3D c;
    c.PrepareImage(120, 40);
    c.BeginDraw();
    c.FillSolid({0, 0, 120, 40}, clAqua);
    TChartFont font;
    font.Color = clNavy;
    c.AssignFont(font);
    const int w = c.TextWidth("-10,5");
    const int h = c.TextHeight("W");
    EXPECT_GT(w, 10);
    EXPECT_GE(h, 11);
    EXPECT_EQ(c.TextHeight("a\nb"), 2 * h);
    EXPECT_EQ(c.TextWidth("ab\nabcd"), c.TextWidth("abcd"));

    c.SetTextAlign(TTextAlignH::Right, TTextAlignV::Top);
    c.SetBackMode(true);
    c.TextOut(100, 5, "-10,5");
    c.SetTextAlign(TTextAlignH::Left, TTextAlignV::Top);
    c.SetBackMode(false);
    c.SetBackColor(clWhite);
    c.TextOut(2, 20, "W");
    c.EndDraw();
    const QImage& img = c.Image();
    int inkLeft = 1000, inkRight = -1, inkTop = 1000, inkBottom = -1;
    std::set<QRgb> colours;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 120; ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            colours.insert(p);
            if (p == 0x000080) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
        }
    // Only the font colour and the untouched background: no blended edge pixels.
    EXPECT_EQ(colours, (std::set<QRgb>{0x00FFFF, 0x000080}));
    EXPECT_LT(inkRight, 100);
    EXPECT_GE(inkLeft, 100 - w);
    EXPECT_GE(inkTop, 5);
    EXPECT_LT(inkBottom, 5 + h);
    // An opaque text cell is filled with the background colour.
    EXPECT_EQ(img.pixel(2, 20) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(2 + c.TextWidth("W") - 1, 20 + h - 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(2, 20 + h) & 0xFFFFFF, 0x00FFFFu);
}

TEST(ChartCanvas, GradientFromTopLeftPaintsLShapedBands) {
    struct Sample {
        int x, y;
        TColor colour;
    };
    struct Row {
        const char* name;
        TRect rect;
        TColor start, end;
        std::vector<Sample> samples;
    };
    // Band k holds the pixels whose larger offset from the corner is k; its colour index n is
    // 2k while rows and columns both grow, then k + the shorter side; each channel moves by
    // n/(W + H) of its way, rounded half away. Worked by hand: 30 × 12 black to white,
    // 255 n/42: n = 10 → 60.7, 22 → 133.6, 24 (k = 12) → 145.7, 41 → 248.9.
    const std::vector<Row> rows = {
        {"wider than high",
         {0, 0, 30, 12},
         clBlack,
         clWhite,
         {{0, 0, clBlack},
          {5, 3, FromRgb(61, 61, 61)},
          {11, 11, FromRgb(134, 134, 134)},
          {12, 0, FromRgb(146, 146, 146)},
          {29, 11, FromRgb(249, 249, 249)}}},
        // 10 × 28, blue to yellow, 255 n/38: n = 8 → 53.7, 29 (k = 19) → 194.6, 37 → 248.3.
        {"higher than wide",
         {2, 1, 12, 29},
         clBlue,
         clYellow,
         {{2, 1, clBlue},
          {6, 3, FromRgb(54, 54, 201)},
          {11, 20, FromRgb(195, 195, 60)},
          {11, 28, FromRgb(248, 248, 7)}}},
        // 20 × 20, white to aqua, red less 255 n/40: n = 10 → 63.75, 38 → 242.25.
        {"square",
         {5, 5, 25, 25},
         clWhite,
         clAqua,
         {{5, 5, clWhite},
          {10, 8, FromRgb(191, 255, 255)},
          {24, 24, FromRgb(13, 255, 255)},
          {24, 5, FromRgb(13, 255, 255)}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas canvas;
        canvas.c.FillGradient(row.rect, row.start, row.end, TGradientDirection::gdFromTopLeft);
        for (const Sample& p : row.samples)
            EXPECT_EQ(canvas.At(p.x, p.y), p.colour) << p.x << "," << p.y;
        // L-shaped bands: each pixel has the colour of its band's start on the top row or,
        // beyond the width, on the left column.
        const int W = row.rect.Width();
        std::string bad;
        for (int y = row.rect.Top; y < row.rect.Bottom; ++y)
            for (int x = row.rect.Left; x < row.rect.Right; ++x) {
                const int k = std::max(x - row.rect.Left, y - row.rect.Top);
                const TColor band = k < W ? canvas.At(row.rect.Left + k, row.rect.Top)
                                          : canvas.At(row.rect.Left, row.rect.Top + k);
                if (canvas.At(x, y) != band && bad.empty())
                    bad = std::to_string(x) + "," + std::to_string(y);
            }
        EXPECT_EQ(bad, "");
        EXPECT_EQ(canvas.At(row.rect.Left, row.rect.Bottom), kPaper);
        EXPECT_GT(canvas.c.GradientBrushCount(), 1);
    }
}

TEST(ChartCanvas, UniformGradientIsOneBrush) {
    Canvas canvas;
    canvas.c.FillGradient({0, 0, 40, 20}, clAqua, clAqua, TGradientDirection::gdFromTopLeft);
    EXPECT_EQ(canvas.c.GradientBrushCount(), 1);
    EXPECT_EQ(canvas.PixelsOf(clAqua), Box(0, 0, 40, 20));
    canvas.c.FillGradient({5, 5, 5, 9}, clRed, clBlue, TGradientDirection::gdFromTopLeft);
    EXPECT_TRUE(canvas.PixelsOf(clRed).empty()); // an empty rectangle paints nothing
}

TEST(ChartCanvas, OffscreenImageKeptUntilTheSizeChanges) {
    TChartCanvas3D c;
    EXPECT_TRUE(c.PrepareImage(50, 20));
    EXPECT_FALSE(c.PrepareImage(50, 20));
    EXPECT_EQ(c.Image().format(), QImage::Format_RGB32);
    EXPECT_TRUE(c.PrepareImage(51, 20));
    EXPECT_EQ(c.Image().size(), QSize(51, 20));
}

namespace {

__extension__ using Int128 = __int128;

struct Segment {
    long long x0, y0, x1, y1;
};

// The pixels of a w-wide line from s, end excluded, that fall within `box`, by the full
// Bresenham walk the canvas did before it clipped: every step, one w × w square per step
// (from w/2 left/above the centre pixel); `dotted`: three on, three off from the start.
Pixels FullWalk(const Segment& s, int w, const TRect& box, bool dotted = false) {
    Pixels p;
    const long long dx = std::llabs(s.x1 - s.x0), dy = std::llabs(s.y1 - s.y0);
    const long long n = std::max(dx, dy);
    const int sx = s.x1 > s.x0 ? 1 : -1, sy = s.y1 > s.y0 ? 1 : -1;
    long long x = s.x0, y = s.y0;
    long long err = dx >= dy ? 2 * dy - dx : 2 * dx - dy;
    for (long long k = 0; k < n; ++k) {
        for (long long yy = y - w / 2; yy < y - w / 2 + w; ++yy)
            for (long long xx = x - w / 2; xx < x - w / 2 + w; ++xx)
                if (xx >= box.Left && xx < box.Right && yy >= box.Top && yy < box.Bottom &&
                    (!dotted || k % 6 < 3))
                    p.insert({int(xx), int(yy)});
        if (dx >= dy) {
            if (err > 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        } else {
            if (err > 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
    return p;
}

// The same pixels for lines too long to walk, from what the walk draws: at every step along
// the major axis, the pixel across that lies nearest the exact line, a tie going to the one
// nearer the start. Only the steps near `box` are looked at.
Pixels NearestPixels(const Segment& s, int w, const TRect& box) {
    Pixels p;
    const long long dx = std::llabs(s.x1 - s.x0), dy = std::llabs(s.y1 - s.y0);
    const bool xMajor = dx >= dy;
    const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const long long from = xMajor ? s.x0 : s.y0, across0 = xMajor ? s.y0 : s.x0;
    const int along = (xMajor ? s.x1 > s.x0 : s.y1 > s.y0) ? 1 : -1;
    const int side = (xMajor ? s.y1 > s.y0 : s.x1 > s.x0) ? 1 : -1;
    const long long lo = (xMajor ? box.Left : box.Top) - w,
                    hi = (xMajor ? box.Right : box.Bottom) + w;
    for (long long c = lo; c <= hi; ++c) {
        const long long k = (c - from) * along;
        if (k < 0 || k >= major)
            continue;
        // The exact line lies minor·k / major across; the nearest pixel, ties down, is
        // ⌈(2·minor·k − major) / (2·major)⌉.
        const Int128 num = Int128(2) * minor * k - major, den = Int128(2) * major;
        const long long j = (long long)(num >= 0 ? (num + den - 1) / den : -((-num) / den));
        const long long x = xMajor ? c : across0 + side * j, y = xMajor ? across0 + side * j : c;
        for (long long yy = y - w / 2; yy < y - w / 2 + w; ++yy)
            for (long long xx = x - w / 2; xx < x - w / 2 + w; ++xx)
                if (xx >= box.Left && xx < box.Right && yy >= box.Top && yy < box.Bottom)
                    p.insert({int(xx), int(yy)});
    }
    return p;
}

} // namespace

TEST(ChartCanvas, ClippedLinesKeepTheUnclippedLinesPixels) {
    const TRect box{5, 4, 33, 25}; // the clip rectangle, far edges excluded
    std::vector<std::pair<std::string, Segment>> rows;
    // Every octant, both ends outside, and each way through the box.
    const int dirs[8][2] = {{37, 11},   {11, 37},   {-11, 37}, {-37, 11},
                            {-37, -11}, {-11, -37}, {11, -37}, {37, -11}};
    for (const auto& d : dirs)
        rows.push_back(
            {"octant " + std::to_string(d[0]) + "," + std::to_string(d[1]),
             {19 - d[0] * 13 / 10, 14 - d[1] * 13 / 10, 19 + d[0] * 17 / 10, 14 + d[1] * 17 / 10}});
    const std::vector<std::pair<std::string, Segment>> more = {
        {"starts inside", {20, 10, 300, 97}},
        {"ends inside", {-300, 200, 11, 12}},
        {"diagonal", {-20, -21, 60, 59}},
        {"one row across, entering the first row", {-10, 3, 41, 4}},
        {"one row across, leaving the last row", {-10, 24, 40, 25}},
        {"grazes the top-right corner", {20, -9, 45, 16}},
        {"on the first row", {-50, 4, 50, 4}},
        {"just above the first row", {-50, 3, 50, 3}},
        {"on the row below the last", {-50, 25, 50, 25}},
        {"on the column right of the last", {33, -50, 33, 50}},
        {"on the column left of the first", {4, -50, 4, 50}},
        {"misses the box", {-40, 40, 40, 80}},
        {"shallow, ends 2·10⁹ out", {-2000000000, 3, 2000000000, 20}},
        {"steep, ends 2·10⁹ out", {7, -2000000000, 25, 2000000000}},
        {"steep, from 2·10⁹ below", {12, 2000000000, 17, 6}},
        {"nearly diagonal, far", {-1999999999, -2000000000, 2000000000, 1999999990}},
        {"shallow upwards, far left", {-2000000000, 1999999, 30, 5}},
        {"ends 2⁴⁰ out", {-(1LL << 40), (1LL << 40) / 3, 1LL << 40, -(1LL << 40) / 3 + 27}},
    };
    rows.insert(rows.end(), more.begin(), more.end());
    for (const auto& [name, s] : rows)
        for (const int w : {1, 2}) {
            Canvas canvas;
            canvas.c.ClipRectangle(box);
            canvas.c.SetPen(clBlue, w);
            canvas.c.Line(s.x0, s.y0, s.x1, s.y1);
            const long long n = std::max(std::llabs(s.x1 - s.x0), std::llabs(s.y1 - s.y0));
            const Pixels expected = NearestPixels(s, w, box);
            if (n < 100000) { // short enough to walk: the two references agree
                ASSERT_EQ(FullWalk(s, w, box), expected) << name << " w" << w;
            }
            EXPECT_EQ(canvas.PixelsOf(clBlue), expected) << name << " w" << w;
        }
    // A dotted line entering from far outside keeps the dots of its full walk.
    Canvas canvas;
    canvas.c.ClipRectangle(box);
    canvas.c.SetPen(clGray, 1, TPenStyle::psDot);
    canvas.c.Line(-1001, 7, 1000, 20);
    EXPECT_EQ(canvas.PixelsOf(clGray), FullWalk({-1001, 7, 1000, 20}, 1, box, true));
}
