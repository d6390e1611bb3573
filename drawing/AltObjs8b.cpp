#include "drawing/AltObjs8b.h"

#include "math/Messages.h"
#include "math/Scalars.h"
#include "math/Vectors.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace tensim {

namespace {

// The barbs open pi/13 to either side of the backward direction.
constexpr double BarbAngle = 2.8999316802367322203; // 12 pi / 13

void SetNotXorPen(TMathImage& Image, TColor Color)
{
    TPen& pen = Image.DrawingCanvas().Pen;
    pen.Color = Color;
    pen.Mode = TPenMode::NotXor;
}

// Erases a drawn shape, makes the change and draws the shape again: a
// drawn shape stays drawn, at its new place.
template <class TShape, class F> void RedrawAround(TShape& Shape, TMathImage& Image, F&& Change)
{
    const bool drawn = Shape.Drawn();
    if (drawn) Shape.Erase(Image);
    Change();
    if (drawn) Shape.Draw(Image);
}

} // namespace

// ---- TrPoint2D -------------------------------------------------------------

TrPoint2D::TrPoint2D(TColor Color, double X, double Y)
    : FPosition(MakeVector2D(X, Y)), FColor(Color)
{
}

void TrPoint2D::Toggle(TMathImage& Image, bool NowDrawn)
{
    const TCanvasState kept(Image.DrawingCanvas());
    Paint(Image, NowDrawn);
}

void TrPoint2D::Paint(TMathImage& Image, bool NowDrawn)
{
    FDrawn = NowDrawn;
    TCanvas& canvas = Image.DrawingCanvas();
    canvas.Pen.Mode = TPenMode::NotXor;
    if (NowDrawn || ErasesInOwnColor()) canvas.Pen.Color = FColor;
    Strokes(Image);
}

void TrPoint2D::Dispose(TMathImage& Image)
{
    Erase(Image);
    delete this;
}

void TrPoint2D::Draw(TMathImage& Image)
{
    if (!Drawn()) Toggle(Image, true);
}

void TrPoint2D::Erase(TMathImage& Image)
{
    if (Drawn()) Toggle(Image, false);
}

// A point is painted, not xor-ed: the erase paints the pixel again in the
// surface's current pen colour.
void TrPoint2D::Strokes(TMathImage& Image)
{
    Image.d2DrawPoint(X(), Y());
}

void TrPoint2D::MoveTo(TMathImage& Image, double X, double Y)
{
    RedrawAround(*this, Image, [&] { FPosition = MakeVector2D(X, Y); });
}

void TrPoint2D::Transform(const TTransformMatrix& Matrix, TMathImage& Image)
{
    const TTransformVector p = ApplyTransform(FPosition, Matrix);
    MoveTo(Image, p.Elem[1], p.Elem[2]);
}

bool TrPoint2D::HitTest(int PixelX, int PixelY, TMathImage& Image)
{
    return Drawn() && PixelX == Image.WindowX(X()) && PixelY == Image.WindowY(Y());
}

void TrPoint2D::SetEnds(TMathImage&, double, double, double, double) {}

double TrPoint2D::Length()
{
    return 0;
}

// ---- TLine2D ---------------------------------------------------------------

TLine2D::TLine2D(TColor Color, double X1, double Y1, double X2, double Y2)
    : TrPoint2D(Color, X1, Y1), FEndPoint(MakeVector2D(X2, Y2))
{
}

void TLine2D::Strokes(TMathImage& Image)
{
    Image.d2MoveTo(FPosition.Elem[1], FPosition.Elem[2]);
    Image.d2LineTo(FEndPoint.Elem[1], FEndPoint.Elem[2]);
}

void TLine2D::Transform(const TTransformMatrix& Matrix, TMathImage& Image)
{
    const TTransformVector start = ApplyTransform(FPosition, Matrix);
    const TTransformVector end = ApplyTransform(FEndPoint, Matrix);
    SetEnds(Image, start.Elem[1], start.Elem[2], end.Elem[1], end.Elem[2]);
}

bool TLine2D::HitTest(int PixelX, int PixelY, TMathImage& Image)
{
    if (!Drawn()) return false;
    const TTransformVector p = MakeVector2D(Image.WorldX(PixelX), Image.WorldY(PixelY));
    // Three logical pixels.
    const int three = static_cast<int>(DevicePixels(3, Image.PixelRatio()));
    const double tolerance = Image.WorldX(three) - Image.WorldX(0);
    return PointNearSegment(p, FPosition, FEndPoint, tolerance);
}

void TLine2D::SetEnds(TMathImage& Image, double X1, double Y1, double X2, double Y2)
{
    RedrawAround(*this, Image, [&] {
        FPosition = MakeVector2D(X1, Y1);
        FEndPoint = MakeVector2D(X2, Y2);
    });
}

double TLine2D::Length()
{
    const double dx = FPosition.Elem[1] - FEndPoint.Elem[1];
    const double dy = FPosition.Elem[2] - FEndPoint.Elem[2];
    return SnapToZero(std::sqrt(dx * dx + dy * dy));
}

// ---- TVectorArrow2D --------------------------------------------------------

void TVectorArrow2D::Strokes(TMathImage& Image)
{
    TLine2D::Strokes(Image);
    const double x2 = FEndPoint.Elem[1], y2 = FEndPoint.Elem[2];
    const double ends[4] = {FPosition.Elem[1], FPosition.Elem[2], x2, y2};
    if (!FBarbsMade || !std::equal(ends, ends + 4, FBarbsFor)) {
        const double dx = x2 - ends[0], dy = y2 - ends[1];
        const double length = std::sqrt(dx * dx + dy * dy);
        const double barb = Length() / 2;
        if (barb > 0 && std::isfinite(length)) {
            // The arrow's direction turned by the barb angle either way: a
            // rotation of its unit vector, without the angle itself.
            static const double c = std::cos(BarbAngle), s = std::sin(BarbAngle);
            const double ux = dx / length, uy = dy / length;
            FBarbs[0] = MakeVector2D(x2 + barb * (ux * c - uy * s), y2 + barb * (uy * c + ux * s));
            FBarbs[1] = MakeVector2D(x2 + barb * (ux * c + uy * s), y2 + barb * (uy * c - ux * s));
        } else {
            const double theta = VectorAngle(MakeVector2D(dx, dy));
            const double sides[2] = {theta + BarbAngle, theta - BarbAngle};
            for (int i = 0; i < 2; ++i) {
                FBarbs[i] = FEndPoint;
                DisplacePolar(FBarbs[i], sides[i], barb);
            }
        }
        std::copy(ends, ends + 4, FBarbsFor);
        FBarbsMade = true;
    }
    for (const TTransformVector& b : FBarbs) {
        Image.d2MoveTo(x2, y2);
        Image.d2LineTo(b.Elem[1], b.Elem[2]);
    }
}

// ---- TMark -----------------------------------------------------------------

TMark::TMark(int MarkSize, double X, double Y, TMarkType MarkType, TColor Color)
    : TrPoint2D(Color, X, Y), FMarkSize(MarkSize), FMarkType(MarkType)
{
}

// In the mark's colour, which the pen has for both Draw and Erase.
void TMark::Strokes(TMathImage& Image)
{
    TCanvas& canvas = Image.DrawingCanvas();
    const long long px = Image.WindowX(X()), py = Image.WindowY(Y());
    // The mark's size is in logical pixels.
    const long long s = DevicePixels(FMarkSize, Image.PixelRatio());
    // The pixel at (dx, dy) from the mark's own, kept within the surface's
    // pixel range as every world point is: a huge mark size neither
    // overflows nor walks millions of pixels off the picture.
    const auto at = [&](long long DX, long long DY) {
        return TPoint{ClampedPixel(static_cast<double>(px + DX)),
                      ClampedPixel(static_cast<double>(py + DY))};
    };
    const auto path = [&](std::initializer_list<TPoint> Points) {
        canvas.MoveTo(Points.begin()->X, Points.begin()->Y);
        for (auto p = Points.begin() + 1; p != Points.end(); ++p)
            canvas.LineTo(p->X, p->Y);
    };
    switch (FMarkType) {
    case TMarkType::Plus:
        path({at(-s, 0), at(s, 0)});
        path({at(0, -s), at(0, s)});
        break;
    case TMarkType::DiagonalCross:
        path({at(-s, -s), at(s, s)});
        path({at(s, -s), at(-s, s)});
        break;
    case TMarkType::Square:
        path({at(-s, -s), at(s, -s), at(s, s), at(-s, s), at(-s, -s)});
        break;
    case TMarkType::Diamond:
        path({at(-s, 0), at(0, s), at(s, 0), at(0, -s), at(-s, 0)});
        break;
    case TMarkType::TriangleApexUp:
        path({at(0, -s), at(s, s), at(-s, s), at(0, -s)});
        break;
    case TMarkType::TriangleApexDown:
        path({at(0, s), at(s, -s), at(-s, -s), at(0, s)});
        break;
    case TMarkType::Circle: {
        const TPoint topLeft = at(-s, -s), bottomRight = at(s, s);
        canvas.Ellipse(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
        break;
    }
    case TMarkType::Point:
        Image.d2DrawPoint(X(), Y());
        break;
    default:
        break;
    }
}

bool TMark::HitTest(int PixelX, int PixelY, TMathImage& Image)
{
    if (!Drawn()) return false;
    // In 64 bits: no mark size overflows the box.
    const long long px = Image.WindowX(X()), py = Image.WindowY(Y());
    const long long s = DevicePixels(FMarkSize, Image.PixelRatio());
    return px - s <= PixelX && PixelX <= px + s && py - s <= PixelY && PixelY <= py + s;
}

// ---- TPointList2D ----------------------------------------------------------

TrPoint2D* TPointList2D::Add(std::unique_ptr<TrPoint2D> Item)
{
    ++FMembersVersion;
    FItems.push_back(std::move(Item));
    return FItems.back().get();
}

TrPoint2D* TPointList2D::GetPoint(int Index) const
{
    if (Index < 1 || Index > Count()) {
        ShowMessage("Index out of range (" + std::to_string(Index) + ")TPointList2D.GetPoint");
        return nullptr;
    }
    return FItems[Index - 1].get();
}

void TPointList2D::Draw(TMathImage& Image)
{
    if (FDrawn) return;
    Parts(Image, true);
    FDrawn = true;
}

void TPointList2D::Erase(TMathImage& Image)
{
    if (!FDrawn) return;
    Parts(Image, false);
    FDrawn = false;
}

void TPointList2D::Parts(TMathImage& Image, bool Drawing)
{
    for (auto& item : FItems)
        if (Drawing)
            item->Draw(Image);
        else
            item->Erase(Image);
}

void TPointList2D::Transform(const TTransformMatrix& Matrix, TMathImage& Image)
{
    RedrawAround(*this, Image, [&] {
        ++FMembersVersion;
        for (auto& item : FItems)
            item->Transform(Matrix, Image);
    });
}

void TPointList2D::DeleteAll(TMathImage& Image)
{
    Erase(Image);
    ++FMembersVersion;
    FItems.clear();
    FDrawn = false;
}

void TPointList2D::Forget()
{
    for (auto& item : FItems)
        SetDrawnFlag(*item, false);
    FDrawn = false;
}

// ---- TLineField ------------------------------------------------------------

bool TLineField::TMaskKey::operator==(const TMaskKey& K) const
{
    return std::tie(Members, Sx, Sy, Ox, Oy, Clip, Width, Height, PenWidth, PenStyle) ==
           std::tie(K.Members, K.Sx, K.Sy, K.Ox, K.Oy, K.Clip, K.Width, K.Height, K.PenWidth,
                    K.PenStyle);
}

TLineField::TMaskKey TLineField::KeyFor(TMathImage& Image) const
{
    const TWorldDrawing& m = Image.Mapping();
    const TPen& pen = Image.DrawingCanvas().Pen;
    const TRect picture = Image.ClientRect();
    return {MembersVersion(), m.Sx(),        m.Sy(),         m.Ox(),    m.Oy(),
            Image.ClipRect(), picture.Right, picture.Bottom, pen.Width, pen.Style};
}

void TLineField::Parts(TMathImage& Image, bool Drawing)
{
    TCanvas& canvas = Image.DrawingCanvas();
    // A recording or collecting canvas gets every line.
    if (canvas.Recorder() || canvas.Sink()) {
        TPointList2D::Parts(Image, Drawing);
        return;
    }
    const TMaskKey key = KeyFor(Image);
    if (!FMaskKey || !(*FMaskKey == key)) {
        // The members paint into a sink instead of the picture; their drawn
        // flags change as painting changes them.
        TStrokeSink sink;
        sink.Lines.reserve(FItems.size() * 3);
        canvas.SetSink(&sink);
        {
            const auto restore = qScopeGuard([&] { canvas.SetSink(nullptr); });
            const TCanvasState kept(canvas);
            for (auto& item : FItems) {
                PaintMember(*item, Image, Drawing);
                FollowFlag(*item);
            }
        }
        FFollowing = MembersVersion();
        FMaskKey = key;
        FMask.reset();
        if (!sink.Mixed) FMask.emplace(sink, Image.Bitmap().bytesPerLine() / 4);
    }
    if (FMask) {
        canvas.Xor(*FMask);
        return;
    }
    // Painted member by member: until Draw or Erase returns, the members
    // report the flag the figure had.
    TPointList2D::Parts(Image, Drawing);
}

void TLineField::Forget()
{
    if (FFollowing == MembersVersion())
        FDrawn = false;
    else
        TPointList2D::Forget();
}

// ---- TEllipse2 -------------------------------------------------------------

TEllipse2::TEllipse2(TColor Color, double CX, double CY, double F11, double F12, double F21,
                     double F22, double Radius, bool AxesShown)
    : FStrain(CX, CY, F11, F12, F21, F22, Radius), FColor(Color), FAxesShown(AxesShown)
{
    for (int axis = 0; axis < 2; ++axis) {
        const TWorldSegment ends = AxisEnds(axis);
        Add(std::make_unique<TLine2D>(Color, ends.X1, ends.Y1, ends.X2, ends.Y2));
    }
}

TWorldSegment TEllipse2::AxisEnds(int Axis) const
{
    const double cx = FStrain.Centre.Elem[1], cy = FStrain.Centre.Elem[2];
    const double theta = FStrain.Inclination();
    const double angle = Axis == 0 ? theta : theta + static_cast<double>(HalfPiExtended);
    const double half = Axis == 0 ? FStrain.MajorSemiAxis() : FStrain.MinorSemiAxis();
    return {cx - half * std::cos(angle), cy - half * std::sin(angle), cx + half * std::cos(angle),
            cy + half * std::sin(angle)};
}

void TEllipse2::PlaceAxes(TMathImage& Image)
{
    for (int axis = 0; axis < 2 && axis < Count(); ++axis) {
        const TWorldSegment ends = AxisEnds(axis);
        FItems[axis]->SetEnds(Image, ends.X1, ends.Y1, ends.X2, ends.Y2);
    }
}

void TEllipse2::Curve(TMathImage& Image) const
{
    // The pen is left as set.
    SetNotXorPen(Image, FColor);
    const TTransformMatrix c = CleanMatrix(FStrain.Deformation);
    const double cx = FStrain.Centre.Elem[1], cy = FStrain.Centre.Elem[2], r = FStrain.Radius;
    // The cosines and sines of 10, 20, ..., 360 degrees, in extended
    // precision, made once.
    struct TCircle {
        double Cos[37], Sin[37];
        TCircle()
        {
            for (int i = 1; i <= 36; ++i) {
                const long double a = i * 10 * PiExtended / 180;
                Cos[i] = static_cast<double>(std::cos(a));
                Sin[i] = static_cast<double>(std::sin(a));
            }
        }
    };
    static const TCircle circle;
    TFloatPointlist points;
    points.Add(cx + r * c.Elem[1][1], cy + r * c.Elem[2][1]);
    for (int i = 1; i <= 36; ++i) {
        const double cosA = circle.Cos[i], sinA = circle.Sin[i];
        points.Add(cx + r * (c.Elem[1][1] * cosA + c.Elem[1][2] * sinA),
                   cy + r * (c.Elem[2][1] * cosA + c.Elem[2][2] * sinA));
    }
    Image.d2Polyline(points);
}

void TEllipse2::Parts(TMathImage& Image, bool Drawing)
{
    Curve(Image);
    if (FAxesShown) TPointList2D::Parts(Image, Drawing);
}

void TEllipse2::Transform(const TTransformMatrix& Matrix, TMathImage& Image)
{
    TStrainEllipse next = FStrain;
    if (next.Accumulate(Matrix)) SetDeformation(next.Deformation, Image);
    MoveCentre(Image, next.Centre.Elem[1], next.Centre.Elem[2]);
}

bool TEllipse2::HitTest(int PixelX, int PixelY, TMathImage& Image)
{
    if (!FDrawn) return false;
    for (auto& axis : FItems)
        if (axis->HitTest(PixelX, PixelY, Image)) return true;
    return false;
}

void TEllipse2::SetAxesShown(TMathImage& Image, bool Shown)
{
    RedrawAround(*this, Image, [&] { FAxesShown = Shown; });
}

void TEllipse2::ShowAxes(TMathImage& Image)
{
    SetAxesShown(Image, true);
}

void TEllipse2::HideAxes(TMathImage& Image)
{
    SetAxesShown(Image, false);
}

void TEllipse2::MoveCentre(TMathImage& Image, double X, double Y)
{
    RedrawAround(*this, Image, [&] {
        FStrain.Centre = MakeVector2D(X, Y);
        PlaceAxes(Image);
    });
}

void TEllipse2::SetDeformation(const TTransformMatrix& Matrix, TMathImage& Image)
{
    RedrawAround(*this, Image, [&] {
        FStrain.Deformation = CleanMatrix(Matrix);
        PlaceAxes(Image);
    });
}

// ---- TParallelogram --------------------------------------------------------

TParallelogram::TParallelogram(int MarkSize, double X1, double Y1, double X2, double Y2, double X3,
                               double Y3, TMarkType MarkType, TColor MarkColor, TColor EdgeColor)
    : FEdgeColor(EdgeColor)
{
    Add(std::make_unique<TMark>(MarkSize, X1, Y1, MarkType, MarkColor));
    Add(std::make_unique<TMark>(MarkSize, X2, Y2, MarkType, MarkColor));
    Add(std::make_unique<TMark>(MarkSize, X3, Y3, MarkType, MarkColor));
}

TTransformVector TParallelogram::Vertex(int Index) const
{
    if (Index == 4) {
        const TTransformVector& p1 = FItems[0]->Position();
        const TTransformVector& p2 = FItems[1]->Position();
        const TTransformVector& p3 = FItems[2]->Position();
        return MakeVector2D(p2.Elem[1] + p3.Elem[1] - p1.Elem[1],
                            p2.Elem[2] + p3.Elem[2] - p1.Elem[2]);
    }
    return FItems[Index - 1]->Position();
}

void TParallelogram::Edges(TMathImage& Image) const
{
    if (Count() < 3) return;
    // The pen is left as set.
    SetNotXorPen(Image, FItems[1]->Color());
    const TTransformVector p1 = Vertex(1), p2 = Vertex(2), p3 = Vertex(3), p4 = Vertex(4);
    Image.d2MoveTo(p1.Elem[1], p1.Elem[2]);
    Image.d2LineTo(p2.Elem[1], p2.Elem[2]);
    Image.d2MoveTo(p1.Elem[1], p1.Elem[2]);
    Image.d2LineTo(p3.Elem[1], p3.Elem[2]);
    SetNotXorPen(Image, FEdgeColor);
    Image.d2MoveTo(p2.Elem[1], p2.Elem[2]);
    Image.d2LineTo(p4.Elem[1], p4.Elem[2]);
    Image.d2LineTo(p3.Elem[1], p3.Elem[2]);
}

void TParallelogram::Parts(TMathImage& Image, bool Drawing)
{
    TPointList2D::Parts(Image, Drawing);
    Edges(Image);
}

void TParallelogram::Translate(TMathImage& Image, double X, double Y)
{
    const TTransformVector d2 = VectorSubtraction(Vertex(2), Vertex(1));
    const TTransformVector d3 = VectorSubtraction(Vertex(3), Vertex(1));
    FItems[0]->MoveTo(Image, X, Y);
    FItems[1]->MoveTo(Image, X + d2.Elem[1], Y + d2.Elem[2]);
    FItems[2]->MoveTo(Image, X + d3.Elem[1], Y + d3.Elem[2]);
}

void TParallelogram::MoveVertex(int Index, TMathImage& Image, double X, double Y)
{
    Erase(Image);
    if (Count() >= 3) {
        if (Index == 1 || Index == 4)
            Translate(Image, X, Y);
        else if (Index == 2 || Index == 3)
            FItems[Index - 1]->MoveTo(Image, X, Y);
    }
    Draw(Image);
}

std::string TParallelogram::AxialRatioText(int)
{
    return {};
}

std::string TParallelogram::InclinationText(int)
{
    return {};
}

// ---- TParallelogram2 -------------------------------------------------------

TParallelogram2::TParallelogram2(int MarkSize, double X1, double Y1, double X2, double Y2,
                                 double X3, double Y3, TMarkType MarkType, TColor MarkColor,
                                 TColor EdgeColor)
    : TParallelogram(MarkSize, X1, Y1, X2, Y2, X3, Y3, MarkType, MarkColor, EdgeColor)
{
    const TInscribedEllipse inscribed = InscribedEllipse();
    const TTransformMatrix f = CleanMatrix(inscribed.Edges);
    FEllipse = std::make_unique<TEllipse2>(EdgeColor, inscribed.Centre.Elem[1],
                                           inscribed.Centre.Elem[2], f.Elem[1][1], f.Elem[1][2],
                                           f.Elem[2][1], f.Elem[2][2], 0.5, true);
}

// The inscribed ellipse of radius 0.5: centre on the middle of the diagonal
// P2-P3, the edge vectors P2 - P1 and P3 - P1 as the columns of its
// deformation; it touches the four edges at their midpoints.
TParallelogram2::TInscribedEllipse TParallelogram2::InscribedEllipse() const
{
    const TTransformVector e1 = VectorSubtraction(Vertex(2), Vertex(1));
    const TTransformVector e2 = VectorSubtraction(Vertex(3), Vertex(1));
    return {VectorBetween(Vertex(2), Vertex(3), 0.5),
            MakeTensor2D(e1.Elem[1], e2.Elem[1], e1.Elem[2], e2.Elem[2])};
}

void TParallelogram2::FitEllipse(TMathImage& Image)
{
    // An emptied marker has no vertices to fit to.
    if (Count() < 3) return;
    const TInscribedEllipse inscribed = InscribedEllipse();
    FEllipse->MoveCentre(Image, inscribed.Centre.Elem[1], inscribed.Centre.Elem[2]);
    FEllipse->SetDeformation(inscribed.Edges, Image);
}

void TParallelogram2::Parts(TMathImage& Image, bool Drawing)
{
    TParallelogram::Parts(Image, Drawing);
    if (Drawing)
        FEllipse->Draw(Image);
    else
        FEllipse->Erase(Image);
}

void TParallelogram2::Transform(const TTransformMatrix& Matrix, TMathImage& Image)
{
    TPointList2D::Transform(Matrix, Image);
    FEllipse->Transform(Matrix, Image);
}

void TParallelogram2::SetVertex(int Index, TMathImage& Image, double X, double Y)
{
    TrPoint2D* vertex = GetPoint(Index);
    if (!vertex) return;
    RedrawAround(*this, Image, [&] { vertex->MoveTo(Image, X, Y); });
    FitEllipse(Image);
}

void TParallelogram2::SetEdges(const TTransformMatrix& Matrix, TMathImage& Image)
{
    if (Count() < 3) return;
    const TTransformVector p1 = Vertex(1);
    SetVertex(2, Image, p1.Elem[1] + Matrix.Elem[1][1], p1.Elem[2] + Matrix.Elem[1][2]);
    SetVertex(3, Image, p1.Elem[1] + Matrix.Elem[2][1], p1.Elem[2] + Matrix.Elem[2][2]);
}

void TParallelogram2::MoveVertex(int Index, TMathImage& Image, double X, double Y)
{
    Erase(Image);
    if (Count() >= 3) {
        if (Index == 1 || Index == 4) {
            Translate(Image, X, Y);
            const TTransformVector centre = VectorBetween(Vertex(2), Vertex(3), 0.5);
            FEllipse->MoveCentre(Image, centre.Elem[1], centre.Elem[2]);
        } else if (Index == 2 || Index == 3) {
            SetVertex(Index, Image, X, Y);
        }
    }
    Draw(Image);
}

void TParallelogram2::Forget()
{
    TParallelogram::Forget();
    FEllipse->Forget();
}

std::string TParallelogram2::AxialRatioText(int Digits)
{
    return FEllipse->AxialRatioText(Digits);
}

std::string TParallelogram2::InclinationText(int Digits)
{
    return FEllipse->InclinationText(Digits);
}

} // namespace tensim
