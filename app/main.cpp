#include "app/Application.h"
#include "app/Kinema08uMain.h"

int main(int argc, char* argv[])
{
    tensim::TApplication application(argc, argv);
    tensim::TApplication::setApplicationDisplayName(QStringLiteral("Tensim 2.1"));
    tensim::ApplySystemLocale();
    tensim::SetMessageHandler(tensim::ShowMessageBox);
    tensim::TForm1 mainWindow; // Form1
    mainWindow.show();
    return application.exec();
}
