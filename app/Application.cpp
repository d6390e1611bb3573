#include "app/Application.h"

#include "math/FloatFormat.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <exception>
#include <utility>

namespace tensim {

namespace {

const char* const HelpFileProperty = "tensimHelpFile";

std::function<void()>& PauseFunction()
{
    static std::function<void()> pause;
    return pause;
}

// The count is volatile, so that it is really performed.
void CountToHundredMillion()
{
    for (volatile int32_t i = 0; i <= 100000000; i = i + 1) {
    }
}

Q_LOGGING_CATEGORY(lcStartup, "tensim.startup", QtWarningMsg)

// Reports once, after the first paint of a window or one of its controls
// has been delivered, that the window is on the screen.
class TFirstPaintReport : public QObject {
public:
    explicit TFirstPaintReport(QWidget* Window) : QObject(Window), FWindow(Window) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::Paint && Watched->isWidgetType() &&
            static_cast<QWidget*>(Watched)->window() == FWindow) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, this, [] { qCInfo(lcStartup, "main window shown"); });
        }
        return false;
    }

private:
    const QWidget* FWindow;
};

} // namespace

void ShowError(const std::string& Text)
{
    ShowMessage(TMessage{Text, {}, TMessageKind::Error});
}

void WaitWithMessages(int Milliseconds)
{
    if (Milliseconds <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(Milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void BusyPause()
{
    if (PauseFunction())
        PauseFunction()();
    else
        CountToHundredMillion();
}

std::function<void()> SetBusyPause(std::function<void()> Pause)
{
    return std::exchange(PauseFunction(), std::move(Pause));
}

TApplication::TApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {}

bool TApplication::notify(QObject* Receiver, QEvent* Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& e) {
        ShowError(e.what());
    } catch (...) {
        ShowError("Unknown exception");
    }
    return false;
}

void ShowMessageBox(const TMessage& Message)
{
    const QString caption = Message.Caption.empty() ? QApplication::applicationDisplayName()
                                                    : QString::fromStdString(Message.Caption);
    QMessageBox::Icon icon = QMessageBox::Information;
    if (Message.Kind == TMessageKind::Warning) icon = QMessageBox::Warning;
    if (Message.Kind == TMessageKind::Error) icon = QMessageBox::Critical;
    QMessageBox box(icon, caption, QString::fromStdString(Message.Text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

QFont WindowFont()
{
    QFont font;
    font.setFamilies({"Liberation Sans", "Arial", "DejaVu Sans"});
    font.setPointSize(8);
    return font;
}

void ApplySystemLocale()
{
    const QLocale locale = QLocale::system();
    FormatSettings().DecimalSeparator = locale.decimalPoint().toStdString();
    FormatSettings().ThousandSeparator = locale.groupSeparator().toStdString();
}

int InstallSpanishTranslations()
{
    int loaded = 0;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase_es", "qt_help_es"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QString::fromLatin1(catalogue), folder)) {
            QCoreApplication::installTranslator(translator);
            ++loaded;
        } else {
            delete translator;
        }
    }
    return loaded;
}

bool IsEnglishInterface(const QString& Language, const QString& Lang)
{
    // The first preference of LANGUAGE; LANG only when LANGUAGE names none.
    const QStringList preferences = Language.split(':', Qt::SkipEmptyParts);
    const QString locale = preferences.isEmpty() ? Lang : preferences.front();
    // The language is what comes before the territory, the codeset and the
    // modifier: "en" of "en_GB.UTF-8". "C" and "POSIX" name no language.
    QString language = locale;
    for (qsizetype i = 0; i < locale.size(); ++i) {
        if (QStringView(u"_.@-").contains(locale[i])) {
            language.truncate(i);
            break;
        }
    }
    return language.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0;
}

bool LoadEnglishTranslation(QTranslator& Translator)
{
    return Translator.load(QStringLiteral(":/i18n/tensim_en.qm"));
}

bool InstallEnglishTranslation()
{
    if (!IsEnglishInterface(qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LANG")))
        return false;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!LoadEnglishTranslation(*translator)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

QString InterfaceLanguage()
{
    //: The code of the language translated into: "en" for English.
    return QCoreApplication::translate("tensim::Application", "es");
}

void SetHelpFile(const QString& FileName)
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->setProperty(HelpFileProperty, FileName);
}

QString HelpFile()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application ? application->property(HelpFileProperty).toString() : QString();
}

void ReportStartup(QWidget& MainWindow)
{
    const QString helpFile = HelpFile();
    qCInfo(lcStartup).noquote() << "help file:" << helpFile
                                << (QFileInfo(helpFile).isFile() ? "(found)" : "(missing)");
    if (lcStartup().isInfoEnabled())
        QCoreApplication::instance()->installEventFilter(new TFirstPaintReport(&MainWindow));
}

} // namespace tensim
