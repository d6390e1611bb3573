#include "controls/NxNumEdit.h"

#include "math/FloatFormat.h"
#include "math/Messages.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace tensim {

namespace {

// The edit works with one character per separator: the first one of the
// setting (a non-breaking space is one character too).
QChar FirstChar(const std::string& Separator, QChar Fallback)
{
    const QString s = QString::fromStdString(Separator);
    return s.isEmpty() ? Fallback : s[0];
}

QChar DecimalChar()
{
    return FirstChar(FormatSettings().DecimalSeparator, '.');
}
QChar ThousandChar()
{
    return FirstChar(FormatSettings().ThousandSeparator, QChar());
}

// A formatted number with each separator shortened to its first character.
QString EditText(const std::string& Formatted)
{
    QString text = QString::fromStdString(Formatted);
    for (const std::string& separator :
         {FormatSettings().DecimalSeparator, FormatSettings().ThousandSeparator}) {
        const QString s = QString::fromStdString(separator);
        if (s.size() > 1) text.replace(s, s.left(1));
    }
    return text;
}

bool IsDigit(QChar c)
{
    return c >= '0' && c <= '9';
}

// Reads [blanks][sign](digits[sep[digits]] | sep[digits])[E[sign][digits]][blanks].
// Only finite values are numbers. Mantissas beyond 100 significant digits are
// cut (with a sticky digit) so that very long texts convert in linear time.
bool TextToFloat(const QString& Text, QChar Decimal, long double& Value)
{
    int i = 0, n = static_cast<int>(Text.size());
    while (i < n && Text[i] == ' ')
        ++i;
    while (n > i && Text[n - 1] == ' ')
        --n;
    bool negative = false;
    if (i < n && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';

    constexpr int MaxDigits = 100;
    constexpr long ExponentLimit = 1L << 20; // far beyond any long double
    std::string digits;                      // significant digits, no leading zeros
    long exponent = 0;                       // value = digits x 10^exponent
    bool dropped = false, anyDigit = false, point = false;
    for (; i < n; ++i) {
        const QChar c = Text[i];
        if (IsDigit(c)) {
            anyDigit = true;
            if (point) --exponent;
            if (digits.empty() && c == '0') continue;
            if (static_cast<int>(digits.size()) < MaxDigits) {
                digits += static_cast<char>(c.unicode());
            } else {
                ++exponent;
                dropped = dropped || c != '0';
            }
        } else if (c == Decimal && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit && !point) return false;
    if (i < n && (Text[i] == 'E' || Text[i] == 'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (Text[i] == '+' || Text[i] == '-')) expNegative = Text[i++] == '-';
        long e = 0;
        for (; i < n && IsDigit(Text[i]); ++i)
            e = std::min(e * 10 + (Text[i].unicode() - '0'), ExponentLimit);
        exponent += expNegative ? -e : e;
    }
    if (i != n) return false;
    if (digits.empty()) {
        Value = negative ? -0.0L : 0.0L;
        return true;
    }
    if (dropped) {
        digits += '1';
        --exponent;
    }
    exponent = std::clamp(exponent, -ExponentLimit, ExponentLimit);
    // No decimal point in this text, so the C library's locale does not matter.
    const std::string plain = digits + "e" + std::to_string(exponent);
    const long double v = std::strtold(plain.c_str(), nullptr);
    if (!std::isfinite(v)) return false;
    Value = negative ? -v : v;
    return true;
}

int CountOf(const QString& Text, QChar c)
{
    return c.isNull() ? 0 : static_cast<int>(Text.count(c));
}

} // namespace

// The text, caret and selection of the field while an edit is worked out.
// Positions are 0-based character indices; the caret is SelStart.
struct TNxNumEdit::TBuffer {
    QString Text;
    int SelStart = 0;
    int SelLength = 0;
    QChar Decimal;
    QChar Thousand;
    int Decimals = -1;
    TNumberFormat Format = TNumberFormat::Standard;
    QString ZeroText;

    int Size() const { return static_cast<int>(Text.size()); }
    // 1-based position of c, 0 when absent.
    int Pos(QChar c) const { return static_cast<int>(Text.indexOf(c)) + 1; }
    bool IsSkip(QChar c) const
    {
        return c == Decimal || (!Thousand.isNull() && c == Thousand) || c == 'E';
    }
    void SetCaret(int Caret)
    {
        SelStart = std::clamp(Caret, 0, Size());
        SelLength = 0;
    }
    void Select(int Index)
    {
        SelStart = Index;
        SelLength = 1;
    }

    // One Backspace or Delete with no selection.
    void DeleteOneChar(bool Backspace)
    {
        const int length = Size();
        const int c = SelStart;
        const int s = Pos(Decimal);
        const int e = Text.indexOf('E') < 0 ? length + 1 : Pos('E');
        int b;
        if (Backspace) {
            b = c;
            if (c >= 1 && IsSkip(Text[c - 1])) b = c - 1;
        } else {
            b = c + 1;
            if (c + 1 <= length && IsSkip(Text[c])) b = c + 2;
        }
        if (b <= 0 || b > length) return;
        if (s != 0 && s < b && b < e) {
            // A fractional digit: the fraction closes up and keeps its length.
            Text.remove(b - 1, 1);
            if (Decimals > 0) Text.insert(e <= length ? e - 2 : Size(), '0');
            SetCaret(b - 1);
        } else if (b == 1 && Text.startsWith('-')) {
            Text.remove(0, 1);
            if (Text.isEmpty()) Text = "0";
            SetCaret(0);
        } else if (b == 1 && (length == 1 || Text[1] == Decimal || Text[1] == 'E')) {
            Text[0] = '0';
            SetCaret(1);
        } else {
            Text.remove(b - 1, 1);
            SetCaret(b - 1);
            if ((Format == TNumberFormat::Scientific || Format == TNumberFormat::Engineering) &&
                Text.endsWith('E'))
                Text += '0';
            // The last digit of a mantissa without a separator ("-5", "-5E3")
            // becomes 0, so that a number is left.
            const int end = Text.indexOf('E') < 0 ? Size() : Pos('E') - 1;
            const QString mantissa = Text.left(end);
            if (!std::any_of(mantissa.begin(), mantissa.end(),
                             [this](QChar ch) { return IsDigit(ch) || ch == Decimal; }))
                Text.insert(b - 1, '0');
        }
    }

    void DeleteSelection()
    {
        if (SelLength == 0) return;
        if (SelLength >= Size()) {
            Text = ZeroText;
            SetCaret(0);
            return;
        }
        const QString selected = Text.mid(SelStart, SelLength);
        int k = static_cast<int>(selected.size()) - CountOf(selected, Thousand);
        if (k == 0) k = 1;
        if (selected.contains(Decimal)) --k;
        SetCaret(SelStart + SelLength);
        for (int i = 0; i < k; ++i)
            DeleteOneChar(true);
    }

    // One typed character; false when it changes nothing.
    bool TypeChar(QChar Char)
    {
        if (Char == 'e') Char = 'E';
        const bool digit = IsDigit(Char);
        if (!digit && Char != '-' && Char != 'E' && Char != Decimal) return false;
        const TBuffer before = *this;
        const int p = SelStart;
        const int e = Pos('E');
        if (Char == 'E' || Char == Decimal)
            SetCaret(SelStart);
        else
            DeleteSelection();
        if (Text.startsWith('-') && SelStart == 0) SetCaret(1);

        if (Char == '-') {
            const int exponent = static_cast<int>(Text.indexOf('E'));
            if (e != 0 && p >= e && exponent >= 0) {
                if (exponent + 1 < Size() && Text[exponent + 1] == '-') {
                    Text.remove(exponent + 1, 1);
                    SetCaret(p - 1);
                } else {
                    Text.insert(exponent + 1, '-');
                    SetCaret(p + 1);
                }
            } else if (Text.startsWith('-')) {
                Text.remove(0, 1);
                SetCaret(p - 1);
            } else {
                Text.prepend('-');
                SetCaret(p + 1);
            }
        } else if (Char == Decimal) {
            const int separator = static_cast<int>(Text.indexOf(Decimal));
            if (separator >= 0) {
                SetCaret(separator + 1);
            } else {
                int at = SelStart;
                if (Decimals < 0) at = Text.indexOf('E') < 0 ? Size() : Pos('E') - 1;
                Text.insert(at, Decimal);
                SetCaret(at + 1);
            }
        } else if (Char == 'E') {
            if (Pos('E') != 0) {
                SetCaret(Pos('E'));
            } else {
                Text += 'E';
                SetCaret(Size());
            }
        } else if (!TypeDigit(Char)) {
            return SelStart != before.SelStart || Text != before.Text;
        }
        return true;
    }

    // A digit at the caret; false when it is refused.
    bool TypeDigit(QChar Digit)
    {
        int c = SelStart;
        const int exponent = static_cast<int>(Text.indexOf('E'));
        // Within an exponent "E-", digits go after the minus sign.
        if (exponent >= 0 && c == exponent + 1 && c < Size() && Text[c] == '-') ++c;
        const bool exponentStart =
            exponent >= 0 && (c == exponent + 1 || (c == exponent + 2 && Text[c - 1] == '-'));
        if (Text.startsWith('-') && c <= 2 && Size() > 1 && Text[1] == '0') {
            Select(1);
        } else if (c <= 1 && Size() > 0 && Text[0] == '0') {
            Select(0);
        } else if (exponentStart && c < Size() && Text[c] == '0') {
            Select(c);
        } else if (Decimals >= 1 && Pos(Decimal) != 0) {
            const int s = Pos(Decimal);
            if (c == s + Decimals) return false;
            if (c >= s && c < Size()) {
                // Overwrite the next digit; an "E" is never overwritten.
                if (Text[c] == 'E') return false;
                Select(c);
            } else {
                SetCaret(c);
            }
        } else {
            SetCaret(c);
        }
        Text.replace(SelStart, SelLength, Digit);
        SetCaret(SelStart + 1);
        return true;
    }
};

TNxNumEdit::TNxNumEdit(QWidget* Parent) : QLineEdit(Parent)
{
    setAcceptDrops(false);
    resize(100, sizeHint().height());
    SetAlignment(taRightJustify);
    setText(FormatValue(0));
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) OnChange(this);
    });
}

void TNxNumEdit::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    setAlignment(TextAlignment(Value));
}

void TNxNumEdit::SetDecimals(int Value)
{
    if (Value == FDecimals) return;
    Value = std::clamp(Value, -1, 14);
    if (maxLength() > 0) Value = std::max(std::min(Value, maxLength() - 2), -1);
    FDecimals = Value;
    Reformat();
}

void TNxNumEdit::SetNumberFormat(TNumberFormat Value)
{
    FNumberFormat = Value;
    Reformat();
}

void TNxNumEdit::SetMaxValue(long double Value)
{
    if (Value != FMaxValue && Value >= FMinValue) FMaxValue = Value;
}

void TNxNumEdit::SetMinValue(long double Value)
{
    if (Value != FMinValue && Value <= FMaxValue) FMinValue = Value;
}

QString TNxNumEdit::FormatValue(long double Value) const
{
    const int d = FDecimals;
    const bool thousands = FNumberFormat == TNumberFormat::Thousands;
    if (FNumberFormat == TNumberFormat::Engineering && Value != 0 && std::isfinite(Value)) {
        const int k = static_cast<int>(std::trunc(std::log10(std::fabs(Value)) / 3)) * 3;
        // Two steps keep 10^k a normal number for the smallest values.
        const long double m = Value / std::pow(10.0L, k / 2) / std::pow(10.0L, k - k / 2);
        int c = 14;
        if (std::fabs(m) > 9) --c;
        if (std::fabs(m) > 99) --c;
        if (d >= 0 && d < c) c = d;
        const std::string pattern = d < 0   ? "0." + std::string(c, '#')
                                    : d > 0 ? "0." + std::string(c, '0')
                                            : "0";
        return EditText(FormatFloat(pattern, m) + "E" + std::to_string(k));
    }
    const std::string integer = thousands ? ",0" : "0";
    const std::string fraction = d > 0   ? "." + std::string(d, '0')
                                 : d < 0 ? "." + std::string(14, '#')
                                         : "";
    const bool scientific =
        FNumberFormat == TNumberFormat::Scientific || FNumberFormat == TNumberFormat::Engineering;
    std::string text = FormatFloat(integer + fraction + (scientific ? "E-" : ""), Value);

    // Precision cap: no more than 15 significant digits are computed.
    const std::string& separator = FormatSettings().DecimalSeparator;
    const size_t at = text.find(separator);
    if (!separator.empty() && text.find('E') == std::string::npos && at != std::string::npos) {
        const int n = static_cast<int>(std::count_if(
            text.begin(), text.begin() + at, [](char ch) { return ch >= '0' && ch <= '9'; }));
        const int keep = std::max(15 - n, 0);
        if (d < 0 && thousands) {
            text = FormatFloat(",0." + std::string(keep, '#'), Value);
        } else if (d >= 0 && keep < d) {
            text = FormatFloat(integer + (keep > 0 ? "." + std::string(keep, '0') : ""), Value);
            if (keep == 0) text += separator;
            text += std::string(d - keep, '0');
        }
    }
    return EditText(text);
}

bool TNxNumEdit::ReadValue(long double& Value) const
{
    QString plain = text();
    const QChar thousand = ThousandChar();
    if (!thousand.isNull()) plain.remove(thousand);
    if (plain.isEmpty()) plain = "0";
    return TextToFloat(plain, DecimalChar(), Value);
}

long double TNxNumEdit::Value() const
{
    long double v = 0;
    if (!ReadValue(v)) {
        QString shown = text();
        const QChar thousand = ThousandChar();
        if (!thousand.isNull()) shown.remove(thousand);
        throw EConvertError("'" + shown.toStdString() + "' is not a valid floating point value");
    }
    return v;
}

void TNxNumEdit::SetValue(long double Value)
{
    ShowText(FormatValue(Value));
}

void TNxNumEdit::ShowText(const QString& Text)
{
    if (Text != text()) setText(Text);
}

void TNxNumEdit::Reformat()
{
    ShowText(FormatValue(Value()));
}

TNxNumEdit::TBuffer TNxNumEdit::Buffer() const
{
    TBuffer b;
    b.Text = text();
    b.SelStart = hasSelectedText() ? static_cast<int>(selectionStart()) : cursorPosition();
    b.SelLength = static_cast<int>(selectionLength());
    b.Decimal = DecimalChar();
    b.Thousand = ThousandChar();
    b.Decimals = FDecimals;
    b.Format = FNumberFormat;
    b.ZeroText = FormatValue(0);
    return b;
}

void TNxNumEdit::Show(const TBuffer& Buffer)
{
    ShowText(Buffer.Text);
    if (Buffer.SelLength > 0)
        setSelection(Buffer.SelStart, Buffer.SelLength);
    else
        setCursorPosition(Buffer.SelStart);
}

// Every text the field shows fits its length limit and reads as a finite number.
bool TNxNumEdit::Acceptable(const QString& Text) const
{
    if (Text.size() > maxLength()) return false;
    QString plain = Text;
    const QChar thousand = ThousandChar();
    if (!thousand.isNull()) plain.remove(thousand);
    long double v;
    return plain.isEmpty() || TextToFloat(plain, DecimalChar(), v);
}

// Carries out an edit; one that would leave a text that is not a number is dropped.
bool TNxNumEdit::Apply(const std::function<void(TBuffer&)>& Edit)
{
    TBuffer b = Buffer();
    Edit(b);
    if (!Acceptable(b.Text)) return false;
    Show(b);
    return true;
}

// Types the characters of Text one by one; each one that would leave a text
// that is not a number is dropped. A paste longer than the length limit cannot
// add more than the limit, so only that much of it is read.
void TNxNumEdit::TypeText(const QString& Text, bool DeleteSelectionFirst)
{
    if (isReadOnly()) return;
    TBuffer b = Buffer();
    if (DeleteSelectionFirst) {
        b.DeleteSelection();
        if (!Acceptable(b.Text)) b = Buffer();
    }
    for (QChar c : Text.left(maxLength())) {
        TBuffer next = b;
        if (next.TypeChar(c) && Acceptable(next.Text)) b = std::move(next);
    }
    Show(b);
}

void TNxNumEdit::CopyToClipboard()
{
    if (!hasSelectedText()) return;
    QString selected = selectedText();
    const QChar thousand = ThousandChar();
    if (!thousand.isNull()) selected.remove(thousand);
    QGuiApplication::clipboard()->setText(selected.isEmpty() ? "0" : selected);
}

void TNxNumEdit::CutToClipboard()
{
    CopyToClipboard();
    if (!isReadOnly()) Apply([](TBuffer& b) { b.DeleteSelection(); });
}

void TNxNumEdit::PasteFromClipboard()
{
    TypeText(QGuiApplication::clipboard()->text(), true);
}

void TNxNumEdit::keyPressEvent(QKeyEvent* Event)
{
    FClickEntry = false;
    const int key = Event->key();
    Event->accept();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        if (!isReadOnly())
            Apply([key](TBuffer& b) {
                if (b.SelLength > 0)
                    b.DeleteSelection();
                else
                    b.DeleteOneChar(key == Qt::Key_Backspace);
            });
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!PressDefaultButtons(this, FAutoSelect)) Event->ignore();
    } else if (Event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
    } else if (Event->matches(QKeySequence::Cut)) {
        CutToClipboard();
    } else if (Event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
    } else if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home ||
               key == Qt::Key_End || Event->matches(QKeySequence::SelectAll)) {
        QLineEdit::keyPressEvent(Event); // caret and selection only
    } else if ((Event->modifiers() & Qt::KeypadModifier) &&
               (key == Qt::Key_Period || key == Qt::Key_Comma)) {
        TypeText(QString(DecimalChar()), false);
    } else if (!Event->text().isEmpty()) {
        // Control characters and refused characters vanish.
        if (!(Event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
            TypeText(Event->text(), false);
    } else {
        Event->ignore();
    }
}

void TNxNumEdit::keyReleaseEvent(QKeyEvent* Event)
{
    QLineEdit::keyReleaseEvent(Event);
    if (!Event->isAutoRepeat()) Regroup(Event->key());
}

// In Thousands format the thousands separators follow the digits typed.
void TNxNumEdit::Regroup(int Key)
{
    long double v;
    if (FNumberFormat != TNumberFormat::Thousands || hasSelectedText() || !ReadValue(v)) return;
    const QString shown = text();
    const QString next = FormatValue(v);
    const QChar thousand = ThousandChar(), decimal = DecimalChar();
    const int gained = CountOf(next, thousand) - CountOf(shown, thousand);
    const bool forced = Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Space;
    const bool moved = !thousand.isNull() && next.indexOf(thousand) != shown.indexOf(thousand);
    if ((gained == 0 && !moved && !forced) || !Acceptable(next)) return;
    int caret = cursorPosition() + gained;
    if (next.contains(decimal) && !shown.contains(decimal)) ++caret;
    if (!next.contains(decimal) && shown.contains(decimal)) --caret;
    caret = std::clamp(caret, 0, static_cast<int>(next.size()));
    if (caret < next.size() && next[caret] == thousand) ++caret;
    ShowText(next);
    setCursorPosition(caret);
}

void TNxNumEdit::inputMethodEvent(QInputMethodEvent* Event)
{
    TypeText(Event->commitString(), false);
    Event->accept();
}

void TNxNumEdit::focusInEvent(QFocusEvent* Event)
{
    QLineEdit::focusInEvent(Event);
    if (FEntered) return; // the window came back, or a pop-up menu closed
    FEntered = true;
    if (OnEnter) OnEnter(this);
    FClickEntry = QGuiApplication::mouseButtons() & Qt::LeftButton;
    if (FAutoSelect)
        selectAll();
    else
        deselect();
}

void TNxNumEdit::focusOutEvent(QFocusEvent* Event)
{
    QLineEdit::focusOutEvent(Event);
    if (!IsFieldFocusChange(Event)) return;
    FEntered = false;
    FClickEntry = false;
    ExitField();
}

// Leaving the field shows the full text of its value, then checks the range.
void TNxNumEdit::ExitField()
{
    long double v;
    if (ReadValue(v)) {
        const QString full = FormatValue(v);
        if (Acceptable(full)) ShowText(full);
        ReadValue(v);
        if (FMinValue != 0 && FMaxValue != 0 && (v < FMinValue || v > FMaxValue)) {
            if (OnInvalidEntry)
                OnInvalidEntry(this);
            else
                ShowMessage(
                    TMessage{"Value out of range!", "Invalid Entry", TMessageKind::Warning});
        }
    }
    if (OnExit) OnExit(this);
}

void TNxNumEdit::mousePressEvent(QMouseEvent* Event)
{
    QLineEdit::mousePressEvent(Event);
    if ((Event->buttons() & Qt::LeftButton) && FClickEntry) {
        FClickEntry = false;
        if (FAutoSelect) selectAll();
    }
}

// A middle click pastes the selection clipboard through the typing rules.
void TNxNumEdit::mouseReleaseEvent(QMouseEvent* Event)
{
    if (Event->button() != Qt::MiddleButton) {
        QLineEdit::mouseReleaseEvent(Event);
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && !isReadOnly()) {
        setCursorPosition(cursorPositionAt(Event->position().toPoint()));
        TypeText(clipboard->text(QClipboard::Selection), true);
    }
}

void TNxNumEdit::contextMenuEvent(QContextMenuEvent* Event)
{
    QMenu menu(this);
    const bool selected = hasSelectedText(), editable = !isReadOnly();
    menu.addAction("Cor&tar", this, &TNxNumEdit::CutToClipboard)->setEnabled(selected && editable);
    menu.addAction("&Copiar", this, &TNxNumEdit::CopyToClipboard)->setEnabled(selected);
    menu.addAction("&Pegar", this, &TNxNumEdit::PasteFromClipboard)
        ->setEnabled(editable && !QGuiApplication::clipboard()->text().isEmpty());
    menu.addAction("&Eliminar", this, [this] { Apply([](TBuffer& b) { b.DeleteSelection(); }); })
        ->setEnabled(selected && editable);
    menu.addSeparator();
    menu.addAction("Seleccionar &todo", this, &QLineEdit::selectAll);
    menu.exec(Event->globalPos());
}

Qt::Alignment TextAlignment(TAlignment Value)
{
    const Qt::Alignment horizontal = Value == taLeftJustify    ? Qt::AlignLeft
                                     : Value == taRightJustify ? Qt::AlignRight
                                                               : Qt::AlignHCenter;
    return horizontal | Qt::AlignVCenter;
}

namespace {

const char* const DefaultButtonProperty = "tensimDefaultButton";

} // namespace

void SetDefaultButton(QWidget* Form, QAbstractButton* Button)
{
    Form->setProperty(DefaultButtonProperty, QVariant::fromValue(QPointer<QObject>(Button)));
}

bool PressDefaultButtons(QLineEdit* Field, bool AutoSelect)
{
    QWidget* form = Field->window();
    if (form == Field) return false;
    const int caret = Field->cursorPosition();
    const int start = static_cast<int>(Field->selectionStart());
    const int length = static_cast<int>(Field->selectionLength());
    QPointer<QLineEdit> field(Field);
    bool clicked = false;
    // Only the form's own buttons count, not those inside its panels and
    // boxes, and the one it names.
    std::vector<QPointer<QAbstractButton>> buttons;
    for (QPushButton* button : form->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (button->isDefault()) buttons.emplace_back(button);
    const QPointer<QObject> named =
        form->property(DefaultButtonProperty).value<QPointer<QObject>>();
    if (auto* button = qobject_cast<QAbstractButton*>(named.data())) buttons.emplace_back(button);
    for (const QPointer<QAbstractButton>& button : buttons) {
        if (!button || !button->isEnabled() || !button->isVisible()) continue;
        button->setFocus(Qt::OtherFocusReason);
        button->click();
        clicked = true;
    }
    if (!clicked) {
        QApplication::beep();
        return true;
    }
    if (!field) return true;
    field->setFocus(Qt::OtherFocusReason);
    if (AutoSelect)
        field->selectAll();
    else if (length > 0)
        field->setSelection(start, length);
    else
        field->setCursorPosition(caret);
    return true;
}

} // namespace tensim
