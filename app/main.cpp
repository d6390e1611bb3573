#include "app/About02.h"
#include "app/Application.h"
#include "app/Glyphs.h"
#include "app/Kinema08u2.h"
#include "app/Kinema08uMain.h"

#include <QTimer>

int main(int argc, char* argv[])
{
    tensim::TApplication application(argc, argv);
    tensim::TApplication::setApplicationDisplayName(QStringLiteral("Tensim 2.1"));
    tensim::TApplication::setWindowIcon(tensim::ProgramIcon());
    tensim::ApplySystemLocale();
    if (!tensim::InstallEnglishTranslation()) tensim::InstallSpanishTranslations();
    tensim::SetMessageHandler(tensim::ShowMessageBox);
    tensim::TForm1 mainWindow;   // Form1
    tensim::TForm2 enlargedView; // Form2
    tensim::TAboutBox aboutBox;  // AboutBox
    tensim::ReportStartup(mainWindow);
    mainWindow.show();
    // An exercise given on the command line, as the desktop opens one.
    const QStringList arguments = tensim::TApplication::arguments();
    if (arguments.size() > 1)
        QTimer::singleShot(0, &mainWindow, [&] { mainWindow.OpenExercise(arguments.at(1)); });
    return application.exec();
}
