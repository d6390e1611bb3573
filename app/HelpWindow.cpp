#include "app/HelpWindow.h"

#include "app/Application.h"
#include "controls/Align.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <utility>

namespace tensim {

namespace {

// Pages of the web and mail addresses go to the desktop's programs.
bool IsExternal(const QUrl& Url)
{
    const QString scheme = Url.scheme().toLower();
    return scheme == "http" || scheme == "https" || scheme == "mailto";
}

// A page of the side pane: its controls placed by the alignment layer.
QWidget* PanePage(QTabWidget* Pane, const QString& Caption)
{
    auto* page = new QWidget;
    Pane->addTab(page, Caption);
    return page;
}

} // namespace

THelpBrowser::THelpBrowser(QWidget* Parent) : QTextBrowser(Parent)
{
    // Links between the help's pages are followed here.
    setOpenExternalLinks(false);
    setOpenLinks(true);
}

QVariant THelpBrowser::loadResource(int Type, const QUrl& Name)
{
    if (FEngine && Name.scheme() == "qthelp") return FEngine->fileData(Name);
    return QTextBrowser::loadResource(Type, Name);
}

void THelpBrowser::doSetSource(const QUrl& Name, QTextDocument::ResourceType Type)
{
    if (IsExternal(Name)) {
        QDesktopServices::openUrl(Name);
        return;
    }
    QTextBrowser::doSetSource(Name, Type);
}

THelpWindow::THelpWindow(QWidget* Parent) : QWidget(Parent, Qt::Window)
{
    // The desktop shows it as "Ayuda — Tensim 2.1", the application's name added.
    setWindowTitle(tr("Ayuda"));
    resize(900, 620);

    auto* bar = new QFrame(this);
    bar->setFixedHeight(34);
    SetAlign(bar, alTop);
    const auto button = [&](const QString& Caption, QStyle::StandardPixmap Icon, int Left) {
        auto* b = new QToolButton(bar);
        b->setText(Caption);
        b->setIcon(style()->standardIcon(Icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setEnabled(false);
        b->setGeometry(Left, 4, 100, 26);
        return b;
    };
    FBack = button(tr("Atrás"), QStyle::SP_ArrowBack, 4);
    FForward = button(tr("Adelante"), QStyle::SP_ArrowForward, 108);
    FBack->setToolTip(tr("Página anterior (Alt+←)"));
    FForward->setToolTip(tr("Página siguiente (Alt+→)"));
    // The pages are Spanish whatever the interface's language; a translated
    // interface says so beside the buttons.
    FLanguageNote = new QLabel(tr("Las páginas de la ayuda están en español."), bar);
    FLanguageNote->setGeometry(216, 4, 600, 26);
    FLanguageNote->setVisible(InterfaceLanguage() != QLatin1String("es"));

    auto* splitter = new QSplitter(this);
    SetAlign(splitter, alClient);
    FPane = new QTabWidget(splitter);
    FBrowser = new THelpBrowser(splitter);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 650});
    CreatePane();

    connect(FBack, &QToolButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(FForward, &QToolButton::clicked, FBrowser, &QTextBrowser::forward);
    connect(FBrowser, &QTextBrowser::backwardAvailable, FBack, &QWidget::setEnabled);
    connect(FBrowser, &QTextBrowser::forwardAvailable, FForward, &QWidget::setEnabled);
    connect(FBrowser, &QTextBrowser::sourceChanged, this, &THelpWindow::SourceChanged);
    // Back and forward from anywhere in the window.
    auto* back = new QAction(this);
    back->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Back)});
    connect(back, &QAction::triggered, FBrowser, &QTextBrowser::backward);
    auto* forward = new QAction(this);
    forward->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)});
    connect(forward, &QAction::triggered, FBrowser, &QTextBrowser::forward);
    addActions({back, forward});
}

THelpWindow::~THelpWindow()
{
    // The engine's widgets and the browser let go of the engine before it
    // closes its collection, and the engine before the folder goes.
    delete FPane;
    FBrowser->SetEngine(nullptr);
    FEngine.reset();
}

QHelpEngineCore* THelpWindow::Engine() const
{
    return FEngine.get();
}

void THelpWindow::CreatePane()
{
    // The contents and the index come from the engine as it opens a file.
    PanePage(FPane, tr("Contenido"));

    QWidget* index = PanePage(FPane, tr("Índice"));
    FIndexField = new QLineEdit(index);
    FIndexField->setPlaceholderText(tr("Palabra clave"));
    FIndexField->setClearButtonEnabled(true);
    SetAlign(FIndexField, alTop);

    QWidget* search = PanePage(FPane, tr("Buscar"));
    FSearchField = new QLineEdit(search);
    FSearchField->setPlaceholderText(tr("Buscar en la ayuda"));
    FSearchField->setClearButtonEnabled(true);
    SetAlign(FSearchField, alTop);
    FSearchStatus = new QLabel(search);
    FSearchStatus->setWordWrap(true);
    FSearchStatus->setFixedHeight(40);
    SetAlign(FSearchStatus, alTop);
    FSearchResults = new QListWidget(search);
    SetAlign(FSearchResults, alClient);
    connect(FSearchField, &QLineEdit::returnPressed, this,
            [this] { Search(FSearchField->text()); });
    const auto open = [this](QListWidgetItem* Item) {
        FBrowser->setSource(Item->data(Qt::UserRole).toUrl());
    };
    connect(FSearchResults, &QListWidget::itemActivated, this, open);
    connect(FSearchResults, &QListWidget::itemClicked, this, open);
}

void THelpWindow::ShowProblem(const QString& Text)
{
    FBrowser->setHtml("<h2>" + tr("Ayuda de Tensim") + "</h2><p>" + Text.toHtmlEscaped() + "</p>");
}

bool THelpWindow::Open(const QString& HelpFile)
{
    if (FEngine && FHelpFile == HelpFile) return true;
    // The widgets of the engine before go with it.
    delete std::exchange(FContents, nullptr);
    delete std::exchange(FIndex, nullptr);
    FBrowser->SetEngine(nullptr);
    FEngine.reset();
    FHelpFile.clear();
    FIndexing = false;
    FSearchResults->clear();
    FSearchStatus->clear();
    if (!QFileInfo(HelpFile).isFile()) {
        ShowProblem(tr("No se encontró el archivo de ayuda %1.").arg(HelpFile));
        return false;
    }
    // The engine keeps its register of help files, and its search index,
    // in a collection of its own, in a temporary folder.
    FCollectionDir = std::make_unique<QTemporaryDir>();
    auto engine = std::make_unique<QHelpEngine>(FCollectionDir->filePath("tensim.qhc"));
    engine->setReadOnly(false); // the collection registers the file
    if (!FCollectionDir->isValid() || !engine->setupData() ||
        !engine->registerDocumentation(HelpFile) || !engine->setupData()) {
        ShowProblem(
            tr("No se pudo leer el archivo de ayuda %1: %2").arg(HelpFile, engine->error()));
        return false;
    }
    FEngine = std::move(engine);
    FHelpFile = HelpFile;
    FBrowser->SetEngine(FEngine.get());

    QHelpContentWidget* contents = FEngine->contentWidget();
    FContents = contents;
    contents->setParent(FPane->widget(0));
    contents->setHeaderHidden(true);
    SetAlign(contents, alClient);
    connect(contents, &QHelpContentWidget::linkActivated, this,
            [this](const QUrl& Page) { FBrowser->setSource(Page); });
    connect(FEngine->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
        contents->expandAll();
        SourceChanged(FBrowser->source());
    });

    QHelpIndexWidget* index = FEngine->indexWidget();
    FIndex = index;
    index->setParent(FPane->widget(1));
    SetAlign(index, alClient);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& Document) { FBrowser->setSource(Document.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& Documents) {
                if (!Documents.isEmpty()) FBrowser->setSource(Documents.first().url);
            });
    connect(FIndexField, &QLineEdit::textChanged, index,
            [index](const QString& Text) { index->filterIndices(Text); });
    connect(FIndexField, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);

    QHelpSearchEngine* search = FEngine->searchEngine();
    connect(search, &QHelpSearchEngine::indexingFinished, this, [this] {
        FIndexing = false;
        if (!FPendingSearch.isEmpty()) Search(std::exchange(FPendingSearch, QString()));
    });
    connect(search, &QHelpSearchEngine::searchingFinished, this, &THelpWindow::SearchFinished);
    FIndexing = true;
    search->reindexDocumentation();
    return true;
}

void THelpWindow::SourceChanged(const QUrl& Page)
{
    // The contents follow the page shown.
    if (!FEngine) return;
    QHelpContentWidget* contents = FEngine->contentWidget();
    const QModelIndex at = contents->indexOf(Page.adjusted(QUrl::RemoveFragment));
    if (at.isValid()) contents->setCurrentIndex(at);
}

void THelpWindow::Search(const QString& Words)
{
    if (FSearchField->text() != Words) FSearchField->setText(Words);
    FPane->setCurrentIndex(2);
    FSearchResults->clear();
    if (!FEngine || Words.trimmed().isEmpty()) {
        FSearchStatus->clear();
        return;
    }
    if (FIndexing) {
        FPendingSearch = Words;
        FSearchStatus->setText(tr("Preparando el índice de búsqueda…"));
        return;
    }
    FSearchStatus->setText(tr("Buscando…"));
    FEngine->searchEngine()->search(Words);
}

void THelpWindow::SearchFinished(int Hits)
{
    FSearchResults->clear();
    const QList<QHelpSearchResult> results = FEngine->searchEngine()->searchResults(0, Hits);
    for (const QHelpSearchResult& result : results) {
        auto* item = new QListWidgetItem(result.title(), FSearchResults);
        item->setData(Qt::UserRole, result.url());
        item->setToolTip(result.url().fileName());
    }
    FSearchStatus->setText(results.isEmpty() ? tr("No se encontró ninguna página.")
                           : results.size() == 1
                               ? tr("Se encontró una página.")
                               : tr("Se encontraron %1 páginas.").arg(results.size()));
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
            ShowProblem(tr("El archivo de ayuda %1 no tiene una página para el contexto %2.")
                            .arg(HelpFile, QString::number(Context)));
    }
    show();
    raise();
    activateWindow();
    return found;
}

QString FindDataFile(const QString& Name)
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString besideProgram = programFolder.filePath(Name);
    if (QFileInfo(besideProgram).isFile()) return besideProgram;
    // The installed data folder, relative to the installed program so that
    // the installed tree can move as a whole.
    const QString installed = QDir::cleanPath(
        programFolder.filePath(QStringLiteral(TENSIM_DATA_FROM_PROGRAM "/") + Name));
    if (QFileInfo(installed).isFile()) return installed;
    return besideProgram;
}

QString FindHelpFile()
{
    return FindDataFile(QStringLiteral("Tensim2.1.qch"));
}

} // namespace tensim
