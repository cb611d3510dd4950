#pragma once
// A chart configured as the graph window configures its chart, for the chart's tests.

#include "TChart.h"
#include "TLineSeries.h"

inline void ConfigureLikeGraphWindow(TChart& c) {
    c.MarginLeft = c.MarginTop = c.MarginRight = c.MarginBottom = 1;
    c.Gradient.Visible = true;
    c.Gradient.Direction = TGradientDirection::gdFromTopLeft;
    c.Gradient.StartColor = clAqua;
    c.Gradient.EndColor = clAqua;
    c.Color = clAqua;
    c.BevelOuter = TPanelBevel::bvNone;
    c.BevelWidth = 0;
    c.BorderWidth = 0;
    c.View3D = false;
    c.View3DWalls = false;
    c.Chart3DPercent = 20;
    c.LegendVisible = false;
    c.SetBackColor(clAqua);
    c.BackWall.Brush.Color = clWhite;
    c.BackWall.Brush.Style = TBrushStyle::bsClear;
    c.BackWall.Dark3D = false;
    c.BottomWall.Color = clAqua;
    c.LeftWall.Color = clAqua;
    c.Title.Text = {""};
    c.Title.Alignment = TAlignment::taRightJustify;
    c.Title.Font.Name = "MS Sans Serif";
    c.Title.Font.Height = -20;
    c.Title.Font.Color = clNavy;
    c.Title.Font.Underline = true;
    c.Title.Font.Charset = 204;
    c.Title.Color = clAqua;
    c.Title.Brush = {clAqua, TBrushStyle::bsSolid};
    c.Title.Frame.Color = 0x00FF8000;
    c.Title.Frame.Style = TPenStyle::psDot;
    c.Title.Frame.Width = 3;
}

inline TLineSeries* AddGraphSeries(TChart& c) {
    auto* s = c.AddSeries<TLineSeries>();
    s->SetSeriesColor(clBlue);
    s->LinePen.Width = 2;
    s->SetVertAxis(TVertAxis::aBothVertAxis);
    return s;
}
