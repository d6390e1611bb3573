#pragma once
// The program's help: the pages of its Qt compiled help file, shown in a
// window of its own and opened at the page of a help context.

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include <memory>

class QHelpEngineCore;
class QTemporaryDir;

namespace tensim {

// A text browser that reads the pages and pictures of a help file.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* Parent = nullptr);
    void SetEngine(QHelpEngineCore* Engine) { FEngine = Engine; }
    QVariant loadResource(int Type, const QUrl& Name) override;

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
    // does not have, is reported in the window in Spanish, and the program
    // goes on. Returns whether the page was found.
    bool ShowContext(const QString& HelpFile, int Context);

    THelpBrowser* Browser() const { return FBrowser; }
    // The engine over the help file last opened; none when it failed.
    QHelpEngineCore* Engine() const { return FEngine.get(); }

private:
    bool Open(const QString& HelpFile);
    void ShowProblem(const QString& Text);

    THelpBrowser* FBrowser;
    std::unique_ptr<QTemporaryDir> FCollectionDir;
    std::unique_ptr<QHelpEngineCore> FEngine;
    QString FHelpFile;
};

} // namespace tensim
