#pragma once
// TNxSpinEdit: a spin edit with text alignment, the whole text selected by the
// click that gives it the focus, and Enter clicking the form's default button.

#include "controls/NxNumEdit.h"
#include "controls/Spin.h"

#include <string>

namespace tensim {

class TNxSpinEdit : public TSpinEdit {
    Q_OBJECT
public:
    explicit TNxSpinEdit(QWidget* Parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    std::string Version() const { return "2.00.00.00"; }

protected:
    void EnterField() override;
    void keyPressEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;

private:
    TAlignment FAlignment = taLeftJustify;
    bool FClickEntry = false; // entered by a left click
};

} // namespace tensim
