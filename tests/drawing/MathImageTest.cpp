#include "drawing/MathImge.h"

#include "tests/drawing/SurfaceHelpers.h"

#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace tensim {
namespace {

// ---- mapping -------------------------------------------------------------

TEST(MathImage, StartsWithTheStoredSettings)
{
    TMathImage image;
    EXPECT_EQ(image.Version(), "6.0(beta 5) May 2000");
    EXPECT_FALSE(image.RecordMetafile());
    EXPECT_EQ(image.d2WorldX1(), -1);
    EXPECT_EQ(image.d2WorldXW(), 2);
    EXPECT_EQ(image.d2WorldY1(), -1);
    EXPECT_EQ(image.d2WorldYW(), 2);
    EXPECT_FALSE(image.Mapping().AxesMode());
    EXPECT_EQ(image.Font().Height, -11);
    EXPECT_EQ(image.Font().Size(), 8);
    const QImage& picture = image.Bitmap();
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.size(), image.size());
    for (int y = 0; y < picture.height(); y += 7)
        for (int x = 0; x < picture.width(); x += 7)
            ASSERT_EQ(picture.pixel(x, y), 0xFFFFFFFFu);
}

TEST(MathImage, PanelExampleWithoutAxes)
{
    auto image = MakeSurface(-2, -2, 2, 2);
    const TWorldDrawing& m = image->Mapping();
    EXPECT_EQ(m.Sx(), 100000.0 / 1835);
    EXPECT_EQ(m.Sy(), -(100000.0 / 1869));
    EXPECT_EQ(m.Ox(), 109);
    EXPECT_EQ(m.Oy(), 107);
    EXPECT_EQ(image->WindowX(0), 109);
    EXPECT_EQ(image->WindowY(0), 107);
    EXPECT_EQ(image->WindowX(2), 218);
    EXPECT_EQ(image->WindowY(2), 0);
    EXPECT_EQ(image->WindowX(-2), 0);
    EXPECT_EQ(image->WindowY(-2), 214);
    EXPECT_EQ(image->WorldX(109), 0);
    EXPECT_EQ(image->WorldY(107), 0);
    EXPECT_EQ(m.DrawingAreaClipRect(), (TRect{0, 0, 218, 214}));
}

TEST(MathImage, IncrementalPanelWindow)
{
    // 3 / 218 world units per pixel round to 1.376E-2, 3 / 214 to 1.402E-2.
    auto image = MakeSurface(-1, -1, 2, 2);
    const TWorldDrawing& m = image->Mapping();
    EXPECT_EQ(m.Sx(), 100000.0 / 1376);
    EXPECT_EQ(m.Sy(), -(100000.0 / 1402));
    EXPECT_EQ(m.Ox(), 73);  // Round((218 - 72.67) / 2)
    EXPECT_EQ(m.Oy(), 143); // 214 - Round((214 - 71.33) / 2)
    EXPECT_EQ(image->WindowX(-1), 0);
    EXPECT_EQ(image->WindowX(2), 218);
    EXPECT_EQ(image->WindowY(-1), 214);
    EXPECT_EQ(image->WindowY(2), 0);
    EXPECT_EQ(image->d2WorldX2(), 2);
    EXPECT_EQ(image->d2WorldY2(), 2);
}

TEST(MathImage, ScalesAreReciprocalsOfFourDigitPixelSizes)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> exponent(-4, 4), mantissa(1, 10);
    std::uniform_int_distribution<int> size(20, 900);
    for (int i = 0; i < 300; ++i) {
        const double x1 = mantissa(random) * std::pow(10.0, exponent(random)) - 5;
        const double xw = mantissa(random) * std::pow(10.0, exponent(random));
        const double yw = mantissa(random) * std::pow(10.0, exponent(random));
        const int w = size(random), h = size(random);
        auto image = MakeSurface(x1, -yw / 3, x1 + xw, 2 * yw / 3, w, h);
        // World units per pixel to four significant digits, independently.
        char text[32];
        std::snprintf(text, sizeof text, "%.3e", xw / w);
        EXPECT_NEAR(image->Mapping().Sx() * std::strtod(text, nullptr), 1, 1e-12);
        std::snprintf(text, sizeof text, "%.3e", yw / h);
        EXPECT_NEAR(-image->Mapping().Sy() * std::strtod(text, nullptr), 1, 1e-12);
        EXPECT_EQ(image->Mapping().Ox(), std::trunc(image->Mapping().Ox()));
        EXPECT_EQ(image->Mapping().Oy(), std::trunc(image->Mapping().Oy()));
        // The window's centre lands on the area's centre to the nearest pixel.
        EXPECT_LE(std::abs(image->WindowX(x1 + xw / 2) - w / 2.0), 1.0);
        EXPECT_LE(std::abs(image->WindowY(yw / 6) - h / 2.0), 1.0);
    }
}

TEST(MathImage, PixelsAreClamped)
{
    auto image = MakeSurface();
    EXPECT_EQ(image->WindowX(1e9), 22000);
    EXPECT_EQ(image->WindowX(-1e9), -22000);
    EXPECT_EQ(image->WindowY(1e9), -22000);
    EXPECT_EQ(image->WindowY(-1e9), 22000);
    EXPECT_EQ(image->WindowX(HUGE_VAL), 22000);
    EXPECT_EQ(image->WindowX(std::nan("")), -22000);
    // A line to a far point is drawn, clipped, without cost or harm.
    image->d2MoveTo(0, 0);
    image->d2LineTo(1e9, 1e9);
    EXPECT_EQ(RgbToColor(image->Bitmap().pixel(110, 106)), clBlack);
}

TEST(MathImage, WidthSettersRefuseNonPositiveWidths)
{
    auto image = MakeSurface(-2, -2, 2, 2);
    const double sx = image->Mapping().Sx();
    for (double bad : {0.0, -1.0, std::nan("")}) {
        try {
            image->Setd2WorldXW(bad);
            ADD_FAILURE() << "no error for x width " << bad;
        } catch (const EMathImageError& e) {
            EXPECT_STREQ(e.what(), "x-worldwidth must be positive");
        }
        try {
            image->Setd2WorldYW(bad);
            ADD_FAILURE() << "no error for y width " << bad;
        } catch (const EMathImageError& e) {
            EXPECT_STREQ(e.what(), "y-worldwidth must be positive");
        }
    }
    EXPECT_EQ(image->d2WorldXW(), 4);
    EXPECT_EQ(image->d2WorldYW(), 4);
    EXPECT_EQ(image->Mapping().Sx(), sx);

    image->Setd2WorldXW(8);
    EXPECT_EQ(image->d2WorldX1(), -2);
    EXPECT_EQ(image->d2WorldX2(), 6);
    image->Setd2WorldX1(1);
    EXPECT_EQ(image->d2WorldXW(), 8);
    EXPECT_EQ(image->d2WorldX2(), 9);
    image->Setd2WorldY1(0.5);
    EXPECT_EQ(image->d2WorldYW(), 4);
    EXPECT_EQ(image->WindowY(0.5), 214);
}

TEST(MathImage, InvalidWindowKeepsThePreviousOne)
{
    auto image = MakeSurface(-2, -2, 2, 2);
    const TWorldDrawing before = image->Mapping();
    for (const auto& w :
         {std::array<double, 4>{1, 0, 1, 1}, std::array<double, 4>{0, 1, 1, 1},
          std::array<double, 4>{2, 0, 1, 1}, std::array<double, 4>{0, 0, HUGE_VAL, 1},
          std::array<double, 4>{std::nan(""), 0, 1, 1}}) {
        try {
            image->d2SetWorld(w[0], w[1], w[2], w[3]);
            ADD_FAILURE() << "no error";
        } catch (const EMathImageError& e) {
            EXPECT_STREQ(e.what(), "Invalid D2-world bounds");
        }
        EXPECT_EQ(image->d2WorldX1(), -2);
        EXPECT_EQ(image->d2WorldXW(), 4);
        EXPECT_EQ(image->d2WorldY1(), -2);
        EXPECT_EQ(image->d2WorldYW(), 4);
        EXPECT_EQ(image->Mapping().Sx(), before.Sx());
        EXPECT_EQ(image->Mapping().Oy(), before.Oy());
        EXPECT_EQ(image->WindowX(2), 218);
    }
}

TEST(MathImage, ThreeDimensionalSettingsAreStoredAndChecked)
{
    TMathImage image;
    EXPECT_EQ(image.d3WorldX1(), -1);
    EXPECT_EQ(image.d3WorldZW(), 2);
    EXPECT_EQ(image.d3Zrotation(), 45);
    EXPECT_EQ(image.d3ViewDist(), 6.4);
    EXPECT_EQ(image.d3ViewAngle(), 6);
    EXPECT_TRUE(image.d3AspectRatio());

    const auto message = [&](auto Set) {
        try {
            Set();
        } catch (const EMathImageError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { image.Setd3WorldXW(0); }), "x-worldwidth must be positive");
    EXPECT_EQ(message([&] { image.Setd3WorldYW(-2); }), "y-worldwidth must be positive");
    EXPECT_EQ(message([&] { image.Setd3WorldZW(0); }), "z-worldwidth must be positive");
    EXPECT_EQ(message([&] { image.Setd3WorldX1(HUGE_VAL); }), "Invalid D3-world bounds");
    EXPECT_EQ(message([&] {
                  image.Setd3WorldZ1(1e308);
                  image.Setd3WorldZW(1e308);
              }),
              "Invalid D3-world bounds");
    EXPECT_EQ(image.d3WorldX1(), -1);
    EXPECT_EQ(image.d3WorldZ1(), 1e308);
    EXPECT_EQ(image.d3WorldZW(), 2);
    image.Setd3WorldYW(5);
    EXPECT_EQ(image.d3WorldYW(), 5);

    image.Setd3ViewAngle(180);
    image.Setd3ViewDist(0);
    image.Setd3Zrotation(-180);
    image.Setd3Yrotation(180);
    EXPECT_EQ(image.d3ViewAngle(), 6);
    EXPECT_EQ(image.d3ViewDist(), 6.4);
    EXPECT_EQ(image.d3Zrotation(), 45);
    EXPECT_EQ(image.d3Yrotation(), 45);
    image.Setd3ViewAngle(179.5);
    image.Setd3Zrotation(-179);
    EXPECT_EQ(image.d3ViewAngle(), 179.5);
    EXPECT_EQ(image.d3Zrotation(), -179);
}

// ---- canvas --------------------------------------------------------------

int CountPixels(const QImage& Image, TColor Color)
{
    int n = 0;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            n += RgbToColor(Image.pixel(x, y)) == Color;
    return n;
}

TEST(Canvas, LineToLeavesItsEndPixel)
{
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    TCanvas canvas(&picture);
    canvas.MoveTo(5, 5);
    canvas.LineTo(25, 12);
    EXPECT_EQ(canvas.Pixel(5, 5), clBlack);
    EXPECT_EQ(canvas.Pixel(25, 12), clWhite);
    EXPECT_EQ(CountPixels(picture, clBlack), 20); // one pixel per column
    EXPECT_EQ(canvas.PenPos.X, 25);
    canvas.LineTo(25, 30);
    EXPECT_EQ(canvas.Pixel(25, 12), clBlack);
    EXPECT_EQ(canvas.Pixel(25, 30), clWhite);
}

TEST(Canvas, NotXorTwiceRestoresAndPolylinesPaintEachPixelOnce)
{
    QImage picture(60, 60, QImage::Format_RGB32);
    picture.fill(QColor(0x12, 0x9A, 0xC4));
    TCanvas canvas(&picture);
    canvas.FillRect(TRect{10, 10, 30, 50});
    const QImage before = picture.copy();
    canvas.Pen.Mode = TPenMode::NotXor;
    canvas.Pen.Color = 0x2080F0;
    const std::vector<TPoint> path = {{2, 3}, {50, 20}, {20, 55}, {2, 3}, {40, 40}, {50, 20}};
    canvas.Polyline(path);
    EXPECT_NE(picture, before);
    // Joints, the closing point and the crossings are painted once: on
    // white every pixel of the path shows the pen colour.
    QImage white(60, 60, QImage::Format_RGB32);
    white.fill(Qt::white);
    TCanvas onWhite(&white);
    onWhite.Pen = canvas.Pen;
    onWhite.Polyline(path);
    EXPECT_EQ(onWhite.Pixel(50, 20), 0x2080F0u);
    EXPECT_EQ(onWhite.Pixel(2, 3), 0x2080F0u);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            const TColor c = onWhite.Pixel(x, y);
            ASSERT_TRUE(c == clWhite || c == 0x2080F0u) << x << "," << y;
        }
    // Out and back along one line paints it once too.
    onWhite.Polyline({{5, 58}, {55, 58}, {5, 58}});
    EXPECT_EQ(onWhite.Pixel(30, 58), 0x2080F0u);
    EXPECT_EQ(onWhite.Pixel(55, 58), 0x2080F0u);

    canvas.Polyline(path);
    EXPECT_EQ(picture, before);
    for (int i = 0; i < 2; ++i) {
        canvas.MoveTo(3, 57);
        canvas.LineTo(57, 4);
        canvas.LineTo(20, 20);
    }
    EXPECT_EQ(picture, before);
}

TEST(Canvas, SetPixelIgnoresThePenMode)
{
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::white);
    TCanvas canvas(&picture);
    canvas.Pen.Mode = TPenMode::NotXor;
    canvas.SetPixel(4, 4, clRed);
    canvas.SetPixel(4, 4, clRed);
    EXPECT_EQ(canvas.Pixel(4, 4), clRed);
}

TEST(Canvas, ClipRectangleAppliesToEveryOperation)
{
    QImage picture(80, 80, QImage::Format_RGB32);
    picture.fill(Qt::white);
    TCanvas canvas(&picture);
    canvas.SetClipRect(TRect{20, 20, 40, 40});
    canvas.MoveTo(0, 30);
    canvas.LineTo(79, 30);
    canvas.SetPixel(10, 10, clBlack);
    canvas.SetPixel(39, 39, clBlack);
    canvas.Brush.Color = clRed;
    canvas.FillRect(TRect{0, 0, 80, 80});
    EXPECT_EQ(CountPixels(picture, clRed), 20 * 20);
    canvas.Brush.Color = clWhite;
    canvas.Ellipse(0, 0, 80, 80);
    canvas.TextOut(0, 22, "Hello, world");
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            if (x < 20 || x >= 40 || y < 20 || y >= 40) {
                ASSERT_EQ(canvas.Pixel(x, y), clWhite) << x << "," << y;
            }
        }
    EXPECT_GT(CountPixels(picture, clBlack), 20);
}

TEST(Canvas, NothingIsAntialiased)
{
    QImage picture(120, 60, QImage::Format_RGB32);
    picture.fill(Qt::white);
    TCanvas canvas(&picture);
    canvas.MoveTo(3, 50);
    canvas.LineTo(100, 7);
    canvas.Ellipse(10, 5, 70, 45);
    canvas.Pen.Width = 3;
    canvas.Polyline({{5, 5}, {110, 30}, {60, 55}});
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font.SetSize(12);
    canvas.TextOut(20, 15, "Deformación -0.3");
    EXPECT_EQ(CountPixels(picture, clBlack) + CountPixels(picture, clWhite), 120 * 60);
    EXPECT_GT(CountPixels(picture, clBlack), 300);
}

TEST(Canvas, FontSizeInPoints)
{
    TFont font;
    EXPECT_EQ(font.Size(), 8); // 11 pixels at 96 per inch
    font.SetSize(7);
    EXPECT_EQ(font.Height, -9);
    font.SetSize(8);
    EXPECT_EQ(font.Height, -11);
    QImage picture(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&picture);
    EXPECT_GT(canvas.TextWidth("-1.234"), canvas.TextWidth("-1"));
    EXPECT_GE(canvas.TextHeight("-1.234"), 11);
}

// ---- world drawing -------------------------------------------------------

TEST(MathImage, WorldPrimitives)
{
    auto image = MakeSurface();
    image->d2MoveTo(-1, 0);
    image->d2LineTo(1, 0);
    EXPECT_EQ(image->DrawingCanvas().Pixel(image->WindowX(-1), 107), clBlack);
    EXPECT_EQ(image->DrawingCanvas().Pixel(image->WindowX(1), 107), clWhite);
    image->SetPenColor(clBlue);
    EXPECT_EQ(image->PenColor(), clBlue);
    image->DrawingCanvas().Pen.Mode = TPenMode::NotXor;
    image->d2DrawPoint(0.5, 0.5);
    image->d2DrawPoint(0.5, 0.5);
    EXPECT_EQ(image->DrawingCanvas().Pixel(image->WindowX(0.5), image->WindowY(0.5)), clBlue);

    TFloatPointlist list;
    for (int i = 0; i <= 8; ++i)
        list.Add(std::cos(i * M_PI / 4), std::sin(i * M_PI / 4));
    const QImage before = Picture(*image);
    image->d2Polyline(list);
    EXPECT_EQ(image->DrawingCanvas().Pixel(image->WindowX(0), image->WindowY(1)), clBlue);
    image->d2Polyline(list);
    EXPECT_EQ(image->Bitmap(), before);
}

TEST(FloatPointlist, GrowsBy500)
{
    TFloatPointlist list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 500);
    for (int i = 0; i < 500; ++i)
        list.Add(i, -i);
    EXPECT_EQ(list.Capacity(), 500);
    list.Add(500, -500);
    EXPECT_EQ(list.Count(), 501);
    EXPECT_EQ(list.Capacity(), 1000);
    for (int i = 0; i < 999; ++i)
        list.Add(i, 0);
    EXPECT_EQ(list.Count(), 1500);
    EXPECT_EQ(list.Capacity(), 1500);
    list.Add(0, 0);
    EXPECT_EQ(list.Capacity(), 2000);
    EXPECT_EQ(list[499].X, 499);
    EXPECT_EQ(list[500].Y, -500);
}

TEST(MathImage, ClearFillsTheMarginsWhateverTheClip)
{
    auto image = MakeSurface();
    DrawPanelAxes(*image);
    const TRect area = image->Mapping().DrawingAreaClipRect();
    EXPECT_EQ(image->ClipRect(), area);
    image->Brush().Color = clSilver;
    image->Brush().Style = TBrushStyle::Clear;
    image->d2Clear();
    EXPECT_EQ(CountPixels(image->Bitmap(), clSilver), PanelWidth * PanelHeight);
    EXPECT_EQ(image->ClipRect(), area);
    // Drawing afterwards is still clipped to the drawing area.
    image->d2MoveTo(-100, 0);
    image->d2LineTo(100, 0);
    EXPECT_EQ(image->DrawingCanvas().Pixel(area.Left - 1, image->WindowY(0)), clSilver);
    EXPECT_EQ(image->DrawingCanvas().Pixel(area.Left, image->WindowY(0)), clBlack);
}

// ---- update locking ------------------------------------------------------

class TCountingImage : public TMathImage {
public:
    int Changes = 0;

protected:
    void Changed() override
    {
        ++Changes;
        TMathImage::Changed();
    }
};

// The axes on a cleared picture are kept and put back the next time; every
// setting they depend on gives them anew, and a picture that is not just
// cleared gets them drawn.
TEST(MathImage, AxesOnAClearedPictureComeOutAsDrawn)
{
    struct TSettings {
        int Width = 218, Height = 214;
        double X1 = -2, X2 = 2;
        const char* XLabel = "x";
        bool ZeroLines = true, Arrows = true;
        TColor Axes = clGreen, Zero = clSilver, Background = clWhite;
        int FontHeight = -11, PenWidth = 1;
        bool LineFirst = false; // something drawn between the clear and the axes
    };
    const auto draw = [](TMathImage& Image, const TSettings& S) {
        Image.resize(S.Width, S.Height);
        Image.d2SetWorld(S.X1, S.X1, S.X2, S.X2);
        Image.Brush().Color = S.Background;
        Image.Font().Height = S.FontHeight;
        Image.Pen().Width = S.PenWidth;
        // The line below is placed in the axes layout.
        if (S.LineFirst) Image.d2DrawAxes(S.XLabel, "y", S.ZeroLines, S.Axes, S.Zero, S.Arrows);
        Image.d2Clear();
        if (S.LineFirst) {
            Image.d2MoveTo(S.X1, S.X1);
            Image.d2LineTo(S.X2, S.X2);
        }
        Image.d2DrawAxes(S.XLabel, "y", S.ZeroLines, S.Axes, S.Zero, S.Arrows);
        return Picture(Image);
    };
    std::vector<TSettings> rows(12);
    rows[1].Width = 300;
    rows[2].X1 = -3;
    rows[3].XLabel = "t";
    rows[4].ZeroLines = false;
    rows[5].Arrows = false;
    rows[6].Axes = clRed;
    rows[7].Zero = clBlue;
    rows[8].Background = 0xE0F0FF;
    rows[9].FontHeight = -14;
    rows[10].PenWidth = 3;
    rows[11].LineFirst = true;
    // Each setting right after the defaults, so that a setting the kept
    // axes do not depend on would show.
    TMathImage reused;
    for (size_t i = 1; i < rows.size(); ++i)
        for (const TSettings& settings : {rows[0], rows[i]}) {
            TMathImage fresh;
            const QImage expected = draw(fresh, settings);
            EXPECT_EQ(draw(reused, settings), expected) << i;
            EXPECT_EQ(draw(reused, settings), expected) << i; // from the kept axes
        }
}

TEST(MathImage, LockUpdateHoldsBackChangeNotifications)
{
    TCountingImage image;
    image.resize(100, 100);
    image.d2MoveTo(0, 0);
    image.d2LineTo(0.5, 0.5);
    EXPECT_EQ(image.Changes, 1);

    image.LockUpdate();
    image.LockUpdate();
    EXPECT_EQ(image.LockCount(), 2);
    image.d2LineTo(-0.5, 0.5);
    image.d2Clear();
    image.UnlockUpdate();
    EXPECT_EQ(image.Changes, 1);
    image.UnlockUpdate();
    EXPECT_EQ(image.Changes, 2); // once at the last unlock
    image.UnlockUpdate();
    EXPECT_EQ(image.LockCount(), 0);
    image.d2LineTo(0, 0);
    EXPECT_EQ(image.Changes, 4); // the extra unlock notifies once more
    image.LockUpdate();
    EXPECT_EQ(image.LockCount(), 1);
    image.UnlockUpdate();
}

TEST(MathImage, UpdateLockUnlocksOnceWhateverWayItsScopeEnds)
{
    TCountingImage image;
    image.resize(100, 100);
    try {
        const TUpdateLock lock(image);
        image.d2LineTo(0.5, 0.5);
        EXPECT_EQ(image.LockCount(), 1);
        throw std::runtime_error("inside an increment");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(image.LockCount(), 0);
    EXPECT_EQ(image.Changes, 1); // the unlock's one notification

    {
        TUpdateLock lock(image);
        lock.Unlock();
        EXPECT_EQ(image.LockCount(), 0);
        EXPECT_EQ(image.Changes, 2);
        image.LockUpdate(); // a lock of someone else's survives the scope
    }
    EXPECT_EQ(image.LockCount(), 1);
    image.UnlockUpdate();
}

TEST(MathImage, AxesOnATooSmallSurfaceRaiseAndUnlock)
{
    auto image = MakeSurface(-2, -2, 2, 2, 30, 30);
    try {
        image->d2DrawAxes("x", "y", true, clGreen, clSilver, true);
        ADD_FAILURE() << "no error";
    } catch (const EMathImageError& e) {
        EXPECT_STREQ(e.what(), "Invalid D2-world bounds");
    }
    EXPECT_EQ(image->LockCount(), 0);
    EXPECT_EQ(image->WindowX(2), 30);
    // Growing the surface makes room again.
    image->resize(218, 214);
    DrawPanelAxes(*image);
    EXPECT_TRUE(image->Mapping().AxesMode());
}

TEST(MathImage, ResizeRefitsAndKeepsThePicture)
{
    auto image = MakeSurface();
    image->d2MoveTo(-2, 2);
    image->d2LineTo(0, 0);
    image->resize(300, 250);
    EXPECT_EQ(image->Bitmap().size(), QSize(300, 250));
    EXPECT_EQ(image->DrawingCanvas().Pixel(0, 0), clBlack);
    EXPECT_EQ(image->WindowX(2), 300);
    EXPECT_EQ(image->WindowY(-2), 250);
    EXPECT_EQ(image->ClipRect(), (TRect{0, 0, 300, 250}));
}

// ---- painting and events -------------------------------------------------

QImage Shown(TMathImage& Image)
{
    return Image.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(MathImage, PaintingCopiesThePictureOrTheOverlay)
{
    auto image = MakeSurface();
    image->d2MoveTo(-1, -1);
    image->d2LineTo(1, 1);
    EXPECT_EQ(Shown(*image), image->Bitmap());

    // The overlay draws on a copy at every paint; the picture stays as it was.
    const QImage picture = Picture(*image);
    image->OnOverlayPaint = [&](QObject* Sender) {
        EXPECT_EQ(Sender, image.get());
        TCanvas& canvas = image->DrawingCanvas();
        canvas.Pen.Color = clRed;
        canvas.MoveTo(0, 100);
        canvas.LineTo(200, 100);
        canvas.Pen.Color = clBlack;
    };
    const QImage overlaid = Shown(*image);
    EXPECT_EQ(image->Bitmap(), picture);
    EXPECT_EQ(RgbToColor(overlaid.pixel(50, 100)), clRed);
    // Without the handler the last overlay is shown until the picture changes.
    image->OnOverlayPaint = nullptr;
    EXPECT_EQ(Shown(*image), overlaid);
    image->d2DrawPoint(1.5, 1.5);
    EXPECT_EQ(Shown(*image), image->Bitmap());
}

TEST(MathImage, EmptySurfaceDrawsNothing)
{
    auto image = MakeSurface();
    image->resize(0, 50);
    EXPECT_TRUE(image->Bitmap().isNull());
    image->d2Clear();
    image->d2MoveTo(0, 0);
    image->d2LineTo(1, 1);
    image->DrawingCanvas().TextOut(0, 0, "x");
    image->resize(60, 50);
    EXPECT_EQ(image->Bitmap().size(), QSize(60, 50));
    EXPECT_EQ(image->WindowX(2), 60);
}

TEST(MathImage, ReportsDoubleClicksAndPresses)
{
    auto image = MakeSurface();
    image->show();
    QObject* doubleClicked = nullptr;
    int pressX = -1, pressY = -1;
    image->OnDblClick = [&](QObject* Sender) { doubleClicked = Sender; };
    image->OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
        pressX = X;
        pressY = Y;
    };
    QTest::mouseDClick(image.get(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    EXPECT_EQ(doubleClicked, image.get());
    QTest::mousePress(image.get(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 34));
    EXPECT_EQ(pressX, 12);
    EXPECT_EQ(pressY, 34);
}

// ---- axes ----------------------------------------------------------------

TEST(TickLabel, ThreeSignificantDigits)
{
    Separators separators(".", ",");
    EXPECT_EQ(TickLabel(-0.30000000000000004), "-0.3");
    EXPECT_EQ(TickLabel(1.1000000000000001), "1.1");
    EXPECT_EQ(TickLabel(0), "0");
    EXPECT_EQ(TickLabel(-2), "-2");
    EXPECT_EQ(TickLabel(123.4), "123");
    EXPECT_EQ(TickLabel(999.4), "999");
    EXPECT_EQ(TickLabel(999.6), "1E003");
    EXPECT_EQ(TickLabel(1234), "1.23E003");
    EXPECT_EQ(TickLabel(0.00001), "0.00001");
    EXPECT_EQ(TickLabel(0.0000123), "0.0000123");
    EXPECT_EQ(TickLabel(0.00000999), "9.99E-006");
    EXPECT_EQ(TickLabel(-2.5e12), "-2.5E012");
    EXPECT_EQ(TickLabel(1e-120), "1E-120");
    Separators comma(",", ".");
    EXPECT_EQ(TickLabel(0.45), "0,45");
}

// The geometry of the axes layout of a surface, read from its mapping.
struct TAxesGeometry {
    int Left, Bottom, Right, Top; // pixels of the area's edges
    explicit TAxesGeometry(const TMathImage& Image)
        : Left(Image.WindowX(Image.Mapping().AreaLeft())),
          Bottom(Image.WindowY(Image.Mapping().AreaBottom())),
          Right(Image.WindowX(Image.Mapping().AreaRight())),
          Top(Image.WindowY(Image.Mapping().AreaTop()))
    {
    }
};

// The tick labels and axis names drawn alone, where the axes put them.
QImage ExpectedLabels(TMathImage& Image, const std::vector<double>& XValues,
                      const std::vector<std::string>& XTexts, const std::vector<double>& YValues,
                      const std::vector<std::string>& YTexts)
{
    const TAxesGeometry g(Image);
    QImage picture(Image.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    TCanvas canvas(&picture);
    canvas.Brush.Style = TBrushStyle::Clear;
    const QSize x = canvas.TextExtent("x");
    canvas.TextOut(Image.width() - x.width() - 2, Image.height() - x.height() - 2, "x");
    canvas.TextOut(2, 2, "y");
    canvas.Font.Height = -9; // one point smaller
    for (size_t i = 0; i < XValues.size(); ++i) {
        const int px = Image.WindowX(XValues[i]);
        canvas.TextOut(px - canvas.TextWidth(XTexts[i]) / 2, g.Bottom + 6, XTexts[i]);
    }
    for (size_t i = 0; i < YValues.size(); ++i) {
        const int py = Image.WindowY(YValues[i]);
        const QSize extent = canvas.TextExtent(YTexts[i]);
        canvas.TextOut(g.Left - extent.width() - 6, py - extent.height() / 2, YTexts[i]);
    }
    return picture;
}

// Compares the label regions: below the x ticks, and left of the y ticks.
void ExpectLabelsAsDrawn(TMathImage& Image, const QImage& Expected)
{
    const TAxesGeometry g(Image);
    const QImage& actual = Image.Bitmap();
    int differences = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if ((y >= g.Bottom + 6 || x < g.Left - 6) && actual.pixel(x, y) != Expected.pixel(x, y))
                ++differences;
    EXPECT_EQ(differences, 0);
}

// Columns (x axis) or rows (y axis) at which a tick of the given length
// leaves the axis.
std::vector<int> TickPositions(TMathImage& Image, bool XAxis, int Length)
{
    const TAxesGeometry g(Image);
    std::vector<int> at;
    if (XAxis) {
        for (int x = 0; x < Image.width(); ++x)
            if (Image.DrawingCanvas().Pixel(x, g.Bottom + Length - 1) == clGreen) at.push_back(x);
    } else {
        for (int y = 0; y < Image.height(); ++y)
            if (Image.DrawingCanvas().Pixel(g.Left - Length + 1, y) == clGreen) at.push_back(y);
    }
    return at;
}

// Without arrow heads, whose barbs would cross the tick and label rows.
void DrawAxesWithoutArrows(TMathImage& Image)
{
    Image.d2Clear();
    Image.d2DrawAxes("x", "y", true, clGreen, clSilver, false);
}

TEST(MathImage, AxesOfTheFinitePanel)
{
    Separators separators(".", ",");
    auto image = MakeSurface(-2, -2, 2, 2);
    DrawAxesWithoutArrows(*image);
    const TWorldDrawing& m = image->Mapping();
    ASSERT_TRUE(m.AxesMode());
    TCanvas small = image->DrawingCanvas();
    small.Font.Height = -9;
    const int widest = std::max(small.TextWidth("-2"), small.TextWidth("-1"));
    EXPECT_EQ(m.XLabelWidth(), widest);
    EXPECT_EQ(m.YLabelWidth(), widest);
    const int h = image->DrawingCanvas().TextHeight("-1.234");
    EXPECT_EQ(m.LabelHeight(), h);
    // The drawing area inside the label margins.
    const int areaWidth = 218 - 10 - 2 * widest, areaHeight = 214 - 3 * h - h / 2;
    const int left = widest + 10, bottom = 2 * h - h / 8;
    EXPECT_EQ(m.DrawingAreaClipRect(),
              (TRect{left + 1, 214 - bottom - areaHeight, left + areaWidth + 1, 214 - bottom}));
    EXPECT_EQ(image->ClipRect(), m.DrawingAreaClipRect());
    const TAxesGeometry g(*image);
    EXPECT_EQ(g.Left, left);
    EXPECT_EQ(g.Right, left + areaWidth);
    EXPECT_EQ(g.Bottom, 214 - bottom);
    EXPECT_EQ(g.Top, 214 - bottom - areaHeight);

    // Minor ticks every 0.1 from -2 to 2, major ones every tenth tick.
    std::vector<int> minorX, majorX, minorY, majorY;
    for (int i = -20; i <= 20; ++i) {
        minorX.push_back(image->WindowX(i * 0.1));
        minorY.insert(minorY.begin(), image->WindowY(i * 0.1));
        if (i % 10 == 0) {
            majorX.push_back(image->WindowX(i * 0.1));
            majorY.insert(majorY.begin(), image->WindowY(i * 0.1));
        }
    }
    EXPECT_EQ(TickPositions(*image, true, 4), minorX);
    EXPECT_EQ(TickPositions(*image, true, 6), majorX);
    EXPECT_EQ(TickPositions(*image, false, 4), minorY);
    EXPECT_EQ(TickPositions(*image, false, 6), majorY);

    const std::vector<double> values = {-2, -1, 0, 1, 2};
    const std::vector<std::string> texts = {"-2", "-1", "0", "1", "2"};
    ExpectLabelsAsDrawn(*image, ExpectedLabels(*image, values, texts, values, texts));
}

TEST(MathImage, AxesOfTheIncrementalPanel)
{
    Separators separators(".", ",");
    auto image = MakeSurface(-1, -1, 2, 2);
    DrawAxesWithoutArrows(*image);
    std::vector<int> minorX, majorX;
    for (int i = -10; i <= 20; ++i) {
        minorX.push_back(image->WindowX(i * 0.1));
        if ((i + 10) % 7 == 0) majorX.push_back(image->WindowX(i * 0.1));
    }
    EXPECT_EQ(TickPositions(*image, true, 4), minorX);
    EXPECT_EQ(TickPositions(*image, true, 6), majorX);
    EXPECT_EQ(majorX.size(), 5u);
    const std::vector<double> values = {-1, -0.3, 0.4, 1.1, 1.8};
    const std::vector<std::string> texts = {"-1", "-0.3", "0.4", "1.1", "1.8"};
    ExpectLabelsAsDrawn(*image, ExpectedLabels(*image, values, texts, values, texts));
    TCanvas small = image->DrawingCanvas();
    small.Font.Height = -9;
    EXPECT_EQ(image->Mapping().XLabelWidth(), small.TextWidth("-0.3"));
}

TEST(MathImage, ArrowHeadsAndZeroLines)
{
    auto image = MakeSurface(-1, -1, 2, 2);
    DrawPanelAxes(*image);
    const TAxesGeometry g(*image);
    const TCanvas& c = image->DrawingCanvas();
    // Axes with both end pixels.
    for (int x = g.Left; x <= g.Right; ++x)
        ASSERT_EQ(c.Pixel(x, g.Bottom), clGreen) << x;
    for (int y = g.Top; y <= g.Bottom; ++y)
        ASSERT_EQ(c.Pixel(g.Left, y), clGreen) << y;
    EXPECT_EQ(c.Pixel(g.Right + 1, g.Bottom), clWhite);
    EXPECT_EQ(c.Pixel(g.Left, g.Top - 1), clWhite);
    // Arrow heads: six pixels each way towards the axis end.
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(c.Pixel(g.Right - 6 + k, g.Bottom - 6 + k), clGreen);
        EXPECT_EQ(c.Pixel(g.Right - 6 + k, g.Bottom + 6 - k), clGreen);
        EXPECT_EQ(c.Pixel(g.Left + 6 - k, g.Top + 6 - k), clGreen);
        EXPECT_EQ(c.Pixel(g.Left - 6 + k, g.Top + 6 - k), clGreen);
    }
    EXPECT_EQ(c.Pixel(g.Right - 7, g.Bottom - 7), clWhite);
    EXPECT_EQ(c.Pixel(g.Left + 7, g.Top + 7), clWhite);
    // Zero lines inside the drawing area only: the axes stay green.
    const int x0 = image->WindowX(0), y0 = image->WindowY(0);
    for (int y = g.Top; y < g.Bottom; ++y)
        ASSERT_EQ(c.Pixel(x0, y), clSilver) << y;
    for (int x = g.Left + 1; x <= g.Right; ++x)
        ASSERT_EQ(c.Pixel(x, y0), clSilver) << x;
    EXPECT_EQ(c.Pixel(x0, g.Bottom), clGreen);
    EXPECT_EQ(c.Pixel(g.Left, y0), clGreen);
    EXPECT_EQ(c.Pixel(x0, g.Top - 1), clWhite);
    EXPECT_EQ(c.Pixel(x0 + 1, g.Top + 5), clWhite);
    // The pen keeps its colour; its mode is left at copy.
    EXPECT_EQ(c.Pen.Color, clBlack);
    EXPECT_EQ(c.Pen.Mode, TPenMode::Copy);
    EXPECT_EQ(c.Brush.Style, TBrushStyle::Solid);
}

TEST(MathImage, AxesWithoutZeroLinesOrArrows)
{
    auto image = MakeSurface();
    image->d2Clear();
    image->d2DrawAxes("x", "y", false, clRed, clSilver, false);
    const TAxesGeometry g(*image);
    const TCanvas& c = image->DrawingCanvas();
    EXPECT_EQ(c.Pixel(image->WindowX(0), image->WindowY(0)), clWhite);
    EXPECT_EQ(c.Pixel(g.Right - 3, g.Bottom - 3), clWhite);
    EXPECT_EQ(c.Pixel(g.Right, g.Bottom), clRed);
}

} // namespace
} // namespace tensim
