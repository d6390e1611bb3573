#include "drawing/Canvas.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tensim {
namespace {

// Every part a drawing changes comes back, on the normal way out and when
// an exception leaves the scope.
TEST(CanvasState, PutsPenBrushFontAndClipBack)
{
    QImage picture(20, 20, QImage::Format_RGB32);
    TCanvas canvas(&picture);
    canvas.Pen = TPen{clRed, 3, TPenStyle::Dot, TPenMode::NotXor};
    canvas.Brush = TBrush{clTeal, TBrushStyle::Clear};
    canvas.Font = TFont{"Serif", -13, clBlue};
    canvas.SetClipRect(TRect{1, 2, 15, 16});
    const auto change = [&] {
        canvas.Pen = TPen{};
        canvas.Brush = TBrush{};
        canvas.Font = TFont{};
        canvas.SetClipRect(TRect{0, 0, 20, 20});
    };
    const auto expectKept = [&] {
        EXPECT_EQ(canvas.Pen.Color, clRed);
        EXPECT_EQ(canvas.Pen.Width, 3);
        EXPECT_EQ(canvas.Pen.Style, TPenStyle::Dot);
        EXPECT_EQ(canvas.Pen.Mode, TPenMode::NotXor);
        EXPECT_EQ(canvas.Brush.Color, clTeal);
        EXPECT_EQ(canvas.Brush.Style, TBrushStyle::Clear);
        EXPECT_EQ(canvas.Font.Name, "Serif");
        EXPECT_EQ(canvas.Font.Height, -13);
        EXPECT_EQ(canvas.Font.Color, clBlue);
        EXPECT_EQ(canvas.ClipRect(), (TRect{1, 2, 15, 16}));
    };
    {
        const TCanvasState kept(canvas);
        change();
    }
    expectKept();
    try {
        const TCanvasState kept(canvas);
        change();
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    expectKept();
}

} // namespace
} // namespace tensim
