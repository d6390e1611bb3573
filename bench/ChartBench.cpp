// The chart against its floors: painting 10^5 points against a fill and one
// QPainter polyline (plus the rectangles for pointers), and inserting points
// out of order against a sorted vector.

#include "bench/BenchSupport.h"
#include "controls/Chart.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

namespace {

using namespace tensim;

constexpr int Points = 100000;

void BM_ChartPaint(benchmark::State& State)
{
    const bool pointers = State.range(0) != 0;
    TChart chart;
    chart.resize(800, 600);
    auto* series = chart.AddSeries<TLineSeries>();
    series->XValues.Order = loNone;
    series->Pointer.Visible = pointers;
    series->Pointer.HorizSize = series->Pointer.VertSize = 3;
    std::mt19937 random(5);
    std::normal_distribution<double> step(0, 1);
    double y = 0;
    for (int i = 0; i < Points; ++i)
        series->AddPoint(i, y += step(random));
    QImage picture(chart.size(), QImage::Format_RGB32), floor = picture;
    {
        QPainter painter(&picture);
        chart.Draw(painter, picture.rect()); // lays the axes out once
    }
    // The floor draws the pixels the chart draws.
    QPolygon polygon;
    std::vector<QRect> rects;
    for (int i = 0; i < Points; ++i) {
        const QPoint p(chart.BottomAxis.CalcPosValue(series->XValues.Value(i)),
                       chart.LeftAxis.CalcPosValue(series->YValues.Value(i)));
        polygon << p;
        rects.emplace_back(p.x() - 3, p.y() - 3, 7, 7);
    }
    CompareWithFloor(
        State,
        [&] {
            QPainter painter(&picture);
            chart.Draw(painter, picture.rect());
        },
        [&] {
            QPainter painter(&floor);
            painter.fillRect(floor.rect(), Qt::white);
            painter.setPen(Qt::red);
            painter.drawPolyline(polygon);
            if (pointers) {
                painter.setBrush(Qt::red);
                painter.drawRects(rects.data(), static_cast<int>(rects.size()));
            }
        });
}
BENCHMARK(BM_ChartPaint)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// 10^5 points in random x order into an ascending series, against the
// same values inserted into a sorted vector; the time is the whole fill.
void BM_AddPointOutOfOrder(benchmark::State& State)
{
    std::mt19937 random(9);
    std::uniform_real_distribution<double> x(0, 1);
    std::vector<double> values(Points);
    for (double& v : values)
        v = x(random);
    CompareWithFloor(
        State,
        [&] {
            TLineSeries series;
            for (double v : values)
                series.AddPoint(v, v);
            benchmark::DoNotOptimize(series.Count());
        },
        [&] {
            std::vector<double> sorted;
            for (double v : values)
                sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), v), v);
            benchmark::DoNotOptimize(sorted.data());
        });
}
BENCHMARK(BM_AddPointOutOfOrder)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
