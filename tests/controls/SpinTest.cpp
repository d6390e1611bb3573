#include "controls/Spin.h"

#include "tests/controls/EditTestSupport.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QTimer>

#include <climits>
#include <stdexcept>

namespace tensim {
namespace {

class SpinEditTest : public testing::Test {
protected:
    SpinEditTest()
    {
        edit = new TSpinEdit(&form.form);
        edit->setGeometry(10, 10, 121, 30);
        edit->OnChange = [this](QObject*) { ++changes; };
    }
    void Put(const QString& text)
    {
        edit->setText(text);
        edit->setCursorPosition(static_cast<int>(text.size()));
        changes = 0;
    }

    Separators separators{".", ","};
    TestForm form;
    TSpinEdit* edit;
    int changes = 0;
};

TEST_F(SpinEditTest, StepsAndBounds)
{
    EXPECT_EQ(edit->text(), "0");
    EXPECT_EQ(edit->Increment(), 1);
    EXPECT_EQ(edit->Button()->FocusControl(), edit);

    // Equal bounds (0 and 0) mean no bounds.
    edit->DownClick(nullptr);
    edit->DownClick(nullptr);
    EXPECT_EQ(edit->Value(), -2);
    edit->SetIncrement(5);
    edit->UpClick(nullptr);
    EXPECT_EQ(edit->text(), "3");
    edit->SetMinValue(7);
    edit->SetMaxValue(7);
    edit->SetValue(-100);
    EXPECT_EQ(edit->Value(), -100);

    edit->SetMinValue(0);
    edit->SetMaxValue(10);
    edit->SetValue(15);
    EXPECT_EQ(edit->text(), "10");
    changes = 0;
    edit->UpClick(nullptr); // clamped to the same text: no change
    EXPECT_EQ(edit->Value(), 10);
    EXPECT_EQ(changes, 0);
    edit->SetValue(-3);
    EXPECT_EQ(edit->Value(), 0);
    edit->SetValue(4);
    edit->DownClick(nullptr);
    EXPECT_EQ(edit->Value(), 0);

    // Steps stop at the ends of the integers.
    edit->SetMinValue(INT_MIN);
    edit->SetMaxValue(INT_MAX);
    edit->SetValue(INT_MAX - 2);
    edit->UpClick(nullptr);
    EXPECT_EQ(edit->Value(), INT_MAX);
    edit->SetValue(INT_MIN + 1);
    edit->DownClick(nullptr);
    EXPECT_EQ(edit->Value(), INT_MIN);

    edit->setReadOnly(true); // steps only beep
    edit->SetValue(3);
    edit->UpClick(nullptr);
    EXPECT_EQ(edit->Value(), 3);
}

TEST_F(SpinEditTest, TextThatIsNotAnIntegerReadsAsMinValue)
{
    for (const char* text : {"", "-", "+", ".", "1.5", "abc", "99999999999", "1e3"}) {
        edit->setText(text);
        EXPECT_EQ(edit->Value(), 0) << text;
    }
    edit->SetMaxValue(50);
    edit->SetMinValue(-4);
    edit->setText("x");
    EXPECT_EQ(edit->Value(), -4);
    edit->setText("-17");
    EXPECT_EQ(edit->Value(), -17); // reading never clamps
    edit->setText("");
    edit->UpClick(nullptr); // from MinValue
    EXPECT_EQ(edit->text(), "-3");
}

TEST_F(SpinEditTest, KeysAndCharacters)
{
    edit->SetValue(5);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Value(), 6);
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->Value(), 4);

    Put("");
    QTest::keyClicks(edit, "-12a3 x.5+");
    EXPECT_EQ(edit->text(), "-123.5+"); // refused characters are dropped (with a beep)
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->text(), "-123.5+");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "-123.5");
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "123.5");

    Separators comma(",", ".");
    Put("1");
    QTest::keyClicks(edit, ".,");
    EXPECT_EQ(edit->text(), "1,");

    // Text composed by an input method is filtered like typed characters.
    Put("7");
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("-2\u00e9 5x"));
    QApplication::sendEvent(edit, &composed);
    EXPECT_EQ(edit->text(), "7-25");
    edit->SetEditorEnabled(false);
    QInputMethodEvent refused;
    refused.setCommitString("3");
    QApplication::sendEvent(edit, &refused);
    EXPECT_EQ(edit->text(), "7-25");
}

TEST_F(SpinEditTest, EditorDisabledOnlySteps)
{
    edit->SetEditorEnabled(false);
    edit->SetValue(8);
    changes = 0;
    QTest::keyClicks(edit, "12-");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QGuiApplication::clipboard()->setText("77");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "8");
    EXPECT_EQ(changes, 0);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier); // copying is fine
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "8");
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "9");

    edit->SetEditorEnabled(true);
    edit->setReadOnly(true); // a read-only field pastes nothing either
    edit->setCursorPosition(1);
    QGuiApplication::clipboard()->setText("77");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "9");
    edit->setReadOnly(false);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "977");
}

TEST_F(SpinEditTest, FocusExitClampsAndEntrySelects)
{
    std::vector<std::string> events;
    edit->OnEnter = [&](QObject*) { events.push_back("enter"); };
    edit->OnExit = [&](QObject*) { events.push_back("exit " + edit->text().toStdString()); };
    edit->SetMaxValue(10);
    ASSERT_TRUE(form.Activate());

    edit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit->selectedText(), "0");
    Put("50");
    form.other->setFocus();
    EXPECT_EQ(edit->text(), "10");

    edit->setFocus(Qt::TabFocusReason);
    Put("abc"); // reads as MinValue, which is in range: left alone
    form.other->setFocus();
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit 10", "enter", "exit abc"}));

    // A click enters without selecting everything.
    edit->SetValue(123);
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(20, 15));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_FALSE(edit->hasSelectedText());
}

TEST_F(SpinEditTest, ArrowsStepAndTakeTheFocusForTheField)
{
    ASSERT_TRUE(form.Activate());
    form.other->setFocus();
    TSpinButton* strip = edit->Button();
    QTest::mouseClick(strip->UpButton(), Qt::LeftButton);
    EXPECT_EQ(edit->Value(), 1);
    EXPECT_TRUE(edit->hasFocus());
    QTest::mouseClick(strip->DownButton(), Qt::LeftButton);
    QTest::mouseClick(strip->DownButton(), Qt::LeftButton);
    EXPECT_EQ(edit->Value(), -1);
    EXPECT_EQ(strip->FocusedButton(), strip->DownButton());
    // A press that ends outside the arrow is no click.
    QTest::mousePress(strip->UpButton(), Qt::LeftButton);
    QTest::mouseRelease(strip->UpButton(), Qt::LeftButton, Qt::NoModifier, QPoint(-20, -20));
    EXPECT_EQ(edit->Value(), -1);
}

TEST_F(SpinEditTest, LayoutKeepsTheTextOffTheArrows)
{
    form.form.show(); // resize events reach shown widgets
    const int textHeight = edit->fontMetrics().height();
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    const int minimum = textHeight + std::min(textHeight, systemHeight) / 4 + 4 + 2;
    EXPECT_EQ(edit->minimumHeight(), minimum);
    edit->resize(121, 5);
    EXPECT_EQ(edit->height(), minimum);

    edit->resize(121, 30);
    TSpinButton* strip = edit->Button();
    EXPECT_EQ(strip->geometry(), QRect(121 - 15 - 3, 2, 15, 25));
    EXPECT_EQ(strip->UpButton()->geometry(), QRect(0, 0, 15, 12));
    EXPECT_EQ(strip->DownButton()->geometry(), QRect(0, 11, 15, 14)); // one pixel over the up arrow
    EXPECT_EQ(edit->textMargins().right(), 17);

    edit->setFrame(false);
    edit->resize(140, 31);
    EXPECT_EQ(strip->geometry(), QRect(140 - 15, 1, 15, 28));

    TSpinButton alone;
    EXPECT_EQ(alone.size(), QSize(20, 25));
    alone.resize(8, 25);
    EXPECT_EQ(alone.width(), 15);
}

TEST(SpinButton, KeysClickTheFocusedArrow)
{
    TestForm form;
    TSpinButton* strip = new TSpinButton(&form.form);
    strip->setFocusPolicy(Qt::StrongFocus);
    std::vector<std::string> clicks;
    strip->OnUpClick = [&](QObject* sender) {
        EXPECT_EQ(sender, strip);
        clicks.push_back("up");
    };
    strip->OnDownClick = [&](QObject*) { clicks.push_back("down"); };
    ASSERT_TRUE(form.Activate());
    strip->setFocus();
    EXPECT_EQ(strip->FocusedButton(), strip->UpButton());
    EXPECT_TRUE(strip->UpButton()->TimeBtnState() & tbFocusRect);
    QTest::keyClick(strip, Qt::Key_Space);
    QTest::keyClick(strip, Qt::Key_Down);
    QTest::keyClick(strip, Qt::Key_Space);
    QTest::keyClick(strip, Qt::Key_Up);
    EXPECT_EQ(clicks, (std::vector<std::string>{"up", "down", "down", "up"}));
    QTest::keyClick(strip, Qt::Key_Down);
    EXPECT_TRUE(strip->DownButton()->TimeBtnState() & tbFocusRect);
    EXPECT_FALSE(strip->UpButton()->TimeBtnState() & tbFocusRect);
    form.other->setFocus();
    EXPECT_FALSE(strip->DownButton()->TimeBtnState() & tbFocusRect);

    // With no focus control, a press on an arrow focuses the strip itself.
    QTest::mousePress(strip->UpButton(), Qt::LeftButton);
    EXPECT_TRUE(strip->hasFocus());
    EXPECT_EQ(strip->FocusedButton(), strip->UpButton());
    QTest::mouseRelease(strip->UpButton(), Qt::LeftButton);
    EXPECT_EQ(clicks.back(), "up");
}

// Timing uses generous bounds: a busy machine only delays timers.
TEST_F(SpinEditTest, HeldArrowRepeats)
{
    ASSERT_TRUE(form.Activate());
    TTimerSpeedButton* up = edit->Button()->UpButton();
    QElapsedTimer clock;
    std::vector<qint64> steps;
    edit->OnChange = [&](QObject*) { steps.push_back(clock.elapsed()); };

    clock.start();
    QTest::mouseClick(up, Qt::LeftButton); // a short press: one step
    QTest::qWait(600);
    EXPECT_EQ(steps.size(), 1u);

    steps.clear();
    clock.restart();
    QTest::mousePress(up, Qt::LeftButton);
    QTest::qWait(1050);
    const std::vector<qint64> held = steps;
    QTest::mouseRelease(up, Qt::LeftButton);
    ASSERT_GE(held.size(), 3u);
    EXPECT_LE(held.size(), 7u); // at 400, 500, ..., 1000 ms at most
    EXPECT_GE(held[0], 390);
    for (size_t i = 1; i < held.size(); ++i)
        EXPECT_GE(held[i] - held[i - 1], 90) << i;
    EXPECT_EQ(steps.size(), held.size() + 1); // and one on release
    EXPECT_EQ(edit->Value(), static_cast<int>(steps.size()) + 1);

    // After the release nothing repeats.
    QTest::qWait(300);
    EXPECT_EQ(steps.size(), held.size() + 1);
}

TEST_F(SpinEditTest, ArrowHeldOutsideDoesNotRepeat)
{
    ASSERT_TRUE(form.Activate());
    TTimerSpeedButton* down = edit->Button()->DownButton();
    QTest::mousePress(down, Qt::LeftButton);
    QTest::mouseMove(down, QPoint(-30, -30));
    EXPECT_FALSE(down->isDown());
    QTest::qWait(700);
    EXPECT_EQ(edit->Value(), 0);
    QTest::mouseMove(down, QPoint(5, 5)); // back over the arrow: repeating again
    QTest::qWait(400);
    EXPECT_LT(edit->Value(), 0);
    const int held = edit->Value();
    QTest::mouseRelease(down, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(edit->Value(), held - 1);
}

TEST_F(SpinEditTest, AnErrorInARepeatStopsIt)
{
    ASSERT_TRUE(form.Activate());
    TTimerSpeedButton* up = edit->Button()->UpButton();
    edit->Button()->OnUpClick = [](QObject*) { throw std::runtime_error("step failed"); };
    QTest::mousePress(up, Qt::LeftButton);
    QTimer* timer = up->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    // The tick, as the event loop would deliver it.
    EXPECT_THROW(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection),
                 std::runtime_error);
    EXPECT_FALSE(timer->isActive());
    edit->Button()->OnUpClick = nullptr;
    QTest::mouseRelease(up, Qt::LeftButton);
}

} // namespace
} // namespace tensim
