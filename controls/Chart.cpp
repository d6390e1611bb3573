#include "controls/Chart.h"

#include "controls/Pictures.h"
#include "math/FloatFormat.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tensim {

namespace {

// Screen positions beyond this are not drawn.
constexpr int kDrawLimit = 32766;
// Values whose pixel offset overflows land here, far off the picture.
constexpr long double kOffsetLimit = 1e9L;
// Offsets below this are computed in double first, from differences above
// the other.
constexpr double kQuickLimit = 1e8;
constexpr double kQuickTiny = 1e-290;
// Labels are only drawn below this many steps per range.
constexpr double kMaxLabels = 10000;
constexpr double kMinStep = 1E-12;
// Points added are painted no sooner than a frame of a 60 Hz screen after
// the last paint, nor than kPauseFactor times as long as a paint takes:
// painting then takes at most about 2 per cent of the time.
constexpr qint64 kFrameNs = 16'000'000;
constexpr qint64 kPauseFactor = 64;

// Pen of a chart pen; clTeeColor takes Automatic.
QPen ToPen(const TChartPen& Pen, TColor Automatic = clBlack)
{
    if (!Pen.Visible) return QPen(Qt::NoPen);
    QPen pen(QColor(ColorToRgb(Pen.Color == clTeeColor ? Automatic : Pen.Color)));
    pen.setWidth(Pen.Width);
    pen.setStyle(Pen.Style);
    return pen;
}

QFont ToFont(const TChartFont& Font)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(1, Font.Height));
    return font;
}

// The Symbol font puts Greek letters on the Latin letter codes.
QString ShownText(const TChartFont& Font, const QString& Text)
{
    if (Font.Name.compare("Symbol", Qt::CaseInsensitive) != 0) return Text;
    static const QString latin = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    static const QString greek = QString::fromUtf8("ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ"
                                                   "αβχδεφγηιϕκλμνοπθρστυϖωξψζ");
    QString shown = Text;
    for (QChar& c : shown) {
        const int i = latin.indexOf(c);
        if (i >= 0) c = greek[i];
    }
    return shown;
}

void UseFont(QPainter& Painter, const TChartFont& Font)
{
    Painter.setFont(ToFont(Font));
    Painter.setPen(QColor(ColorToRgb(Font.Color)));
}

bool Drawable(int Pos)
{
    return Pos >= -kDrawLimit && Pos <= kDrawLimit;
}

bool Drawable(int X, int Y)
{
    return Drawable(X) && Drawable(Y);
}

// The next value of the 1-2-5 sequence above Step.
double NextStep(double Step)
{
    const double decade = std::pow(10.0, std::floor(std::log10(Step)));
    for (double factor : {1.0, 2.0, 5.0, 10.0, 20.0})
        if (factor * decade > Step * (1 + 1e-9)) return factor * decade;
    return 20 * decade;
}

// The label step of Range on an axis Length pixels long whose labels take
// LabelSize pixels each.
double LabelStepFor(double Range, double Increment, int Length, int LabelSize, int LabelsSeparation)
{
    double step = Increment > 0 ? Increment : (Range >= 1 ? 1 : kMinStep);
    step = std::max(step, kMinStep);
    const double gap = std::nearbyint(LabelSize * LabelsSeparation / 100.0);
    const double fits = std::nearbyint(Length / std::max(1.0, LabelSize + gap));
    while (std::isfinite(step) && std::nearbyint(Range / step) > fits)
        step = NextStep(step);
    return step;
}

} // namespace

// ---------------------------------------------------------------- value list

void TChartValueList::UpdateStatistics() const
{
    if (FStatisticsValid) return;
    bool any = false;
    FValues.ForEach([&](double v) {
        if (!std::isfinite(v)) return;
        if (!any || v < FMin) FMin = v;
        if (!any || v > FMax) FMax = v;
        any = true;
    });
    if (!any) FMin = FMax = 0;
    FAnyFinite = any;
    FStatisticsValid = true;
}

bool TChartValueList::HasFiniteValue() const
{
    UpdateStatistics();
    return FAnyFinite;
}

double TChartValueList::MinValue() const
{
    UpdateStatistics();
    return Multiplier >= 0 ? FMin * Multiplier : FMax * Multiplier;
}

double TChartValueList::MaxValue() const
{
    UpdateStatistics();
    return Multiplier >= 0 ? FMax * Multiplier : FMin * Multiplier;
}

int TChartValueList::InsertPosition(double Value) const
{
    const int n = Count();
    if (Order == loNone || n == 0) return n;
    // After the last value that may stay before the new one, so that equal
    // values keep the order in which they came.
    auto staysBefore = [&](double v) { return Order == loAscending ? v <= Value : v >= Value; };
    if (staysBefore(FValues.At(n - 1))) return n;
    if (!std::isnan(Value) && (Order == loAscending ? FRisesOnly : FFallsOnly))
        return SortedPosition(Value);
    // Values out of the list's order, or NaN: scan back.
    for (int i = n - 1; i >= 0; --i)
        if (staysBefore(FValues.At(static_cast<size_t>(i)))) return i + 1;
    return 0;
}

int TChartValueList::SortedPosition(double Value) const
{
    // The first chunk whose last value comes after the new one, then the
    // first value in it that does.
    const auto after = [&](double v) { return Order == loAscending ? Value < v : Value > v; };
    size_t lo = 0, hi = FValues.ChunkCount();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (after(FValues.Chunk(mid).back()))
            hi = mid;
        else
            lo = mid + 1;
    }
    if (lo == FValues.ChunkCount()) return Count();
    const std::vector<double>& chunk = FValues.Chunk(lo);
    const auto at =
        std::partition_point(chunk.begin(), chunk.end(), [&](double v) { return !after(v); });
    return static_cast<int>(FValues.ChunkStart(lo) + static_cast<size_t>(at - chunk.begin()));
}

void TChartValueList::Insert(int Index, double Value)
{
    const size_t i = static_cast<size_t>(Index);
    // Does the list stay in order with the value between its neighbours?
    if (i > 0) {
        const double before = FValues.At(i - 1);
        FRisesOnly = FRisesOnly && before <= Value;
        FFallsOnly = FFallsOnly && before >= Value;
    }
    if (i < FValues.Size()) {
        const double next = FValues.At(i);
        FRisesOnly = FRisesOnly && Value <= next;
        FFallsOnly = FFallsOnly && Value >= next;
    }
    FValues.Insert(i, Value);
    // The extremes follow an insert without a new pass over the values.
    if (FStatisticsValid && std::isfinite(Value)) {
        if (!FAnyFinite || Value < FMin) FMin = Value;
        if (!FAnyFinite || Value > FMax) FMax = Value;
        FAnyFinite = true;
    }
}

void TChartValueList::Clear()
{
    FValues.Clear();
    FRisesOnly = FFallsOnly = true;
    FStatisticsValid = true;
    FMin = FMax = 0;
    FAnyFinite = false;
}

// ---------------------------------------------------------------- series

TChartSeries::TChartSeries() = default;
TChartSeries::~TChartSeries() = default;

int TChartSeries::AddPoint(double X, double Y, const QString& Label, TColor Color)
{
    if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
    const int index = XValues.InsertPosition(X);
    const size_t at = static_cast<size_t>(index);
    // Colours and labels are kept from the first point that has its own.
    if (!FKeepColors && Color != clTeeColor) {
        FKeepColors = true;
        for (int i = 0; i < Count(); ++i)
            FColors.Insert(FColors.Size(), clTeeColor);
    }
    if (!FKeepLabels && !Label.isEmpty()) {
        FKeepLabels = true;
        for (int i = 0; i < Count(); ++i)
            FLabels.Insert(FLabels.Size(), QString());
    }
    XValues.Insert(index, X);
    YValues.Insert(index, Y);
    if (FKeepColors) FColors.Insert(at, Color);
    if (FKeepLabels) FLabels.Insert(at, Label);
    if (FParentChart) FParentChart->PointsAdded();
    return index;
}

void TChartSeries::ClearPoints()
{
    XValues.Clear();
    YValues.Clear();
    FColors.Clear();
    FLabels.Clear();
    FKeepColors = FKeepLabels = false;
    if (OnClearValues) OnClearValues(this);
    if (FParentChart) FParentChart->Repaint();
}

TColor TChartSeries::ValueColor(int Index) const
{
    if (Index < 0 || Index >= Count()) throw std::out_of_range("TChartSeries::ValueColor");
    const TColor color = FKeepColors ? FColors.At(static_cast<size_t>(Index)) : clTeeColor;
    return color == clTeeColor ? SeriesColor : color;
}

QString TChartSeries::ValueLabel(int Index) const
{
    if (Index < 0 || Index >= Count()) throw std::out_of_range("TChartSeries::ValueLabel");
    return FKeepLabels ? FLabels.At(static_cast<size_t>(Index)) : QString();
}

int TLineSeries::HorizMargin() const
{
    return Pointer.Visible && Pointer.InflateMargins ? Pointer.HorizSize + 1 : 0;
}

int TLineSeries::VertMargin() const
{
    return Pointer.Visible && Pointer.InflateMargins ? Pointer.VertSize + 1 : 0;
}

// The pens and brushes of one colour, made when the colour changes.
struct TLineSeries::TTools {
    TColor LineColor = 0, PointerColor = 0;
    bool HasLine = false, HasPointer = false;
    QPen Line, PointerPen;
    QBrush PointerBrush;
};

void TLineSeries::DrawPointer(QPainter& Painter, int X, int Y, TColor Color, TTools& Tools) const
{
    if (!Pointer.Visible || !Drawable(X, Y)) return;
    const int h = Pointer.HorizSize, v = Pointer.VertSize;
    if (!Tools.HasPointer || Tools.PointerColor != Color) {
        Tools.PointerPen = ToPen(Pointer.Pen, Color);
        const TColor fill = Pointer.Brush.Color == clTeeColor ? Color : Pointer.Brush.Color;
        Tools.PointerBrush = QBrush(QColor(ColorToRgb(fill)), Pointer.Brush.Style);
        Tools.PointerColor = Color;
        Tools.HasPointer = true;
    }
    Painter.setPen(Tools.PointerPen);
    Painter.setBrush(Tools.PointerBrush);
    // A one-pixel outline covers one pixel beyond the right and bottom edge
    // of the rectangle given, which the fill alone does not.
    const int extra = Tools.PointerPen.style() == Qt::NoPen ? 1 : 0;
    if (Pointer.Style == psCircle)
        Painter.drawEllipse(QRect(X - h, Y - v, 2 * h - 1 + extra, 2 * v - 1 + extra));
    else
        Painter.drawRect(QRect(X - h, Y - v, 2 * h + extra, 2 * v + extra));
}

void TLineSeries::DrawValues(QPainter& Painter) const
{
    const TChart* chart = ParentChart();
    if (!chart) return;
    TTools tools;
    int lastX = 0, lastY = 0;
    for (int i = 0; i < Count(); ++i) {
        const int x = chart->BottomAxis.CalcPosValue(XValues.Value(i) * XValues.Multiplier);
        const int y = chart->LeftAxis.CalcPosValue(YValues.Value(i) * YValues.Multiplier);
        if (i > 0) {
            if ((x != lastX || y != lastY) && Drawable(x, y) && Drawable(lastX, lastY)) {
                const TColor colour = ValueColor(i);
                if (!tools.HasLine || tools.LineColor != colour) {
                    tools.Line = ToPen(LinePen, colour);
                    tools.LineColor = colour;
                    tools.HasLine = true;
                }
                Painter.setPen(tools.Line);
                Painter.drawLine(lastX, lastY, x, y);
            }
            // Many points share a pixel. A marker on the same pixel as the
            // next is left out: the next, opaque and unsmoothed, paints all
            // of its pixels again whatever lies below.
            if (x != lastX || y != lastY)
                DrawPointer(Painter, lastX, lastY, ValueColor(i - 1), tools);
        }
        lastX = x;
        lastY = y;
    }
    if (Count() > 0) DrawPointer(Painter, lastX, lastY, ValueColor(Count() - 1), tools);
}

// ---------------------------------------------------------------- axis

TChartAxis::TChartAxis(TChart* Chart, bool Horizontal) : FChart(Chart), FHorizontal(Horizontal)
{
    if (!Horizontal) Title.Angle = 90;
}

void TChartAxis::SetAutomatic(bool Value)
{
    const bool changed = Value != FAutomatic;
    FAutomatic = AutomaticMinimum = AutomaticMaximum = Value;
    if (changed) FChart->Repaint();
}

void TChartAxis::SetMinimum(double Value)
{
    if (!(Value <= FMaximum)) throw AxisException("Axis Minimum Value must be <= Maximum");
    if (Value == FMinimum) return;
    FMinimum = Value;
    FChart->Repaint();
}

void TChartAxis::SetMaximum(double Value)
{
    if (!(Value >= FMinimum)) throw AxisException("Axis Maximum Value must be >= Minimum");
    if (Value == FMaximum) return;
    FMaximum = Value;
    FChart->Repaint();
}

int TChartAxis::CalcPosValue(double Value) const
{
    const int size = FEndPos - FStartPos;
    if (FShownMax == FShownMin) return (FStartPos + FEndPos) / 2;
    // The common case in double: with normal numbers and no overflow its
    // error is far below 1e-5 of a pixel, so an offset that far from a half
    // pixel rounds as the exact one does.
    const double span = FShownMax - FShownMin, from = Value - FShownMin;
    if (std::isfinite(span) && std::fabs(span) > kQuickTiny &&
        (from == 0 || std::fabs(from) > kQuickTiny)) {
        const double quick = from * size / span;
        if (std::fabs(quick) < kQuickLimit) {
            const double floor = std::floor(quick);
            if (std::fabs(quick - floor - 0.5) > 1e-5) {
                const int rounded = static_cast<int>(floor) + (quick - floor > 0.5);
                return FHorizontal ? FStartPos + rounded : FEndPos - rounded;
            }
        }
    }
    // In long double: a range wider than the largest double does not overflow.
    const long double range = static_cast<long double>(FShownMax) - FShownMin;
    long double offset = (static_cast<long double>(Value) - FShownMin) * size / range;
    // Values off any picture are placed where they are not drawn.
    if (std::isnan(offset)) offset = -kOffsetLimit;
    offset = std::clamp(offset, -kOffsetLimit, kOffsetLimit);
    const int rounded = static_cast<int>(std::nearbyint(offset));
    return FHorizontal ? FStartPos + rounded : FEndPos - rounded;
}

QString TChartAxis::LabelText(double Value) const
{
    return QString::fromStdString(FormatFloat(AxisValuesFormat, Value));
}

// ---------------------------------------------------------------- chart

TChart::TChart(QWidget* Parent) : QWidget(Parent)
{
    Title.Text << "TChart";
    resize(400, 250);
    FPointsTimer.setSingleShot(true);
    connect(&FPointsTimer, &QTimer::timeout, this, [this] { update(); });
}

TChart::~TChart() = default;

void TChart::AdoptSeries(std::unique_ptr<TChartSeries> Series)
{
    Series->FParentChart = this;
    FSeries.push_back(std::move(Series));
    Repaint();
}

double TChart::SeriesExtreme(const TChartAxis& Axis, bool Horizontal, bool Largest) const
{
    // Every series lies on the bottom and the left axis; inactive series
    // count only when none is active.
    if (Axis.Horizontal() != Horizontal) return 0;
    const bool anyActive =
        std::any_of(FSeries.begin(), FSeries.end(), [](const auto& s) { return s->Active; });
    bool found = false;
    double result = 0;
    for (const auto& s : FSeries) {
        if (anyActive && !s->Active) continue;
        // Values left out of the extremes leave a series without any.
        const TChartValueList& list = Horizontal ? s->XValues : s->YValues;
        if (!list.HasFiniteValue()) continue;
        const double v = Largest ? list.MaxValue() : list.MinValue();
        if (!found || (Largest ? v > result : v < result)) result = v;
        found = true;
    }
    return result;
}

double TChart::SeriesMinX(const TChartAxis& Axis) const
{
    return SeriesExtreme(Axis, true, false);
}
double TChart::SeriesMaxX(const TChartAxis& Axis) const
{
    return SeriesExtreme(Axis, true, true);
}
double TChart::SeriesMinY(const TChartAxis& Axis) const
{
    return SeriesExtreme(Axis, false, false);
}
double TChart::SeriesMaxY(const TChartAxis& Axis) const
{
    return SeriesExtreme(Axis, false, true);
}

bool TChart::AxisHasLabels(const TChartAxis& Axis) const
{
    return Axis.Labels &&
           std::any_of(FSeries.begin(), FSeries.end(), [](const auto& s) { return s->Active; });
}

namespace {

// Pixels of the labels of an axis across its line: their height on a
// horizontal axis, their largest width on a vertical one.
int LabelsDepth(const TChartAxis& Axis, const QPaintDevice* Device)
{
    const QFontMetrics fm(ToFont(Axis.LabelsFont), Device);
    if (Axis.Horizontal()) return fm.height();
    int width = 0;
    for (double v : Axis.LabelValues())
        width =
            std::max(width, fm.horizontalAdvance(ShownText(Axis.LabelsFont, Axis.LabelText(v))));
    return width;
}

// Pixels of the axis title across the axis line.
int TitleDepth(const TChartAxis& Axis, const QPaintDevice* Device)
{
    if (Axis.Title.Caption.isEmpty()) return 0;
    const QFontMetrics fm(ToFont(Axis.Title.Font), Device);
    const bool across = Axis.Horizontal() == (Axis.Title.Angle == 0);
    return across ? fm.height()
                  : fm.horizontalAdvance(ShownText(Axis.Title.Font, Axis.Title.Caption));
}

// Ticks, labels and titles lie below a horizontal axis and left of a vertical one.
int Outward(const TChartAxis& Axis)
{
    return Axis.Horizontal() ? 1 : -1;
}

// A line across the axis at Pos, from From to To.
void DrawAcross(QPainter& Painter, const TChartAxis& Axis, int Pos, int From, int To)
{
    if (Axis.Horizontal())
        Painter.drawLine(Pos, From, Pos, To);
    else
        Painter.drawLine(From, Pos, To, Pos);
}

} // namespace

// Ticks, labels and title beside the axis line. A horizontal axis knows its
// label height before its range; a vertical one needs its labels first.
int TChart::AxisDepth(const TChartAxis& Axis, const QPaintDevice* Device) const
{
    int depth = Axis.TickLength;
    const bool labels = Axis.Horizontal() ? AxisHasLabels(Axis) : !Axis.LabelValues().empty();
    if (labels) depth += LabelsDepth(Axis, Device) + 2;
    const int title = TitleDepth(Axis, Device);
    if (title > 0) depth += title + 2;
    return depth;
}

void TChart::AdjustAxis(TChartAxis& Axis, QPainter& Painter, int From, int To, double UnitsPerPixel)
{
    const bool horizontal = Axis.Horizontal();
    Axis.FStartPos = From + Axis.StartPosition * (To - From) / 100;
    Axis.FEndPos = From + Axis.EndPosition * (To - From) / 100;
    const int size = Axis.FEndPos - Axis.FStartPos;

    // Marker margins at the automatic ends widen the range shown so that
    // the data ends land that many pixels inside the axis ends.
    int margin = 0;
    for (const auto& s : FSeries)
        if (s->Active) margin = std::max(margin, horizontal ? s->HorizMargin() : s->VertMargin());
    const int low = Axis.AutomaticMinimum ? margin : 0;
    const int high = Axis.AutomaticMaximum ? margin : 0;
    long double lo = Axis.FMinimum, hi = Axis.FMaximum;
    if ((low > 0 || high > 0) && hi > lo && size - low - high > 0) {
        const long double scale = (hi - lo) / (size - low - high);
        lo -= low * scale;
        hi += high * scale;
    }
    Axis.FNaturalMin = static_cast<double>(lo);
    Axis.FNaturalMax = static_cast<double>(hi);
    const long double wanted = static_cast<long double>(UnitsPerPixel) * size;
    if (wanted > hi - lo) {
        const long double middle = (lo + hi) / 2;
        lo = middle - wanted / 2;
        hi = middle + wanted / 2;
    }
    Axis.FShownMin = static_cast<double>(lo);
    Axis.FShownMax = static_cast<double>(hi);

    Axis.FLabelValues.clear();
    Axis.FLabelStep = 0;
    const double range = Axis.FShownMax - Axis.FShownMin;
    if (!AxisHasLabels(Axis) || !std::isfinite(range) || range < 0) return;
    const QFontMetrics fm(ToFont(Axis.LabelsFont), Painter.device());
    auto sizeOf = [&](double v) {
        return horizontal ? fm.horizontalAdvance(ShownText(Axis.LabelsFont, Axis.LabelText(v)))
                          : fm.height();
    };
    const int labelSize = std::max(sizeOf(Axis.FShownMin), sizeOf(Axis.FShownMax));
    const double step = LabelStepFor(range, Axis.Increment, size, labelSize, Axis.LabelsSeparation);
    Axis.FLabelStep = step;
    if (!std::isfinite(step) || range / step >= kMaxLabels) return;

    if (range == 0) {
        Axis.FLabelValues.push_back(Axis.FShownMax);
        return;
    }
    double value = Axis.FShownMax;
    if (Axis.RoundFirstLabel) {
        value = std::trunc(Axis.FShownMax / step) * step;
        while (value > Axis.FShownMax && value - step < value)
            value -= step;
    }
    // Labels go down to the minimum less a small tolerance. Dividing by
    // 1.000000000001 widens it only for a minimum of 0 or above; below zero
    // it would cut the label on the minimum itself, so there it multiplies.
    const double shifted = Axis.FShownMin - kMinStep;
    const double lowest = Axis.FShownMin >= 0 ? shifted / 1.000000000001 : shifted * 1.000000000001;
    while (std::isfinite(value) && value >= lowest && Axis.FLabelValues.size() <= kMaxLabels) {
        Axis.FLabelValues.push_back(value);
        if (!(value - step < value)) break;
        value -= step;
    }
}

void TChart::LayoutAxes(QPainter& Painter, QRect Area)
{
    for (TChartAxis* axis : {&BottomAxis, &LeftAxis}) {
        const bool horizontal = axis->Horizontal();
        if (axis->FAutomatic || axis->AutomaticMaximum)
            axis->FMaximum = horizontal ? SeriesMaxX(*axis) : SeriesMaxY(*axis);
        if (axis->FAutomatic || axis->AutomaticMinimum)
            axis->FMinimum = horizontal ? SeriesMinX(*axis) : SeriesMinY(*axis);
    }
    PlaceAxes(Painter, Area, 0);
    // Equal scales: the larger number of units per pixel for both axes. The
    // widened labels can change the room the axes take, and with it their
    // lengths: placed again until the plotting area stays.
    const auto unitsPerPixel = [](const TChartAxis& Axis) {
        const int size = Axis.FEndPos - Axis.FStartPos;
        return size > 0 ? (Axis.FNaturalMax - Axis.FNaturalMin) / size : 0.0;
    };
    for (int pass = 0; EqualScale && pass < 4; ++pass) {
        const double units = std::max(unitsPerPixel(BottomAxis), unitsPerPixel(LeftAxis));
        if (!std::isfinite(units) || !(units > 0)) break;
        const QRect placed = FChartRect;
        PlaceAxes(Painter, Area, units);
        if (FChartRect == placed) break;
    }
}

void TChart::PlaceAxes(QPainter& Painter, QRect Area, double UnitsPerPixel)
{
    const QPaintDevice* device = Painter.device();
    if (BottomAxis.Visible && BottomAxis.PositionPercent == 0)
        Area.setBottom(Area.bottom() - AxisDepth(BottomAxis, device));
    AdjustAxis(LeftAxis, Painter, Area.top(), Area.bottom(), UnitsPerPixel);
    if (LeftAxis.Visible && LeftAxis.PositionPercent == 0)
        Area.setLeft(Area.left() + AxisDepth(LeftAxis, device));
    AdjustAxis(BottomAxis, Painter, Area.left(), Area.right(), UnitsPerPixel);

    BottomAxis.FPosition =
        Area.bottom() -
        static_cast<int>(std::nearbyint(Area.height() * BottomAxis.PositionPercent / 100.0));
    LeftAxis.FPosition =
        Area.left() +
        static_cast<int>(std::nearbyint(Area.width() * LeftAxis.PositionPercent / 100.0));
    FChartRect = Area;
}

void TChart::DrawAxis(QPainter& Painter, TChartAxis& Axis)
{
    Axis.FLabelBoxes.clear();
    if (!Axis.Visible) return;
    // Labels whose position is beyond the drawing limit are not drawn, as
    // for series; the label rule can put one there on a very narrow range.
    std::vector<int> positions;
    for (double v : Axis.FLabelValues) {
        const int pos = Axis.CalcPosValue(v);
        if (Drawable(pos)) positions.push_back(pos);
    }
    std::sort(positions.begin(), positions.end());

    DrawAxisGrid(Painter, Axis, positions);
    DrawAxisTicks(Painter, Axis, positions);
    DrawAxisLabels(Painter, Axis);
    if (Axis.Axis.Visible) {
        const int at = Axis.FPosition;
        Painter.setPen(ToPen(Axis.Axis));
        if (Axis.Horizontal())
            Painter.drawLine(Axis.FStartPos, at, Axis.FEndPos, at);
        else
            Painter.drawLine(at, Axis.FStartPos, at, Axis.FEndPos);
    }
    DrawAxisTitle(Painter, Axis);
}

void TChart::DrawAxisGrid(QPainter& Painter, const TChartAxis& Axis,
                          const std::vector<int>& Positions) const
{
    if (!Axis.Grid.Visible) return;
    const bool horizontal = Axis.Horizontal();
    const QRect& r = FChartRect;
    Painter.setPen(ToPen(Axis.Grid));
    for (size_t i = 0; i < Positions.size(); ++i) {
        int pos = Positions[i];
        if (Axis.GridCentered) {
            if (i + 1 == Positions.size()) break;
            pos = (Positions[i] + Positions[i + 1]) / 2;
        }
        DrawAcross(Painter, Axis, pos, horizontal ? r.top() : r.left(),
                   horizontal ? r.bottom() : r.right());
    }
}

void TChart::DrawAxisTicks(QPainter& Painter, const TChartAxis& Axis,
                           const std::vector<int>& Positions) const
{
    const int at = Axis.FPosition, outward = Outward(Axis);
    Painter.setPen(ToPen(TChartPen{Axis.Axis.Color}));
    for (size_t i = 0; i < Positions.size(); ++i) {
        if (Axis.TickLength > 0)
            DrawAcross(Painter, Axis, Positions[i], at + outward, at + outward * Axis.TickLength);
        if (i + 1 == Positions.size() || Axis.MinorTickLength <= 0) continue;
        for (int k = 1; k <= Axis.MinorTickCount; ++k) {
            const long long gap = static_cast<long long>(Positions[i + 1]) - Positions[i];
            const int pos = Positions[i] + static_cast<int>(gap * k / (Axis.MinorTickCount + 1));
            DrawAcross(Painter, Axis, pos, at + outward, at + outward * Axis.MinorTickLength);
        }
    }
}

void TChart::DrawAxisLabels(QPainter& Painter, TChartAxis& Axis) const
{
    const bool horizontal = Axis.Horizontal();
    const int labelsAt = Axis.FPosition + Outward(Axis) * (Axis.TickLength + 2);
    UseFont(Painter, Axis.LabelsFont);
    const QFontMetrics fm(Painter.font(), Painter.device());
    // The labels from the lowest value up, end labels kept inside the picture.
    std::vector<std::pair<QRect, QString>> labels;
    for (auto v = Axis.FLabelValues.rbegin(); v != Axis.FLabelValues.rend(); ++v) {
        const int pos = Axis.CalcPosValue(*v);
        if (!Drawable(pos)) continue;
        const QString text = ShownText(Axis.LabelsFont, Axis.LabelText(*v));
        const int w = fm.horizontalAdvance(text), h = fm.height();
        QRect box = horizontal ? QRect(pos - w / 2, labelsAt, w, h)
                               : QRect(labelsAt - w, pos - h / 2, w, h);
        if (horizontal) {
            const QRect& bounds = FDrawRect;
            box.moveLeft(
                std::clamp(box.left(), bounds.left(), std::max(bounds.left(), bounds.right() - w)));
        }
        labels.emplace_back(box, text);
    }
    // Labels that would touch are thinned: every second one left out, then
    // every third, and so on, until a space's width lies between any two
    // side by side, and labels one above the other do not overlap.
    const int gap = horizontal ? fm.horizontalAdvance(' ') : 0;
    const auto apart = [&](const QRect& Lower, const QRect& Higher) {
        return horizontal ? Higher.left() - Lower.right() - 1 >= gap
                          : Lower.top() - Higher.bottom() - 1 >= gap;
    };
    size_t every = 1;
    for (; every < labels.size(); ++every) {
        bool fits = true;
        for (size_t i = every; i < labels.size() && fits; i += every)
            fits = apart(labels[i - every].first, labels[i].first);
        if (fits) break;
    }
    for (size_t i = 0; i < labels.size(); i += every) {
        Painter.drawText(labels[i].first, Qt::AlignCenter, labels[i].second);
        Axis.FLabelBoxes.push_back(labels[i].first);
    }
}

void TChart::DrawAxisTitle(QPainter& Painter, const TChartAxis& Axis) const
{
    if (Axis.Title.Caption.isEmpty()) return;
    const QRect& r = FChartRect;
    UseFont(Painter, Axis.Title.Font);
    const QString caption = ShownText(Axis.Title.Font, Axis.Title.Caption);
    const QFontMetrics tfm(Painter.font(), Painter.device());
    const int depth = TitleDepth(Axis, Painter.device());
    // The title takes the outer end of the axis's space.
    const int titleAt =
        Axis.FPosition + Outward(Axis) * (AxisDepth(Axis, Painter.device()) - depth);
    const int middle = (Axis.FStartPos + Axis.FEndPos) / 2;
    if (Axis.Horizontal()) {
        Painter.drawText(QRect(middle - r.width(), titleAt, 2 * r.width(), depth), Qt::AlignCenter,
                         caption);
    } else if (Axis.Title.Angle == 0) {
        Painter.drawText(QRect(titleAt - depth, middle - tfm.height() / 2, depth, tfm.height()),
                         Qt::AlignCenter, caption);
    } else {
        // A title longer than the axis moves toward the middle of the space
        // below the chart title, and shrinks when even that is too short.
        const int top = FTitleBottom, bottom = FDrawRect.bottom();
        int w = tfm.horizontalAdvance(caption);
        if (w > bottom - top && w > 0) {
            QFont font = Painter.font();
            font.setPixelSize(std::max(6, font.pixelSize() * (bottom - top) / w));
            Painter.setFont(font);
            w = QFontMetrics(font, Painter.device()).horizontalAdvance(caption);
        }
        const int centre = std::clamp(middle, top + w / 2, std::max(top + w / 2, bottom - w / 2));
        Painter.save();
        Painter.translate(titleAt - depth / 2.0, centre);
        Painter.rotate(-Axis.Title.Angle);
        Painter.drawText(QRect(-w, -depth / 2, 2 * w, depth), Qt::AlignCenter, caption);
        Painter.restore();
    }
}

void TChart::Draw(QPainter& Painter, const QRect& Rect)
{
    Painter.save();
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Panel with a raised one-pixel bevel.
    Painter.fillRect(Rect, QColor(ColorToRgb(Color)));
    Painter.setPen(QColor(ColorToRgb(clWhite)));
    Painter.drawLine(Rect.topLeft(), Rect.topRight());
    Painter.drawLine(Rect.topLeft(), Rect.bottomLeft());
    Painter.setPen(QColor(ColorToRgb(clGray)));
    Painter.drawLine(Rect.bottomLeft(), Rect.bottomRight());
    Painter.drawLine(Rect.topRight(), Rect.bottomRight());

    FDrawRect = Rect;
    QRect area =
        Rect.adjusted(Rect.width() * MarginLeft / 100, Rect.height() * MarginTop / 100,
                      -Rect.width() * MarginRight / 100, -Rect.height() * MarginBottom / 100);
    if (Title.Visible && !Title.Text.isEmpty()) {
        UseFont(Painter, Title.Font);
        const int lineHeight = QFontMetrics(Painter.font(), Painter.device()).height();
        int y = area.top();
        for (const QString& line : Title.Text) {
            Painter.drawText(QRect(Rect.left(), y, Rect.width(), lineHeight),
                             Qt::AlignHCenter | Qt::AlignTop, ShownText(Title.Font, line));
            y += lineHeight;
        }
        area.setTop(y + lineHeight / 2);
    }
    FTitleBottom = area.top();

    LayoutAxes(Painter, area);
    Painter.setBrush(QBrush(QColor(ColorToRgb(BackWallBrush.Color)), BackWallBrush.Style));
    Painter.setPen(ToPen(BackWallPen));
    Painter.drawRect(FChartRect.adjusted(0, 0, -1, -1));
    Painter.setBrush(Qt::NoBrush);
    DrawAxis(Painter, LeftAxis);
    DrawAxis(Painter, BottomAxis);

    Painter.setClipRect(FChartRect, Qt::IntersectClip);
    for (const auto& s : FSeries)
        if (s->Active) s->DrawValues(Painter);
    Painter.restore();
}

void TChart::PointsAdded()
{
    // Each paint draws every point, so a paint for each point added would
    // make a long run slower with every point. Points that come within the
    // pause after a paint are painted when it ends.
    if (FPointsTimer.isActive()) return;
    const qint64 pause = std::max(kFrameNs, FPaintNs * kPauseFactor);
    const qint64 left = FSincePaint.isValid() ? pause - FSincePaint.nsecsElapsed() : 0;
    if (left <= 0)
        update();
    else
        FPointsTimer.start(static_cast<int>((left + 999999) / 1000000));
}

void TChart::paintEvent(QPaintEvent*)
{
    QElapsedTimer timer;
    timer.start();
    QPainter painter(this);
    Draw(painter, rect());
    // The shorter of the last two paints: a paint slowed by something else,
    // such as loading fonts, holds the next points back only once.
    const qint64 ns = timer.nsecsElapsed();
    FPaintNs = std::min(ns, FLastPaintNs);
    FLastPaintNs = ns;
    FSincePaint.start();
}

void TChart::mouseDoubleClickEvent(QMouseEvent* Event)
{
    if (OnDblClick)
        OnDblClick(this);
    else
        QWidget::mouseDoubleClickEvent(Event);
}

namespace {

// The chart drawn at the screen's resolution: a picture with the device
// pixels of the logical Size.
QImage ChartImage(TChart& Chart, QSize Size)
{
    Size = Size.expandedTo(QSize(1, 1));
    const qreal ratio = Chart.devicePixelRatioF();
    QImage image(ratio == 1 ? Size : (QSizeF(Size) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    Chart.Draw(painter, QRect(QPoint(0, 0), Size));
    return image;
}

} // namespace

void TChart::SaveChartBitmap(const QString& FileName)
{
    SavePicture(ChartImage(*this, size()), FileName);
}

QByteArray TChart::ChartSvg()
{
    const QSize pictureSize = SvgSize();
    return SvgPicture(pictureSize, Title.Text.join(' '),
                      [&](QPainter& Painter) { Draw(Painter, QRect(QPoint(0, 0), pictureSize)); });
}

QByteArray TChart::ChartPdf()
{
    const QSize pictureSize = SvgSize();
    return PdfPicture(pictureSize, Title.Text.join(' '),
                      [&](QPainter& Painter) { Draw(Painter, QRect(QPoint(0, 0), pictureSize)); });
}

QSize TChart::SvgSize() const
{
    return (size() - QSize(1, 1)).expandedTo(QSize(1, 1));
}

void TChart::CopyChartMetafile()
{
    auto* data = new QMimeData;
    data->setData("image/svg+xml", ChartSvg());
    data->setImageData(ChartImage(*this, SvgSize()));
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace tensim
