#include "controls/NxSpinEdit.h"
#include "controls/NxNumEdit.h"

#include "tests/controls/EditTestSupport.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tensim {
namespace {

class NxSpinEditTest : public testing::Test {
protected:
    NxSpinEditTest()
    {
        edit = new TNxSpinEdit(&form.form);
        edit->move(10, 10);
    }

    Separators separators{".", ","};
    TestForm form;
    TNxSpinEdit* edit;
};

TEST_F(NxSpinEditTest, Defaults)
{
    EXPECT_EQ(edit->width(), 100);
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(edit->Value(), 0); // an empty text reads as MinValue
    EXPECT_EQ(edit->Alignment(), taLeftJustify);
    EXPECT_TRUE(edit->alignment() & Qt::AlignLeft);
    edit->SetAlignment(taRightJustify);
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
    edit->SetAlignment(taCenter);
    EXPECT_TRUE(edit->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(edit->Version(), "2.00.00.00");
}

TEST_F(NxSpinEditTest, UnboundedCountsAsTheMainWindowUsesThem)
{
    // The number of increments: Value 1, Increment 1, no bounds.
    edit->SetValue(1);
    edit->DownClick(nullptr);
    edit->DownClick(nullptr);
    EXPECT_EQ(edit->text(), "-1");
    // The rotation angle: Increment 5.
    edit->SetValue(0);
    edit->SetIncrement(5);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Value(), 10);
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(edit->text(), "10");
}

TEST_F(NxSpinEditTest, AClickThatEntersSelectsAll)
{
    edit->SetValue(345);
    ASSERT_TRUE(form.Activate());
    form.other->setFocus();
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "345");
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_FALSE(edit->hasSelectedText());

    form.other->setFocus();
    edit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit->selectedText(), "345");
}

TEST_F(NxSpinEditTest, EnterClicksTheDefaultButtonOrBeeps)
{
    edit->SetValue(3);
    ASSERT_TRUE(form.Activate());
    edit->setFocus();
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_Return); // no default button
    EXPECT_EQ(edit->text(), "3");
    EXPECT_TRUE(edit->hasFocus());

    // Only buttons that are direct children of the form count: a default
    // button inside a group box is left alone, and Enter only beeps.
    QGroupBox* box = new QGroupBox(&form.form);
    box->setGeometry(150, 10, 200, 80);
    QPushButton* inBox = new QPushButton("Deformar", box);
    inBox->setDefault(true);
    QPushButton* disabled = new QPushButton("Otro", &form.form);
    disabled->setDefault(true);
    disabled->setEnabled(false);
    box->show();
    disabled->show();
    int clicks = 0;
    QObject::connect(inBox, &QPushButton::clicked, [&] { clicks += 10; });
    QObject::connect(disabled, &QPushButton::clicked, [&] { clicks += 100; });
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_FALSE(edit->hasSelectedText());

    QPushButton* go = new QPushButton("Aceptar", &form.form);
    go->setGeometry(150, 100, 80, 24);
    go->setDefault(true);
    go->show();
    QObject::connect(go, &QPushButton::clicked, [&] { ++clicks; });
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "3");
}

// A picture of the fields as the main window sets them up.
TEST(EditPicture, MainWindowFields)
{
    Separators separators(".", ",");
    QWidget form;
    form.resize(440, 130);
    form.setAutoFillBackground(true);
    const long double values[] = {1, 0.5, 0, 1, 1.2345678, -0.25, 0.0001, 12.5};
    for (int i = 0; i < 8; ++i) {
        TNxNumEdit* edit = new TNxNumEdit(&form);
        edit->SetDecimals(4);
        edit->SetValue(values[i]);
        // Two 2 x 2 tensors side by side, entries (1,1), (1,2), (2,1), (2,2).
        edit->move(10 + (i / 4) * 220 + (i % 2) * 105, 10 + ((i % 4) / 2) * 30);
    }
    TNxSpinEdit* increments = new TNxSpinEdit(&form);
    increments->SetValue(1);
    increments->move(10, 80);
    TNxSpinEdit* rotation = new TNxSpinEdit(&form);
    rotation->SetIncrement(5);
    rotation->SetValue(-35);
    rotation->SetAlignment(taRightJustify);
    rotation->move(120, 80);
    TSpinEdit* plain = new TSpinEdit(&form);
    plain->SetValue(42);
    plain->setGeometry(230, 80, 121, 30);
    // A strip by itself: focus rectangle on the up arrow, the down arrow held.
    TSpinButton* alone = new TSpinButton(&form);
    alone->setGeometry(370, 70, 24, 50);
    alone->UpButton()->SetTimeBtnState(tbAllowTimer | tbFocusRect);
    alone->DownButton()->setDown(true);
    form.show();
    const QImage picture = form.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(TENSIM_BUILD_DIR "/edits.png"));
    // The arrows are drawn inside the field, right of its text.
    const QRect strip = plain->Button()->geometry().translated(plain->pos());
    EXPECT_TRUE(QRect(plain->pos(), plain->size()).contains(strip));
}

} // namespace
} // namespace tensim
