#pragma once
// Shapes in world coordinates that draw, erase, move and transform
// themselves on a TMathImage: points, lines, arrows, marks, lists of them,
// the strain ellipse and the parallelogram markers. Shapes draw with a
// not-xor pen and keep a drawn flag, so Draw and Erase alternate and an
// erase restores the picture underneath exactly: both paint the same
// strokes, which each shape states once.

#include "drawing/MathImge.h"
#include "drawing/StrainEllipse.h"
#include "math/Colors.h"
#include "math/Transform.h"
#include "math/World.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tensim {

class TrPoint2D {
public:
    TrPoint2D(TColor Color, double X, double Y);
    virtual ~TrPoint2D() = default;
    TrPoint2D(const TrPoint2D&) = delete;
    TrPoint2D& operator=(const TrPoint2D&) = delete;

    // Draw and Erase paint the shape's strokes with a not-xor pen in the
    // shape's colour; the surface's pen is put back afterwards.
    virtual void Draw(TMathImage& Image);
    virtual void Erase(TMathImage& Image);
    // Moves the position (a line's start point).
    virtual void MoveTo(TMathImage& Image, double X, double Y);
    virtual void Transform(const TTransformMatrix& Matrix, TMathImage& Image);
    virtual bool HitTest(int PixelX, int PixelY, TMathImage& Image);
    virtual void SetEnds(TMathImage& Image, double X1, double Y1, double X2, double Y2);
    virtual double Length();

    const TTransformVector& Position() const { return FPosition; }
    double X() const { return FPosition.Elem[1]; }
    double Y() const { return FPosition.Elem[2]; }
    // A member of a list painted as one follows the list's flag.
    bool Drawn() const { return FDrawnWith ? *FDrawnWith : FDrawn; }
    TColor Color() const { return FColor; }

protected:
    // The shape on the surface's drawing canvas, in its pen: a point sets
    // its pixel to the pen colour.
    virtual void Strokes(TMathImage& Image);
    // Whether Erase too sets the pen colour to the shape's: a point is
    // erased in the surface's current pen colour.
    virtual bool ErasesInOwnColor() const { return false; }

    TTransformVector FPosition;
    bool FDrawn = false;
    TColor FColor;

private:
    // Sets the drawn flag to NowDrawn and paints the strokes; the canvas's
    // state is put back.
    void Toggle(TMathImage& Image, bool NowDrawn);
    // The same, leaving the pen as the strokes left it.
    void Paint(TMathImage& Image, bool NowDrawn);
    // The flag Drawn reports instead of the shape's own, when set.
    const bool* FDrawnWith = nullptr;
    // A list sets its members' drawn flags when it paints them as one or
    // forgets them.
    friend class TPointList2D;

    // kept for the published interface; the program does not use it
public:
    // Erases the shape and deletes it; only for a shape made with new that
    // nothing else owns.
    virtual void Dispose(TMathImage& Image);
};

class TLine2D : public TrPoint2D {
public:
    TLine2D(TColor Color, double X1, double Y1, double X2, double Y2);
    void Transform(const TTransformMatrix& Matrix, TMathImage& Image) override;
    // Within three pixels (in x world units) of the segment.
    bool HitTest(int PixelX, int PixelY, TMathImage& Image) override;
    void SetEnds(TMathImage& Image, double X1, double Y1, double X2, double Y2) override;
    double Length() override;

    const TTransformVector& EndPoint() const { return FEndPoint; }

protected:
    void Strokes(TMathImage& Image) override;
    bool ErasesInOwnColor() const override { return true; }

    TTransformVector FEndPoint;
};

// A line with an arrow head at its end point.
class TVectorArrow2D : public TLine2D {
public:
    using TLine2D::TLine2D;

protected:
    void Strokes(TMathImage& Image) override;

private:
    // The ends of the two barbs, kept for the ends they were made for: an
    // arrow is drawn and erased far more often than it moves.
    double FBarbsFor[4] = {};
    bool FBarbsMade = false;
    TTransformVector FBarbs[2];
};

// The figure of a mark, by its number; any other number draws nothing.
enum class TMarkType : uint8_t {
    Plus = 0,
    DiagonalCross = 1,
    Square = 2,
    Diamond = 3,
    TriangleApexUp = 4,
    TriangleApexDown = 5,
    Circle = 6,
    Point = 7,
};

// A figure of fixed pixel size at a point; MarkSize is half its width.
class TMark : public TrPoint2D {
public:
    TMark(int MarkSize, double X, double Y, TMarkType MarkType, TColor Color);
    bool HitTest(int PixelX, int PixelY, TMathImage& Image) override;

    int MarkSize() const { return FMarkSize; }
    TMarkType MarkType() const { return FMarkType; }

protected:
    void Strokes(TMathImage& Image) override;
    bool ErasesInOwnColor() const override { return true; }

private:
    int FMarkSize;
    TMarkType FMarkType;
};

// A figure of shapes drawn, erased and transformed together; it owns them.
class TPointList2D {
public:
    TPointList2D() = default;
    virtual ~TPointList2D() = default;
    TPointList2D(const TPointList2D&) = delete;
    TPointList2D& operator=(const TPointList2D&) = delete;

    // Draw and Erase paint the figure's parts, each once.
    virtual void Draw(TMathImage& Image);
    virtual void Erase(TMathImage& Image);
    virtual void Transform(const TTransformMatrix& Matrix, TMathImage& Image);

    TrPoint2D* Add(std::unique_ptr<TrPoint2D> Item);
    int Count() const { return static_cast<int>(FItems.size()); }
    // The member at the 1-based Index; out of range a message and nullptr.
    TrPoint2D* GetPoint(int Index) const;
    // Erases the list, releases its members and leaves it empty.
    void DeleteAll(TMathImage& Image);
    bool Drawn() const { return FDrawn; }
    // The picture under the figure has been wiped: the figure and its parts
    // count as not drawn, and nothing is painted.
    virtual void Forget();

protected:
    // Draws (Drawing) or erases the figure's parts, whatever the drawn flag
    // says: the members in order.
    virtual void Parts(TMathImage& Image, bool Drawing);
    static void SetDrawnFlag(TrPoint2D& Item, bool Drawn) { Item.FDrawn = Drawn; }
    // From now on the member reports the list's drawn flag as its own.
    void FollowFlag(TrPoint2D& Item) const { Item.FDrawnWith = &FDrawn; }
    // Draws or erases a member without putting the canvas's state back.
    static void PaintMember(TrPoint2D& Item, TMathImage& Image, bool Drawing)
    {
        if (Item.Drawn() != Drawing) Item.Paint(Image, Drawing);
    }
    // Changes whenever members are added, released or transformed through
    // the list.
    uint64_t MembersVersion() const { return FMembersVersion; }

    std::vector<std::unique_ptr<TrPoint2D>> FItems;
    bool FDrawn = false;

private:
    uint64_t FMembersVersion = 0;
};

// A figure of many lines of one colour, such as a velocity field, painted
// as one; its members report its drawn flag as theirs. The pixels its members' strokes flip are
// found once, as an xor mask, and every Draw and Erase after that flips them again in time
// proportional to those pixels, however many lines there are. The mask is
// made again when the members, the surface's mapping, clip or pen change;
// members are changed only through the list. Strokes that a mask cannot
// stand for (points, marks, several colours) and a recording canvas are
// painted member by member.
class TLineField : public TPointList2D {
public:
    void Forget() override;

protected:
    void Parts(TMathImage& Image, bool Drawing) override;

private:
    // What the mask depends on besides the members' strokes.
    struct TMaskKey {
        uint64_t Members = 0;
        double Sx = 0, Sy = 0, Ox = 0, Oy = 0;
        TRect Clip;
        int Width = 0, Height = 0, PenWidth = 0;
        TPenStyle PenStyle = TPenStyle::Solid;
        bool operator==(const TMaskKey& K) const;
    };
    TMaskKey KeyFor(TMathImage& Image) const;

    std::optional<TMaskKey> FMaskKey; // unset until the first mask is made
    // The members version whose members all follow the list's drawn flag,
    // so that drawing, erasing and forgetting need not visit them.
    uint64_t FFollowing = UINT64_MAX;
    // Unset when the strokes are not lines of one colour.
    std::optional<TXorMask> FMask;
};

// The strain ellipse: a circle of a radius under the accumulated
// deformation, drawn as a 37-point closed polyline; its members are the
// major and the minor axis lines.
class TEllipse2 : public TPointList2D {
public:
    TEllipse2(TColor Color, double CX, double CY, double F11, double F12, double F21, double F22,
              double Radius, bool AxesShown);
    // One deformation increment; a singular product leaves F and only moves
    // the centre.
    void Transform(const TTransformMatrix& Matrix, TMathImage& Image) override;
    // A hit on a drawn axis line.
    virtual bool HitTest(int PixelX, int PixelY, TMathImage& Image);

    double MajorSemiAxis() const { return FStrain.MajorSemiAxis(); }
    double MinorSemiAxis() const { return FStrain.MinorSemiAxis(); }
    double AxialRatio() const { return FStrain.AxialRatio(); }
    double Inclination() const { return FStrain.Inclination(); }
    std::string AxialRatioText(int Digits) const { return FStrain.AxialRatioText(Digits); }
    std::string InclinationText(int Digits) const { return FStrain.InclinationText(Digits); }

    void ShowAxes(TMathImage& Image);
    void HideAxes(TMathImage& Image);
    void MoveCentre(TMathImage& Image, double X, double Y);
    void SetDeformation(const TTransformMatrix& Matrix, TMathImage& Image);

    const TStrainEllipse& Strain() const { return FStrain; }
    TColor Color() const { return FColor; }
    bool AxesShown() const { return FAxesShown; }

protected:
    // The curve, then the axis lines when they are shown.
    void Parts(TMathImage& Image, bool Drawing) override;

private:
    void Curve(TMathImage& Image) const;
    // The ends of the major (0) and minor (1) axis lines.
    TWorldSegment AxisEnds(int Axis) const;
    void PlaceAxes(TMathImage& Image);
    void SetAxesShown(TMathImage& Image, bool Shown);

    TStrainEllipse FStrain;
    TColor FColor;
    bool FAxesShown;
};

// Three vertex marks (P1 the corner, P2 and P3 its neighbours) with the
// four edges of the parallelogram they span; P4 = P2 + P3 - P1.
class TParallelogram : public TPointList2D {
public:
    TParallelogram(int MarkSize, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                   TMarkType MarkType, TColor MarkColor, TColor EdgeColor);
    // Index 1 or 4 moves the whole figure so that P1 lands on (X, Y); 2 or
    // 3 moves that vertex. The figure is drawn afterwards in every case.
    virtual void MoveVertex(int Index, TMathImage& Image, double X, double Y);
    virtual std::string AxialRatioText(int Digits);
    virtual std::string InclinationText(int Digits);

    TColor EdgeColor() const { return FEdgeColor; }

protected:
    // The vertex marks, then the edges.
    void Parts(TMathImage& Image, bool Drawing) override;
    // P1 to P3 from the marks, P4 computed.
    TTransformVector Vertex(int Index) const;
    void Edges(TMathImage& Image) const;
    void Translate(TMathImage& Image, double X, double Y);

    TColor FEdgeColor;
};

// A parallelogram with its inscribed ellipse, kept fitted to the vertices.
class TParallelogram2 : public TParallelogram {
public:
    TParallelogram2(int MarkSize, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                    TMarkType MarkType, TColor MarkColor, TColor EdgeColor);
    void Transform(const TTransformMatrix& Matrix, TMathImage& Image) override;
    void MoveVertex(int Index, TMathImage& Image, double X, double Y) override;
    std::string AxialRatioText(int Digits) override;
    std::string InclinationText(int Digits) override;
    void Forget() override;

    void SetVertex(int Index, TMathImage& Image, double X, double Y);
    // The rows of the tensor become the edges from P1.
    void SetEdges(const TTransformMatrix& Matrix, TMathImage& Image);

    const TEllipse2& Ellipse() const { return *FEllipse; }

protected:
    // The parallelogram, then the ellipse.
    void Parts(TMathImage& Image, bool Drawing) override;

private:
    struct TInscribedEllipse {
        TTransformVector Centre;
        TTransformMatrix Edges;
    };

    TInscribedEllipse InscribedEllipse() const;
    void FitEllipse(TMathImage& Image);

    std::unique_ptr<TEllipse2> FEllipse;
};

} // namespace tensim
