#include "controls/NxNumEdit.h"

#include "tests/MessageRecorder.h"
#include "tests/controls/EditTestSupport.h"

#include <QClipboard>
#include <QPushButton>

#include <cmath>

namespace tensim {
namespace {

// ---------------------------------------------------------------- text for a value

// Formats v with a fresh edit in the given format.
QString Format(TNumberFormat format, int decimals, long double v)
{
    TNxNumEdit edit;
    edit.SetNumberFormat(format);
    edit.SetDecimals(decimals);
    return edit.FormatValue(v);
}

TEST(NxNumEditFormat, StandardPointLocale)
{
    Separators s(".", ",");
    const auto f = [](int d, long double v) { return Format(TNumberFormat::Standard, d, v); };
    EXPECT_EQ(f(4, 1), "1.0000");
    EXPECT_EQ(f(4, -0.5), "-0.5000");
    EXPECT_EQ(f(4, 1.23456), "1.2346");
    EXPECT_EQ(f(4, 0), "0.0000");
    EXPECT_EQ(f(-1, 0), "0");
    EXPECT_EQ(f(-1, 1.5), "1.5");
    EXPECT_EQ(f(-1, 1.0L / 3), "0.33333333333333");
    EXPECT_EQ(f(-1, -123456.789L), "-123456.789");
    EXPECT_EQ(f(0, 2.5), "3");
    EXPECT_EQ(f(2, 1234.5), "1234.50");
    // Precision cap: 15 significant digits, still d decimals.
    EXPECT_EQ(f(4, 12345678901234.5678L), "12345678901234.6000");
    EXPECT_EQ(f(4, 123456789012345678.0L), "123456789012345678.0000");
    EXPECT_EQ(f(2, 123456789012345678.0L), "123456789012345678.00");
}

TEST(NxNumEditFormat, ThousandsScientificEngineeringPointLocale)
{
    Separators s(".", ",");
    const auto t = [](int d, long double v) { return Format(TNumberFormat::Thousands, d, v); };
    EXPECT_EQ(t(4, 1234567.891L), "1,234,567.8910");
    EXPECT_EQ(t(-1, 1234.5), "1,234.5");
    EXPECT_EQ(t(-1, 123456789012.123456L), "123,456,789,012.123");
    EXPECT_EQ(t(0, 1234567), "1,234,567");
    EXPECT_EQ(t(4, 999.99999), "1,000.0000");

    const auto sc = [](int d, long double v) { return Format(TNumberFormat::Scientific, d, v); };
    EXPECT_EQ(sc(4, 12345), "1.2345E4");
    EXPECT_EQ(sc(4, 0.5), "5.0000E-1");
    EXPECT_EQ(sc(4, 0), "0.0000E0");
    EXPECT_EQ(sc(-1, 12345), "1.2345E4");
    EXPECT_EQ(sc(-1, 0), "0E0");
    EXPECT_EQ(sc(0, 12345), "1E4");
    EXPECT_EQ(sc(2, -0.000125), "-1.25E-4");

    const auto en = [](int d, long double v) { return Format(TNumberFormat::Engineering, d, v); };
    EXPECT_EQ(en(4, 12345), "12.3450E3");
    EXPECT_EQ(en(4, 1), "1.0000E0");
    EXPECT_EQ(en(4, 0), "0.0000E0");
    EXPECT_EQ(en(-1, 0), "0E0");
    EXPECT_EQ(en(4, 0.00123), "0.0012E0"); // the exponent truncates toward zero
    EXPECT_EQ(en(4, 1.5e-6), "0.0015E-3");
    EXPECT_EQ(en(4, -2.5e7), "-25.0000E6");
    EXPECT_EQ(en(0, 12345), "12E3");
    EXPECT_EQ(en(-1, 1.0e6L / 3), "333.333333333333E3"); // 15 significant digits
    EXPECT_EQ(en(-1, -1.0e6L / 3), "-333.333333333333E3");
    EXPECT_EQ(en(-1, 4.5e-9), "0.0045E-6");
}

TEST(NxNumEditFormat, CommaLocaleAndMultiByteSeparator)
{
    Separators s(",", ".");
    EXPECT_EQ(Format(TNumberFormat::Standard, 4, 1.5), "1,5000");
    EXPECT_EQ(Format(TNumberFormat::Thousands, 2, 1234567.5), "1.234.567,50");
    EXPECT_EQ(Format(TNumberFormat::Thousands, -1, 1234.25), "1.234,25");
    EXPECT_EQ(Format(TNumberFormat::Scientific, -1, 0.000125), "1,25E-4");
    EXPECT_EQ(Format(TNumberFormat::Engineering, 4, 12345), "12,3450E3");
    EXPECT_EQ(Format(TNumberFormat::Standard, 4, 12345678901234.5678L), "12345678901234,6000");

    // A non-breaking space (two bytes in UTF-8) is one character of the text.
    FormatSettings().ThousandSeparator = "\u00a0";
    const QString nbsp = Format(TNumberFormat::Thousands, 4, -1234567.25);
    EXPECT_EQ(nbsp, QString::fromUtf8("-1\u00a0234\u00a0567,2500"));
    EXPECT_EQ(nbsp.size(), 15);
    TNxNumEdit edit;
    edit.SetNumberFormat(TNumberFormat::Thousands);
    edit.SetDecimals(4);
    edit.SetValue(-1234567.25);
    EXPECT_EQ(edit.Value(), -1234567.25L);
}

// ---------------------------------------------------------------- reading and writing Value

long double Read(const QString& text)
{
    TNxNumEdit edit;
    edit.setText(text);
    return edit.Value();
}

TEST(NxNumEditValue, ReadsTheNumberGrammar)
{
    Separators s(".", ",");
    EXPECT_EQ(Read("-.5000"), -0.5L);
    EXPECT_EQ(Read("."), 0.0L);
    EXPECT_EQ(Read("1.0000E"), 1.0L);
    EXPECT_EQ(Read("1.5000E-"), 1.5L);
    EXPECT_EQ(Read(""), 0.0L);
    EXPECT_EQ(Read(" 12 "), 12.0L);
    EXPECT_EQ(Read("+3"), 3.0L);
    EXPECT_EQ(Read("5."), 5.0L);
    EXPECT_EQ(Read("1,234.5"), 1234.5L);
    EXPECT_EQ(Read("2.5e-3"), 2.5e-3L);
    EXPECT_EQ(Read("1E+2"), 100.0L);
    EXPECT_EQ(Read("0.1"), 0.1L); // correctly rounded to long double
    EXPECT_EQ(Read("1e-5000"), 0.0L);
    // A long mantissa is read in full precision.
    EXPECT_EQ(Read(QString(300, '0') + "1" + QString(300, '0') + "E-300"), 1.0L);
    Separators comma(",", ".");
    EXPECT_EQ(Read("1.234,5"), 1234.5L);
    EXPECT_EQ(Read("-,5"), -0.5L);
}

TEST(NxNumEditValue, TextThatIsNotANumberThrowsToTheReader)
{
    Separators s(".", ",");
    for (const char* bad : {"abc", "-", "1.2.3", "E5", "--1", "1E5000", "1 2", "1E5-", "+"}) {
        TNxNumEdit edit;
        edit.setText(bad);
        EXPECT_THROW(edit.Value(), EConvertError) << bad;
    }
    TNxNumEdit edit;
    edit.setText("1,2x");
    try {
        edit.Value();
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "'12x' is not a valid floating point value");
    }
}

TEST(NxNumEditValue, WritingFiresOnChangeOnlyForANewText)
{
    Separators s(".", ",");
    TNxNumEdit edit;
    EXPECT_EQ(edit.text(), "0"); // Decimals -1
    EXPECT_EQ(edit.width(), 100);
    EXPECT_EQ(edit.Alignment(), taRightJustify);
    EXPECT_EQ(edit.Version(), "1.11.00.00");
    edit.SetDecimals(4);
    int changes = 0;
    QObject* sender = nullptr;
    edit.OnChange = [&](QObject* s) {
        ++changes;
        sender = s;
    };
    edit.SetValue(1);
    EXPECT_EQ(edit.text(), "1.0000");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &edit);
    edit.SetValue(1);
    edit.SetValue(1.00001);
    EXPECT_EQ(changes, 1);
    edit.SetValue(-2.5);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit.Value(), -2.5L);
}

TEST(NxNumEditValue, FormatAndBoundsSettings)
{
    Separators s(".", ",");
    TNxNumEdit edit;
    edit.SetValue(1.5);
    edit.SetDecimals(4);
    EXPECT_EQ(edit.text(), "1.5000");
    edit.SetDecimals(2);
    EXPECT_EQ(edit.text(), "1.50");
    edit.SetDecimals(40);
    EXPECT_EQ(edit.Decimals(), 14);
    edit.SetDecimals(-7);
    EXPECT_EQ(edit.Decimals(), -1);
    EXPECT_EQ(edit.text(), "1.5");
    edit.setMaxLength(6);
    edit.SetDecimals(10);
    EXPECT_EQ(edit.Decimals(), 4);
    edit.setMaxLength(32767);
    edit.SetNumberFormat(TNumberFormat::Scientific);
    EXPECT_EQ(edit.text(), "1.5000E0");

    // Bounds load upper first; a bound past the other one is refused.
    edit.SetMaxValue(2);
    edit.SetMinValue(-2);
    EXPECT_EQ(edit.MaxValue(), 2.0L);
    EXPECT_EQ(edit.MinValue(), -2.0L);
    edit.SetMinValue(3);
    edit.SetMaxValue(-3);
    EXPECT_EQ(edit.MinValue(), -2.0L);
    EXPECT_EQ(edit.MaxValue(), 2.0L);
    TNxNumEdit other;
    other.SetMinValue(2); // above the maximum 0: refused
    EXPECT_EQ(other.MinValue(), 0.0L);
}

// ---------------------------------------------------------------- editing by keys

class NxNumEditKeys : public testing::Test {
protected:
    NxNumEditKeys()
    {
        edit = new TNxNumEdit(&form.form);
        edit->SetDecimals(4);
        edit->OnChange = [this](QObject*) { ++changes; };
    }
    // Shows text with the caret at caret (characters before it).
    void Put(const QString& text, int caret, int selection = 0)
    {
        edit->setText(text);
        if (selection > 0)
            edit->setSelection(caret, selection);
        else
            edit->setCursorPosition(caret);
        changes = 0;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(edit, key, modifiers);
    }
    void Type(const QString& text) { QTest::keyClicks(edit, text); }
    int Caret() const { return edit->cursorPosition(); }

    Separators separators{".", ","};
    TestForm form;
    TNxNumEdit* edit;
    int changes = 0;
};

TEST_F(NxNumEditKeys, DeleteAndBackspaceKeepTheShape)
{
    Put("1.2345", 2);
    Key(Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "1.3450");
    EXPECT_EQ(Caret(), 2);
    EXPECT_EQ(changes, 1);

    Put("1.2345", 0);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1.2345");
    Put("1.2345", 6);
    Key(Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "1.2345");
    EXPECT_EQ(changes, 0);

    // Deleting the exponent's minus sign would leave no number: refused.
    edit->SetNumberFormat(TNumberFormat::Scientific);
    Put("5.0000E-4940", 8);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "5.0000E-4940");
    EXPECT_EQ(changes, 0);

    edit->setReadOnly(true);
    Put("1.2345", 6);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1.2345");
}

TEST_F(NxNumEditKeys, DeletingASelectionBackspacesItsCharacters)
{
    Put("12.3400", 1, 3); // "2.3": two digits, the separator stays
    Key(Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "1.4000");
    EXPECT_EQ(Caret(), 1);
    EXPECT_EQ(changes, 1); // one change for the whole selection

    edit->SetNumberFormat(TNumberFormat::Thousands);
    Put("1,234.0000", 1, 1); // only a thousands separator: one Backspace
    Key(Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "234.0000"); // regrouped on release
    EXPECT_EQ(Caret(), 0);
}

TEST_F(NxNumEditKeys, DecimalSeparatorAndDigits)
{
    Put("1.5000", 1);
    Type(".");
    EXPECT_EQ(edit->text(), "1.5000");
    EXPECT_EQ(Caret(), 2);
    EXPECT_EQ(changes, 0);
    Type("7");
    EXPECT_EQ(edit->text(), "1.7000");
    EXPECT_EQ(changes, 1);

    for (const char* refused : {"a", " ", "+", ",", "x", "*"}) {
        Put("1.5000", 2);
        Type(refused);
        EXPECT_EQ(edit->text(), "1.5000");
        EXPECT_EQ(changes, 0);
    }
    Put("1.5000", 0);
    Key(Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(Caret(), 2);

    edit->setReadOnly(true);
    Put("1.5000", 0);
    Type("-7");
    EXPECT_EQ(edit->text(), "1.5000");
}

TEST_F(NxNumEditKeys, ExponentTyping)
{
    Put("1.5000", 3);
    Type("e");
    EXPECT_EQ(edit->text(), "1.5000E");
    EXPECT_EQ(edit->Value(), 1.5L);

    edit->SetNumberFormat(TNumberFormat::Scientific);
    Put("9.0000E4931", 11); // beyond the largest value: refused
    Type("9");
    EXPECT_EQ(edit->text(), "9.0000E4931");
    EXPECT_EQ(changes, 0);
}

TEST_F(NxNumEditKeys, CommaLocale)
{
    Separators comma(",", ".");
    Put("1,5000", 0);
    Key(Qt::Key_Period, Qt::KeypadModifier); // the keypad separator is the locale's
    EXPECT_EQ(Caret(), 2);
    Type("25");
    EXPECT_EQ(edit->text(), "1,2500");
    EXPECT_EQ(edit->Value(), 1.25L);
}

TEST_F(NxNumEditKeys, HugeInputStaysANumber)
{
    Put("1.0000", 1);
    Type(QString(6000, '9'));
    const QString text = edit->text();
    EXPECT_LT(text.size(), 4950);
    EXPECT_TRUE(std::isfinite(edit->Value()));
    EXPECT_TRUE(text.endsWith(".0000"));
}

TEST_F(NxNumEditKeys, ThousandsFollowTheDigits)
{
    edit->SetNumberFormat(TNumberFormat::Thousands);
    Put("1,234.0000", 1);
    Type("55");
    EXPECT_EQ(edit->text(), "155,234.0000");
    Type("5");
    EXPECT_EQ(edit->text(), "1,555,234.0000");
    EXPECT_EQ(Caret(), 6); // moved by the new separator and past the next one
    Put("1234.0000", 9);
    Key(Qt::Key_Space); // Space regroups
    EXPECT_EQ(edit->text(), "1,234.0000");
    EXPECT_EQ(edit->cursorPosition(), 10);
}

// ---------------------------------------------------------------- clipboard

TEST_F(NxNumEditKeys, PasteTypesEveryCharacter)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("12a.5");
    Put("0.0000", 0);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "12.5000");
    EXPECT_EQ(changes, 1);
    Put("0.0000", 0);
    Type("12a.5");
    EXPECT_EQ(edit->text(), "12.5000");

    clipboard->setText("9");
    Put("1.2345", 2, 4);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->text(), "1.9000");

    clipboard->setText("-");
    Put("1.2345", 3);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->text(), "-1.2345");

    clipboard->setText(QString(200000, '7') + "." + QString(100000, '3'));
    Put("0.0000", 0);
    edit->PasteFromClipboard();
    EXPECT_TRUE(std::isfinite(edit->Value()));
    EXPECT_LE(edit->text().size(), edit->maxLength());

    edit->setReadOnly(true);
    clipboard->setText("5");
    Put("1.0000", 0);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->text(), "1.0000");
}

TEST_F(NxNumEditKeys, CopyAndCut)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    edit->SetNumberFormat(TNumberFormat::Thousands);
    Put("1,234.5000", 0, 10);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "1234.5000");
    Put("1,234.5000", 1, 1);
    edit->CopyToClipboard();
    EXPECT_EQ(clipboard->text(), "0");
    Put("1,234.5000", 3);
    edit->CopyToClipboard(); // nothing selected: the clipboard keeps its text
    EXPECT_EQ(clipboard->text(), "0");

    edit->SetNumberFormat(TNumberFormat::Standard);
    Put("1.2345", 2, 4);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "2345");
    EXPECT_EQ(edit->text(), "1.0000");
}

// ---------------------------------------------------------------- focus

TEST_F(NxNumEditKeys, LeavingShowsTheFullTextAndChecksTheRange)
{
    MessageRecorder messages;
    std::vector<std::string> events;
    edit->OnExit = [&](QObject*) { events.push_back("exit"); };
    edit->SetMaxValue(2);
    edit->SetMinValue(-2);
    ASSERT_TRUE(form.Activate());

    edit->setFocus();
    Put("1.5000", 6);
    Type("e");
    EXPECT_EQ(edit->text(), "1.5000E");
    form.other->setFocus();
    EXPECT_EQ(edit->text(), "1.5000");
    EXPECT_TRUE(messages.messages.empty());

    edit->setFocus();
    Put("2.0400", 0);
    form.other->setFocus();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].Text, "Value out of range!");
    EXPECT_EQ(messages.messages[0].Caption, "Invalid Entry");
    EXPECT_EQ(messages.messages[0].Kind, TMessageKind::Warning);
    EXPECT_EQ(edit->text(), "2.0400"); // nothing corrected
    EXPECT_EQ(form.form.focusWidget(), form.other);

    edit->OnInvalidEntry = [&](QObject* sender) {
        EXPECT_EQ(sender, edit);
        events.push_back("invalid");
    };
    edit->setFocus();
    form.other->setFocus();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(events, (std::vector<std::string>{"exit", "exit", "invalid", "exit"}));

    // One bound zero: no check at all.
    TNxNumEdit* free = new TNxNumEdit(&form.form);
    free->SetMaxValue(5);
    free->SetValue(7);
    free->show();
    free->setFocus();
    form.other->setFocus();
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(NxNumEditKeys, EnteringSelectsAll)
{
    std::vector<std::string> events;
    edit->OnEnter = [&](QObject*) { events.push_back("enter"); };
    edit->setGeometry(10, 10, 100, 24);
    edit->SetValue(1.25);
    ASSERT_TRUE(form.Activate());
    form.other->setFocus();

    edit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit->selectedText(), "1.2500");
    form.other->setFocus();

    // A click that gives the focus leaves all selected; the next click places the caret.
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(90, 12));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "1.2500");
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(90, 12));
    EXPECT_FALSE(edit->hasSelectedText());
    EXPECT_EQ(events.size(), 2u);

    form.other->setFocus();
    edit->SetAutoSelect(false);
    edit->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(edit->hasSelectedText());
}

TEST_F(NxNumEditKeys, EnterClicksTheDefaultButton)
{
    ASSERT_TRUE(form.Activate());
    edit->setFocus();
    Put("1.5000", 2);
    Key(Qt::Key_Return); // no default button: only a beep
    EXPECT_EQ(edit->text(), "1.5000");
    EXPECT_TRUE(edit->hasFocus());

    QPushButton* ok = new QPushButton("OK", &form.form);
    ok->setGeometry(200, 200, 80, 24);
    ok->setDefault(true);
    ok->show();
    int clicks = 0;
    bool focusedWhenClicked = false;
    QObject::connect(ok, &QPushButton::clicked, [&] {
        ++clicks;
        focusedWhenClicked = ok->hasFocus();
    });
    Key(Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(focusedWhenClicked);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "1.5000");

    edit->SetAutoSelect(false);
    edit->setSelection(3, 2);
    Key(Qt::Key_Enter);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(edit->selectedText(), "00");

    // Every default button of the form is clicked, in child order; one inside
    // a panel of the form is not the form's own.
    std::vector<std::string> order;
    QPushButton* second = new QPushButton("Otro", &form.form);
    second->setGeometry(200, 230, 80, 24);
    second->setDefault(true);
    second->show();
    QWidget* panel = new QWidget(&form.form);
    panel->setGeometry(300, 10, 90, 40);
    QPushButton* inPanel = new QPushButton("Panel", panel);
    inPanel->setDefault(true);
    panel->show();
    QObject::connect(ok, &QPushButton::clicked, [&] { order.push_back("ok"); });
    QObject::connect(second, &QPushButton::clicked, [&] { order.push_back("second"); });
    QObject::connect(inPanel, &QPushButton::clicked, [&] { order.push_back("panel"); });
    edit->setCursorPosition(2);
    Key(Qt::Key_Return);
    EXPECT_EQ(order, (std::vector<std::string>{"ok", "second"}));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(Caret(), 2);
}

} // namespace
} // namespace tensim
