#include "app/GifWriter.h"

#include "controls/Pictures.h"

#include <QDir>
#include <QPainter>
#include <QSaveFile>

#include <gif_lib.h>

#include <memory>

namespace tensim {

namespace {

// A GIF's sizes and delays are 16-bit numbers.
constexpr int MaxGifNumber = 65535;

struct TColourMapFree {
    void operator()(ColorMapObject* Map) const { GifFreeMapObject(Map); }
};
using TColourMap = std::unique_ptr<ColorMapObject, TColourMapFree>;

// Frame as 8-bit indices into at most 256 colours: Qt keeps the colours
// exactly while there are no more than 256, and reduces them to a colour
// cube with error diffusion beyond. Transparent pixels are laid on white.
QImage IndexedFrame(const QImage& Frame)
{
    QImage opaque;
    if (Frame.hasAlphaChannel()) {
        opaque = QImage(Frame.size(), QImage::Format_RGB32);
        opaque.setDevicePixelRatio(Frame.devicePixelRatio());
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, Frame);
    } else {
        opaque = Frame.convertToFormat(QImage::Format_RGB32);
    }
    return opaque.convertToFormat(QImage::Format_Indexed8);
}

// The colour table of Indexed as a GIF colour map, whose size is a power of
// two from 2 to 256; the entries beyond the table are black.
TColourMap ColourMap(const QImage& Indexed)
{
    const QList<QRgb> table = Indexed.colorTable();
    int size = 2;
    while (size < table.size())
        size *= 2;
    TColourMap map(GifMakeMapObject(size, nullptr));
    if (!map) return map;
    for (int i = 0; i < table.size(); ++i)
        map->Colors[i] = {GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])),
                          GifByteType(qBlue(table[i]))};
    return map;
}

QString SizeText(QSize Size)
{
    return QString("%1 x %2").arg(Size.width()).arg(Size.height());
}

} // namespace

TGifWriter::TGifWriter() = default;

TGifWriter::~TGifWriter()
{
    Cancel();
}

bool TGifWriter::Open(const QString& FileName, QSize Size, int DelayCentiseconds)
{
    Cancel();
    FError.clear();
    if (Size.width() < 1 || Size.height() < 1 || Size.width() > MaxGifNumber ||
        Size.height() > MaxGifNumber)
        return Fail(QString("Una animación GIF no puede medir %1 píxeles.").arg(SizeText(Size)));
    if (DelayCentiseconds < 0 || DelayCentiseconds > MaxGifNumber)
        return Fail(QString("Una animación GIF no puede mostrar cada fotograma %1 centésimas de "
                            "segundo.")
                        .arg(DelayCentiseconds));
    FFileName = FileName;
    FSize = Size;
    FDelay = DelayCentiseconds;
    FFrames = 0;
    FFile = std::make_unique<QSaveFile>(FileName);
    if (!FFile->open(QIODevice::WriteOnly)) return FailWriting();
    int error = 0;
    FGif = EGifOpen(FFile.get(), &TGifWriter::Write, &error);
    if (!FGif) return FailWriting(error);
    EGifSetGifVersion(FGif, true);
    if (EGifPutScreenDesc(FGif, Size.width(), Size.height(), 8, 0, nullptr) == GIF_ERROR ||
        !WriteLoopExtension())
        return FailWriting();
    return true;
}

// The Netscape application extension: a loop count of 0, for ever.
bool TGifWriter::WriteLoopExtension()
{
    static const GifByteType Name[] = "NETSCAPE2.0";
    static const GifByteType Loop[] = {1, 0, 0};
    return EGifPutExtensionLeader(FGif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
           EGifPutExtensionBlock(FGif, 11, Name) != GIF_ERROR &&
           EGifPutExtensionBlock(FGif, 3, Loop) != GIF_ERROR &&
           EGifPutExtensionTrailer(FGif) != GIF_ERROR;
}

bool TGifWriter::AddFrame(const QImage& Frame)
{
    FError.clear();
    if (!FGif) return Fail("No hay ninguna animación abierta.");
    if (Frame.size() != FSize)
        return Fail(QString("El fotograma mide %1 píxeles y la animación %2.")
                        .arg(SizeText(Frame.size()), SizeText(FSize)));
    QImage indexed = IndexedFrame(Frame);
    if (!WriteFrameHeader(indexed)) return FailWriting();
    for (int y = 0; y < indexed.height(); ++y) {
        // giflib masks the line's indices in place: it is given our own copy.
        if (EGifPutLine(FGif, indexed.scanLine(y), indexed.width()) == GIF_ERROR)
            return FailWriting();
    }
    ++FFrames;
    return true;
}

// The frame's delay and its image descriptor with a colour map of its own.
bool TGifWriter::WriteFrameHeader(const QImage& Indexed)
{
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.DelayTime = FDelay;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(FGif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_ERROR)
        return false;
    const TColourMap map = ColourMap(Indexed);
    return map && EGifPutImageDesc(FGif, 0, 0, Indexed.width(), Indexed.height(), false,
                                   map.get()) != GIF_ERROR;
}

bool TGifWriter::Close()
{
    FError.clear();
    if (!FGif) return Fail("No hay ninguna animación abierta.");
    if (FFrames == 0) return Fail("La animación no tiene ningún fotograma.");
    int error = 0;
    const bool trailer = EGifCloseFile(FGif, &error) != GIF_ERROR;
    FGif = nullptr;
    if (!trailer || !FFile->commit()) return FailWriting(trailer ? 0 : error);
    FFile.reset();
    return true;
}

void TGifWriter::Cancel()
{
    int error = 0;
    if (FGif) EGifCloseFile(FGif, &error);
    FGif = nullptr;
    // A save file that is not committed removes what it has written.
    if (FFile) FFile->cancelWriting();
    FFile.reset();
}

bool TGifWriter::Fail(const QString& Reason)
{
    FError = Reason;
    return false;
}

// A failure of the file, or of giflib when the file reports none: the
// animation is discarded.
bool TGifWriter::FailWriting(int GifError)
{
    QString reason = FFile ? FFile->errorString() : QString();
    if (FGif) GifError = FGif->Error;
    if (GifError != 0 && (!FFile || FFile->error() == QFileDevice::NoError))
        reason = GifErrorString(GifError);
    Cancel();
    return Fail(NotWrittenMessage(QDir::toNativeSeparators(FFileName), reason));
}

int TGifWriter::Write(GifFileType* Gif, const unsigned char* Data, int Length)
{
    auto* file = static_cast<QSaveFile*>(Gif->UserData);
    const qint64 written = file->write(reinterpret_cast<const char*>(Data), Length);
    return written < 0 ? 0 : int(written);
}

} // namespace tensim
