#include "app/Kinema08uMain.h"

#include "math/FloatFormat.h"

#include <QLocale>

namespace tensim {

TForm1::TForm1(QWidget* Parent) : QWidget(Parent)
{
    setWindowTitle(QStringLiteral("Flujo y deformación"));
    resize(800, 600);
}

void ApplySystemLocale()
{
    const QLocale locale = QLocale::system();
    FormatSettings().DecimalSeparator = locale.decimalPoint().toStdString();
    FormatSettings().ThousandSeparator = locale.groupSeparator().toStdString();
}

} // namespace tensim
