#include "app/HelpWindow.h"

#include "controls/Align.h"

#include <QFileInfo>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QTemporaryDir>

namespace tensim {

THelpBrowser::THelpBrowser(QWidget* Parent) : QTextBrowser(Parent)
{
    setOpenExternalLinks(true);
}

QVariant THelpBrowser::loadResource(int Type, const QUrl& Name)
{
    if (FEngine && Name.scheme() == "qthelp") return FEngine->fileData(Name);
    return QTextBrowser::loadResource(Type, Name);
}

THelpWindow::THelpWindow(QWidget* Parent) : QWidget(Parent, Qt::Window)
{
    setWindowTitle("Ayuda de Tensim");
    resize(840, 600);
    FBrowser = new THelpBrowser(this);
    SetAlign(FBrowser, alClient);
}

THelpWindow::~THelpWindow()
{
    // The engine closes its collection before the folder goes.
    FBrowser->SetEngine(nullptr);
    FEngine.reset();
}

void THelpWindow::ShowProblem(const QString& Text)
{
    FBrowser->setHtml("<h2>Ayuda de Tensim</h2><p>" + Text.toHtmlEscaped() + "</p>");
}

bool THelpWindow::Open(const QString& HelpFile)
{
    if (FEngine && FHelpFile == HelpFile) return true;
    FBrowser->SetEngine(nullptr);
    FEngine.reset();
    FHelpFile.clear();
    if (!QFileInfo(HelpFile).isFile()) {
        ShowProblem(QString("No se encontró el archivo de ayuda %1.").arg(HelpFile));
        return false;
    }
    // The engine keeps its register of help files in a collection of its
    // own, in a temporary folder.
    FCollectionDir = std::make_unique<QTemporaryDir>();
    auto engine = std::make_unique<QHelpEngineCore>(FCollectionDir->filePath("tensim.qhc"));
    engine->setReadOnly(false); // the collection registers the file
    if (!FCollectionDir->isValid() || !engine->setupData() ||
        !engine->registerDocumentation(HelpFile)) {
        ShowProblem(
            QString("No se pudo leer el archivo de ayuda %1: %2").arg(HelpFile, engine->error()));
        return false;
    }
    FEngine = std::move(engine);
    FHelpFile = HelpFile;
    FBrowser->SetEngine(FEngine.get());
    return true;
}

bool THelpWindow::ShowContext(const QString& HelpFile, int Context)
{
    bool found = false;
    if (Open(HelpFile)) {
        const QList<QHelpLink> links = FEngine->documentsForIdentifier(QString::number(Context));
        found = !links.isEmpty();
        if (found)
            FBrowser->setSource(links.first().url);
        else
            ShowProblem(QString("El archivo de ayuda %1 no tiene una página para el contexto %2.")
                            .arg(HelpFile)
                            .arg(Context));
    }
    show();
    raise();
    activateWindow();
    return found;
}

} // namespace tensim
