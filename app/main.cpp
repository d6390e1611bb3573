#include "app/Kinema08uMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tensim::ApplySystemLocale();
    tensim::TForm1 form1;
    form1.show();
    return app.exec();
}
