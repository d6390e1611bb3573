// The chart's pictures of a fixed set of scenes, compared bit for bit with
// the pictures recorded before any work on the chart's painting: each of
// the main window's charts with pointers and without, long series, values
// far off the axes, and fixed ranges.

#include "controls/Chart.h"

#include "tests/PictureRecord.h"
#include "tests/Separators.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace tensim {
namespace {

const QString Folder = "tests/controls/pictures";

QImage Paint(TChart& Chart)
{
    QImage image(Chart.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    Chart.Draw(painter, image.rect());
    return image;
}

TLineSeries* AddLine(TChart& Chart, TColor Color, bool Pointer, TSeriesPointerStyle Style)
{
    auto* s = Chart.AddSeries<TLineSeries>();
    s->SeriesColor = Color;
    s->Pointer.Visible = Pointer;
    s->Pointer.Style = Style;
    s->Pointer.HorizSize = 3;
    s->Pointer.VertSize = 3;
    return s;
}

void MainWindowLook(TChart& Chart)
{
    Chart.BackWallBrush = TChartBrush{clWhite, Qt::NoBrush};
    Chart.Title.Font = TChartFont{"Arial", 11, clBlack};
}

TEST(ChartPictureRecord, TheMainWindowsCharts)
{
    Separators separators(".", ",");
    for (bool pointers : {true, false}) {
        const QString suffix = pointers ? "-pointers" : "-lines";

        TChart elongation;
        elongation.resize(150, 154);
        MainWindowLook(elongation);
        elongation.Title.Text = QStringList{"Elongación vs. Razón axial"};
        const TColor colours[] = {0x408000, clBlue, clRed};
        for (int side = 0; side < 3; ++side) {
            TLineSeries* s = AddLine(elongation, colours[side], pointers, psRectangle);
            for (int k = 0; k <= 12; ++k)
                s->AddPoint(1 + 0.4 * k, 1 + (side - 1) * 0.07 * k + 0.01 * k * k * (side == 2));
        }
        AddLine(elongation, clGreen, false, psRectangle)->Title = "MohrFlujo";
        EXPECT_TRUE(MatchesRecord(Paint(elongation), Folder, "elongation" + suffix));
        elongation.BottomAxis.SetAutomatic(false);
        elongation.BottomAxis.SetMaximum(7);
        elongation.BottomAxis.SetMinimum(0);
        elongation.LeftAxis.SetAutomatic(false);
        elongation.LeftAxis.SetMaximum(4);
        elongation.LeftAxis.SetMinimum(0);
        EXPECT_TRUE(MatchesRecord(Paint(elongation), Folder, "elongation-fitted" + suffix));

        TChart inclination;
        inclination.resize(152, 154);
        MainWindowLook(inclination);
        inclination.Title.Text = QStringList{"Inclinación de elipse vs. ", "Razón axial"};
        inclination.BottomAxis.Title.Caption = "Razón axial";
        inclination.LeftAxis.Title.Caption = "Ángulo de inclinación(°)";
        TLineSeries* angles = AddLine(inclination, clBlack, pointers, psCircle);
        for (int k = 1; k <= 9; ++k)
            angles->AddPoint(std::pow(1.3, k), 90 / (1 + 0.3 * k));
        EXPECT_TRUE(MatchesRecord(Paint(inclination), Folder, "inclination" + suffix));

        TChart deformed;
        deformed.resize(150, 154);
        MainWindowLook(deformed);
        deformed.Title.Text = QStringList{"Círculo de Mohr", "estado deformado"};
        deformed.BottomAxis.Axis.Color = clRed;
        deformed.LeftAxis.Axis.Color = clRed;
        deformed.BottomAxis.PositionPercent = 50;
        deformed.BottomAxis.Title = TChartAxisTitle{"1/l", 0, TChartFont{"Symbol", 11, clBlack}};
        deformed.LeftAxis.Title = TChartAxisTitle{"g/l", 0, TChartFont{"Symbol", 11, clBlack}};
        TLineSeries* circle = AddLine(deformed, clBlue, pointers, psRectangle);
        circle->XValues.Order = loNone;
        for (int i = 0; i < 360; ++i)
            circle->AddPoint(2.1 - 1.4 * std::cos(i * M_PI / 180), 1.4 * std::sin(i * M_PI / 180));
        EXPECT_TRUE(MatchesRecord(Paint(deformed), Folder, "mohr-deformed" + suffix));

        TChart flow;
        flow.resize(152, 154);
        MainWindowLook(flow);
        flow.Title.Text = QStringList{"Círculo de Mohr", "Flujo"};
        flow.BottomAxis.Visible = false;
        flow.LeftAxis.Visible = false;
        flow.LeftAxis.GridCentered = true;
        TLineSeries* flowCircle = AddLine(flow, clRed, pointers, psRectangle);
        flowCircle->XValues.Order = loNone;
        for (int i = 0; i < 360; ++i)
            flowCircle->AddPoint(0.25 * std::cos(i * M_PI / 180) + 0.25,
                                 0.25 * std::sin(i * M_PI / 180) + 1);
        TLineSeries* axis = AddLine(flow, clGreen, false, psRectangle);
        axis->AddPoint(0, 0);
        axis->AddPoint(0, std::sqrt(1.0625) + 0.25);
        EXPECT_TRUE(MatchesRecord(Paint(flow), Folder, "mohr-flow" + suffix));
    }
}

// Long series at a large size, with pointers of their own colours, values
// far off the axes and values that are not numbers.
TEST(ChartPictureRecord, LongSeriesAndValuesOffTheAxes)
{
    Separators separators(".", ",");
    std::mt19937 random(17);
    std::normal_distribution<double> step(0, 1);

    TChart walk;
    walk.resize(800, 600);
    walk.Title.Text = QStringList{"Random walk"};
    TLineSeries* line = AddLine(walk, clBlue, false, psRectangle);
    line->XValues.Order = loNone;
    double y = 0;
    for (int i = 0; i < 10000; ++i)
        line->AddPoint(i, y += step(random));
    EXPECT_TRUE(MatchesRecord(Paint(walk), Folder, "long-line"));

    TChart marked;
    marked.resize(800, 600);
    marked.Title.Text = QStringList{"Pointers"};
    TLineSeries* squares = AddLine(marked, clRed, true, psRectangle);
    TLineSeries* circles = AddLine(marked, clTeal, true, psCircle);
    circles->Pointer.HorizSize = 4;
    circles->Pointer.VertSize = 2;
    std::uniform_real_distribution<double> x(-50, 50);
    for (int i = 0; i < 2000; ++i) {
        const double u = x(random);
        squares->AddPoint(u, u * u / 50 + step(random), QString(), i % 7 ? clTeeColor : clBlack);
        circles->AddPoint(u, -u + 3 * step(random));
    }
    EXPECT_TRUE(MatchesRecord(Paint(marked), Folder, "long-pointers"));

    TChart far;
    far.resize(300, 220);
    far.Title.Text = QStringList{"Far"};
    TLineSeries* values = AddLine(far, clBlack, true, psRectangle);
    values->XValues.Order = loNone;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double points[][2] = {{0, 0}, {1, 1e300}, {2, 2},    {3, -1e300}, {4, nan},
                                {5, 3}, {nan, 1},   {6, 1e12}, {7, 4},      {1e15, 5}};
    for (const auto& p : points)
        values->AddPoint(p[0], p[1]);
    far.BottomAxis.SetAutomatic(false);
    far.BottomAxis.SetMaximum(8);
    far.BottomAxis.SetMinimum(-1);
    far.LeftAxis.SetAutomatic(false);
    far.LeftAxis.SetMaximum(6);
    far.LeftAxis.SetMinimum(-1);
    EXPECT_TRUE(MatchesRecord(Paint(far), Folder, "far-values"));
}

} // namespace
} // namespace tensim
