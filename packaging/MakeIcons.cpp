// Writes the program's icon as the files of the freedesktop hicolor theme:
//   <folder>/hicolor/<n>x<n>/apps/<name>.png   for n = 16 ... 256
//   <folder>/hicolor/scalable/apps/<name>.svg
// from the same drawing as the window icon, PaintProgramIcon().
// Usage: tensim_icons <folder> <name>

#include "app/Glyphs.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

constexpr int SvgSide = 256;

bool WritePng(const QString& Folder, const QString& Name, int Size)
{
    const QString dir = QString("%1/hicolor/%2x%2/apps").arg(Folder).arg(Size);
    if (!QDir().mkpath(dir)) return false;
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    tensim::PaintProgramIcon(painter, Size);
    painter.end();
    return image.save(dir + "/" + Name + ".png", "PNG");
}

bool WriteSvg(const QString& Folder, const QString& Name)
{
    const QString dir = Folder + "/hicolor/scalable/apps";
    if (!QDir().mkpath(dir)) return false;
    QSvgGenerator generator;
    generator.setFileName(dir + "/" + Name + ".svg");
    generator.setSize(QSize(SvgSide, SvgSide));
    generator.setViewBox(QRect(0, 0, SvgSide, SvgSide));
    generator.setTitle("Tensim");
    generator.setDescription("Elipse de deformación y triángulo deformados por un cizallamiento");
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    tensim::PaintProgramIcon(painter, SvgSide);
    return painter.end();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: tensim_icons <folder> <name>\n");
        return 2;
    }
    const QString folder = arguments[1], name = arguments[2];
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        if (!WritePng(folder, name, size)) {
            std::fprintf(stderr, "tensim_icons: cannot write the %d pixel icon in %s\n", size,
                         qPrintable(folder));
            return 1;
        }
    }
    if (!WriteSvg(folder, name)) {
        std::fprintf(stderr, "tensim_icons: cannot write the scalable icon in %s\n",
                     qPrintable(folder));
        return 1;
    }
    return 0;
}
