#pragma once
// The drawing surface addressed in world coordinates: a 2D world window
// mapped onto the control, world-coordinate drawing primitives, and the
// axes layout with ticks, labels, arrow heads and zero lines.

#include "drawing/OverlayImage.h"
#include "drawing/WorldDrawing.h"
#include "math/Errors.h"
#include "math/World.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tensim {

class EMathImageError : public Exception {
public:
    using Exception::Exception;
};

struct TD2FloatPoint {
    double X = 0;
    double Y = 0;
};

// A growable list of world points; the storage grows by 500 points.
class TFloatPointlist {
public:
    TFloatPointlist() : FPoints(500) {}
    void Add(double X, double Y);
    int Count() const { return FCount; }
    int Capacity() const { return static_cast<int>(FPoints.size()); }
    const TD2FloatPoint& operator[](int Index) const { return FPoints[Index]; } // 0-based

private:
    std::vector<TD2FloatPoint> FPoints;
    int FCount = 0;
};

class TMathImage : public TOverlayImage {
    Q_OBJECT
public:
    explicit TMathImage(QWidget* Parent = nullptr);

    double d2WorldX1() const { return FMapping.X1(); }
    double d2WorldXW() const { return FMapping.XW(); }
    double d2WorldY1() const { return FMapping.Y1(); }
    double d2WorldYW() const { return FMapping.YW(); }
    double d2WorldX2() const { return d2WorldX1() + d2WorldXW(); }
    double d2WorldY2() const { return d2WorldY1() + d2WorldYW(); }
    // The window from (d2WorldX1, d2WorldY1) to (d2WorldX2, d2WorldY2).
    TWorldWindow World() const { return {d2WorldX1(), d2WorldY1(), d2WorldX2(), d2WorldY2()}; }
    void Setd2WorldX1(double Value);
    void Setd2WorldXW(double Value);
    void Setd2WorldY1(double Value);
    void Setd2WorldYW(double Value);
    // The window from the lower-left (X1, Y1) to the upper-right (X2, Y2);
    // raises EMathImageError and keeps the previous window when it cannot
    // be fitted.
    void d2SetWorld(double X1, double Y1, double X2, double Y2);
    void d2SetWorld(const TWorldWindow& Window)
    {
        d2SetWorld(Window.X1, Window.Y1, Window.X2, Window.Y2);
    }
    // One scale for x and y, the world window centred in the drawing area
    // (see TWorldDrawing::SetEqualScale); off by default. Refits at once.
    void SetEqualScale(bool Value);
    bool EqualScale() const { return FMapping.EqualScale(); }

    int WindowX(double X) const { return FMapping.WindowX(X); }
    int WindowY(double Y) const { return FMapping.WindowY(Y); }
    double WorldX(int PX) const { return FMapping.WorldX(PX); }
    double WorldY(int PY) const { return FMapping.WorldY(PY); }
    const TWorldDrawing& Mapping() const { return FMapping; }

    void d2MoveTo(double X, double Y);
    // To the world point with the pen; its pixel is left unpainted.
    void d2LineTo(double X, double Y);
    // Sets the point's pixel to the pen colour, whatever the pen mode.
    void d2DrawPoint(double X, double Y);
    void d2Polyline(const TFloatPointlist& List);
    TColor PenColor() { return DrawingCanvas().Pen.Color; }
    void SetPenColor(TColor Color) { DrawingCanvas().Pen.Color = Color; }

    // Fills the whole control, margins included, with the brush colour.
    void d2Clear();
    // Switches the axes layout on and draws the axes.
    void d2DrawAxes(const std::string& XLabel, const std::string& YLabel, bool ZeroLines,
                    TColor AxesColor, TColor ZeroLinesColor, bool Arrows);

protected:
    void SizeChanged() override;

private:
    bool Refit(const TWorldWindow& Window, bool AxesMode);
    using TD3View = TWorldDrawing::TD3View;
    void SetD3View(const TD3View& View);
    // Sets one field of the 3D box and validates the box as a whole.
    void SetD3Field(double TD3View::*Field, double Value);
    // The same for a width, which must be positive: Message otherwise.
    void SetD3Width(double TD3View::*Field, double Value, const char* Message);

    // What the axes drawn on a cleared picture depend on.
    struct TAxesKey {
        int Width = 0, Height = 0;
        double X1 = 0, XW = 0, Y1 = 0, YW = 0;
        std::string XLabel, YLabel;
        bool ZeroLines = false, Arrows = false, EqualScale = false;
        TColor AxesColor = 0, ZeroLinesColor = 0, Background = 0;
        std::string FontName;
        int FontHeight = 0;
        TColor FontColor = 0;
        int PenWidth = 0;
        TPenStyle PenStyle = TPenStyle::Solid;
        bool operator==(const TAxesKey& K) const;
    };
    // The last axes drawn on a cleared picture: the same axes on the same
    // cleared picture are the same pixels, copied instead of drawn.
    struct TAxesPicture {
        bool Made = false;
        int Seen = 0; // times in a row Key was drawn on a cleared picture, Pixels not kept
        TAxesKey Key;
        TPixelRuns Pixels; // those not of the background colour
        TPoint PenPos;
    };

    TWorldDrawing FMapping;
    bool FRecordMetafile = false;
    TAxesPicture FAxes;
    uint64_t FClearedAt = UINT64_MAX; // the canvas's change count after the last clear
    TColor FClearedColor = 0;

    // kept for the published interface; the program does not use it
public:
    std::string Version() const { return "6.0(beta 5) May 2000"; }
    // Kept as a setting; drawing is not recorded as a vector picture.
    bool RecordMetafile() const { return FRecordMetafile; }
    void SetRecordMetafile(bool Value) { FRecordMetafile = Value; }

    // The 3D view settings: stored and checked, not used for drawing.
    double d3WorldX1() const { return FMapping.D3.X1; }
    double d3WorldXW() const { return FMapping.D3.XW; }
    double d3WorldY1() const { return FMapping.D3.Y1; }
    double d3WorldYW() const { return FMapping.D3.YW; }
    double d3WorldZ1() const { return FMapping.D3.Z1; }
    double d3WorldZW() const { return FMapping.D3.ZW; }
    double d3Xscale() const { return FMapping.D3.Xscale; }
    double d3Yscale() const { return FMapping.D3.Yscale; }
    double d3Zscale() const { return FMapping.D3.Zscale; }
    double d3Zrotation() const { return FMapping.D3.Zrotation; }
    double d3Yrotation() const { return FMapping.D3.Yrotation; }
    double d3ViewDist() const { return FMapping.D3.ViewDist; }
    double d3ViewAngle() const { return FMapping.D3.ViewAngle; }
    bool d3AspectRatio() const { return FMapping.D3.AspectRatio; }
    void Setd3WorldX1(double Value) { SetD3Field(&TD3View::X1, Value); }
    void Setd3WorldXW(double Value)
    {
        SetD3Width(&TD3View::XW, Value, "x-worldwidth must be positive");
    }
    void Setd3WorldY1(double Value) { SetD3Field(&TD3View::Y1, Value); }
    void Setd3WorldYW(double Value)
    {
        SetD3Width(&TD3View::YW, Value, "y-worldwidth must be positive");
    }
    void Setd3WorldZ1(double Value) { SetD3Field(&TD3View::Z1, Value); }
    void Setd3WorldZW(double Value)
    {
        SetD3Width(&TD3View::ZW, Value, "z-worldwidth must be positive");
    }
    void Setd3Xscale(double Value) { SetD3Field(&TD3View::Xscale, Value); }
    void Setd3Yscale(double Value) { SetD3Field(&TD3View::Yscale, Value); }
    void Setd3Zscale(double Value) { SetD3Field(&TD3View::Zscale, Value); }
    // Out-of-range view settings are ignored without a message.
    void Setd3Zrotation(double Value);
    void Setd3Yrotation(double Value);
    void Setd3ViewDist(double Value);
    void Setd3ViewAngle(double Value);
    void Setd3AspectRatio(bool Value) { FMapping.D3.AspectRatio = Value; }
};

} // namespace tensim
