#include "GraphChart.h"

#include "TChart.h"
#include "TLineSeries.h"

#include <cmath>
#include <string>

namespace {

constexpr char TitleFont[] = "MS Sans Serif";
constexpr int TitleFontHeight = 20; // pixels at 120 pixels per inch
constexpr int RussianCharset = 204;

} // namespace

TLineSeries* SetUpGraphChart(TChart& chart, double scale) {
    chart.Gradient.Visible = true;
    chart.Gradient.Direction = TGradientDirection::gdFromTopLeft;
    chart.Gradient.StartColor = clAqua;
    chart.Gradient.EndColor = clAqua;
    chart.Color = clAqua;
    chart.SetBackColor(clAqua);
    // The panel's default frame would draw a white and a grey line around the window's edge.
    chart.BevelOuter = TPanelBevel::bvNone;
    chart.BevelInner = TPanelBevel::bvNone;
    chart.BevelWidth = 0;
    chart.BorderWidth = 0;
    chart.MarginTop = 1;
    chart.MarginBottom = 1;
    chart.MarginLeft = 1;
    chart.MarginRight = 1;
    chart.LegendVisible = false;
    chart.View3D = false;
    chart.View3DWalls = false;
    chart.Chart3DPercent = 20;

    chart.BackWall.Color = clAqua;
    chart.BackWall.Brush.Color = clWhite;
    chart.BackWall.Brush.Style = TBrushStyle::bsClear;
    chart.BackWall.Dark3D = false;
    chart.BottomWall.Color = clAqua;
    chart.BottomWall.Brush.Color = clWhite;
    chart.LeftWall.Color = clAqua;

    TChartTitle& title = chart.Title;
    title.Text = {std::string()};
    title.Alignment = TAlignment::taRightJustify;
    title.Brush.Color = clAqua;
    title.Color = clAqua;
    title.Font.Name = TitleFont;
    title.Font.Height = -int(std::lround(TitleFontHeight * scale));
    title.Font.Underline = true;
    title.Font.Color = clNavy;
    title.Font.Charset = RussianCharset;
    title.Frame.Color = 16744448; // red 0, green 128, blue 255
    title.Frame.Style = TPenStyle::psDot;
    title.Frame.Width = 3;

    auto* series = chart.AddSeries<TLineSeries>();
    series->Name = "Series1";
    series->Title = "f ( x ) ";
    series->SetSeriesColor(clBlue);
    series->SetVertAxis(TVertAxis::aBothVertAxis);
    series->LinePen.Width = 2;
    series->PointerVisible = false;
    series->MarksVisible = false;
    // The value lists are created with their names "X" and "Y".
    series->XValues().SetMultiplier(1);
    series->XValues().Order = TChartListOrder::loAscending;
    series->XValues().DateTime = false;
    series->YValues().SetMultiplier(1);
    series->YValues().Order = TChartListOrder::loNone;
    series->YValues().DateTime = false;
    return series;
}
