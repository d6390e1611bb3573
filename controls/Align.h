#pragma once
// Alignment of a control within its parent, as the program's windows lay
// themselves out: every widget may carry an alignment, and its parent places
// the aligned children in its contents rectangle, in child order, all top ones
// first, then bottom, left, right and client, each in the space the earlier
// ones left. Top and bottom children take the full remaining width and keep
// their height; left and right ones the remaining height and keep their width;
// client children fill what is left. Hidden children take no space.
//
// The parent realigns by itself when it changes size or contents margins,
// and when an aligned child changes size, position, visibility or parent.
// Qt reports no geometry change of a widget that is not on screen: bounds
// set before a window is shown go through SetBounds.

class QWidget;

namespace tensim {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

TAlign GetAlign(const QWidget* Control);
// Sets the alignment and realigns the parent.
void SetAlign(QWidget* Control, TAlign Align);

// Places the aligned children of Parent.
void AlignControls(QWidget* Parent);

// Sets all four bounds in one call, then realigns the parent when Control is
// aligned, and Control's own aligned children.
void SetBounds(QWidget* Control, int Left, int Top, int Width, int Height);

} // namespace tensim
