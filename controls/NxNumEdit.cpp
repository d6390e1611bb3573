#include "controls/NxNumEdit.h"

#include "math/FloatFormat.h"
#include "math/Messages.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace tensim {

namespace {

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

} // namespace

TNxNumEdit::TNxNumEdit(QWidget* Parent) : TField(Parent, true)
{
    setAcceptDrops(false);
    resize(100, sizeHint().height());
    SetAlignment(taRightJustify);
    setText(FormatValue(0));
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

std::optional<long double> TNxNumEdit::ReadValue() const
{
    return ReadNumber(text(), DecimalChar(), ThousandChar());
}

long double TNxNumEdit::Value() const
{
    const std::optional<long double> v = ReadValue();
    if (!v) {
        const QString shown = WithoutThousands(text(), ThousandChar());
        throw EConvertError("'" + shown.toStdString() + "' is not a valid floating point value");
    }
    return *v;
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

TNumberBuffer TNxNumEdit::Buffer() const
{
    TNumberBuffer b;
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

void TNxNumEdit::Show(const TNumberBuffer& Buffer)
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
    return Text.size() <= maxLength() && ReadNumber(Text, DecimalChar(), ThousandChar());
}

// Carries out an edit; one that would leave a text that is not a number is dropped.
bool TNxNumEdit::Apply(const std::function<void(TNumberBuffer&)>& Edit)
{
    TNumberBuffer b = Buffer();
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
    TNumberBuffer b = Buffer();
    if (DeleteSelectionFirst) {
        b.DeleteSelection();
        if (!Acceptable(b.Text)) b = Buffer();
    }
    for (QChar c : Text.left(maxLength())) {
        TNumberBuffer next = b;
        if (next.TypeChar(c) && Acceptable(next.Text)) b = std::move(next);
    }
    Show(b);
}

void TNxNumEdit::CopyToClipboard()
{
    if (!hasSelectedText()) return;
    const QString selected = WithoutThousands(selectedText(), ThousandChar());
    QGuiApplication::clipboard()->setText(selected.isEmpty() ? "0" : selected);
}

void TNxNumEdit::CutToClipboard()
{
    CopyToClipboard();
    if (!isReadOnly()) Apply([](TNumberBuffer& b) { b.DeleteSelection(); });
}

void TNxNumEdit::PasteFromClipboard()
{
    TypeText(QGuiApplication::clipboard()->text(), true);
}

void TNxNumEdit::keyPressEvent(QKeyEvent* Event)
{
    EndClickEntry();
    const int key = Event->key();
    Event->accept();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        if (!isReadOnly())
            Apply([key](TNumberBuffer& b) { b.DeleteKey(key == Qt::Key_Backspace); });
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!PressDefaultButtons()) Event->ignore();
    } else if (Event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
    } else if (Event->matches(QKeySequence::Cut)) {
        CutToClipboard();
    } else if (Event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
    } else if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home ||
               key == Qt::Key_End || Event->matches(QKeySequence::SelectAll)) {
        TField::keyPressEvent(Event); // caret and selection only
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
    TField::keyReleaseEvent(Event);
    if (!Event->isAutoRepeat()) Regroup(Event->key());
}

// In Thousands format the thousands separators follow the digits typed.
void TNxNumEdit::Regroup(int Key)
{
    if (FNumberFormat != TNumberFormat::Thousands || hasSelectedText()) return;
    const std::optional<long double> v = ReadValue();
    if (!v) return;
    const QString grouped = FormatValue(*v);
    if (!Acceptable(grouped)) return;
    TNumberBuffer b = Buffer();
    if (b.Regroup(grouped, Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Space))
        Show(b);
}

void TNxNumEdit::inputMethodEvent(QInputMethodEvent* Event)
{
    TypeText(Event->commitString(), false);
    Event->accept();
}

void TNxNumEdit::ExitField()
{
    if (const std::optional<long double> typed = ReadValue()) {
        const QString full = FormatValue(*typed);
        if (Acceptable(full)) ShowText(full);
        const long double v = ReadValue().value_or(*typed);
        if (FMinValue != 0 && FMaxValue != 0 && (v < FMinValue || v > FMaxValue)) {
            if (OnInvalidEntry)
                OnInvalidEntry(this);
            else
                ShowMessage(
                    TMessage{"Value out of range!", "Invalid Entry", TMessageKind::Warning});
        }
    }
}

// A middle click pastes the selection clipboard through the typing rules.
void TNxNumEdit::mouseReleaseEvent(QMouseEvent* Event)
{
    if (Event->button() != Qt::MiddleButton) {
        TField::mouseReleaseEvent(Event);
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
    menu.addAction(tr("Cor&tar"), this, &TNxNumEdit::CutToClipboard)
        ->setEnabled(selected && editable);
    menu.addAction(tr("&Copiar"), this, &TNxNumEdit::CopyToClipboard)->setEnabled(selected);
    menu.addAction(tr("&Pegar"), this, &TNxNumEdit::PasteFromClipboard)
        ->setEnabled(editable && !QGuiApplication::clipboard()->text().isEmpty());
    menu.addAction(tr("&Eliminar"), this,
                   [this] { Apply([](TNumberBuffer& b) { b.DeleteSelection(); }); })
        ->setEnabled(selected && editable);
    menu.addSeparator();
    menu.addAction(tr("Seleccionar &todo"), this, &QLineEdit::selectAll);
    menu.exec(Event->globalPos());
}

} // namespace tensim
