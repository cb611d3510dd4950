#pragma once
// The chart's drawing surface: the off-screen image and the toolkit-style drawing operations
// the chart needs (fills, rectangles, lines, text, pens, brushes, fonts, clipping). Shapes are
// rasterised here pixel by pixel, so every pixel is exactly the one the chart asks for (no
// antialiasing, end pixels excluded, exact dot patterns); text goes through QPainter with
// antialiasing switched off. In a two-dimensional chart the 3-D calls map (x, y, z) to (x, y).

#include "ChartElements.h"
#include "ChartTools.h"
#include "ChartTypes.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class TTextAlignH { Left, Right, Center };
enum class TTextAlignV { Top, Bottom, Baseline };

class TChartCanvas3D {
public:
    TChartCanvas3D();
    ~TChartCanvas3D();
    TChartCanvas3D(const TChartCanvas3D&) = delete;
    TChartCanvas3D& operator=(const TChartCanvas3D&) = delete;

    // --- the off-screen image ------------------------------------------------------------
    // Makes the image width × height logical pixels (Format_RGB32) rasterised at `ratio`
    // device pixels per logical pixel, creating it on first use and recreating it when the
    // size or the ratio changed; returns true when it was (re)created. Every drawing call
    // takes logical pixels; at ratio 1 they are the image's pixels.
    bool PrepareImage(int width, int height, double ratio = 1.0);
    const QImage& Image() const { return m_image; }
    int LogicalWidth() const { return m_logicalWidth; }
    int LogicalHeight() const { return m_logicalHeight; }
    double DevicePixelRatio() const { return m_ratio; }
    // Fonts sized in points take this many logical pixels per inch (96 unless set).
    void SetLogicalDpi(int dpi);
    int LogicalDpi() const { return m_dpi; }
    // Drawing happens between BeginDraw and EndDraw; EndDraw leaves the image complete.
    void BeginDraw();
    void EndDraw();
    bool IsDrawing() const { return m_drawing; }

    // --- pen -----------------------------------------------------------------------------
    void SetPen(TColor colour, int width = 1, TPenStyle style = TPenStyle::psSolid,
                TPenMode mode = TPenMode::pmCopy);
    // The element's pen; a pen that is not Visible becomes psClear.
    void AssignPen(const TChartPen& pen);
    void SetPenColor(TColor colour) { m_pen.Color = colour; }
    void SetPenWidth(int width) { m_pen.Width = width < 1 ? 1 : width; }
    void SetPenStyle(TPenStyle style) { m_pen.Style = style; }
    void SetPenMode(TPenMode mode) { m_pen.Mode = mode; }
    void SetSmallDots(bool on) { m_pen.SmallDots = on; }
    const TChartPen& Pen() const { return m_pen; }

    // --- brush and background ------------------------------------------------------------
    void SetBrush(TColor colour, TBrushStyle style = TBrushStyle::bsSolid);
    void SetBrushColor(TColor colour) { m_brush.Color = colour; }
    void SetBrushStyle(TBrushStyle style) { m_brush.Style = style; }
    const TChartBrush& Brush() const { return m_brush; }
    // Text cells and the gaps of dotted lines and hatch patterns are filled with BackColor
    // when the background is opaque and left alone when it is transparent.
    void SetBackMode(bool transparent) { m_transparent = transparent; }
    bool BackTransparent() const { return m_transparent; }
    void SetBackColor(TColor colour) { m_backColor = colour; }
    TColor BackColor() const { return m_backColor; }

    // --- font and text -------------------------------------------------------------------
    void AssignFont(const TChartFont& font);
    const TChartFont& Font() const { return m_font; }
    void SetFontColor(TColor colour) { m_font.Color = colour; }
    void SetFontSize(int points);
    // Width of the widest line and height (lines × cell height) of a code page 1251 text.
    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);
    // Where TextOut's point lies on the text: its left, right or centre; top, bottom or
    // baseline.
    void SetTextAlign(TTextAlignH horizontal, TTextAlignV vertical = TTextAlignV::Top);
    TTextAlignH TextAlignH() const { return m_alignH; }
    TTextAlignV TextAlignV() const { return m_alignV; }
    void TextOut(int x, int y, std::string_view text);
    // Whether drawing within the logical rows [top, bottom) or columns [left, right) can
    // change a pixel of the image within the clip (always, while nothing is being drawn into
    // an image): text that misses it can be left out, unformatted.
    bool RowsReachImage(std::int64_t top, std::int64_t bottom) const;
    bool ColumnsReachImage(std::int64_t left, std::int64_t right) const;

    // --- shapes --------------------------------------------------------------------------
    // Fills rect with the brush (a pattern copy: no outline; a clear brush paints nothing).
    void FillRect(const TRect& rect);
    // Fills rect with one colour, whatever the brush.
    void FillSolid(const TRect& rect, TColor colour);
    // Outline with the pen on the columns left and right − 1 and the rows top and bottom − 1,
    // inside filled with the brush; with a clear pen the fill covers left … right − 2 and
    // top … bottom − 2, as the toolkit's rectangle does.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // Line ends may lie far outside the image: each line is clipped before it is rasterised,
    // so it costs what is visible, and its visible pixels are exactly the unclipped line's.
    // Coordinates beyond ±kFarthestPixel are taken as ±kFarthestPixel.
    static constexpr std::int64_t kFarthestPixel = std::int64_t(1) << 60;
    void MoveTo(std::int64_t x, std::int64_t y);
    // A line from the pen position to (x, y), the end pixel excluded; (x, y) becomes the
    // pen position.
    void LineTo(std::int64_t x, std::int64_t y);
    void Line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        MoveTo(x0, y0);
        LineTo(x1, y1);
    }
    void MoveTo3D(int x, int y, int /*z*/) { MoveTo(x, y); }
    void LineTo3D(int x, int y, int /*z*/) { LineTo(x, y); }
    std::int64_t PenX() const { return m_penX; }
    std::int64_t PenY() const { return m_penY; }

    // The chart's gradient: fills rect from startColour to endColour in `direction`. A new
    // solid brush is made only when the band colour changes.
    void FillGradient(const TRect& rect, TColor startColour, TColor endColour,
                      TGradientDirection direction);
    // How many brushes the last FillGradient made (1 for a uniform gradient).
    int GradientBrushCount() const { return m_gradientBrushes; }

    // --- clipping ------------------------------------------------------------------------
    // Restricts drawing to rect (far edges excluded), intersected with any clipping in force.
    void ClipRectangle(const TRect& rect);
    void UnClipRectangle();
    bool IsClipped() const { return m_clipped; }
    const TRect& ClipRect() const { return m_clip; }

    // --- a record of the calls, for checks ----------------------------------------------
    // When set, every drawing call appends a line such as "LineTo 10,20 pen 00FF0000 w2".
    void SetCallLog(std::vector<std::string>* log) { m_log = log; }

private:
    struct ClipBox {
        int left, top, right, bottom; // device pixels; right and bottom exclusive
    };
    const ClipBox& EffectiveClip() const { return m_box; }
    void UpdateClipBox();
    // The device pixel of a logical position: rectangles [l, r) become [Dev(l), Dev(r)).
    int Dev(int logical) const;
    void PutPixel(int x, int y, std::uint32_t argb);
    // FillBox takes logical pixels, FillDeviceBox the image's.
    void FillBox(int left, int top, int right, int bottom, std::uint32_t argb);
    void FillDeviceBox(int left, int top, int right, int bottom, std::uint32_t argb);
    // Dev for a position that may lie far outside the image; the result fits an int.
    int DevFar(std::int64_t logical) const;
    // Fills (or, with the not-xor pen, inverts) the device pixels of a box, within the clip.
    void PaintDeviceBox(int left, int top, int right, int bottom, std::uint32_t argb);
    // A horizontal or vertical line at a ratio other than 1: each run of the pen's dash
    // pattern covers the device pixels of its logical pixels, so that the line lies exactly
    // on the pixels of the fills beside it.
    void StrokeStraight(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    void FillPattern(int left, int top, int right, int bottom);
    // A line of the pen in logical pixels, at the image's resolution.
    void Stroke(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    // Bresenham in device pixels with a pen square `width` wide, `offset` left/above of each
    // centre pixel; only the visible steps are walked.
    void RasterLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int width,
                    int offset);
    void EnsurePainter();
    void ApplyPainterClip();
    const QFontMetrics& Metrics();
    void Log(std::string line);

    QImage m_image;
    int m_logicalWidth = 0;
    int m_logicalHeight = 0;
    double m_ratio = 1.0;
    int m_dpi = 96;
    std::uint32_t* m_bits = nullptr;
    int m_stride = 0; // pixels per row
    bool m_drawing = false;
    QPainter m_painter;

    TChartPen m_pen;
    TChartBrush m_brush;
    bool m_transparent = true;
    TColor m_backColor = clWhite;
    TChartFont m_font;
    // The fonts met so far (a chart uses three or four): a QFont and its metrics each, so that
    // selecting a font again costs a comparison, not a font lookup.
    struct FontEntry {
        TChartFont key;
        QFont font;
        QFontMetrics metrics;
    };
    std::vector<FontEntry> m_fonts;
    std::size_t m_fontIndex = 0;
    bool m_painterFontStale = true;
    TTextAlignH m_alignH = TTextAlignH::Left;
    TTextAlignV m_alignV = TTextAlignV::Top;

    std::int64_t m_penX = 0;
    std::int64_t m_penY = 0;
    int m_dashPhase = 0; // pixels of the dash pattern used since the last MoveTo, modulo 24

    bool m_clipped = false;
    TRect m_clip;
    ClipBox m_box{0, 0, 0, 0}; // the image, within the clip rectangle when clipped
    int m_gradientBrushes = 0;
    std::vector<std::uint64_t> m_wideXorPixels;
    std::vector<std::string>* m_log = nullptr;
};
