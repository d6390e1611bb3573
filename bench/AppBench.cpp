// One whole increment of the program without the busy pause: both panels
// redrawn with the velocity field, the four chart points and the repaint,
// at the design size.

#include "app/Application.h"
#include "app/Kinema08uMain.h"
#include "controls/NxNumEdit.h"
#include "controls/StdCtrls.h"

#include <QCheckBox>
#include <QTest>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace tensim;

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
            const auto start = std::chrono::steady_clock::now();
            form.Increment();
            State.SetIterationTime(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
    }
    SetBusyPause(pause);
}
BENCHMARK(BM_Increment)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
