#pragma once
// A control that draws into an off-screen picture through its canvas and
// paints itself by copying the picture.

#include "drawing/Canvas.h"
#include "math/Events.h"

#include <QWidget>

#include <functional>

namespace tensim {

using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent =
    std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

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
