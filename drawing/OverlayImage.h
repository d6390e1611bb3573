#pragma once
// A control that draws into an off-screen picture and paints itself by
// copying it. TCanvas is the small raster canvas every drawing goes
// through: integer lines that leave their end pixel unpainted, a not-xor
// pen mode, no antialiasing, one clip rectangle for every operation.

#include "math/Colors.h"
#include "math/Events.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QWidget>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;

namespace tensim {

struct TPoint {
    int X = 0;
    int Y = 0;
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

// Runs of pixels along the rows of a picture, and their values in order.
struct TPixelRuns {
    struct TRun {
        int Y, X, Count;
    };
    std::vector<TRun> Runs;
    std::vector<QRgb> Values;
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

using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent =
    std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

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
    double FPixelRatio = 1;
};

class TOverlayImage : public QWidget {
    Q_OBJECT
public:
    explicit TOverlayImage(QWidget* Parent = nullptr);

    // The off-screen picture (Format_RGB32).
    const QImage& Bitmap();
    // The canvas on the picture, with the clip rectangle selected.
    TCanvas& DrawingCanvas()
    {
        SyncSize();
        FCanvas.SetClipRect(FClipRect);
        return FCanvas;
    }
    TPen& Pen() { return FCanvas.Pen; }
    TBrush& Brush() { return FCanvas.Brush; }
    TFont& Font() { return FCanvas.Font; }

    // Hold back repaints during a batch of drawing; the last unlock
    // repaints once.
    void LockUpdate();
    void UnlockUpdate();
    int LockCount() const { return FLockCount; }

    TRect ClipRect() const { return FClipRect; }
    void SetClipRect(const TRect& Rect);
    // The picture's rectangle, in its pixels.
    TRect ClientRect() const { return TRect{0, 0, FStoredWidth, FStoredHeight}; }
    // Device pixels per logical pixel of the screen; the picture has as many
    // pixels as the screen shows the control with, and mouse positions are
    // reported in them.
    double PixelRatio() const { return FPixelRatio; }

    TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    // Draws on a copy of the picture at every paint, on top of the drawing.
    TNotifyEvent OnOverlayPaint;

protected:
    // The pixels of the picture that are not of the background colour.
    TPixelRuns PixelsOtherThan(TColor Background);
    // Writes such pixels back, as one change.
    void PutPixels(const TPixelRuns& Runs);
    // The control's size changed: resize the picture.
    virtual void SizeChanged();
    // The picture changed: repaint later, unless locked.
    virtual void Changed();
    // Follows a size change that has not reached resizeEvent yet (a
    // control that is not shown gets its resize event only when shown).
    void SyncSize()
    {
        if (width() != FLogicalWidth || height() != FLogicalHeight) SizeChanged();
    }

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    bool event(QEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;

    int FStoredWidth, FStoredHeight; // the picture's, in device pixels

private:
    void ConnectChangeHandler();
    QPoint PixelAt(const QPointF& Position) const;

    int FLogicalWidth, FLogicalHeight;
    double FPixelRatio = 1;

    QImage FPicture;
    QImage FOverlay;
    TCanvas FCanvas{&FPicture};
    TRect FClipRect;
    int FLockCount = 0;
    bool FPainting = false;
    bool FOverlayValid = false;
    bool FUpdatePending = false; // an update() not yet followed by a paint
};

// Holds a surface's repaints back while it lives: LockUpdate now, the
// matching UnlockUpdate when it goes, also when an exception leaves the
// scope, or earlier by Unlock.
class TUpdateLock {
public:
    explicit TUpdateLock(TOverlayImage& Image) : FImage(&Image) { Image.LockUpdate(); }
    ~TUpdateLock() { Unlock(); }
    TUpdateLock(const TUpdateLock&) = delete;
    TUpdateLock& operator=(const TUpdateLock&) = delete;

    void Unlock()
    {
        if (TOverlayImage* image = FImage) {
            FImage = nullptr;
            image->UnlockUpdate();
        }
    }

private:
    TOverlayImage* FImage;
};

} // namespace tensim
