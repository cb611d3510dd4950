// The chart's canvas: exact pixels of fills, outlines, lines of each width and style, pen
// modes, clipping, text and the background gradient.

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
    TColor At(int x, int y) {
        const QRgb p = c.Image().pixel(x, y);
        return FromRgb(qRed(p), qGreen(p), qBlue(p));
    }
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
    struct Row {
        const char* name;
        TRect rect;
        TColor start, end;
    };
    const std::vector<Row> rows = {
        {"wider than high", {0, 0, 30, 12}, clBlack, clWhite},
        {"higher than wide", {2, 1, 12, 29}, clBlue, clYellow},
        {"square", {5, 5, 25, 25}, clWhite, clAqua},
    };
    for (const Row& row : rows) {
        Canvas canvas;
        canvas.c.FillGradient(row.rect, row.start, row.end, TGradientDirection::gdFromTopLeft);
        const int W = row.rect.Width(), H = row.rect.Height();
        // Band k holds the pixels whose larger offset from the corner is k; its colour index
        // is 2k while rows and columns both grow, then k + the shorter side.
        auto expected = [&](int k) {
            const int n = k < std::min(W, H) ? 2 * k : k + std::min(W, H);
            return FromRgb(
                RedOf(row.start) + MulDiv(n, RedOf(row.end) - RedOf(row.start), W + H),
                GreenOf(row.start) + MulDiv(n, GreenOf(row.end) - GreenOf(row.start), W + H),
                BlueOf(row.start) + MulDiv(n, BlueOf(row.end) - BlueOf(row.start), W + H));
        };
        std::string bad;
        for (int y = row.rect.Top; y < row.rect.Bottom; ++y)
            for (int x = row.rect.Left; x < std::min(row.rect.Right, 40); ++x) {
                const int k = std::max(x - row.rect.Left, y - row.rect.Top);
                if (canvas.At(x, y) != expected(k) && bad.empty())
                    bad = std::to_string(x) + "," + std::to_string(y);
            }
        EXPECT_EQ(bad, "") << row.name;
        EXPECT_EQ(canvas.At(row.rect.Left, row.rect.Top), row.start) << row.name;
        const TColor last = canvas.At(row.rect.Left + W - 1, row.rect.Top + H - 1);
        EXPECT_LE(std::abs(RedOf(last) - RedOf(row.end)), 256 / std::max(W, H) + 1) << row.name;
        EXPECT_LE(std::abs(BlueOf(last) - BlueOf(row.end)), 256 / std::max(W, H) + 1) << row.name;
        EXPECT_EQ(canvas.At(row.rect.Left, row.rect.Bottom), kPaper) << row.name;
        EXPECT_GT(canvas.c.GradientBrushCount(), 1) << row.name;
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
