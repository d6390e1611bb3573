#include "drawing/WorldDrawing.h"

#include "math/FloatFormat.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace tensim {

namespace {

// The decimal exponent of X: Trunc(log10(X)), one less for a negative
// logarithm (so an exact negative power of ten gives the next lower one).
double DecadeOf(double X)
{
    const double v = std::log10(X);
    double t = std::trunc(v);
    if (v < 0) t -= 1;
    return t;
}

// The reciprocal of WorldPerPixel rounded to four significant digits.
double QuantisedScale(double WorldPerPixel)
{
    const double e = DecadeOf(WorldPerPixel);
    const double m = WorldPerPixel * std::pow(10.0, -e);
    return std::pow(10.0, 3 - e) / std::nearbyint(1000 * m);
}

// The ticks of the range Lo..Lo + Range: a power of ten as step, so that
// Range / Step lies between 8 and 80; the first index at or above Lo; the
// number of steps in the range.
struct TTicks {
    bool Valid = false;
    double Step = 0;
    double First = 0;
    double Count = 0;
};

TTicks Ticks(double Lo, double Range)
{
    TTicks t;
    t.Step = std::pow(10.0, DecadeOf(Range / 8));
    if (!(t.Step > 0) || !(std::fabs(Lo / t.Step) < 2147483647)) return t;
    t.First = std::nearbyint(Lo / t.Step);
    while (t.First * t.Step < Lo)
        t.First += 1;
    t.Count = std::nearbyint(Range / t.Step);
    t.Valid = true;
    return t;
}

// Calls Tick(value, labelled) for every tick of the range Lo..Lo + Range,
// with the canvas font one point smaller; every (n div 4)-th tick from the
// first is labelled. Ticks of the same step and labelling run on down to
// ShownLo and up to ShownHi where those lie beyond the range.
template <class F>
void ForEachTick(double Lo, double Range, double ShownLo, double ShownHi, TCanvas& Canvas, F&& Tick)
{
    const TTicks t = Ticks(Lo, Range);
    if (!t.Valid) return;
    const TCanvasState kept(Canvas);
    Canvas.Font.SetSize(Canvas.Font.Size() - 1);
    const double hi = std::max(Lo + Range, ShownHi);
    if (t.Count <= 2000 && (hi - std::min(Lo, ShownLo)) / t.Step <= 4000) {
        const long long first = static_cast<long long>(t.First);
        const long long every = std::max(static_cast<long long>(t.Count) / 4, 1LL);
        long long m = first;
        while (ShownLo < Lo && (m - 1) * t.Step >= ShownLo)
            --m;
        for (; m * t.Step <= hi; ++m)
            Tick(m * t.Step, ((m - first) % every + every) % every == 0);
    }
}

constexpr double OffsetLimit = 9.0e18; // integer offsets held in a real

} // namespace

std::string TickLabel(double Value)
{
    return FloatToStrGeneral(Value, 3, 3);
}

void TWorldDrawing::SetControlSize(int Width, int Height)
{
    FWidth = Width;
    FHeight = Height;
}

bool TWorldDrawing::Fit(double X1, double Y1, double X2, double Y2, bool AxesMode,
                        const TCanvas& Canvas)
{
    TWorldDrawing n = *this;
    n.FX1 = X1;
    n.FXW = X2 - X1;
    n.FY1 = Y1;
    n.FYW = Y2 - Y1;
    n.FAxesMode = AxesMode;
    if (!std::isfinite(X1) || !std::isfinite(Y1) || !std::isfinite(n.FXW) ||
        !std::isfinite(n.FYW) || !(n.FXW > 0) || !(n.FYW > 0))
        return false;

    const int W = FWidth, H = FHeight;
    int areaW = W, areaH = H, left = 0, bottom = 0;
    if (AxesMode) {
        n.FXLabelWidth = LabelWidth(X1, X2, Canvas);
        n.FYLabelWidth = LabelWidth(Y1, Y2, Canvas);
        const int h = Canvas.TextHeight("-1.234");
        n.FLabelHeight = h;
        areaW = W - Px(10) - n.FXLabelWidth - n.FYLabelWidth;
        areaH = H - 3 * h - h / 2;
        left = n.FYLabelWidth + Px(10);
        bottom = 2 * h - h / 8;
    }
    if (areaW <= 0 || areaH <= 0) return false;

    n.FSx = QuantisedScale(n.FXW / areaW);
    n.FSy = -QuantisedScale(n.FYW / areaH);
    if (FEqualScale) {
        n.FSx = std::min(n.FSx, -n.FSy);
        n.FSy = -n.FSx;
    }
    n.FOx = std::nearbyint((areaW - n.FSx * (X1 + X2)) / 2) + left;
    n.FOy = H - bottom - std::nearbyint((areaH + n.FSy * (Y1 + Y2)) / 2);
    if (!std::isfinite(n.FSx) || !std::isfinite(n.FSy) || n.FSx == 0 || n.FSy == 0 ||
        !(std::fabs(n.FOx) < OffsetLimit) || !(std::fabs(n.FOy) < OffsetLimit))
        return false;
    n.FRSx = 1 / n.FSx;
    n.FRSy = 1 / n.FSy;
    n.FAreaLeft = n.WorldX(left);
    n.FAreaRight = n.WorldX(left + areaW);
    n.FAreaBottom = n.WorldY(H - bottom);
    n.FAreaTop = n.WorldY(H - bottom - areaH);
    n.FClipRect = AxesMode ? TRect{left + 1, H - bottom - areaH, left + areaW + 1, H - bottom}
                           : TRect{0, 0, W, H};
    *this = n;
    return true;
}

int TWorldDrawing::LabelWidth(double Lo, double Hi, const TCanvas& Canvas) const
{
    const TTicks t = Ticks(Lo, std::fabs(Hi - Lo));
    if (!t.Valid) return 0;
    TFont small = Canvas.Font;
    small.SetSize(small.Size() - 1);
    const double every = std::trunc(t.Count / 4);
    int width = 0;
    for (int k = 0; k <= 4; ++k)
        width = std::max(
            width, Canvas.TextExtent(small, TickLabel((t.First + k * every) * t.Step)).width());
    return width;
}

void TWorldDrawing::DrawLine(TCanvas& Canvas, double X1, double Y1, double X2, double Y2) const
{
    // Out and back, so that both end pixels are painted.
    Canvas.MoveTo(WindowX(X1), WindowY(Y1));
    Canvas.LineTo(WindowX(X2), WindowY(Y2));
    Canvas.LineTo(WindowX(X1), WindowY(Y1));
}

void TWorldDrawing::DrawAxes(TCanvas& Canvas, const std::string& XLabel, const std::string& YLabel,
                             TColor AxesColor, bool Arrows) const
{
    // The labels share one painter.
    Canvas.BeginTexts();
    const auto texts = qScopeGuard([&] { Canvas.EndTexts(); });
    const TCanvasState kept(Canvas);
    Canvas.Brush.Style = TBrushStyle::Clear;
    Canvas.Pen = TPen{AxesColor, 1, TPenStyle::Solid, TPenMode::Copy};

    // With equal scales the ticks cover the area, which may reach beyond the window.
    const double left = FEqualScale ? FAreaLeft : FX1;
    const double right = FEqualScale ? FAreaRight : FX1 + FXW;
    const double bottom = FEqualScale ? FAreaBottom : FY1;
    const double top = FEqualScale ? FAreaTop : FY1 + FYW;
    DrawLine(Canvas, FAreaLeft, FAreaBottom, FAreaRight, FAreaBottom);
    ForEachTick(FX1, FXW, left, right, Canvas, [&](double Value, bool Labelled) {
        const int px = WindowX(Value), py = WindowY(FAreaBottom);
        Canvas.MoveTo(px, py);
        Canvas.LineTo(px, py + Px(4));
        if (!Labelled) return;
        const std::string text = TickLabel(Value);
        Canvas.TextOut(px - Canvas.TextWidth(text) / 2, py + Px(6), text);
        Canvas.MoveTo(px, py);
        Canvas.LineTo(px, py + Px(6));
    });
    if (Arrows) {
        const int px = WindowX(FAreaRight), py = WindowY(FAreaBottom);
        Canvas.MoveTo(px - Px(6), py - Px(6));
        Canvas.LineTo(px, py);
        Canvas.MoveTo(px - Px(6), py + Px(6));
        Canvas.LineTo(px, py);
    }
    const QSize xLabel = Canvas.TextExtent(XLabel);
    Canvas.TextOut(FWidth - xLabel.width() - Px(2), FHeight - xLabel.height() - Px(2), XLabel);

    DrawLine(Canvas, FAreaLeft, FAreaBottom, FAreaLeft, FAreaTop);
    ForEachTick(FY1, FYW, bottom, top, Canvas, [&](double Value, bool Labelled) {
        const int px = WindowX(FAreaLeft), py = WindowY(Value);
        Canvas.MoveTo(px, py);
        Canvas.LineTo(px - Px(4), py);
        if (!Labelled) return;
        const std::string text = TickLabel(Value);
        const QSize extent = Canvas.TextExtent(text);
        Canvas.TextOut(px - extent.width() - Px(6), py - extent.height() / 2, text);
        Canvas.MoveTo(px, py);
        Canvas.LineTo(px - Px(6), py);
    });
    if (Arrows) {
        const int px = WindowX(FAreaLeft), py = WindowY(FAreaTop);
        Canvas.MoveTo(px + Px(6), py + Px(6));
        Canvas.LineTo(px, py);
        Canvas.MoveTo(px - Px(6), py + Px(6));
        Canvas.LineTo(px, py);
    }
    Canvas.TextOut(Px(2), Px(2), YLabel);
}

} // namespace tensim
