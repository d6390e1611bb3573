#pragma once
// The mapping of a world window (x to the right, y upwards) onto the pixels
// of a drawing area, with quantised scales and integer offsets, and the
// ticked, labelled axes drawn around that area.

#include "drawing/Canvas.h"

#include <string>

namespace tensim {

// A tick label: 3 significant digits, scientific with at least 3 exponent
// digits when fixed notation does not fit.
std::string TickLabel(double Value);

class TWorldDrawing {
public:
    void SetControlSize(int Width, int Height);
    // Device pixels per logical pixel: the fixed pixel lengths of the axes
    // (ticks, arrow heads, gaps) grow by it.
    void SetPixelRatio(double Ratio) { FPixelRatio = Ratio; }
    int ControlWidth() const { return FWidth; }
    // With equal scales x and y map with the smaller of their two scales, so
    // that a circle is drawn as a circle; the world window is centred in
    // the drawing area, which shows more on its longer side, and the ticks
    // run on over the whole area. Off by default. Takes effect at the next Fit.
    void SetEqualScale(bool Value) { FEqualScale = Value; }
    bool EqualScale() const { return FEqualScale; }
    int ControlHeight() const { return FHeight; }

    // Fits the window from (X1, Y1) to (X2, Y2) into the drawing area, with
    // label margins in axes mode. Returns false, changing nothing, when the
    // window or the area is empty or the numbers overflow.
    bool Fit(double X1, double Y1, double X2, double Y2, bool AxesMode, const TCanvas& Canvas);

    double X1() const { return FX1; }
    double XW() const { return FXW; }
    double Y1() const { return FY1; }
    double YW() const { return FYW; }
    bool AxesMode() const { return FAxesMode; }
    int XLabelWidth() const { return FXLabelWidth; }
    int YLabelWidth() const { return FYLabelWidth; }
    int LabelHeight() const { return FLabelHeight; }
    TRect DrawingAreaClipRect() const { return FClipRect; }
    double Sx() const { return FSx; }
    double Sy() const { return FSy; }
    double Ox() const { return FOx; }
    double Oy() const { return FOy; }
    double AreaLeft() const { return FAreaLeft; }
    double AreaRight() const { return FAreaRight; }
    double AreaBottom() const { return FAreaBottom; }
    double AreaTop() const { return FAreaTop; }

    // World to pixel, clamped to the pixel range.
    int WindowX(double X) const { return ClampedPixel(FSx * X + FOx); }
    int WindowY(double Y) const { return ClampedPixel(FSy * Y + FOy); }
    double WorldX(int PX) const { return (PX - FOx) * FRSx; }
    double WorldY(int PY) const { return (PY - FOy) * FRSy; }

    // The widest of the tick labels for the range Lo..Hi, in the font one
    // point smaller than the canvas's.
    int LabelWidth(double Lo, double Hi, const TCanvas& Canvas) const;
    // A line between two world points with both end pixels painted.
    void DrawLine(TCanvas& Canvas, double X1, double Y1, double X2, double Y2) const;
    // Axes along the left and bottom edges of the area, ticks, labels and
    // optional arrow heads, in the canvas's current clip.
    void DrawAxes(TCanvas& Canvas, const std::string& XLabel, const std::string& YLabel,
                  TColor AxesColor, bool Arrows) const;

private:
    // A length of N logical pixels in the picture's pixels.
    int Px(int N) const { return static_cast<int>(DevicePixels(N, FPixelRatio)); }

    double FPixelRatio = 1;
    bool FEqualScale = false;
    int FWidth = 30, FHeight = 30;
    double FX1 = 0, FXW = 1, FY1 = 0, FYW = 1;
    bool FAxesMode = false;
    int FXLabelWidth = 20, FYLabelWidth = 20, FLabelHeight = 10;
    TRect FClipRect;
    double FSx = 0, FOx = 0, FSy = 0, FOy = 0, FRSx = 0, FRSy = 0;
    double FAreaLeft = 0, FAreaRight = 0, FAreaBottom = 0, FAreaTop = 0;

    // kept for the published interface; the program does not use it
public:
    // The 3D view settings: stored and checked, not used for drawing.
    struct TD3View {
        double X1 = -1, XW = 2, Y1 = -1, YW = 2, Z1 = -1, ZW = 2;
        double Xscale = 1, Yscale = 1, Zscale = 1;
        double Zrotation = 45, Yrotation = 45;
        double ViewDist = 6.4, ViewAngle = 6;
        bool AspectRatio = true;
    };
    TD3View D3;
};

} // namespace tensim
