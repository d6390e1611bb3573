// The English interface: which environment asks for it, and the translation
// itself, installed only for the tests that read it.

#include "app/HelpWindow.h"
#include "controls/Chart.h"
#include "controls/NxSpinEdit.h"
#include "tests/QtPrint.h"
#include "tests/app/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tensim {
namespace {

TEST(Language, EnglishWhenTheFirstPreferenceIsEnglish)
{
    // LANGUAGE, LANG, English
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"", "en_GB.UTF-8", true},
        {"", "es_ES.UTF-8", false},
        {"", "C", false},
        {"", "C.UTF-8", false},
        {"", "eu_ES.UTF-8", false}, // a language that only begins with "e"
        {"fr:en", "en_US.UTF-8", false},
        {"en_US:es", "es_ES.UTF-8", true},
        {":en_GB", "C", true}, // an empty entry names no language
    };
    for (const auto& [language, lang, english] : rows)
        EXPECT_EQ(IsEnglishInterface(language, lang), english) << language << " / " << lang;
}

// The texts a user reads in a window, each with the widget that shows it.
std::vector<std::pair<QString, QString>> ShownTexts(QWidget& Window)
{
    std::vector<std::pair<QString, QString>> texts{{"window title", Window.windowTitle()}};
    QList<QWidget*> widgets = Window.findChildren<QWidget*>();
    widgets.prepend(&Window);
    for (QWidget* w : widgets) {
        const QString name =
            w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
        texts.emplace_back(name + " tool tip", w->toolTip());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts.emplace_back(name, button->text());
        if (auto* box = qobject_cast<QGroupBox*>(w)) texts.emplace_back(name, box->title());
        if (auto* label = qobject_cast<QLabel*>(w)) texts.emplace_back(name, label->text());
        if (auto* text = qobject_cast<TStaticText*>(w)) texts.emplace_back(name, text->Caption());
        if (qobject_cast<QMenuBar*>(w) || qobject_cast<QMenu*>(w))
            for (int i = 0; i < w->actions().size(); ++i)
                texts.emplace_back(name + " item " + QString::number(i), w->actions()[i]->text());
        if (auto* pages = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < pages->count(); ++i)
                texts.emplace_back(name + " tab " + QString::number(i), pages->tabText(i));
        if (auto* chart = dynamic_cast<TChart*>(w)) {
            texts.emplace_back(name + " title", chart->Title.Text.join(' '));
            texts.emplace_back(name + " bottom axis", chart->BottomAxis.Title.Caption);
            texts.emplace_back(name + " left axis", chart->LeftAxis.Title.Caption);
            for (int s = 0; s < chart->SeriesCount(); ++s)
                texts.emplace_back(name + " series " + QString::number(s),
                                   chart->SeriesList(s)->Title);
        }
    }
    return texts;
}

// Whether a text reads the same in every language: each of its words is a
// symbol of one letter (x, F, φ) or one of these.
bool LanguageNeutral(const QString& Text)
{
    static const QStringList same = {"Rs", "Rf",  "Wk",  "det",   "ln",
                                     "vs", "cos", "sin", "polar", "Incremental"};
    for (const QString& word : Text.split(QRegularExpression("\\P{L}+"), Qt::SkipEmptyParts))
        if (word.size() > 1 && !same.contains(word, Qt::CaseInsensitive)) return false;
    return true;
}

TEST(Translation, EveryTextOfTheMainWindowIsTranslated)
{
    std::vector<std::pair<QString, QString>> spanish, english;
    {
        TWindows windows;
        spanish = ShownTexts(*windows.form);
    }
    {
        TEnglishInterface interface;
        ASSERT_TRUE(interface.Loaded);
        TWindows windows;
        english = ShownTexts(*windows.form);
        windows.form->grab().save(QString(TENSIM_BUILD_DIR) + "/main-window-en.png");
    }
    ASSERT_EQ(spanish.size(), english.size());
    for (size_t i = 0; i < spanish.size(); ++i) {
        const auto& [where, text] = spanish[i];
        ASSERT_EQ(where, english[i].first);
        if (text == english[i].second && !LanguageNeutral(text))
            ADD_FAILURE() << where.toStdString() << " is not translated: " << text.toStdString();
    }
}

// What the window and the help write while the program runs follows the
// interface, and only a translated interface says the help is Spanish.
TEST(Translation, TextsOfTheRunningProgram)
{
    const auto noteShown = [] { return !THelpWindow().LanguageNote()->isHidden(); };
    EXPECT_FALSE(noteShown());
    TEnglishInterface interface;
    ASSERT_TRUE(interface.Loaded);
    EXPECT_TRUE(noteShown());

    TWindows windows;
    QString running;
    windows.OnPause = [&] { running = windows.form->bitbtnDef->text(); };
    windows.Deform(1);
    EXPECT_EQ(running, "&Stop");

    const QString path = QString(TENSIM_BUILD_DIR) + "/markers-english.txt";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0.3, x, 0.1, 0.05, 30\n");
    file.close();
    EXPECT_FALSE(windows.form->LoadMarkerFile(path));
    const QString reason =
        QCoreApplication::translate("tensim::TMarkerFile", "Línea %1: «%2» no es un número");
    ASSERT_NE(reason, "Línea %1: «%2» no es un número");
    ASSERT_EQ(windows.messages.texts().size(), 1u);
    EXPECT_EQ(windows.messages.texts()[0],
              (QDir::toNativeSeparators(path) + "\n" + reason.arg(1).arg("x")).toStdString());
}

} // namespace
} // namespace tensim
