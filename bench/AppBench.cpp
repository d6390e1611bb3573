// The whole window without the busy pause: one increment of simple shear
// with the velocity field; one "Deformar" of one increment and the
// increments after it for the worst flows of the track bars' grid beside
// simple shear and beside a floor, at two window sizes; the first and the
// last 1000 of 10^4 increments; and a search of the grid for the worst
// flows.

#include "app/Application.h"
#include "app/FlowModel.h"
#include "app/Kinema08uMain.h"
#include "bench/BenchSupport.h"
#include "controls/NxNumEdit.h"
#include "controls/NxSpinEdit.h"
#include "controls/StdCtrls.h"
#include "drawing/MathImge.h"
#include "math/Vectors.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <utility>

namespace {

using namespace tensim;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point Start)
{
    return std::chrono::duration<double>(Clock::now() - Start).count();
}

void BM_Increment(benchmark::State& State)
{
    const auto pause = SetBusyPause([] {});
    {
        TForm1 form;
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
        form.TrackBar2->SetPosition(5);
        form.chbxVelFld->setChecked(true);
        form.bitbtnDefClick(nullptr); // the field, the arrows and one increment
        int done = 0;
        for (auto _ : State) {
            // A fresh start now and then, so that the ellipse stays in view.
            if (++done % 20 == 0) form.bitbtnRestaClick(nullptr);
            const auto start = Clock::now();
            form.Increment();
            State.SetIterationTime(Since(start));
        }
    }
    SetBusyPause(pause);
}
BENCHMARK(BM_Increment)->UseManualTime()->Unit(benchmark::kMicrosecond);

// One increment of simple shear with the 40 markers and the fields of
// elongation shown, timed beside the same increment without them, in turn.
// The goal: "ratio" at most 3.
void BM_MarkersAndFields(benchmark::State& State)
{
    const auto pause = SetBusyPause([] {});
    {
        TForm1 form;
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
        form.TrackBar2->SetPosition(5);
        form.bitbtnDefClick(nullptr);
        double with = 0, without = 0;
        int done = 0;
        for (auto _ : State) {
            if (++done % 10 == 0) form.bitbtnRestaClick(nullptr);
            for (const bool shown : {false, true}) {
                form.chbxMarkers->setChecked(shown);
                form.chbxElongFields->setChecked(shown);
                const auto start = Clock::now();
                form.Increment();
                const double t = Since(start);
                (shown ? with : without) += t;
                if (shown) State.SetIterationTime(t);
            }
        }
        State.counters["without_us"] = 1e6 * without / done;
        State.counters["with_us"] = 1e6 * with / done;
        State.counters["ratio"] = with / without;
    }
    SetBusyPause(pause);
}
BENCHMARK(BM_MarkersAndFields)->UseManualTime()->Unit(benchmark::kMicrosecond);

using TFlow = std::array<double, 4>;

constexpr TFlow SimpleShear{1, 0.5, 0, 1};
// Simple shear; the worst flows of the grid before the field was painted as
// one: general shears with complex eigenvalues of modulus 1, and -I; one
// with eigenvalues -1 and 0.1, whose field swings to and fro; and one whose
// ellipse outgrows the window at every increment.
constexpr TFlow WindowFlows[] = {SimpleShear,    {-0.8, 0.6, -0.6, -0.8}, {-0.5, 1, -0.8, -0.4},
                                 {-1, 0, 0, -1}, {-1.1, -0.2, 0.6, 0.2},  {0.4, 1.1, -1.8, 1.7}};

// The main window at a size in general shear, every shape shown, one
// increment a click, the busy pause replaced.
class TWindowRun {
public:
    TWindowRun(int Width, int Height) : FPause(SetBusyPause([] {}))
    {
        FForm.resize(Width, Height);
        FForm.show();
        (void)QTest::qWaitForWindowExposed(&FForm);
        FForm.RadioButton4->setChecked(true);
        for (QCheckBox* box : {FForm.chbxEllipse, FForm.chbxAxes, FForm.chbxTri, FForm.chbxVelFld,
                               FForm.chkbxAp, FForm.chkbxISA})
            box->setChecked(true);
        FForm.NxSpinEditNoIncrements->SetValue(1);
    }
    ~TWindowRun() { SetBusyPause(FPause); }

    struct TTimes {
        double First = 0; // one "Deformar" of one increment, which builds the field
        double Next = 0;  // each increment after it, as a run applies it
    };

    // From the start-up state, the flow's first click and then Increments
    // increments.
    TTimes Time(const TFlow& L, int Increments = 4)
    {
        Start(L);
        TTimes t;
        const auto first = Clock::now();
        FForm.bitbtnDefClick(nullptr);
        t.First = Since(first);
        const auto next = Clock::now();
        for (int i = 0; i < Increments; ++i) {
            FForm.Increment();
            QCoreApplication::processEvents();
        }
        t.Next = Since(next) / Increments;
        return t;
    }

    // The lines of both panels' final pictures, in their pixels.
    std::vector<std::pair<TMathImage*, std::vector<TSegment>>> FinalLines()
    {
        std::vector<std::pair<TMathImage*, std::vector<TSegment>>> lines;
        TStrokeSink sinks[2];
        TMathImage* images[2] = {FForm.MathImage1, FForm.MathImage2};
        for (int i = 0; i < 2; ++i)
            images[i]->DrawingCanvas().SetSink(&sinks[i]);
        FForm.FormResize(); // a redraw, into the sinks
        for (int i = 0; i < 2; ++i) {
            images[i]->DrawingCanvas().SetSink(nullptr);
            lines.emplace_back(images[i], std::move(sinks[i].Lines));
        }
        FForm.FormResize();
        return lines;
    }

    void Start(const TFlow& L)
    {
        FForm.bitbtnReestClick(nullptr);
        for (int i = 0; i < 4; ++i)
            FForm.FlowEdits()[i]->SetValue(L[i]);
    }

    TForm1& Form() { return FForm; }

private:
    std::function<void()> FPause;
    TForm1 FForm;
};

// The floor of a redraw: both panels filled and their final lines drawn by
// a hand-written line routine.
struct TFloor {
    std::vector<std::pair<QImage, std::vector<TSegment>>> Panels;
    void Draw()
    {
        for (auto& [picture, lines] : Panels) {
            picture.fill(0xFFFFFFFFu);
            for (const TSegment& s : lines)
                FloorLine(picture, s, 0xFF008080u);
        }
    }
};

// One "Deformar" of one increment and the increments after it, for a flow
// and for simple shear in turn, beside the floor of the flow's final
// picture. Each ratio is to the same figure of simple shear.
void BM_Deformar(benchmark::State& State)
{
    const TFlow& flow = WindowFlows[State.range(0)];
    TWindowRun run(static_cast<int>(State.range(1)), static_cast<int>(State.range(2)));
    run.Time(flow);
    TFloor floor;
    for (auto& [image, lines] : run.FinalLines())
        floor.Panels.emplace_back(QImage(image->Bitmap().size(), QImage::Format_RGB32),
                                  std::move(lines));
    std::vector<double> first, next, shearFirst, shearNext, floors;
    for (auto _ : State) {
        const TWindowRun::TTimes shear = run.Time(SimpleShear);
        const TWindowRun::TTimes t = run.Time(flow);
        const auto start = Clock::now();
        floor.Draw();
        floors.push_back(Since(start));
        first.push_back(t.First);
        next.push_back(t.Next);
        shearFirst.push_back(shear.First);
        shearNext.push_back(shear.Next);
        State.SetIterationTime(t.First + t.Next);
    }
    const double f = Median(first), n = Median(next), sf = Median(shearFirst),
                 sn = Median(shearNext);
    State.counters["first_us"] = f * 1e6;
    State.counters["next_us"] = n * 1e6;
    State.counters["shear_first_us"] = sf * 1e6;
    State.counters["shear_next_us"] = sn * 1e6;
    State.counters["floor_us"] = Median(floors) * 1e6;
    State.counters["next_ratio"] = n / sn;
    State.counters["first_ratio"] = f / sf;
}
BENCHMARK(BM_Deformar)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {792}, {573}})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {2500}, {1500}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Ten clicks of 1000 increments of simple shear with every shape shown: the
// first click against the last, medians of the runs.
void BM_LongRun(benchmark::State& State)
{
    TWindowRun run(792, 573);
    TForm1& form = run.Form();
    std::vector<double> firsts, lasts;
    for (auto _ : State) {
        run.Start(SimpleShear);
        form.NxSpinEditNoIncrements->SetValue(1000);
        double first = 0, last = 0;
        for (int click = 0; click < 10; ++click) {
            const auto start = Clock::now();
            form.bitbtnDefClick(nullptr);
            QCoreApplication::processEvents();
            (click == 0 ? first : last) = Since(start);
        }
        State.SetIterationTime(first + last);
        firsts.push_back(first);
        lasts.push_back(last);
    }
    State.counters["first_1000_ms"] = Median(firsts) * 1e3;
    State.counters["last_1000_ms"] = Median(lasts) * 1e3;
    State.counters["ratio"] = Median(lasts) / Median(firsts);
}
BENCHMARK(BM_LongRun)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The grid of the track bars: every flow with entries -2 .. 2 in steps of
// 0.1 is ranked by the total length of its field's arrows, which sets the
// pixels a field paints; the longest fields, the longest of those whose
// ellipse grows, and a random sample are timed in the window, and the five
// worst are printed beside simple shear.
void BM_GridSearch(benchmark::State& State)
{
    struct TCandidate {
        double Length;
        size_t Arrows;
        TFlow L;
    };
    const auto keep = [](std::vector<TCandidate>& Best, const TCandidate& C, size_t Size) {
        if (Best.size() < Size) {
            Best.push_back(C);
        } else {
            auto least = std::min_element(Best.begin(), Best.end(),
                                          [](auto& A, auto& B) { return A.Arrows < B.Arrows; });
            if (C.Arrows > least->Arrows) *least = C;
        }
    };
    for (auto _ : State) {
        std::vector<TCandidate> most, growing, sample;
        std::mt19937 random(16);
        size_t flows = 0;
        for (int a = -20; a <= 20; ++a)
            for (int b = -20; b <= 20; ++b)
                for (int c = -20; c <= 20; ++c)
                    for (int d = -20; d <= 20; ++d) {
                        const TFlow L{a / 10.0, b / 10.0, c / 10.0, d / 10.0};
                        const TTransformMatrix M =
                            CleanMatrix(MakeTensor2D(L[0], L[1], L[2], L[3]));
                        if (IsIdentityMatrix(M)) continue;
                        const std::vector<TWorldSegment> field =
                            StreamlineField(M, FiniteStartWindow);
                        double length = 0;
                        for (const TWorldSegment& a : field)
                            length += std::hypot(a.X2 - a.X1, a.Y2 - a.Y1);
                        const TCandidate candidate{length, field.size(), L};
                        ++flows;
                        keep(most, candidate, 24);
                        // The ellipse grows when some direction lengthens.
                        const double stretch =
                            std::max(std::hypot(L[0], L[2]), std::hypot(L[1], L[3]));
                        if (stretch > 1) keep(growing, candidate, 24);
                        if (random() % 200000 == 0) sample.push_back(candidate);
                    }
        TWindowRun run(792, 573);
        struct TTimed {
            double Next, First;
            TCandidate C;
        };
        std::vector<TTimed> timed;
        // Simple shear is timed beside every candidate, and the slowest
        // candidates are timed again with more runs, which the figures give.
        std::vector<double> shearFirst, shearNext;
        const auto time = [&](const TCandidate& C, int Runs, std::vector<TTimed>& Into) {
            std::vector<double> first, next;
            for (int i = 0; i < Runs; ++i) {
                const TWindowRun::TTimes shear = run.Time(SimpleShear);
                shearFirst.push_back(shear.First);
                shearNext.push_back(shear.Next);
                const TWindowRun::TTimes t = run.Time(C.L);
                first.push_back(t.First);
                next.push_back(t.Next);
            }
            Into.push_back({Median(next), Median(first), C});
        };
        const auto slowestFirst = [](std::vector<TTimed>& List) {
            std::sort(List.begin(), List.end(),
                      [](const TTimed& A, const TTimed& B) { return A.Next > B.Next; });
        };
        std::vector<TTimed> screened;
        for (const auto* list : {&most, &growing, &sample})
            for (const TCandidate& c : *list)
                time(c, 3, screened);
        slowestFirst(screened);
        // The worst first increments may be other flows than the worst increments.
        std::vector<TTimed> byFirst = screened;
        std::sort(byFirst.begin(), byFirst.end(),
                  [](const TTimed& A, const TTimed& B) { return A.First > B.First; });
        shearFirst.clear();
        shearNext.clear();
        for (size_t i = 0; i < 8 && i < screened.size(); ++i) {
            time(screened[i].C, 15, timed);
            time(byFirst[i].C, 15, timed);
        }
        slowestFirst(timed);
        const TTimed shear{Median(shearNext), Median(shearFirst), {0, 0, SimpleShear}};
        std::printf("Grid search: %zu flows ranked, %zu timed at 792 x 573, the slowest %zu "
                    "again; simple shear: increment %.0f us, first %.0f us\n",
                    flows, screened.size(), timed.size(), shear.Next * 1e6, shear.First * 1e6);
        for (size_t i = 0; i < 5 && i < timed.size(); ++i) {
            const TTimed& t = timed[i];
            std::printf("  (%.1f, %.1f; %.1f, %.1f): %zu arrows, increment %.0f us (%.2f x), "
                        "first %.0f us (%.2f x)\n",
                        t.C.L[0], t.C.L[1], t.C.L[2], t.C.L[3], t.C.Arrows, t.Next * 1e6,
                        t.Next / shear.Next, t.First * 1e6, t.First / shear.First);
        }
        State.counters["worst_next_ratio"] = timed.empty() ? 0 : timed.front().Next / shear.Next;
        double worstFirst = 0;
        for (const TTimed& t : timed)
            worstFirst = std::max(worstFirst, t.First / shear.First);
        State.counters["worst_first_ratio"] = worstFirst;
    }
}
BENCHMARK(BM_GridSearch)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
