#include "controls/Chart.h"

#include "math/FloatFormat.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

namespace tensim {
namespace {

QImage Render(TChart& Chart)
{
    QImage image(Chart.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&image);
    Chart.Draw(painter, Chart.rect());
    return image;
}

std::vector<double> Values(const TChartValueList& List)
{
    std::vector<double> out;
    for (int i = 0; i < List.Count(); ++i)
        out.push_back(List.Value(i));
    return out;
}

QString BuildPath(const QString& Name)
{
    return QDir(TENSIM_BUILD_DIR).filePath(Name);
}

// Separators fixed for label texts, restored afterwards.
class ChartFormat : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = FormatSettings();
        FormatSettings().DecimalSeparator = ".";
        FormatSettings().ThousandSeparator = ",";
    }
    void TearDown() override { FormatSettings() = saved_; }

private:
    TFormatSettings saved_;
};

TEST(ChartSeries, AscendingInsertionKeepsEqualValuesInArrivalOrder)
{
    TChart chart;
    auto* s = chart.AddSeries<TLineSeries>();
    ASSERT_EQ(s->XValues.Order, loAscending);
    EXPECT_EQ(s->AddPoint(1, 10), 0);
    EXPECT_EQ(s->AddPoint(3, 30), 1);
    EXPECT_EQ(s->AddPoint(5, 50), 2);
    EXPECT_EQ(s->AddPoint(3, 31), 2); // after the existing 3
    EXPECT_EQ(s->AddPoint(0, 0), 0);
    EXPECT_EQ(s->AddPoint(7, 70), 5);
    EXPECT_EQ(Values(s->XValues), (std::vector<double>{0, 1, 3, 3, 5, 7}));
    EXPECT_EQ(Values(s->YValues), (std::vector<double>{0, 10, 30, 31, 50, 70}));
}

TEST(ChartSeries, DescendingAndUnorderedInsertion)
{
    TChart chart;
    auto* s = chart.AddSeries<TLineSeries>();
    s->XValues.Order = loDescending;
    for (double x : {5.0, 3.0, 1.0})
        s->AddPoint(x, x);
    EXPECT_EQ(s->AddPoint(3, -3), 2);
    EXPECT_EQ(s->AddPoint(6, 6), 0);
    EXPECT_EQ(s->AddPoint(0, 0), 5);
    EXPECT_EQ(Values(s->YValues), (std::vector<double>{6, 5, 3, -3, 1, 0}));

    // Changing the order later leaves stored points alone; new ones append.
    s->XValues.Order = loNone;
    EXPECT_EQ(s->AddPoint(4, 4), 6);
    EXPECT_EQ(s->AddPoint(-1, -1), 7);
    EXPECT_EQ(Values(s->XValues), (std::vector<double>{6, 5, 3, 3, 1, 0, 4, -1}));
}

TEST(ChartSeries, RandomInsertionMatchesStableSort)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 20);
    TChart chart;
    auto* s = chart.AddSeries<TLineSeries>();
    std::vector<std::pair<double, double>> expected; // (x, arrival number)
    for (int i = 0; i < 300; ++i) {
        const double x = pick(random) / 4.0;
        const TColor color = i % 3 == 0 ? clTeeColor : static_cast<TColor>(i);
        const int index = s->AddPoint(x, i, QString::number(i), color);
        expected.emplace_back(x, i);
        ASSERT_EQ(s->XValues.Value(index), x);
        ASSERT_EQ(s->YValues.Value(index), i);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    s->SeriesColor = clTeal;
    for (int i = 0; i < s->Count(); ++i) {
        EXPECT_EQ(s->XValues.Value(i), expected[i].first);
        const int arrival = static_cast<int>(expected[i].second);
        EXPECT_EQ(s->YValues.Value(i), arrival);
        EXPECT_EQ(s->ValueLabel(i), QString::number(arrival));
        EXPECT_EQ(s->ValueColor(i), arrival % 3 == 0 ? clTeal : static_cast<TColor>(arrival));
    }
}

TEST(ChartSeries, EventsRefuseAndReportClearing)
{
    TChart chart;
    auto* s = chart.AddSeries<TLineSeries>();
    int asked = 0, cleared = 0;
    QObject* sender = nullptr;
    s->OnBeforeAdd = [&](QObject* Sender) {
        sender = Sender;
        return ++asked != 2;
    };
    s->OnClearValues = [&](QObject* Sender) {
        sender = Sender;
        ++cleared;
    };
    EXPECT_EQ(s->AddPoint(1, 1), 0);
    EXPECT_EQ(s->AddPoint(2, 2), -1);
    EXPECT_EQ(s->AddPoint(3, 3), 1);
    EXPECT_EQ(s->Count(), 2);
    EXPECT_EQ(sender, s);
    s->ClearPoints();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(s->Count(), 0);
    EXPECT_EQ(s->YValues.Count(), 0);
    EXPECT_EQ(s->XValues.MaxValue(), 0);
    EXPECT_EQ(chart.SeriesList(0), s);
    EXPECT_THROW(chart.SeriesList(1), std::out_of_range);
}

TEST(ChartExtremes, EmptyChartsGiveZero)
{
    TChart chart;
    EXPECT_EQ(chart.SeriesMaxX(chart.BottomAxis), 0);
    chart.AddSeries<TLineSeries>();
    chart.AddSeries<TLineSeries>();
    EXPECT_EQ(chart.SeriesMinX(chart.BottomAxis), 0);
    EXPECT_EQ(chart.SeriesMaxX(chart.BottomAxis), 0);
    EXPECT_EQ(chart.SeriesMinY(chart.LeftAxis), 0);
    EXPECT_EQ(chart.SeriesMaxY(chart.LeftAxis), 0);
}

TEST(ChartExtremes, OverCountedSeries)
{
    TChart chart;
    auto* a = chart.AddSeries<TLineSeries>();
    auto* b = chart.AddSeries<TLineSeries>();
    auto* empty = chart.AddSeries<TLineSeries>(); // does not pull the extremes to 0
    a->AddPoint(2, 5);
    a->AddPoint(4, 7);
    b->AddPoint(3, -1);
    b->AddPoint(9, 6);
    b->AddPoint(std::nan(""), 100); // not a value: skipped
    EXPECT_EQ(chart.SeriesMinX(chart.BottomAxis), 2);
    EXPECT_EQ(chart.SeriesMaxX(chart.BottomAxis), 9);
    EXPECT_EQ(chart.SeriesMinY(chart.LeftAxis), -1);
    EXPECT_EQ(chart.SeriesMaxY(chart.LeftAxis), 100);
    // x is asked of horizontal axes, y of vertical ones.
    EXPECT_EQ(chart.SeriesMaxX(chart.LeftAxis), 0);
    EXPECT_EQ(chart.SeriesMaxY(chart.BottomAxis), 0);

    b->Active = false;
    EXPECT_EQ(chart.SeriesMaxX(chart.BottomAxis), 4);
    // An active empty series keeps the inactive ones out; with no active
    // series at all they count.
    a->Active = false;
    EXPECT_EQ(chart.SeriesMaxX(chart.BottomAxis), 0);
    empty->Active = false;
    EXPECT_EQ(chart.SeriesMaxX(chart.BottomAxis), 9);

    a->Active = b->Active = true;
    b->XValues.Multiplier = -2;
    EXPECT_EQ(chart.SeriesMinX(chart.BottomAxis), -18);
    EXPECT_EQ(chart.SeriesMaxX(chart.BottomAxis), 4);

    // A series with points but no finite value counts as little as an
    // empty one: it does not pull the extremes to 0.
    b->XValues.Multiplier = 1;
    b->ClearPoints();
    b->AddPoint(std::nan(""), std::numeric_limits<double>::infinity());
    b->AddPoint(-std::numeric_limits<double>::infinity(), std::nan(""));
    EXPECT_EQ(chart.SeriesMinX(chart.BottomAxis), 2);
    EXPECT_EQ(chart.SeriesMaxX(chart.BottomAxis), 4);
    EXPECT_EQ(chart.SeriesMinY(chart.LeftAxis), 5);
    a->ClearPoints();
    EXPECT_EQ(chart.SeriesMinX(chart.BottomAxis), 0);
    EXPECT_EQ(chart.SeriesMaxY(chart.LeftAxis), 0);
}

// The message of the AxisException that Write raises, empty without one.
std::string AxisError(const std::function<void()>& Write)
{
    try {
        Write();
    } catch (const AxisException& e) {
        static_assert(std::is_base_of_v<Exception, AxisException>);
        return e.what();
    }
    return "";
}

TEST(ChartAxis, OrderRuleOfMinimumAndMaximum)
{
    TChart chart;
    TChartAxis& axis = chart.BottomAxis;
    axis.SetAutomatic(false);
    axis.SetMaximum(10);
    axis.SetMinimum(5);
    EXPECT_EQ(AxisError([&] { axis.SetMaximum(3); }), "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(axis.Maximum(), 10);
    EXPECT_EQ(AxisError([&] { axis.SetMinimum(11); }), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(axis.Minimum(), 5);
    EXPECT_THROW(axis.SetMinimum(std::nan("")), AxisException);
    EXPECT_THROW(axis.SetMaximum(std::nan("")), AxisException);
    // Equal bounds are in order; moving up goes maximum first.
    axis.SetMinimum(10);
    axis.SetMaximum(30);
    axis.SetMinimum(20);
    EXPECT_EQ(axis.Minimum(), 20);
    EXPECT_EQ(axis.Maximum(), 30);
}

TEST(ChartAxis, AutomaticRangeFollowsTheDataAndStaysWhenSwitchedOff)
{
    TChart chart;
    auto* s = chart.AddSeries<TLineSeries>();
    s->AddPoint(1, 0.5);
    s->AddPoint(2.5, -3);
    Render(chart);
    EXPECT_EQ(chart.BottomAxis.Minimum(), 1);
    EXPECT_EQ(chart.BottomAxis.Maximum(), 2.5);
    EXPECT_EQ(chart.LeftAxis.Minimum(), -3);
    EXPECT_EQ(chart.LeftAxis.Maximum(), 0.5);

    chart.BottomAxis.SetAutomatic(false);
    EXPECT_FALSE(chart.BottomAxis.AutomaticMinimum);
    s->AddPoint(10, 1);
    Render(chart);
    EXPECT_EQ(chart.BottomAxis.Maximum(), 2.5);
    EXPECT_EQ(chart.LeftAxis.Maximum(), 1);
    chart.BottomAxis.SetAutomatic(true);
    Render(chart);
    EXPECT_EQ(chart.BottomAxis.Maximum(), 10);

    // Only one automatic end.
    chart.LeftAxis.SetAutomatic(false);
    chart.LeftAxis.SetMinimum(-10);
    chart.LeftAxis.AutomaticMaximum = true;
    s->AddPoint(11, 4);
    Render(chart);
    EXPECT_EQ(chart.LeftAxis.Minimum(), -10);
    EXPECT_EQ(chart.LeftAxis.Maximum(), 4);
}

TEST(ChartAxis, DataEndsOnAxisEndsWithoutMarkers)
{
    TChart chart;
    auto* s = chart.AddSeries<TLineSeries>();
    s->AddPoint(-2, 3);
    s->AddPoint(6, 8);
    Render(chart);
    for (const TChartAxis* axis : {&chart.BottomAxis, &chart.LeftAxis}) {
        EXPECT_EQ(axis->ShownMinimum(), axis->Minimum());
        EXPECT_EQ(axis->ShownMaximum(), axis->Maximum());
    }
    EXPECT_EQ(chart.BottomAxis.CalcPosValue(-2), chart.BottomAxis.StartPos());
    EXPECT_EQ(chart.BottomAxis.CalcPosValue(6), chart.BottomAxis.EndPos());
    EXPECT_EQ(chart.LeftAxis.CalcPosValue(3), chart.LeftAxis.EndPos());
    EXPECT_EQ(chart.LeftAxis.CalcPosValue(8), chart.LeftAxis.StartPos());
    EXPECT_EQ(chart.BottomAxis.StartPos(), chart.ChartRect().left());
    EXPECT_EQ(chart.LeftAxis.EndPos(), chart.ChartRect().bottom());
}

TEST(ChartAxis, MarkerMarginsAtAutomaticEndsOnly)
{
    TChart chart;
    chart.resize(317, 211);
    auto* plain = chart.AddSeries<TLineSeries>();
    auto* marked = chart.AddSeries<TLineSeries>();
    marked->Pointer.Visible = true;
    marked->Pointer.HorizSize = 3;
    marked->Pointer.VertSize = 5;
    plain->AddPoint(0.3, -1.7);
    plain->AddPoint(2, 0);
    marked->AddPoint(4.9, 2.2);
    Render(chart);
    const TChartAxis& x = chart.BottomAxis;
    const TChartAxis& y = chart.LeftAxis;
    EXPECT_EQ(x.Minimum(), 0.3);
    EXPECT_EQ(x.Maximum(), 4.9);
    EXPECT_LT(x.ShownMinimum(), 0.3);
    EXPECT_GT(x.ShownMaximum(), 4.9);
    EXPECT_EQ(x.CalcPosValue(0.3), x.StartPos() + 4);
    EXPECT_EQ(x.CalcPosValue(4.9), x.EndPos() - 4);
    EXPECT_EQ(y.CalcPosValue(-1.7), y.EndPos() - 6);
    EXPECT_EQ(y.CalcPosValue(2.2), y.StartPos() + 6);

    // The larger of the series' margins counts; inflating can be turned off.
    plain->Pointer.Visible = true;
    plain->Pointer.HorizSize = 7;
    Render(chart);
    EXPECT_EQ(x.CalcPosValue(0.3), x.StartPos() + 8);
    plain->Pointer.InflateMargins = false;
    marked->Active = false;
    Render(chart);
    EXPECT_EQ(x.CalcPosValue(0.3), x.StartPos());
    EXPECT_EQ(x.CalcPosValue(2), x.EndPos());

    // A fixed end gets no margin.
    plain->Pointer.InflateMargins = true;
    chart.BottomAxis.SetAutomatic(false);
    chart.BottomAxis.AutomaticMaximum = true;
    chart.BottomAxis.SetMinimum(0);
    Render(chart);
    EXPECT_EQ(x.Maximum(), 2);
    EXPECT_EQ(x.CalcPosValue(0), x.StartPos());
    EXPECT_EQ(x.CalcPosValue(2), x.EndPos() - 8);
}

TEST(ChartAxis, ValueToPixel)
{
    TChart chart;
    chart.resize(413, 260);
    chart.AddSeries<TLineSeries>()->AddPoint(0, 0);
    TChartAxis& x = chart.BottomAxis;
    TChartAxis& y = chart.LeftAxis;
    for (TChartAxis* axis : {&x, &y}) {
        axis->SetAutomatic(false);
        axis->SetMaximum(7.5);
        axis->SetMinimum(-2.5);
    }
    x.StartPosition = 10;
    x.EndPosition = 90;
    Render(chart);
    const QRect r = chart.ChartRect();
    const int width = r.right() - r.left();
    EXPECT_EQ(x.StartPos(), r.left() + width * 10 / 100);
    EXPECT_EQ(x.EndPos(), r.left() + width * 90 / 100);
    EXPECT_EQ(y.StartPos(), r.top());
    EXPECT_EQ(y.EndPos(), r.bottom());

    std::mt19937 random(3);
    std::uniform_real_distribution<double> value(-5, 10);
    for (int i = 0; i < 200; ++i) {
        const double v = value(random);
        const double xo = (v + 2.5) * (x.EndPos() - x.StartPos()) / 10;
        const double yo = (v + 2.5) * (y.EndPos() - y.StartPos()) / 10;
        EXPECT_EQ(x.CalcPosValue(v), x.StartPos() + std::nearbyint(xo)) << v;
        EXPECT_EQ(y.CalcPosValue(v), y.EndPos() - std::nearbyint(yo)) << v;
    }
    // Values far beyond the range land off any picture instead of wrapping.
    EXPECT_GT(x.CalcPosValue(1e300), 32766);
    EXPECT_LT(x.CalcPosValue(-1e300), -32766);
    EXPECT_GT(y.CalcPosValue(-1e300), 32766);
    EXPECT_LT(x.CalcPosValue(std::nan("")), -32766);

    // A range wider than the largest double still maps end to end.
    TChart wide;
    wide.resize(300, 200);
    auto* s = wide.AddSeries<TLineSeries>();
    s->AddPoint(-1e308, 0);
    s->AddPoint(1e308, 1);
    Render(wide);
    const TChartAxis& w = wide.BottomAxis;
    EXPECT_EQ(w.CalcPosValue(-1e308), w.StartPos());
    EXPECT_EQ(w.CalcPosValue(1e308), w.EndPos());
    EXPECT_EQ(w.CalcPosValue(0), w.StartPos() + std::nearbyint((w.EndPos() - w.StartPos()) / 2.0));

    // An empty range puts everything in the middle.
    x.SetMinimum(7.5);
    Render(chart);
    EXPECT_EQ(x.CalcPosValue(-100), (x.StartPos() + x.EndPos()) / 2);
    EXPECT_EQ(x.CalcPosValue(7.5), (x.StartPos() + x.EndPos()) / 2);
}

// The pixel of a value against the exact mapping in long double, for ranges
// of every magnitude and values on and near half pixels, where a quicker
// computation would round the other way.
TEST(ChartAxis, ValueToPixelMatchesTheExactMapping)
{
    std::mt19937 random(21);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> exponent(-300, 300);
    TChart chart;
    chart.resize(640, 480);
    chart.AddSeries<TLineSeries>()->AddPoint(0, 0);
    TChartAxis& axis = chart.BottomAxis;
    axis.SetAutomatic(false);
    for (int round = 0; round < 300; ++round) {
        const double scale = std::ldexp(1.0, exponent(random));
        double lo = (unit(random) - 0.5) * scale, hi = lo + unit(random) * scale;
        if (round % 10 == 0) lo = -1.7e308, hi = 1.7e308;                // wider than a double
        if (round % 10 == 1) hi = std::nextafter(lo, HUGE_VAL) + 0 * hi; // one step
        if (!(hi > lo)) continue;
        axis.SetMaximum(std::max(hi, axis.Maximum()));
        axis.SetMinimum(lo);
        axis.SetMaximum(hi);
        Render(chart);
        ASSERT_EQ(axis.ShownMinimum(), lo);
        ASSERT_EQ(axis.ShownMaximum(), hi);
        const int size = axis.EndPos() - axis.StartPos();
        for (int i = 0; i < 60; ++i) {
            const long double width = static_cast<long double>(hi) - lo;
            double v = static_cast<double>(lo + (unit(random) * 1.2L - 0.1L) * width);
            if (i % 3 == 0)
                v = static_cast<double>(lo +
                                        (std::floor(unit(random) * size) + 0.5L) * width / size);
            if (i % 7 == 0) v = std::nextafter(v, i % 2 ? HUGE_VAL : -HUGE_VAL);
            long double offset =
                (static_cast<long double>(v) - lo) * size / (static_cast<long double>(hi) - lo);
            if (std::isnan(offset)) offset = -1e9L;
            offset = std::clamp(offset, -1e9L, 1e9L);
            const int expected = axis.StartPos() + static_cast<int>(std::nearbyint(offset));
            ASSERT_EQ(axis.CalcPosValue(v), expected) << lo << " " << hi << " " << v;
        }
    }
}

TEST_F(ChartFormat, EmptyChartShowsOneLabelZeroInTheMiddle)
{
    TChart chart;
    chart.AddSeries<TLineSeries>();
    Render(chart);
    for (const TChartAxis* axis : {&chart.BottomAxis, &chart.LeftAxis}) {
        EXPECT_EQ(axis->Minimum(), 0);
        EXPECT_EQ(axis->Maximum(), 0);
        ASSERT_EQ(axis->LabelValues(), std::vector<double>{0});
        EXPECT_EQ(axis->LabelText(0), "0");
        EXPECT_EQ(axis->CalcPosValue(axis->LabelValues()[0]),
                  (axis->StartPos() + axis->EndPos()) / 2);
    }
    // One point: a single label at its value, also below zero.
    chart.SeriesList(0)->AddPoint(-5, 123456.5);
    Render(chart);
    EXPECT_EQ(chart.BottomAxis.LabelValues(), std::vector<double>{-5});
    EXPECT_EQ(chart.LeftAxis.LabelText(chart.LeftAxis.LabelValues().at(0)), "123,456.5");
}

// Labels go down to (Minimum - 1E-12) / 1.000000000001, which keeps a label
// on a minimum of 0 or above but none a whole step of 1E-12 below 0; below
// zero the tolerance widens the other way, so a negative minimum keeps its
// label too.
TEST_F(ChartFormat, LowestLabel)
{
    TChart chart;
    chart.resize(600, 400);
    chart.AddSeries<TLineSeries>()->AddPoint(0, 0);
    TChartAxis& x = chart.BottomAxis;
    x.SetAutomatic(false);
    x.SetMaximum(5e-12);
    x.SetMinimum(0);
    Render(chart);
    ASSERT_EQ(x.LabelStep(), 1e-12);
    ASSERT_EQ(x.LabelValues().size(), 6u);
    EXPECT_NEAR(x.LabelValues().back(), 0, 1e-20);

    for (const double minimum : {-2.0, -1.0, -7.0, -1234.0}) {
        x.SetMinimum(minimum);
        x.SetMaximum(minimum + 5);
        Render(chart);
        EXPECT_EQ(x.LabelStep(), 1);
        EXPECT_NEAR(x.LabelValues().back(), minimum, 1e-9) << minimum;
        EXPECT_EQ(x.LabelValues().size(), 6u) << minimum;
    }
}

TEST_F(ChartFormat, NoLabelsWithoutActiveSeries)
{
    TChart chart;
    Render(chart);
    EXPECT_TRUE(chart.BottomAxis.LabelValues().empty());
    auto* s = chart.AddSeries<TLineSeries>();
    s->AddPoint(1, 1);
    s->Active = false;
    Render(chart);
    EXPECT_TRUE(chart.LeftAxis.LabelValues().empty());
    s->Active = true;
    chart.LeftAxis.Labels = false;
    Render(chart);
    EXPECT_TRUE(chart.LeftAxis.LabelValues().empty());
    EXPECT_FALSE(chart.BottomAxis.LabelValues().empty());
}

// The label step found independently: the first of the 1-2-5 values from
// the starting step on at which the labels fit.
double ExpectedStep(const TChartAxis& Axis, const QImage& Image)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    const QFontMetrics fm(font, &Image);
    auto size = [&](double v) {
        return Axis.Horizontal() ? fm.horizontalAdvance(Axis.LabelText(v)) : fm.height();
    };
    const double lo = Axis.ShownMinimum(), hi = Axis.ShownMaximum(), range = hi - lo;
    const int L = std::max(size(lo), size(hi));
    const double fits =
        std::nearbyint((Axis.EndPos() - Axis.StartPos()) / (L + std::nearbyint(L * 0.1)));
    const double first = Axis.Increment > 0 ? Axis.Increment : (range >= 1 ? 1 : 1e-12);
    for (int exponent = -12; exponent < 300; ++exponent)
        for (double m : {1.0, 2.0, 5.0}) {
            const double step = m * std::pow(10.0, exponent);
            if (step < first * (1 - 1e-9)) continue;
            if (std::nearbyint(range / step) <= fits) return step;
        }
    return NAN;
}

// The multiples of the step within the range shown, from the top down. The
// top one is found by dividing, so a maximum just below a multiple in binary
// (0.0013 with step 0.0001) starts one step lower; the minimum is kept.
void ExpectLabelsAreMultiples(const TChartAxis& Axis, double Step)
{
    std::vector<double> expected;
    for (long long k = static_cast<long long>(std::floor(Axis.ShownMaximum() / Step));
         k * Step >= Axis.ShownMinimum() - 1e-9 * Step; --k)
        expected.push_back(k * Step);
    ASSERT_EQ(Axis.LabelValues().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(Axis.LabelValues()[i], expected[i], 1e-9 * Step);
}

TEST_F(ChartFormat, LabelStepsForSeveralRanges)
{
    const std::vector<std::pair<double, double>> ranges = {
        {0, 10},        {0, 1},       {1, 2.6},     {-2, 2},         {0.94, 1.5},
        {-1, 4},        {0, 10000},   {-123456, 7}, {0.001, 0.0013}, {-0.5, 0.25},
        {1e6, 1e6 + 3}, {-3.7, -1.2}, {0, 1e-9},    {2, 1002},       {17, 19}};
    for (const QSize size : {QSize(150, 154), QSize(400, 250), QSize(800, 600)}) {
        for (const auto& [lo, hi] : ranges) {
            TChart chart;
            chart.resize(size);
            chart.AddSeries<TLineSeries>()->AddPoint(lo, lo);
            chart.SeriesList(0)->AddPoint(hi, hi);
            const QImage image = Render(chart);
            for (const TChartAxis* axis : {&chart.BottomAxis, &chart.LeftAxis}) {
                SCOPED_TRACE(testing::Message() << lo << ".." << hi << " at " << size.width()
                                                << (axis->Horizontal() ? " bottom" : " left"));
                const double step = ExpectedStep(*axis, image);
                EXPECT_NEAR(axis->LabelStep(), step, step * 1e-9);
                ExpectLabelsAreMultiples(*axis, axis->LabelStep());
            }
        }
    }
}

TEST_F(ChartFormat, LabelTextsAndIncrement)
{
    TChart chart;
    chart.resize(600, 400);
    chart.AddSeries<TLineSeries>()->AddPoint(0, 0);
    TChartAxis& x = chart.BottomAxis;
    x.SetAutomatic(false);
    x.SetMaximum(10000);
    x.SetMinimum(-2);
    Render(chart);
    EXPECT_EQ(x.LabelStep(), 1000);
    EXPECT_EQ(x.LabelText(x.LabelValues().front()), "10,000");
    EXPECT_EQ(x.LabelText(x.LabelValues().back()), "0");
    EXPECT_EQ(x.LabelText(0.1 + 0.2), "0.3");
    EXPECT_EQ(x.LabelText(-1234.56789), "-1,234.568");

    // A wished step is kept when the labels fit and raised along 1-2-5.
    x.SetMaximum(3);
    x.SetMinimum(-2);
    x.Increment = 0.25;
    Render(chart);
    EXPECT_EQ(x.LabelStep(), 0.25);
    EXPECT_EQ(x.LabelValues().size(), 21u);
    EXPECT_EQ(x.LabelText(x.LabelValues()[1]), "2.75");
    EXPECT_EQ(x.LabelValues().back(), -2); // a negative minimum keeps its label
    x.Increment = 0.03;
    chart.resize(120, 100);
    Render(chart);
    EXPECT_TRUE(x.LabelStep() == 0.5 || x.LabelStep() == 1 || x.LabelStep() == 2) << x.LabelStep();

    // 10000 steps or more: no labels. Labels of no size fit at every pixel.
    chart.resize(12000, 60);
    x.LabelsSeparation = -100;
    x.SetMaximum(1e6);
    x.SetMinimum(0);
    x.Increment = 100;
    Render(chart);
    EXPECT_EQ(x.LabelStep(), 100);
    EXPECT_TRUE(x.LabelValues().empty());
    x.SetMaximum(999900);
    Render(chart);
    EXPECT_EQ(x.LabelValues().size(), 10000u);

    FormatSettings().DecimalSeparator = ",";
    FormatSettings().ThousandSeparator = ".";
    EXPECT_EQ(x.LabelText(12345.5), "12.345,5");
}

// Labels that would touch are thinned until room is left between labels
// side by side and none overlap one above the other: at the main window's
// narrowest chart (77 pixels wide) and its design width, with the widest
// label texts of both locales.
TEST_F(ChartFormat, TouchingLabelsAreThinned)
{
    int thinned = 0;
    for (const auto& [decimal, thousands] : {std::pair{".", ","}, {",", "."}}) {
        FormatSettings().DecimalSeparator = decimal;
        FormatSettings().ThousandSeparator = thousands;
        for (const QSize size : {QSize(77, 81), QSize(152, 154)}) {
            for (const auto& [lo, hi] : {std::pair{-1.0, 101.0},
                                         {-1e6, 1e6},
                                         {-1234567.891, 7.0},
                                         {0.001, 0.004},
                                         {-2.0, 2.0}}) {
                TChart chart;
                chart.resize(size);
                chart.Title.Text = QStringList{"Inclinación de elipse vs. ", "Razón axial"};
                chart.AddSeries<TLineSeries>()->AddPoint(lo, lo);
                chart.SeriesList(0)->AddPoint(hi, hi);
                Render(chart);
                for (const TChartAxis* axis : {&chart.BottomAxis, &chart.LeftAxis}) {
                    const std::vector<QRect>& boxes = axis->LabelBoxes();
                    for (size_t i = 1; i < boxes.size(); ++i)
                        EXPECT_TRUE(axis->Horizontal() ? boxes[i].left() - boxes[i - 1].right() > 2
                                                       : boxes[i - 1].top() > boxes[i].bottom())
                            << lo << ".." << hi << " at " << size.width() << " " << decimal;
                    thinned += boxes.size() < axis->LabelValues().size();
                }
            }
        }
    }
    EXPECT_GT(thinned, 0); // the table holds labels that touch
}

TEST(ChartDrawing, ExtremeSettingsNeitherHangNorCrash)
{
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(12, 9), QSize(60, 40)}) {
        TChart chart;
        chart.resize(size);
        auto* s = chart.AddSeries<TLineSeries>();
        s->Pointer.Visible = true;
        s->AddPoint(-1e300, 1e-300);
        s->AddPoint(1e300, std::numeric_limits<double>::infinity());
        s->AddPoint(std::nan(""), -1e308);
        Render(chart);
        chart.LeftAxis.Increment = 1e-300;
        chart.BottomAxis.SetAutomatic(false);
        chart.BottomAxis.SetMinimum(1e20);
        chart.BottomAxis.SetMaximum(1e20 + 1e6);
        Render(chart);
        EXPECT_TRUE(chart.LeftAxis.LabelValues().empty());
        EXPECT_LE(chart.BottomAxis.LabelValues().size(), 10000u);
    }
}

// A range of one unit in the last place from 1E-12: the label rule keeps 0
// below the minimum, a billion pixels off the axis. Positions that far off
// are not drawn, as for series, and nothing is drawn left of the axis.
TEST(ChartDrawing, LabelsFarOffTheAxisAreNotDrawn)
{
    TChart chart;
    chart.resize(300, 200);
    chart.Title.Visible = false;
    chart.AddSeries<TLineSeries>()->AddPoint(0, 0);
    TChartAxis& x = chart.BottomAxis;
    x.SetAutomatic(false);
    x.SetMaximum(std::nextafter(1e-12, 1.0));
    x.SetMinimum(1e-12);
    x.MinorTickCount = 4; // tick arithmetic across a billion pixels
    const QImage image = Render(chart);
    ASSERT_EQ(x.LabelValues().size(), 2u);
    EXPECT_EQ(x.LabelValues()[1], 0);
    EXPECT_LT(x.CalcPosValue(0), -32766);
    const QRgb panel = ColorToRgb(chart.Color);
    for (int py = chart.ChartRect().bottom() + 1; py < image.height() - 1; ++py)
        for (int px = 1; px < x.StartPos() - 10; ++px)
            ASSERT_EQ(image.pixel(px, py), panel) << px << ", " << py;
}

// The box of pixels that differ from white around (X, Y).
QRect InkBox(const QImage& Image, int X, int Y, int Reach)
{
    QRect box;
    for (int y = Y - Reach; y <= Y + Reach; ++y)
        for (int x = X - Reach; x <= X + Reach; ++x)
            if (Image.pixel(x, y) != 0xFFFFFFFFu) box |= QRect(x, y, 1, 1);
    return box;
}

// A chart whose only ink near its centre is one point's marker.
TChart* MarkerChart(TChart& Chart, TSeriesPointerStyle Style)
{
    Chart.resize(200, 200);
    Chart.Title.Visible = false;
    Chart.BackWallBrush.Style = Qt::SolidPattern;
    for (TChartAxis* axis : {&Chart.BottomAxis, &Chart.LeftAxis})
        axis->Grid.Visible = false;
    auto* s = Chart.AddSeries<TLineSeries>();
    s->SeriesColor = clRed;
    s->Pointer.Visible = true;
    s->Pointer.Style = Style;
    s->Pointer.HorizSize = s->Pointer.VertSize = 3;
    for (TChartAxis* axis : {&Chart.BottomAxis, &Chart.LeftAxis}) {
        axis->SetAutomatic(false);
        axis->SetMaximum(1);
        axis->SetMinimum(-1);
    }
    s->AddPoint(0, 0);
    return &Chart;
}

TEST(ChartDrawing, MarkerGeometry)
{
    TChart rect, circle;
    MarkerChart(rect, psRectangle);
    MarkerChart(circle, psCircle);
    const QImage r = Render(rect);
    int x = rect.BottomAxis.CalcPosValue(0), y = rect.LeftAxis.CalcPosValue(0);
    EXPECT_EQ(InkBox(r, x, y, 10), QRect(x - 3, y - 3, 7, 7));
    EXPECT_EQ(r.pixel(x - 3, y - 3), 0xFF000000u); // black outline
    EXPECT_EQ(r.pixel(x + 3, y + 3), 0xFF000000u);
    EXPECT_EQ(r.pixel(x, y), ColorToRgb(clRed)); // filled in the point's colour

    const QImage c = Render(circle);
    x = circle.BottomAxis.CalcPosValue(0), y = circle.LeftAxis.CalcPosValue(0);
    EXPECT_EQ(InkBox(c, x, y, 10), QRect(x - 3, y - 3, 6, 6));
    EXPECT_EQ(c.pixel(x - 1, y - 1), ColorToRgb(clRed));

    // Markers lie over the lines that meet at them; lines take the colour
    // of the point they lead to.
    auto* s = static_cast<TLineSeries*>(rect.SeriesList(0));
    s->ClearPoints();
    s->AddPoint(-0.5, 0, "", clBlue);
    s->AddPoint(0, 0);
    s->AddPoint(0.5, 0, "", clGreen);
    const QImage lines = Render(rect);
    x = rect.BottomAxis.CalcPosValue(0), y = rect.LeftAxis.CalcPosValue(0);
    EXPECT_EQ(lines.pixel(x, y), ColorToRgb(clRed));
    EXPECT_EQ(lines.pixel(x + 3, y), 0xFF000000u);
    EXPECT_EQ(lines.pixel(x - 10, y), ColorToRgb(clRed));
    EXPECT_EQ(lines.pixel(x + 10, y), ColorToRgb(clGreen));
    EXPECT_EQ(lines.pixel(x + 10, y - 1), 0xFFFFFFFFu);
}

TEST(ChartPictures, SavedFilesReadBackAtTheChartsSize)
{
    TChart chart;
    chart.resize(321, 187);
    chart.AddSeries<TLineSeries>()->AddPoint(1, 2);
    struct Case {
        QString Name;
        QByteArray Format;
    };
    for (const Case& c : {Case{"chart-save.png", "png"}, Case{"chart-save.bmp", "bmp"},
                          Case{"chart-save.xyz", "bmp"}, Case{"chart-save", "bmp"}}) {
        const QString path = BuildPath(c.Name);
        QFile::remove(path);
        chart.SaveChartBitmap(path);
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), c.Format) << c.Name.toStdString();
        const QImage image = reader.read();
        EXPECT_EQ(image.size(), QSize(321, 187)) << c.Name.toStdString();
        EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), Render(chart));
        QFile::remove(path);
    }
    EXPECT_THROW(chart.SaveChartBitmap(BuildPath("no-such-folder/chart.png")), Exception);
    // The widget paints the same picture.
    EXPECT_EQ(chart.grab().toImage().convertToFormat(QImage::Format_RGB32), Render(chart));
}

TEST(ChartWidget, DoubleClickReportsTheChart)
{
    TChart chart;
    QObject* sender = nullptr;
    chart.OnDblClick = [&](QObject* Sender) { sender = Sender; };
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(sender, &chart);
    EXPECT_EQ(chart.size(), QSize(400, 250));
}

// Times its paints and notes the points its last paint showed.
struct TimedChart : TChart {
    double PaintMs = 0;
    int PointsShown = -1;
    void paintEvent(QPaintEvent* Event) override
    {
        QElapsedTimer timer;
        timer.start();
        TChart::paintEvent(Event);
        PaintMs += timer.nsecsElapsed() / 1e6;
        PointsShown = SeriesList(0)->Count();
    }
};

TEST(ChartWidget, PointsComingFastAreAllShownWithoutPaintingTakingTheTime)
{
    QWidget window;
    auto* chart = new TimedChart;
    chart->setParent(&window);
    auto* other = new QWidget(&window);
    other->move(chart->width(), 0);
    auto* series = chart->AddSeries<TLineSeries>();
    series->Pointer.Visible = true;
    std::mt19937 random(3);
    std::uniform_real_distribution<double> noise(-1, 1);
    for (int i = 0; i < 20000; ++i) // all over the chart: costly paints
        series->AddPoint(i, noise(random));
    window.show();
    const auto showsAll = [&] { return chart->PointsShown == series->Count(); };
    ASSERT_TRUE(QTest::qWaitFor(showsAll, 30000));
    chart->repaint(); // a paint at this cost, the first loads the fonts
    chart->PaintMs = 0;
    // As in the window's runs: a point each fifth of a millisecond, after
    // which another control repaints, painting all the window has pending,
    // and the events are handled.
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < 1500; ++i) {
        series->AddPoint(series->Count(), noise(random));
        other->repaint();
        QCoreApplication::processEvents();
        while (elapsed.nsecsElapsed() < (i + 1) * 200000LL) {
        }
    }
    EXPECT_LE(chart->PaintMs, elapsed.nsecsElapsed() / 1e6 / 5);
    EXPECT_TRUE(QTest::qWaitFor(showsAll, 30000));
}

TEST(ChartPictures, ClipboardHoldsSvgAndBitmap)
{
    TChart chart;
    chart.resize(150, 154);
    chart.Title.Text = QStringList{"Círculo de Mohr", "estado deformado"};
    chart.BottomAxis.Title.Caption = "1/l";
    chart.LeftAxis.Title.Caption = "g/l";
    chart.LeftAxis.Title.Angle = 0;
    for (TChartAxis* axis : {&chart.BottomAxis, &chart.LeftAxis})
        axis->Title.Font.Name = "Symbol";
    chart.AddSeries<TLineSeries>()->AddPoint(1, 0);
    chart.CopyChartMetafile();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat("image/svg+xml"));
    const QString svg = QString::fromUtf8(data->data("image/svg+xml"));
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("width=\"149")) << svg.left(400).toStdString();
    EXPECT_TRUE(svg.contains("γ/λ"));
    EXPECT_TRUE(svg.contains("1/λ"));
    EXPECT_TRUE(svg.contains("Círculo de Mohr"));
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(149, 153));
}

// A line series as the program's charts have them.
TLineSeries* AddLine(TChart& Chart, TColor Color, bool Markers, TSeriesPointerStyle Style)
{
    auto* s = Chart.AddSeries<TLineSeries>();
    s->SeriesColor = Color;
    s->Pointer.Visible = Markers;
    s->Pointer.Style = Style;
    s->Pointer.HorizSize = s->Pointer.VertSize = 3;
    return s;
}

void SetTitles(TChart& Chart, const QStringList& Title, const QString& Bottom, const QString& Left)
{
    Chart.Title.Text = Title;
    Chart.BottomAxis.Title.Caption = Bottom;
    Chart.LeftAxis.Title.Caption = Left;
}

// A Mohr circle of 360 points from the angle 0 on, not closed.
void AddCircle(TLineSeries& Series, double X, double Y, double Radius)
{
    Series.XValues.Order = loNone;
    for (int i = 0; i < 360; ++i) {
        const double t = i * M_PI / 180;
        Series.AddPoint(X - Radius * std::cos(t), Y + Radius * std::sin(t));
    }
}

// The strain-path charts after some increments of simple shear.
void FillPathCharts(TChart& Elongation, TChart& Inclination, TSeriesPointerStyle Style)
{
    SetTitles(Elongation, {"Elongación vs. Razón axial"}, "", "");
    SetTitles(Inclination, {"Inclinación de elipse vs. ", "Razón axial"}, "Razón axial",
              "Ángulo de inclinación(°)");
    const TColor colors[] = {4227072, clBlue, clRed};
    TLineSeries* sides[3];
    for (int k = 0; k < 3; ++k)
        sides[k] = AddLine(Elongation, colors[k], true, Style);
    AddLine(Elongation, clGreen, false, Style)->Title = "MohrFlujo";
    TLineSeries* inclination = AddLine(Inclination, clBlack, true, psCircle);
    for (int i = 0; i <= 12; ++i) {
        const double gamma = 0.25 * i;
        const double ratio = (gamma * gamma + 2 + gamma * std::sqrt(gamma * gamma + 4)) / 2;
        for (int k = 0; k < 3; ++k)
            sides[k]->AddPoint(ratio, 1 + (k - 1) * 0.08 * gamma + 0.05 * k * gamma * gamma);
        inclination->AddPoint(ratio, 90 - std::atan(gamma / 2) * 90 / M_PI - 45);
    }
}

// Charts as the program sets them up, written for a person to look at.
TEST(ChartPictures, WritesPicturesToLookAt)
{
    for (TSeriesPointerStyle style : {psRectangle, psCircle}) {
        TChart chart, unused;
        chart.resize(300, 220);
        FillPathCharts(chart, unused, style);
        chart.BottomAxis.Title.Caption = "Razón axial";
        chart.SaveChartBitmap(
            BuildPath(style == psRectangle ? "chart-rectangles.png" : "chart-circles.png"));
    }

    // The four charts at their places in the main window, side by side.
    TChart chart1, chart2, chart3, chart4;
    FillPathCharts(chart1, chart2, psRectangle);
    SetTitles(chart3, {"Círculo de Mohr", "estado deformado"}, "1/l", "g/l");
    for (TChartAxis* axis : {&chart3.BottomAxis, &chart3.LeftAxis}) {
        axis->Axis.Color = clRed;
        axis->Title.Font.Name = "Symbol";
    }
    chart3.BottomAxis.PositionPercent = 50;
    chart3.LeftAxis.Title.Angle = 0;
    AddCircle(*AddLine(chart3, clBlue, false, psRectangle), 1.25, 0, 0.75);
    SetTitles(chart4, {"Círculo de Mohr", "Flujo"}, "", "");
    chart4.BottomAxis.Visible = chart4.LeftAxis.Visible = false;
    chart4.LeftAxis.GridCentered = true;
    AddCircle(*AddLine(chart4, clRed, false, psRectangle), 0.25, 1, 0.25);
    TLineSeries* vertical = AddLine(chart4, clGreen, false, psRectangle);
    vertical->AddPoint(0, 0);
    vertical->AddPoint(0, std::sqrt(1.0625) + 0.25);
    // Fitted as after a "Deformar": integer ends one beyond the data.
    for (TChart* chart : {&chart1, &chart2, &chart3}) {
        for (TChartAxis* axis : {&chart->BottomAxis, &chart->LeftAxis}) {
            const bool x = axis->Horizontal();
            const double hi = x ? chart->SeriesMaxX(*axis) : chart->SeriesMaxY(*axis);
            const double lo = x ? chart->SeriesMinX(*axis) : chart->SeriesMinY(*axis);
            axis->SetAutomatic(false);
            axis->SetMaximum(std::nearbyint(hi) + 1);
            axis->SetMinimum(std::nearbyint(lo) - 1);
        }
    }
    QImage panel(4 * 160, 2 * 160, QImage::Format_RGB32);
    panel.fill(Qt::white);
    {
        QPainter painter(&panel);
        chart1.Draw(painter, QRect(0, 0, 150, 154));
        chart2.Draw(painter, QRect(160, 0, 152, 154));
        chart3.Draw(painter, QRect(320, 0, 150, 154));
        chart4.Draw(painter, QRect(480, 0, 152, 154));
        for (TChart* chart : {&chart1, &chart2, &chart3})
            for (TChartAxis* axis : {&chart->BottomAxis, &chart->LeftAxis})
                axis->SetAutomatic(true);
        chart1.Draw(painter, QRect(0, 160, 150, 154));
        chart2.Draw(painter, QRect(160, 160, 152, 154));
        chart3.Draw(painter, QRect(320, 160, 150, 154));
    }
    ASSERT_TRUE(panel.save(BuildPath("chart-program.png")));

    // The deformed-state circle enlarged.
    chart3.resize(600, 500);
    chart3.SaveChartBitmap(BuildPath("chart-mohr.png"));

    for (const char* name : {"chart-rectangles.png", "chart-circles.png", "chart-mohr.png"})
        EXPECT_EQ(QImage(BuildPath(name)).size(),
                  std::string(name) == "chart-mohr.png" ? QSize(600, 500) : QSize(300, 220));
}

} // namespace
} // namespace tensim
