#include "app/HelpWindow.h"

#include "app/Application.h"
#include "app/Kinema08uMain.h"
#include "tests/QtPrint.h"

#include <QApplication>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

#include <set>

namespace tensim {
namespace {

// The help file that the build puts beside the program.
const QString BuiltHelpFile = QString(TENSIM_BUILD_DIR) + "/Tensim2.1.qch";

// Whether the page's HTML has the anchor Name, as <a name="..."> or id="...".
bool HasAnchor(const QString& Html, const QString& Name)
{
    const QString quoted = QRegularExpression::escape(Name);
    return Html.contains(QRegularExpression(R"((?:name|id)\s*=\s*")" + quoted + "\""));
}

TEST(Help, ContextTenOpensTheOverview)
{
    ASSERT_TRUE(QFileInfo(BuiltHelpFile).isFile());
    THelpWindow window;
    EXPECT_TRUE(window.ShowContext(BuiltHelpFile, 10));
    EXPECT_TRUE(window.isVisible());
    const QUrl page = window.Browser()->source();
    EXPECT_EQ(page.scheme(), "qthelp");
    EXPECT_EQ(page.fileName(), "index.html");
    EXPECT_TRUE(window.Browser()->toPlainText().contains("F = Lⁿ"));
    window.grab().save(QString(TENSIM_BUILD_DIR) + "/help-context-10.png");
    // A context the file does not have is said so.
    EXPECT_FALSE(window.ShowContext(BuiltHelpFile, 11));
    EXPECT_TRUE(
        window.Browser()->toPlainText().contains("no tiene una página para el contexto 11"));
}

// Every page's links and pictures lead to a file of the help.
TEST(Help, EveryLinkResolves)
{
    THelpWindow window;
    ASSERT_TRUE(window.ShowContext(BuiltHelpFile, 10));
    QHelpEngineCore* engine = window.Engine();
    const QString space = QHelpEngineCore::namespaceName(BuiltHelpFile);
    const QList<QUrl> pages = engine->files(space, QString(), "html");
    ASSERT_GE(pages.size(), 8);
    const QRegularExpression reference(R"re((?:href|src)\s*=\s*"([^"]+)")re");
    std::set<QString> linked;
    for (const QUrl& page : pages) {
        const QString html = QString::fromUtf8(engine->fileData(page));
        ASSERT_FALSE(html.isEmpty()) << page.toString().toStdString();
        for (const QRegularExpressionMatch& m : reference.globalMatch(html)) {
            const QUrl target = page.resolved(QUrl(m.captured(1)));
            if (target.scheme() != "qthelp") continue; // a page of the web
            const QUrl file = target.adjusted(QUrl::RemoveFragment);
            const QString targetHtml = QString::fromUtf8(engine->fileData(file));
            EXPECT_FALSE(targetHtml.isEmpty())
                << page.fileName().toStdString() << " -> " << m.captured(1).toStdString();
            // A link to a part of a page leads to an anchor that the page has.
            if (target.hasFragment()) {
                EXPECT_TRUE(HasAnchor(targetHtml, target.fragment()))
                    << page.fileName().toStdString() << " -> " << m.captured(1).toStdString();
            }
            linked.insert(file.fileName());
        }
    }
    // Every page can be reached from some page.
    for (const QUrl& page : pages)
        EXPECT_TRUE(linked.count(page.fileName())) << page.fileName().toStdString();
}

// Links between pages and to anchors, back and forward, the keyword index
// and the full-text search, as a user reaches them.
TEST(Help, LinksIndexSearchAndHistory)
{
    THelpWindow window;
    ASSERT_TRUE(window.ShowContext(BuiltHelpFile, 10));
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    THelpBrowser* browser = window.Browser();

    // The link "Siguiente: La ventana y sus controles" at the top of the page.
    const QTextCursor link = browser->document()->find("Siguiente: La ventana");
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(link).center());
    EXPECT_EQ(browser->source().fileName(), "ventana.html");
    QTest::keyClick(&window, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(browser->source().fileName(), "index.html");
    QTest::mouseClick(window.ForwardButton(), Qt::LeftButton);
    EXPECT_EQ(browser->source().fileName(), "ventana.html");

    // The keyword index, once made, leads to an anchor in a page.
    window.Pane()->setCurrentIndex(1);
    auto* index = window.Pane()->widget(1)->findChild<QListView*>();
    ASSERT_NE(index, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return index->model()->rowCount() > 0; }, 10000));
    window.IndexField()->setText("Tensor de distorsión finita"); // as typed: QTest types ASCII only
    QTest::keyClick(window.IndexField(), Qt::Key_Return);
    EXPECT_EQ(browser->source().fileName(), "ventana.html");
    EXPECT_EQ(browser->source().fragment(), "tensor_finito");

    // A search for a Spanish word finds the page on the apophyses.
    window.Search("apófisis");
    QListWidget* results = window.SearchResults();
    EXPECT_TRUE(QTest::qWaitFor([&] { return results->count() > 0; }, 20000));
    const QList<QListWidgetItem*> hits =
        results->findItems("Campo de velocidad", Qt::MatchStartsWith);
    ASSERT_EQ(hits.size(), 1);
    results->setCurrentItem(hits[0]);
    QTest::keyClick(results, Qt::Key_Return);
    EXPECT_EQ(browser->source().fileName(), "campo_velocidad.html");
}

TEST(Help, AMissingOrBrokenFileIsReportedInSpanish)
{
    THelpWindow window;
    const QString missing = QString(TENSIM_BUILD_DIR) + "/no-existe/Tensim2.1.qch";
    EXPECT_FALSE(window.ShowContext(missing, 10));
    EXPECT_TRUE(window.isVisible());
    const QString text = window.Browser()->toPlainText();
    EXPECT_TRUE(text.contains("No se encontró el archivo de ayuda")) << text.toStdString();
    EXPECT_TRUE(text.contains(missing));

    // A file that is no help file.
    const QString broken = QString(TENSIM_BUILD_DIR) + "/not-a-help-file.qch";
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a help file");
    file.close();
    EXPECT_FALSE(window.ShowContext(broken, 10));
    EXPECT_TRUE(window.Browser()->toPlainText().contains("No se pudo leer el archivo de ayuda"));
    // The good file still opens afterwards.
    EXPECT_TRUE(window.ShowContext(BuiltHelpFile, 10));
}

TEST(Help, TheHelpButtonOpensContextTen)
{
    const auto pause = SetBusyPause([] {});
    const QString saved = HelpFile();
    {
        TForm1 form;
        // The program's help file lies beside the program; the tests' beside theirs.
        EXPECT_EQ(HelpFile(), QCoreApplication::applicationDirPath() + "/Tensim2.1.qch");
        SetHelpFile(BuiltHelpFile);
        form.show();
        form.bitbtnHelp->click();
        const THelpWindow* help = form.findChild<THelpWindow*>();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->Browser()->source().fileName(), "index.html");
    }
    SetHelpFile(saved);
    SetBusyPause(pause);
}

} // namespace
} // namespace tensim
