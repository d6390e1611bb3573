#include "controls/Pictures.h"

#include "math/Errors.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

namespace tensim {

namespace {

// Why FileName could not be written, read off the file system.
QString WriteFailure(const QString& FileName)
{
    const QFileInfo file(FileName);
    const QFileInfo folder(file.absolutePath());
    if (file.isDir()) return QCoreApplication::translate("tensim::Pictures", "es una carpeta");
    if (!folder.isDir())
        return QCoreApplication::translate("tensim::Pictures", "la carpeta no existe");
    if (!folder.isWritable() || (file.exists() && !file.isWritable()))
        return QCoreApplication::translate("tensim::Pictures", "permiso denegado");
    return QCoreApplication::translate("tensim::Pictures", "no se pudo escribir el archivo");
}

Exception NotWritten(const QString& FileName, const QString& QtReason)
{
    return Exception(NotWrittenMessage(FileName, QtReason).toStdString());
}

} // namespace

QString NotWrittenMessage(const QString& FileName, const QString& QtReason)
{
    QString text = QCoreApplication::translate("tensim::Pictures", "No se pudo guardar «%1»: %2.")
                       .arg(FileName, WriteFailure(FileName));
    if (!QtReason.isEmpty()) text += QString(" (%1)").arg(QtReason);
    return text;
}

void SavePicture(const QImage& Picture, const QString& FileName)
{
    QByteArray format = QFileInfo(FileName).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format)) format = "bmp";
    QImageWriter writer(FileName, format);
    if (!writer.write(Picture)) throw NotWritten(FileName, writer.errorString());
}

QByteArray SvgPicture(QSize Size, const QString& Title,
                      const std::function<void(QPainter& Painter)>& Paint)
{
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(Size);
    generator.setViewBox(QRect(QPoint(0, 0), Size));
    generator.setResolution(96);
    generator.setTitle(Title);
    QPainter painter(&generator);
    Paint(painter);
    painter.end();
    return svg;
}

QByteArray PdfPicture(QSize Size, const QString& Title,
                      const std::function<void(QPainter& Painter)>& Paint)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(Title);
    writer.setCreator(QStringLiteral("Tensim"));
    // One picture pixel is one point: the page is the picture's size.
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(QSizeF(Size), QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter(&writer);
    Paint(painter);
    painter.end();
    return pdf;
}

bool IsPdfName(const QString& FileName)
{
    return QFileInfo(FileName).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

void SaveFileData(const QByteArray& Data, const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(Data) != Data.size() || !file.flush())
        throw NotWritten(FileName, file.errorString());
}

QStringList PictureFilters()
{
    QStringList patterns, filters;
    QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    formats.append("svg");
    formats.append("pdf");
    std::sort(formats.begin(), formats.end());
    formats.erase(std::unique(formats.begin(), formats.end()), formats.end());
    for (const QByteArray& format : formats) {
        const QString pattern = "*." + QString::fromLatin1(format);
        patterns << pattern;
        filters << QString("%1 (%2)").arg(QString::fromLatin1(format).toUpper(), pattern);
    }
    filters.prepend(
        QCoreApplication::translate("tensim::Pictures", "Imágenes (%1)").arg(patterns.join(' ')));
    return filters;
}

} // namespace tensim
