#pragma once
// TNxSpinEdit: a spin edit with text alignment, the whole text selected by the
// click that gives it the focus, and Enter clicking the form's default button.

#include "controls/Spin.h"

#include <string>

namespace tensim {

class TNxSpinEdit : public TSpinEdit {
    Q_OBJECT
public:
    explicit TNxSpinEdit(QWidget* Parent = nullptr);

    using TField::Alignment;
    using TField::SetAlignment;

protected:
    void keyPressEvent(QKeyEvent* Event) override;

public:
    // kept for the published interface; the program does not use it
    std::string Version() const { return "2.00.00.00"; }
};

} // namespace tensim
