#pragma once
// The main window. For now an empty window with the program's caption; the
// panels, edits and charts are added as their units are built.

#include <QWidget>

namespace tensim {

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* Parent = nullptr);
};

// Reads the locale's separators into the program's format settings.
void ApplySystemLocale();

} // namespace tensim
