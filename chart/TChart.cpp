#include "TChart.h"

#include "TChartAxis.h"
#include "TChartSeries.h"

#include <QFont>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <exception>

namespace {

// The chart's fonts are named "Arial"; the metric-compatible Liberation Sans stands in for it.
void RegisterFontSubstitutes() {
    static const bool done = [] {
        if (QFont::substitutes(QStringLiteral("Arial")).isEmpty())
            QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    (void)done;
}

} // namespace

TChart::TChart(QWidget* parent) : QWidget(parent) {
    RegisterFontSubstitutes();
    // The whole client area is painted from the off-screen image: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);

    m_axes.push_back(std::make_unique<TChartAxis>(this, true, false));      // bottom
    m_axes.push_back(std::make_unique<TChartAxis>(this, true, true));       // top
    m_axes.push_back(std::make_unique<TChartAxis>(this, false, false));     // left
    m_axes.push_back(std::make_unique<TChartAxis>(this, false, true));      // right
    m_axes.push_back(std::make_unique<TChartAxis>(this, true, true, true)); // depth
    for (const auto& a : m_axes)
        m_axisList.push_back(a.get());

    BackWall.Brush.Style = TBrushStyle::bsClear;
    LeftWall.Color = 0x0080FFFF;
    BottomWall.Color = clWhite;
    m_autoRepaint = true; // construction is over: changes repaint from now on
}

TChart::~TChart() {
    m_destroying = true;
    m_series.clear(); // series first: they may still ask this chart for its axes
}

TChartSeries* TChart::AddSeries(std::unique_ptr<TChartSeries> series) {
    TChartSeries* s = series.get();
    s->SetParentChart(this);
    m_series.push_back(std::move(series));
    Invalidate();
    return s;
}

void TChart::Invalidate() {
    if (!m_autoRepaint || m_destroying)
        return;
    m_imageOutOfDate = true;
    update();
}

void TChart::paintEvent(QPaintEvent*) {
    try {
        PaintChart(*this);
    } catch (const std::exception&) {
        // Painting reports nothing; a failing event handler leaves the last image shown.
        m_canvas.EndDraw();
    }
}

void TChart::BringImageUpToDate() {
    const QImage& image = m_canvas.Image();
    if (m_imageOutOfDate || image.isNull() || m_canvas.LogicalWidth() != width() ||
        m_canvas.LogicalHeight() != height() || m_canvas.DevicePixelRatio() != m_paintRatio)
        PaintImage();
}

void TChart::PaintChart(QPaintDevice& target) {
    m_paintRatio = target.devicePixelRatioF();
    BringImageUpToDate();
    QPainter painter(&target);
    // During a zoom drag the window shows a copy of the image with the rubber band on it.
    painter.drawImage(0, 0, m_zoom.presentedImage());
    ++m_copies;
    m_imageOutOfDate = false;
}

const QImage& TChart::CurrentImage() {
    m_paintRatio = devicePixelRatioF();
    BringImageUpToDate();
    m_imageOutOfDate = false;
    return m_canvas.Image();
}

void TChart::RecalcPlotSize() {
    const TRect panel = PanelRect();
    TRect& r = m_plotRect;
    if (r.Left < panel.Left)
        r.Left = panel.Left;
    if (r.Top < panel.Top)
        r.Top = panel.Top;
    if (r.Right < r.Left)
        r.Right = r.Left + 1;
    else if (r.Right == r.Left)
        r.Right = r.Left + std::max(width(), 1); // a control of no width still gets Right > Left
    if (r.Bottom < r.Top)
        r.Bottom = r.Top + 1;
    else if (r.Bottom == r.Top)
        r.Bottom = r.Top + std::max(height(), 1);
    m_plotWidth = r.Right - r.Left;
    m_plotHeight = r.Bottom - r.Top;
    m_plotCenterX = (r.Left + r.Right) / 2;
    m_plotCenterY = (r.Top + r.Bottom) / 2;
}

void TChart::PaintImage() {
    const int w = width(), h = height();
    m_canvas.PrepareImage(w, h, m_paintRatio);
    // Fonts in points follow the screen's density, as the window's own fonts do.
    m_canvas.SetLogicalDpi(logicalDpiY());
    m_canvas.BeginDraw();
    struct EndOnExit { // the canvas leaves the image even when an event handler throws
        TChartCanvas3D& canvas;
        ~EndOnExit() { canvas.EndDraw(); }
    } endOnExit{m_canvas};

    const TRect panel = PanelRect();
    m_plotRect.Left = panel.Left + BorderWidth + MulDiv(MarginLeft, w, 100);
    m_plotRect.Top = panel.Top + BorderWidth + MulDiv(MarginTop, h, 100);
    m_plotRect.Right = panel.Right - BorderWidth - MulDiv(MarginRight, w, 100);
    m_plotRect.Bottom = panel.Bottom - BorderWidth - MulDiv(MarginBottom, h, 100);
    RecalcPlotSize();

    FillPanel(panel);
    DrawPanelBevels(panel);

    if (Title.Visible)
        DrawTitleBlock(Title, true);
    if (Foot.Visible)
        DrawTitleBlock(Foot, false);

    PlaceAxes(*this, AxesList());
    WidenForSeriesMargins(AxesList());

    DrawBackWall();

    if (OnBeforeDrawAxes)
        OnBeforeDrawAxes(this);
    for (TChartAxis* axis : m_axisList) {
        if (axis->IsDepthAxis() && !View3D)
            continue;
        if (axis->IsAxisShown())
            axis->DrawAxis();
    }

    if (OnBeforeDrawSeries)
        OnBeforeDrawSeries(this);
    for (const auto& series : m_series)
        if (series->Active())
            series->DrawSeriesOnChart();

    // A zoom drag's rubber band is not part of this image: ChartZoom draws it on the copy that
    // the window is shown, so moving the band never needs a full paint.

    ResetCanvasToNeutral();
    DescribeForAccessibility();
    if (OnAfterDraw)
        OnAfterDraw(this);
    ++m_fullPaints;
}

void TChart::SetAccessibleSubject(const QString& subject) {
    m_accessibleSubject = subject;
    if (accessibleDescription() != subject)
        setAccessibleDescription(subject);
}

void TChart::DescribeForAccessibility() {
    const bool anyPoints = std::any_of(m_series.begin(), m_series.end(),
                                       [](const auto& s) { return s->Active() && s->Count() > 0; });
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    QString text = m_accessibleSubject;
    if (!text.isEmpty())
        text += QStringLiteral(". ");
    if (anyPoints) {
        const TChartAxis& x = *BottomAxis();
        const TChartAxis& y = *LeftAxis();
        text += QStringLiteral("Ось X: от %1 до %2; ось Y: от %3 до %4.")
                    .arg(number(x.ActualMinimum), number(x.ActualMaximum), number(y.ActualMinimum),
                         number(y.ActualMaximum));
    } else {
        text += QStringLiteral("Точек нет.");
    }
    // Setting the same text again would only send screen readers a needless change event.
    if (accessibleDescription() != text)
        setAccessibleDescription(text);
}

void TChart::ResetCanvasToNeutral() {
    m_canvas.UnClipRectangle();
    m_canvas.SetPen(clBlack, 1, TPenStyle::psSolid);
    m_canvas.SetBrush(clWhite, TBrushStyle::bsSolid);
    m_canvas.SetFontColor(clBlack);
    m_canvas.SetFontSize(10);
    m_canvas.SetBackColor(clWhite);
    m_canvas.SetBackMode(true);
}

void TChart::FillPanel(const TRect& rect) {
    if (Gradient.Visible) {
        m_canvas.FillGradient(rect, Gradient.StartColor, Gradient.EndColor, Gradient.Direction);
    } else {
        m_canvas.SetBrush(Color, TBrushStyle::bsSolid);
        m_canvas.FillRect(rect);
    }
}

// The toolkit panel's frame: outer bevel, a border in the panel colour, inner bevel; each
// bevel is BevelWidth one-pixel rectangles, light on the top and left of a raised one.
void TChart::DrawPanelBevels(const TRect& rect) {
    TRect r = rect;
    auto bevel = [&](TPanelBevel kind) {
        if (kind == TPanelBevel::bvNone)
            return;
        const TColor light = kind == TPanelBevel::bvRaised ? clWhite : clGray;
        const TColor dark = kind == TPanelBevel::bvRaised ? clGray : clWhite;
        for (int k = 0; k < BevelWidth; ++k) {
            m_canvas.SetPen(light, 1, TPenStyle::psSolid, TPenMode::pmCopy);
            m_canvas.MoveTo(r.Left, r.Bottom - 1);
            m_canvas.LineTo(r.Left, r.Top);
            m_canvas.LineTo(r.Right - 1, r.Top);
            m_canvas.SetPen(dark, 1, TPenStyle::psSolid, TPenMode::pmCopy);
            m_canvas.LineTo(r.Right - 1, r.Bottom - 1);
            m_canvas.LineTo(r.Left - 1, r.Bottom - 1);
            r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        }
    };
    m_canvas.SetBrush(Color, TBrushStyle::bsClear);
    bevel(BevelOuter);
    for (int k = 0; k < BorderWidth; ++k) {
        m_canvas.SetPen(Color, 1, TPenStyle::psSolid, TPenMode::pmCopy);
        m_canvas.Rectangle(r);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    bevel(BevelInner);
}

void TChart::DrawTitleBlock(TChartTitle& title, bool onTop) {
    const int n = int(title.Text.size());
    const bool frameCounts = title.Frame.Visible && title.Frame.Color != clChartDefault;
    if (n == 0 && !frameCounts) {
        title.TitleRect = {};
        return; // nothing to show and no room taken
    }
    m_canvas.AssignFont(title.Font);
    const int h = m_canvas.TextHeight("W");

    // Brush: the title's colour fills a solid block; a patterned brush lies on it.
    if (IsPlainColor(title.Color)) {
        if (title.Brush.Style == TBrushStyle::bsSolid) {
            m_canvas.SetBrush(title.Color, TBrushStyle::bsSolid);
        } else {
            m_canvas.SetBrush(title.Brush.Color, title.Brush.Style);
            m_canvas.SetBackMode(false);
            m_canvas.SetBackColor(title.Color);
        }
    } else if (title.Brush.Style != TBrushStyle::bsSolid) {
        m_canvas.SetBrush(title.Brush.Color, title.Brush.Style);
        m_canvas.SetBackMode(true);
    } else if (title.Brush.Color == clChartDefault) {
        m_canvas.SetBrush(clWhite, TBrushStyle::bsClear);
    } else {
        // A solid brush of its own colour with no title colour: the brush colour fills it.
        m_canvas.SetBrush(title.Brush.Color, TBrushStyle::bsSolid);
    }

    const int fw = frameCounts ? title.Frame.Width : 0;
    if (frameCounts)
        m_canvas.AssignPen(title.Frame);
    else
        m_canvas.SetPenStyle(TPenStyle::psClear);

    TRect r;
    r.Left = m_plotRect.Left + fw;
    r.Right = m_plotRect.Right - fw;
    if (onTop) {
        r.Top = m_plotRect.Top + fw;
        r.Bottom = r.Top + n * h;
    } else {
        r.Bottom = m_plotRect.Bottom - fw;
        r.Top = r.Bottom - n * h;
    }
    TRect drawn{r.Left - fw, r.Top - fw, r.Right + fw, r.Bottom + fw};

    if (frameCounts || m_canvas.Brush().Style != TBrushStyle::bsClear) {
        if (title.AdjustFrame) {
            int widest = 0;
            for (const std::string& line : title.Text)
                widest = std::max(widest, m_canvas.TextWidth(line));
            const int tw = widest + m_canvas.TextWidth("W");
            switch (title.Alignment) {
            case TAlignment::taLeftJustify:
                drawn.Right = drawn.Left + tw;
                break;
            case TAlignment::taRightJustify:
                drawn.Left = drawn.Right - tw;
                break;
            case TAlignment::taCenter: {
                const int centre = (drawn.Left + drawn.Right) / 2;
                drawn.Left = centre - tw / 2;
                drawn.Right = centre + tw / 2;
                break;
            }
            }
        }
        m_canvas.Rectangle(drawn);
    }
    title.TitleRect = drawn;

    m_canvas.SetBackMode(true);
    m_canvas.SetTextAlign(TTextAlignH::Left, TTextAlignV::Top);
    const int w = m_canvas.TextWidth("W");
    for (int k = 0; k < n; ++k) {
        const std::string& line =
            onTop ? title.Text[std::size_t(k)] : title.Text[std::size_t(n - 1 - k)];
        const int y = onTop ? r.Top + k * h : r.Bottom - (k + 1) * h;
        int x = 0;
        switch (title.Alignment) {
        case TAlignment::taLeftJustify:
            x = r.Left + w / 2;
            break;
        case TAlignment::taRightJustify:
            x = r.Right - m_canvas.TextWidth(line) - w / 2;
            break;
        case TAlignment::taCenter:
            x = (r.Left + r.Right) / 2 - m_canvas.TextWidth(line) / 2;
            break;
        }
        if (!line.empty())
            m_canvas.TextOut(x, y, line);
    }

    if (onTop)
        m_plotRect.Top = r.Top + n * h + fw + TitleGap;
    else
        m_plotRect.Bottom = r.Bottom - n * h - fw - TitleGap;
    RecalcPlotSize();
}

void TChart::DrawBackWall() {
    const TChartWall& wall = BackWall;
    if (wall.Pen.Visible)
        m_canvas.AssignPen(wall.Pen);
    else
        m_canvas.SetPenStyle(TPenStyle::psClear);
    if (wall.Color == clChartDefault && wall.Brush.Style == TBrushStyle::bsSolid) {
        m_canvas.SetBrush(clWhite, TBrushStyle::bsClear);
    } else {
        m_canvas.SetBrush(wall.Color, wall.Brush.Style);
        if (wall.Brush.Style != TBrushStyle::bsSolid) {
            m_canvas.SetBackMode(false);
            m_canvas.SetBackColor(wall.Color);
        }
    }
    m_canvas.Rectangle(m_plotRect.Left, m_plotRect.Top, m_plotRect.Right + 1,
                       m_plotRect.Bottom + 1);
}
