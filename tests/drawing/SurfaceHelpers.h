#pragma once
// Surfaces for the drawing tests: the size of the main window's panels,
// a world window, and a background that already holds drawing.

#include "drawing/MathImge.h"
#include "tests/Separators.h"

#include <QImage>

#include <memory>

namespace tensim {

constexpr int PanelWidth = 218;
constexpr int PanelHeight = 214;

inline std::unique_ptr<TMathImage> MakeSurface(double X1 = -2, double Y1 = -2, double X2 = 2,
                                               double Y2 = 2, int Width = PanelWidth,
                                               int Height = PanelHeight)
{
    auto image = std::make_unique<TMathImage>();
    image->resize(Width, Height);
    image->d2SetWorld(X1, Y1, X2, Y2);
    return image;
}

// The panels' axes: green with arrow heads, silver zero lines.
inline void DrawPanelAxes(TMathImage& Image)
{
    Image.d2Clear();
    Image.d2DrawAxes("x", "y", true, clGreen, clSilver, true);
}

// Axes and some unrelated copy-mode drawing for shapes to draw over.
inline void DrawBusyBackground(TMathImage& Image)
{
    DrawPanelAxes(Image);
    TCanvas& canvas = Image.DrawingCanvas();
    canvas.Pen.Color = 0x3070A0;
    Image.d2MoveTo(-1.9, -1.7);
    Image.d2LineTo(1.8, 1.1);
    Image.d2LineTo(-0.4, 1.9);
    canvas.Pen.Color = clBlack;
    canvas.Brush.Color = 0xE0F0FF;
    canvas.FillRect(TRect{120, 40, 170, 90});
    canvas.Brush.Color = clWhite;
}

// The box, in the picture's pixels, of the black figures in the drawing
// area of Image: the pixels with every channel below 0x80.
inline QRect DarkExtent(TMathImage& Image)
{
    const TRect area = Image.Mapping().DrawingAreaClipRect();
    QRect box;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) {
            const QRgb c = Image.Bitmap().pixel(x, y);
            if (qRed(c) < 0x80 && qGreen(c) < 0x80 && qBlue(c) < 0x80) box |= QRect(x, y, 1, 1);
        }
    return box;
}

inline QImage Picture(TMathImage& Image)
{
    return Image.Bitmap().copy();
}

} // namespace tensim
