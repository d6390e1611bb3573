#include "app/GifWriter.h"

#include "tests/QtPrint.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tensim {
namespace {

// Qt's own reader gives back a frame of exactly 256 colours pixel for pixel,
// with its delay and an endless loop. A frame of another size is refused and
// the animation goes on; a cancelled one leaves the file it would have
// replaced as it was; an unwritable name is reported.
TEST(GifWriter, WritesExactlyAndRefusesWhatItCannotWrite)
{
    const QSize size(40, 30);
    QImage full(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int i = (x + y * size.width()) % 256;
            full.setPixel(x, y, qRgb(i, 255 - i, (i * 7) % 256));
        }
    QTemporaryDir folder;
    const QString name = folder.filePath("animación.gif");
    TGifWriter writer;
    ASSERT_TRUE(writer.Open(name, size, 7)) << writer.Error().toStdString();
    EXPECT_FALSE(writer.AddFrame(QImage(41, 30, QImage::Format_RGB32)));
    EXPECT_TRUE(writer.Error().contains("41 x 30")) << writer.Error().toStdString();
    ASSERT_TRUE(writer.AddFrame(full)) << writer.Error().toStdString();
    ASSERT_TRUE(writer.Close()) << writer.Error().toStdString();
    QImageReader reader(name, "gif");
    EXPECT_EQ(reader.imageCount(), 1);
    EXPECT_EQ(reader.loopCount(), -1); // Qt's word for "for ever"
    EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32),
              full.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(reader.nextImageDelay(), 70);

    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray written = old.readAll();
    old.close();
    ASSERT_TRUE(writer.Open(name, size, 5));
    ASSERT_TRUE(writer.AddFrame(full));
    writer.Cancel();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), written);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"animación.gif"});

    EXPECT_FALSE(writer.Open(folder.filePath("no-existe/a.gif"), size, 5));
    EXPECT_TRUE(writer.Error().contains("la carpeta no existe")) << writer.Error().toStdString();
}

} // namespace
} // namespace tensim
