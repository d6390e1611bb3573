#include "app/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

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
    }
}

} // namespace

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
