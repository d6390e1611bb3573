#pragma once
// Readable Qt values in test failure messages.

#include <QRect>
#include <QSize>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& Text, std::ostream* Stream)
{
    *Stream << '"' << Text.toStdString() << '"';
}

inline void PrintTo(const QRect& R, std::ostream* Stream)
{
    *Stream << "(" << R.x() << ", " << R.y() << ", " << R.width() << " x " << R.height() << ")";
}

inline void PrintTo(const QSize& S, std::ostream* Stream)
{
    *Stream << S.width() << " x " << S.height();
}
