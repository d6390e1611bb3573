#include "drawing/AltObjs8b.h"

#include "math/Scalars.h"
#include "math/Vectors.h"
#include "tests/MessageRecorder.h"
#include "tests/drawing/SurfaceHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

namespace tensim {
namespace {

const double Cos30 = std::cos(M_PI / 6), Sin30 = std::sin(M_PI / 6);

// The main window's triangle: green, blue and red sides.
std::unique_ptr<TPointList2D> MakeTriangle()
{
    auto triangle = std::make_unique<TPointList2D>();
    triangle->Add(std::make_unique<TLine2D>(clGreen, 0, 1, Cos30, -Sin30));
    triangle->Add(std::make_unique<TLine2D>(clBlue, Cos30, -Sin30, -Cos30, -Sin30));
    triangle->Add(std::make_unique<TLine2D>(clRed, -Cos30, -Sin30, 0, 1));
    return triangle;
}

// The main window's unit-square marker.
std::unique_ptr<TParallelogram2> MakeUnitSquare()
{
    return std::make_unique<TParallelogram2>(3, 0, 0, 1, 0, 0, 1, TMarkType::Square, clBlue,
                                             clBlack);
}

// Draw changes the picture, Erase gives it back bit for bit, and a second
// Draw or Erase in a row changes nothing.
template <class Shape> void ExpectExactRestore(Shape& S, TMathImage& Image)
{
    const QImage before = Picture(Image);
    S.Draw(Image);
    EXPECT_TRUE(S.Drawn());
    const QImage drawn = Picture(Image);
    EXPECT_NE(drawn, before);
    S.Draw(Image);
    EXPECT_EQ(Image.Bitmap(), drawn);
    S.Erase(Image);
    EXPECT_FALSE(S.Drawn());
    EXPECT_EQ(Image.Bitmap(), before);
    S.Erase(Image);
    EXPECT_EQ(Image.Bitmap(), before);
}

// A drawn shape changed by Change stays drawn, and it is all there is on
// the background: erasing it gives the background back.
template <class Shape>
void ExpectRedrawnWithoutTrace(Shape& S, TMathImage& Image, const std::function<void()>& Change)
{
    const QImage background = Picture(Image);
    S.Draw(Image);
    const QImage old = Picture(Image);
    Change();
    EXPECT_TRUE(S.Drawn());
    EXPECT_NE(Image.Bitmap(), old);
    S.Erase(Image);
    EXPECT_EQ(Image.Bitmap(), background);
}

// The picture of Shape drawn alone on Image's current picture.
template <class Shape> QImage DrawnAlone(Shape& S, TMathImage& Image)
{
    S.Draw(Image);
    const QImage picture = Picture(Image);
    S.Erase(Image);
    return picture;
}

// Whether a pixel next to the world point (X, Y) has the colour: lines
// through a point need not hit its rounded pixel.
bool ColourNear(TMathImage& Image, double X, double Y, TColor Color)
{
    const int px = Image.WindowX(X), py = Image.WindowY(Y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Image.DrawingCanvas().Pixel(px + dx, py + dy) == Color) return true;
    return false;
}

bool SamePen(const TPen& A, const TPen& B)
{
    return A.Color == B.Color && A.Width == B.Width && A.Style == B.Style && A.Mode == B.Mode;
}

// ---- drawing and erasing ---------------------------------------------------

TEST(Shapes, EraseRestoresTheBusyPictureExactly)
{
    auto image = MakeSurface();
    DrawBusyBackground(*image);
    {
        SCOPED_TRACE("line");
        TLine2D line(clRed, -1.3, 0.2, 1.7, -0.9);
        ExpectExactRestore(line, *image);
    }
    {
        SCOPED_TRACE("arrow");
        TVectorArrow2D arrow(clTeal, 0.1, -1.5, 1.2, 1.4);
        ExpectExactRestore(arrow, *image);
    }
    for (uint8_t type = 0; type <= 6; ++type) {
        SCOPED_TRACE("mark type " + std::to_string(type));
        TMark mark(4, 0.3, 0.7, TMarkType(type), clBlue);
        ExpectExactRestore(mark, *image);
    }
    {
        SCOPED_TRACE("triangle");
        ExpectExactRestore(*MakeTriangle(), *image);
    }
    for (bool axes : {true, false}) {
        SCOPED_TRACE(axes ? "ellipse with axes" : "ellipse");
        TEllipse2 ellipse(clBlack, 0.2, -0.1, 1.3, 0.4, -0.2, 0.7, 1, axes);
        ExpectExactRestore(ellipse, *image);
    }
    {
        SCOPED_TRACE("parallelogram");
        TParallelogram p(3, -0.5, -0.5, 1, -0.2, -0.1, 1.2, TMarkType::Square, clBlue, clBlack);
        ExpectExactRestore(p, *image);
    }
    {
        SCOPED_TRACE("parallelogram with ellipse");
        TParallelogram2 p(3, -0.5, -0.5, 1, -0.2, -0.1, 1.2, TMarkType::Square, clBlue, clBlack);
        ExpectExactRestore(p, *image);
    }
}

TEST(Shapes, PointIsPaintedNotXored)
{
    auto image = MakeSurface();
    image->d2Clear();
    image->Brush().Color = clSilver;
    image->d2Clear();
    TrPoint2D point(clRed, 0.5, -0.5);
    const int px = image->WindowX(0.5), py = image->WindowY(-0.5);
    point.Draw(*image);
    EXPECT_EQ(image->DrawingCanvas().Pixel(px, py), clRed);
    EXPECT_TRUE(point.HitTest(px, py, *image));
    EXPECT_FALSE(point.HitTest(px + 1, py, *image));
    // The erase paints the pixel in the surface's own pen colour.
    image->SetPenColor(clBlue);
    point.Erase(*image);
    EXPECT_EQ(image->DrawingCanvas().Pixel(px, py), clBlue);
    EXPECT_FALSE(point.HitTest(px, py, *image));
    EXPECT_TRUE(SamePen(image->Pen(), TPen{clBlue, 1, TPenStyle::Solid, TPenMode::Copy}));
    EXPECT_EQ(point.Length(), 0);
}

TEST(Shapes, PenIsPutBackOrLeftAsEachShapeSays)
{
    auto image = MakeSurface();
    const TPen surfacePen{0x123456, 1, TPenStyle::Solid, TPenMode::Copy};
    TLine2D line(clRed, 0, 0, 1, 1);
    TVectorArrow2D arrow(clRed, 0, 0, 1, -1);
    TMark circle(3, 0, 0, TMarkType::Circle, clRed);
    TMark square(3, 0, 0, TMarkType::Square, clRed);
    TPointList2D list;
    list.Add(std::make_unique<TLine2D>(clGreen, -1, 0, 0, -1));
    for (TrPoint2D* s : std::initializer_list<TrPoint2D*>{&line, &arrow, &circle, &square}) {
        image->Pen() = surfacePen;
        s->Draw(*image);
        EXPECT_TRUE(SamePen(image->Pen(), surfacePen));
        s->Erase(*image);
        EXPECT_TRUE(SamePen(image->Pen(), surfacePen));
    }
    image->Pen() = surfacePen;
    list.Draw(*image);
    EXPECT_TRUE(SamePen(image->Pen(), surfacePen));
    list.Erase(*image);

    // The ellipse and the parallelogram leave a not-xor pen in their
    // last colour.
    TEllipse2 ellipse(0x0000AA, 0, 0, 1, 0, 0, 1, 1, true);
    image->Pen() = surfacePen;
    ellipse.Draw(*image);
    EXPECT_TRUE(SamePen(image->Pen(), TPen{0x0000AA, 1, TPenStyle::Solid, TPenMode::NotXor}));
    ellipse.Erase(*image);
    TParallelogram p(3, 0, 0, 1, 0, 0, 1, TMarkType::Square, clBlue, 0x00AA00);
    image->Pen() = surfacePen;
    p.Draw(*image);
    EXPECT_TRUE(SamePen(image->Pen(), TPen{0x00AA00, 1, TPenStyle::Solid, TPenMode::NotXor}));
    p.Erase(*image);
}

TEST(Shapes, ChangedShapesStayDrawnAndLeaveNoTrace)
{
    auto image = MakeSurface();
    DrawBusyBackground(*image);
    const TTransformMatrix shear = MakeTensor2D(1, 0.5, 0, 1);
    const TTransformMatrix rotation = MakeTensor2D(0, -1, 1, 0);

    TLine2D line(clRed, -1.3, 0.2, 1.7, -0.9);
    ExpectRedrawnWithoutTrace(line, *image, [&] { line.MoveTo(*image, 0.4, 1.5); });
    ExpectRedrawnWithoutTrace(line, *image, [&] { line.SetEnds(*image, -1, -1, 0.5, 1.8); });
    ExpectRedrawnWithoutTrace(line, *image, [&] { line.Transform(rotation, *image); });
    TVectorArrow2D arrow(clTeal, 0.1, -1.5, 1.2, 1.4);
    ExpectRedrawnWithoutTrace(arrow, *image, [&] { arrow.Transform(shear, *image); });
    ExpectRedrawnWithoutTrace(arrow, *image, [&] { arrow.SetEnds(*image, 1, 1, -1, 0.2); });
    TMark mark(3, 0.3, 0.7, TMarkType::Diamond, clBlue);
    ExpectRedrawnWithoutTrace(mark, *image, [&] { mark.MoveTo(*image, -1, -1.2); });
    ExpectRedrawnWithoutTrace(mark, *image, [&] { mark.Transform(rotation, *image); });
    auto triangle = MakeTriangle();
    ExpectRedrawnWithoutTrace(*triangle, *image, [&] { triangle->Transform(shear, *image); });
    TEllipse2 ellipse(clBlack, 0, 0, 1, 0, 0, 1, 1, true);
    ExpectRedrawnWithoutTrace(ellipse, *image, [&] { ellipse.Transform(shear, *image); });
    ExpectRedrawnWithoutTrace(ellipse, *image, [&] { ellipse.MoveCentre(*image, 0.3, -0.2); });
    ExpectRedrawnWithoutTrace(ellipse, *image,
                              [&] { ellipse.SetDeformation(IdentityMatrix2D(), *image); });
    ExpectRedrawnWithoutTrace(ellipse, *image, [&] { ellipse.HideAxes(*image); });
    ExpectRedrawnWithoutTrace(ellipse, *image, [&] { ellipse.ShowAxes(*image); });
    auto square = MakeUnitSquare();
    ExpectRedrawnWithoutTrace(*square, *image, [&] { square->Transform(shear, *image); });
    ExpectRedrawnWithoutTrace(*square, *image,
                              [&] { square->SetEdges(IdentityMatrix2D(), *image); });
    ExpectRedrawnWithoutTrace(*square, *image, [&] { square->SetVertex(3, *image, -0.5, 1); });
    ExpectRedrawnWithoutTrace(*square, *image, [&] { square->MoveVertex(2, *image, 1.5, 0.5); });
    ExpectRedrawnWithoutTrace(*square, *image, [&] { square->MoveVertex(4, *image, -1, -1); });
    TParallelogram plain(2, 0, 0, 1, 0, 0, 1, TMarkType::Plus, clBlue, clBlack);
    ExpectRedrawnWithoutTrace(plain, *image, [&] { plain.MoveVertex(3, *image, 0.5, 1.5); });
    ExpectRedrawnWithoutTrace(plain, *image, [&] { plain.Transform(rotation, *image); });

    // The moved shape looks exactly like one made at the new place.
    TLine2D fresh(clRed, -1, -1, 0.5, 1.8);
    const QImage expected = DrawnAlone(fresh, *image);
    line.Draw(*image);
    line.SetEnds(*image, -1, -1, 0.5, 1.8);
    EXPECT_EQ(image->Bitmap(), expected);
}

TEST(Shapes, FailedTransformKeepsTheShape)
{
    auto image = MakeSurface();
    TLine2D line(clRed, 0.5, 0.25, 1, -1);
    line.Draw(*image);
    const QImage drawn = Picture(*image);
    TTransformMatrix wrong = MakeTensor2D(1, 0, 0, 1);
    wrong.Size = 4;
    EXPECT_THROW(line.Transform(wrong, *image), EMatrixError);
    EXPECT_TRUE(line.Drawn());
    EXPECT_EQ(line.X(), 0.5);
    EXPECT_EQ(line.EndPoint().Elem[2], -1);
    EXPECT_EQ(image->Bitmap(), drawn);
}

// ---- lines, arrows and marks ---------------------------------------------

TEST(Line2D, MovesAndTransforms)
{
    auto image = MakeSurface();
    TLine2D line(clBlack, 1, 0, 2, 3);
    line.MoveTo(*image, -1, -2);
    EXPECT_EQ(line.X(), -1);
    EXPECT_EQ(line.Y(), -2);
    EXPECT_EQ(line.EndPoint().Elem[1], 2);
    EXPECT_EQ(line.EndPoint().Elem[2], 3);
    EXPECT_FALSE(line.Drawn());

    TLine2D turned(clBlack, 1, 0, 0, 2);
    turned.Transform(IdentityMatrix2D(), *image);
    EXPECT_EQ(turned.X(), 1);
    EXPECT_EQ(turned.EndPoint().Elem[2], 2);
    turned.Transform(MakeTensor2D(0, -1, 1, 0), *image);
    EXPECT_EQ(turned.X(), 0);
    EXPECT_EQ(turned.Y(), 1);
    EXPECT_EQ(turned.EndPoint().Elem[1], -2);
    EXPECT_EQ(turned.EndPoint().Elem[2], 0);
    EXPECT_EQ(image->Bitmap().pixel(109, 107), 0xFFFFFFFFu); // nothing painted

    EXPECT_DOUBLE_EQ(TLine2D(clBlack, 0, 0, 3, 4).Length(), 5);
    EXPECT_EQ(TLine2D(clBlack, 1, 1, 1 + 5e-7, 1 + 5e-7).Length(), 0);
}

TEST(Line2D, HitTestNearTheSegment)
{
    auto image = MakeSurface();
    TLine2D line(clBlack, 0, -1, 0, 1);
    const int px = image->WindowX(0), middle = image->WindowY(0);
    EXPECT_FALSE(line.HitTest(px, middle, *image));
    line.Draw(*image);
    EXPECT_TRUE(line.HitTest(px, middle, *image));
    EXPECT_TRUE(line.HitTest(px + 2, middle, *image));
    EXPECT_TRUE(line.HitTest(px - 2, middle, *image));
    EXPECT_FALSE(line.HitTest(px + 4, middle, *image));
    EXPECT_FALSE(line.HitTest(px - 4, middle, *image));
    EXPECT_FALSE(line.HitTest(px, image->WindowY(1.2), *image));
    EXPECT_FALSE(line.HitTest(px, image->WindowY(-1.2), *image));
    EXPECT_TRUE(line.HitTest(px + 1, image->WindowY(0.95), *image));
}

// A field painted as one mask paints what its arrows paint one by one, bit
// for bit: random arrows, some off the picture, some repeated (an even
// repeat paints nothing), on a busy background, drawn, erased, drawn again
// after the window moves, forgotten and drawn after a clear; one case of two
// colours, painted arrow by arrow, and one large enough to be walked on two
// threads.
TEST(LineField, PaintsAsItsArrowsOneByOneOnRandomFields)
{
    struct TCase {
        int Arrows, Width, Height;
        double Reach; // arrows end within this distance of the origin
        bool TwoColours;
    };
    const TCase cases[] = {{0, 218, 214, 2, false},     {1, 218, 214, 2, false},
                           {300, 218, 214, 3.5, false}, {3000, 218, 214, 3, false},
                           {400, 218, 214, 2, true},    {20000, 960, 940, 3, false}};
    std::mt19937 random(7);
    for (const TCase& c : cases) {
        std::uniform_real_distribution<double> at(-c.Reach, c.Reach);
        TLineField field;
        TPointList2D reference;
        for (int i = 0; i < c.Arrows; ++i) {
            const double x = at(random), y = at(random);
            const double x2 = random() % 8 == 0 ? x : at(random), y2 = at(random);
            const TColor colour = c.TwoColours && i % 2 ? clRed : clTeal;
            for (unsigned n = random() % 4 == 0 ? 1 + random() % 3 : 1; n > 0; --n) {
                field.Add(std::make_unique<TVectorArrow2D>(colour, x, y, x2, y2));
                reference.Add(std::make_unique<TVectorArrow2D>(colour, x, y, x2, y2));
            }
        }
        auto image = MakeSurface(-2, -2, 2, 2, c.Width, c.Height);
        auto expected = MakeSurface(-2, -2, 2, 2, c.Width, c.Height);
        const auto both = [&](const std::function<void(TPointList2D&, TMathImage&)>& Step) {
            Step(field, *image);
            Step(reference, *expected);
            EXPECT_EQ(field.Drawn(), reference.Drawn());
            for (int i = 1; i <= field.Count(); i += 97)
                EXPECT_EQ(field.GetPoint(i)->Drawn(), reference.GetPoint(i)->Drawn());
            ASSERT_EQ(image->Bitmap(), expected->Bitmap()) << c.Arrows << " arrows";
        };
        both([](TPointList2D&, TMathImage& Image) { DrawBusyBackground(Image); });
        both([](TPointList2D& F, TMathImage& Image) { F.Draw(Image); });
        both([](TPointList2D& F, TMathImage& Image) { F.Erase(Image); });
        both([](TPointList2D& F, TMathImage& Image) {
            Image.d2SetWorld(-1.5, -2.5, 2.5, 1.5);
            F.Draw(Image);
        });
        both([](TPointList2D& F, TMathImage& Image) {
            F.Forget();
            DrawPanelAxes(Image);
            F.Draw(Image);
        });
        both([](TPointList2D& F, TMathImage& Image) { F.Erase(Image); });
    }
}

TEST(VectorArrow2D, BarbsAreHalfTheShaftAtTwelveThirteenthsOfPi)
{
    struct TCase {
        double X1, Y1, X2, Y2;
    };
    for (const TCase c :
         {TCase{0, 0, 1, 0}, TCase{0.2, -0.3, -1.1, 0.9}, TCase{1.5, 1.5, 1.5, -1}}) {
        auto image = MakeSurface();
        DrawBusyBackground(*image);
        auto reference = MakeSurface();
        DrawBusyBackground(*reference);

        TVectorArrow2D arrow(clTeal, c.X1, c.Y1, c.X2, c.Y2);
        arrow.Draw(*image);

        // The same strokes, the barb ends computed independently.
        const double back = std::atan2(c.Y1 - c.Y2, c.X1 - c.X2);
        const double half = std::hypot(c.X2 - c.X1, c.Y2 - c.Y1) / 2;
        reference->DrawingCanvas().Pen.Mode = TPenMode::NotXor;
        reference->SetPenColor(clTeal);
        reference->d2MoveTo(c.X1, c.Y1);
        reference->d2LineTo(c.X2, c.Y2);
        for (double side : {M_PI / 13, -M_PI / 13}) {
            reference->d2MoveTo(c.X2, c.Y2);
            reference->d2LineTo(c.X2 + half * std::cos(back + side),
                                c.Y2 + half * std::sin(back + side));
        }
        EXPECT_EQ(image->Bitmap(), reference->Bitmap()) << c.X1 << "," << c.Y1;
    }
    // The first case as the figures say.
    EXPECT_NEAR(1 - 0.5 * std::cos(M_PI / 13), 0.5145, 5e-5);
    EXPECT_NEAR(0.5 * std::sin(M_PI / 13), 0.1197, 5e-5);

    auto image = MakeSurface();
    DrawBusyBackground(*image);
    const QImage before = Picture(*image);
    TVectorArrow2D zero(clTeal, 0.5, 0.5, 0.5, 0.5);
    zero.Draw(*image);
    EXPECT_EQ(image->Bitmap(), before);
    EXPECT_TRUE(zero.Drawn());

    // An arrow hits along its shaft only.
    TVectorArrow2D arrow(clTeal, 0, 0, 1, 0);
    arrow.Draw(*image);
    EXPECT_TRUE(arrow.HitTest(image->WindowX(0.5), image->WindowY(0), *image));
    EXPECT_FALSE(arrow.HitTest(image->WindowX(0.6), image->WindowY(0.1), *image));
}

TEST(Mark, SquareOutlineAndHitBox)
{
    auto image = MakeSurface();
    TMark mark(3, 0.5, 0.5, TMarkType::Square, clBlue);
    const int px = image->WindowX(0.5), py = image->WindowY(0.5);
    EXPECT_FALSE(mark.HitTest(px, py, *image));
    mark.Draw(*image);
    const TCanvas& c = image->DrawingCanvas();
    for (int y = py - 5; y <= py + 5; ++y)
        for (int x = px - 5; x <= px + 5; ++x) {
            const bool inBox = std::abs(x - px) <= 3 && std::abs(y - py) <= 3;
            const bool border = inBox && (std::abs(x - px) == 3 || std::abs(y - py) == 3);
            EXPECT_EQ(c.Pixel(x, y), border ? clBlue : clWhite) << x - px << "," << y - py;
            EXPECT_EQ(mark.HitTest(x, y, *image), inBox) << x - px << "," << y - py;
        }
}

TEST(Mark, FiguresOfEveryType)
{
    // Pixels of each figure of size 4 on white, relative to its centre.
    const auto painted = [](uint8_t Type) {
        auto image = MakeSurface();
        TMark mark(4, 0, 0, TMarkType(Type), clRed);
        mark.Draw(*image);
        std::vector<std::pair<int, int>> at;
        for (int y = -6; y <= 6; ++y)
            for (int x = -6; x <= 6; ++x)
                if (image->DrawingCanvas().Pixel(109 + x, 107 + y) == clRed) at.emplace_back(x, y);
        return at;
    };
    const auto has = [](const std::vector<std::pair<int, int>>& At, int X, int Y) {
        return std::find(At.begin(), At.end(), std::make_pair(X, Y)) != At.end();
    };
    const auto plus = painted(0);
    EXPECT_EQ(plus.size(), 14u);   // two lines of 8 pixels crossing at the centre,
    EXPECT_FALSE(has(plus, 0, 0)); // which the not-xor pen paints twice
    EXPECT_TRUE(has(plus, -4, 0) && has(plus, 0, -4) && !has(plus, 4, 0));
    const auto cross = painted(1);
    EXPECT_TRUE(has(cross, -4, -4) && has(cross, 4, -4) && !has(cross, 0, 0));
    const auto diamond = painted(3);
    EXPECT_EQ(diamond.size(), 16u);
    EXPECT_TRUE(has(diamond, -4, 0) && has(diamond, 0, 4) && has(diamond, 4, 0) &&
                has(diamond, 0, -4));
    const auto up = painted(4), down = painted(5);
    EXPECT_TRUE(has(up, 0, -4) && has(up, -4, 4) && has(up, 4, 4) && has(up, 0, 4));
    EXPECT_TRUE(has(down, 0, 4) && has(down, -4, -4) && has(down, 4, -4) && has(down, 0, -4));
    EXPECT_FALSE(has(up, 0, 0) || has(down, 0, 0) || has(up, 0, 5) || has(down, 0, -5));
    const auto circle = painted(6);
    EXPECT_GT(circle.size(), 16u);
    EXPECT_FALSE(has(circle, 0, 0));
    for (const auto& p : circle)
        EXPECT_LE(std::max(std::abs(p.first), std::abs(p.second)), 4);
    EXPECT_EQ(painted(7), (std::vector<std::pair<int, int>>{{0, 0}}));
    EXPECT_TRUE(painted(8).empty());
}

TEST(Mark, HugeSizesStayWithinThePixelRange)
{
    // A plus larger than the surface crosses it from edge to edge; its
    // centre pixel is painted twice and shows the background.
    auto image = MakeSurface();
    const QImage blank = Picture(*image);
    TMark plus(std::numeric_limits<int>::max(), 0, 0, TMarkType::Plus, clRed);
    plus.Draw(*image);
    const TCanvas& c = image->DrawingCanvas();
    for (int x = 0; x < PanelWidth; ++x)
        ASSERT_EQ(c.Pixel(x, 107), x == 109 ? clWhite : clRed) << x;
    for (int y = 0; y < PanelHeight; ++y)
        ASSERT_EQ(c.Pixel(109, y), y == 107 ? clWhite : clRed) << y;
    // Its hit box is the whole surface.
    EXPECT_TRUE(plus.HitTest(0, 0, *image));
    EXPECT_TRUE(plus.HitTest(PanelWidth - 1, PanelHeight - 1, *image));
    plus.Erase(*image);
    EXPECT_EQ(image->Bitmap(), blank);

    // Figures far beyond the surface cost no more than ones at its edge.
    const auto start = std::chrono::steady_clock::now();
    for (uint8_t type = 0; type <= 6; ++type) {
        TMark mark(100000000, 0.5, -0.5, TMarkType(type), clBlue);
        mark.Draw(*image);
        mark.Erase(*image);
        EXPECT_EQ(image->Bitmap(), blank) << int(type);
    }
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);

    TMark negative(std::numeric_limits<int>::min(), 0, 0, TMarkType::Square, clRed);
    negative.Draw(*image);
    negative.Erase(*image);
    EXPECT_EQ(image->Bitmap(), blank);
}

TEST(Shapes, DisposeErasesAndReleases)
{
    auto image = MakeSurface();
    DrawBusyBackground(*image);
    const QImage before = Picture(*image);
    TrPoint2D* arrow = new TVectorArrow2D(clRed, -1, 1, 1, -1);
    arrow->Draw(*image);
    EXPECT_NE(image->Bitmap(), before);
    arrow->Dispose(*image);
    EXPECT_EQ(image->Bitmap(), before);
}

// ---- lists -----------------------------------------------------------------

class TCountedPoint : public TrPoint2D {
public:
    explicit TCountedPoint(int& Released) : TrPoint2D(clBlack, 0, 0), FReleased(Released) {}
    ~TCountedPoint() override { ++FReleased; }

private:
    int& FReleased;
};

TEST(PointList2D, OwnsItsMembers)
{
    int released = 0;
    {
        TPointList2D list;
        for (int i = 0; i < 3; ++i)
            list.Add(std::make_unique<TCountedPoint>(released));
        EXPECT_EQ(list.Count(), 3);
    }
    EXPECT_EQ(released, 3);

    auto image = MakeSurface();
    DrawBusyBackground(*image);
    const QImage before = Picture(*image);
    auto triangle = MakeTriangle();
    triangle->Draw(*image);
    triangle->DeleteAll(*image);
    EXPECT_EQ(triangle->Count(), 0);
    EXPECT_FALSE(triangle->Drawn());
    EXPECT_EQ(image->Bitmap(), before);

    TEllipse2 ellipse(clBlack, 0, 0, 1, 0, 0, 1, 1, true);
    EXPECT_EQ(ellipse.Count(), 2); // its axis lines, released with it
}

TEST(PointList2D, GetPointOutOfRangeShowsAMessage)
{
    MessageRecorder recorder;
    auto triangle = MakeTriangle();
    EXPECT_EQ(triangle->GetPoint(0), nullptr);
    EXPECT_EQ(triangle->GetPoint(4), nullptr);
    EXPECT_EQ(triangle->GetPoint(1)->Color(), clGreen);
    EXPECT_EQ(triangle->GetPoint(3)->Color(), clRed);
    auto square = MakeUnitSquare();
    EXPECT_EQ(square->GetPoint(4), nullptr);
    EXPECT_EQ(recorder.texts(),
              (std::vector<std::string>{"Index out of range (0)TPointList2D.GetPoint",
                                        "Index out of range (4)TPointList2D.GetPoint",
                                        "Index out of range (4)TPointList2D.GetPoint"}));
}

TEST(PointList2D, DrawnFlagAndTransforms)
{
    auto image = MakeSurface();
    DrawBusyBackground(*image);
    const QImage before = Picture(*image);
    TPointList2D empty;
    empty.Draw(*image);
    EXPECT_TRUE(empty.Drawn());
    empty.Erase(*image);
    EXPECT_FALSE(empty.Drawn());
    EXPECT_EQ(image->Bitmap(), before);

    auto triangle = MakeTriangle();
    triangle->Transform(MakeTensor2D(2, 0, 0, 2), *image);
    EXPECT_EQ(image->Bitmap(), before);
    EXPECT_FALSE(triangle->Drawn());
    EXPECT_EQ(triangle->GetPoint(1)->Y(), 2);
    EXPECT_FALSE(triangle->GetPoint(1)->Drawn());

    triangle->Draw(*image);
    const QImage drawn = Picture(*image);
    triangle->Transform(IdentityMatrix2D(), *image);
    EXPECT_TRUE(triangle->Drawn());
    EXPECT_EQ(image->Bitmap(), drawn);
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(triangle->GetPoint(i)->Drawn());
}

// ---- ellipse ---------------------------------------------------------------

// The ends of a line member.
std::array<double, 4> Ends(const TrPoint2D* Line)
{
    const auto* line = dynamic_cast<const TLine2D*>(Line);
    return {line->X(), line->Y(), line->EndPoint().Elem[1], line->EndPoint().Elem[2]};
}

TEST(Ellipse2, CircleWithVerticalMajorAxis)
{
    TEllipse2 circle(clBlack, 0, 0, 1, 0, 0, 1, 1, true);
    EXPECT_EQ(circle.Inclination(), 1.5707963267948966);
    const auto major = Ends(circle.GetPoint(1)), minor = Ends(circle.GetPoint(2));
    EXPECT_NEAR(major[0], 0, 1e-15);
    EXPECT_EQ(major[1], -1);
    EXPECT_EQ(major[3], 1);
    EXPECT_EQ(minor[0], 1);
    EXPECT_NEAR(minor[1], 0, 1e-15);
    EXPECT_EQ(minor[2], -1);

    // The curve passes through the four pixels at radius 1.
    auto image = MakeSurface();
    circle.HideAxes(*image);
    circle.Draw(*image);
    const TCanvas& c = image->DrawingCanvas();
    for (const auto& p : {std::make_pair(1.0, 0.0), std::make_pair(0.0, 1.0),
                          std::make_pair(-1.0, 0.0), std::make_pair(0.0, -1.0)})
        EXPECT_EQ(c.Pixel(image->WindowX(p.first), image->WindowY(p.second)), clBlack);
    EXPECT_EQ(c.Pixel(image->WindowX(0.5), image->WindowY(0)), clWhite);
    circle.ShowAxes(*image);
    EXPECT_EQ(c.Pixel(image->WindowX(0.5), image->WindowY(0)), clBlack); // minor axis
    EXPECT_EQ(c.Pixel(image->WindowX(0), image->WindowY(0.5)), clBlack); // major axis
    EXPECT_EQ(c.Pixel(image->WindowX(0.5), image->WindowY(0.5)), clWhite);
}

TEST(Ellipse2, SimpleShearIncrement)
{
    Separators separators(".", ",");
    auto image = MakeSurface();
    DrawBusyBackground(*image);
    const QImage background = Picture(*image);
    TEllipse2 ellipse(clBlack, 0, 0, 1, 0, 0, 1, 1, true);
    ellipse.Draw(*image);
    ellipse.Transform(MakeTensor2D(1, 1, 0, 1), *image);
    EXPECT_TRUE(ellipse.Drawn());
    EXPECT_NEAR(ellipse.MajorSemiAxis(), 1.6180340, 1e-7);
    EXPECT_NEAR(ellipse.MinorSemiAxis(), 0.6180340, 1e-7);
    EXPECT_NEAR(ellipse.AxialRatio(), 2.6180340, 1e-7);
    EXPECT_NEAR(RadToDeg(ellipse.Inclination()), 31.72, 0.005);
    EXPECT_EQ(ellipse.InclinationText(2), "31.72");
    EXPECT_EQ(ellipse.AxialRatioText(7), "2.62");

    // The major axis line runs along the inclination.
    const double a = ellipse.MajorSemiAxis(), theta = ellipse.Inclination();
    const auto major = Ends(ellipse.GetPoint(1));
    EXPECT_NEAR(major[2], a * std::cos(theta), 1e-15);
    EXPECT_NEAR(major[3], a * std::sin(theta), 1e-15);
    const double b = ellipse.MinorSemiAxis();
    const auto minor = Ends(ellipse.GetPoint(2));
    EXPECT_NEAR(minor[2], -b * std::sin(theta), 1e-15);
    EXPECT_NEAR(minor[3], b * std::cos(theta), 1e-15);

    // A hit on either axis line, none elsewhere or with the axes hidden.
    const int hx = image->WindowX(0.8 * a * std::cos(theta));
    const int hy = image->WindowY(0.8 * a * std::sin(theta));
    EXPECT_TRUE(ellipse.HitTest(hx, hy, *image));
    EXPECT_TRUE(ellipse.HitTest(image->WindowX(-0.5 * b * std::sin(theta)),
                                image->WindowY(0.5 * b * std::cos(theta)), *image));
    EXPECT_FALSE(ellipse.HitTest(image->WindowX(-1), image->WindowY(1), *image));
    ellipse.HideAxes(*image);
    EXPECT_FALSE(ellipse.HitTest(hx, hy, *image));
    EXPECT_TRUE(ellipse.Drawn());

    // The picture is that of an ellipse made with this deformation.
    const QImage shown = Picture(*image);
    ellipse.Erase(*image);
    EXPECT_EQ(image->Bitmap(), background);
    TEllipse2 fresh(clBlack, 0, 0, 1, 1, 0, 1, 1, false);
    EXPECT_EQ(DrawnAlone(fresh, *image), shown);
}

TEST(Ellipse2, CurveOf37PointsAndAxesAboutTheCentre)
{
    const double cx = 0.3, cy = -0.2, r = 1.2;
    const double f11 = 1.5, f12 = 0.5, f21 = 0.2, f22 = 0.8;
    auto image = MakeSurface();
    TEllipse2 ellipse(clBlack, cx, cy, f11, f12, f21, f22, r, true);

    // The curve: c + R F (cos a, sin a) at a = 0, 10, ..., 360 degrees, one
    // closed polyline in a not-xor pen.
    auto expected = MakeSurface();
    std::vector<TPoint> points;
    for (int degrees = 0; degrees <= 360; degrees += 10) {
        const double a = degrees * M_PI / 180;
        points.push_back({expected->WindowX(cx + r * (f11 * std::cos(a) + f12 * std::sin(a))),
                          expected->WindowY(cy + r * (f21 * std::cos(a) + f22 * std::sin(a)))});
    }
    ASSERT_EQ(points.size(), 37u);
    expected->DrawingCanvas().Pen.Mode = TPenMode::NotXor;
    expected->DrawingCanvas().Polyline(points);
    ellipse.HideAxes(*image);
    ellipse.Draw(*image);
    EXPECT_EQ(image->Bitmap(), expected->Bitmap());
    ellipse.Erase(*image);

    // The axes from the principal values and direction of B = F F^T,
    // computed here in closed form.
    const double b11 = f11 * f11 + f12 * f12, b12 = f11 * f21 + f12 * f22,
                 b22 = f21 * f21 + f22 * f22;
    const double mean = (b11 + b22) / 2, radius = std::hypot((b11 - b22) / 2, b12);
    const double a = r * std::sqrt(mean + radius), b = r * std::sqrt(mean - radius);
    const double theta = std::atan2(2 * b12, b11 - b22) / 2;
    EXPECT_NEAR(ellipse.Inclination(), theta, 1e-12);
    const auto major = Ends(ellipse.GetPoint(1)), minor = Ends(ellipse.GetPoint(2));
    const std::array<double, 4> majorExpected = {cx - a * std::cos(theta), cy - a * std::sin(theta),
                                                 cx + a * std::cos(theta),
                                                 cy + a * std::sin(theta)};
    const std::array<double, 4> minorExpected = {cx + b * std::sin(theta), cy - b * std::cos(theta),
                                                 cx - b * std::sin(theta),
                                                 cy + b * std::cos(theta)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(major[i], majorExpected[i], 1e-12) << i;
        EXPECT_NEAR(minor[i], minorExpected[i], 1e-12) << i;
    }
    // Moved with the centre.
    ellipse.MoveCentre(*image, -0.5, 0.75);
    const auto moved = Ends(ellipse.GetPoint(1));
    EXPECT_NEAR(moved[0], -0.5 - a * std::cos(theta), 1e-12);
    EXPECT_NEAR(moved[3], 0.75 + a * std::sin(theta), 1e-12);
}

TEST(Ellipse2, ZeroIncrementOnlyMovesTheCentre)
{
    auto image = MakeSurface();
    DrawBusyBackground(*image);
    TEllipse2 ellipse(clBlack, 0.5, 0.3, 1.2, 0.3, 0, 0.8, 1, true);
    TEllipse2 atOrigin(clBlack, 0, 0, 1.2, 0.3, 0, 0.8, 1, true);
    const QImage expected = DrawnAlone(atOrigin, *image);
    ellipse.Draw(*image);
    ellipse.Transform(MakeTensor2D(0, 0, 0, 0), *image);
    EXPECT_TRUE(ellipse.Drawn());
    EXPECT_EQ(ellipse.Strain().Deformation.Elem[1][1], 1.2);
    EXPECT_EQ(ellipse.Strain().Deformation.Elem[1][2], 0.3);
    EXPECT_EQ(ellipse.Strain().Centre.Elem[1], 0);
    EXPECT_EQ(ellipse.Strain().Centre.Elem[2], 0);
    EXPECT_EQ(image->Bitmap(), expected);
}

TEST(Ellipse2, AxesShownOrHidden)
{
    auto image = MakeSurface();
    const QImage blank = Picture(*image);
    TEllipse2 ellipse(clBlack, 0, 0, 1, 0.5, 0, 1, 1, false);
    ellipse.ShowAxes(*image);
    EXPECT_EQ(image->Bitmap(), blank);
    EXPECT_TRUE(ellipse.AxesShown());
    ellipse.Draw(*image);
    const QImage withAxes = Picture(*image);
    ellipse.HideAxes(*image);
    TEllipse2 curveOnly(clBlack, 0, 0, 1, 0.5, 0, 1, 1, false);
    ellipse.Erase(*image);
    EXPECT_EQ(image->Bitmap(), blank);
    const QImage curve = DrawnAlone(curveOnly, *image);
    EXPECT_NE(curve, withAxes);
    ellipse.Draw(*image);
    EXPECT_EQ(image->Bitmap(), curve);
}

// ---- parallelograms --------------------------------------------------------

void ExpectVertex(TParallelogram2& P, int Index, double X, double Y)
{
    EXPECT_NEAR(P.GetPoint(Index)->X(), X, 1e-15) << "vertex " << Index;
    EXPECT_NEAR(P.GetPoint(Index)->Y(), Y, 1e-15) << "vertex " << Index;
}

TEST(Parallelogram2, UnitSquareAndItsCircle)
{
    auto square = MakeUnitSquare();
    EXPECT_FALSE(square->Drawn());
    ExpectVertex(*square, 1, 0, 0);
    ExpectVertex(*square, 2, 1, 0);
    ExpectVertex(*square, 3, 0, 1);
    const TEllipse2& circle = square->Ellipse();
    EXPECT_EQ(circle.Strain().Centre.Elem[1], 0.5);
    EXPECT_EQ(circle.Strain().Centre.Elem[2], 0.5);
    EXPECT_EQ(circle.MajorSemiAxis(), 0.5);
    EXPECT_EQ(circle.MinorSemiAxis(), 0.5);
    EXPECT_TRUE(circle.AxesShown());
    EXPECT_EQ(circle.Color(), clBlack);
    EXPECT_EQ(square->GetPoint(1)->Color(), clBlue);

    // Its edges: blue at the origin, black far edges, and the circle
    // touching each edge at its middle.
    auto image = MakeSurface(-1, -1, 2, 2);
    square->Draw(*image);
    EXPECT_TRUE(ColourNear(*image, 0.25, 0, clBlue));
    EXPECT_TRUE(ColourNear(*image, 0, 0.75, clBlue));
    EXPECT_TRUE(ColourNear(*image, 1, 0.25, clBlack));
    EXPECT_TRUE(ColourNear(*image, 0.75, 1, clBlack));
    EXPECT_TRUE(ColourNear(*image, 0.5, 0.75, clBlack)); // axis
    EXPECT_FALSE(ColourNear(*image, 0.25, 0.25, clBlack));
}

TEST(Parallelogram2, SimpleShear)
{
    auto image = MakeSurface(-1, -1, 2, 2);
    auto square = MakeUnitSquare();
    square->Draw(*image);
    square->Transform(MakeTensor2D(1, 1, 0, 1), *image);
    EXPECT_TRUE(square->Drawn());
    ExpectVertex(*square, 1, 0, 0);
    ExpectVertex(*square, 2, 1, 0);
    ExpectVertex(*square, 3, 1, 1);
    // The far corner P2 + P3 - P1 is drawn as the meeting of the far edges.
    EXPECT_TRUE(ColourNear(*image, 1.25, 0.25, clBlack));
    EXPECT_TRUE(ColourNear(*image, 1.75, 1, clBlack));
    EXPECT_TRUE(ColourNear(*image, 0.5, 0.5, clBlue));
    const TEllipse2& e = square->Ellipse();
    EXPECT_EQ(e.Strain().Centre.Elem[1], 1);
    EXPECT_EQ(e.Strain().Centre.Elem[2], 0.5);
    const TTransformMatrix& f = e.Strain().Deformation;
    EXPECT_EQ(f.Elem[1][1], 1);
    EXPECT_EQ(f.Elem[1][2], 1);
    EXPECT_EQ(f.Elem[2][1], 0);
    EXPECT_EQ(f.Elem[2][2], 1);
    EXPECT_NEAR(e.MajorSemiAxis(), 0.809017, 1e-6);
    EXPECT_NEAR(e.MinorSemiAxis(), 0.309017, 1e-6);
    EXPECT_NEAR(e.AxialRatio(), 2.618034, 1e-6);
    Separators separators(".", ",");
    EXPECT_EQ(square->AxialRatioText(0), "2.62");
    EXPECT_EQ(square->InclinationText(1), "31.7");
    TParallelogram plain(3, 0, 0, 1, 0, 0, 1, TMarkType::Square, clBlue, clBlack);
    EXPECT_EQ(plain.AxialRatioText(2), "");
    EXPECT_EQ(plain.InclinationText(2), "");

    // Back to the unit square with its circle, still drawn.
    square->SetEdges(IdentityMatrix2D(), *image);
    EXPECT_TRUE(square->Drawn());
    ExpectVertex(*square, 2, 1, 0);
    ExpectVertex(*square, 3, 0, 1);
    EXPECT_EQ(square->Ellipse().Strain().Centre.Elem[1], 0.5);
    EXPECT_EQ(square->Ellipse().Strain().Centre.Elem[2], 0.5);
    EXPECT_EQ(square->Ellipse().MajorSemiAxis(), 0.5);
    EXPECT_EQ(square->Ellipse().MinorSemiAxis(), 0.5);
    auto fresh = MakeUnitSquare();
    const QImage shown = Picture(*image);
    square->Erase(*image);
    EXPECT_EQ(DrawnAlone(*fresh, *image), shown);
}

TEST(Parallelogram2, MoveVertexTranslatesOrReshapes)
{
    auto image = MakeSurface(-1, -1, 4, 4);
    auto square = MakeUnitSquare();
    square->MoveVertex(1, *image, 2, 2);
    EXPECT_TRUE(square->Drawn());
    ExpectVertex(*square, 1, 2, 2);
    ExpectVertex(*square, 2, 3, 2);
    ExpectVertex(*square, 3, 2, 3);
    EXPECT_EQ(square->Ellipse().Strain().Centre.Elem[1], 2.5);
    EXPECT_EQ(square->Ellipse().Strain().Centre.Elem[2], 2.5);
    EXPECT_EQ(square->Ellipse().MajorSemiAxis(), 0.5);
    EXPECT_TRUE(ColourNear(*image, 3, 2.25, clBlack));
    EXPECT_TRUE(ColourNear(*image, 2.25, 2, clBlue));

    square->MoveVertex(3, *image, 2, 4);
    ExpectVertex(*square, 3, 2, 4);
    EXPECT_EQ(square->Ellipse().Strain().Centre.Elem[2], 3);
    EXPECT_EQ(square->Ellipse().Strain().Deformation.Elem[2][2], 2);
    const QImage before = Picture(*image);
    square->MoveVertex(5, *image, 0, 0);
    ExpectVertex(*square, 1, 2, 2);
    EXPECT_EQ(image->Bitmap(), before);
    EXPECT_TRUE(square->Drawn());
}

TEST(Parallelogram2, SingularTensorKeepsTheEllipse)
{
    auto image = MakeSurface(-1, -1, 2, 2);
    auto square = MakeUnitSquare();
    square->Draw(*image);
    square->Transform(MakeTensor2D(1, 1, 1, 1), *image);
    ExpectVertex(*square, 2, 1, 1);
    ExpectVertex(*square, 3, 1, 1);
    EXPECT_EQ(square->Ellipse().MajorSemiAxis(), 0.5);
    EXPECT_EQ(square->Ellipse().Strain().Centre.Elem[1], 1);
    square->SetEdges(IdentityMatrix2D(), *image);
    ExpectVertex(*square, 3, 0, 1);
    EXPECT_EQ(square->Ellipse().Strain().Centre.Elem[1], 0.5);
    square->Erase(*image);
    EXPECT_EQ(image->Bitmap(), Picture(*MakeSurface(-1, -1, 2, 2)));
}

TEST(Parallelogram2, EmptiedMarkerSkipsTheMissingVertices)
{
    MessageRecorder recorder;
    auto image = MakeSurface(-1, -1, 2, 2);
    const QImage blank = Picture(*image);
    auto square = MakeUnitSquare();
    square->Draw(*image);
    square->DeleteAll(*image);
    EXPECT_EQ(image->Bitmap(), blank);
    square->Add(std::make_unique<TMark>(3, 0, 0, TMarkType::Square, clBlue));

    // One vertex moves; the ellipse keeps its fit to the old square.
    EXPECT_NO_THROW(square->SetVertex(1, *image, 0.5, 0.25));
    ExpectVertex(*square, 1, 0.5, 0.25);
    EXPECT_EQ(square->Ellipse().Strain().Centre.Elem[1], 0.5);
    EXPECT_EQ(square->Ellipse().MajorSemiAxis(), 0.5);
    EXPECT_NO_THROW(square->SetEdges(IdentityMatrix2D(), *image));
    EXPECT_NO_THROW(square->MoveVertex(1, *image, 1, 1));
    ExpectVertex(*square, 1, 0.5, 0.25);
    EXPECT_TRUE(square->Drawn());
    square->Erase(*image);
    EXPECT_EQ(image->Bitmap(), blank);
    square->SetVertex(2, *image, 1, 1);
    EXPECT_EQ(recorder.texts(),
              std::vector<std::string>{"Index out of range (2)TPointList2D.GetPoint"});
}

// ---- the picture -------------------------------------------------------------

TEST(ScenePicture, FinitePanelWithCircleTriangleAndArrow)
{
    auto image = MakeSurface(-2, -2, 2, 2);
    DrawPanelAxes(*image);
    TEllipse2 circle(clBlack, 0, 0, 1, 0, 0, 1, 1, false);
    auto triangle = MakeTriangle();
    TVectorArrow2D arrow(clRed, 0, 0, 1.5, 1.2);
    circle.Draw(*image);
    triangle->Draw(*image);
    arrow.Draw(*image);

    const QImage shown = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, image->Bitmap()); // painting copies the picture
    const QString path = QStringLiteral(TENSIM_BUILD_DIR) + "/drawing_finite_panel.png";
    ASSERT_TRUE(image->Bitmap().save(path));
    ASSERT_TRUE(image->Bitmap()
                    .scaled(image->width() * 3, image->height() * 3)
                    .save(QStringLiteral(TENSIM_BUILD_DIR) + "/drawing_finite_panel_x3.png"));

    // The incremental panel with the unit square after one increment.
    auto incremental = MakeSurface(-1, -1, 2, 2);
    DrawPanelAxes(*incremental);
    auto square = MakeUnitSquare();
    square->Draw(*incremental);
    square->Transform(MakeTensor2D(1, 0.5, 0, 1), *incremental);
    ASSERT_TRUE(incremental->Bitmap()
                    .scaled(incremental->width() * 3, incremental->height() * 3)
                    .save(QStringLiteral(TENSIM_BUILD_DIR) + "/drawing_incremental_panel_x3.png"));

    EXPECT_TRUE(ColourNear(*image, -1, 0, clBlack));
    EXPECT_TRUE(ColourNear(*image, 0.5 * Cos30, 0.25, clGreen));
    EXPECT_TRUE(ColourNear(*image, -0.5, -Sin30, clBlue));
    EXPECT_TRUE(ColourNear(*image, -0.5 * Cos30, 0.25, clRed));
    EXPECT_TRUE(ColourNear(*image, 0.5, 0.4, clRed));
    EXPECT_TRUE(ColourNear(*image, 0, 1.5, clSilver));
}

} // namespace
} // namespace tensim
