// The drawing surface's pictures of a fixed set of scenes, compared bit for
// bit with the pictures recorded before any work on the drawing code: both
// panels at several sizes and windows, shapes drawn and erased, and the
// canvas's own primitives.

#include "drawing/AltObjs8b.h"

#include "tests/PictureRecord.h"
#include "tests/drawing/SurfaceHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace tensim {
namespace {

const QString Folder = "tests/drawing/pictures";

struct TPanelScene {
    const char* Name;
    int Width, Height;
    double X1, Y1, X2, Y2;
    double F11, F12, F21, F22; // the finite deformation shown
    bool Axes;                 // the ellipse's axes
};

// Everything a finite panel holds: the strain ellipse, the triangle, a
// velocity field, apophyses and stretching axes, and the unit square with
// its marks.
struct TPanelShapes {
    std::unique_ptr<TEllipse2> Ellipse;
    std::unique_ptr<TPointList2D> Triangle = std::make_unique<TPointList2D>();
    std::unique_ptr<TPointList2D> Field = std::make_unique<TPointList2D>();
    std::unique_ptr<TPointList2D> Arrows = std::make_unique<TPointList2D>();
    std::unique_ptr<TParallelogram2> Square;
    std::unique_ptr<TPointList2D> Marks = std::make_unique<TPointList2D>();

    explicit TPanelShapes(const TPanelScene& S)
    {
        const TTransformMatrix f = MakeTensor2D(S.F11, S.F12, S.F21, S.F22);
        Ellipse = std::make_unique<TEllipse2>(clBlack, 0, 0, S.F11, S.F12, S.F21, S.F22, 1, S.Axes);
        const double c = std::cos(M_PI / 6), s = 0.5;
        Triangle->Add(std::make_unique<TLine2D>(clGreen, 0, 1, c, -s));
        Triangle->Add(std::make_unique<TLine2D>(clBlue, c, -s, -c, -s));
        Triangle->Add(std::make_unique<TLine2D>(clRed, -c, -s, 0, 1));
        // The velocity field of simple shear 0.5 from the window's edges:
        // about as many arrows as the program's.
        const double step = (S.X2 - S.X1) / 20;
        for (int i = 0; i <= 20; ++i) {
            const double u = S.X1 + i * step;
            for (double y : {S.Y1, S.Y2, u}) {
                double x = y == u ? S.X1 : u;
                for (int n = 0; n < 4 && std::fabs(0.5 * y) >= 0.1; ++n, x += 0.5 * y)
                    Field->Add(std::make_unique<TVectorArrow2D>(clTeal, x, y, x + 0.5 * y, y));
            }
        }
        Arrows->Add(std::make_unique<TVectorArrow2D>(clRed, 0, 0, 1, 0));
        Arrows->Add(std::make_unique<TVectorArrow2D>(clRed, -0.6, 0.8, 0, 0));
        Arrows->Add(std::make_unique<TVectorArrow2D>(clGreen, 0, 0, 0.7071, 0.7071));
        Arrows->Add(std::make_unique<TVectorArrow2D>(clGreen, -0.7071, 0.7071, 0, 0));
        Square = std::make_unique<TParallelogram2>(3, 0, 0, 1, 0, 0, 1, TMarkType::Square, clBlue,
                                                   clBlack);
        for (uint8_t type = 0; type <= 7; ++type)
            Marks->Add(std::make_unique<TMark>(2 + type % 3, -1.5 + 0.4 * type, -1.2,
                                               TMarkType(type), type % 2 ? clRed : clBlue));
        Triangle->Transform(f, *std::make_unique<TMathImage>());
        Square->Transform(MakeTensor2D(1, 0.5, 0, 1), *std::make_unique<TMathImage>());
    }

    void Erase(TMathImage& Image)
    {
        Square->Erase(Image);
        Ellipse->Erase(Image);
        Triangle->Erase(Image);
        Arrows->Erase(Image);
        Field->Erase(Image);
        Marks->Erase(Image);
    }

    void Draw(TMathImage& Image)
    {
        Square->Draw(Image);
        Ellipse->Draw(Image);
        Triangle->Draw(Image);
        Arrows->Draw(Image);
        Field->Draw(Image);
        Marks->Draw(Image);
    }
};

TEST(PictureRecord, PanelsAtSeveralSizesAndWindows)
{
    const TPanelScene scenes[] = {
        {"finite-start", 218, 214, -2, -2, 2, 2, 1, 0.5, 0, 1, false},
        {"finite-grown", 218, 214, -4, -4, 4, 4, 1, 3, 0, 1, true},
        {"finite-large", 960, 940, -3, -3, 3, 3, 1.2, 0.3, -0.2, 0.9, true},
        {"incremental", 218, 214, -1, -1, 2, 2, 1, 0, 0, 1, true},
        {"incremental-enlarged", 400, 400, -1, -1, 2, 2, 2, 0, 0, 0.5, false},
        {"small", 120, 90, -7, -7, 7, 7, 0.5, -1.2, 1.1, 0.3, true},
        {"huge-window", 300, 280, -1e6, -1e6, 1e6, 1e6, 4e5, 0, 0, 1, true},
        {"narrow", 500, 160, -2, -1, 6, 3, 1, 0.5, 0, 1, true},
    };
    for (const TPanelScene& scene : scenes) {
        auto image = MakeSurface(scene.X1, scene.Y1, scene.X2, scene.Y2, scene.Width, scene.Height);
        DrawPanelAxes(*image);
        EXPECT_TRUE(MatchesRecord(Picture(*image), Folder, QString(scene.Name) + "-axes"));
        TPanelShapes shapes(scene);
        shapes.Draw(*image);
        EXPECT_TRUE(MatchesRecord(Picture(*image), Folder, QString(scene.Name) + "-drawn"));
        // Erase some, move the triangle, redraw the ellipse with other axes.
        shapes.Field->Erase(*image);
        shapes.Marks->Erase(*image);
        shapes.Triangle->Transform(MakeTensor2D(1, 0.25, 0, 1), *image);
        shapes.Ellipse->SetDeformation(MakeTensor2D(1.5, 0, 0.4, 0.8), *image);
        if (scene.Axes)
            shapes.Ellipse->HideAxes(*image);
        else
            shapes.Ellipse->ShowAxes(*image);
        EXPECT_TRUE(MatchesRecord(Picture(*image), Folder, QString(scene.Name) + "-changed"));
        // A redraw as the program makes it: the shapes erased, the picture
        // cleared, the same axes again, the shapes drawn.
        shapes.Erase(*image);
        DrawPanelAxes(*image);
        EXPECT_TRUE(MatchesRecord(Picture(*image), Folder, QString(scene.Name) + "-axes"));
        shapes.Draw(*image);
        EXPECT_TRUE(MatchesRecord(Picture(*image), Folder, QString(scene.Name) + "-redrawn"));
    }
}

// The canvas's primitives: self-crossing polylines in not-xor, dashed and
// wide pens, lines far off the picture, pixels, rectangles, ellipses and
// text.
TEST(PictureRecord, CanvasPrimitives)
{
    auto image = MakeSurface(-2, -2, 2, 2, 200, 160);
    DrawBusyBackground(*image);
    TCanvas& canvas = image->DrawingCanvas();
    canvas.Pen.Mode = TPenMode::NotXor;
    canvas.Pen.Color = 0x2060C0;
    // A figure eight and a path that runs back over itself.
    canvas.Polyline({{20, 20}, {80, 80}, {80, 20}, {20, 80}, {20, 20}});
    canvas.Polyline({{100, 30}, {180, 30}, {120, 30}, {150, 90}, {100, 30}});
    const TPenStyle styles[] = {TPenStyle::Dash, TPenStyle::Dot, TPenStyle::DashDot,
                                TPenStyle::DashDotDot, TPenStyle::Clear};
    int y = 100;
    for (TPenStyle style : styles) {
        canvas.Pen.Style = style;
        canvas.MoveTo(5, y);
        canvas.LineTo(195, y + 20);
        y += 8;
    }
    canvas.Pen.Style = TPenStyle::Solid;
    canvas.Pen.Width = 3;
    canvas.Polyline({{10, 150}, {60, 120}, {110, 150}});
    canvas.Pen.Width = 1;
    canvas.Pen.Mode = TPenMode::Copy;
    canvas.Pen.Color = clRed;
    image->d2MoveTo(-1e9, 1e9);
    image->d2LineTo(1e9, -1e9);
    image->d2MoveTo(-3, 0.5);
    image->d2LineTo(1e12, 0.5);
    for (int i = 0; i < 40; ++i)
        image->d2DrawPoint(-1.9 + 0.09 * i, 1.9 - 0.05 * i);
    canvas.Brush.Color = 0xA0FFA0;
    canvas.Ellipse(130, 100, 190, 150);
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Pen.Mode = TPenMode::NotXor;
    canvas.Ellipse(120, 95, 170, 155);
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = clWhite;
    canvas.Font.Color = clBlue;
    canvas.TextOut(30, 130, "Tensim 1.5E-7");
    canvas.FillRect(TRect{185, 5, 195, 60});
    // The same with the clip of the drawing area only.
    image->SetClipRect(TRect{40, 40, 150, 120});
    TCanvas& clipped = image->DrawingCanvas();
    clipped.Pen.Color = 0x00A0A0;
    clipped.Polyline({{0, 0}, {199, 159}, {0, 159}, {199, 0}});
    EXPECT_TRUE(MatchesRecord(Picture(*image), Folder, "canvas-primitives"));
}

} // namespace
} // namespace tensim
