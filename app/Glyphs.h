#pragma once
// The small pictures on the main window's buttons, drawn by the program.

#include <QIcon>

namespace tensim {

enum class TGlyph {
    Deform,  // a square sheared into a parallelogram
    Restore, // an arrow turning back
    Reset,   // two arrows round a circle
    Help,    // a question mark
    Info     // a letter i
};

// The glyph at 16 and 32 pixels.
QIcon ButtonGlyph(TGlyph Glyph);

} // namespace tensim
