#pragma once
// The small raster canvas every drawing goes through, over a picture of
// 32-bit pixels: integer lines that leave their end pixel unpainted, a
// not-xor pen mode, no antialiasing, one clip rectangle for every
// operation; its value types, and the state a drawing keeps and puts back.

#include "math/Colors.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;

namespace tensim {

// A pixel of a picture.
struct TPoint {
    int X = 0, Y = 0;
};

// Right and bottom are exclusive.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect& R) const
    {
        return Left == R.Left && Top == R.Top && Right == R.Right && Bottom == R.Bottom;
    }
    bool operator!=(const TRect& R) const { return !(*this == R); }
};

// N logical pixels of the screen in device pixels at Ratio: N itself at a
// ratio of 1, so that nothing changes there, and rounded otherwise.
inline long long DevicePixels(long long N, double Ratio)
{
    return Ratio == 1 ? N : std::llround(static_cast<double>(N) * Ratio);
}

// World points map to pixels within -PixelLimit..PixelLimit: far beyond
// any picture, near enough that no line walks millions of pixels.
constexpr int PixelLimit = 22000;

// V rounded halves to even, as nearbyint does, within the pixel range; NaN
// gives -PixelLimit.
inline int ClampedPixel(double V)
{
    if (V < -PixelLimit) return -PixelLimit;
    if (V > PixelLimit) return PixelLimit;
    if (V != V) return -PixelLimit;
    // Adding 1.5 * 2^52 leaves no fraction bits, and the addition rounds to
    // nearest, ties to even.
    constexpr double Shift = 6755399441055744.0;
    return static_cast<int>((V + Shift) - Shift);
}

// Runs of pixels along the rows of a picture, and their values in order.
struct TPixelRuns {
    struct TRun {
        int Y, X, Count;
    };
    std::vector<TRun> Runs;
    std::vector<QRgb> Values;
};

// A line of width 1 from (X0, Y0) to (X1, Y1), its end pixel left out.
struct TSegment {
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};

// What a canvas was asked to paint while a sink was set: the lines of width
// 1 in one solid not-xor pen colour within one clip. Mixed says that
// something else was asked too (a path's lines are kept, but a path paints
// a pixel its lines share once), so the lines alone do not tell what would
// have been painted.
struct TStrokeSink {
    std::vector<TSegment> Lines;
    QRgb Colour = 0;
    QRect Clip;
    bool Mixed = false;
};

// The pixels that a set of lines of width 1 paints an odd number of times
// within a clip. A line paints each of its pixels once and a not-xor pen
// flips a pixel's colour bits, so painting all the lines with one such pen
// flips exactly these pixels, whatever the order; the picture's pixels are
// opaque, so a pixel painted an even number of times is left as it was.
class TXorMask {
public:
    TXorMask() = default;
    // The mask of the sink's lines on a picture whose rows are Stride pixels apart.
    TXorMask(const TStrokeSink& Sink, qsizetype Stride);
    bool HasLines() const { return FHasLines; }
    QRgb Colour() const { return FColour; }
    // The flipped pixels, as offsets from the picture's first pixel, ascending.
    const std::vector<uint32_t>& Pixels() const { return FPixels; }
    // Whether the offsets address Picture's pixels: its rows are as far
    // apart and it has the rows of the clip.
    bool Fits(const QImage& Picture) const
    {
        return Picture.bytesPerLine() / 4 == FStride && Picture.height() >= FRows;
    }

private:
    std::vector<uint32_t> FPixels;
    QRgb FColour = 0;
    bool FHasLines = false;
    qsizetype FStride = 0;
    int FRows = 0;
};

enum class TPenMode { Copy, NotXor };
enum class TPenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
enum class TBrushStyle { Solid, Clear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::Solid;
    TPenMode Mode = TPenMode::Copy;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::Solid;
};

// Height in pixels: negative is the character height, as the form stores it.
// Size is in points at 96 pixels per inch.
struct TFont {
    std::string Name = "DejaVu Sans";
    int Height = -11;
    TColor Color = clBlack;
    int Size() const;
    void SetSize(int Points);
};

class TCanvas {
public:
    explicit TCanvas(QImage* Target) : FTarget(Target) {}

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TPoint PenPos;
    // Called after every operation that may have changed the picture.
    std::function<void()> OnChange;

    void MoveTo(int X, int Y);
    // From the pen position to (X, Y), the end pixel left unpainted.
    void LineTo(int X, int Y);
    // One path through all points; every pixel of it is painted once.
    void Polyline(const std::vector<TPoint>& Points);
    // Sets the pixel whatever the pen mode.
    void SetPixel(int X, int Y, TColor Color);
    TColor Pixel(int X, int Y) const;
    // Fills with the brush; the pen mode does not apply.
    void FillRect(const TRect& Rect);
    // Outline with the pen and interior with the brush, both in the pen mode.
    void Ellipse(int X1, int Y1, int X2, int Y2);
    // Text with its top-left corner at (X, Y), on the brush unless it is clear.
    void TextOut(int X, int Y, const std::string& Text);
    // The texts between BeginTexts and EndTexts share one painter instead
    // of making one each. No other operation that paints through a painter
    // (rectangles, ellipses, wide pens) may come between them.
    void BeginTexts();
    void EndTexts();
    QSize TextExtent(const std::string& Text) const;
    // The extent in another font.
    QSize TextExtent(const TFont& InFont, const std::string& Text) const;
    int TextWidth(const std::string& Text) const { return TextExtent(Text).width(); }
    int TextHeight(const std::string& Text) const { return TextExtent(Text).height(); }

    void SetClipRect(const TRect& Rect) { FClip = Rect; }
    TRect ClipRect() const { return FClip; }
    void SetTarget(QImage* Target) { FTarget = Target; }
    // Device pixels per logical pixel: fonts are made that much larger.
    void SetPixelRatio(double Ratio) { FPixelRatio = Ratio; }
    double PixelRatio() const { return FPixelRatio; }
    // While a recorder is set, every operation is drawn on it too, in a
    // plain pen and at pixel centres: a vector picture of what is drawn.
    // The not-xor mode is for the screen only.
    void SetRecorder(QPainter* Recorder) { FRecorder = Recorder; }
    QPainter* Recorder() const { return FRecorder; }

    // While a sink is set the canvas paints nothing: the lines a mask can
    // stand for are handed to it, and any other painting marks it mixed.
    void SetSink(TStrokeSink* Sink) { FSink = Sink; }
    TStrokeSink* Sink() const { return FSink; }
    // Flips the mask's pixels as painting its lines one by one with a
    // not-xor pen of its colour does; the pen is not used.
    void Xor(const TXorMask& Mask);

    // Counts the operations that may have changed the picture.
    uint64_t Changes() const { return FChanges; }
    // Reports a change made to the picture from outside the canvas.
    void Changed();

private:
    // Marks the pixels a path has painted, so that a path painting a pixel
    // twice paints it once: one mark per pixel of the clip, a generation
    // number per path. Copies of a canvas share it.
    struct TPathMarks {
        std::vector<uint32_t> Marks;
        uint32_t Generation = 0;
    };
    // The font and its metrics, made again only when the font changes.
    struct TFontCache {
        bool Made = false;
        std::string Name;
        int Height = 0;
        double Ratio = 1;
        QFont Font;
        QFontMetrics Metrics{QFont()};
        // The widths of the texts measured in it: tick labels come again
        // at every redraw.
        std::unordered_map<std::string, int> Widths;
        int Width(const std::string& Text);
    };

    QRect EffectiveClip() const;
    // The recorder with the pen (or none) and the clip of the next operation.
    QPainter& Record(const QRect& Clip, bool WithPen);
    // One line without its end pixel, in a solid or dashed pen of width 1.
    void Segment(int X0, int Y0, int X1, int Y1);
    TFontCache& Fonts(const TFont& InFont) const;

    QImage* FTarget;
    TRect FClip{0, 0, 1 << 30, 1 << 30};
    std::shared_ptr<TPathMarks> FPathMarks = std::make_shared<TPathMarks>();
    // The axes alternate between two fonts; a few are kept.
    mutable TFontCache FFontCache[4];
    mutable int FFontCacheNext = 0;
    std::shared_ptr<QPainter> FTextPainter;
    int FTextDepth = 0;
    uint64_t FChanges = 0;
    QPainter* FRecorder = nullptr;
    TStrokeSink* FSink = nullptr;
    double FPixelRatio = 1;
};

// Keeps a canvas's pen, brush, font and clip rectangle and puts them back
// when it goes, also when an exception leaves the scope.
class TCanvasState {
public:
    explicit TCanvasState(TCanvas& Canvas)
        : FCanvas(Canvas), FPen(Canvas.Pen), FBrush(Canvas.Brush), FFont(Canvas.Font),
          FClip(Canvas.ClipRect())
    {
    }
    ~TCanvasState()
    {
        FCanvas.Pen = FPen;
        FCanvas.Brush = FBrush;
        FCanvas.Font = FFont;
        FCanvas.SetClipRect(FClip);
    }
    TCanvasState(const TCanvasState&) = delete;
    TCanvasState& operator=(const TCanvasState&) = delete;

private:
    TCanvas& FCanvas;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TRect FClip;
};

} // namespace tensim
