#pragma once
// The chart's titles, walls and background gradient: settings with their defaults.

#include "ChartTools.h"

#include <string>
#include <vector>

enum class TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft
};

struct TChartGradient {
    bool Visible = false;
    TGradientDirection Direction = TGradientDirection::gdTopBottom;
    TColor StartColor = clWhite;
    TColor EndColor = clYellow;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The chart's Title (drawn on top) and Foot (at the bottom).
struct TChartTitle {
    TChartTitle() {
        Font.Color = clBlue;
        Frame.Visible = false;
    }
    bool Visible = true;
    std::vector<std::string> Text; // lines, code page 1251
    TAlignment Alignment = TAlignment::taCenter;
    TChartFont Font;
    TColor Color = clChartDefault;
    TChartBrush Brush;
    TChartPen Frame; // hidden unless switched on
    bool AdjustFrame = true;
    // The rectangle the title was last drawn in (valid until the next paint).
    TRect TitleRect;
};

struct TChartWall {
    TColor Color = clChartDefault;
    TChartBrush Brush;
    TChartPen Pen;
    bool Dark3D = true;
    int Size = 0;
};
