#include "drawing/Canvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <thread>

namespace tensim {

namespace {

constexpr int PixelsPerInch = 96;

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int A, int B, int C)
{
    return static_cast<int>(std::lround(double(A) * B / C));
}

// The font at the picture's resolution: its pixel height times the ratio of
// device pixels to the screen's logical ones.
QFont ToQFont(const TFont& Font, double PixelRatio)
{
    QFont font(QString::fromStdString(Font.Name));
    const int height = std::abs(Font.Height);
    font.setPixelSize(std::max(1, static_cast<int>(DevicePixels(height, PixelRatio))));
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

// Bresenham's walk from (X0, Y0) towards (X1, Y1), the end pixel left out.
template <class Plot> void Walk(int X0, int Y0, int X1, int Y1, Plot&& plot)
{
    const int dx = std::abs(X1 - X0), dy = std::abs(Y1 - Y0);
    const int sx = X0 < X1 ? 1 : -1, sy = Y0 < Y1 ? 1 : -1;
    int err = dx - dy;
    int x = X0, y = Y0;
    while (x != X1 || y != Y1) {
        plot(x, y);
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

// Walks the pixels of a path of integer lines, each line without its end
// pixel, and reports those the pen style paints.
class TLineWalker {
public:
    explicit TLineWalker(TPenStyle Style) : FPattern(DashPattern(Style)) {}

    template <class Plot> void Line(int X0, int Y0, int X1, int Y1, Plot&& plot)
    {
        Walk(X0, Y0, X1, Y1, [&](int x, int y) {
            if (On()) plot(x, y);
        });
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

// The pixels of TLineWalker::Line for a solid pen, painted straight on the
// bits: the same walk without the dash pattern's bookkeeping.
template <TPenMode Mode>
void SolidLine(uchar* Bits, qsizetype Stride, const QRect& Clip, int X0, int Y0, int X1, int Y1,
               QRgb Colour)
{
    const unsigned width = static_cast<unsigned>(Clip.width());
    const unsigned height = static_cast<unsigned>(Clip.height());
    const int left = Clip.left(), top = Clip.top();
    Walk(X0, Y0, X1, Y1, [&](int x, int y) {
        if (unsigned(x - left) < width && unsigned(y - top) < height) {
            QRgb* pixel = reinterpret_cast<QRgb*>(Bits + y * Stride) + x;
            *pixel = Combine(Colour, *pixel, Mode);
        }
    });
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
    // The clip rectangle within the picture; empty when they do not meet.
    const int left = std::max(FClip.Left, 0), top = std::max(FClip.Top, 0);
    const int right = std::min(FClip.Right, FTarget->width());
    const int bottom = std::min(FClip.Bottom, FTarget->height());
    if (left >= right || top >= bottom) return QRect();
    return QRect(left, top, right - left, bottom - top);
}

void TCanvas::Changed()
{
    ++FChanges;
    if (OnChange) OnChange();
}

void TCanvas::MoveTo(int X, int Y)
{
    PenPos = TPoint{X, Y};
}

void TCanvas::LineTo(int X, int Y)
{
    if (Pen.Width > 1)
        Polyline({PenPos, TPoint{X, Y}});
    else
        Segment(PenPos.X, PenPos.Y, X, Y);
    PenPos = TPoint{X, Y};
}

QPainter& TCanvas::Record(const QRect& Clip, bool WithPen)
{
    QPainter& p = *FRecorder;
    p.setClipRect(Clip);
    p.setBrush(Qt::NoBrush);
    if (!WithPen || Pen.Style == TPenStyle::Clear) {
        p.setPen(Qt::NoPen);
        return p;
    }
    static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                          Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    QPen pen(QColor(ColorToRgb(Pen.Color)), std::max(1, Pen.Width),
             styles[static_cast<int>(Pen.Style)], Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    return p;
}

namespace {

QPointF Centre(int X, int Y)
{
    return QPointF(X + 0.5, Y + 0.5);
}

} // namespace

// A single line never reaches a pixel twice: it is painted as it is walked.
void TCanvas::Segment(int X0, int Y0, int X1, int Y1)
{
    const QRect clip = EffectiveClip();
    if (Pen.Style == TPenStyle::Clear || clip.isEmpty()) return;
    if (FSink) {
        TStrokeSink& sink = *FSink;
        const QRgb colour = ColorToRgb(Pen.Color);
        if (sink.Lines.empty()) {
            sink.Colour = colour;
            sink.Clip = clip;
        }
        if (Pen.Style != TPenStyle::Solid || Pen.Mode != TPenMode::NotXor ||
            colour != sink.Colour || clip != sink.Clip)
            sink.Mixed = true;
        sink.Lines.push_back({X0, Y0, X1, Y1});
        return;
    }
    if (FRecorder) Record(clip, true).drawLine(Centre(X0, Y0), Centre(X1, Y1));
    const QRgb colour = ColorToRgb(Pen.Color);
    uchar* const bits = FTarget->bits();
    const qsizetype stride = FTarget->bytesPerLine();
    if (Pen.Style == TPenStyle::Solid) {
        if (Pen.Mode == TPenMode::NotXor)
            SolidLine<TPenMode::NotXor>(bits, stride, clip, X0, Y0, X1, Y1, colour);
        else
            SolidLine<TPenMode::Copy>(bits, stride, clip, X0, Y0, X1, Y1, colour);
    } else {
        const int left = clip.left(), top = clip.top(), right = clip.right(),
                  bottom = clip.bottom();
        const TPenMode mode = Pen.Mode;
        TLineWalker walker(Pen.Style);
        walker.Line(X0, Y0, X1, Y1, [&](int x, int y) {
            if (x < left || x > right || y < top || y > bottom) return;
            QRgb* pixel = reinterpret_cast<QRgb*>(bits + y * stride) + x;
            *pixel = Combine(colour, *pixel, mode);
        });
    }
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    const QRect clip = EffectiveClip();
    if (Points.size() < 2 || Pen.Style == TPenStyle::Clear || clip.isEmpty()) return;
    if (Points.size() == 2 && Pen.Width <= 1) {
        Segment(Points[0].X, Points[0].Y, Points[1].X, Points[1].Y);
        return;
    }
    if (FSink) {
        // Its lines, though a path paints a pixel they share once.
        for (size_t i = 1; i < Points.size(); ++i)
            FSink->Lines.push_back({Points[i - 1].X, Points[i - 1].Y, Points[i].X, Points[i].Y});
        FSink->Mixed = true;
        return;
    }
    if (FRecorder) {
        QPolygonF path;
        for (const TPoint& p : Points)
            path << Centre(p.X, p.Y);
        Record(clip, true).drawPolyline(path);
    }
    const QRgb colour = ColorToRgb(Pen.Color);

    if (Pen.Width > 1) {
        // Wide pens: the stroke is filled as one shape, so it too paints
        // every pixel once.
        QPainter painter(FTarget);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setClipRect(clip);
        if (Pen.Mode == TPenMode::NotXor)
            painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.setPen(QPen(QColor(colour), Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygon polygon;
        for (const TPoint& p : Points)
            polygon << QPoint(p.X, p.Y);
        painter.drawPolyline(polygon);
        painter.end();
        Changed();
        return;
    }

    // Every pixel of the whole path is painted once: a pixel already marked
    // with this path's generation is passed over.
    const int left = clip.left(), top = clip.top(), right = clip.right(), bottom = clip.bottom();
    const size_t width = static_cast<size_t>(clip.width());
    TPathMarks& marks = *FPathMarks;
    const size_t needed = width * static_cast<size_t>(clip.height());
    if (marks.Marks.size() < needed) {
        marks.Marks.assign(needed, 0);
        marks.Generation = 0;
    }
    if (++marks.Generation == 0) {
        std::fill(marks.Marks.begin(), marks.Marks.end(), 0);
        marks.Generation = 1;
    }
    const uint32_t generation = marks.Generation;
    uchar* const bits = FTarget->bits();
    const qsizetype stride = FTarget->bytesPerLine();
    const TPenMode mode = Pen.Mode;
    TLineWalker walker(Pen.Style);
    for (size_t i = 1; i < Points.size(); ++i)
        walker.Line(Points[i - 1].X, Points[i - 1].Y, Points[i].X, Points[i].Y, [&](int x, int y) {
            if (x < left || x > right || y < top || y > bottom) return;
            uint32_t& mark = marks.Marks[(y - top) * width + (x - left)];
            if (mark == generation) return;
            mark = generation;
            QRgb* pixel = reinterpret_cast<QRgb*>(bits + y * stride) + x;
            *pixel = Combine(colour, *pixel, mode);
        });
    Changed();
}

namespace {

// The lines that occur an odd number of times: two equal lines flip the
// same pixels twice, which leaves them as they were. A field whose
// streamlines come round again repeats its arrows many times over.
std::vector<TSegment> OddLines(const std::vector<TSegment>& Lines)
{
    // An open-addressed table of the distinct lines, each slot holding the
    // index of a line's first occurrence plus one, and beside the lines the
    // parity of each one's count.
    size_t size = 16;
    while (size < 2 * Lines.size())
        size *= 2;
    std::vector<uint32_t> table(size, 0);
    std::vector<uint8_t> odd(Lines.size(), 0);
    const auto key = [](int V) { return static_cast<uint64_t>(static_cast<uint32_t>(V)); };
    for (size_t n = 0; n < Lines.size(); ++n) {
        const TSegment& line = Lines[n];
        uint64_t h = key(line.X0) * 0x9E3779B97F4A7C15u ^ key(line.Y0) * 0xC2B2AE3D27D4EB4Fu ^
                     key(line.X1) * 0x165667B19E3779F9u ^ key(line.Y1) * 0x27D4EB2F165667C5u;
        h ^= h >> 29;
        for (size_t i = h & (size - 1);; i = (i + 1) & (size - 1)) {
            if (table[i] == 0) {
                table[i] = static_cast<uint32_t>(n + 1);
                odd[n] = 1;
                break;
            }
            const size_t first = table[i] - 1;
            const TSegment& s = Lines[first];
            if (s.X0 == line.X0 && s.Y0 == line.Y0 && s.X1 == line.X1 && s.Y1 == line.Y1) {
                odd[first] ^= 1;
                break;
            }
        }
    }
    std::vector<TSegment> result;
    for (size_t n = 0; n < Lines.size(); ++n)
        if (odd[n]) result.push_back(Lines[n]);
    return result;
}

} // namespace

// A / B rounded up, B > 0.
int64_t CeilDiv(int64_t A, int64_t B)
{
    return A >= 0 ? (A + B - 1) / B : -(-A / B);
}

// Flips the parity of each pixel of the clip that Walk visits on a line, in
// a parity picture of the clip. Walk's i-th pixel lies i steps along the
// major axis and q(i) = floor((2 i m + n - 1) / (2 n)) along the minor one,
// n and m the major and minor extents. So the steps inside the clip follow
// from the clip's bounds, and q is kept in fixed point with 40 fraction
// bits, rounded up, which stays exact while 2 n^2 < 2^40, far beyond any
// line of the pixel range. No step depends on a comparison.
void FlipLine(const TSegment& Line, const QRect& Clip, uint8_t* Odd)
{
    const int64_t dx = std::abs(int64_t{Line.X1} - Line.X0);
    const int64_t dy = std::abs(int64_t{Line.Y1} - Line.Y0);
    const bool xMajor = dx >= dy;
    const int64_t n = xMajor ? dx : dy, m = xMajor ? dy : dx;
    if (n == 0) return;
    // The major axis a and the minor axis b: start, direction, clip bounds.
    const int64_t a0 = xMajor ? Line.X0 : Line.Y0, b0 = xMajor ? Line.Y0 : Line.X0;
    const bool aUp = xMajor ? Line.X0 < Line.X1 : Line.Y0 < Line.Y1;
    const bool bUp = xMajor ? Line.Y0 < Line.Y1 : Line.X0 < Line.X1;
    const int64_t aLo = xMajor ? Clip.left() : Clip.top();
    const int64_t aHi = xMajor ? Clip.right() : Clip.bottom();
    const int64_t bLo = xMajor ? Clip.top() : Clip.left();
    const int64_t bHi = xMajor ? Clip.bottom() : Clip.right();
    // The steps i whose pixel is inside: a within its bounds, and q(i),
    // which never decreases, between qa and qb.
    int64_t first = std::max<int64_t>(0, aUp ? aLo - a0 : a0 - aHi);
    int64_t last = std::min<int64_t>(n - 1, aUp ? aHi - a0 : a0 - aLo);
    const int64_t qa = std::max<int64_t>(0, bUp ? bLo - b0 : b0 - bHi);
    const int64_t qb = bUp ? bHi - b0 : b0 - bLo;
    if (qb < qa || (m == 0 && qa > 0)) return;
    if (m > 0) {
        if (qa > 0) first = std::max(first, CeilDiv(2 * n * qa - n + 1, 2 * m));
        last = std::min(last, (2 * n * (qb + 1) - n) / (2 * m));
    }
    if (first > last) return;
    constexpr int Fraction = 40;
    const uint64_t un = static_cast<uint64_t>(n), um = static_cast<uint64_t>(m);
    const uint64_t slope = ((um << Fraction) + un - 1) / un;
    uint64_t at = (((un - 1) << Fraction) + 2 * un - 1) / (2 * un) + first * slope;
    const int64_t width = Clip.width();
    const int64_t aStride = xMajor ? 1 : width, bStride = xMajor ? width : 1;
    const int64_t majorStep = aUp ? aStride : -aStride, minorStep = bUp ? bStride : -bStride;
    int64_t index = (a0 + (aUp ? first : -first) - aLo) * aStride + (b0 - bLo) * bStride;
    for (int64_t i = first; i <= last; ++i, at += slope, index += majorStep)
        Odd[index + static_cast<int64_t>(at >> Fraction) * minorStep] ^= 1;
}

TXorMask::TXorMask(const TStrokeSink& Sink, qsizetype Stride)
    : FColour(Sink.Colour), FHasLines(!Sink.Lines.empty()), FStride(Stride),
      FRows(Sink.Clip.isEmpty() ? 0 : Sink.Clip.bottom() + 1)
{
    if (Sink.Lines.empty() || Sink.Clip.isEmpty()) return;
    // One parity byte per pixel of the clip, flipped by every pixel that
    // painting a line paints.
    const QRect& clip = Sink.Clip;
    const unsigned width = static_cast<unsigned>(clip.width());
    const unsigned height = static_cast<unsigned>(clip.height());
    const int left = clip.left(), top = clip.top(), right = clip.right(), bottom = clip.bottom();
    const size_t area = static_cast<size_t>(width) * height;
    // The lines that reach the clip, and how many pixels each walks.
    std::vector<TSegment> lines;
    std::vector<size_t> steps;
    size_t pixels = 0;
    for (const TSegment& line : OddLines(Sink.Lines)) {
        const auto [x0, x1] = std::minmax(line.X0, line.X1);
        const auto [y0, y1] = std::minmax(line.Y0, line.Y1);
        if (x1 < left || x0 > right || y1 < top || y0 > bottom) continue;
        lines.push_back(line);
        steps.push_back(static_cast<size_t>(std::max(x1 - x0, y1 - y0)));
        pixels += steps.back();
    }
    // Flips the parity of every pixel of the lines First..Last in Odd.
    const auto walk = [&](size_t First, size_t Last, uint8_t* Odd) {
        for (size_t i = First; i < Last; ++i)
            FlipLine(lines[i], clip, Odd);
    };
    std::vector<uint8_t> odd(area, 0);
    // A field of many long lines is walked on two threads, each into a
    // parity picture of its own, and the two are xor-ed: the order of the
    // flips does not matter.
    constexpr size_t ThreadFrom = 1 << 20;
    if (pixels >= ThreadFrom && std::thread::hardware_concurrency() >= 2) {
        size_t half = 0, walked = 0;
        while (half < lines.size() && walked < pixels / 2)
            walked += steps[half++];
        std::vector<uint8_t> other(area, 0);
        std::thread second;
        try {
            second = std::thread(walk, half, lines.size(), other.data());
        } catch (const std::system_error&) {
            walk(half, lines.size(), other.data()); // no thread to be had: one after the other
        }
        walk(0, half, odd.data());
        if (second.joinable()) second.join();
        for (size_t i = 0; i < area; ++i)
            odd[i] ^= other[i];
    } else {
        walk(0, lines.size(), odd.data());
    }
    for (unsigned cy = 0; cy < height; ++cy) {
        const uint8_t* row = odd.data() + cy * size_t{width};
        const uint32_t rowStart = static_cast<uint32_t>((top + cy) * Stride + left);
        for (unsigned cx = 0; cx < width; ++cx)
            if (row[cx]) FPixels.push_back(rowStart + cx);
    }
}

void TCanvas::Xor(const TXorMask& Mask)
{
    if (!Mask.HasLines() || EffectiveClip().isEmpty() || !Mask.Fits(*FTarget)) return;
    if (FSink) {
        FSink->Mixed = true;
        return;
    }
    auto* const bits = reinterpret_cast<QRgb*>(FTarget->bits());
    const QRgb colour = Mask.Colour();
    for (const uint32_t offset : Mask.Pixels())
        bits[offset] = Combine(colour, bits[offset], TPenMode::NotXor);
    Changed();
}

void TCanvas::SetPixel(int X, int Y, TColor Color)
{
    const QRect clip = EffectiveClip();
    if (!clip.contains(X, Y)) return;
    if (FSink) {
        FSink->Mixed = true;
        return;
    }
    if (FRecorder) Record(clip, false).fillRect(QRect(X, Y, 1, 1), QColor(ColorToRgb(Color)));
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
    if (FSink) {
        FSink->Mixed = true;
        return;
    }
    if (!area.isEmpty()) {
        if (FRecorder)
            Record(EffectiveClip(), false).fillRect(area, QColor(ColorToRgb(Brush.Color)));
        QPainter painter(FTarget);
        painter.fillRect(area, QColor(ColorToRgb(Brush.Color)));
    }
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    const QRect clip = EffectiveClip();
    if (clip.isEmpty()) return;
    if (FSink) {
        FSink->Mixed = true;
        return;
    }
    if (FRecorder) {
        QPainter& p = Record(clip, true);
        if (Brush.Style != TBrushStyle::Clear) p.setBrush(QColor(ColorToRgb(Brush.Color)));
        p.drawEllipse(QRectF(Centre(X1, Y1), Centre(X2 - 1, Y2 - 1)));
    }
    QPainter painter(FTarget);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(clip);
    if (Pen.Mode == TPenMode::NotXor)
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    if (Pen.Style == TPenStyle::Clear)
        painter.setPen(Qt::NoPen);
    else
        painter.setPen(QPen(QColor(ColorToRgb(Pen.Color)), Pen.Width > 1 ? Pen.Width : 0));
    if (Brush.Style == TBrushStyle::Clear)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(QColor(ColorToRgb(Brush.Color)));
    // The box is right- and bottom-exclusive.
    painter.drawEllipse(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
    painter.end();
    Changed();
}

int TCanvas::TFontCache::Width(const std::string& Text)
{
    const auto known = Widths.find(Text);
    if (known != Widths.end()) return known->second;
    if (Widths.size() >= 512) Widths.clear();
    const int width = Metrics.horizontalAdvance(QString::fromStdString(Text));
    Widths.emplace(Text, width);
    return width;
}

TCanvas::TFontCache& TCanvas::Fonts(const TFont& Font) const
{
    for (TFontCache& cached : FFontCache)
        if (cached.Made && cached.Height == Font.Height && cached.Ratio == FPixelRatio &&
            cached.Name == Font.Name)
            return cached;
    TFontCache& made = FFontCache[FFontCacheNext];
    FFontCacheNext = (FFontCacheNext + 1) % 4;
    made.Made = true;
    made.Name = Font.Name;
    made.Height = Font.Height;
    made.Ratio = FPixelRatio;
    made.Font = ToQFont(Font, FPixelRatio);
    made.Metrics = QFontMetrics(made.Font);
    made.Widths.clear();
    return made;
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    TFontCache& fonts = Fonts(Font);
    const QFontMetrics& metrics = fonts.Metrics;
    const int width = fonts.Width(Text);
    PenPos = TPoint{X + width, Y};
    const QRect clip = EffectiveClip();
    if (clip.isEmpty()) return;
    if (FSink) {
        FSink->Mixed = true;
        return;
    }
    const QString text = QString::fromStdString(Text);
    const auto paint = [&](QPainter& Painter) {
        if (Brush.Style != TBrushStyle::Clear)
            Painter.fillRect(QRect(X, Y, width, metrics.height()), QColor(ColorToRgb(Brush.Color)));
        Painter.setFont(fonts.Font);
        Painter.setPen(QColor(ColorToRgb(Font.Color)));
        Painter.drawText(X, Y + metrics.ascent(), text);
    };
    if (FRecorder) paint(Record(clip, false));
    std::optional<QPainter> own;
    QPainter* painter = FTextPainter.get();
    if (!painter) painter = &own.emplace(FTarget);
    painter->setRenderHint(QPainter::TextAntialiasing, false);
    painter->setClipRect(clip);
    paint(*painter);
    Changed();
}

void TCanvas::BeginTexts()
{
    if (FTextDepth++ == 0 && !FTarget->isNull()) FTextPainter = std::make_shared<QPainter>(FTarget);
}

void TCanvas::EndTexts()
{
    if (FTextDepth > 0 && --FTextDepth == 0) FTextPainter.reset();
}

QSize TCanvas::TextExtent(const std::string& Text) const
{
    return TextExtent(Font, Text);
}

QSize TCanvas::TextExtent(const TFont& InFont, const std::string& Text) const
{
    TFontCache& fonts = Fonts(InFont);
    return QSize(fonts.Width(Text), fonts.Metrics.height());
}

} // namespace tensim
