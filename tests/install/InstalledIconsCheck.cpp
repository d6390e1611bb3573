// Compares the installed icon files with the window icon: every PNG of the
// hicolor theme must hold exactly the pixels of ProgramIcon() at its size,
// and the scalable SVG must render to the same picture as the largest PNG,
// up to antialiasing.
// Usage: tensim_installed_icons_check <hicolor folder> <icon name>

#include "app/Glyphs.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>
#include <cstdio>

namespace {

int Failures = 0;

void Fail(const QString& Text)
{
    std::fprintf(stderr, "%s\n", qPrintable(Text));
    ++Failures;
}

QImage Straight(const QImage& Image)
{
    return Image.convertToFormat(QImage::Format_ARGB32);
}

// Mean absolute difference of the channels, 0 to 255.
double MeanDifference(const QImage& A, const QImage& B)
{
    double sum = 0;
    for (int y = 0; y < A.height(); ++y) {
        for (int x = 0; x < A.width(); ++x) {
            const QRgb a = A.pixel(x, y), b = B.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
        }
    }
    return sum / (4.0 * A.width() * A.height());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: tensim_installed_icons_check <hicolor folder> <name>\n");
        return 2;
    }
    const QString folder = arguments[1], name = arguments[2];
    const QIcon windowIcon = tensim::ProgramIcon();

    QImage largest;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = QString("%1/%2x%2/apps/%3.png").arg(folder).arg(size).arg(name);
        const QImage installed(file);
        if (installed.isNull()) {
            Fail("cannot read " + file);
            continue;
        }
        if (installed.size() != QSize(size, size)) {
            Fail(QString("%1 is %2 x %3 pixels, not %4")
                     .arg(file)
                     .arg(installed.width())
                     .arg(installed.height())
                     .arg(size));
            continue;
        }
        const QImage expected = Straight(windowIcon.pixmap(QSize(size, size)).toImage());
        if (expected.size() != installed.size() || Straight(installed) != expected)
            Fail(file + " differs from the window icon at the same size");
        if (size == 256) largest = Straight(installed);
    }

    const QString svgFile = QString("%1/scalable/apps/%2.svg").arg(folder, name);
    QSvgRenderer svg(svgFile);
    if (!svg.isValid()) {
        Fail("cannot read " + svgFile);
    } else if (!largest.isNull()) {
        QImage rendered(largest.size(), QImage::Format_ARGB32_Premultiplied);
        rendered.fill(Qt::transparent);
        QPainter painter(&rendered);
        svg.render(&painter);
        painter.end();
        const double difference = MeanDifference(Straight(rendered), largest);
        std::printf("scalable icon against the 256 pixel one: mean difference %.2f of 255\n",
                    difference);
        if (difference > 2.0) Fail(svgFile + " does not draw the program's icon");
    }
    return Failures == 0 ? 0 : 1;
}
