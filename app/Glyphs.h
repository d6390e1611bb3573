#pragma once
// The small pictures on the main window's buttons, drawn by the program.

#include <QIcon>
#include <QPixmap>
#include <QSize>

class QPainter;

namespace tensim {

enum class TGlyph {
    Deform,  // a square sheared into a parallelogram
    Restore, // an arrow turning back
    Reset,   // two arrows round a circle
    Help,    // a question mark
    Info,    // a letter i
    Ok,      // a check mark
    Credits  // a heart: thanks
};

// The glyph at 16 and 32 pixels.
QIcon ButtonGlyph(TGlyph Glyph);

// The program's icon, a strain ellipse about a triangle, at 16 to 256 pixels.
QIcon ProgramIcon();
// Paints the program's icon into the square (0, 0, Size, Size) of a
// transparent device: the one drawing behind ProgramIcon() and the icon
// files that are installed with the program.
void PaintProgramIcon(QPainter& Painter, int Size);
// The program's picture for the about box: the unit circle deformed into
// the strain ellipse, the triangle and the flow's arrows.
QPixmap ProgramPicture(QSize Size);

} // namespace tensim
