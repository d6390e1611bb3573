#include "app/Application.h"

#include "app/Glyphs.h"
#include "tests/MessageRecorder.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

#include <stdexcept>

namespace tensim {
namespace {

// Raises from its event handler as often as it is told to.
class TThrower : public QObject {
public:
    int Throws = 0;
    int Handled = 0;

protected:
    bool event(QEvent* Event) override
    {
        if (Event->type() != QEvent::User) return QObject::event(Event);
        if (Throws > 0) {
            --Throws;
            throw std::runtime_error("Axis Maximum Value must be >= Minimum");
        }
        ++Handled;
        return true;
    }
};

TEST(Application, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn)
{
    ASSERT_NE(dynamic_cast<TApplication*>(QCoreApplication::instance()), nullptr);
    MessageRecorder messages;
    TThrower thrower;
    thrower.Throws = 1;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].Text, "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(messages.messages[0].Kind, TMessageKind::Error);
    EXPECT_TRUE(QCoreApplication::sendEvent(&thrower, &event));
    EXPECT_EQ(thrower.Handled, 1);

    // Posted events go through the same boundary.
    thrower.Throws = 2;
    for (int i = 0; i < 3; ++i)
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&thrower);
    EXPECT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(thrower.Handled, 2);
}

// Qt's own dialogs speak Spanish, whatever the system's language.
TEST(Application, QtsOwnTextsAreSpanish)
{
    EXPECT_EQ(InstallSpanishTranslations(), 2);
    QMessageBox box(QMessageBox::Question, "Tensim", "?", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove('&'), "Aceptar");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&'), "Cancelar");
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

// An exception from a click handler unwinds through the button's signal and
// mouse handling to the boundary; the button keeps working.
TEST(Application, AnExceptionFromAClickLeavesTheButtonUsable)
{
    MessageRecorder messages;
    QPushButton button("Deformar");
    button.resize(80, 30);
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        if (++clicks == 1) throw std::out_of_range("first click");
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(messages.texts(), std::vector<std::string>({"first click"}));
    EXPECT_FALSE(button.isDown());
}

TEST(Application, MessageBoxTakesTheTitleAndTheKindOfTheMessage)
{
    const QString title = QApplication::applicationDisplayName();
    QApplication::setApplicationDisplayName("Tensim 2.1");
    struct Row {
        TMessage Message;
        const char* Caption;
        QMessageBox::Icon Icon;
    };
    const Row rows[] = {{{"Value out of range!", "Invalid Entry", TMessageKind::Warning},
                         "Invalid Entry",
                         QMessageBox::Warning},
                        {{"Transform multiply error", "", TMessageKind::Error},
                         "Tensim 2.1",
                         QMessageBox::Critical},
                        {{"Index out of range (3)", "", TMessageKind::Information},
                         "Tensim 2.1",
                         QMessageBox::Information}};
    for (const Row& row : rows) {
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->accept();
        });
        ShowMessageBox(row.Message);
        EXPECT_EQ(caption.toStdString(), row.Caption);
        EXPECT_EQ(text.toStdString(), row.Message.Text);
        EXPECT_EQ(icon, row.Icon);
    }
    QApplication::setApplicationDisplayName(title);
}

TEST(Application, HelpFileIsAnApplicationSetting)
{
    const QString saved = HelpFile();
    SetHelpFile("/opt/tensim/Tensim2.1.qch");
    EXPECT_EQ(HelpFile(), "/opt/tensim/Tensim2.1.qch");
    SetHelpFile(saved);
}

// The pause between increments is a real count, not one the compiler drops.
TEST(BusyPause, CountsUnlessReplaced)
{
    const auto replaced = SetBusyPause({});
    QElapsedTimer timer;
    timer.start();
    BusyPause();
    EXPECT_GT(timer.nsecsElapsed(), 20'000'000); // 10^8 passes: far more than 20 ms
    int calls = 0;
    SetBusyPause([&] { ++calls; });
    BusyPause();
    EXPECT_EQ(calls, 1);
    SetBusyPause(replaced);
}

TEST(Glyphs, EveryGlyphIsItsOwnPictureAtBothSizes)
{
    std::vector<QImage> pictures;
    for (TGlyph glyph :
         {TGlyph::Deform, TGlyph::Restore, TGlyph::Reset, TGlyph::Help, TGlyph::Info}) {
        const QIcon icon = ButtonGlyph(glyph);
        for (int size : {16, 32}) {
            const QImage picture = icon.pixmap(size, size).toImage();
            ASSERT_EQ(picture.size(), QSize(size, size));
            int painted = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    painted += qAlpha(picture.pixel(x, y)) > 128;
            EXPECT_GT(painted, size * size / 12);
            EXPECT_LT(painted, size * size * 3 / 4);
            if (size == 16) pictures.push_back(picture);
        }
    }
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_NE(pictures[i], pictures[j]) << i << " " << j;
}

} // namespace
} // namespace tensim
