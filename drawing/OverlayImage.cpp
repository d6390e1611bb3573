#include "drawing/OverlayImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScopedValueRollback>

#include <algorithm>
#include <cstring>

namespace tensim {

TOverlayImage::TOverlayImage(QWidget* Parent)
    : QWidget(Parent), FStoredWidth(width()), FStoredHeight(height()), FLogicalWidth(width()),
      FLogicalHeight(height()), FPicture(FStoredWidth, FStoredHeight, QImage::Format_RGB32)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    FPicture.fill(Qt::white);
    FClipRect = ClientRect();
    ConnectChangeHandler();
}

void TOverlayImage::ConnectChangeHandler()
{
    FCanvas.OnChange = [this] { Changed(); };
}

const QImage& TOverlayImage::Bitmap()
{
    SyncSize();
    return FPicture;
}

TPixelRuns TOverlayImage::PixelsOtherThan(TColor Background)
{
    SyncSize();
    TPixelRuns runs;
    const QRgb background = ColorToRgb(Background);
    const int width = FPicture.width(), height = FPicture.height();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(FPicture.constScanLine(y));
        for (int x = 0; x < width;) {
            if ((row[x] | 0xFF000000u) == background) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && (row[x] | 0xFF000000u) != background)
                ++x;
            runs.Values.insert(runs.Values.end(), row + start, row + x);
            runs.Runs.push_back({y, start, x - start});
        }
    }
    return runs;
}

void TOverlayImage::PutPixels(const TPixelRuns& Runs)
{
    SyncSize();
    const QRgb* value = Runs.Values.data();
    for (const TPixelRuns::TRun& run : Runs.Runs) {
        if (run.Y >= FPicture.height() || run.X + run.Count > FPicture.width()) return;
        std::memcpy(reinterpret_cast<QRgb*>(FPicture.scanLine(run.Y)) + run.X, value,
                    static_cast<size_t>(run.Count) * sizeof(QRgb));
        value += run.Count;
    }
    FCanvas.Changed();
}

void TOverlayImage::SetClipRect(const TRect& Rect)
{
    FClipRect = Rect;
    FCanvas.SetClipRect(Rect);
}

void TOverlayImage::LockUpdate()
{
    FCanvas.OnChange = nullptr;
    ++FLockCount;
}

void TOverlayImage::UnlockUpdate()
{
    if (--FLockCount > 0) return;
    FLockCount = 0;
    ConnectChangeHandler();
    Changed();
}

void TOverlayImage::Changed()
{
    // During a paint the picture is being shown anyway.
    if (FPainting) return;
    FOverlayValid = false;
    // One request until the paint comes: the next paint shows every change.
    if (FUpdatePending) return;
    FUpdatePending = true;
    update();
}

void TOverlayImage::SizeChanged()
{
    // The picture has the screen's device pixels: as many as the logical
    // ones at a ratio of 1.
    FLogicalWidth = width();
    FLogicalHeight = height();
    FPixelRatio = devicePixelRatioF();
    FCanvas.SetPixelRatio(FPixelRatio);
    FStoredWidth = static_cast<int>(DevicePixels(width(), FPixelRatio));
    FStoredHeight = static_cast<int>(DevicePixels(height(), FPixelRatio));
    FOverlay = QImage();
    FOverlayValid = false;
    QImage picture(std::max(FStoredWidth, 0), std::max(FStoredHeight, 0), QImage::Format_RGB32);
    if (!picture.isNull()) {
        picture.fill(QColor(ColorToRgb(FCanvas.Brush.Color)));
        QPainter painter(&picture);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, FPicture);
    }
    FPicture = picture;
    update();
}

void TOverlayImage::paintEvent(QPaintEvent*)
{
    if (FPainting) return;
    FUpdatePending = false;
    const QScopedValueRollback<bool> painting(FPainting, true);

    const QImage* shown = &FPicture;
    if (OnOverlayPaint) {
        FOverlay = FPicture.copy();
        FCanvas.SetTarget(&FOverlay);
        const auto target = qScopeGuard([this] { FCanvas.SetTarget(&FPicture); });
        OnOverlayPaint(this);
        FOverlayValid = true;
        shown = &FOverlay;
    } else if (FOverlayValid) {
        shown = &FOverlay;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (FPixelRatio == 1)
        painter.drawImage(0, 0, *shown);
    else // device pixels onto device pixels
        painter.drawImage(QRectF(0, 0, FLogicalWidth, FLogicalHeight), *shown);
}

bool TOverlayImage::event(QEvent* Event)
{
    // Moved to a screen of another resolution: a picture of its pixels.
    if (Event->type() == QEvent::ScreenChangeInternal && devicePixelRatioF() != FPixelRatio)
        SizeChanged();
    return QWidget::event(Event);
}

QPoint TOverlayImage::PixelAt(const QPointF& Position) const
{
    return FPixelRatio == 1 ? Position.toPoint() : (Position * FPixelRatio).toPoint();
}

void TOverlayImage::resizeEvent(QResizeEvent*)
{
    SyncSize();
    if (OnResize) OnResize(this);
}

void TOverlayImage::mousePressEvent(QMouseEvent* Event)
{
    const QPoint at = PixelAt(Event->position());
    if (OnMouseDown) OnMouseDown(this, Event->button(), Event->modifiers(), at.x(), at.y());
}

void TOverlayImage::mouseReleaseEvent(QMouseEvent* Event)
{
    const QPoint at = PixelAt(Event->position());
    if (OnMouseUp) OnMouseUp(this, Event->button(), Event->modifiers(), at.x(), at.y());
    if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()) &&
        OnClick)
        OnClick(this);
}

void TOverlayImage::mouseMoveEvent(QMouseEvent* Event)
{
    const QPoint at = PixelAt(Event->position());
    if (OnMouseMove) OnMouseMove(this, Event->modifiers(), at.x(), at.y());
}

void TOverlayImage::mouseDoubleClickEvent(QMouseEvent*)
{
    if (OnDblClick) OnDblClick(this);
}

void TOverlayImage::enterEvent(QEnterEvent*)
{
    if (OnMouseEnter) OnMouseEnter(this);
}

void TOverlayImage::leaveEvent(QEvent*)
{
    if (OnMouseLeave) OnMouseLeave(this);
}

} // namespace tensim
