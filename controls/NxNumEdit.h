#pragma once
// TNxNumEdit: a real-valued edit field that always shows its value in a fixed
// format and edits that text in place, key by key, so that the text stays a
// well-formed number. Separators come from FormatSettings().

#include "controls/Field.h"
#include "controls/NumberBuffer.h"
#include "math/Errors.h"

#include <functional>
#include <optional>
#include <string>

namespace tensim {

// A text that does not read as a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class TNxNumEdit : public TField {
    Q_OBJECT
public:
    explicit TNxNumEdit(QWidget* Parent = nullptr);

    using TField::Alignment;
    using TField::SetAlignment;
    int Decimals() const { return FDecimals; } // -1: as many as needed, up to 14
    void SetDecimals(int Value);
    long double MaxValue() const { return FMaxValue; }
    void SetMaxValue(long double Value);
    long double MinValue() const { return FMinValue; }
    void SetMinValue(long double Value);
    // Reading throws EConvertError when the text is not a number.
    long double Value() const;
    void SetValue(long double Value);

    // The text the field shows for a value.
    QString FormatValue(long double Value) const;

    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnInvalidEntry; // replaces the out-of-range message

protected:
    // Shows the full text of the value, then checks the range.
    void ExitField() override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    TNumberBuffer Buffer() const;
    void Show(const TNumberBuffer& Buffer);
    bool Acceptable(const QString& Text) const;
    bool Apply(const std::function<void(TNumberBuffer&)>& Edit);
    void TypeText(const QString& Text, bool DeleteSelectionFirst);
    std::optional<long double> ReadValue() const;
    void ShowText(const QString& Text);
    void Reformat();
    void Regroup(int Key);

    int FDecimals = -1;
    long double FMaxValue = 0;
    long double FMinValue = 0;
    TNumberFormat FNumberFormat = TNumberFormat::Standard;

public:
    // kept for the published interface; the program does not use it
    TNumberFormat NumberFormat() const { return FNumberFormat; }
    void SetNumberFormat(TNumberFormat Value);
    std::string Version() const { return "1.11.00.00"; }
};

} // namespace tensim
