#pragma once
// An animated GIF written frame by frame, so that the caller can show its
// progress and stop between frames. The file is written under a temporary
// name and takes its own name only when it is closed: a cancelled or failed
// animation leaves no partial file, and a file it would have replaced stays
// as it was.

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class QSaveFile;
struct GifFileType;

namespace tensim {

// An animated GIF that loops forever.
class TGifWriter {
public:
    TGifWriter();
    ~TGifWriter(); // closes; a file left open is discarded
    TGifWriter(const TGifWriter&) = delete;
    TGifWriter& operator=(const TGifWriter&) = delete;

    // Starts FileName with frames of Size (1 to 65535 pixels a side) shown
    // DelayCentiseconds each (0 to 65535). An animation left open before
    // is discarded.
    bool Open(const QString& FileName, QSize Size, int DelayCentiseconds);
    // Adds Frame, of the size given to Open, in any format: transparent
    // pixels are laid on white, and a frame of more than 256 colours is
    // reduced to 256. A frame of at most 256 colours is written exactly,
    // each frame with a colour map of its own. A frame of another size is
    // refused and the animation stays open.
    bool AddFrame(const QImage& Frame);
    // Writes the trailer and gives the file its name. An animation of no
    // frame is refused and stays open.
    bool Close();
    // Stops the animation and discards what has been written.
    void Cancel();

    bool IsOpen() const { return FGif != nullptr; }
    int FrameCount() const { return FFrames; }
    // Why the last call failed, in Spanish; empty after a success. A
    // failure to write discards the animation.
    QString Error() const { return FError; }

private:
    bool Fail(const QString& Reason);
    bool FailWriting(int GifError = 0);
    bool WriteLoopExtension();
    bool WriteFrameHeader(const QImage& Indexed);
    static int Write(GifFileType* Gif, const unsigned char* Data, int Length);

    std::unique_ptr<QSaveFile> FFile;
    GifFileType* FGif = nullptr;
    QString FFileName;
    QSize FSize;
    int FDelay = 0;
    int FFrames = 0;
    QString FError;
};

} // namespace tensim
