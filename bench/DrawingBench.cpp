// The drawing surface against its floors: a whole panel redraw against a
// hand-written integer line routine on the picture's bits plus a fill, and
// the axes against QPainter drawing the same lines and texts.

#include "bench/BenchSupport.h"
#include "drawing/AltObjs8b.h"
#include "drawing/WorldDrawing.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace tensim;

// The main window's finite panel at a size: axes, the ellipse, the triangle
// and the velocity field of simple shear 0.5 (357 arrows), painted as one
// as the window paints it.
struct TPanel {
    std::unique_ptr<TMathImage> Image = std::make_unique<TMathImage>();
    std::unique_ptr<TEllipse2> Ellipse;
    std::unique_ptr<TPointList2D> Triangle = std::make_unique<TPointList2D>();
    std::unique_ptr<TLineField> Field = std::make_unique<TLineField>();
    std::vector<TSegment> Segments; // the same lines in pixels, for the floor

    TPanel(int Width, int Height)
    {
        Image->resize(Width, Height);
        Image->d2SetWorld(-2, -2, 2, 2);
        Image->d2DrawAxes("x", "y", true, clGreen, clSilver, true);
        Ellipse = std::make_unique<TEllipse2>(clBlack, 0, 0, 1, 1.5, 0, 1, 1, false);
        const double c = std::cos(M_PI / 6), s = 0.5;
        Triangle->Add(std::make_unique<TLine2D>(clGreen, 0, 1, c, -s));
        Triangle->Add(std::make_unique<TLine2D>(clBlue, c, -s, -c, -s));
        Triangle->Add(std::make_unique<TLine2D>(clRed, -c, -s, 0, 1));
        while (Field->Count() < 357) {
            const int n = Field->Count();
            const double y = -2 + 0.2 * (n % 21), x = -2 + 0.25 * (n / 21 % 17);
            Field->Add(std::make_unique<TVectorArrow2D>(clTeal, x, y, x + 0.5 * y, y));
        }
        const auto add = [&](double X0, double Y0, double X1, double Y1) {
            Segments.push_back(
                {Image->WindowX(X0), Image->WindowY(Y0), Image->WindowX(X1), Image->WindowY(Y1)});
        };
        for (int i = 0; i < 36; ++i) {
            const double a = i * M_PI / 18, b = (i + 1) * M_PI / 18;
            add(std::cos(a) + 1.5 * std::sin(a), std::sin(a), std::cos(b) + 1.5 * std::sin(b),
                std::sin(b));
        }
        add(0, 1, c, -s);
        add(c, -s, -c, -s);
        add(-c, -s, 0, 1);
        // Arrows with their two barbs, half the arrow long, 12 pi / 13 off
        // its direction.
        for (int i = 1; i <= Field->Count(); ++i) {
            const auto* a = static_cast<const TLine2D*>(Field->GetPoint(i));
            const double x1 = a->Position().Elem[1], y1 = a->Position().Elem[2];
            const double x2 = a->EndPoint().Elem[1], y2 = a->EndPoint().Elem[2];
            add(x1, y1, x2, y2);
            const double theta = std::atan2(y2 - y1, x2 - x1),
                         barb = std::hypot(x2 - x1, y2 - y1) / 2;
            for (double side : {theta + 12 * M_PI / 13, theta - 12 * M_PI / 13})
                add(x2, y2, x2 + barb * std::cos(side), y2 + barb * std::sin(side));
        }
        // The axes: both axis lines and zero lines out and back, the ticks
        // (every fourth one longer) and the arrow heads.
        const TWorldDrawing& m = Image->Mapping();
        for (double y : {m.AreaBottom(), 0.0}) {
            add(m.AreaLeft(), y, m.AreaRight(), y);
            add(m.AreaRight(), y, m.AreaLeft(), y);
        }
        for (double x : {m.AreaLeft(), 0.0}) {
            add(x, m.AreaBottom(), x, m.AreaTop());
            add(x, m.AreaTop(), x, m.AreaBottom());
        }
        for (int i = 0; i <= 40; ++i) {
            const int px = Image->WindowX(-2 + 0.1 * i), py = Image->WindowY(m.AreaBottom());
            Segments.push_back({px, py, px, py + (i % 10 == 0 ? 6 : 4)});
            const int qx = Image->WindowX(m.AreaLeft()), qy = Image->WindowY(-2 + 0.1 * i);
            Segments.push_back({qx, qy, qx - (i % 10 == 0 ? 6 : 4), qy});
        }
        for (int i = 0; i < 4; ++i)
            Segments.push_back({10, 10 + i, 16, 16 + i});
    }

    void Redraw()
    {
        Image->d2Clear();
        Image->d2DrawAxes("x", "y", true, clGreen, clSilver, true);
        Ellipse->Draw(*Image);
        Triangle->Draw(*Image);
        Field->Draw(*Image);
        Ellipse->Erase(*Image);
        Triangle->Erase(*Image);
        Field->Erase(*Image);
    }

    // The axes are drawn once, the shapes drawn and erased.
    void Floor(QImage& Picture)
    {
        Picture.fill(0xFFFFFFFFu);
        const size_t shapes = Segments.size() - 4 - 8 - 82;
        for (size_t i = 0; i < Segments.size(); ++i) {
            FloorLine(Picture, Segments[i], 0xFF008080u);
            if (i < shapes) FloorLine(Picture, Segments[i], 0xFF008080u);
        }
    }
};

void BM_PanelRedraw(benchmark::State& State)
{
    TPanel panel(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    QImage floor(panel.Image->size(), QImage::Format_RGB32);
    CompareWithFloor(
        State, [&] { panel.Redraw(); }, [&] { panel.Floor(floor); });
}
BENCHMARK(BM_PanelRedraw)->Args({218, 214})->Args({960, 940})->UseManualTime();

// The axes against QPainter drawing as many lines and texts.
void BM_DrawAxes(benchmark::State& State)
{
    TMathImage image;
    image.resize(218, 214);
    image.d2SetWorld(-2, -2, 2, 2);
    image.d2DrawAxes("x", "y", true, clGreen, clSilver, true);
    QImage floor(218, 214, QImage::Format_RGB32);
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    font.setStyleStrategy(QFont::NoAntialias);
    const char* labels[] = {"-2", "-1", "0", "1", "2", "-2", "-1", "0", "1", "2", "x", "y"};
    CompareWithFloor(
        State, [&] { image.d2DrawAxes("x", "y", true, clGreen, clSilver, true); },
        [&] {
            QPainter painter(&floor);
            painter.setPen(QColor(0, 128, 0));
            for (int i = 0; i < 2 * 41 + 10 + 4 + 6; ++i)
                painter.drawLine(20 + i, 190, 20 + i, 196);
            painter.setFont(font);
            int x = 10;
            for (const char* label : labels)
                painter.drawText(x += 15, 205, label);
        });
}
BENCHMARK(BM_DrawAxes)->UseManualTime();

} // namespace
