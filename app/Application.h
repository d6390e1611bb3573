#pragma once
// The application object and its program-wide settings: the event-loop
// boundary that turns every exception into the standard error dialog, the
// message box behind the message seam, the locale's separators, the
// interface's language and the help file.

#include "math/Messages.h"

#include <QApplication>
#include <QFont>
#include <QString>

class QTranslator;
class QWidget;

#include <functional>
#include <string>

namespace tensim {

class TApplication : public QApplication {
public:
    TApplication(int& Argc, char** Argv);

    // Delivers an event; an exception that leaves a handler is shown through
    // the message seam as an error, and the program goes on.
    bool notify(QObject* Receiver, QEvent* Event) override;
};

// The application's standard error dialog, through the message seam.
void ShowError(const std::string& Text);

// Processes window messages for Milliseconds without spinning the
// processor: a nested event loop that a timer ends.
void WaitWithMessages(int Milliseconds);

// The pause between two increments of "Deformar": a count from 0 to
// 100,000,000 that is really performed. The program never replaces it;
// tests do, and get the previous one back. An empty function restores the
// count.
void BusyPause();
std::function<void()> SetBusyPause(std::function<void()> Pause);

// The message seam's handler in the running program: a modal message box
// over the active window, captioned with the application's title unless the
// message has a caption of its own.
void ShowMessageBox(const TMessage& Message);

// The font of the program's windows: an 8-point sans-serif that fits every
// caption in its control.
QFont WindowFont();

// Reads the locale's separators into the program's format settings.
void ApplySystemLocale();

// Loads Qt's own Spanish texts (dialogs, message-box buttons, the help
// engine), whatever the system's language, for the Spanish interface.
// Returns how many catalogues were loaded.
int InstallSpanishTranslations();

// Whether the user's interface language is English: the first entry of
// Language (LANGUAGE, a colon-separated list of preferences) or, when it has
// none, Lang (LANG), is a locale of the language "en" ("en", "en_GB.UTF-8").
// "C", "POSIX" and an empty value are not.
bool IsEnglishInterface(const QString& Language, const QString& Lang);

// Loads the program's English translation, which is built into the
// program, into Translator. Returns whether it was loaded.
bool LoadEnglishTranslation(QTranslator& Translator);

// Installs the program's English translation when the environment's
// interface language is English (IsEnglishInterface over LANGUAGE and LANG).
// Qt's own texts then stay English: InstallSpanishTranslations is for the
// Spanish interface only. Returns whether the translation was installed.
bool InstallEnglishTranslation();

// The interface's language code as the installed translations give it:
// "es", the language of the program's own texts, unless a translation is
// installed ("en").
QString InterfaceLanguage();

// The application's help file, an application-wide setting.
void SetHelpFile(const QString& FileName);
QString HelpFile();

// Start-up milestones in the logging category "tensim.startup", off unless
// enabled from outside (QT_LOGGING_RULES="tensim.startup.info=true"): the
// help file chosen, found or missing, at once, and "main window shown" after
// the first paint of MainWindow or one of its controls.
void ReportStartup(QWidget& MainWindow);

} // namespace tensim
