#include "app/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace tensim {

namespace {

const QColor Blue(0, 0, 160), Green(0, 128, 0), Red(192, 0, 0), Grey(96, 96, 96);

// An arrow head at Tip pointing along the angle Degrees (y downwards).
void ArrowHead(QPainter& Painter, QPointF Tip, double Degrees, const QColor& Colour)
{
    QPainterPath head;
    head.moveTo(0, 0);
    head.lineTo(-4, -2.5);
    head.lineTo(-4, 2.5);
    head.closeSubpath();
    Painter.save();
    Painter.translate(Tip);
    Painter.rotate(Degrees);
    Painter.fillPath(head, Colour);
    Painter.restore();
}

// A letter in a filled circle.
void Badge(QPainter& Painter, const QString& Letter)
{
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Blue);
    Painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(12);
    Painter.setFont(font);
    Painter.setPen(Qt::white);
    Painter.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, Letter);
}

void Draw(QPainter& Painter, TGlyph Glyph)
{
    switch (Glyph) {
    case TGlyph::Deform: {
        // The unit square in grey, sheared to the right in blue.
        Painter.setPen(QPen(Grey, 1, Qt::DotLine));
        Painter.drawRect(QRectF(1.5, 5.5, 8, 9));
        Painter.setPen(QPen(Blue, 1.5));
        Painter.drawPolygon(QPolygonF({{1.5, 14.5}, {9.5, 14.5}, {14.5, 5.5}, {6.5, 5.5}}));
        Painter.setPen(QPen(Red, 1.2));
        Painter.drawLine(QPointF(4, 2), QPointF(11, 2));
        ArrowHead(Painter, {14.5, 2}, 0, Red);
        break;
    }
    case TGlyph::Restore: {
        Painter.setPen(QPen(Green, 2, Qt::SolidLine, Qt::FlatCap));
        Painter.drawArc(QRectF(3, 3, 10, 10), 200 * 16, 250 * 16);
        ArrowHead(Painter, {3.6, 10.4}, 110, Green);
        break;
    }
    case TGlyph::Reset: {
        Painter.setPen(QPen(Red, 1.8, Qt::SolidLine, Qt::FlatCap));
        Painter.drawArc(QRectF(2.5, 2.5, 11, 11), 20 * 16, 140 * 16);
        Painter.drawArc(QRectF(2.5, 2.5, 11, 11), 200 * 16, 140 * 16);
        ArrowHead(Painter, {3.6, 5.0}, 120, Red);
        ArrowHead(Painter, {12.4, 11.0}, -60, Red);
        Painter.setBrush(Blue);
        Painter.setPen(Qt::NoPen);
        Painter.drawEllipse(QPointF(8, 8), 1.6, 1.6);
        break;
    }
    case TGlyph::Help:
        Badge(Painter, "?");
        break;
    case TGlyph::Info:
        Badge(Painter, "i");
        break;
    case TGlyph::Ok:
        Painter.setPen(QPen(Green, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        Painter.drawPolyline(QPolygonF({{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}}));
        break;
    case TGlyph::Credits: {
        QPainterPath heart;
        heart.moveTo(8, 14);
        heart.cubicTo(1, 9, 1, 3, 5, 3);
        heart.cubicTo(7, 3, 8, 5, 8, 6);
        heart.cubicTo(8, 5, 9, 3, 11, 3);
        heart.cubicTo(15, 3, 15, 9, 8, 14);
        Painter.fillPath(heart, Red);
        break;
    }
    }
}

// The program's emblem in a square of side 100: a sheared strain ellipse,
// the deformed triangle inside it and, in grey, the unit circle it came from.
void Emblem(QPainter& Painter, bool Detailed)
{
    Painter.setRenderHint(QPainter::Antialiasing);
    const double shear = 0.6;
    // The unit circle of radius 36 under (1, shear; 0, 1), about (50, 50),
    // with y upwards.
    const auto map = [&](double X, double Y) {
        return QPointF(50 + 36 * (X + shear * Y), 50 - 36 * Y);
    };
    if (Detailed) {
        Painter.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
        Painter.drawEllipse(QPointF(50, 50), 36, 36);
        Painter.setPen(QPen(QColor(0, 128, 128), 1));
        for (int row = -2; row <= 2; ++row) {
            const double y = 50 - 18 * row, dx = 7 * row;
            if (dx == 0) continue;
            Painter.drawLine(QPointF(50 - dx, y), QPointF(50 + dx, y));
            ArrowHead(Painter, {50 + dx, y}, dx > 0 ? 0 : 180, QColor(0, 128, 128));
        }
    }
    QPainterPath ellipse;
    for (int degrees = 0; degrees <= 360; degrees += 5) {
        const double a = degrees * 3.14159265358979 / 180;
        const QPointF p = map(std::cos(a), std::sin(a));
        if (degrees == 0)
            ellipse.moveTo(p);
        else
            ellipse.lineTo(p);
    }
    Painter.setPen(QPen(Qt::black, Detailed ? 2 : 6));
    Painter.drawPath(ellipse);
    const double c = std::cos(3.14159265358979 / 6), s = 0.5;
    const QPointF apex = map(0, 1), right = map(c, -s), left = map(-c, -s);
    const double width = Detailed ? 2 : 6;
    Painter.setPen(QPen(Green, width));
    Painter.drawLine(apex, right);
    Painter.setPen(QPen(Blue, width));
    Painter.drawLine(right, left);
    Painter.setPen(QPen(Red, width));
    Painter.drawLine(left, apex);
}

} // namespace

void PaintProgramIcon(QPainter& Painter, int Size)
{
    Painter.save();
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(255, 255, 240));
    Painter.drawRoundedRect(QRectF(0.5, 0.5, Size - 1, Size - 1), Size / 8.0, Size / 8.0);
    Painter.scale(Size / 100.0, Size / 100.0);
    Emblem(Painter, false);
    Painter.restore();
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        PaintProgramIcon(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap ProgramPicture(QSize Size)
{
    QPixmap pixmap(Size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    const double side = std::min(Size.width(), Size.height());
    painter.translate((Size.width() - side) / 2, (Size.height() - side) / 2);
    painter.scale(side / 100.0, side / 100.0);
    Emblem(painter, true);
    return pixmap;
}

QIcon ButtonGlyph(TGlyph Glyph)
{
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        Draw(painter, Glyph);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace tensim
