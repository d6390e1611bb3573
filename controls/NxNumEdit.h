#pragma once
// TNxNumEdit: a real-valued edit field that always shows its value in a fixed
// format and edits that text in place, key by key, so that the text stays a
// well-formed number. Separators come from FormatSettings().

#include "math/Errors.h"

class QAbstractButton;

#include "controls/Events.h"
#include "controls/NumberBuffer.h"

#include <QLineEdit>

#include <functional>
#include <string>

namespace tensim {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A text that does not read as a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class TNxNumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNxNumEdit(QWidget* Parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    int Decimals() const { return FDecimals; } // -1: as many as needed, up to 14
    void SetDecimals(int Value);
    long double MaxValue() const { return FMaxValue; }
    void SetMaxValue(long double Value);
    long double MinValue() const { return FMinValue; }
    void SetMinValue(long double Value);
    TNumberFormat NumberFormat() const { return FNumberFormat; }
    void SetNumberFormat(TNumberFormat Value);
    // Reading throws EConvertError when the text is not a number.
    long double Value() const;
    void SetValue(long double Value);
    std::string Version() const { return "1.11.00.00"; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }

    // The text the field shows for a value.
    QString FormatValue(long double Value) const;

    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnInvalidEntry; // replaces the out-of-range message

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    TNumberBuffer Buffer() const;
    void Show(const TNumberBuffer& Buffer);
    bool Acceptable(const QString& Text) const;
    bool Apply(const std::function<void(TNumberBuffer&)>& Edit);
    void TypeText(const QString& Text, bool DeleteSelectionFirst);
    bool ReadValue(long double& Value) const;
    void ShowText(const QString& Text);
    void Reformat();
    void Regroup(int Key);
    void ExitField();

    TAlignment FAlignment = taRightJustify;
    int FDecimals = -1;
    long double FMaxValue = 0;
    long double FMinValue = 0;
    TNumberFormat FNumberFormat = TNumberFormat::Standard;
    bool FAutoSelect = true;
    bool FClickEntry = false; // entered by a left click
    bool FEntered = false;
};

// The horizontal text alignment of a field.
Qt::Alignment TextAlignment(TAlignment Value);

// Enter in a field of a form: gives the focus to each enabled, visible default
// push button that is a direct child of the form and clicks it, in child
// order, then to the button the form names as its default (SetDefaultButton)
// and clicks it; then takes the focus back and selects all (AutoSelect) or
// restores the caret and selection; beeps when no button was clicked.
// Returns false when the field has no form.
bool PressDefaultButtons(QLineEdit* Field, bool AutoSelect);

// Names Button, anywhere in Form, as the form's default button, which Enter
// in the form's numeric and spin edits clicks; null names none.
void SetDefaultButton(QWidget* Form, QAbstractButton* Button);

} // namespace tensim
