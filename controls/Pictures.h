#pragma once
// Pictures written to files: a raster picture in the format its file name
// names, and vector pictures as SVG and PDF.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;

namespace tensim {

// Writes Picture in the format the extension of FileName names when Qt can
// write that format here, and as BMP otherwise (a name without an extension
// or with an unknown one keeps its name as typed). Throws Exception, with the
// file name and the reason in the interface's language ("No se pudo guardar
// «x.png»: la carpeta no existe."), when the file is not written.
void SavePicture(const QImage& Picture, const QString& FileName);

// Why FileName was not written, as the savers report it: "No se pudo
// guardar «name»: reason." with the reason in Spanish, read off the file
// system, and QtReason in brackets after it when there is one.
QString NotWrittenMessage(const QString& FileName, const QString& QtReason);

// The picture that Paint draws on a canvas of Size, as SVG.
QByteArray SvgPicture(QSize Size, const QString& Title,
                      const std::function<void(QPainter& Painter)>& Paint);

// The picture that Paint draws on a canvas of Size, as a one-page PDF whose
// page fits the picture.
QByteArray PdfPicture(QSize Size, const QString& Title,
                      const std::function<void(QPainter& Painter)>& Paint);

// Whether FileName's extension names PDF.
bool IsPdfName(const QString& FileName);

// Writes Data to FileName as it is (an SVG picture, a CSV table); throws
// Exception as SavePicture does.
void SaveFileData(const QByteArray& Data, const QString& FileName);

// File-dialog filters for the formats the two savers write: every picture
// first, then one filter per format, SVG and PDF among them.
QStringList PictureFilters();

} // namespace tensim
