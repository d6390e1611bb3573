#include "app/About02.h"
#include "app/Application.h"
#include "app/Glyphs.h"
#include "app/Kinema08u2.h"
#include "app/Kinema08uMain.h"

#include <QEvent>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>

// Start-up milestones, off unless enabled from outside, e.g. with
// QT_LOGGING_RULES="tensim.startup.info=true".
Q_LOGGING_CATEGORY(lcStartup, "tensim.startup", QtWarningMsg)

namespace {

// Reports once, after the first paint of the main window or one of its
// controls has been delivered, that the main window is on the screen.
class TFirstPaintReport : public QObject {
public:
    explicit TFirstPaintReport(const QWidget* Window) : FWindow(Window) {}

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

int main(int argc, char* argv[])
{
    tensim::TApplication application(argc, argv);
    tensim::TApplication::setApplicationDisplayName(QStringLiteral("Tensim 2.1"));
    tensim::TApplication::setWindowIcon(tensim::ProgramIcon());
    tensim::ApplySystemLocale();
    tensim::SetMessageHandler(tensim::ShowMessageBox);
    tensim::TForm1 mainWindow;   // Form1
    tensim::TForm2 enlargedView; // Form2
    tensim::TAboutBox aboutBox;  // AboutBox
    const QString helpFile = tensim::HelpFile();
    qCInfo(lcStartup).noquote() << "help file:" << helpFile
                                << (QFileInfo(helpFile).isFile() ? "(found)" : "(missing)");
    TFirstPaintReport firstPaintReport(&mainWindow);
    if (lcStartup().isInfoEnabled()) application.installEventFilter(&firstPaintReport);
    mainWindow.show();
    return application.exec();
}
