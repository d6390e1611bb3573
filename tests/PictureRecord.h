#pragma once
// Pictures and texts recorded once and compared bit for bit ever after, so
// that work on the program cannot change a pixel or a figure unnoticed. Set
// TENSIM_RECORD_PICTURES=1 to record them anew.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

namespace tensim {

// Compares Picture with the picture recorded as Name in Folder (a folder of
// the source tree). A picture that differs is written to the build folder
// beside the message, for a person to look at.
inline testing::AssertionResult MatchesRecord(const QImage& Picture, const QString& Folder,
                                              const QString& Name)
{
    const QString recorded = QString(TENSIM_SOURCE_DIR) + "/" + Folder + "/" + Name + ".png";
    const QImage actual = Picture.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIntValue("TENSIM_RECORD_PICTURES") == 1) {
        QDir().mkpath(QFileInfo(recorded).absolutePath());
        if (!actual.save(recorded))
            return testing::AssertionFailure() << "cannot write " << recorded.toStdString();
        return testing::AssertionSuccess();
    }
    const QImage expected = QImage(recorded).convertToFormat(QImage::Format_RGB32);
    if (expected.isNull())
        return testing::AssertionFailure() << "no recorded picture " << recorded.toStdString();
    if (expected.size() != actual.size())
        return testing::AssertionFailure() << Name.toStdString() << ": size differs";
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x)
            differing += (a[x] & 0xFFFFFFu) != (e[x] & 0xFFFFFFu);
    }
    if (differing == 0) return testing::AssertionSuccess();
    const QString written = QString(TENSIM_BUILD_DIR) + "/differs-" + Name + ".png";
    actual.save(written);
    return testing::AssertionFailure() << Name.toStdString() << ": " << differing
                                       << " pixels differ; see " << written.toStdString();
}

// Compares Text with the text recorded as Name.txt in Folder, byte for byte.
inline testing::AssertionResult MatchesTextRecord(const QByteArray& Text, const QString& Folder,
                                                  const QString& Name)
{
    const QString recorded = QString(TENSIM_SOURCE_DIR) + "/" + Folder + "/" + Name + ".txt";
    QFile file(recorded);
    if (qEnvironmentVariableIntValue("TENSIM_RECORD_PICTURES") == 1) {
        QDir().mkpath(QFileInfo(recorded).absolutePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(Text) != Text.size())
            return testing::AssertionFailure() << "cannot write " << recorded.toStdString();
        return testing::AssertionSuccess();
    }
    if (!file.open(QIODevice::ReadOnly))
        return testing::AssertionFailure() << "no recorded text " << recorded.toStdString();
    if (file.readAll() == Text) return testing::AssertionSuccess();
    const QString written = QString(TENSIM_BUILD_DIR) + "/differs-" + Name + ".txt";
    QFile out(written);
    if (out.open(QIODevice::WriteOnly)) out.write(Text);
    return testing::AssertionFailure()
           << Name.toStdString() << ": text differs; see " << written.toStdString();
}

} // namespace tensim
