#include "drawing/MathImge.h"

#include <cmath>
#include <tuple>

namespace tensim {

void TFloatPointlist::Add(double X, double Y)
{
    ++FCount;
    if (FCount > Capacity()) FPoints.resize(FPoints.size() + 500);
    FPoints[FCount - 1] = TD2FloatPoint{X, Y};
}

TMathImage::TMathImage(QWidget* Parent) : TOverlayImage(Parent)
{
    if (FStoredWidth > 0 && FStoredHeight > 0) FMapping.SetControlSize(FStoredWidth, FStoredHeight);
    // The stored settings, applied in order as a loaded form applies them:
    // the window ends as (-1, -1)-(1, 1).
    Setd2WorldX1(-1);
    Setd2WorldXW(2);
    Setd2WorldY1(-1);
    Setd2WorldYW(2);
    SetD3View(TD3View{});
}

bool TMathImage::Refit(const TWorldWindow& Window, bool AxesMode)
{
    return FMapping.Fit(Window.X1, Window.Y1, Window.X2, Window.Y2, AxesMode, DrawingCanvas());
}

void TMathImage::d2SetWorld(double X1, double Y1, double X2, double Y2)
{
    if (!Refit({X1, Y1, X2, Y2}, FMapping.AxesMode()))
        throw EMathImageError("Invalid D2-world bounds");
}

void TMathImage::SetEqualScale(bool Value)
{
    FMapping.SetEqualScale(Value);
    Refit(World(), FMapping.AxesMode());
}

void TMathImage::Setd2WorldX1(double Value)
{
    d2SetWorld(Value, d2WorldY1(), Value + d2WorldXW(), d2WorldY2());
}

void TMathImage::Setd2WorldXW(double Value)
{
    if (!(Value > 0)) throw EMathImageError("x-worldwidth must be positive");
    d2SetWorld(d2WorldX1(), d2WorldY1(), d2WorldX1() + Value, d2WorldY2());
}

void TMathImage::Setd2WorldY1(double Value)
{
    d2SetWorld(d2WorldX1(), Value, d2WorldX2(), Value + d2WorldYW());
}

void TMathImage::Setd2WorldYW(double Value)
{
    if (!(Value > 0)) throw EMathImageError("y-worldwidth must be positive");
    d2SetWorld(d2WorldX1(), d2WorldY1(), d2WorldX2(), d2WorldY1() + Value);
}

void TMathImage::SetD3View(const TD3View& View)
{
    const double values[] = {View.X1,           View.XW,     View.Y1,           View.YW,
                             View.Z1,           View.ZW,     View.X1 + View.XW, View.Y1 + View.YW,
                             View.Z1 + View.ZW, View.Xscale, View.Yscale,       View.Zscale};
    for (double v : values)
        if (!std::isfinite(v)) throw EMathImageError("Invalid D3-world bounds");
    FMapping.D3 = View;
}

void TMathImage::SetD3Field(double TD3View::*Field, double Value)
{
    TD3View v = FMapping.D3;
    v.*Field = Value;
    SetD3View(v);
}

void TMathImage::SetD3Width(double TD3View::*Field, double Value, const char* Message)
{
    if (!(Value > 0)) throw EMathImageError(Message);
    SetD3Field(Field, Value);
}

// Out-of-range view settings are ignored without a message.
void TMathImage::Setd3Zrotation(double Value)
{
    if (Value > -180 && Value < 180) FMapping.D3.Zrotation = Value;
}

void TMathImage::Setd3Yrotation(double Value)
{
    if (Value > -180 && Value < 180) FMapping.D3.Yrotation = Value;
}

void TMathImage::Setd3ViewDist(double Value)
{
    if (Value > 0) FMapping.D3.ViewDist = Value;
}

void TMathImage::Setd3ViewAngle(double Value)
{
    if (Value > 0 && Value < 180) FMapping.D3.ViewAngle = Value;
}

void TMathImage::d2MoveTo(double X, double Y)
{
    DrawingCanvas().MoveTo(WindowX(X), WindowY(Y));
}

void TMathImage::d2LineTo(double X, double Y)
{
    DrawingCanvas().LineTo(WindowX(X), WindowY(Y));
}

void TMathImage::d2DrawPoint(double X, double Y)
{
    TCanvas& canvas = DrawingCanvas();
    canvas.SetPixel(WindowX(X), WindowY(Y), canvas.Pen.Color);
}

void TMathImage::d2Polyline(const TFloatPointlist& List)
{
    std::vector<TPoint> points(List.Count());
    for (int i = 0; i < List.Count(); ++i)
        points[i] = TPoint{WindowX(List[i].X), WindowY(List[i].Y)};
    DrawingCanvas().Polyline(points);
}

void TMathImage::d2Clear()
{
    TCanvas& canvas = DrawingCanvas();
    // As setting the brush colour does: a clear brush becomes solid, and
    // stays so.
    canvas.Brush.Style = TBrushStyle::Solid;
    const TCanvasState kept(canvas);
    canvas.SetClipRect(ClientRect());
    canvas.FillRect(ClientRect());
    FClearedAt = canvas.Changes();
    FClearedColor = canvas.Brush.Color;
}

bool TMathImage::TAxesKey::operator==(const TAxesKey& K) const
{
    return std::tie(Width, Height, X1, XW, Y1, YW, XLabel, YLabel, ZeroLines, Arrows, EqualScale,
                    AxesColor, ZeroLinesColor, Background, FontName, FontHeight, FontColor,
                    PenWidth, PenStyle) ==
           std::tie(K.Width, K.Height, K.X1, K.XW, K.Y1, K.YW, K.XLabel, K.YLabel, K.ZeroLines,
                    K.Arrows, K.EqualScale, K.AxesColor, K.ZeroLinesColor, K.Background, K.FontName,
                    K.FontHeight, K.FontColor, K.PenWidth, K.PenStyle);
}

void TMathImage::d2DrawAxes(const std::string& XLabel, const std::string& YLabel, bool ZeroLines,
                            TColor AxesColor, TColor ZeroLinesColor, bool Arrows)
{
    const TUpdateLock lock(*this);

    if (!Refit(World(), true)) throw EMathImageError("Invalid D2-world bounds");
    const TRect area = FMapping.DrawingAreaClipRect();
    TCanvas& canvas = DrawingCanvas();
    const TAxesKey key{FStoredWidth,      FStoredHeight,    d2WorldX1(),      d2WorldXW(),
                       d2WorldY1(),       d2WorldYW(),      XLabel,           YLabel,
                       ZeroLines,         Arrows,           EqualScale(),     AxesColor,
                       ZeroLinesColor,    FClearedColor,    canvas.Font.Name, canvas.Font.Height,
                       canvas.Font.Color, canvas.Pen.Width, canvas.Pen.Style};
    const bool cleared = canvas.Changes() == FClearedAt;
    // A recording canvas draws the axes, so that the recording has them.
    if (cleared && FAxes.Made && FAxes.Key == key && !canvas.Recorder()) {
        // Leaves the canvas as the drawing below leaves it.
        PutPixels(FAxes.Pixels);
        canvas.PenPos = FAxes.PenPos;
        if (ZeroLines) canvas.Pen.Mode = TPenMode::Copy;
        SetClipRect(area);
        return;
    }

    SetClipRect(ClientRect());
    FMapping.DrawAxes(DrawingCanvas(), XLabel, YLabel, AxesColor, Arrows);
    SetClipRect(area);

    if (ZeroLines) {
        // The pen stays in copy mode; its colour is put back.
        canvas.Pen.Mode = TPenMode::Copy;
        const TCanvasState kept(canvas);
        canvas.Pen.Color = ZeroLinesColor;
        FMapping.DrawLine(canvas, 0, FMapping.AreaBottom(), 0, FMapping.AreaTop());
        FMapping.DrawLine(canvas, FMapping.AreaLeft(), 0, FMapping.AreaRight(), 0);
    }
    // Kept once the same axes have been drawn on a cleared picture a few
    // times in a row: axes that change every redraw or two, as a growing
    // window's do, would be scanned for nothing.
    constexpr int KeepFrom = 4;
    const int seen = FAxes.Key == key ? FAxes.Seen + 1 : 1;
    if (cleared && seen >= KeepFrom)
        FAxes = TAxesPicture{true, 0, key, PixelsOtherThan(FClearedColor), canvas.PenPos};
    else if (cleared)
        FAxes = TAxesPicture{false, seen, key, {}, {}};
}

void TMathImage::SizeChanged()
{
    TOverlayImage::SizeChanged();
    if (FStoredWidth <= 0 || FStoredHeight <= 0) return;
    FMapping.SetControlSize(FStoredWidth, FStoredHeight);
    FMapping.SetPixelRatio(PixelRatio());
    // A size too small for the axes layout keeps the last mapping; the
    // next d2DrawAxes reports it.
    if (Refit(World(), FMapping.AxesMode())) SetClipRect(FMapping.DrawingAreaClipRect());
}

} // namespace tensim
