#include "drawing/OverlayImage.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tensim {

namespace {

constexpr int PixelsPerInch = 96;

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int A, int B, int C)
{
    return static_cast<int>(std::lround(double(A) * B / C));
}

QFont ToQFont(const TFont& Font)
{
    QFont font(QString::fromStdString(Font.Name));
    font.setPixelSize(std::max(1, std::abs(Font.Height)));
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// On and off runs of the dashed width-1 pens; empty for a solid pen.
std::vector<int> DashPattern(TPenStyle Style)
{
    switch (Style) {
    case TPenStyle::Dash:
        return {18, 6};
    case TPenStyle::Dot:
        return {3, 3};
    case TPenStyle::DashDot:
        return {9, 6, 3, 6};
    case TPenStyle::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

// Walks the pixels of a path of integer lines, each line without its end
// pixel, and reports those the pen style paints.
class TLineWalker {
public:
    explicit TLineWalker(TPenStyle Style) : FPattern(DashPattern(Style)) {}

    template <class Plot> void Line(int X0, int Y0, int X1, int Y1, Plot&& plot)
    {
        const int dx = std::abs(X1 - X0), dy = std::abs(Y1 - Y0);
        const int sx = X0 < X1 ? 1 : -1, sy = Y0 < Y1 ? 1 : -1;
        int err = dx - dy;
        int x = X0, y = Y0;
        while (x != X1 || y != Y1) {
            if (On()) plot(x, y);
            const int e2 = 2 * err;
            if (e2 > -dy) {
                err -= dy;
                x += sx;
            }
            if (e2 < dx) {
                err += dx;
                y += sy;
            }
        }
    }

private:
    bool On()
    {
        if (FPattern.empty()) return true;
        const bool on = FRun % 2 == 0;
        if (++FStep >= FPattern[FRun]) {
            FStep = 0;
            FRun = (FRun + 1) % FPattern.size();
        }
        return on;
    }

    std::vector<int> FPattern;
    size_t FRun = 0;
    int FStep = 0;
};

QRgb Combine(QRgb Source, QRgb Destination, TPenMode Mode)
{
    if (Mode == TPenMode::NotXor) return 0xFF000000u | (~(Source ^ Destination) & 0x00FFFFFFu);
    return Source;
}

} // namespace

int TFont::Size() const
{
    return -MulDiv(Height, 72, PixelsPerInch);
}

void TFont::SetSize(int Points)
{
    Height = -MulDiv(Points, PixelsPerInch, 72);
}

QRect TCanvas::EffectiveClip() const
{
    const QRect clip(QPoint(FClip.Left, FClip.Top), QPoint(FClip.Right - 1, FClip.Bottom - 1));
    return clip.intersected(FTarget->rect());
}

void TCanvas::Changed()
{
    if (OnChange) OnChange();
}

void TCanvas::MoveTo(int X, int Y)
{
    PenPos = TPoint{X, Y};
}

void TCanvas::LineTo(int X, int Y)
{
    Polyline({PenPos, TPoint{X, Y}});
    PenPos = TPoint{X, Y};
}

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    const QRect clip = EffectiveClip();
    if (Points.size() < 2 || Pen.Style == TPenStyle::Clear || clip.isEmpty()) return;
    const QRgb colour = ColorToRgb(Pen.Color);

    if (Pen.Width > 1) {
        // Wide pens: the stroke is filled as one shape, so it too paints
        // every pixel once.
        QPainter painter(FTarget);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setClipRect(clip);
        if (Pen.Mode == TPenMode::NotXor)
            painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.setPen(
            QPen(QColor::fromRgb(colour), Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygon polygon;
        for (const TPoint& p : Points)
            polygon << QPoint(p.X, p.Y);
        painter.drawPolyline(polygon);
        painter.end();
        Changed();
        return;
    }

    // The pixels of the whole path, each taken once.
    std::vector<QPoint> pixels;
    TLineWalker walker(Pen.Style);
    for (size_t i = 1; i < Points.size(); ++i)
        walker.Line(Points[i - 1].X, Points[i - 1].Y, Points[i].X, Points[i].Y, [&](int x, int y) {
            if (clip.contains(x, y)) pixels.emplace_back(x, y);
        });
    const auto less = [](const QPoint& a, const QPoint& b) {
        return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    };
    std::sort(pixels.begin(), pixels.end(), less);
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());

    uchar* bits = FTarget->bits();
    const qsizetype stride = FTarget->bytesPerLine();
    for (const QPoint& p : pixels) {
        QRgb* pixel = reinterpret_cast<QRgb*>(bits + p.y() * stride) + p.x();
        *pixel = Combine(colour, *pixel, Pen.Mode);
    }
    Changed();
}

void TCanvas::SetPixel(int X, int Y, TColor Color)
{
    if (!EffectiveClip().contains(X, Y)) return;
    FTarget->setPixel(X, Y, ColorToRgb(Color));
    Changed();
}

TColor TCanvas::Pixel(int X, int Y) const
{
    if (!FTarget->rect().contains(X, Y)) return 0xFFFFFFFFu;
    return RgbToColor(FTarget->pixel(X, Y));
}

void TCanvas::FillRect(const TRect& Rect)
{
    if (Brush.Style == TBrushStyle::Clear) return;
    const QRect area = QRect(QPoint(Rect.Left, Rect.Top), QPoint(Rect.Right - 1, Rect.Bottom - 1))
                           .intersected(EffectiveClip());
    if (!area.isEmpty()) {
        QPainter painter(FTarget);
        painter.fillRect(area, QColor::fromRgb(ColorToRgb(Brush.Color)));
    }
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    const QRect clip = EffectiveClip();
    if (clip.isEmpty()) return;
    QPainter painter(FTarget);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(clip);
    if (Pen.Mode == TPenMode::NotXor)
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    if (Pen.Style == TPenStyle::Clear)
        painter.setPen(Qt::NoPen);
    else
        painter.setPen(QPen(QColor::fromRgb(ColorToRgb(Pen.Color)), Pen.Width > 1 ? Pen.Width : 0));
    if (Brush.Style == TBrushStyle::Clear)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(QColor::fromRgb(ColorToRgb(Brush.Color)));
    // The box is right- and bottom-exclusive.
    painter.drawEllipse(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
    painter.end();
    Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    const QString text = QString::fromStdString(Text);
    const QFont font = ToQFont(Font);
    const QFontMetrics metrics(font);
    PenPos = TPoint{X + metrics.horizontalAdvance(text), Y};
    const QRect clip = EffectiveClip();
    if (clip.isEmpty()) return;
    QPainter painter(FTarget);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setClipRect(clip);
    if (Brush.Style != TBrushStyle::Clear)
        painter.fillRect(QRect(X, Y, metrics.horizontalAdvance(text), metrics.height()),
                         QColor::fromRgb(ColorToRgb(Brush.Color)));
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(ColorToRgb(Font.Color)));
    painter.drawText(X, Y + metrics.ascent(), text);
    painter.end();
    Changed();
}

QSize TCanvas::TextExtent(const std::string& Text) const
{
    const QFontMetrics metrics(ToQFont(Font));
    return QSize(metrics.horizontalAdvance(QString::fromStdString(Text)), metrics.height());
}

TOverlayImage::TOverlayImage(QWidget* Parent)
    : QWidget(Parent), FStoredWidth(width()), FStoredHeight(height()),
      FPicture(FStoredWidth, FStoredHeight, QImage::Format_RGB32)
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

TCanvas& TOverlayImage::DrawingCanvas()
{
    SyncSize();
    FCanvas.SetClipRect(FClipRect);
    return FCanvas;
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
    update();
}

void TOverlayImage::SyncSize()
{
    if (width() != FStoredWidth || height() != FStoredHeight) SizeChanged();
}

void TOverlayImage::SizeChanged()
{
    FStoredWidth = width();
    FStoredHeight = height();
    FOverlay = QImage();
    FOverlayValid = false;
    QImage picture(std::max(FStoredWidth, 0), std::max(FStoredHeight, 0), QImage::Format_RGB32);
    if (!picture.isNull()) {
        picture.fill(QColor::fromRgb(ColorToRgb(FCanvas.Brush.Color)));
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
    struct TPaintGuard {
        bool& Flag;
        explicit TPaintGuard(bool& F) : Flag(F) { Flag = true; }
        ~TPaintGuard() { Flag = false; }
    } guard(FPainting);

    const QImage* shown = &FPicture;
    if (OnOverlayPaint) {
        FOverlay = FPicture.copy();
        FCanvas.SetTarget(&FOverlay);
        struct TTargetGuard {
            TCanvas& Canvas;
            QImage* Picture;
            ~TTargetGuard() { Canvas.SetTarget(Picture); }
        } target{FCanvas, &FPicture};
        OnOverlayPaint(this);
        FOverlayValid = true;
        shown = &FOverlay;
    } else if (FOverlayValid) {
        shown = &FOverlay;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, *shown);
}

void TOverlayImage::resizeEvent(QResizeEvent*)
{
    SyncSize();
    if (OnResize) OnResize(this);
}

void TOverlayImage::mousePressEvent(QMouseEvent* Event)
{
    if (OnMouseDown)
        OnMouseDown(this, Event->button(), Event->modifiers(), Event->position().toPoint().x(),
                    Event->position().toPoint().y());
}

void TOverlayImage::mouseReleaseEvent(QMouseEvent* Event)
{
    const QPoint at = Event->position().toPoint();
    if (OnMouseUp) OnMouseUp(this, Event->button(), Event->modifiers(), at.x(), at.y());
    if (Event->button() == Qt::LeftButton && rect().contains(at) && OnClick) OnClick(this);
}

void TOverlayImage::mouseMoveEvent(QMouseEvent* Event)
{
    const QPoint at = Event->position().toPoint();
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
