#include "app/GifWriter.h"

#include "tests/QtPrint.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace tensim {
namespace {

constexpr QSize FrameSize(40, 30);

// Frames of known pixels: two of a few colours in stripes, in two formats,
// and one that holds exactly 256 colours.
std::vector<QImage> KnownFrames()
{
    QImage stripes(FrameSize, QImage::Format_RGB32);
    QImage bands(FrameSize, QImage::Format_ARGB32);
    QImage full(FrameSize, QImage::Format_RGB888);
    for (int y = 0; y < FrameSize.height(); ++y) {
        for (int x = 0; x < FrameSize.width(); ++x) {
            stripes.setPixel(x, y, x % 3 == 0 ? qRgb(255, 0, 0) : qRgb(0, 0, 128));
            bands.setPixel(x, y, y < 10 ? qRgb(1, 2, 3) : qRgb(250, 251, 252));
            const int i = (x + y * FrameSize.width()) % 256;
            full.setPixel(x, y, qRgb(i, 255 - i, (i * 7) % 256));
        }
    }
    return {stripes, bands, full};
}

QImage Rgb(const QImage& Image)
{
    return Image.convertToFormat(QImage::Format_RGB32);
}

class GifWriterTest : public testing::Test {
protected:
    QTemporaryDir Folder;
    QString File(const QString& Name) const { return Folder.filePath(Name); }
};

// Qt's own reader gives back every frame pixel for pixel, the delay and an
// endless loop.
TEST_F(GifWriterTest, FramesReadBackExactly)
{
    ASSERT_TRUE(QImageReader::supportedImageFormats().contains("gif"))
        << "Qt's GIF reader is not available here";
    const std::vector<QImage> frames = KnownFrames();
    const QString name = File("animación.gif");
    {
        TGifWriter writer;
        ASSERT_TRUE(writer.Open(name, FrameSize, 7)) << writer.Error().toStdString();
        for (const QImage& frame : frames)
            ASSERT_TRUE(writer.AddFrame(frame)) << writer.Error().toStdString();
        ASSERT_TRUE(writer.Close()) << writer.Error().toStdString();
        EXPECT_TRUE(writer.Error().isEmpty());
    }
    QImageReader reader(name, "gif");
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    EXPECT_EQ(reader.imageCount(), int(frames.size()));
    EXPECT_EQ(reader.loopCount(), -1); // Qt's word for "for ever"
    for (size_t i = 0; i < frames.size(); ++i) {
        const QImage read = reader.read();
        ASSERT_FALSE(read.isNull()) << "frame " << i << ": " << reader.errorString().toStdString();
        EXPECT_EQ(reader.nextImageDelay(), 70);
        EXPECT_TRUE(Rgb(read) == Rgb(frames[i])) << "frame " << i;
    }
}

// A frame of another size is refused and the animation goes on; one of
// more than 256 colours is reduced and written. An animation that is not
// closed leaves nothing behind and the file it would have replaced as it
// was; an unwritable name is reported.
TEST_F(GifWriterTest, RefusalsLeaveNoPartialFile)
{
    QImage many(FrameSize, QImage::Format_RGB32);
    for (int y = 0; y < FrameSize.height(); ++y)
        for (int x = 0; x < FrameSize.width(); ++x)
            many.setPixel(x, y, qRgb(x * 6, y * 8, (x + y) * 3));
    const QString kept = File("guardada.gif");
    QFile old(kept);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("anterior");
    old.close();
    {
        TGifWriter cancelled, dropped;
        ASSERT_TRUE(cancelled.Open(kept, FrameSize, 5));
        EXPECT_FALSE(cancelled.AddFrame(QImage(41, 30, QImage::Format_RGB32)));
        EXPECT_TRUE(cancelled.Error().contains("41 x 30")) << cancelled.Error().toStdString();
        ASSERT_TRUE(cancelled.AddFrame(many)) << cancelled.Error().toStdString();
        cancelled.Cancel();
        EXPECT_FALSE(cancelled.Close());
        ASSERT_TRUE(dropped.Open(File("sin-cerrar.gif"), FrameSize, 5));
        EXPECT_FALSE(dropped.Close()); // no frame
        ASSERT_TRUE(dropped.AddFrame(many));
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "anterior");
    EXPECT_EQ(QDir(Folder.path()).entryList(QDir::Files), QStringList{"guardada.gif"});

    TGifWriter writer;
    EXPECT_FALSE(writer.Open(File("no-existe/a.gif"), FrameSize, 5));
    EXPECT_TRUE(writer.Error().contains("la carpeta no existe")) << writer.Error().toStdString();
}

} // namespace
} // namespace tensim
