#pragma once
// The application object and its program-wide settings: the event-loop
// boundary that turns every exception into the standard error dialog, the
// message box behind the message seam, the locale's separators and the help
// file.

#include "math/Messages.h"

#include <QApplication>
#include <QString>

namespace tensim {

class TApplication : public QApplication {
public:
    TApplication(int& Argc, char** Argv);

    // Delivers an event; an exception that leaves a handler is shown through
    // the message seam as an error, and the program goes on.
    bool notify(QObject* Receiver, QEvent* Event) override;
};

// The message seam's handler in the running program: a modal message box
// over the active window, captioned with the application's title unless the
// message has a caption of its own.
void ShowMessageBox(const TMessage& Message);

// Reads the locale's separators into the program's format settings.
void ApplySystemLocale();

// The application's help file, an application-wide setting.
void SetHelpFile(const QString& FileName);
QString HelpFile();

} // namespace tensim
