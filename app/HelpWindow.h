#pragma once
// The program's help: the pages of its Qt compiled help file in a help
// window of its own, with the table of contents, the keyword index and a
// full-text search beside the page, links between pages, and back and
// forward.

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include <memory>

class QHelpEngine;
class QHelpEngineCore;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTemporaryDir;
class QToolButton;

namespace tensim {

// A text browser that reads the pages and pictures of a help file, follows
// the links between them, and hands links to the web to the desktop.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* Parent = nullptr);
    void SetEngine(QHelpEngineCore* Engine) { FEngine = Engine; }
    QVariant loadResource(int Type, const QUrl& Name) override;

protected:
    void doSetSource(const QUrl& Name, QTextDocument::ResourceType Type) override;

private:
    QHelpEngineCore* FEngine = nullptr;
};

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* Parent = nullptr);
    ~THelpWindow() override;

    // Shows the page of the help context (the keyword id Context) of
    // HelpFile. A file that is missing or cannot be read, or a context it
    // does not have, is reported in the window in the interface's language, and the program
    // goes on. Returns whether the page was found.
    bool ShowContext(const QString& HelpFile, int Context);

    THelpBrowser* Browser() const { return FBrowser; }
    // The engine over the help file last opened; none when it failed.
    QHelpEngineCore* Engine() const;

    // The side pane's tabs: "Contenido", "Índice", "Buscar".
    QTabWidget* Pane() const { return FPane; }
    QToolButton* BackButton() const { return FBack; }
    QToolButton* ForwardButton() const { return FForward; }
    QListWidget* SearchResults() const { return FSearchResults; }
    QLineEdit* IndexField() const { return FIndexField; }
    // "The help pages are in Spanish.", shown only in a translated interface.
    QLabel* LanguageNote() const { return FLanguageNote; }

    // Searches the pages for Words; the hits are listed in the search tab
    // once the search index is ready.
    void Search(const QString& Words);

private:
    bool Open(const QString& HelpFile);
    void ShowProblem(const QString& Text);
    void CreatePane();
    void SourceChanged(const QUrl& Page);
    void SearchFinished(int Hits);

    QToolButton* FBack;
    QToolButton* FForward;
    QTabWidget* FPane;
    QWidget* FContents = nullptr; // the engine's, in the pane
    QWidget* FIndex = nullptr;
    QLineEdit* FIndexField = nullptr;
    QLineEdit* FSearchField = nullptr;
    QListWidget* FSearchResults = nullptr;
    QLabel* FSearchStatus = nullptr;
    QLabel* FLanguageNote;
    THelpBrowser* FBrowser;
    std::unique_ptr<QTemporaryDir> FCollectionDir;
    std::unique_ptr<QHelpEngine> FEngine;
    QString FHelpFile;
    bool FIndexing = false;
    QString FPendingSearch; // asked for while the index was being made
};

// Where the data file Name (a plain file name, such as
// "marcadores_ejemplo.txt") is: beside the executable (the build folder),
// else in the installed data folder, <executable's folder>/../share/tensim.
// When neither holds it, the path beside the executable, which the caller
// then reports missing.
QString FindDataFile(const QString& Name);

// Where the help file, Tensim2.1.qch, is: FindDataFile's search.
QString FindHelpFile();

} // namespace tensim
