// Peak memory after 10,000 increments of simple shear 0.5 with the
// velocity field shown and the busy pause replaced: ten "Deformar" clicks
// of 1,000 increments each.

#include "app/Application.h"
#include "app/Kinema08uMain.h"
#include "controls/NxSpinEdit.h"
#include "controls/StdCtrls.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tensim::SetBusyPause([] {});
    QElapsedTimer timer;
    timer.start();
    {
        tensim::TForm1 form;
        form.show();
        form.TrackBar2->SetPosition(5);
        form.chbxVelFld->setChecked(true);
        form.NxSpinEditNoIncrements->SetValue(1000);
        for (int click = 0; click < 10; ++click)
            form.bitbtnDefClick(nullptr);
        // The exponent shows the increments applied.
        std::printf("increments: %s\n", qPrintable(form.StaticText3->Caption()));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("time: %.1f s\npeak memory: %.1f MB\n", timer.elapsed() / 1000.0,
                usage.ru_maxrss / 1024.0);
    return 0;
}
