#pragma once
// Pens, brushes and fonts of the chart's elements, with the defaults of each kind. They hold
// settings only; the canvas turns them into drawing (TChartCanvas3D::AssignPen and friends).

#include "ChartTypes.h"

#include <string>

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum class TPenMode { pmCopy, pmNotXor };
enum class TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// The toolkit pen plus Visible and SmallDots.
struct TChartPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
    bool Visible = true;
    bool SmallDots = false; // one pixel on, one off, instead of the style's pattern
};

struct TChartHiddenPen : TChartPen { // title frame, minor grid
    TChartHiddenPen() { Visible = false; }
};
struct TDottedGrayPen : TChartPen { // axis grid
    TDottedGrayPen() {
        Color = clGray;
        Style = TPenStyle::psDot;
    }
};
struct TDarkGrayPen : TChartPen { // ticks
    TDarkGrayPen() { Color = clGray; }
};
struct TChartAxisPen : TChartPen { // axis line
    TChartAxisPen() { Width = 2; }
};
struct TChartArrowPen : TChartPen { // mark arrows
    TChartArrowPen() { Color = clWhite; }
};

struct TChartBrush {
    TColor Color = clChartDefault;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// A font as the elements describe it. Height < 0 is a character height in pixels (the
// toolkit's negative height); otherwise Size in points applies, at the screen's logical
// pixels per inch.
struct TChartFont {
    std::string Name = "Arial";
    int Size = 8;
    int Height = 0;
    TColor Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int Charset = 1; // DEFAULT_CHARSET; 204 is RUSSIAN_CHARSET. Qt fonts are Unicode: kept only.

    // The character height in logical pixels that this font asks for on a screen of `dpi`
    // logical pixels per inch.
    int PixelSize(int dpi = 96) const {
        return Height < 0 ? -Height : Height > 0 ? Height : MulDiv(Size, dpi, 72);
    }
    friend bool operator==(const TChartFont&, const TChartFont&) = default;
};
