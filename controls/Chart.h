#pragma once
// A two-dimensional chart with a bottom and a left axis and line series,
// painted with QPainter. Axes scale themselves to the data (with pixel
// margins for point markers) or keep a fixed range; the chart can be saved
// as a picture file and copied to the clipboard as SVG and bitmap.

#include "controls/ChunkedVector.h"
#include "math/Colors.h"
#include "math/Errors.h"
#include "math/Events.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace tensim {

class TChart;

// Raised when an axis range would be written out of order.
class AxisException : public Exception {
public:
    using Exception::Exception;
};

struct TChartPen {
    TColor Color = clBlack;
    int Width = 1;
    Qt::PenStyle Style = Qt::SolidLine;
    bool Visible = true;
};

struct TChartBrush {
    TColor Color = clWhite; // clTeeColor: the colour of the point drawn
    Qt::BrushStyle Style = Qt::SolidPattern;
};

// Name "Symbol" shows Latin letters as the Greek letters of that font
// ("l" as lambda, "g" as gamma). Height is the character height in pixels.
struct TChartFont {
    QString Name = "Arial";
    int Height = 11;
    TColor Color = clBlack;
};

struct TChartTitle {
    QStringList Text;
    TChartFont Font;
    bool Visible = true;
};

struct TChartAxisTitle {
    QString Caption;
    int Angle = 0; // 0 or 90 (reading upward)
    TChartFont Font;
};

enum TChartListOrder { loNone, loAscending, loDescending };

// The x or y values of a series, one per point. The Order of the x list
// decides where AddPoint stores a point.
class TChartValueList {
public:
    TChartValueList(const QString& Name, TChartListOrder Order) : Name(Name), Order(Order) {}

    QString Name;
    double Multiplier = 1.0;
    TChartListOrder Order;

    int Count() const { return static_cast<int>(FValues.Size()); }
    // Throws std::out_of_range for an index outside the list.
    double Value(int Index) const { return FValues.At(static_cast<size_t>(Index)); }
    // Extremes of the values times Multiplier; NaN and infinite values are
    // skipped, and a list without a finite value gives 0.
    double MinValue() const;
    double MaxValue() const;
    bool HasFiniteValue() const;

private:
    friend class TChartSeries;
    int InsertPosition(double Value) const;
    void Insert(int Index, double Value);
    void Clear();
    void UpdateStatistics() const;

    // An insert position by binary search, for a list kept in its order.
    int SortedPosition(double Value) const;

    TChunkedVector<double> FValues;
    // Whether the values run up (down) from first to last, equal ones
    // allowed: then a new value's place is found by binary search.
    bool FRisesOnly = true, FFallsOnly = true;
    mutable bool FStatisticsValid = true;
    mutable double FMin = 0, FMax = 0;
    mutable bool FAnyFinite = false;
};

// A list of points on the chart's bottom (x) and left (y) axes.
class TChartSeries : public QObject {
public:
    TChartSeries();
    ~TChartSeries() override;

    TColor SeriesColor = clRed;
    QString Title;
    bool Active = true;
    TChartValueList XValues{"X", loAscending};
    TChartValueList YValues{"Y", loNone};

    // Asked before a point is stored; false refuses it.
    std::function<bool(QObject* Sender)> OnBeforeAdd;
    TNotifyEvent OnClearValues;

    // Stores the point where XValues.Order puts it and returns its index,
    // or -1 when OnBeforeAdd refused it. The chart shows it at its next
    // paint, which comes at a rate that keeps painting cheap.
    int AddPoint(double X, double Y, const QString& Label = QString(), TColor Color = clTeeColor);
    void ClearPoints();
    int Count() const { return XValues.Count(); }
    // The point's colour, the series colour for the automatic colour.
    TColor ValueColor(int Index) const;
    QString ValueLabel(int Index) const;
    TChart* ParentChart() const { return FParentChart; }

    // Pixels needed beyond the first and last value on each axis.
    virtual int HorizMargin() const { return 0; }
    virtual int VertMargin() const { return 0; }
    virtual void DrawValues(QPainter& Painter) const = 0;

private:
    friend class TChart;
    TChart* FParentChart = nullptr;
    // Kept only once a point has a colour or label of its own: until then
    // every point has the automatic colour and no label.
    TChunkedVector<TColor> FColors;
    TChunkedVector<QString> FLabels;
    bool FKeepColors = false, FKeepLabels = false;
};

enum TSeriesPointerStyle { psRectangle, psCircle };

struct TSeriesPointer {
    bool Visible = false;
    TSeriesPointerStyle Style = psRectangle;
    int HorizSize = 4; // half-width in pixels
    int VertSize = 4;  // half-height in pixels
    bool InflateMargins = true;
    TChartPen Pen;                 // outline
    TChartBrush Brush{clTeeColor}; // fill
};

class TLineSeries : public TChartSeries {
public:
    TChartPen LinePen{clTeeColor};
    TSeriesPointer Pointer;

    int HorizMargin() const override;
    int VertMargin() const override;
    void DrawValues(QPainter& Painter) const override;

private:
    struct TTools;
    void DrawPointer(QPainter& Painter, int X, int Y, TColor Color, TTools& Tools) const;
};

class TChartAxis {
public:
    TChartAxis(TChart* Chart, bool Horizontal);

    bool Automatic() const { return FAutomatic; }
    // Sets AutomaticMinimum and AutomaticMaximum with it.
    void SetAutomatic(bool Value);
    double Minimum() const { return FMinimum; }
    double Maximum() const { return FMaximum; }
    // Raise AxisException when the range would be out of order; the value
    // is then not stored.
    void SetMinimum(double Value);
    void SetMaximum(double Value);

    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Increment = 0;      // desired label step, 0 for automatic
    int LabelsSeparation = 10; // per cent of a label's size kept free
    bool RoundFirstLabel = true;
    std::string AxisValuesFormat = "#,##0.###";
    TChartAxisTitle Title;
    TChartFont LabelsFont;
    TChartPen Axis;
    TChartPen Grid{clGray, 1, Qt::DotLine};
    bool GridCentered = false;
    int PositionPercent = 0; // axis line moved into the plotting area
    int StartPosition = 0;   // per cent of the plotting area spanned
    int EndPosition = 100;
    int TickLength = 4;
    int MinorTickCount = 3;
    int MinorTickLength = 2;
    bool Labels = true;
    bool Visible = true;

    bool Horizontal() const { return FHorizontal; }
    // As of the last drawing: the range shown (widened by marker margins),
    // the pixel span, the label step and the label values.
    double ShownMinimum() const { return FShownMin; }
    double ShownMaximum() const { return FShownMax; }
    int StartPos() const { return FStartPos; }
    int EndPos() const { return FEndPos; }
    double LabelStep() const { return FLabelStep; }
    const std::vector<double>& LabelValues() const { return FLabelValues; }
    // The boxes of the labels drawn last, lowest value first.
    const std::vector<QRect>& LabelBoxes() const { return FLabelBoxes; }
    // The pixel of a value: x for a horizontal axis, y for a vertical one.
    int CalcPosValue(double Value) const;
    QString LabelText(double Value) const;

private:
    friend class TChart;
    TChart* FChart;
    bool FHorizontal;
    bool FAutomatic = true;
    double FMinimum = 0, FMaximum = 0;
    double FShownMin = 0, FShownMax = 0;
    double FNaturalMin = 0, FNaturalMax = 0; // the range shown before equal scaling
    int FStartPos = 0, FEndPos = 0, FPosition = 0;
    double FLabelStep = 0;
    std::vector<double> FLabelValues;
    std::vector<QRect> FLabelBoxes;
};

class TChart : public QWidget {
public:
    explicit TChart(QWidget* Parent = nullptr);
    ~TChart() override;

    TChartTitle Title;
    TColor Color = 0xF0F0F0; // panel
    TChartBrush BackWallBrush{clWhite, Qt::NoBrush};
    TChartPen BackWallPen;
    int MarginLeft = 3, MarginRight = 3; // per cent of the width
    int MarginTop = 4, MarginBottom = 4; // per cent of the height
    TChartAxis BottomAxis{this, true};
    TChartAxis LeftAxis{this, false};
    TNotifyEvent OnDblClick;
    // When set, a unit of x and a unit of y take the same pixels: the range
    // of the axis with fewer units per pixel is shown widened about its
    // centre. Minimum and Maximum keep their values. Off by default.
    bool EqualScale = false;

    template <class T> T* AddSeries()
    {
        auto series = std::make_unique<T>();
        T* result = series.get();
        AdoptSeries(std::move(series));
        return result;
    }
    int SeriesCount() const { return static_cast<int>(FSeries.size()); }
    TChartSeries* SeriesList(int Index) const { return FSeries.at(Index).get(); }

    // The extreme x of the series on a horizontal axis, or y of those on a
    // vertical axis; 0 when no series counts.
    double SeriesMinX(const TChartAxis& Axis) const;
    double SeriesMaxX(const TChartAxis& Axis) const;
    double SeriesMinY(const TChartAxis& Axis) const;
    double SeriesMaxY(const TChartAxis& Axis) const;

    // Draws the whole chart into Rect; ranges and labels are computed anew.
    void Draw(QPainter& Painter, const QRect& Rect);
    // Writes the format the file name's extension names, BMP when Qt
    // cannot write that one; throws Exception when the file is not written.
    void SaveChartBitmap(const QString& FileName);
    // Puts the chart on the clipboard as SVG and as a bitmap.
    void CopyChartMetafile();
    // The chart as a vector picture, one pixel smaller than the control each way.
    QByteArray ChartSvg();
    // The chart as a one-page PDF of its size.
    QByteArray ChartPdf();
    void Repaint() { update(); }

    const QRect& ChartRect() const { return FChartRect; } // plotting area

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
    friend class TChartSeries;
    void AdoptSeries(std::unique_ptr<TChartSeries> Series);
    // Asks for a repaint for points added, no sooner than a frame after the
    // last paint nor than many times as long as a paint takes.
    void PointsAdded();
    double SeriesExtreme(const TChartAxis& Axis, bool Horizontal, bool Largest) const;
    bool AxisHasLabels(const TChartAxis& Axis) const;
    int AxisDepth(const TChartAxis& Axis, const QPaintDevice* Device) const;
    // Places the axis between From and To and makes its labels; a range of
    // fewer than UnitsPerPixel units per pixel is widened to that many.
    void AdjustAxis(TChartAxis& Axis, QPainter& Painter, int From, int To,
                    double UnitsPerPixel = 0);
    void LayoutAxes(QPainter& Painter, QRect Area);
    void PlaceAxes(QPainter& Painter, QRect Area, double UnitsPerPixel);
    // Grid, ticks, labels, axis line and title, in this order.
    void DrawAxis(QPainter& Painter, TChartAxis& Axis);
    // Positions: the pixels of the label values, in ascending order.
    void DrawAxisGrid(QPainter& Painter, const TChartAxis& Axis,
                      const std::vector<int>& Positions) const;
    void DrawAxisTicks(QPainter& Painter, const TChartAxis& Axis,
                       const std::vector<int>& Positions) const;
    // Records the boxes of the labels drawn.
    void DrawAxisLabels(QPainter& Painter, TChartAxis& Axis) const;
    void DrawAxisTitle(QPainter& Painter, const TChartAxis& Axis) const;
    QSize SvgSize() const;

    std::vector<std::unique_ptr<TChartSeries>> FSeries;
    QRect FChartRect, FDrawRect;
    int FTitleBottom = 0;
    QTimer FPointsTimer; // a repaint for points added, when it runs out
    QElapsedTimer FSincePaint;
    qint64 FPaintNs = 0, FLastPaintNs = 0; // how long a paint takes, the last took
};

} // namespace tensim
