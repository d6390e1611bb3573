#pragma once
// The small pictures on the main window's buttons, drawn by the program.

#include <QIcon>
#include <QPixmap>
#include <QSize>

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
// The program's picture for the about box: the unit circle deformed into
// the strain ellipse, the triangle and the flow's arrows.
QPixmap ProgramPicture(QSize Size);

} // namespace tensim
